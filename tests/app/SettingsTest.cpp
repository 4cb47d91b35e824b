#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/SettingsLayers.h"

namespace zel {
namespace {

// The neutral and the Russian settings resources, as the program carries
// them (keys, values and comments of both kinds).
const std::string kNeutralText =
    "; User settings\r\nShowFPS = 0\r\nExitOnMouseMove = 0\r\nShowTime = 1\r\nUseDesktopSettings = 1\r\n"
    "Music = 1\r\nSFX = 1\r\nHour24 = 0\r\nVolume = 50; music volume\r\nWidth = 800\r\nHeight = 600\r\n"
    "ColorDepth = 32\r\nAntiAliasing = 0\r\nGamma = 0\r\nReflections = 1\r\nRegistryPath = Software\\Test\\Zel\r\n";
const std::string kRussianText =
    "; \xCF\xEE\xEB\xFC\xE7\xEE\xE2\xE0\xF2\xE5\xEB\xFC\r\nShowFPS = 1\r\nExitOnMouseMove = 1\r\nHour24 = 1\r\n"
    "Volume = 80; \xC3\xF0\xEE\xEC\xEA\xEE\xF1\xF2\xFC\r\nGamma = 0\r\nFilmResolution = 2\r\n";

Settings FromText(const std::string& text, String* registryPath = nullptr) {
    Settings settings;
    String path, failed;
    EXPECT_TRUE(ApplySettingsText(text.data(), uint32_t(text.size()), settings, path,
                                  [](const SettingsLine&) { return 0; }, failed));
    if (registryPath != nullptr) *registryPath = path;
    return settings;
}

TEST(SettingsTest, NeutralResourceOverridesCompiledDefaults) {
    String path;
    const Settings s = FromText(kNeutralText, &path);
    EXPECT_FALSE(s.showFps);
    EXPECT_FALSE(s.hour24);
    EXPECT_FALSE(s.exitOnMouseMove);
    EXPECT_EQ(s.volume, 50);
    EXPECT_EQ(s.gamma, 0);
    EXPECT_STREQ(path.CStr(), "Software\\Test\\Zel");
}

TEST(SettingsTest, RussianResourceTurnsFpsAndHour24On) {
    const Settings s = FromText(kRussianText);
    EXPECT_TRUE(s.showFps);
    EXPECT_TRUE(s.hour24);
    EXPECT_EQ(s.volume, 80);
}

struct ValueCase {
    const char* line;
    const char* key;
    uint32_t expected;
};

class SettingValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(SettingValueTest, ParsesValue) {
    const Settings s = FromText(GetParam().line);
    EXPECT_EQ(GetSettingValue(s, *FindSettingField(String(GetParam().key))), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingValueTest,
    ::testing::Values(ValueCase{"Hour24 = 1", "Hour24", 1}, ValueCase{"Hour24 = 7", "Hour24", 1},
                      ValueCase{"ShowTime = 0", "ShowTime", 0}, ValueCase{"ShowTime = yes", "ShowTime", 0},
                      ValueCase{"Volume = 30 ", "Volume", 30}, ValueCase{"Volume = loud", "Volume", 80},
                      ValueCase{"Gamma = -20", "Gamma", uint32_t(-20)}, ValueCase{"Width=1024", "Width", 800}));

TEST(SettingsTest, FailingLineStopsAndNamesTheLine) {
    const std::string text = "Volume = 30\nOdd = x; note\nWidth = 1024\n";
    Settings s;
    String path, failed;
    EXPECT_FALSE(ApplySettingsText(text.data(), uint32_t(text.size()), s, path,
                                   [](const SettingsLine& line) { return line.key == String("Odd") ? 1 : 0; },
                                   failed));
    EXPECT_STREQ(failed.CStr(), "Odd = x");
    EXPECT_EQ(s.width, 800);
}

TEST(SettingsTest, StoredValuesOverrideOnlyWhatIsStored) {
    Settings s = FromText(kNeutralText);
    ApplyStoredSettings(s, [](const char* name, uint32_t& value) {
        if (std::string(name) != "Volume") return false;
        value = 30;
        return true;
    });
    Settings expected = FromText(kNeutralText);
    expected.volume = 30;
    EXPECT_EQ(s, expected);
}

TEST(SettingsTest, StoreWritesThirteenValuesInOrder) {
    Settings s;
    s.showFps = true;
    std::vector<std::string> names;
    std::map<std::string, uint32_t> values;
    EXPECT_TRUE(StoreSettings(s, [&](const char* name, uint32_t value) {
        names.push_back(name);
        values[name] = value;
        return true;
    }));
    const std::vector<std::string> order = {"ShowFPS", "ExitOnMouseMove", "ShowTime", "UseDesktopSettings",
                                            "Music", "SFX", "Hour24", "Volume", "Width", "Height",
                                            "ColorDepth", "AntiAliasing", "Gamma"};
    EXPECT_EQ(names, order);
    EXPECT_EQ(values["ShowFPS"], 1u);
    EXPECT_EQ(values["Gamma"], 100u);
    Settings back;
    back.showFps = false;
    back.volume = 3;
    ApplyStoredSettings(back, [&](const char* name, uint32_t& value) {
        value = values[name];
        return true;
    });
    EXPECT_EQ(back, s);
}

TEST(SettingsTest, LogLines) {
    Settings s;
    EXPECT_STREQ(FormatSettingLine(s, GetSettingField(0)).CStr(), "ShowFPS: false");
    EXPECT_STREQ(FormatSettingLine(s, GetSettingField(7)).CStr(), "Volume: 80");
}

}  // namespace
}  // namespace zel
