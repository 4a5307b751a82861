#include "configure/resources/resource_tree.h"

#include <algorithm>
#include <set>
#include <vector>

#include "base/little_endian.h"

using namespace little_endian;

namespace {

char16_t upper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

constexpr std::uint32_t SubdirectoryBit = 0x80000000u;
constexpr std::size_t DirectorySize = 16;
constexpr std::size_t EntrySize = 8;
constexpr std::size_t DataEntrySize = 16;

} // namespace

bool ResourceName::operator<(const ResourceName& other) const {
    if (isText != other.isText) return isText;
    if (!isText) return id < other.id;
    std::size_t common = text.size() < other.text.size() ? text.size() : other.text.size();
    for (std::size_t i = 0; i < common; ++i)
        if (upper(text[i]) != upper(other.text[i])) return upper(text[i]) < upper(other.text[i]);
    if (text.size() != other.text.size()) return text.size() < other.text.size();
    return text < other.text;
}

void ResourceTree::put(const Resource& resource) {
    types[ResourceName::number(resource.type)][ResourceName::number(resource.name)][resource.language] =
        ResourceLeaf{resource.data, 0};
}

void ResourceTree::remove(std::uint16_t type, std::uint16_t name) {
    auto found = types.find(ResourceName::number(type));
    if (found == types.end()) return;
    found->second.erase(ResourceName::number(name));
    if (found->second.empty()) types.erase(found);
}

void ResourceTree::removeType(std::uint16_t type) { types.erase(ResourceName::number(type)); }

const Bytes* ResourceTree::find(std::uint16_t type, std::uint16_t name) const {
    auto byType = types.find(ResourceName::number(type));
    if (byType == types.end()) return nullptr;
    auto byName = byType->second.find(ResourceName::number(name));
    if (byName == byType->second.end() || byName->second.empty()) return nullptr;
    return &byName->second.begin()->second.data;
}

namespace {

class SectionReader {
public:
    SectionReader(const Bytes& image, std::uint32_t base, std::uint32_t size,
                  const std::function<const std::uint8_t*(std::uint32_t, std::uint32_t)>& readAt)
        : image_(image), base_(base), size_(size), readAt_(readAt) {}

    std::string error;

    bool directory(std::uint32_t offset, int depth, std::set<std::uint32_t>& seen,
                   const std::function<bool(const ResourceName&, std::uint32_t, bool)>& visit) {
        if (depth > 2) return fail("resource directory is nested too deeply");
        if (!seen.insert(offset).second) return fail("resource directory refers to itself");
        if (!inside(offset, DirectorySize)) return fail("resource directory lies outside its section");
        const std::uint8_t* header = at(offset);
        std::uint32_t count = static_cast<std::uint32_t>(word(header + 12)) + word(header + 14);
        if (!inside(offset + DirectorySize, count * EntrySize)) return fail("resource directory entries are cut off");
        if (!copy(DirectorySize + count * EntrySize)) return false;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint8_t* entry = at(offset + DirectorySize + i * EntrySize);
            std::uint32_t nameField = dword(entry);
            std::uint32_t target = dword(entry + 4);
            ResourceName name;
            if (nameField & SubdirectoryBit) {
                std::uint32_t textOffset = nameField & ~SubdirectoryBit;
                if (!inside(textOffset, 2)) return fail("resource name lies outside its section");
                std::uint16_t length = word(at(textOffset));
                if (!inside(textOffset + 2, length * 2u)) return fail("resource name is cut off");
                if (!copy(2 + length * 2u)) return false;
                name.isText = true;
                for (std::uint16_t k = 0; k < length; ++k) name.text.push_back(static_cast<char16_t>(word(at(textOffset + 2 + k * 2))));
            } else {
                name.id = static_cast<std::uint16_t>(nameField);
            }
            if (!visit(name, target & ~SubdirectoryBit, (target & SubdirectoryBit) != 0)) return false;
        }
        return true;
    }

    std::optional<ResourceLeaf> leaf(std::uint32_t offset) {
        if (!inside(offset, DataEntrySize)) {
            fail("resource data entry lies outside its section");
            return std::nullopt;
        }
        const std::uint8_t* entry = at(offset);
        std::uint32_t rva = dword(entry), size = dword(entry + 4);
        const std::uint8_t* data = size ? readAt_(rva, size) : entry;
        if (!data) {
            fail("resource data lies outside the executable");
            return std::nullopt;
        }
        if (!copy(DataEntrySize + std::uint64_t{size})) return std::nullopt;
        return ResourceLeaf{Bytes(data, data + size), dword(entry + 8)};
    }

    // Entries that share or overlap their names or data would copy them again and again: what
    // is copied (directories, names, data, as the tree is written out again) may not exceed the
    // executable itself, nor a fixed ceiling.
    bool copy(std::uint64_t bytes) {
        copied_ += bytes;
        if (copied_ <= std::min<std::uint64_t>(image_.size(), MaxResourceBytes)) return true;
        return fail("resource entries share or overlap their names or data");
    }

    bool fail(const std::string& message) {
        error = message;
        return false;
    }

private:
    bool inside(std::uint64_t offset, std::uint64_t length) const { return offset + length <= size_; }
    const std::uint8_t* at(std::uint32_t offset) const { return image_.data() + base_ + offset; }

    const Bytes& image_;
    std::uint32_t base_, size_;
    std::uint64_t copied_ = 0;
    const std::function<const std::uint8_t*(std::uint32_t, std::uint32_t)>& readAt_;
};

} // namespace

