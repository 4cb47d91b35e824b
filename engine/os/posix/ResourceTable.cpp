#include "engine/os/posix/ResourceTable.h"

#include <cstring>
#include <new>

#include <string>

namespace zel::os {

namespace {

struct Resource {
    int32_t id;
    std::string type;
    uint8_t* bytes;  // owned
    uint32_t size;
    Resource* next;
};

// Plain pointer: usable from static initialisers of any translation unit.
Resource* gResources = nullptr;

Resource** FindLink(int32_t id, const char* type) {
    Resource** link = &gResources;
    for (; *link != nullptr; link = &(*link)->next)
        if ((*link)->id == id && (*link)->type == type) break;
    return link;
}

}  // namespace

bool ResourceTable::Add(int32_t id, const char* type, const void* bytes, uint32_t size) {
    if (type == nullptr || (bytes == nullptr && size != 0)) return false;
    uint8_t* copy = new (std::nothrow) uint8_t[size == 0 ? 1 : size];
    if (copy == nullptr) return false;
    if (size != 0) std::memcpy(copy, bytes, size);
    Resource** link = FindLink(id, type);
    if (*link == nullptr) {
        *link = new (std::nothrow) Resource{id, std::string(type), nullptr, 0, nullptr};
        if (*link == nullptr) {
            delete[] copy;
            return false;
        }
    }
    delete[] (*link)->bytes;
    (*link)->bytes = copy;
    (*link)->size = size;
    return true;
}

bool ResourceTable::Remove(int32_t id, const char* type) {
    if (type == nullptr) return false;
    Resource** link = FindLink(id, type);
    Resource* resource = *link;
    if (resource == nullptr) return false;
    *link = resource->next;
    delete[] resource->bytes;
    delete resource;
    return true;
}

bool ResourceTable::Find(int32_t id, const char* type, const uint8_t** data, uint32_t* size) {
    if (type == nullptr) return false;
    Resource* resource = *FindLink(id, type);
    if (resource == nullptr) return false;
    *data = resource->bytes;
    *size = resource->size;
    return true;
}

}  // namespace zel::os
