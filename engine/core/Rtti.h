// Type record of an engine class: its stream name ("Zel." + class name) and
// the record of its parent class. One static record per class, never freed.
#pragma once

#include "engine/core/Named.h"

namespace zel {

class Rtti : public Named {
public:
    Rtti(const char* name, const Rtti* parent) : Named(String(name)), parent_(parent) {}

    const Rtti* GetParent() const { return parent_; }

    // True when base is this record or one of its ancestors.
    bool IsDerivedFrom(const Rtti& base) const {
        for (const Rtti* type = this; type != nullptr; type = type->parent_)
            if (type == &base) return true;
        return false;
    }

    // The class name without the "Zel." prefix, for messages.
    const char* GetClassName() const {
        const char* name = GetName().CStr();
        return GetName().Length() > 4 && name[3] == '.' ? name + 4 : name;
    }

private:
    const Rtti* parent_;  // not owned; static records live for the process
};

}  // namespace zel
