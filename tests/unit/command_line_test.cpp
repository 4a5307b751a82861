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
