#include "launcher/launch_state.h"

#include <ole2.h>
#include <olectl.h>

LaunchState::LaunchState() : outputEnded(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

LaunchState::~LaunchState() {
    if (splashPicture) splashPicture->Release();
}

LaunchState& launchState() {
    static LaunchState state;
    return state;
}
