// Copy texts grow with their content instead of being cut at the first block.
#include "timerec/report.h"
#include "tests/unit/report_fixture.h"

namespace {

TEST(ReportText, GrowsBeyondTheFirstBlockWithoutCutting) {
    report_text out;
    report_text_begin(&out, "wchtalk");
    std::string expected;
    for (int i = 0; i < 130; i++) {
        std::string line(997, (char)('a' + i % 26));
        report_text_line(&out, line.c_str());
        expected += line + "\r\n";
    }
    EXPECT_EQ(out.length, expected.size());
    EXPECT_GE(out.size, out.length + 1);
    EXPECT_EQ(taken(report_text_take(&out)), expected);
    EXPECT_EQ(out.text, nullptr);
}

TEST(ReportText, ABlockThatCannotBeHadEndsTheProgram) {
    report_text out;
    report_text_begin(&out, "stdetail");
    fmalloc_inject_failures(1);
    std::string large(60000, 'x');
    EXPECT_EXIT(report_text_add(&out, large.c_str()), ::testing::ExitedWithCode(3),
                "ASSERT ERROR\nstdetail\\..+\n\\(text=fmalloc\\(50,1000\\)\\) != NULL");
    fmalloc_inject_failures(0);
    ffree(report_text_take(&out));
}

} // namespace
