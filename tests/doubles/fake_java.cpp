// A stand-in for java.exe / javaw.exe in tests. It reads "double.ini" beside itself:
//   banner=1.5|1.8|11|17|21|25|none which real banner to print for -version (on stderr); also
//                                   the version it runs as (8 for 1.8, 5 for 1.5, 8 for none)
//   banner_text=...                 a banner of its own (C escapes), instead of `banner`
//   before_banner=...               text printed on stderr ahead of the banner
//   banner_delay_ms=N               pause before the banner
//   output=...                      bytes written to stdout when run as the application (C escapes)
//   output_repeat=N                 how often `output` is written
//   exit_code=N                     the status it ends with
//   window=none|visible|hidden_then_visible, window_delay_ms=N, run_ms=N
//   echo_input=1                    read one line from stdin, write it back on stdout, and a line
//                                   on stderr (a command-line application)
//   report_log_handles=1            record whether it holds any handle to a file named log.txt
//   hold_output_ms=N                for -version: leave a helper process behind that holds the
//                                   output open for N ms after the banner
//   load_library=NAME               load the library NAME by name (the system's search, which
//                                   includes the working directory) and record whether it loaded
//   exit_codes=A,B,...              the status of each start as the application in turn, counted
//                                   in "double.runs" beside it; the last one repeats (instead of
//                                   exit_code)
//   minimise_window=1               the window, once shown, is minimised
//   error_output=...                bytes written to stderr when run as the application (C escapes)
//   late_output=..., late_output_ms=N   bytes written to stdout N ms after `output`
//   helper_writes_ms=N              as the application: leave a helper process behind that holds
//                                   the output open and writes a line to it every 100 ms for N ms
//   launch_error=jar|vm             as the application: fail to launch as the real runtimes do
//                                   (jar: the jar cannot be read; vm: the VM cannot be created)
//                                   and end with 1. As javaw.exe each message comes in a box of
//                                   its own (recorded as "box-answered" once OK was pressed) and
//                                   nothing is written; as java.exe they go to stderr.
//   report_ctrl_c=1                 record whether Ctrl+C is enabled for it (the flag its children inherit)
//   close_output_ms=N               as the application: close the standard handles, run N ms more,
//                                   then record whether its starter had ended and log.txt was free
// As the application it takes the startup-cache options as that version does: options it does
// not know yet stop it as "Unrecognized VM option" does; a cache named by -XX:AOTCache or
// -XX:SharedArchiveFile is recorded as used when it is there with its kind's magic number; at
// exit, -XX:AOTCacheOutput, -XX:ArchiveClassesAtExit and (for a missing file)
// -XX:+AutoCreateSharedArchive write one, and a file that cannot be written ends a class-data
// archive's run with 1, as Java 17 and 25 do.
// Every start appends its executable, command line, current directory, console window and the
// show command it was given to the file named by the environment variable DOUBLE_RECORD. Like
// Java 9 and later, a double whose home holds
// lib\modules refuses -Xbootclasspath/p: and does not start.
#include <windows.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>

