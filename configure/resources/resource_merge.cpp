#include "configure/resources/resource_merge.h"

#include <set>

#include "base/little_endian.h"
#include "base/setting_ids.h"
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

void applyLauncherResources(ResourceTree& tree, const std::vector<Resource>& launcherResources) {
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

    // The launcher's icon group and the images it names give way to the new ones; new image ids
    // start behind any image that another group still uses.
    if (const Bytes* oldGroup = tree.find(ResourceTypeGroupIcon, LauncherIconGroup))
        for (std::uint16_t id : iconIdsOfGroup(*oldGroup)) tree.remove(ResourceTypeIcon, id);
    tree.remove(ResourceTypeGroupIcon, LauncherIconGroup);
    std::uint16_t firstFreeIcon = 1;
    auto icons = tree.types.find(ResourceName::number(ResourceTypeIcon));
    if (icons != tree.types.end())
        for (const auto& [name, languages] : icons->second)
            if (!name.isText && name.id >= firstFreeIcon) firstFreeIcon = static_cast<std::uint16_t>(name.id + 1);
    std::uint16_t iconShift = static_cast<std::uint16_t>(firstFreeIcon - 1);

    for (Resource resource : launcherResources) {
        if (resource.type == ResourceTypeString) continue;
        if (resource.type == ResourceTypeIcon) resource.name = static_cast<std::uint16_t>(resource.name + iconShift);
        if (resource.type == ResourceTypeGroupIcon)
            for (std::size_t i = 0; GroupHeaderSize + (i + 1) * GroupEntrySize <= resource.data.size(); ++i) {
                std::size_t at = GroupHeaderSize + i * GroupEntrySize + 12;
                setWord(resource.data, at, static_cast<std::uint16_t>(word(&resource.data[at]) + iconShift));
            }
        tree.remove(resource.type, resource.name);
        tree.put(resource);
    }
}
