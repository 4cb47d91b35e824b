#include "tools/content/show/HarbourLayout.h"

#include <algorithm>
#include <cmath>

#include "tools/content/show/ShowRandom.h"

namespace zel {

namespace harbour {

namespace {

float Smoothstep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// Rolling hills: a few fixed sine waves, so the ground is the same on every
// build and smooth enough for the ground grid's 8 m cells.
float Hills(float x, float z) {
    return 3.0f * std::sin(x * 0.031f + 1.3f) * std::sin(z * 0.027f + 0.4f) +
           1.6f * std::sin(x * 0.067f - z * 0.043f + 2.1f) + 0.7f * std::sin(x * 0.13f + z * 0.11f);
}

// How far inland (x, z) lies from the shore.
float Inland(float x, float z) { return z - ShoreZ(x); }

}  // namespace

// Following the shore 46 m inland, straighter than it.
float RoadZ(float x) { return ShoreZ(x) * 0.35f + 46.0f; }

Vector3 SunDirection() { return Normalize(Vector3{-0.45f, 0.08f, -0.87f}); }

float ShoreZ(float x) {
    // A gentle curve, straightened along the quay, and the headland.
    const float quay = Smoothstep(kQuayWest - 30.0f, kQuayWest, x) * (1.0f - Smoothstep(kQuayEast, kQuayEast + 30.0f, x));
    const float curve = 7.0f * std::sin(x * 0.021f) * (1.0f - quay);
    const float headland = -75.0f * std::exp(-((x + 150.0f) / 32.0f) * ((x + 150.0f) / 32.0f));
    return curve + headland;
}

float GroundHeight(float x, float z) {
    const float d = Inland(x, z);
    if (d < 0.0f) return std::max(d * 0.22f, -14.0f) - 0.3f;
    float h = std::min(d * 0.12f, 2.4f) + 34.0f * Smoothstep(70.0f, 260.0f, d) +
              Hills(x, z) * Smoothstep(15.0f, 90.0f, d);
    // The harbour's flat: quay level behind the quay, easing into the slope.
    const float along = Smoothstep(kQuayWest - 12.0f, kQuayWest, x) * (1.0f - Smoothstep(kQuayEast, kQuayEast + 12.0f, x));
    const float flat = along * (1.0f - Smoothstep(40.0f, 60.0f, d));
    h = h + (kQuayLevel - h) * flat;
    // The road is cut level across the slope.
    const float road = 1.0f - Smoothstep(kRoadWidth * 0.5f, kRoadWidth * 1.6f, std::fabs(z - RoadZ(x)));
    const float roadLevel = std::min((RoadZ(x) - ShoreZ(x)) * 0.12f, 2.4f) + 34.0f * Smoothstep(70.0f, 260.0f, RoadZ(x) - ShoreZ(x)) +
                            Hills(x, RoadZ(x)) * Smoothstep(15.0f, 90.0f, RoadZ(x) - ShoreZ(x));
    const float roadFlat = along * (1.0f - Smoothstep(40.0f, 60.0f, RoadZ(x) - ShoreZ(x)));
    h = h + ((roadLevel + (kQuayLevel - roadLevel) * roadFlat) - h) * road;
    // Dips in the hills never reach the sea's level: the sea plane reaches
    // under the land and would show through.
    h = std::max(h, std::min(d * 0.12f, 1.2f));
    // The pond's bowl, its floor above the sea's level too.
    const Vector3 pond = PondCenter();
    const float r = std::sqrt((x - pond.x) * (x - pond.x) + (z - pond.z) * (z - pond.z));
    h -= 3.5f * Smoothstep(kPondRadius + 6.0f, kPondRadius - 6.0f, r);
    return d > 10.0f ? std::max(h, 0.3f) : h;
}

float GroundGridLine(int32_t i) { return kGroundMin + (kGroundMax - kGroundMin) * i / kGroundCells; }

float GroundSurface(float x, float z) {
    const float cell = (kGroundMax - kGroundMin) / kGroundCells;
    const int32_t i = std::clamp(static_cast<int32_t>(std::floor((x - kGroundMin) / cell)), 0, kGroundCells - 1);
    const int32_t j = std::clamp(static_cast<int32_t>(std::floor((z - kGroundMin) / cell)), 0, kGroundCells - 1);
    const float x0 = GroundGridLine(i), x1 = GroundGridLine(i + 1), z0 = GroundGridLine(j), z1 = GroundGridLine(j + 1);
    const float u = std::clamp((x - x0) / cell, 0.0f, 1.0f), v = std::clamp((z - z0) / cell, 0.0f, 1.0f);
    const float h00 = GroundHeight(x0, z0), h11 = GroundHeight(x1, z1);
    // Each cell is cut along its diagonal from (x0, z0) to (x1, z1).
    if (u >= v) {
        const float h10 = GroundHeight(x1, z0);
        return h00 + u * (h10 - h00) + v * (h11 - h10);
    }
    const float h01 = GroundHeight(x0, z1);
    return h00 + v * (h01 - h00) + u * (h11 - h01);
}

Vector3 GroundNormal(float x, float z) {
    const float e = 1.0f;
    const float dx = GroundHeight(x + e, z) - GroundHeight(x - e, z);
    const float dz = GroundHeight(x, z + e) - GroundHeight(x, z - e);
    return Normalize(Vector3{-dx, 2.0f * e, -dz});
}

Vector3 BreakwaterEnd() {
    const int32_t last = kBreakwaterBlocks - 1;
    const float x = kQuayEast + kBreakwaterStart + last * kBreakwaterStepX;
    return {x, 0.0f, ShoreZ(x) - kBreakwaterStart - last * kBreakwaterStepZ};
}

std::vector<House> Houses() {
    std::vector<House> houses;
    ShowRandom random(9);
    const float zFront = ShoreZ(0.0f) + 16.0f;
    float x = kQuayWest + 6.0f;
    for (int i = 0; i < 7 && x < kQuayEast - 8.0f; ++i) {
        House house;
        const float width = random.Range(7.0f, 10.0f), depth = random.Range(7.0f, 9.0f);
        const float height = random.Range(5.5f, 8.5f);
        const float z = zFront + random.Range(0.0f, 3.0f);
        house.low = {x, kQuayLevel - 0.5f, z};
        house.high = {x + width, kQuayLevel + height, z + depth};
        house.roof = random.Range(2.5f, 3.5f);
        house.chimney = {house.high.x - 1.8f, house.high.y + 0.8f, 0.5f * (house.low.z + house.high.z) + 1.2f};
        houses.push_back(house);
        x += width + random.Range(1.5f, 4.0f);
    }
    return houses;
}

Vector3 SmokingChimney() { return Houses()[2].chimney + Vector3{0.0f, 3.3f, 0.0f}; }

std::vector<float> SeaGridLines() {
    constexpr float kInner = 320.0f, kCell = 16.0f, kGrowth = 1.25f;
    std::vector<float> outward;
    for (float at = 0.0f; at < kInner; at += kCell) outward.push_back(at);
    for (float cell = kCell, at = kInner; at < kSeaReach; cell *= kGrowth, at += cell) outward.push_back(at);
    outward.push_back(kSeaReach);
    std::vector<float> lines;
    for (size_t i = outward.size(); i-- > 1;) lines.push_back(-outward[i]);
    lines.insert(lines.end(), outward.begin(), outward.end());
    return lines;
}

Vector3 PondCenter() { return {-70.0f, 0.0f, 115.0f}; }

float PondLevel() {
    // Below the bowl's rim, above its floor.
    const Vector3 c = PondCenter();
    return GroundHeight(c.x, c.z) + 2.2f;
}

Vector3 LighthouseBase() {
    const float x = -150.0f, z = ShoreZ(x) + 16.0f;
    return {x, GroundHeight(x, z), z};
}

Vector3 WindmillBase() {
    const float x = 70.0f, z = 150.0f;
    return {x, GroundHeight(x, z), z};
}

std::vector<Vector3> RoadPoints() {
    std::vector<Vector3> points;
    for (float x = -230.0f; x <= 230.0f; x += 5.0f) {
        const float z = RoadZ(x);
        points.push_back({x, GroundSurface(x, z), z});
    }
    return points;
}

bool IsBuiltUp(float x, float z) {
    const Vector3 pond = PondCenter(), light = LighthouseBase(), mill = WindmillBase();
    auto near = [&](const Vector3& p, float r) { return (x - p.x) * (x - p.x) + (z - p.z) * (z - p.z) < r * r; };
    const bool harbour = x > kQuayWest - 15.0f && x < kQuayEast + 15.0f && Inland(x, z) < 60.0f;
    return std::fabs(z - RoadZ(x)) < kRoadWidth * 1.5f || harbour || near(pond, kPondRadius + 5.0f) ||
           near(light, 14.0f) || near(mill, 10.0f) || Inland(x, z) < 8.0f;
}

}  // namespace harbour

}  // namespace zel
