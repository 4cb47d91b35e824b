// Keys, animations and the blend stage's key search: the binary search and
// its wrap from the last key to the first, key order, streaming of every key
// kind, and bad streams.
#include <gtest/gtest.h>

#include <cmath>

#include "support/AnimationTestSupport.h"
#include "engine/animation/BlendStage.h"
#include "engine/animation/BoolAnimation.h"
#include "engine/animation/NodeAnimation.h"
#include "engine/animation/SoundNodeAnimation.h"
#include "engine/core/ClassFactory.h"
#include "engine/core/Log.h"
#include "engine/core/Stream.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::LogCapture;
using test::MakeTranslationAnimation;

Pointer<NodeAnimation> KeysAt(std::initializer_list<double> times) {
    Pointer<NodeAnimation> animation = new NodeAnimation();
    for (double time : times) {
        NodeKeyframe* key = new NodeKeyframe();
        key->time = time;
        EXPECT_EQ(animation->AddKey(key), kOk);
    }
    return animation;
}

// --- Key search

TEST(BlendStage, FindsTheKeyPairAndFractionOnTheCyclicKeyList) {
    struct Case {
        std::initializer_list<double> keys;
        double t;
        int32_t key;
        int32_t nextKey;
        double fraction;
    };
    const Case cases[] = {
        {{0.0, 0.5, 0.75}, 0.9, 2, 0, 0.6},   // past the last key: towards the first, at 1.0
        {{0.0, 0.5, 0.75}, 0.0, 0, 1, 0.0},
        {{0.0, 0.5, 0.75}, 0.5, 1, 2, 0.0},   // exactly on a key
        {{0.0, 0.5, 0.75}, 0.6, 1, 2, 0.4},
        {{0.0, 0.5, 0.75}, 0.75, 2, 0, 0.0},
        {{0.25, 0.5}, 0.1, 1, 0, 0.8},        // before the first key: the last key's pair wraps
        {{0.3}, 0.7, 0, 0, 0.0},              // a single key: no span
        {{0.3}, 0.1, 0, 0, 0.0},
        {{0.5, 0.5}, 0.5, 1, 0, 0.0},         // equal times
        {{0.0, 0.5}, 1.0, 1, 0, 1.0},         // the end of the track reaches the first key
    };
    for (const Case& c : cases) {
        BlendStage stage;
        stage.animation = KeysAt(c.keys);
        stage.Advance(c.t);
        EXPECT_EQ(stage.key, c.key) << "t " << c.t;
        EXPECT_EQ(stage.nextKey, c.nextKey) << "t " << c.t;
        EXPECT_NEAR(stage.fraction, c.fraction, 1e-12) << "t " << c.t;
    }
}

TEST(BlendStage, BinarySearchAgreesWithALinearScan) {
    for (int32_t count = 1; count <= 9; ++count) {
        Pointer<NodeAnimation> animation = new NodeAnimation();
        for (int32_t i = 0; i < count; ++i) {
            NodeKeyframe* key = new NodeKeyframe();
            key->time = 0.05 + i * (0.9 / count);
            EXPECT_EQ(animation->AddKey(key), kOk);
        }
        for (double t = 0.0; t < 1.0; t += 0.01) {
            int32_t expected = count - 1;  // before the first key: the last
            for (int32_t i = 0; i < count; ++i)
                if (animation->GetKey(i)->time <= t) expected = i;
            BlendStage stage;
            stage.animation = animation;
            stage.Advance(t);
            EXPECT_EQ(stage.key, expected) << count << " keys, t " << t;
            EXPECT_GE(stage.fraction, 0.0);
            EXPECT_LE(stage.fraction, 1.0);
        }
    }
}

TEST(BlendStage, WithoutAnimationOrKeysNothingChanges) {
    BlendStage stage;
    stage.key = 4;
    stage.nextKey = 5;
    stage.fraction = 0.25;
    stage.Advance(0.5);
    stage.animation = new NodeAnimation();
    stage.Advance(0.5);
    EXPECT_EQ(stage.key, 4);
    EXPECT_EQ(stage.nextKey, 5);
    EXPECT_EQ(stage.fraction, 0.25);
    EXPECT_FALSE(stage.HasKeyPair());
}

TEST(BlendStage, OddTimesStayInBounds) {
    BlendStage stage;
    stage.animation = KeysAt({0.0, 0.5});
    for (double t : {-5.0, 7.5, double(NAN), double(INFINITY), -double(INFINITY)}) {
        stage.Advance(t);
        EXPECT_TRUE(stage.HasKeyPair()) << t;
    }
}

