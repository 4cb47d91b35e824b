// Base of everything that carries a name.
#pragma once

#include "engine/core/String.h"

namespace zel {

class Named {
public:
    Named() = default;
    explicit Named(const String& name) : name_(name) {}
    virtual ~Named() = default;

    virtual void SetName(const String& name) { name_ = name; }
    const String& GetName() const { return name_; }

private:
    String name_;
};

}  // namespace zel
