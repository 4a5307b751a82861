#include "launcher/launch_sequence.h"

#include <string>

#include "base/file_system.h"
#include "base/setting_ids.h"
#include "base/system_error.h"
#include "base/utf8.h"
#include "jvm/runtime_search.h"
#include "jvm/win32_search_system.h"
#include "launcher/launch_state.h"
#include "launcher/paths.h"
#include "launcher/restart_setting.h"
#include "launcher/settings.h"
#include "launcher/single_instance.h"
#include "launcher/switches.h"
#include "launcher/system_libraries.h"
#include "launcher/variables.h"
#include "process/application_runner.h"
#include "process/application_start.h"
#include "process/command_line.h"
#include "process/vm_options_file.h"
#include "trace/trace_log.h"
#include "ui/cannot_start_dialog.h"
#include "ui/messages.h"
#include "ui/splash_window.h"
#include "ui/startup_monitor.h"

namespace {

// After the application has ended, the launcher waits for the rest of its output as long as it
// keeps coming, and gives up when none came for this long (a helper process may hold it open).
constexpr DWORD OutputDrainMilliseconds = 2000;

// log.txt is closed once the launch sequence is done, whatever way it ends; the application's
// reader thread may still be running then, and its writes are dropped.
struct LogFileCloser {
    ~LogFileCloser() { traceLog().closeLogFile(); }
};

std::string minimumVersionSetting() {
    std::string minimum = LauncherSettings::text(SettingMinimumVersion);
    return minimum.empty() ? "1.3" : minimum;
}

void traceAll(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) traceLog().trace(line);
}

void drainOutput(const LaunchState& state) {
    HANDLE events[] = {state.outputEnded.get(), state.outputArrived.get()};
    for (;;) {
        DWORD wait = WaitForMultipleObjects(2, events, FALSE, OutputDrainMilliseconds);
        if (wait != WAIT_OBJECT_0 + 1) return; // ended, silent too long, or no events to wait on
    }
}

// A console launcher outlives Ctrl+C and Ctrl+Break: they are the application's to handle,
// and the launcher still returns its status. Closing the console ends the launcher as usual.
BOOL WINAPI letTheApplicationHandleInterrupts(DWORD event) {
    return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
}

// The monitor watches the next run anew, and that run's output gets events of its own: the
// reader of the run before may still be signalling its own.
[[nodiscard]] bool prepareAnotherRun(LaunchState& state) {
    state.monitor.applicationEnded = false;
    state.monitor.exitCode = 0;
    state.outputArrived = UniqueHandle(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    state.outputEnded = UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    return installStartupMonitor(state.monitor);
}

} // namespace

