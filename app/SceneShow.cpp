#include "app/SceneShow.h"

#include <cstring>
#include <chrono>
#include <new>
#include <thread>

#include "app/CarSound.h"
#include "app/Fade.h"
#include "app/Overlay.h"
#include "app/Settings.h"
#include "engine/animation/ScreensaverController.h"
#include "engine/core/Log.h"
#include "engine/core/ObjectGraph.h"
#include "engine/render/Renderer.h"
#include "engine/render/SceneNodeEffect.h"
#include "engine/render/material/ColorEffect.h"
#include "engine/render/texture/Texture.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/FileManager.h"
#include "engine/resources/Image.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneNode.h"
#include "engine/sound/SoundLibrary.h"
#include "engine/sound/SoundNode.h"
#include "engine/sound/SoundNode2.h"

namespace zel {

namespace {

bool IsOfClass(const Object* object, const char* className) {
    for (const Rtti* type = object->GetRtti(); type != nullptr; type = type->GetParent())
        if (std::strcmp(type->GetClassName(), className) == 0) return true;
    return false;
}

bool IsMusic(const Object* object) { return std::strcmp(object->GetName().CStr(), "Music") == 0; }

// Stops a playing SoundNode's channel for good.
void SilenceSoundNode(SoundNode* sound) {
    sound->SetVolume(0);
    if (!sound->IsPlaying() || sound->GetStream() == 0) return;
    sound->SetPlaying(false);
    GetSoundLibrary().ChannelStop(sound->GetStream());
}

void Collect(Object* root, const Rtti& type, ObjectArray& objects) {
    if (root != nullptr) root->CollectByType(type, objects);
}

}  // namespace

int32_t DetachEffectsOfClass(Object* root, const char* className) {
    int32_t detached = 0;
    ObjectArray effects(16, 16);
    Collect(root, SceneNodeEffect::TYPE, effects);
    for (int32_t i = 0; i < effects.Count(); ++i) {
        SceneNodeEffect* effect = static_cast<SceneNodeEffect*>(effects[i]);
        SceneNode* owner = effect->GetOwnerNode();
        if (owner == nullptr || !IsOfClass(effect, className)) continue;
        owner->RemoveEffect(effect);
        ++detached;
    }
    return detached;
}

void SetSoundVolume(Object* sound, int32_t volume) {
    if (SoundNode* node = CastTo<SoundNode>(sound)) node->SetVolume(volume);
    if (SoundNode2* node = CastTo<SoundNode2>(sound)) node->SetVolume(volume);
}

void ApplySoundSettings(Object* root, bool music, bool sfx) {
    if (!sfx) {
        ObjectArray sounds(16, 16);
        Collect(root, SoundNode::TYPE, sounds);
        for (int32_t i = 0; i < sounds.Count(); ++i)
            if (!IsMusic(sounds[i])) SilenceSoundNode(static_cast<SoundNode*>(sounds[i]));
        ObjectArray pairs(16, 16);
        Collect(root, SoundNode2::TYPE, pairs);
        for (int32_t i = 0; i < pairs.Count(); ++i)
            if (!IsMusic(pairs[i])) static_cast<SoundNode2*>(pairs[i])->SetVolume(0);
    }
    Object* musicObject = root != nullptr ? root->FindByName(String("Music")) : nullptr;
    if (musicObject != nullptr && !music) SetSoundVolume(musicObject, 0);
}

SceneShow::SceneShow() = default;

SceneShow::~SceneShow() { DeleteData(); }

int32_t SceneShow::CreateRenderData() {
    fade_ = new (std::nothrow) ColorEffect();
    if (fade_ == nullptr) return kOutOfMemory;
    fade_->blendEnable = true;
    return kOk;
}

void SceneShow::DeleteRenderData() { fade_ = nullptr; }

int32_t SceneShow::CreateData(const Settings& settings, Renderer& renderer) {
    File* file = FindMountedFile(String("Main.STR"));
    if (file == nullptr) {
        LogError("Невозможно найти файл данных скринсейвера.");
        return kFailed;
    }
    if (LoadScene(file, &root_) != kOk || root_ == nullptr) {
        root_ = nullptr;
        LogError("Невозможно загрузить данные скринсейвера из файла.");
        return kFailed;
    }
    if (!renderer.GetCapabilities().hardwareShadowMaps) DetachEffectsOfClass(root_, "ShadowmapEffect");
    ApplySoundSettings(root_, settings.music, settings.sfx);
    ObjectArray controllers(4, 4);
    Collect(root_, ScreensaverController::TYPE, controllers);
    controller_ = controllers.Count() > 0 ? static_cast<ScreensaverController*>(controllers[0]) : nullptr;
    car_ = root_->FindByName(String("Car"));
    return kOk;
}

void SceneShow::DeleteData() {
    controller_ = nullptr;
    car_ = nullptr;
    if (root_ != nullptr) BreakObjectLinks(root_);
    root_ = nullptr;
}

int32_t SceneShow::Cache(Renderer& renderer, bool pause) {
    LogInfo("Кеширование...");
    ObjectArray found(64, 64);
    Collect(root_, Texture::TYPE, found);
    ObjectArray textures(found.Count() > 0 ? found.Count() : 1, 16);
    for (int32_t i = 0; i < found.Count(); ++i) {
        bool seen = false;
        for (int32_t j = 0; j < textures.Count() && !seen; ++j) seen = textures[j] == found[i];
        if (!seen) textures.Append(found[i]);
    }
    // Render targets (images without pixels) first, then the rest.
    for (int pass = 0; pass < 2; ++pass) {
        for (int32_t i = 0; i < textures.Count(); ++i) {
            Texture* texture = static_cast<Texture*>(textures[i]);
            const bool target = texture->GetImage() != nullptr && texture->GetImage()->GetFormat() == Image::kFormatNone;
            if (target != (pass == 0)) continue;
            renderer.SetTexture(texture, 0);
            LogInfo("%s", texture->GetName().CStr());
        }
    }
    renderer.SetTexture(nullptr, 0);
    LogInfo("Кеширование закончено.");
    if (pause) std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    return kOk;
}

void SceneShow::Update(double seconds, Renderer& renderer) {
    if (Node* root = CastTo<Node>(root_)) root->Update(seconds, true);
    if (car_ == nullptr) return;
    Camera* camera = renderer.GetCamera();
    const bool silent = camera != nullptr && IsCarSilentUnder(camera->GetName());
    SetSoundVolume(car_, silent ? 0 : 100);
}

void SceneShow::Render(Renderer& renderer, Overlay& overlay) {
    if (Node* root = CastTo<Node>(root_)) root->DrawVisible(renderer);
    renderer.FlushDeferred();
    overlay.Begin(renderer);
    if (fade_ != nullptr) {
        const ColorRGBA black{0.0f, 0.0f, 0.0f, FadeOpacity(controller_)};
        if (!(fade_->GetColor() == black)) {
            fade_->SetColor(black);
            fade_->RefreshPasses();
        }
        overlay.DrawQuad(renderer, fade_, 0.0f, 0.0f, 1.0f, 1.0f);
    }
    overlay.End(renderer);
}

}  // namespace zel
