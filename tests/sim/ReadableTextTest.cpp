// What the stand-in shows people: dates of the calendar, and texts in the
// language that a fresh world starts in.
#include "sdk/common_sdk.h"
#include "ui/UiTestSupport.h"

namespace {

using ReadableTextTest = UiTest;

TEST_F(ReadableTextTest, DatesAreCalendarDaysWithTheTimeOfDay) {
    EXPECT_EQ(common::GetFixDateDescript(0, 0), u"1970-01-01 00:00 ");
    EXPECT_EQ(common::GetFixDateDescript(20454 * 86400LL + 13 * 3600 + 5 * 60 + 59, 0), u"2026-01-01 13:05 ");
    // The last day of a leap February, and a time before 1970.
    EXPECT_EQ(common::GetFixDateDescript(19782 * 86400LL + 86399, 0), u"2024-02-29 23:59 ");
    EXPECT_EQ(common::GetFixDateDescript(19783 * 86400LL, 0), u"2024-03-01 00:00 ");
    EXPECT_EQ(common::GetFixDateDescript(-60, 0), u"1969-12-31 23:59 ");
    EXPECT_EQ(common::GetFixDateDescript(-365 * 86400LL, 0), u"1969-01-01 00:00 ");
    EXPECT_EQ(common::GetFixDateDescript(951782400, 0), u"2000-02-29 00:00 ");
}

TEST_F(ReadableTextTest, AResetWorldSpeaksEnglishAgain) {
    sim::SetLanguage(sim::Language::Keys);
    EXPECT_EQ(sim::LocalisedText(u"#SEND_MESSAGE"), u"#SEND_MESSAGE");
    sim::ResetAll();
    GetUIRes()->AddResPath(u"" TAVI_SOURCE_DIR "/skin/", 0);
    EXPECT_EQ(sim::LocalisedText(u"#SEND_MESSAGE"), u"Send");
}

}  // namespace