int runLauncher(HINSTANCE instance, const std::string& commandLine, int showCommand) {
    // From the very start: Ctrl+C during the search must not end a console launcher.
    SetConsoleCtrlHandler(letTheApplicationHandleInterrupts, TRUE);
    loadLibrariesFromSystemFolderOnly();
    LaunchState state;
    TraceLog& log = traceLog();
    LogFileCloser closeLogAtEnd;

    state.consoleLauncher = LauncherSettings::flag(SettingConsole);
    if (state.consoleLauncher) state.javaExecutableName = "java.exe";
    CommandLineTail tail =
        readCommandLineTail(commandLine.c_str(), LauncherSettings::flag(SettingPassArguments), nextUtf8Char);
    switch (tail.action) {
    case SwitchAction::ConsoleJava:
        log.trace("run as console application");
        state.javaExecutableName = "java.exe";
        state.consoleWindow = !state.consoleLauncher;
        break;
    case SwitchAction::DebugLog:
        log.trace("run with debug flag");
        state.debugLog = true;
        break;
    case SwitchAction::ShowUsage:
        showInfo(UsageText);
        return 0;
    case SwitchAction::None:
        break;
    }

    // One instance: a second start brings the running application forward and starts none.
    // Before the log file, which would empty the running application's log.
    InstanceMarker singleInstance;
    if (LauncherSettings::flag(SettingSingleInstance)) {
        std::optional<InstanceMarker> claimed = claimSingleInstance();
        if (!claimed) return 0;
        singleInstance = std::move(*claimed);
    }

    if (state.debugLog) {
        // Without its log the application still starts; the user learns why there is none.
        if (Result<void> opened = log.openLogFile(); !opened) {
            log.trace(opened.failure().what);
            showError(opened.failure().what);
        }
    }

    std::optional<std::string> ownPath = executablePath();
    std::optional<std::string> executableDirectory = ownPath ? executableDirectoryOf(*ownPath) : std::nullopt;
    if (!executableDirectory) {
        showError("Cannot determine where the launcher itself is stored, so its application cannot be found.");
        return 1;
    }

    std::string vmOptions = expandLauncherVariables(
        readVmOptionsFile(*ownPath).value_or(LauncherSettings::text(SettingVmOptions)), *ownPath);
    log.trace(vmOptions);
    std::string jar = LauncherSettings::text(SettingJar);
    log.trace(jar);

    MonitorFields& monitorFields = state.monitor.fields;
    monitorFields.splashActive = LauncherSettings::flag(SettingSplash);
    state.jdkRequired = LauncherSettings::flag(SettingJdkRequired);
    // A console launcher returns the application's status, as console programs do.
    monitorFields.stayAlive = LauncherSettings::flag(SettingStayAlive) || state.consoleLauncher;

    std::string workingDirectory = workingDirectoryOf(
        *executableDirectory, expandLauncherVariables(LauncherSettings::text(SettingWorkingDirectory), *ownPath));
    log.trace(workingDirectory);
    // When it cannot be entered, the launcher stays where it was started and goes on from there.
    if (Result<void> entered = enterDirectory(workingDirectory); !entered)
        log.trace(entered.failure().what + ": " + systemErrorText(entered.failure().systemError));

    state.minimumJavaVersion = minimumVersionSetting();
    SearchRequest request{state.minimumJavaVersion, LauncherSettings::text(SettingMaximumVersion), state.jdkRequired,
                          state.javaExecutableName, *executableDirectory,
                          expandLauncherVariables(LauncherSettings::text(SettingBundledJava), *ownPath)};
    restoreLibrarySearchForChildren();
    Win32SearchSystem system;
    SearchAnswer answer = findJavaRuntime(request, system);
    traceAll(answer.trace);
    state.javaHome = answer.home;
    log.trace(answer.executable);
    if (!fileExists(answer.executable)) {
        showCannotStartDialog(state.jdkRequired, state.minimumJavaVersion);
        return 1;
    }
    std::string javaExecutable = answer.executable;
    if (state.consoleLauncher || state.consoleWindow) {
        // A bundled javaw.exe has its console twin beside it.
        std::string console = consoleJavaBeside(javaExecutable);
        if (!console.empty() && fileExists(console)) javaExecutable = console;
    }

    bool monitored = monitorFields.splashActive || monitorFields.stayAlive;
    if (monitored) {
        // Without the window the timer could never be stopped: end as a failed timer does.
        if (!createMonitorWindow(instance, state.monitor)) return 1;
        if (monitorFields.splashActive) {
            int seconds = LauncherSettings::number(SettingSplashSeconds);
            monitorFields.splashSecondsLeft = seconds < 1 ? 2 : seconds;
            monitorFields.waitForWindow = LauncherSettings::flag(SettingWaitForWindow);
            if (!state.splashPicture.load()) {
                showError(SplashLoadFailedText);
                return 1;
            }
            showSplash(state.monitor.window, state.splashPicture, showCommand);
        }
        if (!installStartupMonitor(state.monitor)) return 1;
    }

    std::string bootClassPath;
    if (state.jdkRequired) {
        // Java 9 and later hold the compiler and tools as modules and refuse -Xbootclasspath/p.
        if (fileExists(state.javaHome + "\\lib\\modules"))
            log.trace("JDK with modules: no boot class path");
        else
            bootClassPath = buildBootClassPath(state.javaHome);
    }
    std::string arguments = javaArguments(vmOptions, bootClassPath, jar, tail.applicationArguments);
    // Restart: each pass starts the application with the same command line and waits for it.
    RestartPolicy restarts = restartPolicySetting();
    for (;;) {
        Result<StartedProcess> started =
            state.consoleLauncher ? startApplicationOnConsole(javaExecutable, arguments, ConsoleUse::SharedWithLauncher, showCommand)
            : state.consoleWindow ? startApplicationOnConsole(javaExecutable, arguments, ConsoleUse::NewWindow, showCommand)
                                  : startApplication(javaExecutable, arguments,
                                                     new ApplicationProcessRunner(state.debugLog, state.outputArrived.duplicate(),
                                                                                  state.outputEnded.duplicate()),
                                                     showCommand);
        if (!started) {
            monitorFields.splashActive = false;
            showError(startFailureMessage(started.failure()));
            return 1;
        }
        state.childProcess = std::move(started.value().process);
        state.childThread = std::move(started.value().thread);
        state.monitor.application = state.childProcess.get();
        state.monitor.applicationId = started.value().processId;
        singleInstance.recordApplication(state.childProcess.get(), started.value().processId);

        if (monitored) {
            runMessageLoop(state.monitor);
            bool ended = WaitForSingleObject(state.childProcess.get(), 0) == WAIT_OBJECT_0;
            state.monitor.application = nullptr;
            state.closeChildHandles();
            if (ended && monitorFields.stayAlive && startsAgain(restarts, state.monitor.exitCode)) {
                singleInstance.recordRestart();
                if (!prepareAnotherRun(state)) return 1;
                continue;
            }
            // The rest of an ended application's output; a running one's output is not waited for.
            bool captured = !state.consoleLauncher && !state.consoleWindow;
            if (ended && captured) drainOutput(state);
            return static_cast<int>(state.monitor.exitCode);
        }
        state.closeChildHandles();
        return 0;
    }
}
