#include "tools/rar2/writer/Rar2HuffmanEncoder.h"

#include <algorithm>
#include <vector>

#include "engine/core/Status.h"

namespace zel {

namespace {

// An item of one package-merge list: a leaf (symbol >= 0) or a package of
// two items of the list one level below.
struct Item {
    uint64_t weight;
    int32_t symbol;
    uint32_t left;
    uint32_t right;
};

void CountLeaves(const std::vector<std::vector<Item>>& levels, uint32_t level, uint32_t index, uint8_t* lengths) {
    const Item& item = levels[level][index];
    if (item.symbol >= 0) {
        ++lengths[item.symbol];
        return;
    }
    CountLeaves(levels, level - 1, item.left, lengths);
    CountLeaves(levels, level - 1, item.right, lengths);
}

}  // namespace

int32_t Rar2HuffmanEncoder::Build(const uint32_t* frequencies, uint32_t count, uint32_t maxLength) {
    if (count > kMaxSymbols || maxLength == 0 || maxLength > Rar2Format::kMaxCodeLength)
        return kInvalidArgument;
    count_ = count;
    std::fill(lengths_, lengths_ + kMaxSymbols, 0);

    std::vector<Item> leaves;
    for (uint32_t i = 0; i < count; ++i)
        if (frequencies[i] > 0) leaves.push_back({frequencies[i], int32_t(i), 0, 0});
    if (leaves.size() == 1) lengths_[leaves[0].symbol] = 1;
    if (leaves.size() >= 2) {
        std::stable_sort(leaves.begin(), leaves.end(),
                         [](const Item& a, const Item& b) { return a.weight < b.weight; });
        // Level k holds the leaves merged with the pairs of level k - 1;
        // the cheapest 2n - 2 items of the last level give the lengths.
        std::vector<std::vector<Item>> levels(maxLength);
        levels[0] = leaves;
        for (uint32_t level = 1; level < maxLength; ++level) {
            const std::vector<Item>& below = levels[level - 1];
            std::vector<Item>& list = levels[level];
            size_t l = 0;
            size_t p = 0;
            size_t pairs = below.size() / 2;
            while (l < leaves.size() || p < pairs) {
                uint64_t packed = p < pairs ? below[2 * p].weight + below[2 * p + 1].weight : 0;
                if (p >= pairs || (l < leaves.size() && leaves[l].weight <= packed)) {
                    list.push_back(leaves[l++]);
                } else {
                    list.push_back({packed, -1, uint32_t(2 * p), uint32_t(2 * p + 1)});
                    ++p;
                }
            }
        }
        size_t take = std::min(2 * leaves.size() - 2, levels[maxLength - 1].size());
        for (size_t i = 0; i < take; ++i) CountLeaves(levels, maxLength - 1, uint32_t(i), lengths_);
    }
    AssignCodes();
    return kOk;
}

void Rar2HuffmanEncoder::SetLengths(const uint8_t* lengths, uint32_t count) {
    count_ = count < kMaxSymbols ? count : kMaxSymbols;
    std::copy(lengths, lengths + count_, lengths_);
    AssignCodes();
}

// Canonical order: by length, then by symbol; shorter codes are smaller.
void Rar2HuffmanEncoder::AssignCodes() {
    uint32_t perLength[Rar2Format::kMaxCodeLength + 1] = {};
    for (uint32_t i = 0; i < count_; ++i) ++perLength[lengths_[i]];
    perLength[0] = 0;
    uint32_t next[Rar2Format::kMaxCodeLength + 1] = {};
    uint32_t code = 0;
    for (uint32_t n = 1; n <= Rar2Format::kMaxCodeLength; ++n) {
        code = (code + perLength[n - 1]) << 1;
        next[n] = code;
    }
    for (uint32_t i = 0; i < count_; ++i)
        if (lengths_[i] != 0) codes_[i] = uint16_t(next[lengths_[i]]++);
}

}  // namespace zel
