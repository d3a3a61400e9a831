#include "kit/SystemLog.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

TEST(SystemLog, CaptureCollectsRecordsAsSingleLines) {
    kit::SystemLog::Capture capture;
    kit::SystemLog::log("initPCAdressBookTab: Individual - Invalid name");
    kit::SystemLog::log("first\nsecond\r\nthird");
    kit::SystemLog::log("100% of %s and %n");
    EXPECT_THAT(capture.lines(), ElementsAre("initPCAdressBookTab: Individual - Invalid name",
                                             "first second third", "100% of %s and %n"));
    EXPECT_TRUE(capture.contains("first second third"));
    capture.clear();
    EXPECT_TRUE(capture.lines().isEmpty());
}

TEST(SystemLog, InnermostCaptureCollectsAndTheOuterResumes) {
    kit::SystemLog::Capture outer;
    kit::SystemLog::log("before");
    {
        kit::SystemLog::Capture inner;
        kit::SystemLog::log("inside");
        EXPECT_THAT(inner.lines(), ElementsAre("inside"));
    }
    kit::SystemLog::log("after");
    EXPECT_THAT(outer.lines(), ElementsAre("before", "after"));
}

TEST(SystemLog, UncapturedRecordsWithFormatCharactersReachSyslogSafely) {
    // Passed to syslog as a format, "%n" would write through a stray pointer and crash.
    kit::SystemLog::log("kit SystemLogTest: %s%s%n%n");
    kit::SystemLog::Capture capture;
    kit::SystemLog::log("captured");
    EXPECT_THAT(capture.lines(), ElementsAre("captured"));
}
