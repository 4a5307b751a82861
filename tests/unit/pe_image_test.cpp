#include <gtest/gtest.h>

#include <cstring>

#include "base/little_endian.h"
#include "configure/resources/pe_image.h"

using namespace little_endian;

namespace {

struct SectionSpec {
    const char* name;
    std::uint32_t virtualAddress;
    Bytes data;
};

// A small but complete x86_64 executable: headers, then the given sections, 0x200 file alignment.
// Raw data goes into the file in `fileOrder` (section indices), address order when it is empty.
Bytes executable(const std::vector<SectionSpec>& sections, std::uint32_t resourceRva, std::uint32_t resourceSize,
                 std::uint32_t relocationRva = 0, std::uint32_t relocationSize = 0,
                 std::vector<std::size_t> fileOrder = {}) {
    Bytes file(0x400, 0);
    file[0] = 'M';
    file[1] = 'Z';
    setDword(file, 0x3C, 0x80);
    file[0x80] = 'P';
    file[0x81] = 'E';
    std::size_t coff = 0x84;
    setWord(file, coff, 0x8664);
    setWord(file, coff + 2, static_cast<std::uint16_t>(sections.size()));
    setWord(file, coff + 16, 240);
    setWord(file, coff + 18, 0x22);
    std::size_t optional = coff + 20;
    setWord(file, optional, 0x20B);
    setDword(file, optional + 32, 0x1000);
    setDword(file, optional + 36, 0x200);
    setDword(file, optional + 60, 0x400);
    setDword(file, optional + 108, 16);
    setDword(file, optional + 112 + 2 * 8, resourceRva);
    setDword(file, optional + 112 + 2 * 8 + 4, resourceSize);
    setDword(file, optional + 112 + 5 * 8, relocationRva);
    setDword(file, optional + 112 + 5 * 8 + 4, relocationSize);
    std::size_t table = optional + 240;
    if (fileOrder.empty())
        for (std::size_t i = 0; i < sections.size(); ++i) fileOrder.push_back(i);
    for (std::size_t i : fileOrder) {
        std::size_t at = table + i * 40;
        std::copy(sections[i].name, sections[i].name + std::strlen(sections[i].name), file.begin() + static_cast<long>(at));
        std::uint32_t raw = static_cast<std::uint32_t>((sections[i].data.size() + 0x1FF) & ~0x1FFu);
        setDword(file, at + 8, static_cast<std::uint32_t>(sections[i].data.size()));
        setDword(file, at + 12, sections[i].virtualAddress);
        setDword(file, at + 16, raw);
        setDword(file, at + 20, static_cast<std::uint32_t>(file.size()));
        setDword(file, at + 36, 0x40000040);
        file.insert(file.end(), sections[i].data.begin(), sections[i].data.end());
        file.resize(file.size() + (raw - sections[i].data.size()), 0);
    }
    return file;
}

Bytes resourcesAt(std::uint32_t rva, std::uint16_t bitmapSize) {
    ResourceTree tree;
    tree.put(Resource{2, 104, 0, Bytes(bitmapSize, 0xAB)});
    return serialiseResourceSection(tree, rva);
}

std::optional<PeImage> parse(const Bytes& file, std::string& error) {
    Result<PeImage> image = PeImage::parse(file);
    if (!image) error = image.failure().what;
    return image ? std::optional<PeImage>(std::move(image.value())) : std::nullopt;
}

std::optional<Bytes> rewrite(const PeImage& image, const ResourceTree& tree, std::string& error) {
    Result<Bytes> rewritten = image.withResources(tree);
    if (!rewritten) error = rewritten.failure().what;
    return rewritten ? std::optional<Bytes>(std::move(rewritten.value())) : std::nullopt;
}

} // namespace

