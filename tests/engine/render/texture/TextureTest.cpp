#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/ClassFactory.h"
#include "engine/core/Stream.h"
#include "engine/render/shader/PixelShader.h"
#include "engine/render/shader/VertexShader.h"
#include "engine/render/texture/CubeTexture.h"
#include "engine/render/texture/Texture.h"
#include "engine/render/texture/VolumeTexture.h"
#include "support/RecordingOutput.h"
#include "support/RecordingRenderer.h"
#include "support/StreamRoundTrip.h"

namespace zel {
namespace {

using test::RecordingRenderer;

using test::RoundTripAs;

// Gives the binding a device handle made by `renderer`, as a first draw does.
struct Bound : ::testing::Test {
    template <class T>
    void Bind(T& object) {
        static int device = 0;
        SetCurrentRenderer(renderer);
        object.GetBinding().SetHandle(&device, renderer.Get());
        SetCurrentRenderer(nullptr);
    }
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
};

// Textures.

TEST(Texture, LoadingResetsTheLevelCountToAFullChain) {
    Pointer<Texture> texture = new Texture(new Image(String("pixels"), Image::kFormatRGB, 4, 2), String("wall"));
    texture->SetMipLevels(5);
    test::LogCapture capture;
    Pointer<Texture> loaded = RoundTripAs<Texture>(texture);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetMipLevels(), 0);
    ASSERT_NE(loaded->GetImage(), nullptr);
    EXPECT_EQ(loaded->GetImage()->GetWidth(), 4);
    EXPECT_TRUE(loaded->HasOwnDepthBuffer());
    EXPECT_TRUE(capture->Contains(kLogInfo, "Текстура [wall] загружена."));
}

TEST(Texture, EveryKindStreamsItsImageLink) {
    test::LogCapture capture;
    Pointer<CubeTexture> cube = RoundTripAs<CubeTexture>(
        new CubeTexture(new Image(String("faces"), Image::kFormatRGBA, 2, 12), String("sky")));
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(cube->GetImage()->GetHeight(), 12);
    Pointer<VolumeTexture> volume = RoundTripAs<VolumeTexture>(
        new VolumeTexture(new VolumeImage(String("slices"), Image::kFormatA8, 2, 2, 3), String("fog")));
    ASSERT_NE(volume, nullptr);
    EXPECT_EQ(volume->GetImage(false)->GetDepth(), 3);
    Pointer<Texture> empty = RoundTripAs<Texture>(new Texture(nullptr, String("blank")));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->GetImage(), nullptr);
    EXPECT_TRUE(capture->Contains(kLogInfo, "Текстура [sky] загружена."));
    EXPECT_TRUE(capture->Contains(kLogInfo, "Текстура [fog] загружена."));
}

TEST(Texture, AVolumeTextureRefusesAFlatImage) {
    Pointer<Texture> flat = new Texture(new Image(String("flat"), Image::kFormatRGB, 1, 1), String("t"));
    Stream stream(0, 256);
    ASSERT_EQ(stream.WriteLink(flat), 0);
    // Same layout, other class: the link must hold a volume image.
    std::vector<uint8_t> bytes(stream.GetBuffer(), stream.GetBuffer() + stream.GetPosition());
    const std::string from = "Zel.Texture", to = "Zel.VolumeTexture";
    Stream patched(0, 256);
    patched.Write(bytes.data(), 4);
    patched.WriteString(String(to.c_str()));
    patched.Write(bytes.data() + 8 + from.size(), static_cast<int32_t>(bytes.size() - 8 - from.size()));
    patched.Rewind();
    test::LogCapture capture;
    Pointer<Object> read;
    EXPECT_NE(patched.ReadLink(read), 0);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить изображение текстуры."));
}

