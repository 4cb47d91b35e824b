// Camera matrices for looking at the scene through a horizontal water plane
// y = height: the reflection about the plane, and a projection whose near
// plane is moved onto a given world plane so that nothing on the wrong
// side of the water is drawn.
#pragma once

#include "engine/math/Matrix4.h"
#include "engine/math/Vector3.h"
#include "engine/math/Vector4.h"

namespace zel {

// Reflection about y = height.
Matrix4 MirrorAboutHeight(float height);

// `projection` with its near plane on `worldPlane` (a, b, c, d: points with
// a x + b y + c z + d = 0) for the view of `viewProjection`: the side of the
// plane away from the camera is kept, the far plane is tilted only as far as
// keeps the whole view frustum on that side. Unchanged when the camera lies
// on the plane.
Matrix4 ObliqueProjection(const Matrix4& projection, const Matrix4& viewProjection, const Vector4& worldPlane);

}  // namespace zel
