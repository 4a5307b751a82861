#include "launcher/user_only_security.h"

#include <sddl.h>

#include "base/text_encoding.h"
#include "launcher/single_instance_rules.h"

UserOnlySecurity::UserOnlySecurity(const std::string& userSid, bool mediumLabel) {
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(widen(instanceMarkerSecurity(userSid, mediumLabel)).c_str(),
                                                              SDDL_REVISION_1, &descriptor_, nullptr))
        descriptor_ = nullptr;
    attributes_ = SECURITY_ATTRIBUTES{sizeof attributes_, descriptor_, FALSE};
}

UserOnlySecurity::~UserOnlySecurity() {
    // The descriptor was allocated by the conversion, which documents LocalFree for it. Callers
    // read the last error of the call made with it after this ends.
    DWORD error = GetLastError();
    if (descriptor_) LocalFree(descriptor_);
    SetLastError(error);
}
