#include <gtest/gtest.h>

#include "app/SceneShow.h"
#include "app/Settings.h"
#include "engine/scene/SceneNode.h"
#include "engine/sound/SoundNode.h"
#include "support/RecordingRenderer.h"

namespace zel {
namespace {

struct SoundCase {
    const char* name;
    bool music, sfx;
    int32_t musicVolume, carVolume;
};

class SoundSettingsTest : public ::testing::TestWithParam<SoundCase> {};

TEST_P(SoundSettingsTest, SilencesWhatIsSwitchedOff) {
    Pointer<SceneNode> root = new SceneNode(String("Root"), 0, 2);
    Pointer<SoundNode> music = new SoundNode(String("Music"));
    Pointer<SoundNode> car = new SoundNode(String("Car"));
    ASSERT_EQ(root->AppendChild(music), 0);
    ASSERT_EQ(root->AppendChild(car), 0);
    music->SetVolume(100);
    car->SetVolume(100);
    ApplySoundSettings(root, GetParam().music, GetParam().sfx);
    EXPECT_EQ(music->GetVolume(), GetParam().musicVolume);
    EXPECT_EQ(car->GetVolume(), GetParam().carVolume);
}

INSTANTIATE_TEST_SUITE_P(Cases, SoundSettingsTest,
    ::testing::Values(SoundCase{"AllOn", true, true, 100, 100}, SoundCase{"SfxOff", true, false, 100, 0},
                      SoundCase{"MusicOff", false, true, 0, 100}, SoundCase{"BothOff", false, false, 0, 0}),
    [](const auto& info) { return info.param.name; });

// No archive holds "Main.STR" here.
TEST(SceneShowTest, MissingSceneFileFailsWithoutAScene) {
    SceneShow show;
    Pointer<test::RecordingRenderer> renderer = new test::RecordingRenderer();
    EXPECT_EQ(show.CreateData(Settings(), *renderer), 1);
    EXPECT_EQ(show.GetRoot(), nullptr);
    EXPECT_EQ(show.GetController(), nullptr);
}

}  // namespace
}  // namespace zel
