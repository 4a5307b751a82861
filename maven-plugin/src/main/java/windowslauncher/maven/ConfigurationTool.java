package windowslauncher.maven;

import java.io.IOException;
import java.io.InputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.util.ArrayList;
import java.util.Comparator;
import java.util.List;
import java.util.stream.Stream;

import org.apache.maven.plugin.MojoExecutionException;
import org.apache.maven.plugin.MojoFailureException;

/**
 * The configuration tool for the build host and the prebuilt launchers, taken out of the plugin
 * jar into a folder of their own; closing removes the folder.
 */
final class ConfigurationTool implements AutoCloseable {
    static final String RESOURCES = "windows-launcher/";

    private final Path folder;
    private final Path tool;

    private ConfigurationTool(Path folder, Path tool) {
        this.folder = folder;
        this.tool = tool;
    }

    /** Extracts the host's tool into a new folder inside {@code parent}. */
    static ConfigurationTool extract(BuildHost host, Path parent) throws MojoExecutionException {
        Path folder;
        try {
            Files.createDirectories(parent);
            folder = Files.createTempDirectory(parent, "launcher-configure-");
        } catch (IOException e) {
            throw new MojoExecutionException("Cannot make a folder for the configuration tool in " + parent + ": " + e, e);
        }
        ConfigurationTool extracted = new ConfigurationTool(folder, folder.resolve(fileName(host.tool)));
        try {
            extracted.copyResource(host.tool, extracted.tool);
            if (!extracted.tool.toFile().setExecutable(true, true))
                throw new MojoExecutionException("Cannot make " + extracted.tool + " executable");
            return extracted;
        } catch (MojoExecutionException | RuntimeException e) {
            extracted.close();
            throw e;
        }
    }

    /** The prebuilt launcher of one architecture ({@code x86_64} or {@code i686}), extracted. */
    Path launcher(String architecture) throws MojoExecutionException {
        Path launcher = folder.resolve("launcher-" + architecture + ".exe");
        if (!Files.exists(launcher)) copyResource(architecture + "/launcher.exe", launcher);
        return launcher;
    }

    /**
     * Runs the tool; its output is returned when it succeeds and is the failure's message when
     * it does not (the tool names the setting or file it refuses).
     */
    String configure(Path launcher, Path settings, Path splash, Path splash2x, Path out)
            throws MojoExecutionException, MojoFailureException {
        List<String> command = new ArrayList<>(List.of(tool.toString(), "--launcher", launcher.toString(),
                "--settings", settings.toString(), "--out", out.toString()));
        if (splash != null) command.addAll(List.of("--splash", splash.toString()));
        if (splash2x != null) command.addAll(List.of("--splash-2x", splash2x.toString()));
        Process process;
        try {
            process = new ProcessBuilder(command).redirectErrorStream(true).start();
        } catch (IOException e) {
            throw new MojoExecutionException("Cannot run the configuration tool " + tool + ": " + e.getMessage(), e);
        }
        try (InputStream output = process.getInputStream()) {
            String text = new String(output.readAllBytes(), StandardCharsets.UTF_8).strip();
            int status = process.waitFor();
            if (status != 0)
                throw new MojoFailureException(text.isEmpty() ? "launcher-configure ended with status " + status : text);
            return text;
        } catch (IOException e) {
            process.destroyForcibly();
            throw new MojoExecutionException("Cannot read the configuration tool's output: " + e.getMessage(), e);
        } catch (InterruptedException e) {
            process.destroyForcibly();
            Thread.currentThread().interrupt();
            throw new MojoExecutionException("Interrupted while the configuration tool ran", e);
        }
    }

    @Override
    public void close() {
        try (Stream<Path> paths = Files.walk(folder)) {
            paths.sorted(Comparator.reverseOrder()).forEach(path -> path.toFile().delete());
        } catch (IOException e) {
            // Only the folder's own files are left behind; the build's result does not depend on them.
        }
    }

    private void copyResource(String name, Path target) throws MojoExecutionException {
        try (InputStream in = ConfigurationTool.class.getClassLoader().getResourceAsStream(RESOURCES + name)) {
            if (in == null)
                throw new MojoExecutionException("The plugin jar lacks " + RESOURCES + name + "; it was built without it");
            Files.copy(in, target, StandardCopyOption.REPLACE_EXISTING);
        } catch (IOException e) {
            throw new MojoExecutionException("Cannot extract " + RESOURCES + name + " to " + target + ": " + e, e);
        }
    }

    private static String fileName(String resource) {
        return resource.substring(resource.lastIndexOf('/') + 1);
    }
}
