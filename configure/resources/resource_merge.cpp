#include "configure/resources/resource_merge.h"

#include <map>
#include <set>

#include "base/little_endian.h"
#include "settings_contract/setting_ids.h"
#include "configure/resources/executable_metadata.h"

using namespace little_endian;

namespace {

constexpr std::size_t GroupHeaderSize = 6;
constexpr std::size_t GroupEntrySize = 14;
constexpr std::uint16_t LauncherIconGroup = 1;

std::vector<std::uint16_t> iconIdsOfGroup(const Bytes& group) {
    std::vector<std::uint16_t> ids;
    if (group.size() < GroupHeaderSize) return ids;
    std::size_t count = word(&group[4]);
    for (std::size_t i = 0; i < count && GroupHeaderSize + (i + 1) * GroupEntrySize <= group.size(); ++i)
        ids.push_back(word(&group[GroupHeaderSize + i * GroupEntrySize + 12]));
    return ids;
}

void mergeStringBlock(ResourceTree& tree, std::uint16_t block, const Bytes* replacement) {
    std::vector<std::u16string> texts(16);
    if (const Bytes* existing = tree.find(ResourceTypeString, block)) texts = stringBlockTexts(*existing);
    std::vector<std::u16string> ours = replacement ? stringBlockTexts(*replacement) : std::vector<std::u16string>(16);
    for (unsigned id = FirstSettingId; id <= LastSettingId; ++id)
        if (id / 16 + 1 == block) texts[id % 16] = ours[id % 16];
    tree.remove(ResourceTypeString, block);
    bool any = false;
    for (const std::u16string& text : texts) any = any || !text.empty();
    if (any) tree.put(Resource{ResourceTypeString, block, 0, stringBlockBytes(texts)});
}

} // namespace

Result<void> applyLauncherResources(ResourceTree& tree, const std::vector<Resource>& launcherResources) {
    // Setting entries: every block that holds one is merged, also when the new settings leave
    // all of them absent.
    std::set<std::uint16_t> settingBlocks;
    for (unsigned id = FirstSettingId; id <= LastSettingId; ++id) settingBlocks.insert(static_cast<std::uint16_t>(id / 16 + 1));
    for (std::uint16_t block : settingBlocks) {
        const Bytes* replacement = nullptr;
        for (const Resource& resource : launcherResources)
            if (resource.type == ResourceTypeString && resource.name == block) replacement = &resource.data;
        mergeStringBlock(tree, block, replacement);
    }

    // The launcher's icon group and the images it names give way to the new ones. Each new image
    // gets the lowest id that no other image uses, so no other group's image is overwritten.
    if (const Bytes* oldGroup = tree.find(ResourceTypeGroupIcon, LauncherIconGroup))
        for (std::uint16_t id : iconIdsOfGroup(*oldGroup)) tree.remove(ResourceTypeIcon, id);
    tree.remove(ResourceTypeGroupIcon, LauncherIconGroup);
    std::set<std::uint16_t> used;
    auto icons = tree.types.find(ResourceName::number(ResourceTypeIcon));
    if (icons != tree.types.end())
        for (const auto& [name, languages] : icons->second)
            if (!name.isText) used.insert(name.id);
    std::map<std::uint16_t, std::uint16_t> newIds;
    std::uint32_t candidate = 1;
    for (const Resource& resource : launcherResources) {
        if (resource.type != ResourceTypeIcon) continue;
        while (candidate <= 0xFFFF && used.count(static_cast<std::uint16_t>(candidate))) ++candidate;
        if (candidate > 0xFFFF) return Failure{0, "no free icon ids are left in the executable"};
        newIds[resource.name] = static_cast<std::uint16_t>(candidate);
        used.insert(static_cast<std::uint16_t>(candidate));
    }

    // A high-DPI splash picture of an earlier configuration goes, whether or not a new one comes.
    tree.remove(ResourceTypeBitmap, HighDpiSplashResourceId);
    for (Resource resource : launcherResources) {
        if (resource.type == ResourceTypeString) continue;
        if (resource.type == ResourceTypeIcon) resource.name = newIds.at(resource.name);
        if (resource.type == ResourceTypeGroupIcon)
            for (std::size_t i = 0; GroupHeaderSize + (i + 1) * GroupEntrySize <= resource.data.size(); ++i) {
                std::size_t at = GroupHeaderSize + i * GroupEntrySize + 12;
                auto found = newIds.find(word(&resource.data[at]));
                if (found != newIds.end()) setWord(resource.data, at, found->second);
            }
        tree.remove(resource.type, resource.name);
        tree.put(resource);
    }
    return {};
}
