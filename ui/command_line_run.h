#pragma once
// The program started with options: the computation printed, the report page written or
// printed, all without a window.

namespace hb9cv {

// Call only with at least one option; returns the exit code.
int RunCommandLine(int argc, char** argv);

}  // namespace hb9cv
