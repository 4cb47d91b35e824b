// Prints an object graph as text: one object per line, indented two spaces
// per level, as its type record name, its name in double quotes and its
// main fields; the objects it links to follow one level deeper. An object
// met again is printed as "= type "name"" and not expanded.
#pragma once

#include <cstdio>
#include <string>
#include <unordered_set>

namespace zel {

class Object;

class SceneDumper {
public:
    // Not owning: the caller keeps the stream open.
    explicit SceneDumper(std::FILE* out) : out_(out) {}

    void Dump(Object* root);

private:
    void DumpObject(Object* object, int depth);
    void DumpLinks(Object* object, int depth);
    void DumpLink(Object* object, int depth) {
        if (object != nullptr) DumpObject(object, depth);
    }
    // The main fields, each as " key=value".
    static std::string Fields(Object* object);

    std::FILE* out_;
    std::unordered_set<const Object*> seen_;
};

}  // namespace zel
