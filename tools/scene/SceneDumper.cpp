#include "tools/scene/SceneDumper.h"

#include <cstdarg>

#include "engine/core/Buffer.h"
#include "engine/core/Controller.h"
#include "engine/core/Log.h"
#include "engine/render/GeometryNodeEffect.h"
#include "engine/render/SceneNodeEffect.h"
#include "engine/render/texture/CubeTexture.h"
#include "engine/render/texture/Texture.h"
#include "engine/render/texture/VolumeTexture.h"
#include "engine/resources/Image.h"
#include "engine/scene/FPCamera.h"
#include "engine/scene/GeometryNode.h"
#include "engine/scene/Light.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/SphereBoundingVolume.h"
#include "tools/common/Cp1251Text.h"

namespace zel {

namespace {

std::string Format(const char* format, ...) ZEL_PRINTF_FORMAT(1, 2);

std::string Format(const char* format, ...) {
    char text[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

std::string Vector(const char* key, const Vector3& v) { return Format(" %s=(%g, %g, %g)", key, v.x, v.y, v.z); }

std::string Color(const char* key, const ColorRGBA& c) {
    return Format(" %s=(%g, %g, %g, %g)", key, c.r, c.g, c.b, c.a);
}

std::string NodeFields(const Node& node) {
    const Transform& local = node.GetLocal();
    const Quaternion& q = local.rotation;
    std::string text = Vector("translation", local.translation) +
                       Format(" rotation=(%g, %g, %g, %g)", q.x, q.y, q.z, q.w) + Vector("scale", local.scale);
    if (!node.GetUpdateWorldBound()) text += " fixedBound";
    return text;
}

const char* PrimitiveName(int32_t type) {
    static const char* const kNames[] = {"points", "lines", "strip", "triangles"};
    return type >= 0 && type < 4 ? kNames[type] : "unknown";
}

std::string GeometryFields(const GeometryNode& node) {
    const Buffer* vertices = node.GetVertices();
    return Format(" primitive=%s vertices=%d indices=%d", PrimitiveName(node.GetPrimitiveType()),
                  vertices != nullptr ? vertices->GetCount() : 0, node.GetIndexCount());
}

std::string CameraFields(const Camera& camera) {
    std::string text = Format(" fov=%g near=%g far=%g", camera.GetFov(), camera.GetNearPlane(), camera.GetFarPlane());
    if (const FPCamera* fp = CastTo<FPCamera>(const_cast<Camera*>(&camera)))
        text += Format(" values=(%g, %g) flag=%d", fp->GetValue1(), fp->GetValue2(), fp->GetFlag() ? 1 : 0);
    return text;
}

std::string LightFields(const Light& light) {
    const Vector3 a = light.GetEffectiveAttenuation();
    return Format(" type=%d", light.GetLightType()) + Color("ambient", light.GetAmbient()) +
           Color("diffuse", light.GetDiffuse()) + Color("specular", light.GetSpecular()) +
           Format(" attenuation=(%g, %g, %g) falloff=%g spotAngle=%g", a.x, a.y, a.z, light.GetFalloff(),
                  light.GetSpotAngle());
}

std::string EffectFields(Effect& effect) {
    std::string text = effect.IsEnabled() ? "" : " disabled";
    GeometryNodeEffect* material = CastTo<GeometryNodeEffect>(&effect);
    if (material == nullptr) return text;
    text += Color("diffuse", material->diffuse) + Color("ambient", material->ambient) +
            Format(" power=%g", material->power);
    if (material->blendEnable)
        text += Format(" blend=(%d, %d)", material->sourceFactor, material->destinationFactor);
    if (!material->cullEnable) text += " noCull";
    if (material->alphaTest) text += Format(" alphaTest=%d", material->alphaReference);
    if (material->GetFogEnable()) text += Format(" fog=(%g, %g)", material->fogDensity, material->fogExponent);
    if (material->GetWave()) text += Format(" wave=(%g, %g)", material->waveAmplitude, material->waveSpeed);
    return text;
}

std::string ImageFields(const Image& image) {
    std::string text = Format(" size=%dx%d format=%d", image.GetWidth(), image.GetHeight(), image.GetFormat());
    if (!image.GetFileName().IsEmpty()) text += Format(" file=\"%s\"", image.GetFileName().CStr());
    return text;
}

}  // namespace

std::string SceneDumper::Fields(Object* object) {
    if (Camera* camera = CastTo<Camera>(object)) return NodeFields(*camera) + CameraFields(*camera);
    if (Light* light = CastTo<Light>(object)) return NodeFields(*light) + LightFields(*light);
    if (GeometryNode* geometry = CastTo<GeometryNode>(object)) return NodeFields(*geometry) + GeometryFields(*geometry);
    if (SceneNode* group = CastTo<SceneNode>(object))
        return NodeFields(*group) + Format(" children=%d growBy=%d", group->GetChildCount(), group->GetGrowBy());
    if (Node* node = CastTo<Node>(object)) return NodeFields(*node);
    if (Effect* effect = CastTo<Effect>(object)) return EffectFields(*effect);
    if (Buffer* buffer = CastTo<Buffer>(object)) return Format(" count=%d", buffer->GetCount());
    if (BaseTexture* texture = CastTo<BaseTexture>(object)) return Format(" mipLevels=%d", texture->GetMipLevels());
    if (Image* image = CastTo<Image>(object)) return ImageFields(*image);
    if (SphereBoundingVolume* sphere = CastTo<SphereBoundingVolume>(object))
        return Vector("center", sphere->GetCenter()) + Format(" radius=%g", sphere->GetRadius());
    if (Controller* controller = CastTo<Controller>(object)) return controller->IsActive() ? "" : " inactive";
    return "";
}

void SceneDumper::Dump(Object* root) {
    seen_.clear();
    if (root == nullptr) {
        std::fprintf(out_, "null\n");
        return;
    }
    DumpObject(root, 0);
}

void SceneDumper::DumpObject(Object* object, int depth) {
    const char* type = object->GetRtti()->GetName().CStr();
    // Names are Windows-1251, as the file holds them.
    const std::string utf8 = Cp1251ToUtf8(object->GetName().CStr());
    const char* name = utf8.c_str();
    if (!seen_.insert(object).second) {
        std::fprintf(out_, "%*s= %s \"%s\"\n", depth * 2, "", type, name);
        return;
    }
    std::fprintf(out_, "%*s%s \"%s\"%s\n", depth * 2, "", type, name, Fields(object).c_str());
    DumpLinks(object, depth + 1);
}

// The linked objects in stream order; a node's parent link is left out
// (its parent is the line above).
void SceneDumper::DumpLinks(Object* object, int depth) {
    for (int32_t i = object->GetControllerCount() - 1; i >= 0; --i) DumpLink(object->GetController(i), depth);
    if (SceneNode* group = CastTo<SceneNode>(object)) {
        for (int32_t i = 0; i < group->GetEffectCount(); ++i) DumpLink(group->GetEffect(i), depth);
        for (int32_t i = 0; i < group->GetChildCount(); ++i) DumpLink(group->GetChild(i), depth);
    } else if (GeometryNode* geometry = CastTo<GeometryNode>(object)) {
        DumpLink(geometry->GetEffect(), depth);
        Object* const buffers[] = {geometry->GetVertices(), geometry->GetPointSizes(), geometry->GetColors(),
                                   geometry->GetNormals(), geometry->GetTangents()};
        for (Object* buffer : buffers) DumpLink(buffer, depth);
        for (int32_t unit = 0; unit < GeometryNode::kTexCoordUnits; ++unit)
            DumpLink(geometry->GetTexCoords(unit), depth);
        DumpLink(geometry->GetIndices(), depth);
    } else if (GeometryNodeEffect* material = CastTo<GeometryNodeEffect>(object)) {
        DumpLink(material->GetSkinController(), depth);
    } else if (Texture* texture = CastTo<Texture>(object)) {
        DumpLink(texture->GetImage(), depth);
    } else if (CubeTexture* cube = CastTo<CubeTexture>(object)) {
        DumpLink(cube->GetImage(), depth);
    } else if (VolumeTexture* volume = CastTo<VolumeTexture>(object)) {
        DumpLink(volume->GetImage(false), depth);
    }
}

}  // namespace zel
