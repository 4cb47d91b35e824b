// The show as the screensaver finds it: both archives, made once per test
// run by the content tool (the CTest fixture), mounted, and "Main.STR"
// loaded from them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "engine/animation/NodeAnimation.h"
#include "engine/animation/NodeKeyframe.h"
#include "engine/animation/ScreensaverController.h"
#include "engine/core/ClassFactory.h"
#include "engine/core/Log.h"
#include "engine/core/ObjectGraph.h"
#include "engine/core/SceneFile.h"
#include "engine/resources/Directory.h"
#include "engine/resources/File.h"
#include "engine/resources/FileManager.h"
#include "engine/resources/Image.h"
#include "engine/scene/Camera.h"
#include "engine/scene/GeometryNode.h"
#include "engine/scene/Node.h"
#include "engine/scene/SceneNode.h"
#include "engine/sound/SoundNode.h"
#include "engine/sound/SoundNode2.h"
#include "support/RecordingOutput.h"
#include "tools/common/DiskPath.h"
#include "tools/content/ContentArchives.h"
#include "tools/content/show/HarbourLayout.h"
#include "tools/content/show/ShowScene.h"

namespace zel {
namespace {

// Registered classes no streamed field can hold: the renderer makes the
// state blocks and shaders for its passes, and every link that could name
// a plain effect, a cube or volume texture or a volume image asks for a
// more derived class.
const std::set<std::string> kNotInScenes = {"Zel.Effect",      "Zel.RenderStateBlock", "Zel.PixelShader",
                                            "Zel.VertexShader", "Zel.CubeTexture",     "Zel.VolumeTexture",
                                            "Zel.VolumeImage"};

class ShowContentTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        LoadContentCodecs();
        for (const char* name : {"CustomData.rar2", "Media.rar2"}) {
            DiskPath disk(std::string(ZEL_CONTENT_ARCHIVES) + "/" + name);
            ASSERT_EQ(MountArchive(disk.GetFile(), String()), kOk);
        }
        test::LogCapture log;
        File* file = FindMountedFile(String("Main.STR"));
        ASSERT_NE(file, nullptr);
        ASSERT_EQ(file->Open(File::kModeRead), kOk);
        Pointer<Object> root;
        ASSERT_EQ(ReadSceneFile(*file, root), kOk);
        scene_ = new Pointer<Object>(root);
        objects_ = new std::vector<Pointer<Object>>;
        for (int32_t i = 0; i < file->GetCreatedCount(); ++i) objects_->push_back(file->GetCreated(i));
        file->Close();
        loadLog_ = new std::vector<test::LoggedLine>(log->lines);
    }

    static void TearDownTestSuite() {
        if (scene_ != nullptr) BreakObjectLinks(*scene_);
        delete objects_;
        delete scene_;
        delete loadLog_;
        Directory* root = GetRootDirectory();
        for (int32_t i = root->GetDirectoryCount() - 1; i >= 0; --i) delete root->GetDirectory(i);
    }

    // Every object of the scene: what the stream created, and what each
    // object's search reaches (bounds are made by their nodes).
    static std::set<std::string> ClassesInScene() {
        std::set<std::string> names;
        ObjectArray reached(256, 256);
        for (const Pointer<Object>& object : *objects_) {
            names.insert(object->GetRtti()->GetName().CStr());
            reached.Clear();
            object->CollectByType(Object::TYPE, reached);
            for (int32_t i = 0; i < reached.Count(); ++i) names.insert(reached[i]->GetRtti()->GetName().CStr());
            if (auto* node = CastTo<Node>(object.Get()); node != nullptr && node->GetWorldBound() != nullptr)
                names.insert(node->GetWorldBound()->GetRtti()->GetName().CStr());
        }
        return names;
    }

    static Pointer<Object>* scene_;
    static std::vector<Pointer<Object>>* objects_;
    static std::vector<test::LoggedLine>* loadLog_;
};

Pointer<Object>* ShowContentTest::scene_ = nullptr;
std::vector<Pointer<Object>>* ShowContentTest::objects_ = nullptr;
std::vector<test::LoggedLine>* ShowContentTest::loadLog_ = nullptr;

TEST_F(ShowContentTest, LoadingTheSceneWarnsOfNothing) {
    ASSERT_NE(loadLog_, nullptr);
    ASSERT_FALSE(loadLog_->empty());  // the capture saw the load
    for (const test::LoggedLine& line : *loadLog_) EXPECT_EQ(line.level, kLogInfo) << line.text;
}

TEST_F(ShowContentTest, EveryClassAScenesCanHoldHasAPlaceInTheShow) {
    ASSERT_NE(objects_, nullptr);
    const std::set<std::string> present = ClassesInScene();
    std::set<std::string> concrete;
    ForEachClass(
        [](const String& name, CreateFunction create, void* context) {
            // Abstract classes refuse creation (and say so in the log).
            Object* made = nullptr;
            if (create(&made) != kOk) return;
            static_cast<std::set<std::string>*>(context)->insert(name.CStr());
            Pointer<Object> release(made);
        },
        &concrete);
    ASSERT_GT(concrete.size(), 50u);
    for (const std::string& name : concrete)
        if (kNotInScenes.count(name) == 0) EXPECT_EQ(present.count(name), 1u) << name << " is not in the show";
}

