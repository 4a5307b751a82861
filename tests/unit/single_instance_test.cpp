#include <gtest/gtest.h>

#include "launcher/single_instance_rules.h"

TEST(SingleInstance, MarkerNameIsPerUserAndPerLauncherInTheSessionNamespace) {
    const std::string sid = "S-1-5-21-1004336348-1177238915-682003330-1001";
    std::string name = instanceMarkerName(sid, "C:\\APPS\\MYAPP.EXE");
    EXPECT_EQ(name.rfind("Local\\", 0), 0u);
    EXPECT_EQ(name.find('\\', 6), std::string::npos);
    EXPECT_NE(name.find(sid), std::string::npos);
    EXPECT_EQ(name, instanceMarkerName(sid, "C:\\APPS\\MYAPP.EXE"));
    EXPECT_NE(name, instanceMarkerName("S-1-5-21-1004336348-1177238915-682003330-1002", "C:\\APPS\\MYAPP.EXE"));
    EXPECT_NE(name, instanceMarkerName(sid, "C:\\APPS\\OTHER.EXE"));
    EXPECT_NE(name, instanceMarkerName(sid, "D:\\APPS\\MYAPP.EXE"));
}

TEST(SingleInstance, MarkerNameStaysShortWhateverThePath) {
    // Object names are limited to MAX_PATH characters; a SID is at most 184.
    std::string longPath = "C:\\" + std::string(5000, 'A') + "\\Ü.EXE";
    std::string name = instanceMarkerName(std::string(184, '1'), longPath);
    EXPECT_LT(name.size(), 260u);
    EXPECT_EQ(name.find('\\', 6), std::string::npos);
    EXPECT_EQ(instanceMarkerName("S-1\\x", "P").find('\\', 6), std::string::npos);
}

TEST(SingleInstance, TheMainWindowComesForwardAndOnTheLastLookAnyWindow) {
    WindowFacts dialog{true, false}, palette{false, true}, ownedPalette{true, true}, main{false, false};
    for (bool lastLook : {false, true}) {
        SCOPED_TRACE(lastLook);
        EXPECT_EQ(windowToBringForward({dialog, palette, ownedPalette, main, main}, lastLook), std::optional<std::size_t>(3));
        EXPECT_EQ(windowToBringForward({}, lastLook), std::nullopt);
    }
    // A splash or a dialog alone: the main window may still come, until the last look.
    EXPECT_EQ(windowToBringForward({palette, dialog}, false), std::nullopt);
    EXPECT_EQ(windowToBringForward({palette, dialog}, true), std::optional<std::size_t>(0));
}
