// A manager's registry of named, reference-counted objects (modules,
// codecs): a name table whose entries each hold one reference, taken on a
// successful insert, so a refused registration never releases the caller's
// object. The table exists between the manager's initialisation and
// termination; before and after, lookups find nothing and registrations are
// refused.
#pragma once

#include <new>

#include "engine/core/HashTable.h"
#include "engine/core/Log.h"
#include "engine/core/Status.h"
#include "engine/core/String.h"

namespace zel {

template <class T>
class CountedRegistry {
public:
    // The manager's warnings; the last two take the object's name.
    struct Texts {
        const char* nullObject;
        const char* duplicate;
        const char* notInserted;
    };

    explicit constexpr CountedRegistry(const Texts& texts) : texts_(texts) {}

    // Creates the table if absent. False when memory runs out.
    [[nodiscard]] bool Create() {
        if (table_ == nullptr) table_ = new (std::nothrow) NameTable<T*>();
        return table_ != nullptr;
    }

    // Releases every entry in iteration order, then the table. The table is
    // detached first: releasing an object may look the registry up.
    void Destroy() {
        NameTable<T*>* table = table_;
        table_ = nullptr;
        if (table == nullptr) return;
        table->ForEach([](const String&, T* object) {
            object->RemoveReference();
            return true;
        });
        delete table;
    }

    // Enters the object under its own name, taking a reference. kOk;
    // kInvalidArgument for null; kFailed for a name already registered (the
    // first stays) or a refused insert. Failures are logged.
    int32_t Register(T* object) {
        if (object == nullptr) {
            LogWarning("%s", texts_.nullObject);
            return kInvalidArgument;
        }
        if (Find(object->GetName()) != nullptr) {
            LogWarning(texts_.duplicate, object->GetName().CStr());
            return kFailed;
        }
        if (table_ == nullptr || table_->Insert(object->GetName(), object) != kOk) {
            LogWarning(texts_.notInserted, object->GetName().CStr());
            return kFailed;
        }
        object->AddReference();
        return kOk;
    }

    // The registered object of that name, or null.
    T* Find(const String& name) const {
        if (table_ == nullptr) return nullptr;
        T** found = table_->Find(name);
        return found != nullptr ? *found : nullptr;
    }

    // The number of entries; -1 while there is no table.
    int32_t Count() const { return table_ != nullptr ? table_->Count() : -1; }

    // Calls visit(object) for each entry until it returns false.
    template <class Visit>
    void ForEach(Visit visit) const {
        if (table_ != nullptr) table_->ForEach([&](const String&, T* object) { return visit(object); });
    }

private:
    Texts texts_;
    NameTable<T*>* table_ = nullptr;  // plain pointer: usable from any static initialiser
};

}  // namespace zel
