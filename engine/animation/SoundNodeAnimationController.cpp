#include "engine/animation/SoundNodeAnimationController.h"

#include "engine/animation/BoolKeyframe.h"
#include "engine/sound/SoundLibrary.h"
#include "engine/sound/SoundNode.h"

namespace zel {

ZEL_DEFINE_RTTI(SoundNodeAnimationController, AnimationController)

void SoundNodeAnimationController::Update(double dt) {
    AnimationController::Update(dt);
    if (!IsActive()) return;
    SoundNode* node = CastTo<SoundNode>(GetOwner());
    if (node == nullptr) return;

    bool play = true;
    for (int32_t i = 0; i < GetStageCount(); ++i)
        if (const BoolKeyframe* key = BoolKeyframe::CurrentKey(GetStage(i))) play = key->value;

    const SoundLibrary& library = GetSoundLibrary();
    const uint32_t channel = node->GetStream();
    if (!play) {
        if (channel != 0 && library.ChannelIsPlaying(channel)) library.ChannelStop(channel);
        node->SetPlaying(false);
        if (channel != 0) library.ChannelStop(channel);
        return;
    }
    if (channel != 0 && !library.ChannelIsPlaying(channel)) library.ChannelPlay(channel, true);
    node->SetPlaying(true);
    if (channel != 0) library.ChannelPlay(channel, false);
}

}  // namespace zel