TEST(PeImage, ResourcesGrowInPlaceAndRelocationsMoveBehindThem) {
    Bytes text(0x300, 0xC3), relocations(0x40, 0x11);
    Bytes resources = resourcesAt(0x2000, 16);
    Bytes file = executable({{".text", 0x1000, text}, {".rsrc", 0x2000, resources}, {".reloc", 0x3000, relocations}},
                            0x2000, static_cast<std::uint32_t>(resources.size()), 0x3000, 0x40);
    std::string error;
    std::optional<PeImage> image = parse(file, error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(*image->resources().find(2, 104), Bytes(16, 0xAB));

    ResourceTree tree = image->resources();
    tree.put(Resource{2, 104, 0, Bytes(0x2345, 0xCD)});
    std::optional<Bytes> rewritten = rewrite(*image, tree, error);
    ASSERT_TRUE(rewritten) << error;
    std::optional<PeImage> again = parse(*rewritten, error);
    ASSERT_TRUE(again) << error;
    EXPECT_EQ(*again->resources().find(2, 104), Bytes(0x2345, 0xCD));
    const auto& sections = again->sections();
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].virtualAddress, 0x1000u);
    EXPECT_EQ(Bytes(rewritten->begin() + sections[0].rawOffset, rewritten->begin() + sections[0].rawOffset + 0x300), text);
    EXPECT_EQ(sections[1].virtualAddress, 0x2000u);
    EXPECT_EQ(sections[2].virtualAddress, 0x5000u); // behind the grown resources
    EXPECT_EQ(Bytes(rewritten->begin() + sections[2].rawOffset, rewritten->begin() + sections[2].rawOffset + 0x40),
              relocations);
    std::size_t optional = 0x84 + 20;
    EXPECT_EQ(dword(&(*rewritten)[optional + 112 + 5 * 8]), 0x5000u);
    EXPECT_EQ(dword(&(*rewritten)[optional + 56]), 0x6000u); // image size
    EXPECT_EQ(dword(&(*rewritten)[optional + 64]), PeImage::checksum(*rewritten, optional + 64));
}

TEST(PeImage, ResourcesBeforeOtherDataMoveToANewSection) {
    Bytes data(0x20, 0x55);
    Bytes resources = resourcesAt(0x1000, 4);
    Bytes file = executable({{".rsrc", 0x1000, resources}, {".data", 0x2000, data}}, 0x1000,
                            static_cast<std::uint32_t>(resources.size()));
    std::string error;
    std::optional<PeImage> image = parse(file, error);
    ASSERT_TRUE(image) << error;
    std::optional<Bytes> rewritten = rewrite(*image, image->resources(), error);
    ASSERT_TRUE(rewritten) << error;
    std::optional<PeImage> again = parse(*rewritten, error);
    ASSERT_TRUE(again) << error;
    ASSERT_EQ(again->sections().size(), 3u);
    EXPECT_EQ(again->sections()[1].virtualAddress, 0x2000u);
    EXPECT_EQ(again->sections()[2].virtualAddress, 0x3000u);
    EXPECT_EQ(*again->resources().find(2, 104), Bytes(4, 0xAB));
}

TEST(PeImage, FilesThatAreNoExecutableAreRefusedWithTheReason) {
    Bytes resources = resourcesAt(0x1000, 4);
    Bytes good = executable({{".rsrc", 0x1000, resources}}, 0x1000, static_cast<std::uint32_t>(resources.size()));
    std::string error;
    auto refused = [&](Bytes file, const std::string& reason) {
        error.clear();
        EXPECT_FALSE(parse(file, error));
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    };
    refused(Bytes(10, 'x'), "no MZ header");
    Bytes noSignature = good;
    noSignature[0x80] = 'N';
    refused(noSignature, "no PE signature");
    refused(Bytes(good.begin(), good.begin() + 0x500), "truncated");
    Bytes library = good;
    setWord(library, 0x84 + 18, 0x2022);
    refused(library, "not an executable program");
    Bytes signedFile = good;
    setDword(signedFile, 0x84 + 20 + 112 + 4 * 8, static_cast<std::uint32_t>(signedFile.size()));
    setDword(signedFile, 0x84 + 20 + 112 + 4 * 8 + 4, 16);
    for (std::uint32_t value : {16u, 0x00020200u, 0u, 0u}) putDword(signedFile, value); // length, revision, type
    refused(signedFile, "signed; configure it first and sign the result");
    Bytes lostResources = good;
    setDword(lostResources, 0x84 + 20 + 112 + 2 * 8, 0x9000);
    refused(lostResources, "outside every section");
    Bytes machine = good;
    setWord(machine, 0x84, 0x1C0);
    refused(machine, "not an i686 or x86_64");
}

