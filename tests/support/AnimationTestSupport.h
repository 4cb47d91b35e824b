// Builders and helpers shared by the animation tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "engine/animation/AnimationController.h"
#include "engine/animation/BoolAnimation.h"
#include "engine/animation/NodeAnimation.h"
#include "engine/core/Pointer.h"
#include "engine/core/Stream.h"
#include "support/StreamRoundTrip.h"

namespace zel::test {

struct TranslationKey {
    double time;
    Vector3 translation;
};

inline Pointer<NodeAnimation> MakeTranslationAnimation(const char* name, std::initializer_list<TranslationKey> keys) {
    Pointer<NodeAnimation> animation = new NodeAnimation();
    animation->SetName(String(name));
    for (const TranslationKey& k : keys) {
        NodeKeyframe* key = new NodeKeyframe();
        key->time = k.time;
        key->translation = k.translation;
        EXPECT_EQ(animation->AddKey(key), kOk);
    }
    return animation;
}

struct RotationKey {
    double time;
    Quaternion rotation;
};

inline Pointer<NodeAnimation> MakeRotationAnimation(const char* name, std::initializer_list<RotationKey> keys) {
    Pointer<NodeAnimation> animation = new NodeAnimation();
    animation->SetName(String(name));
    for (const RotationKey& k : keys) {
        NodeKeyframe* key = new NodeKeyframe();
        key->time = k.time;
        key->rotation = k.rotation;
        EXPECT_EQ(animation->AddKey(key), kOk);
    }
    return animation;
}

struct OnOffKey {
    double time;
    bool value;
};

template <class T = BoolAnimation>
Pointer<T> MakeBoolAnimation(const char* name, std::initializer_list<OnOffKey> keys) {
    Pointer<T> animation = new T();
    animation->SetName(String(name));
    for (const OnOffKey& k : keys) {
        BoolKeyframe* key = new BoolKeyframe();
        key->time = k.time;
        key->value = k.value;
        EXPECT_EQ(animation->AddKey(key), kOk);
    }
    return animation;
}

inline AnimationFrame MakeFrame(Animation* animation, double start, double end,
                                int32_t mode = AnimationFrame::kModeLoop, double speed = 1.0, double offset = 0.0) {
    AnimationFrame frame;
    frame.animation = animation;
    frame.start = start;
    frame.end = end;
    frame.mode = mode;
    frame.speed = speed;
    frame.offset = offset;
    return frame;
}

// The stage's local time recovered from its key pair: the key's time plus
// the fraction of the span to the next key (unwrapped, so the end of the
// last span reads as 1 + the first key's time).
inline double StageTime(const BlendStage& stage) {
    const double keyTime = stage.animation->GetKey(stage.key)->time;
    double span = stage.animation->GetKey(stage.nextKey)->time - keyTime;
    if (span < 0) span += 1.0;
    return keyTime + stage.fraction * span;
}


// Saves the object as a link and tries every shorter prefix, each in a
// stream of exactly that size: each must fail to load, and none may crash.
inline void ExpectEveryTruncationFails(Object* object) {
    Stream full(0, 256);
    ASSERT_EQ(full.WriteLink(object), 0);
    const int32_t length = full.GetPosition();
    for (int32_t cut = 0; cut < length; ++cut) {
        Stream truncated(cut, 1);
        truncated.Write(full.GetBuffer(), cut);
        truncated.Rewind();
        Pointer<Object> read;
        EXPECT_NE(truncated.ReadLink(read), 0) << "prefix of " << cut << " bytes";
    }
}

}  // namespace zel::test
