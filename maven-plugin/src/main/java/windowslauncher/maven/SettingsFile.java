package windowslauncher.maven;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Map;
import java.util.regex.Matcher;
import java.util.regex.Pattern;

import org.apache.maven.plugin.MojoExecutionException;
import org.apache.maven.plugin.MojoFailureException;

/** The settings file the configuration tool reads: one {@code key=value} a line, UTF-8. */
final class SettingsFile {
    private static final Pattern NUMERIC_VERSION = Pattern.compile("\\d+(\\.\\d+){0,3}");

    private SettingsFile() {
    }

    /**
     * The text for settings keyed by their settings-file key: a flag is {@code on} when true and
     * left out when false, a missing value is left out, anything else is written as its text.
     */
    static String text(Map<String, Object> settings) throws MojoFailureException {
        StringBuilder text = new StringBuilder("# Written by the windows-launcher Maven plugin\n");
        for (Map.Entry<String, Object> setting : settings.entrySet()) {
            String value = valueText(setting.getValue());
            if (value == null) continue;
            if (value.indexOf('\n') >= 0 || value.indexOf('\r') >= 0)
                throw new MojoFailureException("The launcher setting " + parameterName(setting.getKey())
                        + " holds a line break; a setting is one line of the settings file, so write it on one line.");
            text.append(setting.getKey()).append('=').append(value).append('\n');
        }
        return text.toString();
    }

    static void write(Path file, Map<String, Object> settings) throws MojoExecutionException, MojoFailureException {
        String text = text(settings);
        try {
            Files.createDirectories(file.getParent());
            Files.writeString(file, text, StandardCharsets.UTF_8);
        } catch (IOException e) {
            throw new MojoExecutionException("Cannot write the settings file " + file + ": " + e, e);
        }
    }

    /** The plugin parameter that sets a key: {@code stay_alive} is {@code stayAlive}. */
    static String parameterName(String key) {
        StringBuilder name = new StringBuilder();
        boolean upper = false;
        for (char c : key.toCharArray()) {
            if (c == '_') {
                upper = true;
            } else {
                name.append(upper ? Character.toUpperCase(c) : c);
                upper = false;
            }
        }
        return name.toString();
    }

    /**
     * The launcher's version from a project version: its leading numbers, four of them
     * ({@code 1.4.0-SNAPSHOT} gives {@code 1.4.0.0}), or null when it starts with none.
     */
    static String numericVersion(String projectVersion) {
        if (projectVersion == null) return null;
        Matcher numbers = NUMERIC_VERSION.matcher(projectVersion);
        if (!numbers.lookingAt()) return null;
        StringBuilder version = new StringBuilder(numbers.group());
        for (int count = numbers.group().split("\\.").length; count < 4; ++count) version.append(".0");
        return version.toString();
    }

    /**
     * The Java version a compiler release or target names: {@code 17} and {@code 1.8} as they are,
     * {@code 8} and below as {@code 1.8} and below; null when it names none.
     */
    static String javaVersion(String release) {
        if (!release.matches("\\d{1,9}(\\.\\d{1,9})*")) return null;
        if (release.indexOf('.') < 0 && Integer.parseInt(release) <= 8) return "1." + release;
        return release;
    }

    private static String valueText(Object value) {
        if (value instanceof Boolean) return (Boolean) value ? "on" : null;
        if (value instanceof Path) return ((Path) value).toAbsolutePath().toString();
        return value == null || value.toString().isEmpty() ? null : value.toString();
    }
}
