// The two controllers that fill textures from data: the normal map built
// from a height map and the Fresnel table.
#include <gtest/gtest.h>

#include <vector>

#include "engine/render/texture/NormalmapTextureController.h"
#include "engine/render/texture/Texture.h"
#include "engine/render/water/FresnelTextureController.h"
#include "support/StreamRoundTrip.h"

namespace zel {
namespace {

Pointer<Texture> TextureOf(int32_t format, int32_t width, int32_t height, uint8_t fill) {
    Pointer<Image> image = new Image(String("image"), format, width, height);
    std::fill_n(image->GetData(), image->GetDataSize(), fill);
    return new Texture(image, String("texture"));
}

// Attaches and runs the controller once.
template <class C>
void RunOn(Texture* texture, C* controller) {
    texture->AttachController(controller);
    controller->Update(0.0);
}

TEST(NormalmapTextureController, FlatHeightMapGivesTheUpNormalEverywhere) {
    for (bool alpha : {false, true}) {
        Pointer<Texture> texture = TextureOf(Image::kFormatA8, 4, 3, 77);
        Pointer<NormalmapTextureController> controller = new NormalmapTextureController();
        controller->bumpCoefficient = 5.0f;
        controller->alpha = alpha;
        RunOn(texture.Get(), controller.Get());
        Image* image = texture->GetImage();
        ASSERT_EQ(image->GetFormat(), alpha ? Image::kFormatRGBA : Image::kFormatRGB);
        const int32_t stride = alpha ? 4 : 3;
        for (int32_t p = 0; p < 12; ++p) {
            const uint8_t* pixel = image->GetData() + p * stride;
            EXPECT_EQ(pixel[0], 128);
            EXPECT_EQ(pixel[1], 128);
            EXPECT_EQ(pixel[2], 255);
            if (alpha) {
                EXPECT_EQ(pixel[3], 77);
            }
        }
        EXPECT_TRUE(controller->IsDone());
    }
}

TEST(NormalmapTextureController, SlopesWrapAtTheEdges) {
    // One row rising to the right: the last pixel compares with the first.
    const uint8_t heights[3] = {0, 0, 255};
    uint8_t out[9];
    NormalmapTextureController::BuildNormals(heights, 3, 1, 1.0f, false, out);
    // Pixel 1 looks at a higher neighbour: dx = −1, s = 1/√2.
    EXPECT_EQ(out[3], static_cast<uint8_t>(static_cast<int32_t>(-0.70710678f * 127.0f + 128.0f)));
    // Pixel 2 looks at pixel 0 (lower): dx = +1.
    EXPECT_EQ(out[6], static_cast<uint8_t>(static_cast<int32_t>(0.70710678f * 127.0f + 128.0f)));
    EXPECT_EQ(out[0], 128);
}

TEST(NormalmapTextureController, ColourTextureIsLeftAloneButDone) {
    Pointer<Texture> texture = TextureOf(Image::kFormatRGB, 2, 2, 9);
    Pointer<NormalmapTextureController> controller = new NormalmapTextureController();
    RunOn(texture.Get(), controller.Get());
    EXPECT_EQ(texture->GetImage()->GetFormat(), Image::kFormatRGB);
    EXPECT_EQ(texture->GetImage()->GetData()[0], 9);
    EXPECT_TRUE(controller->IsDone());
}

TEST(NormalmapTextureController, RunsOnlyOnce) {
    Pointer<Texture> texture = TextureOf(Image::kFormatA8, 2, 2, 0);
    Pointer<NormalmapTextureController> controller = new NormalmapTextureController();
    RunOn(texture.Get(), controller.Get());
    // A new height map put in afterwards stays as it is.
    texture->SetImage(new Image(String("again"), Image::kFormatA8, 2, 2));
    controller->Update(0.0);
    EXPECT_EQ(texture->GetImage()->GetFormat(), Image::kFormatA8);
}

TEST(FresnelTextureController, AirToWaterTable) {
    Pointer<Texture> texture = TextureOf(Image::kFormatRGBA, 256, 2, 0);
    Pointer<FresnelTextureController> controller = new FresnelTextureController();
    controller->indexA = 1.0f;
    controller->indexB = 1.33f;
    RunOn(texture.Get(), controller.Get());
    const uint8_t* data = texture->GetImage()->GetData();
    const int32_t lastRow = 256 * 4;
    for (int32_t b = 0; b < 4; ++b) {
        EXPECT_EQ(data[b], 255);
        EXPECT_EQ(data[lastRow + 255 * 4 + b], 5);
    }
    EXPECT_TRUE(controller->IsDone());
}

TEST(FresnelTextureController, EqualIndicesReflectOnlyAtGrazingAngles) {
    EXPECT_EQ(FresnelTextureController::Value(1.5f, 1.5f, 0, 8), 255);
    // t = 0.5: 255 / 32.
    EXPECT_EQ(FresnelTextureController::Value(1.5f, 1.5f, 4, 8), 7);
    // Opposite indices cancel: no division by zero.
    EXPECT_EQ(FresnelTextureController::Value(1.0f, -1.0f, 8, 8), 0);
}

TEST(TextureControllers, RoundTripKeepsTheirFields) {
    Pointer<NormalmapTextureController> normals = new NormalmapTextureController();
    normals->bumpCoefficient = 3.5f;
    normals->alpha = true;
    Pointer<NormalmapTextureController> readNormals = test::RoundTrip(normals.Get());
    ASSERT_NE(readNormals, nullptr);
    EXPECT_EQ(readNormals->bumpCoefficient, 3.5f);
    EXPECT_TRUE(readNormals->alpha);

    Pointer<FresnelTextureController> fresnel = new FresnelTextureController();
    fresnel->indexA = 1.2f;
    fresnel->indexB = 2.4f;
    Pointer<FresnelTextureController> readFresnel = test::RoundTrip(fresnel.Get());
    ASSERT_NE(readFresnel, nullptr);
    EXPECT_EQ(readFresnel->indexA, 1.2f);
    EXPECT_EQ(readFresnel->indexB, 2.4f);
}

}  // namespace
}  // namespace zel
