#include <gtest/gtest.h>

#include <cmath>

#include "engine/core/Buffer.h"
#include "engine/core/Stream.h"
#include "engine/scene/SphereBoundingVolume.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

TEST(SphereBoundingVolume, FitsTheBoxCentreOfThePoints) {
    Vector3Buffer two(2, nullptr);
    two[1] = {2, 0, 0};
    SphereBoundingVolume sphere;
    ASSERT_EQ(sphere.ComputeFromPoints(&two), 0);
    EXPECT_EQ(sphere.GetCenter(), (Vector3{1, 0, 0}));
    EXPECT_FLOAT_EQ(sphere.GetRadius(), 1.0f);

    Vector3Buffer three(3, nullptr);
    three[1] = {2, 0, 0};
    three[2] = {0, 3, 0};
    ASSERT_EQ(sphere.ComputeFromPoints(&three), 0);
    EXPECT_EQ(sphere.GetCenter(), (Vector3{1, 1.5f, 0}));
    EXPECT_FLOAT_EQ(sphere.GetRadius(), std::sqrt(3.25f));
}

TEST(SphereBoundingVolume, NullAndEmptyInputsWarnAndKeepTheSphere) {
    test::LogCapture capture;
    SphereBoundingVolume sphere({1, 2, 3}, 4);
    Vector3Buffer empty;
    EXPECT_EQ(sphere.ComputeFromPoints(nullptr), kInvalidArgument);
    EXPECT_EQ(sphere.ComputeFromPoints(&empty), kInvalidArgument);
    EXPECT_EQ(sphere.Merge(nullptr), kInvalidArgument);
    EXPECT_EQ(sphere.CopyFrom(nullptr), kInvalidArgument);
    EXPECT_EQ(sphere.TransformInto(nullptr, Transform::Identity()), kInvalidArgument);
    EXPECT_EQ(sphere.GetRadius(), 4);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Нет вершин в буффере при генерации объёма."));
    // A buffer of 2-vectors holds fewer 3-vectors than elements: only whole
    // 3-vectors are read.
    Vector2Buffer flat(2, nullptr);
    flat[1] = {3, 0};
    EXPECT_EQ(sphere.ComputeFromPoints(&flat), 0);
    EXPECT_EQ(sphere.GetRadius(), 0);
}

TEST(SphereBoundingVolume, MergeContainsBothOrKeepsTheLarger) {
    SphereBoundingVolume big({0, 0, 0}, 5), small({1, 0, 0}, 1);
    SphereBoundingVolume a = big;
    a.Merge(&small);
    EXPECT_EQ(a.GetRadius(), 5);
    SphereBoundingVolume b({1, 0, 0}, 1);
    b.Merge(&big);
    EXPECT_EQ(b.GetCenter(), (Vector3{0, 0, 0}));
    EXPECT_EQ(b.GetRadius(), 5);
    SphereBoundingVolume left({0, 0, 0}, 1), right({4, 0, 0}, 1);
    left.Merge(&right);
    EXPECT_EQ(left.GetCenter(), (Vector3{2, 0, 0}));
    EXPECT_FLOAT_EQ(left.GetRadius(), 3);
}

TEST(SphereBoundingVolume, TransformScalesByXOnly) {
    SphereBoundingVolume unit({1, 0, 0}, 1), target;
    Transform t = Transform::Make({2, 5, 5}, Quaternion::Identity(), {0, 1, 0});
    ASSERT_EQ(unit.TransformInto(&target, t), 0);
    EXPECT_FLOAT_EQ(target.GetRadius(), 2);
    EXPECT_EQ(target.GetCenter(), (Vector3{2, 1, 0}));
}

TEST(SphereBoundingVolume, PlaneSidesAndIntersections) {
    Plane plane{{0, 1, 0}, 0};
    EXPECT_EQ(SphereBoundingVolume({0, 2, 0}, 2).WhichSide(plane), 1);
    EXPECT_EQ(SphereBoundingVolume({0, 1.5f, 0}, 2).WhichSide(plane), 0);
    EXPECT_EQ(SphereBoundingVolume({0, -3, 0}, 2).WhichSide(plane), -1);

    SphereBoundingVolume a({0, 0, 0}, 1), touching({2, 0, 0}, 1), apart({2.5f, 0, 0}, 1);
    EXPECT_TRUE(a.Intersects(&touching));
    EXPECT_FALSE(a.Intersects(&apart));
    EXPECT_FALSE(a.Intersects(nullptr));

    float t1 = 0, t2 = 0;
    ASSERT_TRUE(a.IntersectRay({{0, 0, 0}, {1, 0, 0}}, t1, t2));
    EXPECT_FLOAT_EQ(t1, 1);
    EXPECT_FLOAT_EQ(t2, -1);
    EXPECT_FALSE(a.IntersectRay({{0, 5, 0}, {1, 0, 0}}, t1, t2));
}

TEST(SphereBoundingVolume, StreamsCentreAndRadiusAndIsCreatedForAnyCode) {
    SphereBoundingVolume sphere({1, 2, 3}, 4);
    Stream stream(0, 64);
    ASSERT_EQ(stream.WriteLink(&sphere), 0);
    stream.Rewind();
    Pointer<Object> loaded;
    ASSERT_EQ(stream.ReadLink(loaded), 0);
    auto* copy = CastTo<SphereBoundingVolume>(loaded);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetCenter(), (Vector3{1, 2, 3}));
    EXPECT_EQ(copy->GetRadius(), 4);

    Pointer<BoundingVolume> made = BoundingVolume::Create(7);
    EXPECT_EQ(made->GetType(), BoundingVolume::kSphere);
    EXPECT_EQ(BoundingVolume::Assign(*made, &sphere), 0);
    EXPECT_EQ(made->GetCenter(), (Vector3{1, 2, 3}));
    EXPECT_EQ(BoundingVolume::Assign(*made, nullptr), kInvalidArgument);
}

}  // namespace
}  // namespace zel