TEST(PeImage, AnEmptyOrStaleCertificateEntryIsCleared) {
    Bytes resources = resourcesAt(0x1000, 4);
    Bytes good = executable({{".rsrc", 0x1000, resources}}, 0x1000, static_cast<std::uint32_t>(resources.size()));
    std::size_t entry = 0x84 + 20 + 112 + 4 * 8;
    for (auto [offset, size] : {std::pair{0x600u, 0u}, {0u, 0x20u}, {0x100000u, 0x100u}, {0x400u, 0x10u}}) {
        Bytes file = good;
        setDword(file, entry, offset);
        setDword(file, entry + 4, size);
        std::string error;
        std::optional<PeImage> image = parse(file, error);
        ASSERT_TRUE(image) << error << " " << offset;
        std::optional<Bytes> rewritten = rewrite(*image, image->resources(), error);
        ASSERT_TRUE(rewritten) << error;
        EXPECT_EQ(dword(&(*rewritten)[entry]), 0u);
        EXPECT_EQ(dword(&(*rewritten)[entry + 4]), 0u);
    }
}

TEST(PeImage, ResourcesWhoseFileDataLiesBeforeAnotherSectionsMoveToANewSection) {
    // Address order .tls, .rsrc, .reloc; in the file .rsrc comes first. Cutting the file at the
    // resources would overwrite .tls.
    Bytes tls(0x280, 0x77), relocations(0x40, 0x11);
    Bytes resources = resourcesAt(0x2000, 16);
    Bytes file = executable({{".tls", 0x1000, tls}, {".rsrc", 0x2000, resources}, {".reloc", 0x3000, relocations}},
                            0x2000, static_cast<std::uint32_t>(resources.size()), 0x3000, 0x40, {1, 0, 2});
    std::string error;
    std::optional<PeImage> image = parse(file, error);
    ASSERT_TRUE(image) << error;
    ASSERT_LT(image->sections()[1].rawOffset, image->sections()[0].rawOffset);
    ResourceTree tree = image->resources();
    tree.put(Resource{2, 104, 0, Bytes(0x1234, 0xCD)});
    std::optional<Bytes> rewritten = rewrite(*image, tree, error);
    ASSERT_TRUE(rewritten) << error;
    std::optional<PeImage> again = parse(*rewritten, error);
    ASSERT_TRUE(again) << error;
    EXPECT_TRUE(again->keepsSectionsOf(*image)) ;
    ASSERT_EQ(again->sections().size(), 4u);
    const PeImage::Section& kept = again->sections()[0];
    EXPECT_EQ(Bytes(rewritten->begin() + kept.rawOffset, rewritten->begin() + kept.rawOffset + 0x280), tls);
    EXPECT_EQ(*again->resources().find(2, 104), Bytes(0x1234, 0xCD));
    EXPECT_EQ(again->sections()[3].virtualAddress, 0x4000u);
}

TEST(PeImage, TheReadBackNamesASectionThatWouldChange) {
    Bytes text(0x300, 0xC3);
    Bytes resources = resourcesAt(0x2000, 16);
    Bytes file = executable({{".text", 0x1000, text}, {".rsrc", 0x2000, resources}}, 0x2000,
                            static_cast<std::uint32_t>(resources.size()));
    std::string error;
    std::optional<PeImage> image = parse(file, error);
    ASSERT_TRUE(image) << error;
    Bytes changed = file;
    changed[image->sections()[0].rawOffset + 5] ^= 1;
    std::optional<PeImage> other = parse(changed, error);
    ASSERT_TRUE(other) << error;
    EXPECT_TRUE(image->keepsSectionsOf(*image));
    Result<void> kept = other->keepsSectionsOf(*image);
    ASSERT_FALSE(kept);
    EXPECT_EQ(kept.failure().what, "section .text would change");
    Bytes resized = resourcesAt(0x2000, 600); // the resources may change
    std::optional<PeImage> grown = parse(executable({{".text", 0x1000, text}, {".rsrc", 0x2000, resized}}, 0x2000,
                                                    static_cast<std::uint32_t>(resized.size())), error);
    ASSERT_TRUE(grown) << error;
    EXPECT_TRUE(grown->keepsSectionsOf(*image));
}
