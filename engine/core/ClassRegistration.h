// Registration of engine classes with the class factory.
//
// A class header declares its type record with ZEL_DECLARE_RTTI and, after
// the class, registers it with ZEL_REGISTER_CLASS (concrete) or
// ZEL_REGISTER_ABSTRACT_CLASS. Every translation unit that includes the
// header then asks, from its static initialiser, for the class's
// initialisation and termination functions to be registered; a once-flag
// makes that happen exactly once. The class's source defines the record
// with ZEL_DEFINE_RTTI(Class, Parent).
#pragma once

#include <new>

#include "engine/core/ClassFactory.h"
#include "engine/core/Engine.h"
#include "engine/core/Log.h"
#include "engine/core/Rtti.h"
#include "engine/core/Status.h"

#define ZEL_DECLARE_RTTI                                            \
public:                                                             \
    static const ::zel::Rtti TYPE;                                  \
    const ::zel::Rtti* GetRtti() const override { return &TYPE; }

#define ZEL_DEFINE_RTTI(Class, Parent) const ::zel::Rtti Class::TYPE("Zel." #Class, &Parent::TYPE);

namespace zel {

template <class T>
[[nodiscard]] int32_t CreateConcreteObject(Object** object) {
    T* created = new (std::nothrow) T();
    if (created == nullptr) return kOutOfMemory;
    *object = created;
    return kOk;
}

// Abstract classes are in the table so that their names are known, but a
// stream naming one cannot create it.
template <class T>
[[nodiscard]] int32_t CreateAbstractObject(Object**) {
    LogCritical("Создание объекта абстрактного класса [%s].", T::TYPE.GetClassName());
    return kFailed;
}

template <class T, bool IsAbstract>
class ClassRegistrar {
public:
    static bool Register() {
        if (!registered_) {
            RegisterInitFunction(&Initialize);
            RegisterTermFunction(&Terminate);
            registered_ = true;
        }
        return true;
    }

    // 0 inserted; 1 the type name was already in the table.
    [[nodiscard]] static int32_t Initialize() {
        CreateFunction create;
        if constexpr (IsAbstract)
            create = &CreateAbstractObject<T>;
        else
            create = &CreateConcreteObject<T>;
        return RegisterClass(T::TYPE.GetName(), create) ? kOk : kFailed;
    }

    static int32_t Terminate() {
        UnregisterClass(T::TYPE.GetName());
        return kOk;
    }

private:
    static inline bool registered_ = false;  // the once-flag
};

}  // namespace zel

#define ZEL_REGISTER_CLASS(Class) \
    [[maybe_unused]] static const bool zelClassRegistered_##Class = ::zel::ClassRegistrar<Class, false>::Register();
#define ZEL_REGISTER_ABSTRACT_CLASS(Class) \
    [[maybe_unused]] static const bool zelClassRegistered_##Class = ::zel::ClassRegistrar<Class, true>::Register();
