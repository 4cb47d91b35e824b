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

// The engine's hash: the table layout that names and IDs use everywhere.
struct EngineHash {
    uint32_t operator()(const String& key) const { return HashName(key); }
    uint32_t operator()(int32_t key) const { return HashId(key); }
};

// A hash over all four bytes of an ID, for tables that hold many consecutive
// IDs (the engine's hash puts every 256 consecutive IDs in one chain).
struct MixedIdHash {
    uint32_t operator()(int32_t key) const {
        uint32_t x = static_cast<uint32_t>(key) * 0x9E3779B1u;
        return x ^ (x >> 15);
    }
};

template <class Key, class Value, class Hash = EngineHash>
class HashTable {
public:
    static constexpr int32_t kBucketCount = 32;

    // A fixed table of 32 buckets, or, when growing, one that doubles its
    // buckets whenever it holds more than two entries per bucket, so lookups
    // stay short however many entries arrive. Growing changes the iteration
    // order, so only tables that are never iterated in order should grow.
    explicit HashTable(bool growing = false) : growing_(growing) {}
    ~HashTable() {
        Clear();
        if (buckets_ != inlineBuckets_) delete[] buckets_;
    }
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
        if (growing_ && count_ > 2 * bucketCount_) Rehash(2 * bucketCount_);
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
        for (int32_t b = 0; b < bucketCount_; ++b) {
            while (buckets_[b] != nullptr) {
                Node* next = buckets_[b]->next;
                delete buckets_[b];
                buckets_[b] = next;
            }
        }
        count_ = 0;
    }

    // Calls visit(key, value) in iteration order (buckets from 0, each chain
    // from its head); stops when it returns false.
    template <class Visitor>
    void ForEach(Visitor visit) const {
        for (int32_t b = 0; b < bucketCount_; ++b)
            for (Node* node = buckets_[b]; node != nullptr; node = node->next)
                if (!visit(node->key, node->value)) return;
    }

private:
    struct Node {
        Key key;
        Value value;
        Node* next;
    };

    int32_t Bucket(const Key& key) const { return static_cast<int32_t>(Hash()(key) % uint32_t(bucketCount_)); }

    // Moves every node to a larger bucket array; without memory the table
    // simply keeps its buckets.
    void Rehash(int32_t bucketCount) {
        Node** buckets = new (std::nothrow) Node*[bucketCount]();
        if (buckets == nullptr) return;
        Node** old = buckets_;
        int32_t oldCount = bucketCount_;
        buckets_ = buckets;
        bucketCount_ = bucketCount;
        for (int32_t b = 0; b < oldCount; ++b) {
            for (Node* node = old[b]; node != nullptr;) {
                Node* next = node->next;
                int32_t bucket = Bucket(node->key);
                node->next = buckets_[bucket];
                buckets_[bucket] = node;
                node = next;
            }
        }
        if (old != inlineBuckets_) delete[] old;
    }

    Node* inlineBuckets_[kBucketCount] = {};
    Node** buckets_ = inlineBuckets_;
    int32_t bucketCount_ = kBucketCount;
    int32_t count_ = 0;
    bool growing_;
};

template <class Value>
using NameTable = HashTable<String, Value>;
template <class Value>
using IdTable = HashTable<int32_t, Value>;

}  // namespace zel
