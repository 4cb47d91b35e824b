#include "engine/core/Object.h"

#include <new>

#include "engine/core/Controller.h"
#include "engine/core/ClassFactory.h"
#include "engine/core/Engine.h"
#include "engine/core/Log.h"
#include "engine/core/Pointer.h"
#include "engine/core/Stream.h"

namespace zel {

const Rtti Object::TYPE("Zel.Object", nullptr);

namespace {
// Process-wide ID counter: IDs start at 0 and are never reused.
int32_t gNextObjectId = 0;
int32_t gLiveObjects = 0;
bool gObjectClassRegistered = false;
}  // namespace

struct Object::ControllerNode {
    Pointer<Controller> controller;
    ControllerNode* next;
};

Object::Object() : id_(gNextObjectId++) { ++gLiveObjects; }

int32_t Object::GetLiveCount() { return gLiveObjects; }

Object::~Object() {
    --gLiveObjects;
    if (DetachAllControllers() != kOk)
        LogError("Невозможно удалить контроллеры объекта. Имя[%s] ID[%d]", GetName().CStr(), id_);
}

int32_t Object::AttachController(Controller* controller) {
    if (controller == nullptr) {
        LogWarning("Указатель на устанавливаемый контроллер равен 0. Имя[%s] ID[%d]", GetName().CStr(), id_);
        return kInvalidArgument;
    }
    ControllerNode* node = new (std::nothrow) ControllerNode{Pointer<Controller>(controller), controllers_};
    if (node == nullptr) {
        LogWarning("Недостаточно памяти для создания узла списка при установке контроллера. Имя[%s] ID[%d]",
                   GetName().CStr(), id_);
        return kOutOfMemory;
    }
    controllers_ = node;
    controller->SetOwner(this);
    return kOk;
}

int32_t Object::GetControllerCount() const {
    int32_t count = 0;
    for (ControllerNode* node = controllers_; node != nullptr; node = node->next) ++count;
    return count;
}

Controller* Object::GetController(int32_t index) const {
    ControllerNode* node = controllers_;
    for (; node != nullptr && index > 0; --index) node = node->next;
    return index == 0 && node != nullptr ? node->controller.Get() : nullptr;
}

int32_t Object::DetachAllControllers() {
    while (controllers_ != nullptr) {
        ControllerNode* node = controllers_;
        controllers_ = node->next;
        delete node;
    }
    return kOk;
}

Object* FindIn(Object* object, const String& name) {
    if (object == nullptr || object->searching_) return nullptr;
    object->searching_ = true;
    Object* found = object->FindByName(name);
    object->searching_ = false;
    return found;
}

void CollectIn(Object* object, const Rtti& type, ObjectArray& objects) {
    if (object == nullptr || object->searching_) return;
    object->searching_ = true;
    object->CollectByType(type, objects);
    object->searching_ = false;
}

Object* Object::FindByName(const String& name) {
    if (GetName() == name) return this;
    for (ControllerNode* node = controllers_; node != nullptr; node = node->next)
        if (Object* found = FindIn(node->controller, name)) return found;
    return nullptr;
}

void Object::CollectByType(const Rtti& type, ObjectArray& objects) {
    if (IsDerivedFrom(type)) objects.Append(this);
    for (ControllerNode* node = controllers_; node != nullptr; node = node->next)
        CollectIn(node->controller, type, objects);
}

void Object::VisitLinks(LinkVisitor& visitor) {
    for (ControllerNode** link = &controllers_; *link != nullptr;) {
        ControllerNode* node = *link;
        Controller* controller = node->controller.Get();
        if (!visitor.Visit(controller)) {
            link = &node->next;
            continue;
        }
        if (controller->GetOwner() == this) controller->SetOwner(nullptr);
        *link = node->next;
        delete node;
    }
}

void Object::UpdateControllers(double time) {
    for (ControllerNode* node = controllers_; node != nullptr; node = node->next) node->controller->Update(time);
}

int32_t Object::Save(Stream& stream) {
    if (stream.WriteString(GetName()) != 0) return FailWithNameId("Невозможно сохранить имя объекта. Имя[%s] ID[%d]");
    int32_t count = GetControllerCount();
    if (stream.WriteInt32(count) != 0)
        return FailWithNameId("Невозможно сохранить количество контроллеров объекта. Имя[%s] ID[%d]");
    // The first attached (the list's tail) is written first, so that loading,
    // which attaches at the head, restores the same order.
    for (int32_t index = count - 1; index >= 0; --index)
        if (stream.WriteLink(GetController(index)) != 0)
            return FailWithNameId("Невозможно сохранить контроллер объекта. Имя[%s] ID[%d]");
    return kOk;
}

int32_t Object::Load(Stream& stream) {
    String name;
    if (stream.ReadString(name) != 0) {
        LogError("Невозможно загрузить имя объекта. ID[%d]", id_);
        return kFailed;
    }
    SetName(name);
    int32_t count = 0;
    // Every controller link takes at least four bytes.
    if (stream.ReadCount(count, 4) != 0)
        return FailWithNameId("Невозможно загрузить количество контроллеров объекта. Имя[%s] ID[%d]");
    for (int32_t i = 0; i < count; ++i) {
        Pointer<Controller> controller;
        if (stream.ReadLinkAs(controller) != 0)
            return FailWithNameId("Невозможно загрузить контроллер объекта. Имя[%s] ID[%d]");
        if (AttachController(controller) != kOk)
            return FailWithNameId("Невозможно установить контроллер объекта. Имя[%s] ID[%d]");
    }
    return kOk;
}

int32_t Object::FailWithNameId(const char* format) const {
    LogError(format, GetName().CStr(), id_);
    return kFailed;
}

int32_t Object::FailWithIdName(const char* format) const {
    LogError(format, id_, GetName().CStr());
    return kFailed;
}

int32_t Object::SaveParentFailed() const { return FailWithNameId("Невозможно сохранить родительские данные. Имя[%s] ID[%d]"); }

int32_t Object::LoadParentFailed() const {
    LogError("Невозможно загрузить родительские данные. ID[%d]", id_);
    return kFailed;
}

int32_t Object::CreateObject(Object**) {
    LogCritical("Создание объекта абстрактного класса [Object].");
    return kFailed;
}

int32_t Object::InitializeClass() {
    if (!RegisterClass(TYPE.GetName(), &Object::CreateObject)) {
        LogCritical("Инициализация класса [Object] прошла неудачно.");
        return kFailed;
    }
    LogInfo("Инициализация класса [Object] прошла удачно.");
    return kOk;
}

int32_t Object::TerminateClass() {
    UnregisterClass(TYPE.GetName());
    LogInfo("Завершение работы класса [Object] прошло удачно.");
    return kOk;
}

bool Object::RegisterClassFunctions() {
    if (!gObjectClassRegistered) {
        RegisterInitFunction(&Object::InitializeClass);
        RegisterTermFunction(&Object::TerminateClass);
        gObjectClassRegistered = true;
    }
    return true;
}

}  // namespace zel
