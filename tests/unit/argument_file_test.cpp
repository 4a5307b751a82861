#include <gtest/gtest.h>

#include "process/argument_file.h"

TEST(ArgumentFile, OptionsAndPathGoInOneArgumentALine) {
    LaunchSettings settings;
    settings.mainClass = "org.example.Main";
    settings.classPath = "lib\\*";
    LaunchForm form = launchFormOf(settings, "C:\\My App");
    std::vector<std::string> arguments =
        argumentFileArguments("-Xmx1g  -Dname=\"two words\" -Dpath=C:\\x\\", "", form);
    EXPECT_EQ(arguments, (std::vector<std::string>{"-Xmx1g", "-Dname=two words", "-Dpath=C:\\x\\", "-cp",
                                                   "C:\\My App\\lib\\*"}));
    // Within quotes the runtime reads a backslash as an escape, and # outside them starts a comment.
    EXPECT_EQ(argumentFileText({"-Dname=two words", "C:\\My App\\lib\\*", "say \"hi\"", "#1"}),
              "\"-Dname=two words\"\r\n\"C:\\\\My App\\\\lib\\\\*\"\r\n\"say \\\"hi\\\"\"\r\n\"#1\"\r\n");
    EXPECT_EQ(argumentsWithFile("C:\\Users\\Ann Lee\\Temp\\arg1.tmp", form, "doc.txt"),
              "\"@C:\\Users\\Ann Lee\\Temp\\arg1.tmp\" org.example.Main doc.txt");
    LaunchForm jar;
    jar.jar = "my app.jar";
    EXPECT_EQ(argumentsWithFile("C:\\Temp\\a.tmp", jar, ""), "@C:\\Temp\\a.tmp -jar \"my app.jar\"");
}

TEST(ArgumentFile, OnlyJava9AndLaterReadOneAndTheMessageNamesTheLength) {
    EXPECT_FALSE(readsArgumentFiles(0));
    EXPECT_FALSE(readsArgumentFiles(8));
    EXPECT_TRUE(readsArgumentFiles(9));
    EXPECT_TRUE(readsArgumentFiles(25));
    std::string java8 = commandLineTooLongText(40123, 8, false);
    EXPECT_NE(java8.find("40,123 characters"), std::string::npos) << java8;
    EXPECT_NE(java8.find("32,766"), std::string::npos) << java8;
    EXPECT_NE(java8.find("Java 8 cannot"), std::string::npos) << java8;
    EXPECT_NE(commandLineTooLongText(33000, 0, false).find("not known"), std::string::npos);
    EXPECT_NE(commandLineTooLongText(1234567, 17, true).find("1,234,567"), std::string::npos);
    EXPECT_NE(commandLineTooLongText(1234567, 17, true).find("application's arguments"), std::string::npos);
}
