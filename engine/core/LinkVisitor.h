// A walk over the counted links objects hold to other objects, without
// knowing their classes: each class's VisitLinks hands every link it holds
// to the visitor, which may ask for it to be dropped. Marking what a root
// reaches and tearing a graph down are both such walks.
#pragma once

#include "engine/core/GrowableArray.h"
#include "engine/core/Pointer.h"

namespace zel {

class Object;

class LinkVisitor {
public:
    virtual ~LinkVisitor() = default;
    // Called with each linked object (never null). True asks the holder to
    // drop the link; a visitor that asks takes its own reference first.
    virtual bool Visit(Object* linked) = 0;
};

// A link field handed to the visitor, dropped when it asks.
template <class T>
void VisitLink(Pointer<T>& link, LinkVisitor& visitor) {
    if (link != nullptr && visitor.Visit(static_cast<Object*>(link.Get()))) link = nullptr;
}

// Each link of an array handed to the visitor; the dropped ones leave the
// array.
template <class T>
void VisitLinkArray(GrowableArray<Pointer<T>>& links, LinkVisitor& visitor) {
    for (int32_t i = 0; i < links.Count();) {
        VisitLink(links[i], visitor);
        if (links[i] == nullptr) links.RemoveAt(i);
        else ++i;
    }
}

}  // namespace zel
