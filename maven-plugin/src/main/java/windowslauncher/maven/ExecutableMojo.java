package windowslauncher.maven;

import java.io.File;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

import org.apache.maven.plugin.AbstractMojo;
import org.apache.maven.plugin.MojoExecutionException;
import org.apache.maven.plugin.MojoFailureException;
import org.apache.maven.plugins.annotations.LifecyclePhase;
import org.apache.maven.plugins.annotations.Mojo;
import org.apache.maven.plugins.annotations.Parameter;

/**
 * Writes {@code target/<outputName>.exe}: a prebuilt Windows launcher configured for the
 * project's jar by the configuration tool for the build host, and attaches it to the project.
 */
@Mojo(name = "exe", defaultPhase = LifecyclePhase.PACKAGE, threadSafe = true)
public class ExecutableMojo extends AbstractMojo {
    private static final Map<String, List<String>> ARCHITECTURES = Map.of(
            "x86_64", List.of("x86_64"), "i686", List.of("i686"), "both", List.of("x86_64", "i686"));

    /** Skips the goal. */
    @Parameter(property = "launcher.skip", defaultValue = "false")
    private boolean skip;

    /** The launcher's architecture: {@code x86_64}, {@code i686} or {@code both}. */
    @Parameter(property = "launcher.arch", defaultValue = "x86_64")
    private String arch;

    /** The executable's name without {@code .exe}; with {@code arch} both, the architecture follows it. */
    @Parameter(property = "launcher.outputName", defaultValue = "${project.artifactId}")
    private String outputName;

    /** A splash picture (BMP, GIF, JPEG or PNG): shown while the application starts. */
    @Parameter(property = "launcher.splash")
    private File splash;

    /** The splash picture at twice the size, shown on high-DPI screens (200 %); needs {@code splash}. */
    @Parameter(property = "launcher.splash2x")
    private File splash2x;

    /** Stay until the application has ended and return its exit status. */
    @Parameter(property = "launcher.stayAlive", defaultValue = "false")
    private boolean stayAlive;

    /** Length of the splash phase in seconds; less than 1 means 2. */
    @Parameter(property = "launcher.splashSeconds")
    private Integer splashSeconds;

    /** Java executable shipped with the application, relative to the launcher's folder. */
    @Parameter(property = "launcher.bundledJava")
    private String bundledJava;

    /** VM arguments, used when there is no {@code .vmoptions} file. */
    @Parameter(property = "launcher.vmOptions")
    private String vmOptions;

    /** The jar given to Java after {@code -jar}, relative to the working directory. */
    @Parameter(property = "launcher.jar", defaultValue = "${project.build.finalName}.jar")
    private String jar;

    /** End the splash as soon as the application shows a visible window. */
    @Parameter(property = "launcher.waitForWindow", defaultValue = "false")
    private boolean waitForWindow;

    /** Working directory, relative to the launcher's folder. */
    @Parameter(property = "launcher.workingDir")
    private String workingDir;

    /** Minimum Java version; {@code maven.compiler.release} (or {@code maven.compiler.target}) when not given. */
    @Parameter(property = "launcher.minVersion")
    private String minVersion;

    @Parameter(defaultValue = "${maven.compiler.release}", readonly = true)
    private String compilerRelease;

    @Parameter(defaultValue = "${maven.compiler.target}", readonly = true)
    private String compilerTarget;

    /** A Java development kit is required. */
    @Parameter(property = "launcher.jdkRequired", defaultValue = "false")
    private boolean jdkRequired;

    /** The launcher's arguments follow the jar, exactly as given. */
    @Parameter(property = "launcher.passArguments", defaultValue = "false")
    private boolean passArguments;

    /** Highest Java version. */
    @Parameter(property = "launcher.maxVersion")
    private String maxVersion;

    /** A console program for command-line applications. */
    @Parameter(property = "launcher.console", defaultValue = "false")
    private boolean console;

