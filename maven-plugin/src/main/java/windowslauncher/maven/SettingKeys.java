package windowslauncher.maven;

import java.io.IOException;
import java.io.InputStream;
import java.nio.charset.StandardCharsets;
import java.util.LinkedHashMap;
import java.util.Map;

import org.apache.maven.plugin.MojoExecutionException;

/**
 * The keys of the settings file as the launcher and its configuration tool define them: the key
 * table the launcher's build writes (launcher-resgen --key-table), carried in the plugin jar
 * beside the launchers it describes. The settings the plugin writes follow it.
 */
final class SettingKeys {
    static final String RESOURCE = ConfigurationTool.RESOURCES + "setting-keys.tsv";

    /** Each key's kind ({@code flag}, {@code number}, {@code text}, ...), in the table's order. */
    private final Map<String, String> kinds;

    private SettingKeys(Map<String, String> kinds) {
        this.kinds = kinds;
    }

    static SettingKeys load() throws MojoExecutionException {
        try (InputStream in = SettingKeys.class.getClassLoader().getResourceAsStream(RESOURCE)) {
            if (in == null) throw new MojoExecutionException("The plugin jar holds no " + RESOURCE + "; it is incomplete");
            return parse(new String(in.readAllBytes(), StandardCharsets.UTF_8));
        } catch (IOException e) {
            throw new MojoExecutionException("Cannot read " + RESOURCE + " from the plugin jar: " + e, e);
        }
    }

    /** The table's text: a line naming the columns, then key, id, kind, ... separated by tabs. */
    static SettingKeys parse(String text) throws MojoExecutionException {
        Map<String, String> kinds = new LinkedHashMap<>();
        String[] lines = text.split("\n");
        for (int i = 1; i < lines.length; ++i) {
            if (lines[i].isEmpty()) continue;
            String[] columns = lines[i].split("\t", -1);
            if (columns.length < 3) throw new MojoExecutionException(RESOURCE + " line " + (i + 1) + " is malformed");
            kinds.put(columns[0], columns[2]);
        }
        return new SettingKeys(kinds);
    }

    /**
     * The settings in the table's order. A key the table lacks, or a flag given as anything but a
     * boolean (or a boolean for a key that is no flag), is the plugin's own fault: it and the
     * launcher it carries disagree, and the build stops before a wrong executable is written.
     */
    Map<String, Object> ordered(Map<String, Object> settings) throws MojoExecutionException {
        for (Map.Entry<String, Object> setting : settings.entrySet()) {
            String kind = kinds.get(setting.getKey());
            if (kind == null)
                throw new MojoExecutionException("The launcher has no setting " + setting.getKey()
                        + "; the plugin and the launcher it carries do not match");
            Object value = setting.getValue();
            if (value != null && (value instanceof Boolean) != kind.equals("flag"))
                throw new MojoExecutionException("The launcher's setting " + setting.getKey() + " is of the kind " + kind
                        + "; the plugin gives it " + value.getClass().getSimpleName());
        }
        Map<String, Object> ordered = new LinkedHashMap<>();
        for (String key : kinds.keySet())
            if (settings.containsKey(key)) ordered.put(key, settings.get(key));
        return ordered;
    }
}
