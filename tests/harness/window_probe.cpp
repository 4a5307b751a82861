#include "window_probe.h"

#include <cstdio>
#include <cstdlib>

namespace {

struct Collect {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM parameter) {
    auto* collect = reinterpret_cast<Collect*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == collect->processId) collect->windows.push_back(window);
    return TRUE;
}

struct ChildSearch {
    bool wantIcon;
    HWND found = nullptr;
};

BOOL CALLBACK findStatic(HWND child, LPARAM parameter) {
    auto* search = reinterpret_cast<ChildSearch*>(parameter);
    if (_stricmp(windowClass(child).c_str(), "Static") != 0) return TRUE;
    bool isIcon = (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    if (isIcon == search->wantIcon && (isIcon || !windowText(child).empty())) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

// The screen's pixels inside rect, 32 bits each.
std::vector<DWORD> capture(const RECT& rect, HDC source, int sourceX, int sourceY) {
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return pixels;
}

long difference(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
    long total = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            total += std::abs(static_cast<int>((a[i] >> shift) & 0xFF) - static_cast<int>((b[i] >> shift) & 0xFF));
    return total;
}

// The icon drawn by us on the same background as the box's icon control.
std::vector<DWORD> drawnIcon(LPCSTR which, int width, int height, DWORD background) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF));
    RECT all{0, 0, width, height};
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    DrawIconEx(memory, 0, 0, LoadIconA(nullptr, which), 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
    SelectObject(memory, old);
    RECT rect{0, 0, width, height};
    std::vector<DWORD> pixels;
    {
        HDC source = CreateCompatibleDC(screen);
        HGDIOBJ previous = SelectObject(source, bitmap);
        pixels = capture(rect, source, 0, 0);
        SelectObject(source, previous);
        DeleteDC(source);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace

std::vector<HWND> topLevelWindowsOf(DWORD processId) {
    Collect collect{processId, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&collect));
    return collect.windows;
}

std::string windowText(HWND window) {
    char text[8192] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

namespace {

std::string utf8Of(const wchar_t* text, int length) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

} // namespace

std::string wholeWindowTextUtf8(HWND window) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                        &copied);
    return utf8Of(text.data(), static_cast<int>(copied));
}

std::string clipboardTextUtf8() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* wide = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (wide) {
        text = utf8Of(wide, static_cast<int>(wcslen(wide)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

std::string windowClass(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string messageBoxText(HWND box) {
    ChildSearch search{false};
    EnumChildWindows(box, findStatic, reinterpret_cast<LPARAM>(&search));
    return search.found ? windowText(search.found) : std::string();
}

std::string messageBoxIcon(HWND box) {
    ChildSearch search{true};
    EnumChildWindows(box, findStatic, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return "none";
    RECT rect;
    GetWindowRect(search.found, &rect);
    if (rect.right <= rect.left || rect.bottom <= rect.top) return "none";
    HDC screen = GetDC(nullptr);
    std::vector<DWORD> shown = capture(rect, screen, rect.left, rect.top);
    ReleaseDC(nullptr, screen);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    DWORD background = shown.empty() ? 0 : shown.back();
    long error = difference(shown, drawnIcon(IDI_ERROR, width, height, background));
    long information = difference(shown, drawnIcon(IDI_INFORMATION, width, height, background));
    long warning = difference(shown, drawnIcon(IDI_WARNING, width, height, background));
    if (error <= information && error <= warning) return "error";
    return information <= warning ? "information" : "warning";
}

std::string rectFields(const char* prefix, const RECT& rect) {
    char text[200];
    std::snprintf(text, sizeof text, "%s=%ld,%ld,%ld,%ld", prefix, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top);
    return text;
}

bool saveScreenshot(const RECT& rect, const std::string& path) {
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    std::vector<DWORD> pixels = capture(rect, screen, rect.left, rect.top);
    ReleaseDC(nullptr, screen);
    int rowBytes = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = rowBytes * height;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::vector<unsigned char> row(rowBytes, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            DWORD pixel = pixels[static_cast<size_t>(y) * width + x];
            row[x * 3] = pixel & 0xFF;
            row[x * 3 + 1] = (pixel >> 8) & 0xFF;
            row[x * 3 + 2] = (pixel >> 16) & 0xFF;
        }
        std::fwrite(row.data(), 1, row.size(), out);
    }
    std::fclose(out);
    return true;
}
