#include "launcher/java_start.h"

#include "base/file_system.h"
#include "base/system_error.h"
#include "base/text_encoding.h"
#include "jvm/boot_class_path.h"
#include "launcher/later_start_rules.h"
#include "launcher/settings.h"
#include "launcher/variables.h"
#include "process/argument_file.h"
#include "process/java_paths.h"
#include "settings_contract/setting_ids.h"
#include "trace/trace_log.h"

LaunchForm launchFormSetting(const LaunchState& state) {
    auto expanded = [&](unsigned id) { return expandLauncherVariables(LauncherSettings::text(id), state.executablePath); };
    LaunchSettings settings{state.jar, LauncherSettings::text(SettingMainClass), expanded(SettingClassPath),
                            LauncherSettings::text(SettingModule), expanded(SettingModulePath)};
    return launchFormOf(settings, state.executableDirectory);
}

namespace {

// The paths of the launch form as Java can read them.
void makeJavaReadable(LaunchForm& form) {
    if (form.kind == LaunchKind::Jar) {
        std::string jar = jarEntry(form.jar), readable = javaReadablePath(jar);
        if (readable != jar) form.jar = readable;
    }
    for (std::vector<std::string>* entries : {&form.classPath, &form.modulePath})
        for (std::string& entry : *entries) entry = javaReadablePath(entry);
}

std::size_t commandLineLength(const JavaRuntime& runtime, const std::string& arguments) {
    return widen(fullCommandLine(fullPathOf(runtime.executable), arguments)).size();
}

} // namespace

bool fitsCommandLine(const JavaRuntime& runtime, const std::string& arguments) {
    return commandLineLength(runtime, arguments) < CommandLineLimit;
}

Result<JavaStart> javaStartFor(const LaunchState& state, const JavaRuntime& runtime) {
    std::string bootClassPath;
    if (state.jdkRequired) {
        // Java 9 and later hold the compiler and tools as modules and refuse -Xbootclasspath/p.
        if (fileExists(runtime.home + "\\lib\\modules"))
            traceLog().trace("JDK with modules: no boot class path");
        else
            bootClassPath = buildBootClassPath(runtime.home);
    }
    // With one instance the application's library learns where later starts hand their arguments.
    std::string vmOptions = state.vmOptions;
    if (std::string channel = state.instance.laterStartChannel(); !channel.empty())
        vmOptions += (vmOptions.empty() ? "" : " ") + laterStartChannelOption(channel);
    LaunchForm form = state.launchForm;
    makeJavaReadable(form);
    std::string applicationArguments = javaReadableArguments(state.tail.applicationArguments);
    JavaStart start;
    start.arguments = javaArguments(vmOptions, bootClassPath, form, applicationArguments);
    std::size_t length = commandLineLength(runtime, start.arguments);
    if (length < CommandLineLimit) return start;

    int featureVersion = runtime.featureVersion.value_or(0);
    if (!readsArgumentFiles(featureVersion)) return Failure{0, commandLineTooLongText(length, featureVersion, false)};
    traceLog().trace("The command line is " + std::to_string(length) + " characters long: options in an argument file");
    Result<std::unique_ptr<ArgumentFile>> file =
        ArgumentFile::write(argumentFileArguments(vmOptions, bootClassPath, form));
    if (!file) {
        const Failure& failure = file.failure();
        return Failure{failure.systemError, failure.what + ": " + systemErrorText(failure.systemError)};
    }
    start.arguments = argumentsWithFile(file.value()->path(), form, applicationArguments);
    start.argumentFile = std::move(file.value());
    if (commandLineLength(runtime, start.arguments) >= CommandLineLimit)
        return Failure{0, commandLineTooLongText(length, featureVersion, true)};
    return start;
}