TEST(Texture, TruncatedDataFails) {
    Pointer<Texture> texture = new Texture(new Image(String("i"), Image::kFormatRGB, 1, 1), String("t"));
    Stream full(0, 256);
    ASSERT_EQ(full.WriteLink(texture), 0);
    test::LogCapture capture;
    for (int32_t cut = 0; cut < full.GetPosition(); ++cut) {
        Stream part(cut, 1);
        part.Write(full.GetBuffer(), cut);
        part.Rewind();
        Pointer<Object> read;
        EXPECT_NE(part.ReadLink(read), 0) << cut;
    }
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить количество мип-мэпов текстуры."));
}

TEST_F(Bound, OnlyTexturesWithADeviceCopyAreReleased) {
    { Pointer<Texture> neverDrawn = new Texture(nullptr, String("idle")); }
    EXPECT_TRUE(renderer->calls.empty());
    {
        Pointer<Texture> drawn = new Texture(nullptr, String("drawn"));
        Bind(*drawn);
    }
    EXPECT_EQ(renderer->calls, (std::vector<std::string>{"ReleaseTexture(drawn)"}));
}

TEST_F(Bound, ANewImageDropsTheDeviceTextureAndTheLevelCount) {
    Pointer<CubeTexture> texture = new CubeTexture(nullptr, String("cube"));
    texture->SetMipLevels(7);
    Bind(*texture);
    texture->SetImage(new Image(String("faces"), Image::kFormatRGB, 1, 6));
    EXPECT_EQ(texture->GetMipLevels(), 0);
    EXPECT_EQ(renderer->calls, (std::vector<std::string>{"ReleaseTexture(cube)"}));
    EXPECT_EQ(texture->GetBinding().GetHolder(), nullptr);
}

TEST_F(Bound, AskingForAVolumeImageToChangeMarksItDirty) {
    Pointer<VolumeTexture> texture = new VolumeTexture(new VolumeImage(String("v"), Image::kFormatA8, 1, 1, 1));
    Bind(*texture);
    texture->GetBinding().SetDirty(false);
    texture->GetImage(false);
    EXPECT_FALSE(texture->GetBinding().IsDirty());
    texture->GetImage(true);
    EXPECT_TRUE(texture->GetBinding().IsDirty());
    EXPECT_TRUE(renderer->calls.empty());
}

// Shaders.

TEST(Shader, KindsAndCreationByName) {
    EXPECT_EQ(VertexShader().ShaderKind(), Shader::kVertexShader);
    EXPECT_EQ(PixelShader().ShaderKind(), Shader::kPixelShader);
    for (const char* name : {"Zel.VertexShader", "Zel.PixelShader"}) {
        Object* created = nullptr;
        CreateFunction create = FindCreateFunction(String(name));
        ASSERT_NE(create, nullptr) << name;
        ASSERT_EQ(create(&created), kOk);
        Pointer<Object> held(created);
        EXPECT_TRUE(created->GetName().IsEmpty());
        EXPECT_TRUE(created->IsDerivedFrom(Shader::TYPE));
    }
    test::LogCapture capture;
    Object* abstract = nullptr;
    EXPECT_NE(FindCreateFunction(String("Zel.Shader"))(&abstract), kOk);
}

TEST_F(Bound, ANewProgramReleasesTheAssembledShader) {
    Pointer<VertexShader> shader = new VertexShader(String("vs_1_1\nmov oPos, v0\n"));
    shader->SetName(String("vs"));
    shader->SetProgram(String("vs_2_0\n"));
    EXPECT_TRUE(renderer->calls.empty());
    Bind(*shader);
    shader->SetProgram(String("vs_1_1\n"));
    EXPECT_EQ(std::string(shader->GetProgram().CStr()), "vs_1_1\n");
    EXPECT_EQ(renderer->calls, (std::vector<std::string>{"ReleaseShader(vs)"}));
    Bind(*shader);
    shader = nullptr;
    EXPECT_EQ(renderer->Count("ReleaseShader(vs)"), 2);
}

}  // namespace
}  // namespace zel
