// The show's geometry helpers: triangles face the way their normals point,
// and the harbour's layout keeps land, sea and landmarks where the shots
// expect them.
#include <gtest/gtest.h>

#include <functional>

#include "tools/content/show/HarbourLayout.h"
#include "tools/content/show/MeshBuilder.h"

namespace zel {
namespace {

// Each triangle's edge cross product must point the way its vertices'
// normals do, or the device culls the face the camera sees.
TEST(MeshBuilder, EveryShapeFacesAlongItsNormals) {
    const std::pair<const char*, std::function<void(MeshBuilder&)>> shapes[] = {
        {"box", [](MeshBuilder& m) { m.AddBox({-1, 0, -2}, {3, 2, 1}, 0.5f, true); }},
        {"cylinder", [](MeshBuilder& m) { m.AddCylinder({1, 2, 3}, 2.0f, 1.0f, 4.0f, 12, 0.25f, true); }},
        {"sphere", [](MeshBuilder& m) { m.AddSphere({0, 5, 0}, 2.0f, 6, 8); }},
        {"roof", [](MeshBuilder& m) { m.AddGableRoof({0, 3, 0}, {6, 3, 4}, 2.0f, 0.4f, 0.25f); }},
        {"quad", [](MeshBuilder& m) { m.AddQuad({0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {0, 0, -1}); }},
    };
    for (const auto& [name, build] : shapes) {
        MeshBuilder mesh;
        build(mesh);
        const auto& v = mesh.GetVertices();
        const auto& index = mesh.GetIndices();
        ASSERT_FALSE(index.empty()) << name;
        for (size_t i = 0; i + 2 < index.size(); i += 3) {
            const Vector3 facing = Cross(v[index[i + 1]].position - v[index[i]].position,
                                         v[index[i + 2]].position - v[index[i]].position);
            const Vector3 normal = v[index[i]].normal + v[index[i + 1]].normal + v[index[i + 2]].normal;
            EXPECT_GE(Dot(facing, normal), 0.0f) << name << " triangle " << i / 3;
        }
    }
}

TEST(HarbourLayout, LandmarksStandOnLandAndTheSeaLiesSouth) {
    using namespace harbour;
    for (float x = -200.0f; x <= 200.0f; x += 50.0f) {
        EXPECT_LT(GroundHeight(x, ShoreZ(x) - 30.0f), 0.0f) << x;
        EXPECT_GT(GroundHeight(x, ShoreZ(x) + 30.0f), 0.0f) << x;
    }
    // Inland the ground stays above the sea plane, which reaches under it.
    for (float x = -240.0f; x <= 240.0f; x += 8.0f)
        for (float z = -240.0f; z <= 240.0f; z += 8.0f)
            if (z - ShoreZ(x) > 12.0f) EXPECT_GT(GroundHeight(x, z), 0.2f) << x << ", " << z;
    EXPECT_GT(LighthouseBase().y, 0.5f);
    EXPECT_GT(WindmillBase().y, 5.0f);
    // The pond's water fills its bowl below the rim.
    const Vector3 pond = PondCenter();
    EXPECT_GT(PondLevel(), GroundHeight(pond.x, pond.z));
    EXPECT_LT(PondLevel(), GroundHeight(pond.x + kPondRadius + 8.0f, pond.z));
    // The car's road runs on land without steps.
    const std::vector<Vector3> road = RoadPoints();
    ASSERT_GT(road.size(), 10u);
    for (size_t i = 1; i < road.size(); ++i) {
        EXPECT_GT(road[i].y, 0.0f) << road[i].x;
        EXPECT_LT(std::fabs(road[i].y - road[i - 1].y), 2.0f) << road[i].x;
    }
}

}  // namespace
}  // namespace zel
