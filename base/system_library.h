#pragma once

#include <windows.h>

// Loads a system library by its full path in the system folder; the libraries it needs are
// looked for there first too. Null when it cannot be loaded. A library of the same name beside
// the launcher (in a downloads folder, on a share) is never loaded this way.
HMODULE loadSystemLibrary(const char* name);
