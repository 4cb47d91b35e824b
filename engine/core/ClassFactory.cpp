#include "engine/core/ClassFactory.h"

#include "engine/core/HashTable.h"

namespace zel {

namespace {
// Created on first use, which is during static initialisation or later.
NameTable<CreateFunction>& FactoryTable() {
    static NameTable<CreateFunction> table;
    return table;
}
}  // namespace

bool RegisterClass(const String& typeName, CreateFunction create) {
    return FactoryTable().Insert(typeName, create) == kOk;
}

void UnregisterClass(const String& typeName) { FactoryTable().Remove(typeName); }

CreateFunction FindCreateFunction(const String& typeName) {
    CreateFunction* create = FactoryTable().Find(typeName);
    return create != nullptr ? *create : nullptr;
}

void ForEachClass(void (*visit)(const String& typeName, CreateFunction create, void* context), void* context) {
    FactoryTable().ForEach([&](const String& name, CreateFunction create) {
        visit(name, create, context);
        return true;
    });
}

}  // namespace zel
