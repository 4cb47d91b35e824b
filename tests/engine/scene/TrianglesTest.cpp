#include <gtest/gtest.h>

#include <vector>

#include "engine/scene/Lines.h"
#include "engine/scene/Points.h"
#include "engine/scene/StripLines.h"
#include "engine/scene/Triangles.h"
#include "support/MathExpect.h"

namespace zel {
namespace {

using test::Near;

Pointer<Triangles> Mesh(const std::vector<Vector3>& positions, const std::vector<int32_t>& indices) {
    Pointer<Triangles> node = new Triangles();
    Vector3Buffer* p = new Vector3Buffer(static_cast<int32_t>(positions.size()), nullptr);
    for (size_t i = 0; i < positions.size(); ++i) (*p)[static_cast<int32_t>(i)] = positions[i];
    IntBuffer* index = new IntBuffer(static_cast<int32_t>(indices.size()), nullptr);
    for (size_t i = 0; i < indices.size(); ++i) (*index)[static_cast<int32_t>(i)] = indices[i];
    node->SetVertices(p);
    node->SetIndices(index);
    return node;
}

Vector2Buffer* Coordinates(const std::vector<Vector2>& st) {
    Vector2Buffer* buffer = new Vector2Buffer(static_cast<int32_t>(st.size()), nullptr);
    for (size_t i = 0; i < st.size(); ++i) (*buffer)[static_cast<int32_t>(i)] = st[i];
    return buffer;
}

// Normals.

struct NormalCase {
    const char* what;
    std::vector<Vector3> positions;
    std::vector<int32_t> indices;
    std::vector<Vector3> normals;
};

TEST(Triangles, NormalsAreAreaWeightedSums) {
    const float h = 0.70710677f;
    const NormalCase cases[] = {
        {"one triangle", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2}, {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}},
        {"unreferenced vertex", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}}, {0, 1, 2},
         {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 0}}},
        // Face normals (0, 0, 2) and (2, 0, 0) meet at vertex 0.
        {"two faces share a vertex", {{0, 0, 0}, {2, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 0, 1}},
         {0, 1, 2, 0, 3, 4}, {{h, 0, h}, {0, 0, 1}, {0, 0, 1}, {1, 0, 0}, {1, 0, 0}}},
        {"degenerate face", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, {0, 1, 2}, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
        {"bad and partial triples skipped", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 9, -1, 1, 2, 0, 1, 2, 0, 1},
         {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}},
    };
    for (const NormalCase& c : cases) {
        SCOPED_TRACE(c.what);
        Pointer<Triangles> mesh = Mesh(c.positions, c.indices);
        mesh->GenerateNormals();
        Vector3Buffer* normals = mesh->GetNormals();
        ASSERT_NE(normals, nullptr);
        ASSERT_EQ(normals->GetCount(), static_cast<int32_t>(c.normals.size()));
        for (int32_t i = 0; i < normals->GetCount(); ++i) EXPECT_TRUE(Near((*normals)[i], c.normals[i])) << i;
        EXPECT_TRUE(normals->GetBinding().IsDirty());
    }
}

TEST(Triangles, NormalsNeedIndicesAndThreeVectorPositions) {
    Pointer<Triangles> mesh = Mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2});
    Pointer<Vector3Buffer> old = new Vector3Buffer(3, nullptr);
    mesh->SetNormals(old);
    mesh->SetIndices(nullptr);
    mesh->GenerateNormals();
    EXPECT_EQ(mesh->GetNormals(), old.Get());
    mesh = Mesh({}, {0, 1, 2});
    mesh->SetVertices(new Vector4Buffer(3, nullptr));
    mesh->GenerateNormals();
    EXPECT_EQ(mesh->GetNormals(), nullptr);
}

