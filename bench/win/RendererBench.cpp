// The engine's CPU cost of drawing 1,000 textured geometry nodes per frame
// against the same draws made by a hand-written Direct3D 9 loop (one state
// block for the material, the same programs, buffers and constants, no
// engine). Both run on the main thread; its CPU time (GetThreadTimes) per
// frame is measured, since the driver's own threads do the drawing.
//
//   zel-bench-renderer.exe [frames [nodes]]     (default 200 frames, 1,000 nodes)
#include "engine/os/win32/Windows.h"

#include <d3d9.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "BenchWindow.h"
#include "engine/core/Buffer.h"
#include "engine/math/Matrix4.h"
#include "engine/render/WindowSystem.h"
#include "engine/render/d3d9/D3D9Renderer.h"
#include "engine/render/material/TextureEffect.h"
#include "engine/render/program/MaterialPrograms.h"
#include "engine/render/shader/ShaderAssembler.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Triangles.h"

namespace zel {
namespace {

// Main-thread CPU time in seconds.
double ThreadSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return double((uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

// A small quad in a 40 × 25 grid in front of the camera.
Vector3 NodePosition(int32_t index) {
    return Vector3{float(index % 40) * 0.25f - 5.0f, float(index / 40) * 0.3f - 3.75f, 20.0f};
}

Pointer<Triangles> MakeNode(int32_t index, Texture* texture) {
    Pointer<Triangles> node = new Triangles();
    auto* positions = new Vector3Buffer(4, nullptr);
    auto* uv = new Vector2Buffer(4, nullptr);
    const Vector2 corners[] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int32_t i = 0; i < 4; ++i) {
        (*positions)[i] = Vector3{corners[i].x * 0.2f, corners[i].y * 0.2f, 0.0f};
        (*uv)[i] = corners[i];
    }
    auto* indices = new IntBuffer(6, nullptr);
    const int32_t order[] = {0, 2, 1, 0, 3, 2};
    for (int32_t i = 0; i < 6; ++i) (*indices)[i] = order[i];
    node->SetVertices(positions);
    node->SetTexCoords(0, uv);
    node->SetIndices(indices);
    Pointer<TextureEffect> effect = new TextureEffect();
    effect->SetTexture(texture);
    node->SetEffect(effect);
    node->SetLocal(Transform::Make({1, 1, 1}, Quaternion(), NodePosition(index)));
    node->Update(0, false);
    return node;
}

Texture* MakeTexture() {
    Image* image = new Image(String("bench"), Image::kFormatRGB, 64, 64);
    for (int32_t i = 0; i < 64 * 64 * 3; ++i) image->GetData()[i] = uint8_t(i * 7);
    return new Texture(image);
}

// Frames drawn before the clock starts: every device object exists then.
int32_t WarmUpFrames(int32_t frames) { return frames < 10 ? 1 : 10; }

double EngineFrames(D3D9Renderer& renderer, const std::vector<Pointer<Triangles>>& nodes, int32_t frames) {
    const int32_t warmUp = WarmUpFrames(frames);
    double start = 0.0;
    for (int32_t frame = 0; frame < warmUp + frames; ++frame) {
        if (frame == warmUp) start = ThreadSeconds();
        if (renderer.BeginFrame() != 0) continue;
        for (const Pointer<Triangles>& node : nodes) node->Draw(renderer);
        renderer.EndFrame();
    }
    return (ThreadSeconds() - start) / frames;
}

// The hand-written loop's device objects.
struct RawScene {
    IDirect3DStateBlock9* material = nullptr;
    // The same, plus every stage's combine, sampler and coordinate states
    // and the emptied stages: as much state as the engine records per pass.
    IDirect3DStateBlock9* fullMaterial = nullptr;
    IDirect3DVertexDeclaration9* declaration = nullptr;
    IDirect3DVertexShader9* vertexShader = nullptr;
    IDirect3DPixelShader9* pixelShader = nullptr;
    IDirect3DTexture9* texture = nullptr;
    std::vector<IDirect3DVertexBuffer9*> positions, coordinates;
    std::vector<IDirect3DIndexBuffer9*> indices;

    ~RawScene() {
        for (auto* b : positions) ReleaseCom(b);
        for (auto* b : coordinates) ReleaseCom(b);
        for (auto* b : indices) ReleaseCom(b);
        ReleaseCom(material);
        ReleaseCom(fullMaterial);
        ReleaseCom(declaration);
        ReleaseCom(vertexShader);
        ReleaseCom(pixelShader);
        ReleaseCom(texture);
    }
};

template <class T>
IDirect3DVertexBuffer9* RawVertices(IDirect3DDevice9* device, const T* data, int32_t count) {
    IDirect3DVertexBuffer9* buffer = nullptr;
    void* target = nullptr;
    device->CreateVertexBuffer(sizeof(T) * count, 0, 0, D3DPOOL_MANAGED, &buffer, nullptr);
    buffer->Lock(0, 0, &target, 0);
    std::memcpy(target, data, sizeof(T) * count);
    buffer->Unlock();
    return buffer;
}

IUnknown* RawShader(IDirect3DDevice9* device, const char* text, bool vertex) {
    GrowableArray<uint32_t> tokens(256, 256);
    ShaderAssemblyError error;
    if (ShaderAssembler::Assemble(text, int32_t(std::strlen(text)), tokens, error) != 0) return nullptr;
    const auto* code = reinterpret_cast<const DWORD*>(tokens.begin());
    if (vertex) {
        IDirect3DVertexShader9* shader = nullptr;
        device->CreateVertexShader(code, &shader);
        return shader;
    }
    IDirect3DPixelShader9* shader = nullptr;
    device->CreatePixelShader(code, &shader);
    return shader;
}

void BuildRawScene(IDirect3DDevice9* device, const std::vector<Pointer<Triangles>>& nodes, RawScene& scene) {
    const D3DVERTEXELEMENT9 elements[] = {
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
        {1, 0, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
        D3DDECL_END()};
    device->CreateVertexDeclaration(elements, &scene.declaration);
    // The texts the engine's pass picks on this device.
    const MaterialProgramLevels& levels = kTexturePrograms.basic;
    const MaterialProgramPair& programs = levels.level20.vertex != nullptr ? levels.level20 : levels.level1x;
    scene.vertexShader = static_cast<IDirect3DVertexShader9*>(RawShader(device, programs.vertex, true));
    scene.pixelShader = static_cast<IDirect3DPixelShader9*>(RawShader(device, programs.pixel, false));
    device->CreateTexture(64, 64, 0, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &scene.texture, nullptr);
    for (bool full : {false, true}) {
        device->BeginStateBlock();
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
        device->SetRenderState(D3DRS_ZENABLE, TRUE);
        device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
        for (DWORD stage = 0; full && stage < 8; ++stage) {
            if (stage < 7) device->SetTexture(stage, nullptr);
            for (auto state : {D3DTSS_COLOROP, D3DTSS_ALPHAOP})
                device->SetTextureStageState(stage, state, D3DTOP_MODULATE);
            for (auto state : {D3DTSS_COLORARG1, D3DTSS_ALPHAARG1})
                device->SetTextureStageState(stage, state, D3DTA_TEXTURE);
            for (auto state : {D3DTSS_COLORARG2, D3DTSS_ALPHAARG2})
                device->SetTextureStageState(stage, state, D3DTA_CURRENT);
            device->SetTextureStageState(stage, D3DTSS_TEXCOORDINDEX, stage);
            for (auto state : {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER, D3DSAMP_MIPFILTER})
                device->SetSamplerState(stage, state, D3DTEXF_LINEAR);
            for (auto state : {D3DSAMP_ADDRESSU, D3DSAMP_ADDRESSV, D3DSAMP_ADDRESSW})
                device->SetSamplerState(stage, state, D3DTADDRESS_WRAP);
            device->SetSamplerState(stage, D3DSAMP_BORDERCOLOR, 0);
        }
        device->SetVertexDeclaration(scene.declaration);
        device->SetVertexShader(scene.vertexShader);
        device->SetPixelShader(scene.pixelShader);
        device->EndStateBlock(full ? &scene.fullMaterial : &scene.material);
    }
    for (const Pointer<Triangles>& node : nodes) {
        auto* positions = static_cast<Vector3Buffer*>(node->GetVertices());
        auto* uv = static_cast<Vector2Buffer*>(node->GetTexCoords(0));
        scene.positions.push_back(RawVertices(device, &(*positions)[0], positions->GetCount()));
        scene.coordinates.push_back(RawVertices(device, &(*uv)[0], uv->GetCount()));
        IDirect3DIndexBuffer9* indices = nullptr;
        void* target = nullptr;
        device->CreateIndexBuffer(6 * 4, 0, D3DFMT_INDEX32, D3DPOOL_MANAGED, &indices, nullptr);
        indices->Lock(0, 0, &target, 0);
        std::memcpy(target, &(*node->GetIndices())[0], 6 * 4);
        indices->Unlock();
        scene.indices.push_back(indices);
    }
}

// Per node: the material's state block, streams, texture, the constants
// the engine's program reads (c0-c7 transforms, c8 colour, c9 fog), draw.
double RawFrames(IDirect3DDevice9* device, const Camera& camera, const std::vector<Pointer<Triangles>>& nodes,
                 const RawScene& scene, IDirect3DStateBlock9* material, int32_t frames) {
    const int32_t warmUp = WarmUpFrames(frames);
    double start = 0.0;
    const float colorAndFog[8] = {1, 1, 1, 1, 0, 1, 0, 0};
    for (int32_t frame = 0; frame < warmUp + frames; ++frame) {
        if (frame == warmUp) start = ThreadSeconds();
        device->BeginScene();
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        for (size_t i = 0; i < nodes.size(); ++i) {
            const Matrix4 world = nodes[i]->GetWorld().ToMatrix();
            const Matrix4 worldView = world * camera.GetView();
            const Matrix4 transforms[2] = {(worldView * camera.GetProjection()).Transposed(), worldView.Transposed()};
            material->Apply();
            device->SetStreamSource(0, scene.positions[i], 0, 12);
            device->SetStreamSource(1, scene.coordinates[i], 0, 8);
            device->SetIndices(scene.indices[i]);
            device->SetTexture(0, scene.texture);
            device->SetVertexShaderConstantF(0, reinterpret_cast<const float*>(transforms), 8);
            device->SetVertexShaderConstantF(8, colorAndFog, 2);
            device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
        }
        device->EndScene();
        device->Present(nullptr, nullptr, nullptr, nullptr);
    }
    return (ThreadSeconds() - start) / frames;
}

int Run(int32_t frames, int32_t nodeCount) {
    BenchWindowSystem windows;
    SetWindowSystem(&windows);
    Pointer<D3D9Renderer> renderer = new D3D9Renderer();
    const int32_t mode = WindowedMode(*renderer);
    if (mode < 0 || renderer->OpenWindow(mode, "Zel renderer bench", nullptr, 0, 0, 640, 480) != 0) {
        std::fprintf(stderr, "renderer bench: no device\n");
        return 1;
    }
    Pointer<Camera> camera = new Camera(String("bench"));
    camera->Update(0, false);
    renderer->SetCamera(camera);
    Pointer<Texture> texture = MakeTexture();
    std::vector<Pointer<Triangles>> nodes;
    for (int32_t i = 0; i < nodeCount; ++i) nodes.push_back(MakeNode(i, texture));

    const double engine = EngineFrames(*renderer, nodes, frames);
    RawScene scene;
    BuildRawScene(renderer->GetDevice(), nodes, scene);
    const double raw = RawFrames(renderer->GetDevice(), *camera, nodes, scene, scene.material, frames);
    const double rawFull = RawFrames(renderer->GetDevice(), *camera, nodes, scene, scene.fullMaterial, frames);

    std::printf("%-40s %12s %12s %10s\n", "Benchmark", "Time", "CPU", "Iterations");
    const struct {
        const char* name;
        double seconds;
    } rows[] = {{"BM_EngineDrawTexturedNodes", engine},
                {"BM_RawDrawTexturedNodes", raw},
                {"BM_RawFullStateDrawTexturedNodes", rawFull}};
    for (const auto& row : rows) {
        char name[64];
        std::snprintf(name, sizeof name, "%s/%d", row.name, nodeCount);
        std::printf("%-40s %9.3f ms %9.3f ms %10d\n", name, row.seconds * 1e3, row.seconds * 1e3, frames);
    }
    std::printf("engine/raw main-thread CPU per frame: %.2fx\n", raw > 0 ? engine / raw : 0.0);
    std::printf("engine/raw with the engine's amount of state: %.2fx\n", rawFull > 0 ? engine / rawFull : 0.0);
    renderer->CloseWindow();
    SetWindowSystem(nullptr);
    return 0;
}

}  // namespace
}  // namespace zel

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 200;
    const int nodes = argc > 2 ? std::atoi(argv[2]) : 1000;
    return zel::Run(frames > 0 ? frames : 1, nodes > 0 && nodes <= 1000 ? nodes : 1000);
}
