#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "base/result.h"
#include "configure/resources/resource_data.h"

// A resource type or name: a number, or a text (texts sort first, as the loader expects).
struct ResourceName {
    bool isText = false;
    std::uint16_t id = 0;
    std::u16string text;

    static ResourceName number(std::uint16_t id) { return ResourceName{false, id, {}}; }
    bool operator<(const ResourceName& other) const;
    bool operator==(const ResourceName& other) const {
        return isText == other.isText && id == other.id && text == other.text;
    }
};

struct ResourceLeaf {
    Bytes data;
    std::uint32_t codePage = 0;
    bool operator==(const ResourceLeaf& other) const { return data == other.data && codePage == other.codePage; }
};

using LanguageMap = std::map<std::uint16_t, ResourceLeaf>;
using NameMap = std::map<ResourceName, LanguageMap>;
using TypeMap = std::map<ResourceName, NameMap>;

// The resources of an executable: type, name and language, as its resource section holds them.
struct ResourceTree {
    TypeMap types;
    bool operator==(const ResourceTree& other) const { return types == other.types; }

    void put(const Resource& resource);
    void remove(std::uint16_t type, std::uint16_t name);
    void removeType(std::uint16_t type);
    // The data of the first language of a resource, if there is one.
    const Bytes* find(std::uint16_t type, std::uint16_t name) const;
};

// The most a resource section may unfold to (directories, names and data, as many times as its
// entries name them): far beyond any launcher's, a splash picture and an icon included.
constexpr std::uint64_t MaxResourceBytes = 64u << 20;

// Reads the resource directory that starts at `directoryOffsetInImage` of the file, with
// `directorySize` bytes of its section from there on; the resources' data, addressed by RVA, is
// taken through `readAt` (null when that range is not in the file). What the tree holds, counted
// as it would be written out again, stays within the image's size and MaxResourceBytes.
Result<ResourceTree> parseResourceSection(const Bytes& image, std::uint32_t directoryOffsetInImage,
                                        std::uint32_t directorySize,
                                        const std::function<const std::uint8_t*(std::uint32_t rva, std::uint32_t size)>& readAt);

// Lays the tree out as a resource section that will be loaded at `sectionRva`.
Bytes serialiseResourceSection(const ResourceTree& tree, std::uint32_t sectionRva);