TEST_F(ShowContentTest, EveryFileTheSceneNamesIsInTheArchives) {
    ASSERT_NE(objects_, nullptr);
    std::set<std::string> named;
    for (const Pointer<Object>& object : *objects_) {
        if (auto* image = CastTo<Image>(object.Get()); image != nullptr && !image->GetFileName().IsEmpty())
            named.insert(image->GetFileName().CStr());
        if (auto* sound = CastTo<SoundNode>(object.Get())) named.insert(sound->GetFileName().CStr());
        if (auto* sounds = CastTo<SoundNode2>(object.Get())) {
            named.insert(sounds->GetFileName(0).CStr());
            named.insert(sounds->GetFileName(1).CStr());
        }
    }
    EXPECT_GT(named.size(), 25u);
    for (const std::string& file : named) EXPECT_NE(FindMountedFile(String(file.c_str())), nullptr) << file;
}

// A dozen and more shots, about five minutes before the show repeats, and
// the names the application mutes the car on.
TEST_F(ShowContentTest, TheDirectorHasFiveMinutesOfShots) {
    ASSERT_NE(scene_, nullptr);
    ObjectArray found(1, 1);
    (*scene_)->CollectByType(ScreensaverController::TYPE, found);
    ASSERT_EQ(found.Count(), 1);
    auto* director = static_cast<ScreensaverController*>(found[0]);
    ASSERT_GE(director->GetSetCount(), 12);
    double total = 0.0;
    std::set<std::string> cameras;
    for (int32_t i = 0; i < director->GetSetCount(); ++i) {
        const ScreensaverSet& set = director->GetSet(i);
        ASSERT_NE(set.camera, nullptr);
        ASSERT_NE(set.cameraAnimation, nullptr) << set.camera->GetName().CStr();
        total += set.cameraAnimation->GetTrackPeriod();
        cameras.insert(set.camera->GetName().CStr());
    }
    EXPECT_GT(total, 240.0);
    EXPECT_LT(total, 400.0);
    for (const char* muted : {"Camera03", "Camera04", "Camera06", "Camera11", "Camera17", "Camera18"})
        EXPECT_EQ(cameras.count(muted), 1u) << muted;
    EXPECT_NE((*scene_)->FindByName(String("Car")), nullptr);
    EXPECT_NE((*scene_)->FindByName(String("Music")), nullptr);
}

// No shot looks from under the ground or the sea: every key of every
// camera's path lies above both.
TEST_F(ShowContentTest, CamerasStayAboveTheGroundAndTheSea) {
    ASSERT_NE(scene_, nullptr);
    ObjectArray found(1, 1);
    (*scene_)->CollectByType(ScreensaverController::TYPE, found);
    ASSERT_EQ(found.Count(), 1);
    auto* director = static_cast<ScreensaverController*>(found[0]);
    for (int32_t i = 0; i < director->GetSetCount(); ++i) {
        const ScreensaverSet& set = director->GetSet(i);
        ASSERT_NE(set.cameraAnimation, nullptr);
        auto* path = CastTo<NodeAnimation>(set.cameraAnimation->GetAnimation(0));
        ASSERT_NE(path, nullptr) << set.camera->GetName().CStr();
        for (int32_t k = 0; k < path->GetKeyCount(); ++k) {
            const Vector3 at = path->GetNodeKeyframe(k)->translation;
            EXPECT_GT(at.y, 0.5f) << set.camera->GetName().CStr() << " key " << k;
            EXPECT_GT(at.y, harbour::GroundHeight(at.x, at.z) + 0.5f) << set.camera->GetName().CStr() << " key " << k;
        }
    }
}

// Points along the sea's edge, every 100 m round the square it covers.
std::vector<Vector3> SeaEdge() {
    std::vector<Vector3> edge;
    const float r = harbour::kSeaReach;
    for (float a = -r; a < r; a += 100.0f)
        edge.insert(edge.end(), {{a, 0, -r}, {r, 0, a}, {-a, 0, r}, {-r, 0, -a}});
    return edge;
}

// Inside the camera's view volume: on the same side of every plane as a
// point just ahead of the camera.
bool OnScreen(const Camera& camera, const Vector3& p) {
    const Vector3 ahead = camera.GetPosition() + camera.GetDirection() * 1.0f;
    for (int32_t i = 0; i < Camera::kPlaneCount; ++i) {
        const Plane& plane = camera.GetPlane(i);
        if ((plane.SignedDistance(p) < 0.0f) != (plane.SignedDistance(ahead) < 0.0f)) return false;
    }
    return true;
}

