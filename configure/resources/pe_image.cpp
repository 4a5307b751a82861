#include "configure/resources/pe_image.h"

#include <algorithm>

#include "base/little_endian.h"
#include "base/pe_header.h"

using namespace little_endian;

namespace {

constexpr std::uint16_t MagicPe32 = 0x10B;
constexpr std::uint16_t MagicPe32Plus = 0x20B;
constexpr std::uint16_t ExecutableImage = 0x0002;
constexpr std::uint16_t DynamicLibrary = 0x2000;
constexpr int CertificateDirectory = 4;
constexpr std::uint32_t CertificateHeaderSize = 8;
constexpr int ResourceDirectory = 2;
constexpr int RelocationDirectory = 5;
constexpr std::size_t SectionHeaderSize = 40;
constexpr std::uint32_t MaxFileAlignment = 0x10000;
constexpr std::uint32_t MaxSectionAlignment = 0x100000;
constexpr std::uint32_t InitializedData = 0x40;
constexpr std::uint32_t ReadableMemory = 0x40000000;

std::uint32_t alignUp(std::uint64_t value, std::uint32_t alignment) {
    return static_cast<std::uint32_t>((value + alignment - 1) / alignment * alignment);
}

bool powerOfTwo(std::uint32_t value) { return value && !(value & (value - 1)); }

} // namespace

Result<PeImage> PeImage::parse(Bytes file) {
    PeImage image;
    image.file_ = std::move(file);
    const Bytes& f = image.file_;
    Result<PeFileHeader> header = readPeFileHeader(f.data(), f.size());
    if (!header) return header.failure();
    image.coffHeader_ = header.value().offset;
    std::uint16_t machine = header.value().machine;
    std::uint16_t sectionCount = header.value().sectionCount;
    std::uint16_t optionalSize = header.value().optionalHeaderSize;
    std::uint16_t characteristics = header.value().characteristics;
    if (machine != PeMachineI386 && machine != PeMachineAmd64) {
        return Failure{0, "not an i686 or x86_64 executable"};
    }
    if (!(characteristics & ExecutableImage) || (characteristics & DynamicLibrary)) {
        return Failure{0, "not an executable program (a library or an object file)"};
    }
    image.optionalHeader_ = image.coffHeader_ + PeFileHeaderSize;
    if (image.optionalHeader_ + optionalSize > f.size() || optionalSize < 96) {
        return Failure{0, "truncated: the optional header is cut off"};
    }
    std::uint16_t magic = word(&f[image.optionalHeader_]);
    image.pe32plus_ = magic == MagicPe32Plus;
    if ((machine == PeMachineI386 && magic != MagicPe32) || (machine == PeMachineAmd64 && magic != MagicPe32Plus)) {
        return Failure{0, "corrupt: the optional header does not match the machine"};
    }
    std::size_t countAt = image.optionalHeader_ + (image.pe32plus_ ? 108 : 92);
    image.dataDirectories_ = countAt + 4;
    if (countAt + 4 > image.optionalHeader_ + optionalSize) {
        return Failure{0, "corrupt: the optional header has no data directories"};
    }
    image.dataDirectoryCount_ = dword(&f[countAt]);
    if (image.dataDirectoryCount_ < 6 || image.dataDirectories_ + image.dataDirectoryCount_ * 8ull >
                                              image.optionalHeader_ + optionalSize) {
        return Failure{0, "corrupt: the data directories do not fit the optional header"};
    }
    image.sectionAlignment_ = dword(&f[image.optionalHeader_ + 32]);
    image.fileAlignment_ = dword(&f[image.optionalHeader_ + 36]);
    image.sizeOfHeaders_ = dword(&f[image.optionalHeader_ + 60]);
    // The format's bounds: file alignment a power of two from 512 to 64 KiB, section alignment
    // a power of two not below it (and far below anything that could wrap an address).
    if (!powerOfTwo(image.fileAlignment_) || !powerOfTwo(image.sectionAlignment_) ||
        image.fileAlignment_ > image.sectionAlignment_ || image.fileAlignment_ < 512 ||
        image.fileAlignment_ > MaxFileAlignment || image.sectionAlignment_ > MaxSectionAlignment) {
        return Failure{0, "corrupt: unusual section or file alignment"};
    }
    image.sectionTable_ = image.optionalHeader_ + optionalSize;
    if (image.sectionTable_ + sectionCount * SectionHeaderSize > std::min<std::size_t>(f.size(), image.sizeOfHeaders_)) {
        return Failure{0, "truncated: the section table is cut off"};
    }
    if (image.sizeOfHeaders_ > f.size()) return Failure{0, "corrupt: the headers are larger than the file"};
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        const std::uint8_t* header = &f[image.sectionTable_ + i * SectionHeaderSize];
        Section section;
        section.name.assign(reinterpret_cast<const char*>(header), 8);
        section.name.resize(section.name.find('\0') == std::string::npos ? 8 : section.name.find('\0'));
        section.virtualSize = dword(header + 8);
        section.virtualAddress = dword(header + 12);
        section.rawSize = dword(header + 16);
        section.rawOffset = dword(header + 20);
        section.characteristics = dword(header + 36);
        if (section.rawSize && static_cast<std::uint64_t>(section.rawOffset) + section.rawSize > f.size()) {
            return Failure{0, "truncated: section " + section.name + " ends beyond the end of the file"};
        }
        if (section.rawSize && section.rawOffset < image.sizeOfHeaders_) {
            return Failure{0, "corrupt: section " + section.name + " lies inside the headers"};
        }
        std::uint64_t end = static_cast<std::uint64_t>(section.virtualAddress) +
                            std::max(section.virtualSize, section.rawSize);
        if (end + image.sectionAlignment_ > 0xFFFFFFFFull || section.virtualAddress < image.sizeOfHeaders_) {
            return Failure{0, "corrupt: section " + section.name + " lies outside the address space"};
        }
        if (!image.sections_.empty()) {
            const Section& previous = image.sections_.back();
            std::uint64_t previousEnd = static_cast<std::uint64_t>(previous.virtualAddress) +
                                        std::max(previous.virtualSize, previous.rawSize);
            if (section.virtualAddress < previousEnd)
                return Failure{0, "corrupt: sections are not in address order"};
        }
        image.sections_.push_back(section);
    }
    if (image.holdsCertificate()) {
        return Failure{0, "the executable is signed; configure it first and sign the result"};
    }
    std::uint32_t resourceRva = image.dataDirectoryRva(ResourceDirectory);
    if (resourceRva) {
        const Section* holder = nullptr;
        for (const Section& section : image.sections_)
            if (resourceRva >= section.virtualAddress && resourceRva < section.virtualAddress + section.rawSize) holder = &section;
        if (!holder) {
            return Failure{0, "corrupt: the resources lie outside every section"};
        }
        std::uint32_t offset = holder->rawOffset + (resourceRva - holder->virtualAddress);
        std::uint32_t available = holder->rawSize - (resourceRva - holder->virtualAddress);
        Result<ResourceTree> parsed = parseResourceSection(
            image.file_, offset, available, [&image](std::uint32_t rva, std::uint32_t size) { return image.mapped(rva, size); });
        if (!parsed) return parsed.failure();
        image.resources_ = std::move(parsed.value());
    }
    return image;
}

