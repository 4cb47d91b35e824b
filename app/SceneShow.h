// The show itself: the scene loaded from "Main.STR", played by its own
// ScreensaverController, adjusted to the user's settings (sound, shadow
// maps), warmed up before the first frame and faded to black around every
// camera change.
#pragma once

#include <cstdint>

#include "engine/core/Pointer.h"

namespace zel {

class ColorEffect;
class Object;
class Overlay;
class Renderer;
class ScreensaverController;
class SoundNode;
struct Settings;

class SceneShow {
public:
    SceneShow();
    ~SceneShow();
    SceneShow(const SceneShow&) = delete;
    SceneShow& operator=(const SceneShow&) = delete;

    // The fade effect. kOk or kOutOfMemory.
    [[nodiscard]] int32_t CreateRenderData();
    void DeleteRenderData();

    // Loads the scene and adjusts it. kFailed (logged) when "Main.STR" is
    // missing or cannot be loaded.
    [[nodiscard]] int32_t CreateData(const Settings& settings, Renderer& renderer);
    // Drops the scene, breaking the links between its objects first so
    // that objects linking each other are freed too.
    void DeleteData();

    // Creates the device copy of every texture of the scene (render
    // targets first), then holds the loading screen for a second.
    int32_t Cache(Renderer& renderer, bool pause);

    void Update(double seconds, Renderer& renderer);
    // The scene, then the fade over it.
    void Render(Renderer& renderer, Overlay& overlay);

    Object* GetRoot() const { return root_; }
    ScreensaverController* GetController() const { return controller_; }

private:
    Pointer<Object> root_;
    ScreensaverController* controller_ = nullptr;  // inside the scene
    Pointer<ColorEffect> fade_;
    Pointer<Object> car_;
};

// Detaches every effect of class `className` (or derived from it) from the
// scene node that holds it; the number detached.
int32_t DetachEffectsOfClass(Object* root, const char* className);

// Silences the sound objects of the scene as the settings ask: without SFX
// every sound but "Music", without Music the "Music" object.
void ApplySoundSettings(Object* root, bool music, bool sfx);

// Volume of a sound object (SoundNode or SoundNode2) and of its channels.
void SetSoundVolume(Object* sound, int32_t volume);

}  // namespace zel
