// Runs a launcher under test as a user would and reports what it did, one line per event:
//   trace     each debugger string of the launcher, in order
//   box       each message box: caption, text, icon, whether the splash was visible (and shown=
//             minimised or maximised when it is); then OK
//   splash    the splash window when first visible (position, size, minimised, extended style),
//             splash-hidden
//   dialog    the cannot-start dialog: caret, heading, caption, text, geometry, styles; then the
//             chosen actions
//   report    the start-failure report: caption, whole text (UTF-8), buttons, styles; then the
//             chosen actions (copy: "clipboard" with the clipboard's text; resize: "report-resized";
//             copy-held, copy-held-briefly: copy while the harness holds the clipboard, then
//             "box" for the launcher's message box when there is one, and "clipboard")
//   exit      the launcher's exit code and how long it ran (or "timeout")
// trace and exit lines also carry t=, the system's tick count when the harness took them, to
// tell where time went when a run is slow.
// Options (before "--", the launcher and its arguments follow it):
//   --cwd DIR --show N --timeout MS --registry FILE --env NAME=VALUE --decoy COMMANDLINE
//   --dialog-actions ok|enter|esc|link,... --box-action ok|none --wait-children MS
//   --splash-shot FILE.bmp --dialog-shot FILE.bmp
//   --decoy-wait MS: how long the decoy runs before the launcher starts (default 1500)
//   --take-foreground TITLE: before the launcher starts, wait for a visible window with this
//     title, then make a window of our own the foreground window ("foreground-before", with
//     whether that window is minimised); after the
//     launcher has ended, "foreground" reports the foreground window (title, minimised)
//   --report-actions copy|copy-held|copy-held-briefly|resize|close,... --report-shot FILE.bmp
// "harness --hold-desktop" only keeps the desktop in use until it is ended (see wine_session.py).
// "harness --physical-memory" prints the physical memory in bytes as the system reports it to
// programs (GlobalMemoryStatusEx), so tests can work out the heap figures the launcher derives.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "debug_listener.h"
#include "report.h"
#include "window_probe.h"

namespace {

struct Options {
    std::string workingDirectory;
    int show = -1;
    DWORD timeout = 30000;
    std::string registryFile;
    std::vector<std::string> environment;
    std::string decoy;
    DWORD decoyWait = 1500;
    std::vector<std::string> dialogActions{"ok"};
    std::string boxAction = "ok";
    DWORD waitChildren = 0;
    std::string splashShot;
    std::string dialogShot;
    std::string takeForeground;
    std::vector<std::string> reportActions{"close"};
    std::string reportShot;
    std::string commandLine;
};

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t at = 0;
    for (;;) {
        size_t end = text.find(separator, at);
        parts.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos) return parts;
        at = end + 1;
    }
}

std::wstring wide(const std::string& utf8) {
    int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), size);
    return text;
}

std::string utf8(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// Rebuilds the launcher's command line from our own wide one, so its quoting and every
// character reach it unchanged.
std::string commandLineAfterSeparator() {
    std::string line = utf8(GetCommandLineW());
    size_t marker = line.find(" -- ");
    return marker == std::string::npos ? std::string() : line.substr(marker + 4);
}

bool parseOptions(const std::vector<std::string>& argv, Options& options) {
    int argc = static_cast<int>(argv.size());
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--") {
            options.commandLine = commandLineAfterSeparator();
            return !options.commandLine.empty();
        }
        if (i + 1 >= argc) return false;
        std::string value = argv[++i];
        if (arg == "--cwd") options.workingDirectory = value;
        else if (arg == "--show") options.show = std::atoi(value.c_str());
        else if (arg == "--timeout") options.timeout = std::atoi(value.c_str());
        else if (arg == "--registry") options.registryFile = value;
        else if (arg == "--env") options.environment.push_back(value);
        else if (arg == "--decoy") options.decoy = value;
        else if (arg == "--decoy-wait") options.decoyWait = std::atoi(value.c_str());
        else if (arg == "--dialog-actions") options.dialogActions = split(value, ',');
        else if (arg == "--box-action") options.boxAction = value;
        else if (arg == "--wait-children") options.waitChildren = std::atoi(value.c_str());
        else if (arg == "--splash-shot") options.splashShot = value;
        else if (arg == "--dialog-shot") options.dialogShot = value;
        else if (arg == "--take-foreground") options.takeForeground = value;
        else if (arg == "--report-actions") options.reportActions = split(value, ',');
        else if (arg == "--report-shot") options.reportShot = value;
        else return false;
    }
    return false;
}

