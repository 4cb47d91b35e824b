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
constexpr int32_t kGroundCells = 128;

// Towards the sun: low in the south-west, above the sea.
Vector3 SunDirection();

// The shore line's z at x; land lies north of it.
float ShoreZ(float x);
// The ground's height at (x, z); negative under the sea.
float GroundHeight(float x, float z);
Vector3 GroundNormal(float x, float z);

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

// Where the smoke shot looks: above the roofs behind the quay.
Vector3 SmokeShotTarget();

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