    /** Seconds in which a failed start is reported. */
    @Parameter(property = "launcher.startupCheckSeconds")
    private Integer startupCheckSeconds;

    /** The address the cannot-start dialog links to. */
    @Parameter(property = "launcher.downloadUrl")
    private String downloadUrl;

    /** Exit statuses that start the application again, separated by commas. */
    @Parameter(property = "launcher.restartOnExit")
    private String restartOnExit;

    /** A second start brings the running application forward. */
    @Parameter(property = "launcher.singleInstance", defaultValue = "false")
    private boolean singleInstance;

    /** A startup cache made on the user's PC for the chosen runtime (Java 13 and later). */
    @Parameter(property = "launcher.startupCache", defaultValue = "false")
    private boolean startupCache;

    /** The executable's icon (an {@code .ico} file). */
    @Parameter(property = "launcher.icon")
    private File icon;

    /** ProductName of the version resource; the project's name when not given. */
    @Parameter(property = "launcher.productName")
    private String productName;

    /** FileDescription (shown by the task manager); the project's description when not given. */
    @Parameter(property = "launcher.description")
    private String description;

    /** File and product version, up to four numbers; the project version's numbers when not given. */
    @Parameter(property = "launcher.version")
    private String version;

    /** CompanyName; the project's organization when not given. */
    @Parameter(property = "launcher.company")
    private String company;

    /** LegalCopyright. */
    @Parameter(property = "launcher.copyright")
    private String copyright;

    @Parameter(defaultValue = "${project.name}", readonly = true)
    private String projectName;

    @Parameter(defaultValue = "${project.description}", readonly = true)
    private String projectDescription;

    @Parameter(defaultValue = "${project.version}", readonly = true)
    private String projectVersion;

    @Parameter(defaultValue = "${project.organization.name}", readonly = true)
    private String organizationName;

    @Parameter(defaultValue = "${project.groupId}", readonly = true)
    private String groupId;

    @Parameter(defaultValue = "${project.artifactId}", readonly = true)
    private String artifactId;

    @Parameter(defaultValue = "${project.build.directory}", readonly = true)
    private File buildDirectory;

    @Parameter(defaultValue = "${project}", readonly = true)
    private Object project;

    @Parameter(defaultValue = "${mojoExecution}", readonly = true)
    private Object mojoExecution;

    @Override
    public void execute() throws MojoExecutionException, MojoFailureException {
        if (skip) {
            getLog().info("Skipping the Windows launcher");
            return;
        }
        IgnoredParameters.warnAbout(project, mojoExecution, getLog());
        warnAboutSplashParameters();
        List<String> architectures = ARCHITECTURES.get(arch);
        if (architectures == null)
            throw new MojoFailureException("arch is x86_64, i686 or both, not \"" + arch + "\"");
        Path directory = buildDirectory.toPath();
        Path settingsFile = directory.resolve(outputName + ".settings");
        Map<String, Path> outputs = new LinkedHashMap<>();
        for (String architecture : architectures)
            outputs.put(architecture, directory.resolve(architectures.size() == 1 ? outputName + ".exe"
                    : outputName + "-" + architecture + ".exe"));
        // A failed build leaves no executable at the output paths, not even one of an earlier build.
        try {
            BuildHost host = BuildHost.current();
            SettingsFile.write(settingsFile, SettingKeys.load().ordered(settings()));
            configureAll(host, settingsFile, outputs);
        } catch (MojoExecutionException | MojoFailureException | RuntimeException e) {
            outputs.values().forEach(this::remove);
            throw e;
        }
        for (Map.Entry<String, Path> output : outputs.entrySet())
            ExecutableArtifact.attach(project, groupId, artifactId, projectVersion, "windows-" + output.getKey(),
                    output.getValue().toFile());
    }

