#pragma once

namespace morven {

// morven bind PROGRAM.mvc OUTPUT [--runtime PATH]: writes a stand-alone executable.
// argv[0] is "bind". Returns the process exit code.
int RunBind(int argc, char** argv);

}  // namespace morven