Result<ResourceTree> parseResourceSection(const Bytes& image, std::uint32_t directoryOffsetInImage,
                                        std::uint32_t directorySize,
                                        const std::function<const std::uint8_t*(std::uint32_t, std::uint32_t)>& readAt) {
    ResourceTree tree;
    SectionReader reader(image, directoryOffsetInImage, directorySize, readAt);
    std::set<std::uint32_t> seen;
    bool ok = reader.directory(0, 0, seen, [&](const ResourceName& type, std::uint32_t typeOffset, bool typeIsDir) {
        if (!typeIsDir) return reader.fail("resource type entry is not a directory");
        return reader.directory(typeOffset, 1, seen, [&](const ResourceName& name, std::uint32_t nameOffset, bool nameIsDir) {
            if (!nameIsDir) return reader.fail("resource name entry is not a directory");
            return reader.directory(nameOffset, 2, seen, [&](const ResourceName& language, std::uint32_t leafOffset, bool leafIsDir) {
                if (leafIsDir || language.isText) return reader.fail("resource language entry is malformed");
                std::optional<ResourceLeaf> leaf = reader.leaf(leafOffset);
                if (!leaf) return false;
                tree.types[type][name][language.id] = *leaf;
                return true;
            });
        });
    });
    if (!ok) return Failure{0, "corrupt resources: " + reader.error};
    return tree;
}

namespace {

void putDirectory(Bytes& out, std::size_t at, std::size_t named, std::size_t numbered) {
    setWord(out, at + 12, static_cast<std::uint16_t>(named));
    setWord(out, at + 14, static_cast<std::uint16_t>(numbered));
}

template <typename Map>
std::size_t namedCount(const Map& map) {
    std::size_t count = 0;
    for (const auto& entry : map) count += entry.first.isText ? 1 : 0;
    return count;
}

} // namespace

Bytes serialiseResourceSection(const ResourceTree& tree, std::uint32_t sectionRva) {
    // Layout: every directory (root, types, names), the data entries, the name texts, the data.
    std::size_t directories = DirectorySize + tree.types.size() * EntrySize;
    std::size_t leaves = 0, texts = 0, dataSize = 0;
    auto countText = [&](const ResourceName& name) {
        if (name.isText) texts += 2 + name.text.size() * 2;
    };
    for (const auto& [type, names] : tree.types) {
        countText(type);
        directories += DirectorySize + names.size() * EntrySize;
        for (const auto& [name, languages] : names) {
            countText(name);
            directories += DirectorySize + languages.size() * EntrySize;
            for (const auto& [language, leaf] : languages) {
                ++leaves;
                dataSize += (leaf.data.size() + 7) & ~std::size_t(7);
            }
        }
    }
    std::size_t dataEntriesAt = directories;
    std::size_t textsAt = dataEntriesAt + leaves * DataEntrySize;
    std::size_t dataAt = (textsAt + texts + 7) & ~std::size_t(7);
    Bytes out(dataAt + dataSize, 0);

    std::size_t nextDirectory = 0, nextEntry = dataEntriesAt, nextText = textsAt, nextData = dataAt;
    auto nameField = [&](const ResourceName& name) -> std::uint32_t {
        if (!name.isText) return name.id;
        std::size_t at = nextText;
        setWord(out, at, static_cast<std::uint16_t>(name.text.size()));
        for (std::size_t i = 0; i < name.text.size(); ++i) setWord(out, at + 2 + i * 2, static_cast<std::uint16_t>(name.text[i]));
        nextText += 2 + name.text.size() * 2;
        return static_cast<std::uint32_t>(at) | SubdirectoryBit;
    };
    auto allocateDirectory = [&](std::size_t entries) {
        std::size_t at = nextDirectory;
        nextDirectory += DirectorySize + entries * EntrySize;
        return at;
    };

    std::size_t root = allocateDirectory(tree.types.size());
    putDirectory(out, root, namedCount(tree.types), tree.types.size() - namedCount(tree.types));
    std::size_t typeIndex = 0;
    for (const auto& [type, names] : tree.types) {
        std::size_t typeDirectory = allocateDirectory(names.size());
        putDirectory(out, typeDirectory, namedCount(names), names.size() - namedCount(names));
        std::size_t rootEntry = root + DirectorySize + typeIndex++ * EntrySize;
        setDword(out, rootEntry, nameField(type));
        setDword(out, rootEntry + 4, static_cast<std::uint32_t>(typeDirectory) | SubdirectoryBit);
        std::size_t nameIndex = 0;
        for (const auto& [name, languages] : names) {
            std::size_t nameDirectory = allocateDirectory(languages.size());
            putDirectory(out, nameDirectory, 0, languages.size());
            std::size_t typeEntry = typeDirectory + DirectorySize + nameIndex++ * EntrySize;
            setDword(out, typeEntry, nameField(name));
            setDword(out, typeEntry + 4, static_cast<std::uint32_t>(nameDirectory) | SubdirectoryBit);
            std::size_t languageIndex = 0;
            for (const auto& [language, leaf] : languages) {
                std::size_t nameEntry = nameDirectory + DirectorySize + languageIndex++ * EntrySize;
                setDword(out, nameEntry, language);
                setDword(out, nameEntry + 4, static_cast<std::uint32_t>(nextEntry));
                setDword(out, nextEntry, static_cast<std::uint32_t>(sectionRva + nextData));
                setDword(out, nextEntry + 4, static_cast<std::uint32_t>(leaf.data.size()));
                setDword(out, nextEntry + 8, leaf.codePage);
                nextEntry += DataEntrySize;
                std::copy(leaf.data.begin(), leaf.data.end(), out.begin() + static_cast<std::ptrdiff_t>(nextData));
                nextData += (leaf.data.size() + 7) & ~std::size_t(7);
            }
        }
    }
    return out;
}
