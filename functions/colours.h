#pragma once
// Colour numbers: 24-bit (red + 256 green + 65536 blue) when TrueColorMode is set,
// otherwise 15-bit (red + 32 green + 1024 blue, components 0 to 31).
namespace morven {

extern bool TrueColorMode;

}  // namespace morven
