// The summing reports and the detail list walked over stretches of the year file by several
// threads: the same sums, groups and rows as one walk, also when the sum list fills up and when
// sums reach their limits.
#include "timerec/statalk.h"
#include "timerec/stdetail.h"
#include "timerec/wchtalk.h"
#include "timerec/journal.h"
#include "timerec/stretch_text.h"
#include "frame/fault.h"
#include "tests/unit/report_fixture.h"
#include <algorithm>

namespace {

struct SummedInStretches : ReportTest {
    void SetUp() override {
        ReportTest::SetUp();
        statalk_alloc();
        wchtalk_alloc();
    }
    void TearDown() override {
        statalk_free();
        wchtalk_free();
        journal_walk_part_bytes(0);
    }
    // Every copy text of the statistics in each mode and of the weekly report.
    std::string copies() {
        std::string all;
        for (int mode : {STAT_PROJECT, STAT_MONTH, STAT_WEEK}) {
            statalk_evaluate("2003", "01-01", "12-31", mode, 1);
            all += taken(statalk_copy(0)) + taken(statalk_copy(1));
        }
        wchtalk_evaluate("2003", "01-01", "12-31", 1);
        return all + taken(wchtalk_copy(1));
    }
};

// Days of bookings one minute apart whose names run through more groups than the list holds,
// new ones in every stretch; with huge a period of about 2,000,000,000 minutes there and back.
std::string journal_of_many_groups(bool huge) {
    std::string content;
    for (int day = 0; day < 60; day++) {
        char date[16];
        snprintf(date, sizeof date, "2003-%02d-%02d", 3 + day / 28, 1 + day % 28);
        content += booking_line(date, "00:00", "---");
        for (int i = 0; i < 40; i++) {
            char project[16], time[16];
            snprintf(project, sizeof project, i % 3 ? "P%04d" : "KD %d X", (day * 40 + i) % 1500);
            snprintf(time, sizeof time, "%02d:%02d", i / 60, i % 60);
            content += booking_line(date, time, project);
        }
        if (huge && day % 20 == 10) content += std::string(date) + "  33333333BIG\n";
        content += booking_line(date, "23:00", "---");
    }
    return content;
}

TEST_F(SummedInStretches, AsOneWalk) {
    for (bool huge : {false, true}) {
        journal("2003", journal_of_many_groups(huge));
        std::string one = copies();
        journal_walk_part_bytes(1);
        EXPECT_EQ(copies(), one) << (huge ? "with huge periods" : "list full");
        journal_walk_part_bytes(0);
        // The project list and table of the full list come to more than its groups' lines.
        EXPECT_GT(std::count(one.begin(), one.end(), '\n'), 2 * STASUP);
        EXPECT_EQ(one.find("BIG") != std::string::npos, huge);
    }
}

// The detail list's lines, put together by the stretches' threads in chunks that wait for the
// stretches before theirs, come out in the file's order; where memory runs out anywhere in the
// walk, the list fails as a whole or is whole.
TEST_F(SummedInStretches, DetailLinesInTheFilesOrder) {
    journal("2003", journal_of_many_groups(false));
    for (const char *prefix : {"", "KD 1"}) {
        Lines one, stretched;
        int counted = stdetail_collect(prefix, "2003-03-05", "2003-12-31", 0, collect_line, &one);
        journal_walk_part_bytes(1);
        stretch_text_small_chunks(true);
        EXPECT_EQ(stdetail_collect(prefix, "2003-03-05", "2003-12-31", 0, collect_line, &stretched),
                  counted);
        int failed = 0;
        for (int n = 1; n < 60 && !*prefix; n += 2) {
            Lines got;
            fault_arm(n, FAULT_MEMORY);
            int result =
                stdetail_collect(prefix, "2003-03-05", "2003-12-31", 0, collect_line, &got);
            fault_arm(0);
            EXPECT_TRUE(result == -1 || (result == counted && got == one)) << n;
            failed += result == -1;
        }
        EXPECT_TRUE(failed > 0 || *prefix);
        stretch_text_small_chunks(false);
        journal_walk_part_bytes(0);
        EXPECT_EQ(counted, (int)one.size());
        EXPECT_GT(one.size(), 50u);
        EXPECT_EQ(stretched, one) << "prefix " << prefix;
    }
}

} // namespace