namespace {

std::string utf8(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring wide(const std::string& text) {
    int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

std::string modulePath() {
    wchar_t path[4096] = {};
    GetModuleFileNameW(nullptr, path, 4096);
    return utf8(path);
}

std::string moduleDirectory() {
    std::string text = modulePath();
    return text.substr(0, text.rfind('\\'));
}

std::string unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char c = text[++i];
        if (c == 'n') out += '\n';
        else if (c == 'r') out += '\r';
        else if (c == 't') out += '\t';
        else if (c == '0') out += '\0';
        else if (c == 'x' && i + 2 < text.size() + 1) {
            out += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else out += c;
    }
    return out;
}

std::map<std::string, std::string> readConfig() {
    std::map<std::string, std::string> config;
    std::ifstream in(wide(moduleDirectory() + "\\double.ini").c_str(), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t equals = line.find('=');
        if (equals != std::string::npos) config[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return config;
}

int number(const std::map<std::string, std::string>& config, const char* key, int fallback) {
    auto found = config.find(key);
    return found == config.end() ? fallback : std::atoi(found->second.c_str());
}

void appendRecord(const std::string& text) {
    wchar_t path[4096] = {};
    if (!GetEnvironmentVariableW(L"DOUBLE_RECORD", path, 4096)) return;
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void writeAll(DWORD which, const std::string& bytes) {
    HANDLE handle = GetStdHandle(which);
    DWORD written = 0;
    if (handle && handle != INVALID_HANDLE_VALUE)
        WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// Whether any handle of this process refers to a file named log.txt (an inherited one would).
bool holdsLogHandle() {
    for (ULONG_PTR value = 4; value < 0x4000; value += 4) {
        HANDLE handle = reinterpret_cast<HANDLE>(value);
        if (GetFileType(handle) != FILE_TYPE_DISK) continue;
        wchar_t path[1024] = {};
        DWORD length = GetFinalPathNameByHandleW(handle, path, 1024, 0);
        std::wstring name(path, length < 1024 ? length : 0);
        if (name.size() >= 8 && _wcsicmp(name.c_str() + name.size() - 8, L"\\log.txt") == 0) return true;
    }
    return false;
}

// A helper that inherits our standard handles and only sleeps, holding the output open.
void leaveOutputHolder(int milliseconds) {
    wchar_t self[4096] = {};
    GetModuleFileNameW(nullptr, self, 4096);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" hold " + std::to_wstring(milliseconds);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
}

// The show command our starter asked for, or "none" when it gave none.
std::string givenShowCommand() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? std::to_string(startup.wShowWindow) : "none";
}

void recordLibraryLoad(const std::string& name) {
    HMODULE library = LoadLibraryW(wide(name).c_str());
    appendRecord("library-" + name + "=" + (library ? "loaded" : "failed " + std::to_string(GetLastError())) + "\n");
}

// A helper that inherits our standard handles and keeps writing to the output.
void leaveOutputWriter(int milliseconds) {
    wchar_t self[4096] = {};
    GetModuleFileNameW(nullptr, self, 4096);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" write " + std::to_wstring(milliseconds);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
}

std::string realBanner(const std::string& name) {
    if (name == "1.5")
        return "java version \"1.5.0_06\"\r\n"
               "Java(TM) 2 Runtime Environment, Standard Edition (build 1.5.0_06-b05)\r\n"
               "Java HotSpot(TM) Client VM (build 1.5.0_06-b05, mixed mode, sharing)\r\n";
    if (name == "1.8")
        return "java version \"1.8.0_391\"\r\n"
               "Java(TM) SE Runtime Environment (build 1.8.0_391-b13)\r\n"
               "Java HotSpot(TM) 64-Bit Server VM (build 25.391-b13, mixed mode)\r\n";
    if (name == "11")
        return "openjdk version \"11.0.25\" 2024-10-15\r\n"
               "OpenJDK Runtime Environment Temurin-11.0.25+9 (build 11.0.25+9)\r\n"
               "OpenJDK 64-Bit Server VM Temurin-11.0.25+9 (build 11.0.25+9, mixed mode)\r\n";
    if (name == "21")
        return "openjdk version \"21.0.5\" 2024-10-15 LTS\r\n"
               "OpenJDK Runtime Environment Temurin-21.0.5+11 (build 21.0.5+11-LTS)\r\n"
               "OpenJDK 64-Bit Server VM Temurin-21.0.5+11 (build 21.0.5+11-LTS, mixed mode, sharing)\r\n";
    if (name == "17")
        return "openjdk version \"17.0.15\" 2025-04-15\r\n"
               "OpenJDK Runtime Environment (build 17.0.15+6-Debian-1deb12u1)\r\n"
               "OpenJDK 64-Bit Server VM (build 17.0.15+6-Debian-1deb12u1, mixed mode, sharing)\r\n";
    if (name == "25")
        return "openjdk version \"25.0.3\" 2026-04-21 LTS\r\n"
               "OpenJDK Runtime Environment Temurin-25.0.3+9 (build 25.0.3+9-LTS)\r\n"
               "OpenJDK 64-Bit Server VM Temurin-25.0.3+9 (build 25.0.3+9-LTS, mixed mode, sharing)\r\n";
    return std::string();
}

// ---- startup cache ------------------------------------------------------------------------
int featureVersion(const std::map<std::string, std::string>& config) {
    std::string banner = config.count("banner") ? config.at("banner") : "1.8";
    if (banner.compare(0, 2, "1.") == 0) return std::atoi(banner.c_str() + 2);
    int version = std::atoi(banner.c_str());
    return version > 0 ? version : 8;
}

// The VM options: the arguments before -jar.
std::map<std::string, std::string> cacheOptions(int argc, LPWSTR* argv) {
    std::map<std::string, std::string> options;
    for (int i = 1; i < argc && wcscmp(argv[i], L"-jar") != 0; ++i) {
        std::string argument = utf8(argv[i]);
        size_t equals = argument.find('=');
        if (argument.compare(0, 4, "-XX:") == 0)
            options[argument.substr(0, equals)] = equals == std::string::npos ? "" : argument.substr(equals + 1);
    }
    return options;
}

const char StaticMagic[] = "\xa2\xab\x0b\xf0";
const char DynamicMagic[] = "\xa8\xab\x0b\xf0";

bool hasMagic(const std::string& path, const char* magic) {
    std::ifstream in(wide(path).c_str(), std::ios::binary);
    char bytes[4] = {};
    return in.read(bytes, 4) && std::memcmp(bytes, magic, 4) == 0;
}

// The option a runtime of this version does not know, if any.
std::string unknownCacheOption(const std::map<std::string, std::string>& options, int version) {
    const std::pair<const char*, int> since[] = {{"-XX:SharedArchiveFile", 10}, {"-XX:ArchiveClassesAtExit", 13},
                                                 {"-XX:+AutoCreateSharedArchive", 19}, {"-XX:AOTCache", 24},
                                                 {"-XX:AOTCacheOutput", 25}};
    for (const auto& [option, first] : since)
        if (options.count(option) && version < first) return std::string(option).substr(option[4] == '+' ? 5 : 4);
    return std::string();
}

void recordCacheUse(const std::map<std::string, std::string>& options) {
    appendRecord("cache-options=");
    for (const auto& [option, value] : options) appendRecord(option + (value.empty() ? "" : "=" + value) + " ");
    appendRecord("\n");
    if (options.count("-XX:AOTCache") && hasMagic(options.at("-XX:AOTCache"), StaticMagic))
        appendRecord("cache-used=" + options.at("-XX:AOTCache") + "\n");
    if (options.count("-XX:SharedArchiveFile") && hasMagic(options.at("-XX:SharedArchiveFile"), DynamicMagic))
        appendRecord("cache-used=" + options.at("-XX:SharedArchiveFile") + "\n");
}

// At exit: the cache the options ask for; false when it could not be written.
bool writeCacheAtExit(const std::map<std::string, std::string>& options) {
    std::string path, magic;
    if (options.count("-XX:AOTCacheOutput")) path = options.at("-XX:AOTCacheOutput"), magic = StaticMagic;
    else if (options.count("-XX:ArchiveClassesAtExit")) path = options.at("-XX:ArchiveClassesAtExit"), magic = DynamicMagic;
    else if (options.count("-XX:+AutoCreateSharedArchive") && options.count("-XX:SharedArchiveFile") &&
             GetFileAttributesW(wide(options.at("-XX:SharedArchiveFile")).c_str()) == INVALID_FILE_ATTRIBUTES)
        path = options.at("-XX:SharedArchiveFile"), magic = DynamicMagic;
    if (path.empty()) return true;
    {
        std::ofstream out(wide(path).c_str(), std::ios::binary);
        if (!(out << magic << std::string(4092, 'c'))) {
            appendRecord("cache-not-written=" + path + "\n");
            if (magic == StaticMagic) return true; // the ahead-of-time cache's failure is only reported
            writeAll(STD_ERROR_HANDLE, "Error occurred during initialization of VM\r\nUnable to use shared archive.\r\n");
            return false;
        }
    }
    if (magic == DynamicMagic) SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_READONLY);
    appendRecord("cache-written=" + path + "\n");
    return true;
}
// ---- end of startup cache -----------------------------------------------------------------

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

// Runs like a desktop application: optionally a window, for run_ms milliseconds.
void runApplication(const std::map<std::string, std::string>& config, HINSTANCE instance) {
    std::string windowMode = config.count("window") ? config.at("window") : "none";
    int windowDelay = number(config, "window_delay_ms", 0);
    DWORD runUntil = GetTickCount() + number(config, "run_ms", 0);
    HWND window = nullptr;
    if (windowMode != "none") {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = windowProcedure;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = "FakeJavaWindow";
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassA(&windowClass);
        if (windowMode == "hidden_then_visible")
            window = CreateWindowExA(0, "FakeJavaWindow", "Fake Java Application", WS_OVERLAPPEDWINDOW, 10, 10, 200,
                                     100, nullptr, nullptr, instance, nullptr);
    }
    DWORD showAt = GetTickCount() + windowDelay;
    bool shown = false;
    for (;;) {
        DWORD now = GetTickCount();
        if (!shown && windowMode != "none" && static_cast<LONG>(now - showAt) >= 0) {
            if (!window)
                window = CreateWindowExA(0, "FakeJavaWindow", "Fake Java Application", WS_OVERLAPPEDWINDOW, 10, 10, 200,
                                         100, nullptr, nullptr, instance, nullptr);
            ShowWindow(window, SW_SHOW);
            if (config.count("minimise_window")) ShowWindow(window, SW_SHOWMINNOACTIVE);
            shown = true;
            appendRecord("window-shown\n");
        }
        if (static_cast<LONG>(now - runUntil) >= 0) break;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
}

bool runsAsWindowedRuntime() {
    std::string path = modulePath();
    std::string name = path.substr(path.rfind('\\') + 1);
    return _stricmp(name.c_str(), "javaw.exe") == 0;
}

// What a runtime says when it cannot launch the application, one message per line.
int failLaunch(const std::string& kind, const std::string& jar) {
    std::string messages[2];
    if (kind == "jar") {
        messages[0] = "Error: Unable to access jarfile " + jar;
    } else {
        messages[0] = "Error: Could not create the Java Virtual Machine.";
        messages[1] = "Error: A fatal exception has occurred. Program will exit.";
        // The VM itself writes the cause to stderr, also under javaw.
        writeAll(STD_ERROR_HANDLE, "Unrecognized option: --no-such-option\r\n");
    }
    for (const std::string& message : messages) {
        if (message.empty()) continue;
        if (runsAsWindowedRuntime()) {
            MessageBoxW(nullptr, wide(message).c_str(), L"Java Virtual Machine Launcher", MB_OK | MB_ICONSTOP);
            appendRecord("box-answered\n");
        } else {
            writeAll(STD_ERROR_HANDLE, message + "\r\n");
        }
    }
    return 1;
}

// The argument after -jar, as the runtime names the jar it could not read.
std::string jarArgument(int argc, LPWSTR* argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (wcscmp(argv[i], L"-jar") == 0) return utf8(argv[i + 1]);
    return std::string();
}

// exit_codes: this start's status from the list, by the number of starts before it.
int statusOfThisRun(const std::map<std::string, std::string>& config) {
    std::string counter = moduleDirectory() + "\\double.runs";
    int runs = 0;
    {
        std::ifstream in(wide(counter).c_str());
        in >> runs;
    }
    std::ofstream(wide(counter).c_str()) << runs + 1;
    std::string list = config.at("exit_codes");
    size_t at = 0;
    for (int i = 0; i < runs; ++i) {
        size_t comma = list.find(',', at);
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    return std::atoi(list.c_str() + at);
}

// ---- Ctrl+C and closed output -------------------------------------------------------------
// The "ignore Ctrl+C" flag that CREATE_NEW_PROCESS_GROUP or SetConsoleCtrlHandler(nullptr, TRUE)
// set is kept in the process parameters' ConsoleFlags (the ULONG after ConsoleHandle), also in a
// process without a console, and goes on to its children.
bool ctrlCEnabled() {
    using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return false;
    const auto* parameters = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress->ProcessParameters);
    ULONG flags = 0;
    std::memcpy(&flags, parameters + 16 + sizeof(void*), sizeof flags);
    return (flags & 1) == 0;
}

HANDLE openStarter() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    DWORD parent = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (entry.th32ProcessID == GetCurrentProcessId()) parent = entry.th32ParentProcessID;
    CloseHandle(snapshot);
    return parent ? OpenProcess(SYNCHRONIZE, FALSE, parent) : nullptr;
}

void reportCtrlC(const std::map<std::string, std::string>& config) {
    if (config.count("report_ctrl_c")) appendRecord(ctrlCEnabled() ? "ctrl-c=enabled\n" : "ctrl-c=disabled\n");
}

// After the application's output: the standard handles closed, then the run goes on.
void closeOutputAndRunOn(const std::map<std::string, std::string>& config) {
    if (!config.count("close_output_ms")) return;
    HANDLE starter = openStarter();
    for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        HANDLE handle = GetStdHandle(which);
        if (handle && handle != INVALID_HANDLE_VALUE && (which != STD_ERROR_HANDLE || handle != GetStdHandle(STD_OUTPUT_HANDLE)))
            CloseHandle(handle);
        SetStdHandle(which, nullptr);
    }
    Sleep(static_cast<DWORD>(number(config, "close_output_ms", 0)));
    bool ended = starter && WaitForSingleObject(starter, 0) == WAIT_OBJECT_0;
    HANDLE log = CreateFileW(L"log.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string logState = log != INVALID_HANDLE_VALUE ? "free" : GetLastError() == ERROR_FILE_NOT_FOUND ? "missing" : "held";
    if (log != INVALID_HANDLE_VALUE) CloseHandle(log);
    appendRecord(std::string("starter-after-close=") + (ended ? "ended" : "running") + "\nlog-after-close=" + logState + "\n");
}
// ---- end of Ctrl+C and closed output ------------------------------------------------------

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc == 3 && std::wstring(argv[1]) == L"hold") {
        Sleep(static_cast<DWORD>(_wtoi(argv[2])));
        return 0;
    }
    if (argc == 3 && std::wstring(argv[1]) == L"write") {
        DWORD until = GetTickCount() + static_cast<DWORD>(_wtoi(argv[2]));
        for (int line = 1; static_cast<LONG>(GetTickCount() - until) < 0; ++line) {
            writeAll(STD_OUTPUT_HANDLE, "helper line " + std::to_string(line) + "\r\n");
            Sleep(100);
        }
        return 0;
    }
    std::map<std::string, std::string> config = readConfig();
    // Recorded in UTF-8 from the wide forms: every character the launcher passed is kept.
    std::string commandLine = utf8(GetCommandLineW());
    wchar_t directory[4096] = {};
    GetCurrentDirectoryW(4096, directory);
    std::string self = modulePath();
    HWND console = GetConsoleWindow();
    std::string consoleState = console ? (IsWindowVisible(console) ? "visible" : "hidden") : "none";
    appendRecord(std::string("start\nexe=") + self + "\ncmdline=" + commandLine + "\ncwd=" + utf8(directory) +
                 "\nconsole=" + consoleState + "\nshow=" + givenShowCommand() + "\nend\n");

    bool versionProbe = commandLine.size() >= 8 && commandLine.compare(commandLine.size() - 8, 8, "-version") == 0;
    reportCtrlC(config);
    if (versionProbe) {
        Sleep(number(config, "banner_delay_ms", 0));
        std::string banner = config.count("banner_text") ? unescape(config.at("banner_text"))
                                                         : realBanner(config.count("banner") ? config.at("banner") : "1.8");
        if (config.count("before_banner")) writeAll(STD_ERROR_HANDLE, unescape(config.at("before_banner")));
        writeAll(STD_ERROR_HANDLE, banner);
        if (config.count("hold_output_ms")) leaveOutputHolder(number(config, "hold_output_ms", 0));
        return 0;
    }
    DWORD modules = GetFileAttributesW(wide(moduleDirectory() + "\\..\\lib\\modules").c_str());
    if (modules != INVALID_FILE_ATTRIBUTES && commandLine.find("-Xbootclasspath/p:") != std::string::npos) {
        writeAll(STD_ERROR_HANDLE, "-Xbootclasspath/p is no longer a supported option.\r\n"
                                   "Error: Could not create the Java Virtual Machine.\r\n"
                                   "Error: A fatal exception has occurred. Program will exit.\r\n");
        return 1;
    }
    std::map<std::string, std::string> options = cacheOptions(argc, argv);
    appendRecord("version=" + std::to_string(featureVersion(config)) + "\n");
    if (std::string unknown = unknownCacheOption(options, featureVersion(config)); !unknown.empty()) {
        writeAll(STD_ERROR_HANDLE, "Unrecognized VM option '" + unknown + "'\r\n"
                                   "Error: Could not create the Java Virtual Machine.\r\n"
                                   "Error: A fatal exception has occurred. Program will exit.\r\n");
        return 1;
    }
    recordCacheUse(options);
    if (config.count("launch_error")) return failLaunch(config.at("launch_error"), jarArgument(argc, argv));
    if (config.count("load_library")) recordLibraryLoad(config.at("load_library"));
    if (config.count("report_log_handles")) appendRecord(holdsLogHandle() ? "log-handle=held\n" : "log-handle=none\n");
    if (config.count("echo_input")) {
        std::string line;
        char c = 0;
        DWORD count = 0;
        while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &c, 1, &count, nullptr) && count == 1 && c != '\n') line += c;
        writeAll(STD_OUTPUT_HANDLE, "echo: " + line + "\n");
        writeAll(STD_ERROR_HANDLE, "a line on standard error\n");
    }
    if (config.count("output")) {
        std::string output = unescape(config.at("output"));
        for (int i = number(config, "output_repeat", 1); i > 0; --i) writeAll(STD_OUTPUT_HANDLE, output);
    }
    if (config.count("error_output")) writeAll(STD_ERROR_HANDLE, unescape(config.at("error_output")));
    if (config.count("late_output")) {
        Sleep(number(config, "late_output_ms", 0));
        writeAll(STD_OUTPUT_HANDLE, unescape(config.at("late_output")));
    }
    if (config.count("helper_writes_ms")) leaveOutputWriter(number(config, "helper_writes_ms", 0));
    closeOutputAndRunOn(config);
    runApplication(config, instance);
    if (!writeCacheAtExit(options)) return 1;
    if (config.count("exit_codes")) return statusOfThisRun(config);
    return number(config, "exit_code", 0);
}
