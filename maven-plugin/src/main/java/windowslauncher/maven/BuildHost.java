package windowslauncher.maven;

import java.util.List;
import java.util.Locale;
import java.util.Optional;
import java.util.stream.Collectors;

import org.apache.maven.plugin.MojoExecutionException;

/** A system the plugin can run on, and the configuration tool the plugin jar carries for it. */
final class BuildHost {
    /** Every supported host. Windows on ARM64 runs the x86_64 tool through its own emulation. */
    private static final List<BuildHost> SUPPORTED = List.of(
            new BuildHost("Linux", "x86_64", "linux-x86_64/launcher-configure"),
            new BuildHost("Linux", "aarch64", "linux-aarch64/launcher-configure"),
            new BuildHost("Windows", "x86_64", "windows-x86_64/launcher-configure.exe"),
            new BuildHost("Windows", "aarch64", "windows-x86_64/launcher-configure.exe"));

    final String system;
    final String architecture;
    /** The tool's place in the plugin jar, below {@link ConfigurationTool#RESOURCES}. */
    final String tool;

    private BuildHost(String system, String architecture, String tool) {
        this.system = system;
        this.architecture = architecture;
        this.tool = tool;
    }

    /** The host this JVM runs on, or a failure that names it and the supported ones. */
    static BuildHost of(String osName, String osArch) throws MojoExecutionException {
        String system = osName.startsWith("Windows") ? "Windows" : osName;
        String architecture = architectureName(osArch);
        Optional<BuildHost> host = SUPPORTED.stream()
                .filter(candidate -> candidate.system.equals(system) && candidate.architecture.equals(architecture))
                .findFirst();
        if (host.isEmpty())
            throw new MojoExecutionException("The Windows launcher cannot be configured on this build host (os.name "
                    + osName + ", os.arch " + osArch + "); supported build hosts: " + supportedNames() + ".");
        return host.get();
    }

    static BuildHost current() throws MojoExecutionException {
        return of(System.getProperty("os.name", ""), System.getProperty("os.arch", ""));
    }

    /** JVMs name the same processor differently (amd64 and x86_64, aarch64 and arm64). */
    private static String architectureName(String osArch) {
        switch (osArch.toLowerCase(Locale.ROOT)) {
            case "amd64":
            case "x86_64":
                return "x86_64";
            case "aarch64":
            case "arm64":
                return "aarch64";
            default:
                return osArch;
        }
    }

    private static String supportedNames() {
        return SUPPORTED.stream().map(host -> host.system + " " + host.architecture).collect(Collectors.joining(", "));
    }
}
