package windowslauncher.maven;

import java.io.File;
import java.lang.reflect.InvocationTargetException;

import org.apache.maven.artifact.Artifact;
import org.apache.maven.artifact.DefaultArtifact;
import org.apache.maven.artifact.handler.ArtifactHandler;
import org.apache.maven.plugin.MojoExecutionException;

/** A configured executable attached to the project, so install and deploy carry it. */
final class ExecutableArtifact {
    private ExecutableArtifact() {
    }

    /**
     * Attaches {@code file} with type {@code exe} and the given classifier. The plugin depends on
     * the plugin API alone, so the project's own attach method is called on the project object
     * Maven hands in.
     */
    static void attach(Object project, String groupId, String artifactId, String version, String classifier,
            File file) throws MojoExecutionException {
        Artifact artifact = new DefaultArtifact(groupId, artifactId, version, null, "exe", classifier, new ExeHandler());
        artifact.setFile(file);
        try {
            project.getClass().getMethod("addAttachedArtifact", Artifact.class).invoke(project, artifact);
        } catch (InvocationTargetException e) {
            throw new MojoExecutionException("Cannot attach " + file + ": " + e.getCause(), e.getCause());
        } catch (ReflectiveOperationException e) {
            throw new MojoExecutionException("Cannot attach " + file + " to this Maven's project: " + e, e);
        }
    }

    /** Type {@code exe}: the file's extension, never on a class path. */
    private static final class ExeHandler implements ArtifactHandler {
        @Override
        public String getExtension() {
            return "exe";
        }

        @Override
        public String getDirectory() {
            return "exes";
        }

        @Override
        public String getClassifier() {
            return null;
        }

        @Override
        public String getPackaging() {
            return "exe";
        }

        @Override
        public boolean isIncludesDependencies() {
            return false;
        }

        @Override
        public String getLanguage() {
            return "none";
        }

        @Override
        public boolean isAddedToClasspath() {
            return false;
        }
    }
}
