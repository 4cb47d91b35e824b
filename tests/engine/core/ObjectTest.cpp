#include <gtest/gtest.h>

#include "engine/core/Object.h"
#include "engine/core/Stream.h"
#include "support/RecordingOutput.h"
#include "support/TestObjects.h"

namespace zel {
namespace {

using test::LogCapture;
using test::TestController;
using test::TestObject;

TEST(Object, IdsIncreaseByOneWhateverTheClass) {
    Pointer<TestObject> a = new TestObject;
    Pointer<TestController> b = new TestController;
    Pointer<TestObject> c = new TestObject;
    EXPECT_EQ(b->GetId(), a->GetId() + 1);
    EXPECT_EQ(c->GetId(), a->GetId() + 2);
}

TEST(Object, ControllersAreKeptMostRecentFirstAndOwned) {
    Pointer<TestObject> object = new TestObject;
    TestController* a = new TestController;
    TestController* b = new TestController;
    EXPECT_EQ(object->AttachController(a), kOk);
    EXPECT_EQ(object->AttachController(b), kOk);
    EXPECT_EQ(object->GetControllerCount(), 2);
    EXPECT_EQ(object->GetController(0), b);
    EXPECT_EQ(object->GetController(1), a);
    EXPECT_EQ(object->GetController(2), nullptr);
    EXPECT_EQ(object->GetController(-1), nullptr);
    EXPECT_EQ(a->GetOwner(), object.Get());
    EXPECT_EQ(a->GetReferenceCount(), 1);

    object->UpdateControllers(0.25);
    b->SetActive(false);  // updates reach inactive controllers too
    object->UpdateControllers(0.5);
    EXPECT_EQ(a->updates, 2);
    EXPECT_EQ(b->updates, 2);
    EXPECT_DOUBLE_EQ(a->lastTime, 0.5);

    EXPECT_EQ(object->DetachAllControllers(), kOk);
    EXPECT_EQ(object->GetControllerCount(), 0);
}

TEST(Object, AttachingNullWarnsAndFails) {
    LogCapture capture;
    Pointer<TestObject> object = new TestObject;
    object->SetName(String("host"));
    EXPECT_EQ(object->AttachController(nullptr), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(
        kLogWarning, "Указатель на устанавливаемый контроллер равен 0. Имя[host] ID[" +
                         std::to_string(object->GetId()) + "]"));
}

TEST(Object, FindByNameSearchesSelfThenControllersInListOrder) {
    Pointer<TestObject> object = new TestObject;
    object->SetName(String("root"));
    TestController* first = new TestController;
    TestController* second = new TestController;
    object->AttachController(first);
    object->AttachController(second);
    second->SetName(String("named"));
    EXPECT_EQ(object->FindByName(String("root")), object.Get());
    EXPECT_EQ(object->FindByName(String("named")), second);
    // The empty name finds the first unnamed object: the head controller is
    // named, so the search goes on to the first attached one.
    EXPECT_EQ(object->FindByName(String()), first);
    EXPECT_EQ(object->FindByName(String("absent")), nullptr);
}

TEST(Object, CollectByTypeTakesSelfFirstThenControllers) {
    Pointer<TestObject> object = new TestObject;
    TestController* a = new TestController;
    TestController* b = new TestController;
    object->AttachController(a);
    object->AttachController(b);
    ObjectArray all;
    object->CollectByType(Object::TYPE, all);
    ASSERT_EQ(all.Count(), 3);
    EXPECT_EQ(all[0], object.Get());
    EXPECT_EQ(all[1], b);
    EXPECT_EQ(all[2], a);
    ObjectArray controllers;
    object->CollectByType(Controller::TYPE, controllers);
    EXPECT_EQ(controllers.Count(), 2);
    EXPECT_TRUE(TestController::TYPE.IsDerivedFrom(Object::TYPE));
    EXPECT_FALSE(Object::TYPE.IsDerivedFrom(Controller::TYPE));
}

TEST(Object, ControllerOrderSurvivesSaveAndLoad) {
    Pointer<TestObject> object = new TestObject;
    const char* names[] = {"A", "B", "C"};
    for (const char* name : names) {
        TestController* controller = new TestController;
        controller->SetName(String(name));
        object->AttachController(controller);
    }
    object->GetController(1)->SetActive(false);  // B

    Stream stream(0, 256);
    ASSERT_EQ(stream.WriteLink(object), 0);
    stream.Rewind();
    Pointer<Object> loaded;
    ASSERT_EQ(stream.ReadLink(loaded), 0);
    Object* copy = loaded.Get();
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->GetControllerCount(), 3);
    EXPECT_EQ(copy->GetController(0)->GetName(), String("C"));
    EXPECT_EQ(copy->GetController(1)->GetName(), String("B"));
    EXPECT_EQ(copy->GetController(2)->GetName(), String("A"));
    EXPECT_FALSE(copy->GetController(1)->IsActive());
    EXPECT_TRUE(copy->GetController(0)->IsActive());
    EXPECT_EQ(copy->GetController(0)->GetOwner(), copy);
    EXPECT_NE(copy->GetId(), object->GetId());
}

TEST(RefCounted, PointerTakesTheNewReferenceBeforeReleasingTheOld) {
    TestObject* a = new TestObject;
    Pointer<TestObject> p = a;
    Pointer<TestObject> q = p;
    EXPECT_EQ(a->GetReferenceCount(), 2);
    p = p.Get();  // same pointer: nothing changes
    EXPECT_EQ(a->GetReferenceCount(), 2);
    q = nullptr;
    EXPECT_EQ(a->GetReferenceCount(), 1);
    // Assigning an object that the old value's destruction releases: the
    // new reference is taken first, so it survives the old one going away.
    TestObject* inner = new TestObject;
    a->link = inner;
    p = inner;
    EXPECT_EQ(inner->GetReferenceCount(), 1);
    EXPECT_EQ(p->link.Get(), nullptr);
}

TEST(RefCounted, DestroyingAReferencedObjectWarns) {
    LogCapture capture;
    TestObject* object = new TestObject;
    object->AddReference();
    delete object;
    EXPECT_TRUE(capture->Contains(kLogWarning, "Удаление объекта, имеющего ссылки. Количество ссылок [1]."));
}

}  // namespace
}  // namespace zel
