// The "DirectX9" module in the native build: it is registered in its place,
// and its "CreateRenderer" refuses, with a log line, since there is no
// Direct3D here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Pointer.h"
#include "engine/render/OcclusionQuery.h"
#include "engine/render/Renderer.h"
#include "engine/render/RendererModule.h"
#include "engine/resources/ModuleManager.h"
#include "support/CurrentRenderer.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

// Under Windows the module makes a real renderer; zel_d3d9_renderer tests it.
#ifndef _WIN32
TEST(RendererModule, NativeCreationFailsWithALogLine) {
    ASSERT_EQ(GetCurrentRenderer(), nullptr);
    ASSERT_NE(FindModule(String(kDirectX9ModuleName)), nullptr);
    test::LogCapture capture;
    Renderer* renderer = reinterpret_cast<Renderer*>(1);
    EXPECT_EQ(CreateDirectX9Renderer(&renderer), kFailed);
    EXPECT_EQ(renderer, nullptr);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить библиотеку [d3d9.dll]."));

    EXPECT_EQ(LoadRenderer(String(kDirectX9ModuleName)), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Создание рендерера [DirectX9] неудачно."));
    EXPECT_EQ(GetCurrentRenderer(), nullptr);
}
#endif

TEST(RendererModule, RefusesANullOutputAndASecondRenderer) {
    EXPECT_EQ(CreateDirectX9Renderer(nullptr), kFailed);
    test::CurrentRenderer current;
    Renderer* before = GetCurrentRenderer();
    Renderer* renderer = nullptr;
    test::LogCapture capture;
    EXPECT_EQ(CreateDirectX9Renderer(&renderer), kFailed);
    EXPECT_EQ(renderer, nullptr);
    EXPECT_EQ(GetCurrentRenderer(), before);
    // Refused before the library probe.
    EXPECT_TRUE(capture->lines.empty());
}

// Occlusion queries reach the current renderer and, once it holds their
// device query, ask it to release that when they go.
TEST(OcclusionQuery, BeginAndEndReachTheRendererWhichReleasesIt) {
    test::CurrentRenderer current;
    Pointer<OcclusionQuery> query = new OcclusionQuery();
    query->Begin();
    query->End();
    static int device = 0;
    query->GetBinding().SetHandle(&device, current.operator->());
    query = nullptr;
    EXPECT_EQ(current->Filter({"BeginOcclusionQuery", "EndOcclusionQuery", "ReleaseOcclusionQuery"}),
              (std::vector<std::string>{"BeginOcclusionQuery()", "EndOcclusionQuery()", "ReleaseOcclusionQuery()"}));
}

TEST(OcclusionQuery, WithoutARendererNothingHappens) {
    Pointer<OcclusionQuery> query = new OcclusionQuery();
    query->SetVisiblePixels(7);
    query->Begin();
    query->End();
    EXPECT_EQ(query->GetVisiblePixels(), 7);
}

}  // namespace
}  // namespace zel
