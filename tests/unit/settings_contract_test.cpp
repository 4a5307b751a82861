#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "configure/settings/settings_file.h"
#include "settings_contract/java_version.h"
#include "settings_contract/setting_keys.h"
#include "settings_contract/setting_values.h"
#include "settings_contract/splash_picture.h"

namespace {

// Whether the launcher, reading the string table the tool wrote (or, for a file the tool refuses,
// the values as they stand, as in a table made by hand), gets what the file says.
enum class Verdict { Used, NotUsed };

struct Row {
    const char* settings;
    Verdict verdict;
};

// The values as a person reads them, independent of the contract's own parsers.
std::optional<long long> plainNumber(const std::string& text) {
    long long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<bool> meantFlag(const std::string& word) {
    for (const char* on : {"on", "yes", "true", "1", "ON", "Yes", "TRUE"})
        if (word == on) return true;
    for (const char* off : {"off", "no", "false", "0", "Off", "NO"})
        if (word == off) return false;
    return std::nullopt;
}

std::map<std::string, std::string> lines(const std::string& text) {
    std::map<std::string, std::string> values;
    std::string::size_type at = 0;
    while (at < text.size()) {
        std::string::size_type end = text.find('\n', at);
        std::string line = text.substr(at, end - at);
        values[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return values;
}

// Versions of runtimes that exist, from the oldest the launcher knows to the newest.
const char* const RuntimeVersions[] = {"1.3.1", "1.4.2_19", "1.5.0_22", "1.6.0_45", "1.7.0_80", "1.8.0_392",
                                       "9.0.4", "11.0.21", "17", "17.0.9", "21.0.5", "25.0.1"};

bool launcherGetsWhatIsWritten(const std::map<std::string, std::string>& written,
                               const std::map<unsigned, std::string>& table) {
    auto entry = [&](unsigned id) { return table.count(id) ? table.at(id) : std::string(); };
    for (const auto& [name, value] : written) {
        const SettingKey* key = findSettingKey(name);
        if (!key) return false;
        std::string stored = entry(key->id);
        switch (key->rule.kind) {
        case ValueKind::Flag: {
            std::optional<bool> meant = meantFlag(value);
            if (!meant || flagIsOn(stored) != *meant) return false;
            break;
        }
        case ValueKind::Number: {
            std::optional<long long> meant = plainNumber(value);
            long long read = key->id == SettingStartupCheckSeconds ? static_cast<long long>(startupCheckSeconds(stored))
                                                                   : static_cast<long long>(numberAsRead(stored));
            if (!meant || read != *meant) return false;
            break;
        }
        case ValueKind::WebAddress:
            if (downloadAddress(stored) != value) return false;
            break;
        case ValueKind::ExitStatuses: {
            Result<std::vector<std::uint32_t>> read = parseExitStatuses(stored);
            if (!read) return false;
            std::vector<std::uint32_t> meant;
            for (std::string::size_type at = 0; at <= value.size();) {
                std::string::size_type comma = std::min(value.find(',', at), value.size());
                std::string item = value.substr(at, comma - at);
                item.erase(0, item.find_first_not_of(' '));
                item.erase(item.find_last_not_of(' ') + 1);
                std::optional<long long> status = plainNumber(item);
                if (!status) return false;
                meant.push_back(static_cast<std::uint32_t>(*status));
                at = comma + 1;
            }
            if (read.value() != meant) return false;
            break;
        }
        case ValueKind::JavaVersion:
        case ValueKind::Text:
        case ValueKind::FileVersion:
            if (stored != value) return false;
            break;
        }
    }
    // A version range is used only when some runtime can meet it.
    std::string minimum = entry(SettingMinimumVersion), maximum = entry(SettingMaximumVersion);
    if (minimum.empty()) minimum = DefaultMinimumVersion;
    return std::any_of(std::begin(RuntimeVersions), std::end(RuntimeVersions), [&](const char* version) {
        return versionAtLeast(minimum, version) && versionAtMost(maximum, version);
    });
}

std::map<unsigned, std::string> asStoredByHand(const std::map<std::string, std::string>& written) {
    std::map<unsigned, std::string> table;
    for (const auto& [name, value] : written)
        if (const SettingKey* key = findSettingKey(name)) table[key->id] = value;
    return table;
}

} // namespace

TEST(SettingsContract, TheToolAcceptsExactlyWhatTheLauncherUsesAsWritten) {
    const Row rows[] = {
        // Flags: the tool writes on, or leaves the entry out; other words are refused.
        {"stay_alive=on", Verdict::Used},
        {"stay_alive=off", Verdict::Used},
        {"single_instance=no", Verdict::Used},
        {"splash=false", Verdict::Used},
        {"console=0", Verdict::Used},
        {"jdk_required=Yes", Verdict::Used},
        {"pass_arguments=TRUE", Verdict::Used},
        {"wait_for_window=1", Verdict::Used},
        {"stay_alive=maybe", Verdict::NotUsed},
        {"stay_alive=alive", Verdict::NotUsed},
        {"splash= on", Verdict::NotUsed},
        // Numbers.
        {"startup_check_seconds=-0", Verdict::Used},
        {"startup_check_seconds=0000000000", Verdict::Used},
        {"startup_check_seconds=0", Verdict::Used},
        {"startup_check_seconds=3600", Verdict::Used},
        {"startup_check_seconds=-5", Verdict::NotUsed},
        {"startup_check_seconds=+5", Verdict::NotUsed},
        {"startup_check_seconds= 5", Verdict::NotUsed},
        {"startup_check_seconds=5s", Verdict::NotUsed},
        {"splash_seconds=-0", Verdict::Used},
        {"splash_seconds=-1", Verdict::Used},
        {"splash_seconds=0000000000000000000007", Verdict::Used},
        {"splash_seconds=2147483647", Verdict::Used},
        {"splash_seconds=2147483648", Verdict::NotUsed},
        {"splash_seconds=5s", Verdict::NotUsed},
        {"splash_seconds= 7", Verdict::NotUsed},
        // Versions: 1.N and N are one version; a range must admit some runtime.
        {"min_version=8\nmax_version=1.8", Verdict::Used},
        {"min_version=1.8\nmax_version=8", Verdict::Used},
        {"min_version=1.8.0_392\nmax_version=1.8", Verdict::Used},
        {"min_version=11\nmax_version=17", Verdict::Used},
        {"max_version=1.3", Verdict::Used},
        {"min_version=1.8\nmax_version=7", Verdict::NotUsed},
        {"max_version=1", Verdict::NotUsed},
        {"max_version=1.2", Verdict::NotUsed},
        {"min_version=17.0.9\nmax_version=17.0.8", Verdict::NotUsed},
        // Addresses: what the cannot-start dialog would open.
        {"download_url=https://adoptium.net/", Verdict::Used},
        {"download_url=HTTP://intranet/java?x=1", Verdict::Used},
        {"download_url=https://example.com/\"x", Verdict::NotUsed},
        {"download_url=https://example.com/<x>", Verdict::NotUsed},
        {"download_url=https://", Verdict::NotUsed},
        {"download_url=file:///C:/x.exe", Verdict::NotUsed},
        // Exit statuses.
        {"restart_on_exit=3, -1 ,4294967295", Verdict::Used},
        {"restart_on_exit=007,-0", Verdict::Used},
        {"restart_on_exit=3;4", Verdict::NotUsed},
        {"restart_on_exit=3,", Verdict::NotUsed},
        {"restart_on_exit=4294967296", Verdict::NotUsed},
    };
    for (const Row& row : rows) {
        std::map<std::string, std::string> written = lines(row.settings);
        Result<LauncherConfiguration> tool = parseSettings(std::string(row.settings) + "\n");
        EXPECT_EQ(tool.ok(), row.verdict == Verdict::Used) << row.settings << ": " << (tool ? "" : tool.failure().what);
        std::map<unsigned, std::string> table = tool ? tool.value().strings : asStoredByHand(written);
        EXPECT_EQ(launcherGetsWhatIsWritten(written, table), row.verdict == Verdict::Used) << row.settings;
    }
}

TEST(SettingsContract, TheKeyTableHasEveryIdOnceAndNamesThatStandOnTheirOwn) {
    std::set<unsigned> ids;
    std::set<std::string> names;
    for (const SettingKey& key : settingKeys()) {
        EXPECT_TRUE(ids.insert(key.id).second) << key.name;
        EXPECT_GE(key.id, FirstSettingId) << key.name;
        EXPECT_LE(key.id, LastSettingId) << key.name;
        EXPECT_TRUE(names.insert(key.name).second) << key.name;
        EXPECT_EQ(findSettingKey(key.name), &key);
    }
    EXPECT_EQ(ids.size(), LastSettingId - FirstSettingId + 1); // no id without its key
    for (const SettingKey& key : metadataKeys()) {
        EXPECT_EQ(key.id, 0u) << key.name;
        EXPECT_TRUE(names.insert(key.name).second) << key.name;
    }
    EXPECT_EQ(findSettingKey("splashh"), nullptr);
    EXPECT_EQ(std::string(findSettingKey("startup_check_seconds")->whenAbsent), std::to_string(DefaultStartupCheckSeconds));
    EXPECT_EQ(findSettingKey("startup_check_seconds")->rule.most, MaxStartupCheckSeconds);
}

TEST(SettingsContract, NumbersReadAsTheCLibraryReadsThem) {
    EXPECT_EQ(numberAsRead(""), 0);
    EXPECT_EQ(numberAsRead("abc"), 0);
    EXPECT_EQ(numberAsRead("5s"), 5);
    EXPECT_EQ(numberAsRead(" \t7"), 7);
    EXPECT_EQ(numberAsRead("+3"), 3);
    EXPECT_EQ(numberAsRead("-1"), -1);
    EXPECT_EQ(numberAsRead("99999999999999999999"), 2147483647);
    EXPECT_EQ(numberAsRead("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(startupCheckSeconds(""), DefaultStartupCheckSeconds);
    EXPECT_EQ(startupCheckSeconds("x"), DefaultStartupCheckSeconds);
    EXPECT_EQ(startupCheckSeconds("999999999999"), 86400u); // capped at a day
    EXPECT_EQ(wholeNumber("-"), std::nullopt);
    EXPECT_EQ(wholeNumber("1000000000000000000"), std::nullopt);
}

TEST(SettingsContract, AVersionRangeCanBeMetWhenTheMinimumFitsUnderTheMaximum) {
    EXPECT_TRUE(versionRangeCanBeMet("8", "1.8"));
    EXPECT_TRUE(versionRangeCanBeMet("", "1.3"));
    EXPECT_TRUE(versionRangeCanBeMet("17.0.9", "17"));
    EXPECT_TRUE(versionRangeCanBeMet("11", ""));
    EXPECT_FALSE(versionRangeCanBeMet("", "1"));
    EXPECT_FALSE(versionRangeCanBeMet("1.8", "7"));
    EXPECT_FALSE(versionRangeCanBeMet("18", "17.0.9"));
    for (const char* good : {"1.8", "17.0.2", "1.8.0_392", "123456789"}) EXPECT_TRUE(isJavaVersion(good)) << good;
    for (const char* bad : {"", "1..8", "1.8.", ".8", "17-ea", " 11", "1234567890", "1._8"})
        EXPECT_FALSE(isJavaVersion(bad)) << bad;
}

namespace {

Bytes infoHeader(std::uint32_t size, std::uint16_t bits, std::uint32_t compression, std::uint32_t coloursUsed) {
    using namespace little_endian;
    Bytes header;
    putDword(header, size);
    putDword(header, 16);
    putDword(header, 16);
    putWord(header, 1);
    putWord(header, bits);
    putDword(header, compression);
    for (int i = 0; i < 3; ++i) putDword(header, 0);
    putDword(header, coloursUsed);
    putDword(header, 0);
    header.resize(size, 0);
    return header;
}

} // namespace

TEST(SettingsContract, BitmapPalettesEndWhereTheirHeaderFormSays) {
    Bytes core = {12, 0, 0, 0, 16, 0, 16, 0, 1, 0, 4, 0};
    std::optional<BitmapHeader> read = readBitmapHeader(core.data(), core.size());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->paletteEnd, 12u + 16 * 3); // three bytes an entry, every colour of 4 bits
    Bytes eight = infoHeader(40, 8, BitmapRgb, 0);
    EXPECT_EQ(readBitmapHeader(eight.data(), eight.size())->paletteEnd, 40u + 256 * 4);
    Bytes used = infoHeader(40, 8, BitmapRgb, 3);
    EXPECT_EQ(readBitmapHeader(used.data(), used.size())->paletteEnd, 40u + 3 * 4);
    Bytes masks = infoHeader(40, 32, BitmapBitfields, 0);
    EXPECT_EQ(readBitmapHeader(masks.data(), masks.size())->paletteEnd, 40u + 12);
    Bytes v5 = infoHeader(124, 32, BitmapBitfields, 0); // the masks are inside the header
    EXPECT_EQ(readBitmapHeader(v5.data(), v5.size())->paletteEnd, 124u);
    EXPECT_FALSE(readBitmapHeader(v5.data(), 100)); // cut short in its header
    Bytes unknown = infoHeader(64, 8, BitmapRgb, 0);
    EXPECT_FALSE(readBitmapHeader(unknown.data(), unknown.size()));
}
