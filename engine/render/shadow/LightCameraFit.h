// The light camera of a shadow map. Two fits: a perspective warp in the
// light's space fitted to the viewer's frustum (sharp shadows near the
// viewer), used while the light crosses the view direction; otherwise an
// orthographic camera fitted around the shadowed nodes' bounding sphere.
// Row vectors, as everywhere.
#pragma once

#include <cstdint>

#include "engine/math/Matrix4.h"
#include "engine/math/Vector3.h"

namespace zel {

struct LightCameraMatrices {
    Matrix4 view;
    Matrix4 projection;
};

// The viewer the camera fit works from.
struct ViewerFrustum {
    Matrix4 view;
    float fov = 0.7853982f;
    float nearPlane = 0.1f;
    float farPlane = 10000.0f;
    float aspect = 1.0f;  // viewport width ÷ height
};

// Distance of the warp origin behind the light-space box: (1 + √(2r)) ÷ sinγ.
float WarpDistance(float cosGamma, float radius);

// The viewer's view with the warp projection L · T · P · R · S.
// `lightDirection` is the world direction the light shines along.
LightCameraMatrices FitLightToViewer(const ViewerFrustum& viewer, const Vector3& lightDirection, float cosGamma,
                                     float radius);

// A camera on the sphere (centre, radius) looking along the light, with an
// off-centre orthographic projection over the sphere, near 0.1, far 2r.
LightCameraMatrices FitLightToSphere(const Vector3& lightDirection, const Vector3& center, float radius);

// World → shadow-map texture coordinates after view × projection: x and y
// to 0..1 (y down) with half a texel's offset.
Matrix4 ShadowBiasMatrix(int32_t mapWidth, int32_t mapHeight);

}  // namespace zel
