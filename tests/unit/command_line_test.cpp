#include <gtest/gtest.h>

#include "jvm/boot_class_path.h"
#include "jvm/console_java.h"
#include "process/command_line.h"

TEST(CommandLine, EmptyOptionsLeaveTwoBlanksBeforeJar) {
    EXPECT_EQ(fullCommandLine("C:\\App\\jre\\bin\\javaw.exe", javaArguments("", "", "app.jar")),
              "\"C:\\App\\jre\\bin\\javaw.exe\"  -jar app.jar");
}

TEST(CommandLine, OptionsFromFileKeepTheirBlanks) {
    EXPECT_EQ(javaArguments("-Xmx1g  ", "", "app.jar"), "-Xmx1g   -jar app.jar");
}

TEST(CommandLine, BareExecutableIsQuoted) {
    EXPECT_EQ(fullCommandLine("javaw.exe", javaArguments("-Da=1", "", "app.jar")), "\"javaw.exe\" -Da=1 -jar app.jar");
}

TEST(CommandLine, JarWithBlanksIsOneQuotedArgumentUnlessItCarriesQuotes) {
    EXPECT_EQ(javaArguments("", "", "My App.jar"), " -jar \"My App.jar\"");
    EXPECT_EQ(quotedJar("lib\\my\tapp.jar"), "\"lib\\my\tapp.jar\"");
    EXPECT_EQ(quotedJar("Приложение 2.jar"), "\"Приложение 2.jar\"");
    // Quoted by its author (perhaps only in part): as written.
    EXPECT_EQ(quotedJar("\"My App.jar\""), "\"My App.jar\"");
    EXPECT_EQ(quotedJar("\"C:\\My Apps\"\\app.jar"), "\"C:\\My Apps\"\\app.jar");
    EXPECT_EQ(quotedJar("app.jar"), "app.jar");
    EXPECT_EQ(quotedJar(""), "");
    // A trailing backslash must not escape the closing quote.
    EXPECT_EQ(quotedJar("my dir\\"), "\"my dir\\\\\"");
}

TEST(CommandLine, BootClassPathEntriesQuotedAndJoined) {
    std::string path = joinBootClassPath("C:\\jdk", {"a.jar", "b.jar"});
    EXPECT_EQ(path, "\"C:\\jdk\\lib\\a.jar\";\"C:\\jdk\\lib\\b.jar\"");
    EXPECT_EQ(javaArguments("-Da=1", path, "app.jar"),
              "-Da=1 -Xbootclasspath/p:\"C:\\jdk\\lib\\a.jar\";\"C:\\jdk\\lib\\b.jar\" -jar app.jar");
    EXPECT_EQ(joinBootClassPath("C:\\jdk", {}), "");
}

TEST(CommandLine, ApplicationArgumentsFollowTheJarExactly) {
    EXPECT_EQ(javaArguments("-Da=1", "", "app.jar", "\"C:\\my docs\\a-b.txt\" --open x"),
              "-Da=1 -jar app.jar \"C:\\my docs\\a-b.txt\" --open x");
    EXPECT_EQ(javaArguments("", "", "app.jar", ""), " -jar app.jar");
}

TEST(CommandLine, ConsoleJavaIsTheJavaExeBesideJavaw) {
    EXPECT_EQ(consoleJavaBeside("C:\\App\\jre\\bin\\javaw.exe"), "C:\\App\\jre\\bin\\java.exe");
    EXPECT_EQ(consoleJavaBeside("C:\\App\\jre\\bin\\JavaW.EXE"), "C:\\App\\jre\\bin\\java.exe");
    EXPECT_EQ(consoleJavaBeside("javaw.exe"), "java.exe");
    EXPECT_EQ(consoleJavaBeside("C:\\App\\jre\\bin\\java.exe"), "");
    EXPECT_EQ(consoleJavaBeside("C:\\App\\notjavaw.exe"), "");
}

