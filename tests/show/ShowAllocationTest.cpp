// The show allocates nothing once it has run: after a warm-up pass through
// every shot, a second full pass (shot changes and frames, through the
// screensaver's frame path) makes no heap allocation on the main thread.
// The renderer records nothing, so every allocation counted is the engine's.
#include <gtest/gtest.h>

#include <string>

#include "AllocationCounter.h"
#include "app/Overlay.h"
#include "app/SceneShow.h"
#include "app/Settings.h"
#include "engine/animation/ScreensaverController.h"
#include "engine/core/ObjectGraph.h"
#include "engine/render/Renderer.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/Directory.h"
#include "engine/resources/FileManager.h"
#include "support/NullRenderer.h"
#include "tools/common/DiskPath.h"

namespace zel {
namespace {

constexpr double kStep = 1.0 / 30.0;
constexpr int kFramesPerShot = 20;

// Makes set `index` the current shot: the director picks at random, so it
// is asked until it picks that one.
bool MakeCurrent(ScreensaverController& director, int32_t index) {
    for (int attempt = 0; attempt < 100000 && director.GetCurrent() != index; ++attempt) director.Reset();
    return director.GetCurrent() == index;
}

class ShowAllocationTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* codec : {"BMPImageCodec", "JPGImageCodec", "TGAImageCodec", "CUBEImageCodec",
                                  "STRSceneCodec", "RAR2FileCodec"})
            LoadCodec(String(codec), nullptr);
        for (const char* name : {"CustomData.rar2", "Media.rar2"}) {
            DiskPath disk(std::string(ZEL_CONTENT_ARCHIVES) + "/" + name);
            ASSERT_EQ(MountArchive(disk.GetFile(), String()), kOk) << name;
        }
        SetCurrentRenderer(renderer);
        ASSERT_EQ(overlay.Create(), kOk);
        ASSERT_EQ(show.CreateRenderData(), kOk);
        ASSERT_EQ(show.CreateData(Settings(), *renderer), kOk);
        ASSERT_EQ(show.Cache(*renderer, false), kOk);
        director = show.GetController();
        ASSERT_NE(director, nullptr);
    }

    void TearDown() override {
        show.DeleteData();
        show.DeleteRenderData();
        overlay.Release();
        SetCurrentRenderer(nullptr);
        Directory* root = GetRootDirectory();
        for (int32_t i = root->GetDirectoryCount() - 1; i >= 0; --i) delete root->GetDirectory(i);
    }

    // The frame of the screensaver's loop: update, clear, the scene and
    // its fade, present.
    void DrawFrame() {
        show.Update(kStep, *renderer);
        renderer->Clear(Renderer::kClearColor | Renderer::kClearDepth, ColorRGBA{0, 0, 0, 1}, 1.0f, 0);
        if (renderer->BeginFrame() != kOk) return;
        show.Render(*renderer, overlay);
        renderer->EndFrame();
    }

    // Every shot in turn for a few frames; false when a shot cannot be
    // made current.
    bool PlayEveryShot() {
        for (int32_t i = 0; i < director->GetSetCount(); ++i) {
            if (!MakeCurrent(*director, i)) return false;
            for (int f = 0; f < kFramesPerShot; ++f) DrawFrame();
        }
        return true;
    }

    Pointer<test::NullRenderer> renderer = new test::NullRenderer();
    Overlay overlay;
    SceneShow show;
    ScreensaverController* director = nullptr;
};

TEST_F(ShowAllocationTest, ASecondPassThroughEveryShotAllocatesNothing) {
    ASSERT_TRUE(PlayEveryShot());
    ASSERT_GT(renderer->draws, 0);
    test::AllocationCounter::Start();
    const bool played = PlayEveryShot();
    const int64_t allocations = test::AllocationCounter::Stop();
    ASSERT_TRUE(played);
    EXPECT_EQ(allocations, 0);
}

}  // namespace
}  // namespace zel
