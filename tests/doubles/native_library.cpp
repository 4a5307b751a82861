// A native library of an application (as Java loads one through JNI) that needs another library
// beside it: loading it by name succeeds only where the loader's search reaches both.
#include <windows.h>

extern "C" __declspec(dllimport) int nativeDependencyAnswer();

extern "C" __declspec(dllexport) int nativeLibraryAnswer() { return nativeDependencyAnswer(); }

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
