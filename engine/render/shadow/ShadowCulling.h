// Which listed nodes a shadow map's passes can see. A caster is drawn into
// the map only when its bounding sphere reaches the light camera's clip
// volume and its shadow can fall inside the viewer's view volume extended
// towards the light; a receiver is drawn only inside the viewer's view.
// Every test is conservative: a node is left out only when no pixel of the
// pass could come from it.
#pragma once

#include "engine/math/Matrix4.h"
#include "engine/math/Plane.h"
#include "engine/scene/BoundingVolume.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Light.h"

namespace zel {

// The six half-spaces the device clips to (−w ≤ x ≤ w, −w ≤ y ≤ w,
// 0 ≤ z ≤ w) in the space the row-vector matrix maps from, normals inward.
// Exact for any projective matrix, warped light projections included.
struct ClipVolume {
    Plane planes[6];

    static ClipVolume FromMatrix(const Matrix4& viewProjection);
    // False when the bound lies wholly outside one half-space.
    bool Reaches(const BoundingVolume& bound) const;
};

// False when the caster's shadow, the bound swept away from the light,
// cannot enter the viewer's frustum: the bound lies wholly outside a
// frustum plane that the sweep only moves it further from. A directional
// light sweeps along its direction; a point or spot light along the rays
// from its position.
bool ShadowReachesView(const BoundingVolume& bound, const Camera& viewer, const Light& light);

// True when the bound is not culled by the camera's frustum; the camera's
// plane mask is left as it was.
bool InsideView(Camera& camera, const BoundingVolume& bound);

}  // namespace zel
