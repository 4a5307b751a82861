#pragma once

// Ids of the launcher's string table. Everything that adapts the launcher to one application
// is stored under these ids; an absent or empty entry reads as "not set".
enum SettingId : unsigned {
    SettingSplash = 96,            // flag: show the splash picture while the application starts
    SettingStayAlive = 97,         // flag: stay until the application has ended
    SettingSplashSeconds = 98,     // number: splash phase in one-second ticks
    SettingBundledJava = 99,       // text: shipped Java executable, relative to the launcher's folder
    SettingVmOptions = 100,        // text: VM arguments used when no .vmoptions file exists
    SettingJar = 101,              // text: jar file given to Java after -jar
    SettingWaitForWindow = 102,    // flag: end the splash at the application's first visible window
    SettingWorkingDirectory = 103, // text: working directory, relative to the launcher's folder
    SettingMinimumVersion = 104,   // text: minimum Java version
    SettingJdkRequired = 105,      // flag: a development kit is required
    SettingPassArguments = 106,    // flag: the launcher's command-line tail goes to the application
    SettingMaximumVersion = 107,   // text: highest Java version that may run the application
    SettingConsole = 108,          // flag: a console program: java.exe shares the launcher's console
    SettingStartupCheckSeconds = 109, // number: how long a failed start is reported (0: never)
    SettingDownloadUrl = 110,      // text: where the cannot-start dialog sends users for Java
    SettingRestartOnExit = 111,    // text: exit statuses that start the application again
    SettingSingleInstance = 112,   // flag: a second start brings the running application forward
    SettingStartupCache = 119,     // flag: a startup cache per user, runtime and application version
};

constexpr unsigned FirstSettingId = SettingSplash;
constexpr unsigned LastSettingId = SettingStartupCache;
