#pragma once

#include <windows.h>

#include <string>

// The security of the objects one instance shares between the starts of one user: that user
// (and the system) only, with a medium label when asked (instanceMarkerSecurity). Owns the
// descriptor; `attributes()` is null when the descriptor could not be made.
class UserOnlySecurity {
public:
    UserOnlySecurity(const std::string& userSid, bool mediumLabel);
    ~UserOnlySecurity();
    UserOnlySecurity(const UserOnlySecurity&) = delete;
    UserOnlySecurity& operator=(const UserOnlySecurity&) = delete;

    SECURITY_ATTRIBUTES* attributes() { return descriptor_ ? &attributes_ : nullptr; }

private:
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
    SECURITY_ATTRIBUTES attributes_{};
};
