// The library that native_library depends on; it lies beside it in the working directory.
#include <windows.h>

extern "C" __declspec(dllexport) int nativeDependencyAnswer() { return 42; }

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
