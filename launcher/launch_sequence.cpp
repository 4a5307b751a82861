#include "launcher/launch_sequence.h"

#include <optional>
#include <string>

#include "base/file_system.h"
#include "settings_contract/setting_ids.h"
#include "base/system_error.h"
#include "base/utf8.h"
#include "jvm/boot_class_path.h"
#include "jvm/console_java.h"
#include "jvm/runtime_search.h"
#include "jvm/version.h"
#include "jvm/win32_search_system.h"
#include "launcher/java_start.h"
#include "launcher/java_options.h"
#include "launcher/launch_state.h"
#include "launcher/paths.h"
#include "launcher/restart_setting.h"
#include "launcher/settings.h"
#include "launcher/single_instance.h"
#include "launcher/startup_cache.h"
#include "launcher/switches.h"
#include "launcher/system_libraries.h"
#include "launcher/variables.h"
#include "process/application_runner.h"
#include "process/application_start.h"
#include "process/command_line.h"
#include "process/win32_wait_system.h"
#include "trace/trace_log.h"
#include "ui/cannot_start_dialog.h"
#include "ui/messages.h"
#include "ui/product_name.h"
#include "ui/splash_window.h"
#include "ui/start_failure_report.h"
#include "ui/start_failure_text.h"

namespace {

// log.txt and the trace file are closed once the launch sequence is done, whatever way it ends;
// the application's reader thread may still be running then, and its writes are dropped.
struct LogFilesCloser {
    ~LogFilesCloser() {
        traceLog().closeLogFile();
        traceLog().closeTraceFile();
    }
};

// A console launcher outlives Ctrl+C and Ctrl+Break: they are the application's to handle,
// and the launcher still returns its status. Closing the console ends the launcher as usual.
BOOL WINAPI letTheApplicationHandleInterrupts(DWORD event) {
    return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
}

// -d: the application's output to log.txt and the trace to the trace file beside it. Without
// them the application still starts; the user learns why there are none.
void openDebugFiles() {
    TraceLog& log = traceLog();
    std::string failures;
    if (Result<void> trace = log.openTraceFile(); !trace) failures = trace.failure().what;
    log.trace("run with debug flag");
    if (Result<void> opened = log.openLogFile(); !opened) failures += (failures.empty() ? "" : "\n\n") + opened.failure().what;
    if (!failures.empty()) {
        log.trace(failures);
        showError(failures);
    }
}

// Switches phase: what the command line asks for. Gives the exit code when the run ends here
// (the usage help).
std::optional<int> readSwitches(const std::string& commandLine, LaunchState& state) {
    TraceLog& log = traceLog();
    state.consoleLauncher = LauncherSettings::flag(SettingConsole);
    if (state.consoleLauncher) state.javaExecutableName = "java.exe";
    state.tail =
        readCommandLineTail(commandLine.c_str(), LauncherSettings::flag(SettingPassArguments), nextUtf8Char);
    switch (state.tail.action) {
    case SwitchAction::ConsoleJava:
        log.trace("run as console application");
        state.javaExecutableName = "java.exe";
        state.consoleWindow = !state.consoleLauncher;
        break;
    case SwitchAction::DebugLog:
        state.debugLog = true;
        break;
    case SwitchAction::ShowUsage:
        showInfo(UsageText);
        return 0;
    case SwitchAction::None:
        break;
    }
    return std::nullopt;
}

// One instance: a second start brings the running application forward and starts none. False
// when another start's application runs. Before the debug files, which would empty the running
// application's log.
[[nodiscard]] bool claimInstanceWhenSingle(LaunchState& state) {
    if (!LauncherSettings::flag(SettingSingleInstance)) return true;
    std::optional<InstanceMarker> claimed = claimSingleInstance(state.tail.applicationArguments);
    if (!claimed) return false;
    state.instance = std::move(*claimed);
    return true;
}

// Settings phase: where the launcher is, the string table and the VM options. Gives the exit
// code when the run ends here (no folder of its own).
std::optional<int> readSettings(LaunchState& state) {
    TraceLog& log = traceLog();
    std::optional<std::string> ownPath = executablePath();
    std::optional<std::string> directory = ownPath ? executableDirectoryOf(*ownPath) : std::nullopt;
    if (!directory) {
        showError("Cannot determine where the launcher itself is stored, so its application cannot be found.");
        return 1;
    }
    state.executablePath = *ownPath;
    state.executableDirectory = *directory;

    state.vmOptionPieces = readVmOptionPieces(*ownPath);
    state.jar = LauncherSettings::text(SettingJar);
    log.trace(state.jar);
    state.launchForm = launchFormSetting(state);

    WaitChoices& choices = state.waitChoices;
    choices.splash = LauncherSettings::flag(SettingSplash);
    state.jdkRequired = LauncherSettings::flag(SettingJdkRequired);
    choices.stayAlive = LauncherSettings::flag(SettingStayAlive);
    if (choices.splash) {
        choices.splashSeconds = LauncherSettings::number(SettingSplashSeconds);
        choices.waitForWindow = LauncherSettings::flag(SettingWaitForWindow);
    }
    choices.consoleLauncher = state.consoleLauncher;
    choices.consoleWindow = state.consoleWindow;
    choices.debugLog = state.debugLog;
    choices.startupCheck = LauncherSettings::text(SettingStartupCheckSeconds);
    return std::nullopt;
}

// Runtime phase: the working directory, then the search. Nothing when no runtime fits.
std::optional<JavaRuntime> findRuntime(const LaunchState& state) {
    TraceLog& log = traceLog();
    std::string workingDirectory =
        workingDirectoryOf(state.executableDirectory,
                           expandLauncherVariables(LauncherSettings::text(SettingWorkingDirectory), state.executablePath));
    log.trace(workingDirectory);
    // When it cannot be entered, the launcher stays where it was started and goes on from there.
    if (Result<void> entered = enterDirectory(workingDirectory); !entered)
        log.trace(entered.failure().what + ": " + systemErrorText(entered.failure().systemError));

    std::string minimum = LauncherSettings::text(SettingMinimumVersion);
    if (minimum.empty()) minimum = DefaultMinimumVersion;
    std::string maximum = LauncherSettings::text(SettingMaximumVersion);
    SearchRequest request{minimum, maximum, state.jdkRequired, state.javaExecutableName,
                          state.executableDirectory,
                          expandLauncherVariables(LauncherSettings::text(SettingBundledJava), state.executablePath)};
    restoreLibrarySearchForChildren();
    Win32SearchSystem system;
    SearchAnswer answer = findJavaRuntime(request, system);
    for (const std::string& line : answer.trace) log.trace(line);
    log.trace(answer.executable);
    if (!fileExists(answer.executable)) {
        showCannotStartDialog(state.jdkRequired, minimum, maximum, LauncherSettings::text(SettingDownloadUrl));
        return std::nullopt;
    }
    JavaRuntime runtime{answer.executable, answer.home, featureVersionOf(answer.version), answer.machine};
    if (state.consoleLauncher || state.consoleWindow) {
        // A bundled javaw.exe has its console twin beside it.
        std::string console = consoleJavaBeside(runtime.executable);
        if (!console.empty() && fileExists(console)) runtime.executable = console;
    }
    return runtime;
}

// The splash, when the policy shows one; false when its picture cannot be shown (the reason
// goes to the trace).
[[nodiscard]] bool showSplashWhenAsked(const WaitPolicy& policy, HINSTANCE instance, SplashPicture& picture,
                                       HWND& window) {
    if (!policy.splash) return true;
    window = createSplashWindow(instance);
    if (Result<void> loaded = picture.load(); !loaded) {
        traceLog().trace("Cannot show the splash: " + loaded.failure().what);
        showError(SplashLoadFailedText);
        return false;
    }
    if (window) showSplash(window, picture);
    return true;
}

// The startup cache's options go first; chosen again for each start, so that a restart after
// the run that made the cache uses it.
std::string withStartupCache(const LaunchState& state, const JavaRuntime& runtime, const std::string& arguments) {
    StartupCacheChoice cache = chooseStartupCache(state, runtime);
    for (const std::string& line : cache.trace) traceLog().trace(line);
    if (cache.options.empty()) return arguments;
    std::string withCache = cache.options + " " + arguments;
    // A command line that only the cache's options make too long starts without them.
    if (!fitsCommandLine(runtime, withCache)) {
        traceLog().trace("Startup cache: not used, its options would make the command line too long");
        return arguments;
    }
    return withCache;
}

// Start phase: the Java command line, started with its output captured (or on a console).
Result<RunningApplication> startJava(const LaunchState& state, const JavaRuntime& runtime,
                                     const std::string& arguments, int showCommand) {
    RunningApplication running;
    running.commandLine = fullCommandLine(runtime.executable, arguments);
    Result<StartedProcess> started = Failure{};
    if (state.consoleLauncher) {
        started = startApplicationOnConsole(runtime.executable, arguments, ConsoleUse::SharedWithLauncher, showCommand);
    } else if (state.consoleWindow) {
        started = startApplicationOnConsole(runtime.executable, arguments, ConsoleUse::NewWindow, showCommand);
    } else {
        running.output = std::make_shared<ApplicationOutput>(state.debugLog);
        // Without its events the output is still read and logged; the launcher just cannot wait for it.
        if (!running.output->ready()) traceLog().trace("cannot follow the application's output");
        started = startApplication(runtime.executable, arguments, new ApplicationProcessRunner(running.output), showCommand);
    }
    if (!started) return started.failure();
    running.startedAt = GetTickCount64();
    running.process = std::move(started.value().process);
    running.thread = std::move(started.value().thread);
    running.processId = started.value().processId;
    return running;
}

// Wait phase: as long as the policy says; gives how the application ended.
WaitOutcome waitFor(const WaitPolicy& policy, const RunningApplication& running, HWND splash) {
    if (policy.stay == Stay::NotAtAll) return WaitOutcome{};
    WaitTargets targets;
    targets.application = running.process.get();
    targets.applicationId = running.processId;
    if (running.output && running.output->ready()) {
        targets.outputArrived = running.output->arrivedEvent();
        targets.outputEnded = running.output->endedEvent();
    }
    targets.splash = splash;
    targets.startedAt = running.startedAt;
    return waitForApplication(policy, targets);
}

void reportStartFailure(const LaunchState& state, const JavaRuntime& runtime, const RunningApplication& running,
                        const WaitOutcome& outcome) {
    std::uint32_t status = outcome.end.status;
    StartFailure failure;
    failure.productName = productNameOf(state.executablePath);
    failure.status = status;
    failure.javaExecutable = runtime.executable;
    if (!runtime.home.empty()) {
        constexpr std::size_t ReleaseFileLimit = 64 * 1024;
        if (std::optional<std::string> release = readWholeFile(runtime.home + "\\release", ReleaseFileLimit))
            failure.javaVersion = versionFromReleaseFile(*release);
    }
    failure.commandLine = running.commandLine;
    failure.runtimeMessages = outcome.runtimeMessages;
    failure.lastOutput = running.output ? running.output->lastOutput() : std::string();
    traceLog().trace("The application could not start: exit status " + exitStatusText(status));
    showStartFailureReport(failure.productName, startFailureReportText(failure));
}

} // namespace

