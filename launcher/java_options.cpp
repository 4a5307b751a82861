#include "launcher/java_options.h"

#include <windows.h>

#include "settings_contract/heap_share.h"
#include "settings_contract/setting_ids.h"
#include "jvm/executable_machine.h"
#include "jvm/win32_search_system.h"
#include "launcher/launch_state.h"
#include "launcher/settings.h"
#include "launcher/variables.h"
#include "process/vm_options_file.h"
#include "trace/trace_log.h"

namespace {

void expandIn(VmOptionPieces& pieces, const std::string& executablePath) {
    for (VmOptionPiece& piece : pieces) {
        piece.text = expandLauncherVariables(piece.text, executablePath);
        piece.written = expandLauncherVariables(piece.written, executablePath);
    }
}

// The user's own options file: read, never created or written. Its path may use variables
// (%APPDATA%\MyApp\MyApp.vmoptions).
VmOptionPieces userVmOptionPieces(const std::string& executablePath) {
    std::string setting = LauncherSettings::text(SettingUserVmOptions);
    if (setting.empty()) return {};
    std::string path = expandLauncherVariables(setting, executablePath);
    traceLog().append("User VM options").append(path).endLine();
    std::optional<std::string> text = readOptionsFileText(path);
    if (!text) return {};
    VmOptionPieces pieces = vmOptionPiecesOfLines(*text);
    expandIn(pieces, executablePath);
    traceLog().trace(writtenText(pieces));
    return pieces;
}

// The -Xmx that max_heap_percent asks for; "" when it is not set, the options set the maximum
// heap already, or the PC's memory is unknown. Traced.
std::string heapOption(const std::string& options, const JavaRuntime& runtime) {
    std::string setting = LauncherSettings::text(SettingMaxHeapPercent);
    if (setting.empty()) return std::string();
    TraceLog& log = traceLog();
    std::optional<HeapShare> share = parseHeapShare(setting);
    if (!share) {
        log.trace("max_heap_percent \"" + setting + "\" is not P[,FLOOR_MB[,CAP_MB]]: no -Xmx added");
        return std::string();
    }
    if (std::string set = maximumHeapOption(options); !set.empty()) {
        log.trace("Maximum heap set by the options (" + set + "): no -Xmx from max_heap_percent");
        return std::string();
    }
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    if (!GlobalMemoryStatusEx(&memory)) {
        log.trace("Physical memory unknown: no -Xmx from max_heap_percent");
        return std::string();
    }
    // The search has read the header of most runtimes it chose already.
    Machine machine = runtime.machine;
    if (machine == Machine::Unknown)
        machine = machineOfExecutable(Win32SearchSystem().readFileHead(runtime.executable, ExecutableHeadBytes));
    bool runtime32Bit = machine == Machine::X86;
    HeapFigure figure = maximumHeapFigure(*share, memory.ullTotalPhys, runtime32Bit);
    static const char* const BoundNames[] = {"the share", "the floor", "the cap", "the most a 32-bit runtime can reserve"};
    std::string option = "-Xmx" + std::to_string(figure.megabytes) + "m";
    log.trace("Maximum heap " + option + ": " + std::to_string(share->percent) + " % of " +
              std::to_string(memory.ullTotalPhys / (1024 * 1024)) + " MB physical memory, decided by " +
              BoundNames[static_cast<int>(figure.bound)]);
    return option;
}

} // namespace

VmOptionPieces readVmOptionPieces(const std::string& executablePath) {
    std::optional<std::string> file = readVmOptionsFile(executablePath);
    VmOptionPieces pieces =
        file ? vmOptionPiecesOfLines(*file) : vmOptionPiecesOfSetting(LauncherSettings::text(SettingVmOptions));
    expandIn(pieces, executablePath);
    traceLog().trace(writtenText(pieces));
    VmOptionPieces user = userVmOptionPieces(executablePath);
    pieces.insert(pieces.end(), user.begin(), user.end());
    return pieces;
}

std::string vmOptionsForRuntime(const VmOptionPieces& pieces, const JavaRuntime& runtime) {
    ChosenVmOptions chosen = chooseVmOptions(pieces, runtime.featureVersion);
    for (const std::string& line : chosen.trace) traceLog().trace(line);
    std::string heap = heapOption(chosen.text, runtime);
    if (heap.empty()) return chosen.text;
    // After the options, which end in a blank when they come from a file.
    bool blank = chosen.text.empty() || chosen.text.back() == ' ';
    return chosen.text + (blank ? "" : " ") + heap;
}
