#pragma once
// Named arrays (up to three dimensions, declared like variables) and the four
// whole-array variables, with their elements in eight pools of 32768 elements each.
#include <cstdint>
#include <string_view>

#include "core/short_string.h"

namespace morven {

// A reference to one element of a named array: exactly one pointer is set.
struct ElementRef {
  int32_t* integer = nullptr;  // % and & arrays
  double* floating = nullptr;
  ShortString* string = nullptr;
  char type = 0;  // the array's suffix
};

// From 0xCC: name (upper case, suffix last) and the text between its brackets.
void DeclareNamedArray(std::string_view name, std::string_view dimensions);

// text is "NAME[i,j,k]" (upper case). Fills the registers with the element's value
// (every array of that name has its bounds checked) and returns true; false when no
// array of that name exists.
bool ReadArrayElement(std::string_view text);

// The element an assignment writes: the newest array of that name, only its bounds
// checked. false when no array of that name exists.
bool FindElementForAssignment(std::string_view text, ElementRef& element);

// Whole-array commands and functions.
void DimIntegerArrayCommand();
void DimLongArrayCommand();
void DimFloatArrayCommand();
void DimStringArrayCommand();
void StoreIntegerElementCommand();
void StoreLongElementCommand();
void StoreFloatElementCommand();
void StoreStringElementCommand();
void IntegerElementFunction();
void LongElementFunction();
void FloatElementFunction();
void StringElementFunction();

}  // namespace morven
