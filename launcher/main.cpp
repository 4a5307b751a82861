#include <windows.h>

#include "launcher/launch_sequence.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    return runLauncher(instance, commandLine, showCommand);
}