// Lines of "key path|value name|data" or a bare "key path" under HKEY_LOCAL_MACHINE, in the
// 64-bit view, or in the 32-bit one when the key path starts with "32:"; under HKEY_CURRENT_USER
// when it starts with "HKCU:" (before any "32:"). The Java and vendor keys of both views are
// emptied first so every run starts from a known registry.
void setUpRegistry(const std::string& file) {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            HKEY software;
            if (RegOpenKeyExA(root, "SOFTWARE", 0, KEY_ALL_ACCESS | view, &software) != ERROR_SUCCESS) continue;
            for (const char* key : {"JavaSoft", "Eclipse Adoptium", "AdoptOpenJDK", "Microsoft\\JDK", "Azul Systems",
                                    "Semeru", "BellSoft", "Amazon\\Amazon Corretto", "SapMachine"})
                RegDeleteTreeA(software, key);
            RegCloseKey(software);
        }
    if (file.empty()) return;
    std::ifstream in(wide(file).c_str());
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> parts = split(line, '|');
        HKEY root = HKEY_LOCAL_MACHINE;
        if (parts[0].rfind("HKCU:", 0) == 0) {
            root = HKEY_CURRENT_USER;
            parts[0].erase(0, 5);
        }
        REGSAM view = KEY_WOW64_64KEY;
        if (parts[0].rfind("32:", 0) == 0) {
            view = KEY_WOW64_32KEY;
            parts[0].erase(0, 3);
        }
        HKEY key;
        if (RegCreateKeyExW(root, wide(parts[0]).c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr, &key,
                            nullptr) != ERROR_SUCCESS) {
            report("error", escapeField("cannot create key " + parts[0]));
            continue;
        }
        if (parts.size() >= 3)
            RegSetValueExW(key, wide(parts[1]).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide(parts[2]).c_str()),
                           static_cast<DWORD>((wide(parts[2]).size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
}

bool startProcess(const std::string& commandLine, const Options& options, HANDLE job, bool suspended,
                  PROCESS_INFORMATION& info) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (options.show >= 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(options.show);
    }
    std::wstring line = wide(commandLine);
    std::wstring directory = wide(options.workingDirectory);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &info))
        return false;
    AssignProcessToJobObject(job, info.hProcess);
    if (!suspended) ResumeThread(info.hThread);
    return true;
}

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

void reportTraces(DebugListener& listener) {
    for (const std::string& text : listener.take()) report("trace", escapeField(text) + "\tt=" + std::to_string(GetTickCount()));
}

HWND visibleSplash(DWORD processId) {
    for (HWND window : topLevelWindowsOf(processId))
        if (_stricmp(windowClass(window).c_str(), "Static") == 0 && IsWindowVisible(window)) return window;
    return nullptr;
}

void handleMessageBox(HWND box, DWORD processId, const Options& options) {
    Sleep(300); // let it paint before its icon is read
    HWND splash = visibleSplash(processId);
    report("box", "caption=" + escapeField(windowText(box)) + "\ttext=" + escapeField(messageBoxText(box)) +
                      "\ticon=" + messageBoxIcon(box) + "\tsplash=" + (splash ? "visible" : "none") +
                      (IsIconic(box) ? "\tshown=minimised" : IsZoomed(box) ? "\tshown=maximised" : ""));
    if (options.boxAction == "ok") PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void reportDialog(HWND dialog, const Options& options) {
    Sleep(500);
    HWND message = GetDlgItem(dialog, 1004);
    HWND button = GetDlgItem(dialog, 1);
    RECT window, client, messageRect, buttonRect, work;
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    GetWindowRect(message, &messageRect);
    GetWindowRect(button, &buttonRect);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    LONG exStyle = GetWindowLongA(dialog, GWL_EXSTYLE);
    char styles[200];
    std::snprintf(styles, sizeof styles, "style=%08lx\texstyle=%08lx\tmessage_style=%08lx\tbutton_style=%08lx",
                  static_cast<unsigned long>(GetWindowLongA(dialog, GWL_STYLE)), static_cast<unsigned long>(exStyle),
                  static_cast<unsigned long>(GetWindowLongA(message, GWL_STYLE)),
                  static_cast<unsigned long>(GetWindowLongA(button, GWL_STYLE)));
    // The text cursor of the dialog's thread: which window holds it, and whether it shows.
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui);
    std::string caret = !gui.hwndCaret ? "none" : (gui.flags & GUI_CARETBLINKING) ? "shown" : "hidden";
    HWND heading = GetDlgItem(dialog, 1008);
    report("dialog", "caret=" + caret + "\theading=" + (heading ? escapeField(windowText(heading)) : "none") +
                         "\tcaption=" + escapeField(windowText(dialog)) + "\ttext=" + escapeField(windowText(message)) +
                         "\tbutton=" + escapeField(windowText(button)) + "\tmessage_class=" +
                         escapeField(windowClass(message)) + "\t" + rectFields("window", window) + "\t" +
                         rectFields("client", client) + "\t" + rectFields("message", messageRect) + "\t" +
                         rectFields("okbutton", buttonRect) + "\t" + rectFields("work", work) + "\t" + styles);
    if (!options.dialogShot.empty()) saveScreenshot(window, options.dialogShot);
}

