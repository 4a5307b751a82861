#pragma once

// The window, registry, picture and shell libraries are loaded on first use, and always from
// the system folder: a launch that needs none of them pays for none, and a library of the
// same name planted beside the launcher is never loaded into it.
void loadDelayedLibrariesFromSystemFolder();
