// Named arrays: a table of up to 499 records whose elements lie in the named pools,
// element (i, j, k) at base + i + (b1 + 1) * j + (b1 + 1) * (b2 + 1) * k.
#include <string>
#include <vector>

#include "core/argument_reader.h"
#include "core/arrays.h"
#include "core/element_pools.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "core/text_ops.h"
#include "errors/run_error.h"

namespace morven {
namespace {

constexpr int32_t kMaxNamedArrays = 499;

struct NamedArray {
  char type = 0;
  ShortString name;
  int32_t bounds[3] = {0, 0, 0};
  int32_t count = 0;
  int32_t base = 0;
};

std::vector<NamedArray> g_arrays;  // in order of declaration

// Reads up to three numbers from `text` (dimension or index text) as RestOfLine,
// restoring RestOfLine and ArgSeparator afterwards.
void ReadThreeNumbers(std::string_view text, int32_t values[3]) {
  std::string_view kept_rest = RestOfLine;
  char kept_separator = ArgSeparator;
  char buffer[kShortStringMax + 1];
  size_t n = text.size() < kShortStringMax ? text.size() : kShortStringMax;
  text.copy(buffer, n);
  buffer[n] = ',';
  RestOfLine = std::string_view(buffer, n + 1);
  values[0] = values[1] = values[2] = 0;
  for (int i = 0; i < 3; ++i) {
    if (i > 0 && RestOfLine.empty()) break;
    ReadArgument(',', kKindAny);
    values[i] = LongValue;
  }
  if (!RestOfLine.empty()) RunError(254, "");
  RestOfLine = kept_rest;
  ArgSeparator = kept_separator;
}

struct ElementAddress {
  ShortString name;
  int32_t index[3];
};

// Splits "NAME[i,j,k]" and evaluates the indexes.
ElementAddress ParseElement(std::string_view text) {
  ElementAddress a;
  size_t open = text.find('[');
  if (open == std::string_view::npos) RunError(122, text);
  a.name.Assign(TrimBlanks(text.substr(0, open)));
  std::string_view inside = text.substr(open + 1);
  if (!inside.empty() && inside.back() == ']') inside.remove_suffix(1);
  if (inside.size() > 32) inside = inside.substr(0, 32);
  const ShortString indexes(TrimBlanks(inside));
  ReadThreeNumbers(indexes.View(), a.index);
  return a;
}

bool InBounds(const NamedArray& array, const int32_t index[3]) {
  for (int d = 0; d < 3; ++d)
    if (index[d] < 0 || index[d] > array.bounds[d]) return false;
  return true;
}

int32_t PoolIndex(const NamedArray& array, const int32_t index[3]) {
  int32_t b1 = array.bounds[0] + 1;
  int32_t b2 = array.bounds[1] + 1;
  return array.base + index[0] + b1 * index[1] + b1 * b2 * index[2];
}

ElementRef RefOf(const NamedArray& array, int32_t pool_index) {
  ElementRef ref;
  ref.type = array.type;
  switch (array.type) {
    case '%': ref.integer = &NamedIntegerPool.At(pool_index); break;
    case '&': ref.integer = &NamedLongPool.At(pool_index); break;
    case '!': ref.floating = &NamedFloatPool.At(pool_index); break;
    default: ref.string = &NamedStringPool.At(pool_index); break;
  }
  return ref;
}

// Reserves `count` elements in the pool of `type`; false when they do not fit.
bool Reserve(char type, int32_t count, int32_t& base) {
  switch (type) {
    case '%': return NamedIntegerPool.Reserve(count, base);
    case '&': return NamedLongPool.Reserve(count, base);
    case '!': return NamedFloatPool.Reserve(count, base);
    default: return NamedStringPool.Reserve(count, base);
  }
}

}  // namespace

void DeclareNamedArray(std::string_view name, std::string_view dimensions) {
  if (static_cast<int32_t>(g_arrays.size()) >= kMaxNamedArrays) RunError(253, "");
  NamedArray array;
  array.type = name.back();
  array.name.Assign(name);
  const ShortString dims(dimensions);
  ReadThreeNumbers(dims.View(), array.bounds);
  // A negative bound leaves the array without elements: every index is out of bounds.
  int64_t count = 1;
  for (int32_t b : array.bounds) count = b < 0 ? 0 : count * (static_cast<int64_t>(b) + 1);
  if (count > kPoolCapacity ||
      !Reserve(array.type, static_cast<int32_t>(count), array.base)) {
    ShortString detail;
    if (array.type == '$') detail.Append(' ');
    detail.Append(RestOfLine);
    RunError(232, detail.View());
  }
  array.count = static_cast<int32_t>(count);
  g_arrays.push_back(array);
}

bool ReadArrayElement(std::string_view text) {
  const ShortString copy(text);
  ElementAddress a = ParseElement(copy.View());
  const NamedArray* newest = nullptr;
  for (const NamedArray& array : g_arrays) {
    if (array.name.View() != a.name.View()) continue;
    if (!InBounds(array, a.index)) RunError(233, "");
    newest = &array;
  }
  if (newest == nullptr) {
    StringValue = a.name;
    return false;
  }
  ElementRef ref = RefOf(*newest, PoolIndex(*newest, a.index));
  if (ref.string != nullptr) LoadString(*ref.string);
  else if (ref.floating != nullptr) LoadFloat(*ref.floating);
  else LoadInteger(*ref.integer, ref.type == '%' ? kTypeInteger : kTypeLong);
  return true;
}

bool FindElementForAssignment(std::string_view text, ElementRef& element) {
  const ShortString copy(text);
  ElementAddress a = ParseElement(copy.View());
  for (auto it = g_arrays.rbegin(); it != g_arrays.rend(); ++it) {
    if (it->name.View() != a.name.View()) continue;
    if (!InBounds(*it, a.index)) RunError(233, "");
    element = RefOf(*it, PoolIndex(*it, a.index));
    return true;
  }
  return false;
}

}  // namespace morven
