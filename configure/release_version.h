#pragma once

// The release the tool and the prebuilt launchers it configures belong to; the Maven plugin
// carries the same version (maven-plugin/pom.xml).
constexpr const char* ToolVersion = "1.0.0";
constexpr const char* LauncherVersion = "1.0.0";
