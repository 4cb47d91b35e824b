// Where things are in the harbour: the ground's height, the shore, the
// road and the places of the landmarks, shared by every part of the show.
// Metres; x east, y up, z north. The sea lies south, the sun sets over it.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/math/Vector3.h"

namespace zel {

namespace harbour {

// The ground covers [kGroundMin, kGroundMax] in x and z.
constexpr float kGroundMin = -256.0f;
constexpr float kGroundMax = 256.0f;
constexpr int32_t kGroundCells = 64;

// Towards the sun: low in the south-west, above the sea.
Vector3 SunDirection();

// The shore line's z at x; land lies north of it.
float ShoreZ(float x);
// The ground's height at (x, z); negative under the sea.
float GroundHeight(float x, float z);
Vector3 GroundNormal(float x, float z);
// The x (or z) of the ground grid's line i, 0 ≤ i ≤ kGroundCells.
float GroundGridLine(int32_t i);
// The height of the drawn ground at (x, z): the grid's triangles between
// the height field's values at their corners. What stands on the ground is
// placed on this surface, so the grid's coarseness never leaves it
// floating or buried.
float GroundSurface(float x, float z);

// The harbour basin's flat quay level and extent.
constexpr float kQuayLevel = 2.0f;
constexpr float kQuayWest = -30.0f;
constexpr float kQuayEast = 70.0f;

// The breakwater: kBreakwaterBlocks rough blocks running out to sea from
// the quay's east end. Block i stands kBreakwaterStart + i * kBreakwaterStepX
// east of the quay's end and kBreakwaterStart + i * kBreakwaterStepZ south of
// the shore line there (before each block's own jitter).
constexpr int32_t kBreakwaterBlocks = 26;
constexpr float kBreakwaterStart = 4.0f;
constexpr float kBreakwaterStepX = 2.6f;
constexpr float kBreakwaterStepZ = 1.4f;
// The last block's place at sea level, where the swell throws up spray.
Vector3 BreakwaterEnd();

// The row of houses behind the quay, west to east: each one's walls span
// [low, high], its gable roof rises `roof` above the walls, and its chimney
// (a 1 m square stack) stands on the roof at `chimney`, its foot.
struct House {
    Vector3 low;
    Vector3 high;
    float roof;
    Vector3 chimney;
};
std::vector<House> Houses();
// The top of the chimney the smoke rises from (the third house's), where
// the smoke shot looks.
Vector3 SmokingChimney();

// The sea: a level plane at y = 0 reaching kSeaReach metres from the
// origin along x and z (under the land too, which hides it), so that from
// every camera its edge lies in full haze.
constexpr float kSeaReach = 12000.0f;
// The lines of the sea's grid, the same along x and z, ascending: 16 m
// apart over the harbour, further apart with distance, out to ±kSeaReach.
// The haze is worked out at each vertex, so cells stay small where it
// changes quickly.
std::vector<float> SeaGridLines();

// The pond inland and its water level.
Vector3 PondCenter();
constexpr float kPondRadius = 18.0f;
float PondLevel();

// The lighthouse on the western headland, and the windmill on the hill.
Vector3 LighthouseBase();
constexpr float kLighthouseHeight = 24.0f;
Vector3 WindmillBase();

// The coast road's middle at x.
float RoadZ(float x);
// The coast road: points along it, west to east, on the ground.
std::vector<Vector3> RoadPoints();
constexpr float kRoadWidth = 6.0f;

// Whether (x, z) is kept free of trees and grass (road, quay, houses,
// pond, landmarks).
bool IsBuiltUp(float x, float z);

}  // namespace harbour

}  // namespace zel