std::uint32_t PeImage::dataDirectorySize(int index) const {
    if (static_cast<std::uint32_t>(index) >= dataDirectoryCount_) return 0;
    return dword(&file_[dataDirectoryAt(index) + 4]);
}

bool PeImage::holdsCertificate() const {
    // The certificate table is addressed by file offset. Only an entry that names a certificate
    // inside the file is a signature; an empty or stale entry is cleared when the file is written.
    std::uint32_t offset = dataDirectoryRva(CertificateDirectory), size = dataDirectorySize(CertificateDirectory);
    if (!offset || size < CertificateHeaderSize || static_cast<std::uint64_t>(offset) + size > file_.size())
        return false;
    std::uint32_t length = dword(&file_[offset]);
    std::uint16_t revision = word(&file_[offset + 4]);
    return length >= CertificateHeaderSize && length <= size && (revision == 0x0100 || revision == 0x0200);
}

bool PeImage::hasCertificateEntry() const {
    return dataDirectoryRva(CertificateDirectory) || dataDirectorySize(CertificateDirectory);
}

Result<void> PeImage::keepsSectionsOf(const PeImage& original) const {
    std::uint32_t resourceRva = original.dataDirectoryRva(ResourceDirectory);
    std::uint32_t relocationRva = original.dataDirectoryRva(RelocationDirectory);
    for (std::size_t i = 0; i < original.sections_.size(); ++i) {
        const Section& before = original.sections_[i];
        if ((resourceRva && before.virtualAddress == resourceRva) ||
            (relocationRva && before.virtualAddress == relocationRva))
            continue;
        if (i >= sections_.size()) return Failure{0, "section " + before.name + " would be lost"};
        const Section& after = sections_[i];
        bool sameHeader = after.name == before.name && after.virtualAddress == before.virtualAddress &&
                          after.virtualSize == before.virtualSize && after.rawSize == before.rawSize &&
                          after.characteristics == before.characteristics;
        auto bytesOf = [](const PeImage& image, const Section& section) {
            return image.file_.begin() + static_cast<std::ptrdiff_t>(section.rawOffset);
        };
        if (!sameHeader || !std::equal(bytesOf(original, before), bytesOf(original, before) + before.rawSize,
                                       bytesOf(*this, after)))
            return Failure{0, "section " + before.name + " would change"};
    }
    return {};
}

