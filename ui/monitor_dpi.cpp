#include "ui/monitor_dpi.h"

#include <windows.h>

#include "base/system_library.h"

namespace {

// MDT_EFFECTIVE_DPI of shellscalingapi.h: the DPI that the user's scale setting gives.
constexpr int EffectiveDpi = 0;

using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

class LoadedLibrary {
public:
    explicit LoadedLibrary(const char* name) : module_(loadSystemLibrary(name)) {}
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    ~LoadedLibrary() {
        if (module_) FreeLibrary(module_);
    }
    FARPROC function(const char* name) const { return module_ ? GetProcAddress(module_, name) : nullptr; }

private:
    HMODULE module_;
};

// 0 when the system has no per-monitor DPI (shcore.dll came with Windows 8.1).
unsigned perMonitorDpi(HMONITOR monitor) {
    LoadedLibrary shcore("shcore.dll");
    auto getDpiForMonitor =
        reinterpret_cast<GetDpiForMonitorFunction>(reinterpret_cast<void*>(shcore.function("GetDpiForMonitor")));
    UINT x = 0, y = 0;
    if (!getDpiForMonitor || getDpiForMonitor(monitor, EffectiveDpi, &x, &y) != S_OK) return 0;
    return x;
}

unsigned systemDpi() {
    HDC screen = GetDC(nullptr);
    if (!screen) return 96;
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned>(dpi) : 96;
}

} // namespace

unsigned primaryMonitorDpi() {
    HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    unsigned dpi = primary ? perMonitorDpi(primary) : 0;
    return dpi ? dpi : systemDpi();
}
