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

// The view of a camera at `position` looking along `direction`, both
// mirrored in y = height, with the world up vector.
Matrix4 MirroredView(const Vector3& position, const Vector3& direction, float height);

// `projection` with its near plane on `worldPlane` (a, b, c, d: points with
// a x + b y + c z + d = 0), the plane taken to clip space through
// `viewProjection`. Unchanged when the plane's clip-space w is 0.
Matrix4 ObliqueProjection(const Matrix4& projection, const Matrix4& viewProjection, const Vector4& worldPlane);

}  // namespace zel
