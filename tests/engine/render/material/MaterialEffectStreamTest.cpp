// Save and load of every material effect: each class writes its own fields
// after its parent's in a fixed byte layout (what stored scenes rely on),
// they come back through a stream (links resolved by name), and a stream
// cut inside the last field fails with that field's message.
#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/Log.h"
#include "engine/core/Stream.h"
#include "engine/render/material/ColorEffect.h"
#include "engine/render/material/LightmapTexture1DLEffect.h"
#include "engine/render/material/LightmapTextureEffect.h"
#include "engine/render/material/NormalmapLightmapTexture1DLEffect.h"
#include "engine/render/material/NormalmapLightmapTextureEffect.h"
#include "engine/render/material/NormalmapTexture1DLEffect.h"
#include "engine/render/material/NormalmapTextureEffect.h"
#include "engine/render/material/Texture1DLEffect.h"
#include "engine/render/material/TextureEffect.h"
#include "engine/render/water/ReflectiveQuietFlatWaterEffect.h"
#include "engine/render/water/ReflectiveRefractiveQuietFlatWaterEffect.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

Texture* NamedTexture(const char* name) { return new Texture(nullptr, String(name)); }

std::string NameOf(const Object* object) { return object != nullptr ? object->GetName().CStr() : "null"; }

// Sets every field a class adds (and its parents') to a value other than
// the default.
template <class E>
void Fill(E& e) {
    if constexpr (requires { e.SetColor(ColorRGBA{}); }) e.SetColor({0.1f, 0.2f, 0.3f, 0.4f});
    e.fogDensity = 0.25f;
    if constexpr (std::is_base_of_v<TextureEffect, E>) {
        e.SetTexture(NamedTexture("base"));
        e.SetTexCoordSet(3);
    }
    if constexpr (std::is_base_of_v<LightmapTextureEffect, E>) {
        e.SetLightmap(NamedTexture("lightmap"));
        e.SetLightmapSet(4);
    }
    if constexpr (std::is_base_of_v<NormalmapTextureEffect, E> || std::is_base_of_v<NormalmapLightmapTextureEffect, E>) {
        e.SetNormalmap(NamedTexture("normalmap"));
        e.SetNormalmapSet(5);
    }
    if constexpr (requires { e.SetLight(nullptr); }) {
        Light* light = new Light(Light::kDirectional, String("sun"));
        e.SetLight(light);
    }
    if constexpr (requires { e.ripple; }) {
        e.SetReflectionMap(NamedTexture("reflection"));
        e.ripple = {{2.0f, 3.0f}, 0.5f, 1.5f};
    }
    if constexpr (std::is_same_v<E, ReflectiveQuietFlatWaterEffect>) e.distortion = 0.125f;
    if constexpr (std::is_same_v<E, ReflectiveRefractiveQuietFlatWaterEffect>) {
        e.SetRefractionMap(NamedTexture("refraction"));
        e.SetFresnelMap(NamedTexture("fresnel"));
        e.reflectionDistortion = 0.0625f;
        e.refractionDistortion = 0.03125f;
    }
}