TEST(Triangles, OtherPrimitivesGenerateNothing) {
    Pointer<GeometryNode> nodes[] = {new Points(), new Lines(), new StripLines()};
    for (GeometryNode* node : nodes) {
        node->SetVertices(new Vector3Buffer(3, new Vector3[3]{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
        node->SetIndices(new IntBuffer(3, new int32_t[3]{0, 1, 2}));
        node->SetTexCoords(0, new Vector2Buffer(3, new Vector2[3]{{0, 0}, {1, 0}, {0, 1}}));
        node->UpdateModel(true, true);
        EXPECT_EQ(node->GetNormals(), nullptr);
        EXPECT_EQ(node->GetTangents(), nullptr);
    }
}

// Tangents.

TEST(Triangles, TangentsFollowIncreasingS) {
    Pointer<Triangles> mesh = Mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {9, 9, 9}}, {0, 1, 2});
    mesh->SetTexCoords(0, Coordinates({{0, 0}, {1, 0}, {0, 1}, {0, 0}}));
    mesh->GenerateTangents(0);
    Vector3Buffer* tangents = mesh->GetTangents();
    ASSERT_NE(tangents, nullptr);
    for (int32_t i = 0; i < 3; ++i) EXPECT_TRUE(Near((*tangents)[i], {1, 0, 0})) << i;
    EXPECT_TRUE(Near((*tangents)[3], {0, 0, 0}));

    // s running along y instead.
    mesh->SetTexCoords(0, Coordinates({{0, 0}, {0, 1}, {1, 0}, {0, 0}}));
    mesh->GenerateTangents(0);
    EXPECT_TRUE(Near((*mesh->GetTangents())[0], {0, 1, 0}));
}

TEST(Triangles, TangentsReadOnlySAndTOfWiderCoordinates) {
    Pointer<Triangles> mesh = Mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2});
    mesh->SetTexCoords(2, new Vector4Buffer(3, new Vector4[3]{{0, 0, 7, 7}, {0, 2, 7, 7}, {-3, 0, 7, 7}}));
    mesh->GenerateTangents(2);
    ASSERT_NE(mesh->GetTangents(), nullptr);
    EXPECT_TRUE(Near((*mesh->GetTangents())[0], {0, -1, 0}));
    mesh->SetTexCoords(3, new Vector3Buffer(3, new Vector3[3]{{0, 0, 7}, {1, 0, 7}, {0, 1, 7}}));
    mesh->GenerateTangents(3);
    EXPECT_TRUE(Near((*mesh->GetTangents())[2], {1, 0, 0}));
}

TEST(Triangles, ParallelCoordinateEdgesContributeNothing) {
    // Two triangles share vertex 0; the second has all its s, t on one line.
    Pointer<Triangles> mesh = Mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 2}}, {0, 1, 2, 0, 3, 4});
    mesh->SetTexCoords(0, Coordinates({{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 2}}));
    mesh->GenerateTangents(0);
    Vector3Buffer* tangents = mesh->GetTangents();
    ASSERT_NE(tangents, nullptr);
    EXPECT_TRUE(Near((*tangents)[0], {1, 0, 0}));
    EXPECT_TRUE(Near((*tangents)[3], {0, 0, 0}));
    EXPECT_TRUE(std::isfinite((*tangents)[4].x));
}

TEST(Triangles, TangentsWithoutUsableCoordinatesLeaveTheBufferAlone) {
    Pointer<Triangles> mesh = Mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2});
    Pointer<Vector3Buffer> old = new Vector3Buffer(3, nullptr);
    mesh->SetTangents(old);
    mesh->GenerateTangents(0);
    EXPECT_EQ(mesh->GetTangents(), old.Get());
    mesh->SetTexCoords(0, new FloatBuffer(3, nullptr));
    mesh->GenerateTangents(0);
    EXPECT_EQ(mesh->GetTangents(), old.Get());
    mesh->GenerateTangents(-1);
    mesh->GenerateTangents(8);
    EXPECT_EQ(mesh->GetTangents(), old.Get());
}

TEST(Triangles, UpdateModelFitsTheBoundThenNormalsThenUnitZeroTangents) {
    Pointer<Triangles> mesh = Mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2});
    mesh->SetTexCoords(0, Coordinates({{0, 0}, {1, 0}, {0, 1}}));
    mesh->UpdateModel(true, false);
    EXPECT_NE(mesh->GetNormals(), nullptr);
    EXPECT_EQ(mesh->GetTangents(), nullptr);
    mesh->UpdateModel(false, true);
    EXPECT_NE(mesh->GetTangents(), nullptr);
    EXPECT_EQ(mesh->GetModelBound()->GetCenter(), (Vector3{0.5f, 0.5f, 0}));
}

}  // namespace
}  // namespace zel
