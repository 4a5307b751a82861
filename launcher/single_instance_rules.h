#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// What one instance decides apart from the system's calls.

// The marker's name for one user (the text form of its SID) and one launcher (its full path,
// case-folded by the caller so that C:\App\MyApp.exe and c:\app\MYAPP.EXE are one launcher).
std::string instanceMarkerName(const std::string& userSid, const std::string& foldedLauncherPath);

// What the choice of the window to bring forward looks at, for each of the application's windows
// (applicationWindows: the visible top-level ones, a minimised window among them).
struct WindowFacts {
    bool owned = false;      // a dialog or pop-up of another window
    bool toolWindow = false; // a floating palette or a splash picture, never the main window
};

// The index of the window a second start brings to the front: the main window, the first that is
// neither owned nor a tool window. While the application is still coming up its main window is
// waited for; on the last look, an application without one has its first window brought forward
// (a dialog shown without a main window). Nothing when there is none of either.
std::optional<std::size_t> windowToBringForward(const std::vector<WindowFacts>& windows, bool lastLook);

// The marker's security descriptor (SDDL): the user may open it from any start, elevated or not,
// and so may the system; nobody else. The label, when asked for, sets the marker's integrity
// level to medium, so that a marker made by an elevated start is not out of a normal start's
// reach (objects get their creator's level otherwise).
std::string instanceMarkerSecurity(const std::string& userSid, bool mediumLabel);
