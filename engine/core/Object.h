// Root of every streamed engine class: a name, a process-unique ID and a
// list of attached controllers, which the object owns.
#pragma once

#include <cstdint>

#include "engine/core/GrowableArray.h"
#include "engine/core/LinkVisitor.h"
#include "engine/core/Named.h"
#include "engine/core/RefCounted.h"
#include "engine/core/Rtti.h"

namespace zel {

class Controller;
class Object;
class Stream;

using ObjectArray = GrowableArray<Object*>;

class Object : public Named, public virtual RefCounted {
public:
    static const Rtti TYPE;

    Object();
    // Detaches and releases every controller.
    ~Object() override;

    virtual const Rtti* GetRtti() const { return &TYPE; }
    // Each class saves or loads its parent's part first and stops on its
    // failure; 0 ok, 1 failed (logged).
    [[nodiscard]] virtual int32_t Save(Stream& stream);
    [[nodiscard]] virtual int32_t Load(Stream& stream);
    // This object if its name equals name, else the first match among the
    // controllers in list order, else null.
    virtual Object* FindByName(const String& name);
    // Appends this object when its type derives from type, then asks the
    // controllers in list order.
    virtual void CollectByType(const Rtti& type, ObjectArray& objects);
    // Update(time) on every controller, head first, active or not.
    virtual void UpdateControllers(double time);
    // Hands every counted link this object holds to other objects to the
    // visitor: its controllers here, and what each class adds. A link the
    // visitor asks to drop is dropped, clearing the back-pointer it had set
    // (a controller's owner, a child's parent). For walking whole graphs:
    // what a root reaches, and tearing down graphs that link themselves in
    // cycles (ObjectGraph.h).
    virtual void VisitLinks(LinkVisitor& visitor);

    // The name search and the type collection through a link: nothing for
    // a null object, nor for one whose search is already under way further
    // up, so graphs a scene file links back on themselves (an effect
    // holding the node that draws it) are searched once and the search
    // ends. Every search that follows a link goes through these.
    friend Object* FindIn(Object* object, const String& name);
    friend void CollectIn(Object* object, const Rtti& type, ObjectArray& objects);

    int32_t GetId() const { return id_; }
    // Objects constructed and not yet destroyed, process-wide.
    static int32_t GetLiveCount();
    bool IsDerivedFrom(const Rtti& type) const { return GetRtti()->IsDerivedFrom(type); }

    // Puts the controller at the head of the list and makes this object its
    // owner. 0 attached; 3 null controller; 2 out of memory.
    int32_t AttachController(Controller* controller);
    int32_t GetControllerCount() const;
    // Index 0 is the most recently attached; null when out of range.
    Controller* GetController(int32_t index) const;
    // Releases every controller; returns 0.
    int32_t DetachAllControllers();

    // The creation function of the abstract root class.
    [[nodiscard]] static int32_t CreateObject(Object** object);
    // Registers the class's initialisation and termination functions once.
    static bool RegisterClassFunctions();

protected:
    // Log an ERROR line naming the object and return 1. Messages take the
    // object's identity as (name, ID) or as (ID, name).
    int32_t FailWithNameId(const char* format) const;
    int32_t FailWithIdName(const char* format) const;
    // The shared messages for a failure of the parent class's part.
    int32_t SaveParentFailed() const;
    int32_t LoadParentFailed() const;

private:
    struct ControllerNode;

    static int32_t InitializeClass();
    static int32_t TerminateClass();

    int32_t id_;
    ControllerNode* controllers_ = nullptr;  // owned list, most recent first
    bool searching_ = false;                 // set while FindIn or CollectIn is inside
};

Object* FindIn(Object* object, const String& name);
void CollectIn(Object* object, const Rtti& type, ObjectArray& objects);

// The object as T when its type derives from T's record, else null.
template <class T>
T* CastTo(Object* object) {
    return object != nullptr && object->IsDerivedFrom(T::TYPE) ? static_cast<T*>(object) : nullptr;
}

[[maybe_unused]] static const bool zelClassRegistered_Object = Object::RegisterClassFunctions();

}  // namespace zel
