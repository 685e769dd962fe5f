#pragma once
// The loader: chooses the program file, checks its header, descrambles its lines into
// LineTable. Every failure shows its own box and ends the process.
namespace morven {

// argc/argv of the process; argv[1] names the program (further arguments belong to it).
void LoadProgram(int argc, char** argv);

}  // namespace morven
