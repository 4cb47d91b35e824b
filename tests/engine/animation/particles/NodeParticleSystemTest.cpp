#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "ParticleTestSupport.h"
#include "engine/render/GeometryNodeEffect.h"
#include "engine/render/GeometryNodeEffectPass.h"
#include "engine/render/Technique.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Triangles.h"
#include "support/AnimationTestSupport.h"
#include "support/MathExpect.h"
#include "support/RecordingRenderer.h"

namespace zel {
namespace {

using test::MakeQuietSystem;
using test::Near;
using test::Particles;

// An effect whose one pass notes the world transform of the node it draws.
class ProbeEffect : public GeometryNodeEffect {
public:
    class ProbePass : public GeometryNodeEffectPass {
    public:
        explicit ProbePass(ProbeEffect* effect) : GeometryNodeEffectPass(effect), probe_(effect) {}
        int32_t Draw(Renderer&) override {
            probe_->seen.push_back(probe_->GetOwnerNode()->GetWorld());
            return 0;
        }

    private:
        ProbeEffect* probe_;
    };

    class ProbeTechnique : public Technique {
    public:
        explicit ProbeTechnique(ProbeEffect* effect) : Technique(effect), probe_(effect) {}
        bool Init(const Renderer&) override { return AddPass(new ProbePass(probe_)) == kOk; }

    private:
        ProbeEffect* probe_;
    };

    ProbeEffect() { EXPECT_EQ(AddTechnique(new ProbeTechnique(this)), kOk); }

    std::vector<Transform> seen;
};

struct NodeSystem : ::testing::Test {
    NodeSystem() {
        camera->Update(0, false);
        renderer->SetCamera(camera);
        shape->SetEffect(probe);
        shape->SetLocal(Transform::Make({1, 1, 1}, Quaternion::FromAxisAngle({0, 0, 1}, 0.5f), {7, 7, 7}));
        shape->Update(0, false);
        system->SetTemplate(shape);
        system->startSize = 2.0f;
        system->endSize = 2.0f;
    }

    Pointer<test::RecordingRenderer> renderer = new test::RecordingRenderer();
    Pointer<Camera> camera = new Camera(String("camera"));
    Pointer<ProbeEffect> probe = new ProbeEffect();
    Pointer<Triangles> shape = new Triangles(String("shape"));
    Pointer<NodeParticleSystem> system = MakeQuietSystem(10, 3);
};

TEST_F(NodeSystem, TemplateIsDrawnAtEachParticleScaledByItsSize) {
    system->SetLocal(Transform::Make({1, 1, 1}, Quaternion(), {1, 2, 3}));
    system->Update(0.5, false);
    system->Draw(*renderer);
    ASSERT_EQ(probe->seen.size(), 3u);
    for (const Transform& world : probe->seen) {
        EXPECT_TRUE(Near(world.translation, {1, 2, 3}));
        EXPECT_EQ(world.scale, (Vector3{2, 2, 2}));
        EXPECT_TRUE(Near(world.rotation, shape->GetWorld().rotation));  // rotation kept
    }
    EXPECT_EQ(renderer->Count("DrawIndexed(shape)"), 3);
}

TEST_F(NodeSystem, TemplateIsPutBackAfterDrawing) {
    const Transform before = shape->GetWorld();
    system->Update(0.5, false);
    system->Draw(*renderer);
    EXPECT_EQ(shape->GetWorld().translation, before.translation);
    EXPECT_EQ(shape->GetWorld().scale, before.scale);
    EXPECT_EQ(shape->GetWorld().isIdentity, before.isIdentity);
}

TEST_F(NodeSystem, NothingIsDrawnWithoutTemplateOrParticles) {
    system->Draw(*renderer);  // no particles yet
    system->SetTemplate(nullptr);
    system->Update(0.5, false);
    system->Draw(*renderer);
    EXPECT_TRUE(probe->seen.empty());
    EXPECT_TRUE(renderer->calls.empty());
}

TEST_F(NodeSystem, BlendedTemplateDefersTheWholeSystem) {
    probe->blendEnable = true;
    system->Update(0.5, false);
    system->Draw(*renderer);
    EXPECT_TRUE(probe->seen.empty());
    EXPECT_EQ(renderer->GetDeferredCount(), 1);
    renderer->FlushDeferred();
    EXPECT_EQ(probe->seen.size(), 3u);
}

TEST_F(NodeSystem, ItselfCannotBeItsTemplate) {
    system->SetTemplate(system);
    EXPECT_EQ(system->GetTemplate(), nullptr);
}

// Two systems drawing each other must stop instead of recursing.
TEST_F(NodeSystem, TemplatesLeadingBackDoNotRecurse) {
    Pointer<NodeParticleSystem> other = MakeQuietSystem(10, 1);
    other->SetTemplate(system);
    other->SetEffect(probe);
    system->SetTemplate(other);
    system->SetEffect(probe);
    system->Update(0.5, false);
    other->Update(0.5, false);
    system->Draw(*renderer);
    EXPECT_EQ(system->FindByName(String("nothing")), nullptr);
    ObjectArray found;
    system->CollectByType(NodeParticleSystem::TYPE, found);
    EXPECT_EQ(found.Count(), 2);
    other->SetTemplate(nullptr);  // the cycle of references would keep both alive
}

TEST_F(NodeSystem, FindByNameReachesTheTemplate) {
    EXPECT_EQ(system->FindByName(String("shape")), shape.Get());
}

TEST_F(NodeSystem, RoundTripKeepsTheTemplate) {
    system->Update(0.5, false);
    Pointer<NodeParticleSystem> loaded = test::RoundTrip(system.Get());
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(loaded->GetTemplate(), nullptr);
    EXPECT_EQ(std::string(loaded->GetTemplate()->GetName().CStr()), "shape");
    EXPECT_EQ(loaded->GetActiveCount(), 0);
    EXPECT_EQ(loaded->particlesPerBurst, 3);
    test::ExpectEveryTruncationFails(system);
}

}  // namespace
}  // namespace zel
