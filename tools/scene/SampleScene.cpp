#include "tools/scene/SampleScene.h"

#include <new>

#include "engine/core/Buffer.h"
#include "engine/render/GeometryNodeEffect.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Light.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/Triangles.h"

namespace zel {

namespace {

template <class T>
T* WithName(T* object, const char* name) {
    if (object != nullptr) object->SetName(String(name));
    return object;
}

Pointer<Triangles> MakeTriangle(const char* name, Vector3Buffer* positions, IntBuffer* indices,
                                GeometryNodeEffect* effect, const Vector3& at) {
    Pointer<Triangles> node = WithName(new (std::nothrow) Triangles(), name);
    if (node == nullptr) return node;
    node->SetVertices(positions);
    node->SetIndices(indices);
    node->SetEffect(effect);
    node->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), at));
    node->UpdateModel(true, false);
    return node;
}

}  // namespace

Pointer<SceneNode> BuildSampleScene() {
    Pointer<SceneNode> root = WithName(new (std::nothrow) SceneNode(String(), 0, 4), "Root");
    Pointer<SceneNode> group = WithName(new (std::nothrow) SceneNode(String(), 0, 2), "Group");
    Pointer<Camera> camera = WithName(new (std::nothrow) Camera(), "Camera");
    Pointer<Light> light = WithName(new (std::nothrow) Light(Light::kDirectional), "Sun");
    Pointer<Vector3Buffer> positions = WithName(new (std::nothrow) Vector3Buffer(3, nullptr), "Positions");
    Pointer<IntBuffer> indices = WithName(new (std::nothrow) IntBuffer(3, nullptr), "Indices");
    Pointer<GeometryNodeEffect> material = WithName(new (std::nothrow) GeometryNodeEffect(), "Material");
    if (root == nullptr || group == nullptr || camera == nullptr || light == nullptr || positions == nullptr ||
        indices == nullptr || material == nullptr || positions->GetData() == nullptr || indices->GetData() == nullptr)
        return nullptr;
    (*positions)[1] = {1, 0, 0};
    (*positions)[2] = {0, 1, 0};
    for (int32_t i = 0; i < 3; ++i) (*indices)[i] = i;
    material->diffuse = {0.9f, 0.6f, 0.2f, 1.0f};
    camera->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), {0, 1, -5}));
    light->SetDiffuse({1, 1, 1, 1});
    light->SetLocal(Transform::Make({1, 1, 1}, Quaternion::FromAxisAngle({1, 0, 0}, 0.7853982f), {}));
    Pointer<Triangles> first = MakeTriangle("TriangleA", positions, indices, material, {-1, 0, 0});
    Pointer<Triangles> second = MakeTriangle("TriangleB", positions, indices, material, {1, 0, 0});
    if (first == nullptr || second == nullptr) return nullptr;
    if (root->AppendChild(camera) != 0 || root->AppendChild(light) != 0 || root->AppendChild(group) != 0 ||
        group->AppendChild(first) != 0 || group->AppendChild(second) != 0)
        return nullptr;
    root->Update(0, true);
    return root;
}

}  // namespace zel