    /**
     * Every settings-file key and its value (the one table of the mapping): the parameter's name
     * is the key in camelCase, except the splash picture, which turns the splash on. The keys and
     * their kinds are checked against the launcher's key table (SettingKeys).
     */
    private Map<String, Object> settings() {
        Map<String, Object> settings = new LinkedHashMap<>();
        settings.put("splash", splash != null);
        settings.put("stay_alive", stayAlive);
        settings.put("splash_seconds", splashSeconds);
        settings.put("bundled_java", bundledJava);
        settings.put("vm_options", vmOptions);
        settings.put("jar", jar);
        settings.put("wait_for_window", waitForWindow);
        settings.put("working_dir", workingDir);
        settings.put("min_version", minimumVersion());
        settings.put("jdk_required", jdkRequired);
        settings.put("pass_arguments", passArguments);
        settings.put("max_version", maxVersion);
        settings.put("console", console);
        settings.put("startup_check_seconds", startupCheckSeconds);
        settings.put("download_url", downloadUrl);
        settings.put("restart_on_exit", restartOnExit);
        settings.put("single_instance", singleInstance);
        settings.put("startup_cache", startupCache);
        settings.put("icon", icon == null ? null : icon.toPath());
        settings.put("product_name", productName != null ? productName : oneLine(projectName));
        settings.put("description", description != null ? description : oneLine(projectDescription));
        settings.put("version", version != null ? version : SettingsFile.numericVersion(projectVersion));
        settings.put("company", company != null ? company : oneLine(organizationName));
        settings.put("copyright", copyright);
        return settings;
    }

    private void configureAll(BuildHost host, Path settingsFile, Map<String, Path> outputs)
            throws MojoExecutionException, MojoFailureException {
        try (ConfigurationTool tool = ConfigurationTool.extract(host, buildDirectory.toPath())) {
            for (Map.Entry<String, Path> output : outputs.entrySet()) {
                // The tool says what it wrote, for which architecture, with which settings file.
                String said = tool.configure(tool.launcher(output.getKey()), settingsFile, absolute(splash),
                        splash == null ? null : absolute(splash2x), output.getValue());
                for (String line : said.split("\\R"))
                    if (!line.isBlank()) getLog().info(line);
            }
        }
    }

    private static Path absolute(File file) {
        return file == null ? null : file.toPath().toAbsolutePath();
    }

    /**
     * The minimum Java version: the parameter, or else the Java release the project compiles for
     * (a release of 8 or below is Java 1.8 and below, as the runtimes name themselves).
     */
    private String minimumVersion() {
        if (minVersion != null) return minVersion;
        boolean hasRelease = compilerRelease != null && !compilerRelease.isBlank();
        String property = hasRelease ? "maven.compiler.release" : "maven.compiler.target";
        String release = hasRelease ? compilerRelease : compilerTarget;
        if (release == null || release.isBlank()) return null;
        String version = SettingsFile.javaVersion(release.strip());
        if (version == null) {
            getLog().warn("minVersion is not set and " + property + "=" + release
                    + " is no Java version; the launcher accepts any Java. Set minVersion.");
            return null;
        }
        getLog().info("minVersion is not set: the launcher asks for Java " + version + " or later, from " + property
                + "=" + release);
        return version;
    }

    /** The splash parameters that mean nothing without a splash picture. */
    private void warnAboutSplashParameters() {
        if (splash != null) return;
        if (splash2x != null) getLog().warn("splash2x is ignored: it is the high-DPI form of splash, which is not set");
        if (splashSeconds != null) getLog().warn("splashSeconds has no effect: there is no splash picture (splash)");
        if (waitForWindow) getLog().warn("waitForWindow has no effect: there is no splash picture (splash)");
    }

    /** A project's texts may span lines in the POM; the version resource takes them as one line. */
    private static String oneLine(String text) {
        return text == null ? null : text.strip().replaceAll("\\s+", " ");
    }

    private void remove(Path file) {
        try {
            Files.deleteIfExists(file);
        } catch (IOException e) {
            getLog().warn("Cannot remove " + file + ": " + e);
        }
    }
}