// The ground is cut into tiles so that each pass can leave out those it does
// not see, and the seabed (cells wholly below the sea's level, which the
// opaque sea covers) is kept apart for the refraction image. Together they
// must make the whole field without a crack: every grid point once, the
// copies on tile edges equal bit for bit. What stands on the ground is
// placed on the surface they draw: the centre of every triangle lies on it.
TEST_F(ShowContentTest, TheGroundTilesMakeTheWholeFieldWithoutCracks) {
    std::vector<GeometryNode*> tiles;
    for (const char* part : {"Ground", "Seabed"}) {
        auto* group = CastTo<SceneNode>(CastTo<Node>(scene_->Get())->FindByName(String(part)));
        ASSERT_NE(group, nullptr) << part;
        ASSERT_GT(group->GetChildCount(), 1) << part;
        for (int32_t t = 0; t < group->GetChildCount(); ++t) tiles.push_back(CastTo<GeometryNode>(group->GetChild(t)));
    }
    std::map<std::pair<float, float>, std::pair<Vector3, Vector3>> points;
    int32_t triangles = 0;
    const float field = harbour::kGroundMax - harbour::kGroundMin;
    for (size_t t = 0; t < tiles.size(); ++t) {
        GeometryNode* tile = tiles[t];
        ASSERT_NE(tile, nullptr);
        const bool seabed = std::strncmp(tile->GetName().CStr(), "Seabed", 6) == 0;
        triangles += tile->GetIndexCount() / 3;
        const Vector3Buffer& positions = *tile->GetPositions3();
        const IntBuffer& indices = *tile->GetIndices();
        for (int32_t k = 0; k + 2 < indices.GetCount(); k += 3) {
            const Vector3 centre = (positions[indices[k]] + positions[indices[k + 1]] + positions[indices[k + 2]]) * (1.0f / 3.0f);
            ASSERT_NEAR(harbour::GroundSurface(centre.x, centre.z), centre.y, 1e-3f) << "tile " << t << " at " << k;
        }
        const Vector3Buffer& normals = *tile->GetNormals();
        float west = field, east = -field;
        for (int32_t i = 0; i < positions.GetCount(); ++i) {
            if (seabed) ASSERT_LT(positions[i].y, 0.0f) << tile->GetName().CStr();
            west = std::min(west, positions[i].x);
            east = std::max(east, positions[i].x);
            const auto [it, added] =
                points.emplace(std::make_pair(positions[i].x, positions[i].z), std::make_pair(positions[i], normals[i]));
            if (added) continue;
            EXPECT_EQ(std::memcmp(&it->second.first, &positions[i], sizeof(Vector3)), 0) << "tile " << t;
            EXPECT_EQ(std::memcmp(&it->second.second, &normals[i], sizeof(Vector3)), 0) << "tile " << t;
        }
        EXPECT_LE(east - west, field / 2.0f) << "tile " << t;
    }
    const int32_t n = harbour::kGroundCells;
    EXPECT_EQ(static_cast<int32_t>(points.size()), (n + 1) * (n + 1));
    EXPECT_EQ(triangles, 2 * n * n);
}

// The show played through the director for half an hour of show time: at
// every step, the sea's edge is off the current camera's screen (beyond its
// far plane included) or lies in haze of at least 0.99, so the sea meets
// the sky without a visible edge. Every shot is seen.
TEST_F(ShowContentTest, TheSeaEdgeNeverShows) {
    ASSERT_NE(scene_, nullptr);
    ObjectArray found(1, 1);
    (*scene_)->CollectByType(ScreensaverController::TYPE, found);
    ASSERT_EQ(found.Count(), 1);
    auto* director = static_cast<ScreensaverController*>(found[0]);
    auto* root = CastTo<Node>(scene_->Get());
    ASSERT_NE(root, nullptr);
    const std::vector<Vector3> edge = SeaEdge();
    std::set<int32_t> seen;
    std::srand(1);
    constexpr double kStep = 0.5;
    int32_t shown = 0;
    for (double t = 0.0; t < 1800.0; t += kStep) {
        root->Update(kStep, true);
        const int32_t current = director->GetCurrent();
        if (current < 0) continue;
        seen.insert(current);
        const Camera& camera = *director->GetSet(current).camera;
        for (const Vector3& p : edge) {
            if (!OnScreen(camera, p)) continue;
            const float depth = Dot(p - camera.GetPosition(), camera.GetDirection());
            const float haze = 1.0f - std::exp(-std::pow(kHazeDensity * depth, kHazeExponent));
            if (haze < 0.99f && ++shown <= 5)
                ADD_FAILURE() << camera.GetName().CStr() << " at " << t << " s sees the sea's edge at (" << p.x
                              << ", " << p.z << ") under haze " << haze;
        }
    }
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(static_cast<int32_t>(seen.size()), director->GetSetCount());
}

}  // namespace
}  // namespace zel