std::uint32_t PeImage::dataDirectoryRva(int index) const {
    if (static_cast<std::uint32_t>(index) >= dataDirectoryCount_) return 0;
    return dword(&file_[dataDirectoryAt(index)]);
}

const std::uint8_t* PeImage::mapped(std::uint32_t rva, std::uint32_t size) const {
    for (const Section& section : sections_) {
        if (rva >= section.virtualAddress && static_cast<std::uint64_t>(rva) + size <= section.virtualAddress + section.rawSize)
            return file_.data() + section.rawOffset + (rva - section.virtualAddress);
    }
    return nullptr;
}

PeImage::Subsystem PeImage::subsystem() const {
    return word(&file_[optionalHeader_ + 68]) == static_cast<std::uint16_t>(Subsystem::Console) ? Subsystem::Console
                                                                                               : Subsystem::Window;
}

bool PeImage::checksumMatches() const {
    std::size_t checksumAt = optionalHeader_ + 64;
    return dword(&file_[checksumAt]) == checksum(file_, checksumAt);
}

std::uint32_t PeImage::checksum(const Bytes& file, std::size_t checksumAt) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < file.size(); i += 2) {
        if (i == checksumAt || i == checksumAt + 2) continue;
        std::uint32_t value = file[i] | (i + 1 < file.size() ? file[i + 1] << 8 : 0);
        sum += value;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + file.size());
}

bool PeImage::rewritableInPlace(std::size_t first, std::uint32_t relocationRva) const {
    // The file is cut at the resources' raw data and laid out anew from there: only the
    // resources and the relocations behind them may lie there, in address and in file order.
    if (first >= sections_.size()) return false;
    std::uint32_t cut = sections_[first].rawOffset;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        const Section& section = sections_[i];
        if (i > first && section.virtualAddress != relocationRva) return false;
        if (i < first && section.rawSize && section.rawOffset + section.rawSize > cut) return false;
        if (i > first && section.rawSize && section.rawOffset < cut) return false;
    }
    return true;
}

