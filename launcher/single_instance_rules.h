#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// What one instance decides apart from the system's calls.

// The marker's name for one user (the text form of its SID) and one launcher (its full path,
// case-folded by the caller so that C:\App\MyApp.exe and c:\app\MYAPP.EXE are one launcher).
std::string instanceMarkerName(const std::string& userSid, const std::string& foldedLauncherPath);

// What the choice of an application's main window looks at, for each of its top-level windows.
struct WindowFacts {
    bool visible = false;    // shown; a minimised window is still shown
    bool owned = false;      // a dialog or pop-up of another window
    bool toolWindow = false; // a floating palette, never the main window
};

// The index of the main window: the first visible one that is neither owned nor a tool window;
// nothing when the application shows no such window (yet).
std::optional<std::size_t> mainWindowIndex(const std::vector<WindowFacts>& windows);

// The marker's security descriptor (SDDL): the user may open it from any start, elevated or not,
// and so may the system; nobody else. The label, when asked for, sets the marker's integrity
// level to medium, so that a marker made by an elevated start is not out of a normal start's
// reach (objects get their creator's level otherwise).
std::string instanceMarkerSecurity(const std::string& userSid, bool mediumLabel);
