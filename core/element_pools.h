#pragma once
// The eight element pools: one per type for named arrays and one per type for the
// whole-array variables, each with room for 32768 elements and a highest used index.
#include <cstdint>
#include <vector>

#include "core/short_string.h"

namespace morven {

constexpr int32_t kPoolCapacity = 32768;

template <typename Element>
class ElementPool {
 public:
  // Appends `count` initial elements; false when the pool would pass its capacity.
  bool Reserve(int32_t count, int32_t& base) {
    if (highest_ + count > kPoolCapacity - 1) return false;
    base = highest_ + 1;
    highest_ += count;
    elements_.resize(static_cast<size_t>(highest_ + 1));
    return true;
  }
  Element& At(int32_t index) { return elements_[static_cast<size_t>(index)]; }
  int32_t Highest() const { return highest_; }

 private:
  std::vector<Element> elements_;
  int32_t highest_ = -1;
};

extern ElementPool<int32_t> NamedIntegerPool;
extern ElementPool<int32_t> NamedLongPool;
extern ElementPool<double> NamedFloatPool;
extern ElementPool<ShortString> NamedStringPool;
extern ElementPool<int32_t> WholeIntegerArray;
extern ElementPool<int32_t> WholeLongArray;
extern ElementPool<double> WholeFloatArray;
extern ElementPool<ShortString> WholeStringArray;

}  // namespace morven