// What Fill set, read back from a loaded effect.
template <class E>
void ExpectFilled(E& e) {
    EXPECT_EQ(e.GetColor(), (ColorRGBA{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(e.fogDensity, 0.25f);
    if constexpr (std::is_base_of_v<TextureEffect, E>) {
        EXPECT_EQ(NameOf(e.GetTexture()), "base");
        EXPECT_EQ(e.GetTexCoordSet(), 3);
    }
    if constexpr (std::is_base_of_v<LightmapTextureEffect, E>) {
        EXPECT_EQ(NameOf(e.GetLightmap()), "lightmap");
        EXPECT_EQ(e.GetLightmapSet(), 4);
    }
    if constexpr (std::is_base_of_v<NormalmapTextureEffect, E> || std::is_base_of_v<NormalmapLightmapTextureEffect, E>) {
        EXPECT_EQ(NameOf(e.GetNormalmap()), "normalmap");
        EXPECT_EQ(e.GetNormalmapSet(), 5);
    }
    if constexpr (requires { e.SetLight(nullptr); }) {
        EXPECT_EQ(NameOf(e.GetLight()), "sun");
        EXPECT_EQ(e.FindByName(String("sun")), e.GetLight());
    }
    if constexpr (requires { e.ripple; }) {
        EXPECT_EQ(NameOf(e.GetReflectionMap()), "reflection");
        EXPECT_EQ(e.ripple.scale, (Vector2{2.0f, 3.0f}));
        EXPECT_EQ(e.ripple.radius, 0.5f);
        EXPECT_EQ(e.ripple.angularSpeed, 1.5f);
    }
    if constexpr (std::is_same_v<E, ReflectiveQuietFlatWaterEffect>) {
        EXPECT_EQ(e.distortion, 0.125f);
    }
    if constexpr (std::is_same_v<E, ReflectiveRefractiveQuietFlatWaterEffect>) {
        EXPECT_EQ(NameOf(e.GetRefractionMap()), "refraction");
        EXPECT_EQ(NameOf(e.GetFresnelMap()), "fresnel");
        EXPECT_EQ(e.reflectionDistortion, 0.0625f);
        EXPECT_EQ(e.refractionDistortion, 0.03125f);
    }
}

// The linked objects go into the stream first, so the effect's own links
// are written as their IDs alone.
template <class E>
void WriteLinkedObjects(Stream& stream, E& e) {
    if constexpr (requires { e.GetTexture(); }) stream.WriteLink(e.GetTexture());
    if constexpr (requires { e.GetLightmap(); }) stream.WriteLink(e.GetLightmap());
    if constexpr (requires { e.GetNormalmap(); }) stream.WriteLink(e.GetNormalmap());
    if constexpr (requires { e.GetLight(); }) stream.WriteLink(e.GetLight());
    if constexpr (requires { e.GetReflectionMap(); }) stream.WriteLink(e.GetReflectionMap());
    if constexpr (requires { e.GetRefractionMap(); }) stream.WriteLink(e.GetRefractionMap());
    if constexpr (requires { e.GetFresnelMap(); }) stream.WriteLink(e.GetFresnelMap());
}

// The bytes of Save after a filled effect's links are known to the stream.
template <class E>
std::vector<uint8_t> SavedBytes() {
    Pointer<E> effect = new E();
    Fill(*effect);
    effect->SetName(String("fx"));
    Stream stream(0, 1024);
    WriteLinkedObjects(stream, *effect);
    const int32_t start = stream.GetPosition();
    EXPECT_EQ(effect->Save(stream), 0);
    return std::vector<uint8_t>(stream.GetBuffer() + start, stream.GetBuffer() + stream.GetPosition());
}

uint32_t Id(const Object* object) { return static_cast<uint32_t>(object->GetId()); }
uint32_t BitsOf(float value) { return std::bit_cast<uint32_t>(value); }

// The 32-bit words class E writes after its parent's data, in their order.
template <class E>
std::vector<uint32_t> OwnWords(E& e) {
    if constexpr (std::is_same_v<E, ColorEffect>) {
        const ColorRGBA c = e.GetColor();
        return {BitsOf(c.r), BitsOf(c.g), BitsOf(c.b), BitsOf(c.a)};
    } else if constexpr (std::is_same_v<E, TextureEffect>) {
        return {Id(e.GetTexture()), 3};
    } else if constexpr (std::is_same_v<E, LightmapTextureEffect>) {
        return {Id(e.GetLightmap()), 4};
    } else if constexpr (std::is_same_v<E, NormalmapTextureEffect> ||
                         std::is_same_v<E, NormalmapLightmapTextureEffect>) {
        return {Id(e.GetNormalmap()), 5};
    } else if constexpr (std::is_same_v<E, ReflectiveQuietFlatWaterEffect>) {
        return {Id(e.GetReflectionMap()), BitsOf(2.0f), BitsOf(3.0f), BitsOf(0.5f), BitsOf(1.5f), BitsOf(0.125f)};
    } else if constexpr (std::is_same_v<E, ReflectiveRefractiveQuietFlatWaterEffect>) {
        return {Id(e.GetReflectionMap()), Id(e.GetRefractionMap()), Id(e.GetFresnelMap()), BitsOf(2.0f), BitsOf(3.0f),
                BitsOf(0.5f), BitsOf(1.5f), BitsOf(0.0625f), BitsOf(0.03125f)};
    } else {
        return {Id(e.GetLight())};  // the lit classes
    }
}

// E's data is P's (as long, the parent's own layout checked by its own
// case) followed by exactly E's own words, little-endian.
template <class E, class P>
void ExpectMaterialLayout() {
    const std::vector<uint8_t> child = SavedBytes<E>(), parent = SavedBytes<P>();
    Pointer<E> effect = new E();
    Fill(*effect);
    Stream stream(0, 1024);
    WriteLinkedObjects(stream, *effect);
    const std::vector<uint32_t> words = OwnWords(*effect);
    ASSERT_EQ(child.size(), parent.size() + 4 * words.size()) << E::TYPE.GetClassName();
    // IDs differ between the two saves; the own words are compared against
    // a fresh save of the same object.
    const int32_t start = stream.GetPosition();
    ASSERT_EQ(effect->Save(stream), 0);
    const uint8_t* own = stream.GetBuffer() + stream.GetPosition() - 4 * words.size();
    ASSERT_GE(own, stream.GetBuffer() + start);
    for (size_t i = 0; i < words.size(); ++i) {
        const uint32_t word = own[4 * i] | own[4 * i + 1] << 8 | own[4 * i + 2] << 16 |
                              static_cast<uint32_t>(own[4 * i + 3]) << 24;
        EXPECT_EQ(word, words[i]) << E::TYPE.GetClassName() << " word " << i;
    }
}

TEST(MaterialEffectStream, EachClassWritesItsOwnFieldsAfterItsParents) {
    ExpectMaterialLayout<ColorEffect, GeometryNodeEffect>();
    ExpectMaterialLayout<TextureEffect, ColorEffect>();
    ExpectMaterialLayout<LightmapTextureEffect, TextureEffect>();
    ExpectMaterialLayout<NormalmapTextureEffect, TextureEffect>();
    ExpectMaterialLayout<NormalmapLightmapTextureEffect, LightmapTextureEffect>();
    ExpectMaterialLayout<Texture1DLEffect, TextureEffect>();
    ExpectMaterialLayout<LightmapTexture1DLEffect, LightmapTextureEffect>();
    ExpectMaterialLayout<NormalmapTexture1DLEffect, NormalmapTextureEffect>();
    ExpectMaterialLayout<NormalmapLightmapTexture1DLEffect, NormalmapLightmapTextureEffect>();
    ExpectMaterialLayout<ReflectiveQuietFlatWaterEffect, NormalmapTextureEffect>();
    ExpectMaterialLayout<ReflectiveRefractiveQuietFlatWaterEffect, NormalmapTextureEffect>();
}

template <class E>
void RoundTripsWhole() {
    Pointer<E> effect = new E();
    Fill(*effect);
    Stream stream(0, 1024);
    ASSERT_EQ(stream.WriteLink(effect), 0);
    stream.Rewind();
    Pointer<E> loaded;
    ASSERT_EQ(stream.ReadLinkAs(loaded), 0);
    ASSERT_NE(loaded, nullptr);
    EXPECT_STREQ(loaded->GetRtti()->GetClassName(), E::TYPE.GetClassName());
    ExpectFilled(*loaded);
}

// The message of the last field when the stream ends one byte early.
template <class E>
void CutShortFails(const char* message) {
    Pointer<E> effect = new E();
    effect->SetName(String("fx"));
    Stream stream(0, 1024);
    ASSERT_EQ(effect->Save(stream), 0);
    Stream cut(stream.GetPosition() - 1, 1);
    cut.Write(stream.GetBuffer(), stream.GetPosition() - 1);
    cut.Rewind();
    test::LogCapture capture;
    Pointer<E> loaded = new E();
    EXPECT_EQ(loaded->Load(cut), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, message)) << E::TYPE.GetClassName();
}

struct StreamCase {
    const char* what;
    std::function<void()> roundTrip;
    std::function<void()> cutShort;
};

template <class E>
StreamCase StreamCaseOf(const char* what, const char* lastFieldMessage) {
    return {what, &RoundTripsWhole<E>, [lastFieldMessage] { CutShortFails<E>(lastFieldMessage); }};
}

constexpr const char* kColor = "Невозможно загрузить цвет. ID[";
constexpr const char* kSet = "Невозможно загрузить номер набора текстурных координат. ID[";
constexpr const char* kLight = "Невозможно загрузить источник света. ID[";
constexpr const char* kData = "Невозможно загрузить данные эффекта. Имя[fx]";

const StreamCase kStreamCases[] = {
    StreamCaseOf<ColorEffect>("colour", kColor),
    StreamCaseOf<TextureEffect>("texture", kSet),
    StreamCaseOf<LightmapTextureEffect>("light map", kSet),
    StreamCaseOf<NormalmapTextureEffect>("normal map", kSet),
    StreamCaseOf<NormalmapLightmapTextureEffect>("normal and light map", kSet),
    StreamCaseOf<Texture1DLEffect>("lit", kLight),
    StreamCaseOf<LightmapTexture1DLEffect>("lit light map", kLight),
    StreamCaseOf<NormalmapTexture1DLEffect>("lit normal map", kLight),
    StreamCaseOf<NormalmapLightmapTexture1DLEffect>("lit normal and light map", kLight),
    StreamCaseOf<ReflectiveQuietFlatWaterEffect>("quiet water", kData),
    StreamCaseOf<ReflectiveRefractiveQuietFlatWaterEffect>("refractive water", kData),
};

TEST(MaterialEffectStream, EveryClassRoundTripsItsFields) {
    for (const StreamCase& c : kStreamCases) {
        SCOPED_TRACE(c.what);
        c.roundTrip();
    }
}

TEST(MaterialEffectStream, AStreamCutInTheLastFieldNamesThatField) {
    for (const StreamCase& c : kStreamCases) {
        SCOPED_TRACE(c.what);
        c.cutShort();
    }
}

// The maps of the refractive water fail one by one with their own texts.
TEST(MaterialEffectStream, EachWaterMapHasItsOwnLoadMessage) {
    Pointer<ReflectiveRefractiveQuietFlatWaterEffect> effect = new ReflectiveRefractiveQuietFlatWaterEffect();
    Stream full(0, 1024);
    ASSERT_EQ(effect->Save(full), 0);
    const int32_t dataBytes = 2 * 4 + 4 * 4;
    const struct {
        int32_t cut;  // bytes removed from the end
        const char* message;
    } kCuts[] = {
        {dataBytes + 1, "Невозможно загрузить карту френеля. ID["},
        {dataBytes + 4 + 1, "Невозможно загрузить карту преломления. ID["},
        {dataBytes + 8 + 1, "Невозможно загрузить карту отражения. ID["},
    };
    for (const auto& c : kCuts) {
        SCOPED_TRACE(c.message);
        Stream cut(full.GetPosition() - c.cut, 1);
        cut.Write(full.GetBuffer(), full.GetPosition() - c.cut);
        cut.Rewind();
        test::LogCapture capture;
        Pointer<ReflectiveRefractiveQuietFlatWaterEffect> loaded = new ReflectiveRefractiveQuietFlatWaterEffect();
        EXPECT_EQ(loaded->Load(cut), kFailed);
        EXPECT_TRUE(capture->Contains(kLogError, c.message));
    }
}

}  // namespace
}  // namespace zel