void clickLink(HWND dialog) {
    HWND message = GetDlgItem(dialog, 1004);
    std::string text = windowText(message);
    size_t at = text.find("https://");
    if (at == std::string::npos) {
        report("error", "no-link-in-text");
        return;
    }
    // Character positions count a line break as one character in the rich edit.
    size_t index = 0;
    for (size_t i = 0; i < at + 3; ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) ++index;
    LRESULT position = SendMessageA(message, EM_POSFROMCHAR, index, 0);
    LPARAM point = MAKELPARAM(LOWORD(position) + 1, HIWORD(position) + 3);
    PostMessageA(message, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(message, WM_LBUTTONUP, 0, point);
}

void runDialogActions(HWND dialog, const Options& options) {
    for (const std::string& action : options.dialogActions) {
        HWND message = GetDlgItem(dialog, 1004);
        if (action == "ok") PostMessageA(GetDlgItem(dialog, 1), BM_CLICK, 0, 0);
        else if (action == "enter") {
            PostMessageA(message, WM_KEYDOWN, VK_RETURN, 0x001C0001);
            PostMessageA(message, WM_KEYUP, VK_RETURN, 0xC01C0001);
        } else if (action == "esc") {
            PostMessageA(message, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageA(message, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        } else if (action == "link") {
            clickLink(dialog);
            Sleep(2000);
            report("dialog-after-link", std::string("open=") + (IsWindow(dialog) && IsWindowVisible(dialog) ? "1" : "0") +
                                            "\ttopmost=" +
                                            (GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST ? "1" : "0"));
        }
    }
}

// The start-failure report: what it says and how it is made, then the chosen actions.
void reportStartFailure(HWND window, const Options& options) {
    Sleep(500);
    HWND text = GetDlgItem(window, 1005);
    HWND copy = GetDlgItem(window, 1006);
    HWND close = GetDlgItem(window, 2);
    RECT rect, textRect;
    GetWindowRect(window, &rect);
    GetWindowRect(text, &textRect);
    char styles[120];
    std::snprintf(styles, sizeof styles, "style=%08lx\texstyle=%08lx\ttext_style=%08lx",
                  static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                  static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)),
                  static_cast<unsigned long>(GetWindowLongA(text, GWL_STYLE)));
    report("report", "caption=" + escapeField(wholeWindowTextUtf8(window)) + "\ttext=" +
                         escapeField(wholeWindowTextUtf8(text)) + "\ttext_class=" + escapeField(windowClass(text)) +
                         "\tcopy=" + escapeField(windowText(copy)) + "\tclose=" + escapeField(windowText(close)) +
                         "\t" + rectFields("window", rect) + "\t" + rectFields("textarea", textRect) + "\t" + styles);
    if (!options.reportShot.empty()) saveScreenshot(rect, options.reportShot);
    for (const std::string& action : options.reportActions) {
        if (action == "copy") {
            if (OpenClipboard(nullptr)) {
                EmptyClipboard();
                CloseClipboard();
            }
            PostMessageA(copy, BM_CLICK, 0, 0);
            Sleep(700);
            report("clipboard", "text=" + escapeField(clipboardTextUtf8()));
        } else if (action == "copy-held" || action == "copy-held-briefly") {
            // Copy while the harness holds the clipboard: briefly (the launcher's retries get
            // it), or until the launcher has given up and said so in a message box.
            if (!OpenClipboard(nullptr)) report("error", "cannot-hold-clipboard");
            EmptyClipboard();
            PostMessageA(copy, BM_CLICK, 0, 0);
            Sleep(action == "copy-held" ? 2500 : 150);
            CloseClipboard();
            DWORD processId = 0;
            GetWindowThreadProcessId(window, &processId);
            for (DWORD waited = 0; waited < 3000 && action == "copy-held"; waited += 50, Sleep(50)) {
                HWND box = nullptr;
                for (HWND candidate : topLevelWindowsOf(processId))
                    if (candidate != window && windowClass(candidate) == "#32770" && IsWindowVisible(candidate))
                        box = candidate;
                if (box) {
                    handleMessageBox(box, processId, options);
                    break;
                }
            }
            Sleep(700);
            report("clipboard", "text=" + escapeField(clipboardTextUtf8()));
        } else if (action == "resize") {
            SetWindowPos(window, nullptr, 0, 0, (rect.right - rect.left) * 3 / 2, (rect.bottom - rect.top) * 3 / 2,
                         SWP_NOMOVE | SWP_NOZORDER);
            Sleep(300);
            RECT grown, closeRect;
            GetWindowRect(text, &grown);
            GetWindowRect(close, &closeRect);
            report("report-resized", rectFields("textarea", grown) + "\t" + rectFields("close", closeRect));
        } else if (action == "close") {
            PostMessageA(close, BM_CLICK, 0, 0);
        }
    }
}

void reportForeground(const char* kind, const std::string& more = std::string()) {
    HWND foreground = GetForegroundWindow();
    report(kind, "title=" + escapeField(foreground ? windowText(foreground) : std::string()) +
                     "\ticonic=" + (foreground && IsIconic(foreground) ? "1" : "0") + more);
}

// Waits for the window titled `title`, then puts a window of ours in front of it.
HWND takeForeground(const std::string& title, DWORD timeout) {
    DWORD started = GetTickCount();
    HWND target = nullptr;
    while (!(target = FindWindowW(nullptr, wide(title).c_str())) || !IsWindowVisible(target)) {
        if (GetTickCount() - started > timeout) {
            report("error", escapeField("no window " + title));
            return nullptr;
        }
        Sleep(50);
    }
    HWND own = CreateWindowExW(0, L"STATIC", L"Harness Foreground", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200,
                               100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(own);
    pumpMessages();
    Sleep(300);
    pumpMessages();
    reportForeground("foreground-before", std::string("\ttarget_iconic=") + (IsIconic(target) ? "1" : "0"));
    return own;
}

} // namespace

// --inspect FILE: what the platform itself reads from an executable's resources: the setting
// strings through LoadStringA, the version texts, the manifest and the icon group.
int inspect(const char* path) {
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        report("error", "cannot-load");
        return 3;
    }
    for (int id = 96; id <= 107; ++id) {
        char text[8192] = {};
        int length = LoadStringA(module, id, text, sizeof text);
        report("string", std::to_string(id) + "\t" + (length > 0 ? "present" : "absent") + "\t" + escapeField(text));
    }
    HRSRC manifest = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    if (manifest) {
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, manifest)));
        report("manifest", escapeField(std::string(bytes, SizeofResource(module, manifest))));
    }
    FreeLibrary(module);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    std::vector<char> version(size ? size : 1);
    if (size && GetFileVersionInfoA(path, 0, size, version.data())) {
        for (const char* key : {"CompanyName", "FileDescription", "FileVersion", "LegalCopyright", "ProductName",
                                "ProductVersion"}) {
            char* value = nullptr;
            UINT length = 0;
            std::string query = std::string("\\StringFileInfo\\040904B0\\") + key;
            if (VerQueryValueA(version.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
                report("version", std::string(key) + "\t" + escapeField(std::string(value, length ? length - 1 : 0)));
        }
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        if (VerQueryValueA(version.data(), "\\", reinterpret_cast<void**>(&fixed), &length))
            report("fixed", std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
                                "." + std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                                std::to_string(LOWORD(fixed->dwFileVersionLS)));
    }
    HICON large = nullptr;
    UINT icons = ExtractIconExA(path, 0, &large, nullptr, 1);
    ICONINFO info{};
    BITMAP bitmap{};
    if (large && GetIconInfo(large, &info)) GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    report("icon", "count=" + std::to_string(icons) + "\twidth=" + std::to_string(bitmap.bmWidth));
    return 0;
}

int wmain(int argc, wchar_t** wideArgv) {
    std::vector<std::string> argv;
    for (int i = 0; i < argc; ++i) argv.push_back(utf8(wideArgv[i]));
    // Window positions are read in real pixels, whatever the display's scale.
    SetProcessDPIAware();
    if (argc == 3 && argv[1] == "--inspect") return inspect(argv[2].c_str());
    if (argc == 2 && argv[1] == "--physical-memory") {
        MEMORYSTATUSEX memory{};
        memory.dwLength = sizeof memory;
        if (!GlobalMemoryStatusEx(&memory)) return 1;
        std::printf("%llu\n", static_cast<unsigned long long>(memory.ullTotalPhys));
        return 0;
    }
    if (argc == 2 && argv[1] == "--hold-desktop") {
        GetDesktopWindow();
        Sleep(INFINITE);
    }
    Options options;
    if (!parseOptions(argv, options)) {
        std::fprintf(stderr, "usage: harness [options] -- LAUNCHER [ARGUMENTS]\n");
        return 2;
    }
    setUpRegistry(options.registryFile);
    // JAVA_HOME of the machine running the tests must never leak into a run.
    SetEnvironmentVariableA("JAVA_HOME", nullptr);
    for (const std::string& assignment : options.environment) {
        size_t equals = assignment.find('=');
        SetEnvironmentVariableW(wide(assignment.substr(0, equals)).c_str(),
                                equals == std::string::npos ? nullptr : wide(assignment.substr(equals + 1)).c_str());
    }

    DebugListener listener;
    if (!listener.open()) report("error", "debug-listener");
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    PROCESS_INFORMATION decoy{};
    if (!options.decoy.empty()) {
        Options plain;
        if (!startProcess(options.decoy, plain, job, false, decoy)) report("error", "decoy");
        Sleep(options.decoyWait);
    }

    HWND ownForeground = options.takeForeground.empty() ? nullptr : takeForeground(options.takeForeground, options.timeout);

    PROCESS_INFORMATION launcher{};
    // Wine now and then refuses a start while a previous program's image is still being
    // released; one more try after a pause tells that apart from a real failure.
    if (!startProcess(options.commandLine, options, job, true, launcher)) {
        Sleep(500);
        if (!startProcess(options.commandLine, options, job, true, launcher)) {
            report("error", escapeField("cannot start " + options.commandLine + " (error " +
                                        std::to_string(GetLastError()) + ")"));
            return 3;
        }
    }
    listener.follow(launcher.dwProcessId);
    ResumeThread(launcher.hThread);

    DWORD started = GetTickCount();
    bool splashSeen = false, splashHidden = false;
    std::vector<HWND> handled;
    bool finished = false;
    while (!finished) {
        finished = WaitForSingleObject(launcher.hProcess, 20) == WAIT_OBJECT_0;
        if (ownForeground) pumpMessages();
        reportTraces(listener);
        if (finished) break;
        if (GetTickCount() - started > options.timeout) break;
        HWND splash = visibleSplash(launcher.dwProcessId);
        if (splash && !splashSeen) {
            splashSeen = true;
            RECT rect;
            GetWindowRect(splash, &rect);
            report("splash", rectFields("rect", rect) + "\ticonic=" + (IsIconic(splash) ? "1" : "0") + "\tscreen=" +
                                 std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "," +
                                 std::to_string(GetSystemMetrics(SM_CYSCREEN)) + "\texstyle=" +
                                 std::to_string(GetWindowLongPtrW(splash, GWL_EXSTYLE)));
            if (!options.splashShot.empty()) {
                Sleep(300);
                saveScreenshot(rect, options.splashShot);
            }
        } else if (!splash && splashSeen && !splashHidden) {
            splashHidden = true;
            report("splash-hidden");
        }
        for (HWND window : topLevelWindowsOf(launcher.dwProcessId)) {
            if (windowClass(window) != "#32770" || !IsWindowVisible(window)) continue;
            bool seen = false;
            for (HWND old : handled) seen = seen || old == window;
            if (seen) continue;
            handled.push_back(window);
            if (GetDlgItem(window, 1004)) {
                reportDialog(window, options);
                runDialogActions(window, options);
            } else if (GetDlgItem(window, 1005)) {
                reportStartFailure(window, options);
            } else {
                handleMessageBox(window, launcher.dwProcessId, options);
            }
        }
    }
    Sleep(100);
    reportTraces(listener);
    if (ownForeground) {
        pumpMessages();
        reportForeground("foreground");
    }
    DWORD exitCode = 0;
    if (finished && GetExitCodeProcess(launcher.hProcess, &exitCode))
        report("exit", std::to_string(exitCode) + "\tt=" + std::to_string(GetTickCount()) + "\telapsed_ms=" + std::to_string(GetTickCount() - started));
    else
        report("timeout");

    if (options.waitChildren) {
        DWORD until = GetTickCount() + options.waitChildren;
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
        while (GetTickCount() < until) {
            if (QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                          nullptr) &&
                accounting.ActiveProcesses == (decoy.hProcess ? 1u : 0u))
                break;
            Sleep(50);
        }
    }
    TerminateJobObject(job, 1);
    listener.close();
    return 0;
}
