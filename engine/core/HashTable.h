// The engine's hash tables: 32 buckets of singly linked chains. New keys are
// appended at the end of their chain; iteration runs over buckets 0..31 and
// along each chain from its head. A key already present is refused.
#pragma once

#include <cstdint>
#include <new>

#include "engine/core/Status.h"
#include "engine/core/String.h"

namespace zel {

// Folds the bytes from the last down to the second (the first takes no part).
inline uint32_t HashName(const String& key) {
    uint32_t h = 0;
    for (int32_t i = key.Length() - 1; i >= 1; --i)
        h = (h << 2) | static_cast<uint8_t>(key[i]);
    return h;
}

// Folds bytes 3, 2 and 1 of the value (the least significant takes no part).
inline uint32_t HashId(int32_t key) {
    uint32_t value = static_cast<uint32_t>(key);
    uint32_t h = 0;
    for (int shift = 24; shift >= 8; shift -= 8)
        h = (h << 2) | ((value >> shift) & 0xFF);
    return h;
}

inline uint32_t HashKey(const String& key) { return HashName(key); }
inline uint32_t HashKey(int32_t key) { return HashId(key); }

template <class Key, class Value>
class HashTable {
public:
    static constexpr int32_t kBucketCount = 32;

    HashTable() = default;
    ~HashTable() { Clear(); }
    HashTable(const HashTable&) = delete;
    HashTable& operator=(const HashTable&) = delete;

    int32_t Count() const { return count_; }

    // kOk inserted; kInvalidArgument the key is present; kOutOfMemory.
    int32_t Insert(const Key& key, const Value& value) {
        Node** link = &buckets_[Bucket(key)];
        for (; *link != nullptr; link = &(*link)->next)
            if ((*link)->key == key) return kInvalidArgument;
        Node* node = new (std::nothrow) Node{key, value, nullptr};
        if (node == nullptr) return kOutOfMemory;
        *link = node;
        ++count_;
        return kOk;
    }

    // The stored value for key, or null.
    Value* Find(const Key& key) {
        for (Node* node = buckets_[Bucket(key)]; node != nullptr; node = node->next)
            if (node->key == key) return &node->value;
        return nullptr;
    }
    const Value* Find(const Key& key) const { return const_cast<HashTable*>(this)->Find(key); }

    // False when the key is absent.
    bool Remove(const Key& key) {
        for (Node** link = &buckets_[Bucket(key)]; *link != nullptr; link = &(*link)->next) {
            if ((*link)->key == key) {
                Node* node = *link;
                *link = node->next;
                delete node;
                --count_;
                return true;
            }
        }
        return false;
    }

    void Clear() {
        for (Node*& head : buckets_) {
            while (head != nullptr) {
                Node* next = head->next;
                delete head;
                head = next;
            }
        }
        count_ = 0;
    }

    // Calls visit(key, value) in iteration order; stops when it returns false.
    template <class Visitor>
    void ForEach(Visitor visit) const {
        for (Node* head : buckets_)
            for (Node* node = head; node != nullptr; node = node->next)
                if (!visit(node->key, node->value)) return;
    }

private:
    struct Node {
        Key key;
        Value value;
        Node* next;
    };

    static int32_t Bucket(const Key& key) { return static_cast<int32_t>(HashKey(key) % kBucketCount); }

    Node* buckets_[kBucketCount] = {};
    int32_t count_ = 0;
};

template <class Value>
using NameTable = HashTable<String, Value>;
template <class Value>
using IdTable = HashTable<int32_t, Value>;

}  // namespace zel
