#pragma once

// Libraries come from the system folder only. The window, registry, picture and shell libraries
// are loaded on first use, by full path from the system folder, so a launch that needs none of
// them pays for none. Should that load fail, the loader's own search by name follows; with the
// system's default directories limited to the system folder (Windows 8 and later, Windows 7
// with its loader update) that search, too, never reaches a library planted beside the launcher.
// Where that setting is missing, the current directory is taken out of the search instead.
void loadLibrariesFromSystemFolderOnly();

// Children inherit a changed library search (the fallback above): this gives them the system's
// default search again. Call it before the first child is started.
void restoreLibrarySearchForChildren();