Result<Bytes> PeImage::withResources(const ResourceTree& tree, Subsystem subsystem) const {
    // Sections from `first` on are laid out anew: the resource section itself and the base
    // relocations behind it, which nothing addresses but their directory entry. Anything else
    // behind the resources stays put, and the resources go into a new last section instead.
    std::uint32_t resourceRva = dataDirectoryRva(ResourceDirectory);
    std::uint32_t relocationRva = dataDirectoryRva(RelocationDirectory);
    std::size_t first = sections_.size();
    for (std::size_t i = 0; i < sections_.size(); ++i)
        if (resourceRva && sections_[i].virtualAddress == resourceRva) first = i;
    bool appended = !rewritableInPlace(first, relocationRva);
    std::size_t sectionCount = sections_.size() + (appended ? 1 : 0);
    if (appended) {
        first = sections_.size();
        std::uint32_t firstRaw = sizeOfHeaders_;
        for (const Section& section : sections_)
            if (section.rawSize) firstRaw = std::min(firstRaw, section.rawOffset);
        if (sectionTable_ + sectionCount * SectionHeaderSize > firstRaw) {
            return Failure{0, "no room in the headers for a new resource section"};
        }
    }

    std::vector<Section> layout(sections_.begin(), sections_.begin() + static_cast<std::ptrdiff_t>(first));
    std::uint32_t rawEnd = sizeOfHeaders_, virtualEnd = alignUp(sizeOfHeaders_, sectionAlignment_);
    for (const Section& section : layout) {
        if (section.rawSize) rawEnd = std::max(rawEnd, section.rawOffset + section.rawSize);
        virtualEnd = std::max(virtualEnd, alignUp(section.virtualAddress + std::max(section.virtualSize, section.rawSize), sectionAlignment_));
    }
    std::uint32_t originalEnd = sizeOfHeaders_;
    for (const Section& section : sections_)
        if (section.rawSize) originalEnd = std::max(originalEnd, section.rawOffset + section.rawSize);

    Section resources = appended ? Section{".rsrc", 0, 0, 0, 0, InitializedData | ReadableMemory} : sections_[first];
    resources.virtualAddress = appended ? virtualEnd : resources.virtualAddress;
    resources.rawOffset = appended ? alignUp(rawEnd, fileAlignment_) : resources.rawOffset;
    Bytes resourceBytes = serialiseResourceSection(tree, resources.virtualAddress);
    resources.virtualSize = static_cast<std::uint32_t>(resourceBytes.size());
    resources.rawSize = alignUp(resourceBytes.size(), fileAlignment_);

    std::vector<std::pair<Section, const std::uint8_t*>> placed = {{resources, resourceBytes.data()}};
    std::uint32_t nextVirtual = alignUp(resources.virtualAddress + resources.virtualSize, sectionAlignment_);
    std::uint32_t nextRaw = resources.rawOffset + resources.rawSize;
    std::uint32_t newRelocationRva = relocationRva;
    for (std::size_t i = first + 1; !appended && i < sections_.size(); ++i) {
        Section moved = sections_[i];
        const std::uint8_t* bytes = file_.data() + moved.rawOffset;
        if (moved.virtualAddress == relocationRva) newRelocationRva = nextVirtual;
        moved.virtualAddress = nextVirtual;
        moved.rawOffset = moved.rawSize ? nextRaw : 0;
        nextVirtual = alignUp(moved.virtualAddress + std::max(moved.virtualSize, moved.rawSize), sectionAlignment_);
        nextRaw += moved.rawSize;
        placed.push_back({moved, bytes});
    }

    Bytes out(file_.begin(), file_.begin() + std::min<std::size_t>(file_.size(), appended ? originalEnd : resources.rawOffset));
    if (appended) out.resize(resources.rawOffset, 0);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const Section& section = placed[i].first;
        if (i > 0 && section.rawSize == 0) continue; // no bytes in the file (and no offset)
        out.resize(section.rawOffset, 0);
        std::size_t length = i == 0 ? resourceBytes.size() : section.rawSize;
        out.insert(out.end(), placed[i].second, placed[i].second + length);
        out.resize(section.rawOffset + section.rawSize, 0);
    }
    // Data behind the last section (a symbol table, for instance) follows the new layout.
    std::uint32_t newEnd = static_cast<std::uint32_t>(out.size());
    out.insert(out.end(), file_.begin() + std::min<std::size_t>(file_.size(), originalEnd), file_.end());
    std::uint32_t symbols = dword(&out[coffHeader_ + 8]);
    if (symbols >= originalEnd) setDword(out, coffHeader_ + 8, symbols - originalEnd + newEnd);

    // Headers: every section from `first` on, their count, the directories, the image size.
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const Section& section = placed[i].first;
        std::size_t at = sectionTable_ + (first + i) * SectionHeaderSize;
        if (appended) {
            std::fill(out.begin() + static_cast<std::ptrdiff_t>(at), out.begin() + static_cast<std::ptrdiff_t>(at + SectionHeaderSize), 0);
            std::copy(section.name.begin(), section.name.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
            setDword(out, at + 36, section.characteristics);
        }
        setDword(out, at + 8, section.virtualSize);
        setDword(out, at + 12, section.virtualAddress);
        setDword(out, at + 16, section.rawSize);
        setDword(out, at + 20, section.rawOffset);
    }
    if (appended) setWord(out, coffHeader_ + 2, static_cast<std::uint16_t>(sectionCount));
    // An empty or stale certificate entry would make signing tools fail on the result.
    if (hasCertificateEntry()) {
        setDword(out, dataDirectoryAt(CertificateDirectory), 0);
        setDword(out, dataDirectoryAt(CertificateDirectory) + 4, 0);
    }
    setDword(out, dataDirectoryAt(ResourceDirectory), resources.virtualAddress);
    setDword(out, dataDirectoryAt(ResourceDirectory) + 4, resources.virtualSize);
    if (relocationRva) setDword(out, dataDirectoryAt(RelocationDirectory), newRelocationRva);
    std::uint32_t imageSize = alignUp(sizeOfHeaders_, sectionAlignment_);
    std::uint32_t initialized = 0;
    for (std::size_t i = 0; i < sectionCount; ++i) {
        std::size_t at = sectionTable_ + i * SectionHeaderSize;
        imageSize = std::max(imageSize, alignUp(static_cast<std::uint64_t>(dword(&out[at + 12])) +
                                                    std::max(dword(&out[at + 8]), dword(&out[at + 16])),
                                                sectionAlignment_));
        if (dword(&out[at + 36]) & InitializedData) initialized += dword(&out[at + 16]);
    }
    setDword(out, optionalHeader_ + 8, initialized);
    setDword(out, optionalHeader_ + 56, imageSize);
    setWord(out, optionalHeader_ + 68, static_cast<std::uint16_t>(subsystem));
    std::size_t checksumAt = optionalHeader_ + 64;
    setDword(out, checksumAt, checksum(out, checksumAt));
    return out;
}