// --- Keys and animations

TEST(Animation, AddKeyKeepsTimeOrderAndEqualTimesInArrivalOrder) {
    Pointer<NodeAnimation> animation = new NodeAnimation();
    const double times[] = {0.5, 0.1, 0.9, 0.5, 0.0};
    for (int32_t i = 0; i < 5; ++i) {
        NodeKeyframe* key = new NodeKeyframe();
        key->time = times[i];
        key->translation.x = static_cast<float>(i);
        ASSERT_EQ(animation->AddKey(key), kOk);
    }
    const double sorted[] = {0.0, 0.1, 0.5, 0.5, 0.9};
    const float arrival[] = {4, 1, 0, 3, 2};
    ASSERT_EQ(animation->GetKeyCount(), 5);
    for (int32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(animation->GetKey(i)->time, sorted[i]);
        EXPECT_EQ(animation->GetNodeKeyframe(i)->translation.x, arrival[i]);
    }
    EXPECT_EQ(animation->AddKey(nullptr), kInvalidArgument);
    EXPECT_EQ(animation->GetKey(5), nullptr);
    EXPECT_EQ(animation->GetKey(-1), nullptr);
}

TEST(Animation, EachClassCreatesItsKindOfKey) {
    struct Case {
        const char* type;
        bool boolKeys;
    };
    for (const Case& c : {Case{"Zel.NodeAnimation", false}, Case{"Zel.BoolAnimation", true},
                          Case{"Zel.SoundNodeAnimation", true}}) {
        CreateFunction create = FindCreateFunction(String(c.type));
        ASSERT_NE(create, nullptr) << c.type;
        Object* object = nullptr;
        ASSERT_EQ(create(&object), kOk);
        Pointer<Object> held = object;
        Animation* animation = CastTo<Animation>(object);
        ASSERT_NE(animation, nullptr) << c.type;
        Keyframe* key = animation->CreateKeyframe();
        EXPECT_EQ(dynamic_cast<BoolKeyframe*>(key) != nullptr, c.boolKeys) << c.type;
        EXPECT_EQ(dynamic_cast<NodeKeyframe*>(key) != nullptr, !c.boolKeys) << c.type;
        delete key;
    }
    Object* object = nullptr;
    LogCapture capture;
    EXPECT_NE(FindCreateFunction(String("Zel.Animation"))(&object), kOk);
    EXPECT_EQ(object, nullptr);
}

TEST(Animation, SearchFindsTheAnimationButNeverItsKeys) {
    Pointer<NodeAnimation> animation = MakeTranslationAnimation("walk", {{0.0, {}}, {0.5, {}}});
    EXPECT_EQ(animation->FindByName(String("walk")), animation.Get());
    EXPECT_EQ(animation->FindByName(String("run")), nullptr);
    ObjectArray found;
    animation->CollectByType(Animation::TYPE, found);
    ASSERT_EQ(found.Count(), 1);
    EXPECT_EQ(found[0], animation.Get());
}

// --- Streaming