int runLauncher(HINSTANCE instance, const std::string& commandLine, int showCommand) {
    // Ctrl+C and Ctrl+Break are the application's from the launcher's first moment on.
    SetConsoleCtrlHandler(letTheApplicationHandleInterrupts, TRUE);
    loadLibrariesFromSystemFolderOnly();
    LogFilesCloser closeLogsAtEnd;

    LaunchState state;
    if (std::optional<int> exitCode = readSwitches(commandLine, state)) return *exitCode;
    if (!claimInstanceWhenSingle(state)) return 0;
    if (state.debugLog) openDebugFiles();
    if (std::optional<int> exitCode = readSettings(state)) return *exitCode;
    std::optional<JavaRuntime> runtime = findRuntime(state);
    if (!runtime) return 1;
    state.vmOptions = vmOptionsForRuntime(state.vmOptionPieces, *runtime);

    WaitPolicy policy = decideWaitPolicy(state.waitChoices);
    SplashPicture splashPicture;
    HWND splash = nullptr;
    if (!showSplashWhenAsked(policy, instance, splashPicture, splash)) return 1;

    Result<JavaStart> java = javaStartFor(state, *runtime);
    if (!java) {
        traceLog().trace(java.failure().what);
        showError(java.failure().what);
        return 1;
    }
    RestartPolicy restarts = restartPolicySetting();
    for (;;) {
        Result<RunningApplication> running =
            startJava(state, *runtime, withStartupCache(state, *runtime, java.value().arguments), showCommand);
        if (!running) {
            traceLog().trace("The application could not start: " + startFailureReason(running.failure()));
            showError(startFailureMessage(running.failure()));
            return 1;
        }
        if (java.value().argumentFile) java.value().argumentFile->givenTo(running.value().process.get());
        state.instance.recordApplication(running.value().process.get(), running.value().processId);
        WaitOutcome outcome = waitFor(policy, running.value(), splash);
        // A restart status is the application's wish to run again, not a failure to start.
        if (policy.stay == Stay::UntilApplicationEnds && outcome.end.ended && startsAgain(restarts, outcome.end.status)) {
            state.instance.recordRestart();
            if (splash) ShowWindow(splash, SW_HIDE);
            policy.splash = false; // the splash belongs to the first start
            continue;
        }
        if (outcome.startFailed) reportStartFailure(state, *runtime, running.value(), outcome);
        return static_cast<int>(outcome.exitCode);
    }
}
