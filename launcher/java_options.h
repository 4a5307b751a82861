#pragma once

#include <string>

#include "process/vm_options.h"

struct JavaRuntime;

// Settings phase: the shipped VM options (the .vmoptions file beside the launcher, else the
// vm_options setting), then the lines of the user's options file (user_vm_options) when it
// exists; variables expanded. Traces what it read.
VmOptionPieces readVmOptionPieces(const std::string& executablePath);

// Once the runtime is known: the options for its version, then -Xmx from max_heap_percent unless
// the options already set the maximum heap. Traces which options were given and why.
std::string vmOptionsForRuntime(const VmOptionPieces& pieces, const JavaRuntime& runtime);
