#include "launcher/launch_sequence.h"

#include <direct.h>

#include <string>

#include "jvm/jvm_locator.h"
#include "launcher/ansi_text.h"
#include "launcher/launch_state.h"
#include "launcher/messages.h"
#include "launcher/paths.h"
#include "launcher/setting_ids.h"
#include "launcher/settings.h"
#include "launcher/switches.h"
#include "launcher/system_libraries.h"
#include "process/application_runner.h"
#include "process/application_start.h"
#include "process/command_line.h"
#include "process/vm_options.h"
#include "trace/trace_log.h"
#include "ui/cannot_start_dialog.h"
#include "ui/splash_window.h"
#include "ui/startup_monitor.h"

namespace {

// How long the launcher waits, after the application has ended, for the rest of its output.
constexpr DWORD OutputDrainMilliseconds = 2000;

} // namespace

int runLauncher(HINSTANCE instance, const char* commandLine, int showCommand) {
    // Libraries are never looked for in the current directory, which may be a downloads folder.
    SetDllDirectoryA("");
    loadDelayedLibrariesFromSystemFolder();
    LaunchState& state = launchState();
    TraceLog& log = traceLog();

    switch (scanSwitches(commandLine, nextAnsiChar)) {
    case SwitchAction::ConsoleJava:
        log.trace("run as console application");
        state.javaExecutableName = "java.exe";
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

    if (state.debugLog) log.openLogFile();

    std::optional<std::string> ownPath = executablePath();
    std::optional<std::string> executableDirectory = ownPath ? executableDirectoryOf(*ownPath) : std::nullopt;
    if (!executableDirectory) {
        showError("Cannot determine where the launcher itself is stored, so its application cannot be found.");
        return 1;
    }

    std::string vmOptions = readVmOptions(*ownPath);
    log.trace(vmOptions);
    std::string jar = LauncherSettings::text(SettingJar);
    log.trace(jar);

    state.splashActive = LauncherSettings::flag(SettingSplash);
    state.jdkRequired = LauncherSettings::flag(SettingJdkRequired);
    state.stayAlive = LauncherSettings::flag(SettingStayAlive);

    std::string workingDirectory =
        workingDirectoryOf(*executableDirectory, LauncherSettings::text(SettingWorkingDirectory));
    log.trace(workingDirectory);
    _chdir(workingDirectory.c_str()); // when it fails, the launcher stays where it was started

    std::string javaExecutable = findJavaExecutable(*executableDirectory, state);
    log.trace(javaExecutable);
    if (!fileExists(javaExecutable)) {
        showCannotStartDialog(state.jdkRequired, state.minimumJavaVersion);
        return 1;
    }

    bool monitored = state.splashActive || state.stayAlive;
    if (monitored) {
        // Without the window the timer could never be stopped: end as a failed timer does.
        if (!createMonitorWindow(instance)) return 1;
        if (state.splashActive) {
            int seconds = LauncherSettings::number(SettingSplashSeconds);
            state.splashSecondsLeft = seconds < 1 ? 2 : seconds;
            state.waitForWindow = LauncherSettings::flag(SettingWaitForWindow);
            if (!showSplash(showCommand)) {
                showError(SplashLoadFailedText);
                return 1;
            }
        }
        if (!installStartupMonitor()) return 1;
    }

    std::string bootClassPath = state.jdkRequired ? buildBootClassPath(state.javaHome) : std::string();
    std::string arguments = javaArguments(vmOptions, bootClassPath, jar);
    StartResult start = startApplication(javaExecutable, arguments, new ApplicationProcessRunner(0));
    if (!start.started) {
        state.splashActive = false;
        showError(startFailureMessage(start.error));
        return 1;
    }

    if (monitored) {
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        state.closeChildHandles();
        WaitForSingleObject(state.outputEnded.get(), OutputDrainMilliseconds);
        return static_cast<int>(state.exitCode);
    }
    state.closeChildHandles();
    return 0;
}
