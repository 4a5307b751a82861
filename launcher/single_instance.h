#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "base/unique_handle.h"
#include "launcher/single_instance_rules.h"

// One instance: the marker of a launcher's running application is a named file mapping in the
// session's own namespace ("Local\"), named after the user and the launcher's full path, that
// holds the application's process id. The launcher and the application each hold a handle to
// it, so it lives as long as either does: also when a launcher that does not stay has ended.

// The marker this launcher holds for its application. Empty (and then doing nothing) when the
// system gave no marker: the launcher goes on without one instance.
class InstanceMarker {
public:
    InstanceMarker() = default;
    InstanceMarker(UniqueHandle mapping, void* view);
    InstanceMarker(InstanceMarker&& other) noexcept;
    InstanceMarker& operator=(InstanceMarker&& other) noexcept;
    ~InstanceMarker();

    // Records the started application: its process id, and a handle to the marker in the
    // application's process, so that the marker lives until the application ends.
    void recordApplication(HANDLE process, DWORD processId);
    // The application is about to be started again: a second start now waits for its window
    // instead of taking the ended application's place.
    void recordRestart();
    // The pipe this application's later starts hand their arguments over; empty without one.
    std::string laterStartChannel() const;

private:
    UniqueHandle mapping_;
    void* view_ = nullptr;
};

// How long a second start waits for the running application's main window.
constexpr DWORD WaitForRunningWindowMilliseconds = 5000;

// Takes the marker for this launcher (its own full path names it), or finds the application that another start of it runs
// and brings its main window to the front (restored when minimised), waiting up to
// WaitForRunningWindowMilliseconds for a window to appear. Nothing when another application
// runs: this start must then not start one, and hands that application the arguments of its
// command-line `tail`.
std::optional<InstanceMarker> claimSingleInstance(const std::string& tail);