TEST(Animation, NodeKeysRoundTrip) {
    Pointer<NodeAnimation> animation = new NodeAnimation();
    animation->SetName(String("pose"));
    NodeKeyframe* key = new NodeKeyframe();
    key->time = 0.25;
    key->translation = {1, 2, 3};
    key->rotation = Quaternion::FromAxisAngle({0, 1, 0}, 0.5f);
    key->scale = {4, 5, 6};
    EXPECT_EQ(animation->AddKey(key), kOk);
    EXPECT_EQ(animation->AddKey(new NodeKeyframe()), kOk);

    Pointer<NodeAnimation> loaded = test::RoundTrip(animation.Get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_STREQ(loaded->GetName().CStr(), "pose");
    ASSERT_EQ(loaded->GetKeyCount(), 2);
    EXPECT_EQ(loaded->GetKey(0)->time, 0.0);
    const NodeKeyframe* read = loaded->GetNodeKeyframe(1);
    EXPECT_EQ(read->time, 0.25);
    EXPECT_EQ(read->translation, key->translation);
    EXPECT_EQ(read->rotation, key->rotation);
    EXPECT_EQ(read->scale, key->scale);
}

TEST(Animation, BoolKeysRoundTripForBothBoolClasses) {
    Pointer<BoolAnimation> flags = test::MakeBoolAnimation("flags", {{0.0, true}, {0.5, false}});
    Pointer<SoundNodeAnimation> sound =
        test::MakeBoolAnimation<SoundNodeAnimation>("sound", {{0.2, false}, {0.7, true}});
    Pointer<BoolAnimation> loadedFlags = test::RoundTrip(flags.Get());
    Pointer<SoundNodeAnimation> loadedSound = test::RoundTrip(sound.Get());
    ASSERT_EQ(loadedFlags->GetKeyCount(), 2);
    EXPECT_TRUE(loadedFlags->GetBoolKeyframe(0)->value);
    EXPECT_FALSE(loadedFlags->GetBoolKeyframe(1)->value);
    EXPECT_EQ(loadedFlags->GetKey(1)->time, 0.5);
    ASSERT_EQ(loadedSound->GetKeyCount(), 2);
    EXPECT_FALSE(loadedSound->GetBoolKeyframe(0)->value);
    EXPECT_EQ(loadedSound->GetKey(1)->time, 0.7);
}

TEST(Animation, KeyLayoutIsTimeThenValues) {
    NodeKeyframe key;
    key.time = 0.5;
    key.translation = {1, 2, 3};
    key.rotation = {0.1f, 0.2f, 0.3f, 0.9f};
    key.scale = {7, 8, 9};
    Stream stream(0, 64);
    ASSERT_EQ(key.Save(stream), 0);
    EXPECT_EQ(stream.GetPosition(), 8 + 12 + 16 + 12);
    stream.Rewind();
    double time = 0;
    float values[10] = {};
    stream.ReadDouble(time);
    for (float& value : values) stream.ReadFloat(value);
    EXPECT_EQ(time, 0.5);
    const float expected[10] = {1, 2, 3, 0.1f, 0.2f, 0.3f, 0.9f, 7, 8, 9};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(values[i], expected[i]) << i;

    BoolKeyframe flag;
    flag.value = false;
    Stream flagStream(0, 16);
    ASSERT_EQ(flag.Save(flagStream), 0);
    EXPECT_EQ(flagStream.GetPosition(), 9);
}

TEST(Animation, LoadReplacesKeysHeldBefore) {
    Pointer<NodeAnimation> source = KeysAt({0.1});
    Stream stream(0, 64);
    ASSERT_EQ(source->Save(stream), 0);
    stream.Rewind();
    Pointer<NodeAnimation> target = KeysAt({0.2, 0.3, 0.4});
    ASSERT_EQ(target->Load(stream), 0);
    ASSERT_EQ(target->GetKeyCount(), 1);
    EXPECT_EQ(target->GetKey(0)->time, 0.1);
}

TEST(Animation, TruncatedStreamsFailWithTheKeyMessages) {
    Pointer<NodeAnimation> animation = KeysAt({0.0, 0.5, 0.75});
    animation->SetName(String("cut"));
    test::ExpectEveryTruncationFails(animation);

    // Cut inside the last key's values: the key's line, then the animation's.
    Stream full(0, 256);
    ASSERT_EQ(animation->Save(full), 0);
    Stream cut(full.GetPosition() - 4, 1);
    cut.Write(full.GetBuffer(), full.GetPosition() - 4);
    cut.Rewind();
    Pointer<NodeAnimation> target = new NodeAnimation();
    LogCapture capture;
    EXPECT_EQ(target->Load(cut), kFailed);
    ASSERT_GE(capture->lines.size(), 2u);
    const size_t last = capture->lines.size() - 1;
    EXPECT_EQ(capture->lines[last - 1].text, "Невозможно загрузить данные кифрейма.");
    EXPECT_EQ(capture->lines[last].text,
              "Невозможно загрузить кифрейм анимации. Имя[cut] ID[" + std::to_string(target->GetId()) + "]");
    EXPECT_EQ(target->GetKeyCount(), 2);  // the broken key is not added
}

TEST(Animation, HostileKeyCountsAreRefusedBeforeAllocating) {
    for (int32_t count : {-1, 1000000, INT32_MAX}) {
        Stream stream(0, 64);
        stream.WriteString(String("evil"));
        stream.WriteInt32(0);  // controllers
        stream.WriteInt32(count);
        stream.WriteDouble(0.0);
        stream.Rewind();
        Pointer<NodeAnimation> animation = new NodeAnimation();
        LogCapture capture;
        EXPECT_EQ(animation->Load(stream), kFailed) << count;
        EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить количество кифреймов анимации. ID["));
        EXPECT_EQ(animation->GetKeyCount(), 0);
    }
}

}  // namespace
}  // namespace zel
