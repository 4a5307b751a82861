#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "configure/resources/resource_data.h"
#include "configure/resources/resource_tree.h"

// A Windows executable (i686 or x86_64) read for one purpose: replacing its resources while
// everything else (code, data, imports, relocations, other resources) stays as it was.
class PeImage {
public:
    struct Section {
        std::string name;
        std::uint32_t virtualSize, virtualAddress, rawSize, rawOffset, characteristics;
    };

    // Checks the headers and the section table; a file that is no executable, is cut short, is
    // signed or has broken resources is refused with the reason.
    static Result<PeImage> parse(Bytes file);

    bool is64Bit() const { return pe32plus_; }
    const std::vector<Section>& sections() const { return sections_; }
    const ResourceTree& resources() const { return resources_; }

    // Whether Windows gives the program a console (command-line applications) or not.
    enum class Subsystem : std::uint16_t { Window = 2, Console = 3 };

    // The executable with `tree` as its resources and the given subsystem, or the reason it
    // cannot be laid out.
    Result<Bytes> withResources(const ResourceTree& tree, Subsystem subsystem = Subsystem::Window) const;
    Subsystem subsystem() const;
    // True when the checksum in the header is the file's own.
    bool checksumMatches() const;

    // Whether every section but the resources and the relocations is `original`'s, byte for
    // byte and at the same address; the reason when one is not.
    Result<void> keepsSectionsOf(const PeImage& original) const;

    // The executable's own checksum algorithm, over a file whose checksum field is at `checksumAt`.
    static std::uint32_t checksum(const Bytes& file, std::size_t checksumAt);

private:
    std::uint32_t dataDirectoryRva(int index) const;
    std::uint32_t dataDirectorySize(int index) const;
    bool holdsCertificate() const;
    bool hasCertificateEntry() const;
    bool rewritableInPlace(std::size_t first, std::uint32_t relocationRva) const;
    std::size_t dataDirectoryAt(int index) const { return dataDirectories_ + static_cast<std::size_t>(index) * 8; }
    const std::uint8_t* mapped(std::uint32_t rva, std::uint32_t size) const;

    Bytes file_;
    bool pe32plus_ = false;
    std::size_t coffHeader_ = 0, optionalHeader_ = 0, sectionTable_ = 0, dataDirectories_ = 0;
    std::uint32_t dataDirectoryCount_ = 0;
    std::uint32_t fileAlignment_ = 0, sectionAlignment_ = 0, sizeOfHeaders_ = 0;
    std::vector<Section> sections_;
    ResourceTree resources_;
};
