#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

// The handles a child may inherit, and no others: an explicit list given at process creation,
// so that no other inheritable handle of the launcher (or of a library in it) leaks into the
// child. Use startupInfo() with EXTENDED_STARTUPINFO_PRESENT.
class InheritedHandles {
public:
    explicit InheritedHandles(std::initializer_list<HANDLE> handles);
    ~InheritedHandles();
    InheritedHandles(const InheritedHandles&) = delete;
    InheritedHandles& operator=(const InheritedHandles&) = delete;

    // False when the list could not be made; nothing must be inherited then.
    bool ready() const { return ready_; }
    STARTUPINFOEXW& startupInfo() { return startup_; }

private:
    std::vector<HANDLE> handles_;
    std::vector<char> attributes_;
    STARTUPINFOEXW startup_{};
    bool ready_ = false;
};
