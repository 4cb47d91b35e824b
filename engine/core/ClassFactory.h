// The class factory table: type name ("Zel.SceneNode") to creation function.
// Streams use it to create objects by the type name they read.
#pragma once

#include <cstdint>

#include "engine/core/String.h"

namespace zel {

class Object;

// Stores a new default-constructed object (empty name) and returns 0;
// 2 when memory could not be allocated; 1 for an abstract class.
using CreateFunction = int32_t (*)(Object** object);

// False when the name is already present (the first function stays).
bool RegisterClass(const String& typeName, CreateFunction create);
void UnregisterClass(const String& typeName);
// The creation function for typeName, or null.
CreateFunction FindCreateFunction(const String& typeName);
// Calls visit(typeName, create) for every registered class, in no
// particular order.
void ForEachClass(void (*visit)(const String& typeName, CreateFunction create, void* context), void* context);

}  // namespace zel