TEST(CommandLine, QuotedArgumentsSplitBackExactly) {
    const std::vector<std::string> arguments = {
        "plain", "two words", "", "tab\there", "C:\\My Apps\\lib\\", "trailing\\\\", "say \"hi\"", "\\\"x\\",
        "a\\b\\\\c", "Приложение 2", "ends in quote\"", "\"", "\\"};
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) line += ' ';
        line += quotedArgument(argument);
    }
    std::vector<ArgumentSpan> split = splitArguments(line);
    ASSERT_EQ(split.size(), arguments.size()) << line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        EXPECT_EQ(split[i].value, arguments[i]);
        EXPECT_EQ(line.substr(split[i].begin, split[i].end - split[i].begin), quotedArgument(arguments[i]));
    }
    // Only what needs quotes gets them.
    EXPECT_EQ(quotedArgument("lib\\*"), "lib\\*");
    EXPECT_EQ(quotedArgument("C:\\My Apps\\lib\\"), "\"C:\\My Apps\\lib\\\\\"");
}

TEST(CommandLine, SplittingFollowsTheWindowsRules) {
    auto values = [](const std::string& line) {
        std::vector<std::string> out;
        for (const ArgumentSpan& span : splitArguments(line)) out.push_back(span.value);
        return out;
    };
    using List = std::vector<std::string>;
    EXPECT_EQ(values("  -Xmx1g\t -Dname=\"two words\"  "), (List{"-Xmx1g", "-Dname=two words"}));
    EXPECT_EQ(values("a\\\\\\\"b \"c\\\\\" d\\e"), (List{"a\\\"b", "c\\", "d\\e"}));
    EXPECT_EQ(values("\"\" x"), (List{"", "x"}));
    EXPECT_EQ(values("\"unclosed quote"), (List{"unclosed quote"}));
    EXPECT_EQ(values(""), List{});
}

TEST(CommandLine, PathEntriesDropBlanksQuotesAndEmptyOnes) {
    using List = std::vector<std::string>;
    EXPECT_EQ(pathEntries("lib\\*; app.jar ;;\"C:\\My Libs\\x.jar\";"), (List{"lib\\*", "app.jar", "C:\\My Libs\\x.jar"}));
    EXPECT_EQ(pathEntries(" ; "), List{});
    EXPECT_EQ(entryBelow("C:\\App", "lib\\*"), "C:\\App\\lib\\*");
    EXPECT_EQ(entryBelow("C:\\App", "D:\\shared\\x.jar"), "D:\\shared\\x.jar");
    EXPECT_EQ(entryBelow("C:\\App", "\\\\server\\share\\x.jar"), "\\\\server\\share\\x.jar");
    EXPECT_EQ(entryBelow("C:\\App", "..\\common"), "C:\\App\\..\\common");
}

TEST(CommandLine, EachLaunchFormGivesItsArguments) {
    LaunchSettings settings;
    settings.jar = "\"my app.jar\"";
    settings.mainClass = "org.example.Main";
    settings.classPath = "lib\\*;D:\\shared\\extra.jar";
    LaunchForm mainClass = launchFormOf(settings, "C:\\My App");
    EXPECT_EQ(mainClass.kind, LaunchKind::MainClass);
    // The jar first, as written (relative to the working directory); the entries below the launcher's folder.
    EXPECT_EQ(mainClass.classPath, (std::vector<std::string>{"my app.jar", "C:\\My App\\lib\\*", "D:\\shared\\extra.jar"}));
    EXPECT_EQ(javaArguments("-Xmx1g", "", mainClass, "doc.txt"),
              "-Xmx1g -cp \"my app.jar;C:\\My App\\lib\\*;D:\\shared\\extra.jar\" org.example.Main doc.txt");

    settings.jar.clear();
    settings.classPath.clear();
    EXPECT_EQ(javaArguments("", "", launchFormOf(settings, "C:\\App")), " org.example.Main");

    // A module wins over everything else; its path as the class path's.
    settings.module = "org.example.app/org.example.Main";
    settings.modulePath = "mods;lib\\javafx";
    LaunchForm module = launchFormOf(settings, "C:\\Программы\\App");
    EXPECT_EQ(module.kind, LaunchKind::Module);
    EXPECT_EQ(javaArguments("-Da=1", "", module),
              "-Da=1 -p C:\\Программы\\App\\mods;C:\\Программы\\App\\lib\\javafx -m org.example.app/org.example.Main");
    settings.modulePath.clear();
    EXPECT_EQ(javaArguments("", "", launchFormOf(settings, "C:\\App")), " -m org.example.app/org.example.Main");

    LaunchSettings jarOnly;
    jarOnly.jar = "app.jar";
    jarOnly.classPath = "ignored\\*";
    EXPECT_EQ(javaArguments("", "", launchFormOf(jarOnly, "C:\\App")), " -jar app.jar");
}
