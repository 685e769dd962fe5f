#pragma once
// ReadArgument: the only way handlers and functions consume argument text. Each call
// takes the next argument from the front of RestOfLine, evaluates it and leaves its
// value in the value registers.
#include <cstdint>

namespace morven {

enum ArgumentKind : uint8_t {
  kKindAny = 0,
  kKindString = 1,
  kKindNumber = 2,
  kKindRawString = 9,  // a string in which only the "\\" escape is processed
};

// context: ' ' the rest of the line; 'p' the list context (the first top-level ",",
// ";" or "+"); any other character: its first top-level occurrence.
void ReadArgument(char context, uint8_t kind);

// Four numbers written "a,b-c,d" (two corners, or a position and a size), the last
// one ending at `last_context`; their integer forms.
void ReadCorners(char last_context, int32_t corners[4]);

}  // namespace morven
