#include <gtest/gtest.h>

#include "base/little_endian.h"
#include "configure/resources/resource_merge.h"
#include "configure/resources/resource_tree.h"

namespace {

Result<ResourceTree> parseAt(const Bytes& section, std::uint32_t rva) {
    return parseResourceSection(section, 0, static_cast<std::uint32_t>(section.size()),
                                [&](std::uint32_t at, std::uint32_t size) -> const std::uint8_t* {
                                    if (at < rva || at - rva + size > section.size()) return nullptr;
                                    return section.data() + (at - rva);
                                });
}

ResourceTree sampleTree() {
    ResourceTree tree;
    tree.put(Resource{6, 7, 0, Bytes{1, 2, 3}});
    tree.put(Resource{2, 104, 0, Bytes(300, 7)});
    tree.put(Resource{24, 1, 0x409, Bytes{'<', '?'}});
    ResourceName named{true, 0, u"CUSTOM"};
    tree.types[named][ResourceName{true, 0, u"Data"}][0] = ResourceLeaf{Bytes{9}, 1252};
    return tree;
}

} // namespace

TEST(ResourceTree, SerialisedTreeReadsBackTheSame) {
    ResourceTree tree = sampleTree();
    Bytes section = serialiseResourceSection(tree, 0x5000);
    Result<ResourceTree> parsed = parseAt(section, 0x5000);
    ASSERT_TRUE(parsed) << parsed.failure().what;
    EXPECT_EQ(parsed.value().types.size(), tree.types.size());
    EXPECT_EQ(*parsed.value().find(2, 104), Bytes(300, 7));
    EXPECT_EQ(*parsed.value().find(24, 1), (Bytes{'<', '?'}));
    const ResourceLeaf& custom = parsed.value().types.begin()->second.begin()->second.at(0);
    EXPECT_EQ(parsed.value().types.begin()->first.text, u"CUSTOM"); // texts sort before numbers
    EXPECT_EQ(custom.codePage, 1252u);
}

TEST(ResourceTree, BrokenDirectoriesAreRefused) {
    Bytes section = serialiseResourceSection(sampleTree(), 0x5000);
    Bytes cut(section.begin(), section.begin() + 20);
    EXPECT_FALSE(parseAt(cut, 0x5000));

    Bytes looping = section;
    little_endian::setDword(looping, 16 + 4, 0x80000000u); // first type points back at the root
    Result<ResourceTree> loop = parseAt(looping, 0x5000);
    EXPECT_FALSE(loop);
    EXPECT_NE(loop.failure().what.find("corrupt resources"), std::string::npos);

    EXPECT_FALSE(parseAt(section, 0x9000)); // data addresses lead nowhere
}

TEST(ResourceMerge, SettingEntriesAreReplacedAndOtherEntriesOfTheBlockKept) {
    ResourceTree tree;
    std::vector<std::u16string> old(16), next(16);
    old[101 % 16] = u"old.jar";
    old[97 % 16] = u"alive";
    next[112 % 16] = u"on";
    next[120 % 16] = u"someone else's text";
    tree.put(Resource{6, 7, 0, stringBlockBytes(old)});
    tree.put(Resource{6, 8, 0, stringBlockBytes(next)});
    tree.put(Resource{6, 1, 0, Bytes{0, 0}});
    LauncherConfiguration configuration;
    configuration.strings = {{101, "new.jar"}};
    ASSERT_TRUE(applyLauncherResources(tree, stringTableResources(configuration)));
    std::vector<std::u16string> texts = stringBlockTexts(*tree.find(6, 7));
    EXPECT_EQ(texts[101 % 16], u"new.jar");
    EXPECT_EQ(texts[97 % 16], u"");
    std::vector<std::u16string> nextTexts = stringBlockTexts(*tree.find(6, 8));
    EXPECT_EQ(nextTexts[112 % 16], u"");
    EXPECT_EQ(nextTexts[120 % 16], u"someone else's text");
    EXPECT_NE(tree.find(6, 1), nullptr);
}

TEST(ResourceMerge, BlockWithNothingLeftIsRemoved) {
    ResourceTree tree;
    std::vector<std::u16string> old(16);
    old[101 % 16] = u"old.jar";
    tree.put(Resource{6, 7, 0, stringBlockBytes(old)});
    ASSERT_TRUE(applyLauncherResources(tree, {}));
    EXPECT_EQ(tree.find(6, 7), nullptr);
}

TEST(ResourceMerge, NewIconsDoNotTakeTheIdsOfOtherGroups) {
    ResourceTree tree;
    tree.put(Resource{3, 1, 0, Bytes{1}});   // the launcher's old image
    tree.put(Resource{3, 5, 0, Bytes{5}});   // an image of another group
    Bytes oldGroup{0, 0, 1, 0, 1, 0};
    oldGroup.resize(6 + 14, 0);
    oldGroup[6 + 12] = 1;
    tree.put(Resource{14, 1, 0, oldGroup});
    Bytes newGroup{0, 0, 1, 0, 1, 0};
    newGroup.resize(6 + 14, 0);
    newGroup[6 + 12] = 1;
    tree.put(Resource{3, 65535, 0, Bytes{7}}); // the highest id: new ids must not wrap to 0
    ASSERT_TRUE(applyLauncherResources(tree, {Resource{3, 1, 0, Bytes{42}}, Resource{3, 2, 0, Bytes{43}},
                                              Resource{14, 1, 0, newGroup}}));
    EXPECT_EQ(*tree.find(3, 5), Bytes{5});
    EXPECT_EQ(*tree.find(3, 65535), Bytes{7});
    EXPECT_EQ(*tree.find(3, 1), Bytes{42});
    EXPECT_EQ(*tree.find(3, 2), Bytes{43});
    EXPECT_EQ(tree.find(3, 0), nullptr);
    EXPECT_EQ((*tree.find(14, 1))[6 + 12], 1);

    ResourceTree full;
    for (std::uint32_t id = 1; id <= 0xFFFF; ++id) full.put(Resource{3, static_cast<std::uint16_t>(id), 0, Bytes{}});
    EXPECT_FALSE(applyLauncherResources(full, {Resource{3, 1, 0, Bytes{42}}, Resource{14, 1, 0, newGroup}}));
}

TEST(ResourceTree, NamesSharedByManyEntriesCountEachTimeAgainstTheSectionsSize) {
    // Fifty types whose names all point at one name of 2,000 characters: 200 KB once unfolded,
    // from a section of a few KB. Unshared, the same names read back.
    ResourceTree tree;
    tree.types[ResourceName{true, 0, std::u16string(2000, u'A')}][ResourceName::number(1)][0] = ResourceLeaf{Bytes{1}, 0};
    for (char16_t i = 0; i < 49; ++i)
        tree.types[ResourceName{true, 0, std::u16string(u"B") + static_cast<char16_t>(u'a' + i)}][ResourceName::number(1)][0] =
            ResourceLeaf{Bytes{2}, 0};
    Bytes section = serialiseResourceSection(tree, 0x1000);
    ASSERT_TRUE(parseAt(section, 0x1000));
    std::uint32_t sharedName = little_endian::dword(&section[16]);
    for (std::size_t i = 1; i < 50; ++i) little_endian::setDword(section, 16 + i * 8, sharedName);
    Result<ResourceTree> parsed = parseAt(section, 0x1000);
    ASSERT_FALSE(parsed);
    EXPECT_EQ(parsed.failure().what, "corrupt resources: resource entries share or overlap their names or data");
}
