package windowslauncher.maven;

import java.lang.reflect.Method;
import java.util.ArrayList;
import java.util.Collection;
import java.util.List;
import java.util.Locale;
import java.util.Set;
import java.util.TreeSet;

import org.apache.maven.plugin.logging.Log;

/**
 * The names in the POM's configuration of this plugin that are none of its parameters. Maven
 * drops them without a word, so a misspelt {@code <minVersion>} would leave the launcher
 * accepting any Java. The plugin depends on the plugin API alone: the project's model and the
 * goal's descriptor are read through the objects Maven hands in.
 */
final class IgnoredParameters {
    private static final String PLUGIN_KEY = "windows-launcher:windows-launcher-maven-plugin";

    private IgnoredParameters() {
    }

    /** Warns about every such name, with the parameter it is likely meant to be. */
    static void warnAbout(Object project, Object mojoExecution, Log log) {
        Set<String> parameters = new TreeSet<>();
        List<String> given = new ArrayList<>();
        try {
            Object descriptor = call(mojoExecution, "getMojoDescriptor");
            for (Object parameter : (Collection<?>) call(descriptor, "getParameters"))
                if ((Boolean) call(parameter, "isEditable")) parameters.add((String) call(parameter, "getName"));
            for (Object plugin : (Collection<?>) call(project, "getBuildPlugins")) {
                if (!PLUGIN_KEY.equals(call(plugin, "getKey"))) continue;
                addNames(call(plugin, "getConfiguration"), given);
                for (Object execution : (Collection<?>) call(plugin, "getExecutions"))
                    addNames(call(execution, "getConfiguration"), given);
            }
        } catch (ReflectiveOperationException | ClassCastException | NullPointerException e) {
            log.debug("Cannot read the plugin's configuration to check its parameter names: " + e);
            return;
        }
        for (String name : new TreeSet<>(given)) {
            if (parameters.contains(name)) continue;
            String meant = closest(name, parameters);
            log.warn("<" + name + "> is not a parameter of the windows-launcher plugin and is ignored"
                    + (meant == null ? "; its parameters: " + String.join(", ", parameters)
                            : "; did you mean <" + meant + ">?"));
        }
    }

    /** The element names directly inside a {@code <configuration>} (an Xpp3Dom), if there is one. */
    private static void addNames(Object configuration, List<String> names) throws ReflectiveOperationException {
        if (configuration == null) return;
        for (Object child : (Object[]) call(configuration, "getChildren")) names.add((String) call(child, "getName"));
    }

    private static Object call(Object target, String method) throws ReflectiveOperationException {
        Method found = target.getClass().getMethod(method);
        return found.invoke(target);
    }

    /** The parameter a misspelt name most likely means: at most two edits away, case aside. */
    static String closest(String name, Collection<String> parameters) {
        String best = null;
        int bestDistance = 3;
        for (String parameter : parameters) {
            int distance = distance(name.toLowerCase(Locale.ROOT), parameter.toLowerCase(Locale.ROOT));
            if (distance < bestDistance) {
                best = parameter;
                bestDistance = distance;
            }
        }
        return best;
    }

    /** Edits (insert, delete, replace, swap two neighbours) from one text to the other. */
    private static int distance(String a, String b) {
        int[][] d = new int[a.length() + 1][b.length() + 1];
        for (int i = 0; i <= a.length(); ++i) d[i][0] = i;
        for (int j = 0; j <= b.length(); ++j) d[0][j] = j;
        for (int i = 1; i <= a.length(); ++i) {
            for (int j = 1; j <= b.length(); ++j) {
                int cost = a.charAt(i - 1) == b.charAt(j - 1) ? 0 : 1;
                d[i][j] = Math.min(Math.min(d[i - 1][j] + 1, d[i][j - 1] + 1), d[i - 1][j - 1] + cost);
                if (i > 1 && j > 1 && a.charAt(i - 1) == b.charAt(j - 2) && a.charAt(i - 2) == b.charAt(j - 1))
                    d[i][j] = Math.min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
        return d[a.length()][b.length()];
    }
}
