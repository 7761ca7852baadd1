// Several kxcli processes writing one journal at once: bookings and handheld imports side by side.
// Every booking a process reports as written is in the year file exactly once, every line whole.
#include "frame/path.h"
#include "handheld/pdb.h"
#include "tests/unit/cli_runner.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <sstream>
#include <stdio.h>
#include <stdlib.h>

namespace {

#ifndef _WIN32
// Under the sanitizers every start of kxcli costs a tenth of a second: fewer bookings there.
#ifdef __SANITIZE_ADDRESS__
enum { WRITERS = 6, BOOKINGS = 8, IMPORTERS = 2, IMPORTS = 2 };
#else
enum { WRITERS = 8, BOOKINGS = 40, IMPORTERS = 2, IMPORTS = 5 };
#endif

// A shell script that starts the writers and importers in the background and waits for all;
// each failed command prints FAILED.
std::string script(const std::string &dir) {
    std::string kx = "\"" + kxcli_path() + "\" --ini \"" + dir + "kx.ini\" --workdir \"" + dir +
                     "\" --now \"2026-12-08 09:00\"";
    std::ostringstream text;
    text << "book() { i=0; while [ $i -lt " << BOOKINGS << " ]; do m=$(( $1 * " << BOOKINGS
         << " + i )); " << kx
         << " book P$1 n$i --time $(printf %02d:%02d $((m / 60)) $((m % 60))) || echo FAILED;"
            " i=$((i + 1)); done; }\n"
         << "import() { i=0; while [ $i -lt " << IMPORTS << " ]; do " << kx
         << " palm import >/dev/null || echo FAILED; i=$((i + 1)); done; }\n";
    for (int k = 0; k < WRITERS; k++) text << "book " << k << " &\n";
    for (int k = 0; k < IMPORTERS; k++) text << "import &\n";
    text << "wait\n";
    return text.str();
}

TEST(Concurrency, WritersAndImportsLoseNoLine) {
    TempDir dir;
    make_dir(dir.file("backup").c_str());
    write_file(dir.file("kx.ini"),
               "[Installation]\r\nUsePalm=1\r\nPalmBak=" + dir.path + "backup/\r\n");
    write_file(dir.file("2026.txt"), "2026-12-08  07:00   ---\n");
    ASSERT_EQ(pdb_build_begin(), 0);
    pdb_build_add("2026-12-07 08:00 HH         vom Palmtop");
    pdb_build_add("2026-12-07 17:00 ---        ");
    ASSERT_EQ(pdb_build_write(dir.file("backup/Zeiten.PDB").c_str()), 0);
    write_file(dir.file("run.sh"), script(dir.path));
    std::string command = "sh \"" + dir.file("run.sh") + "\" 2>&1";
    FILE *run = popen(command.c_str(), "r");
    ASSERT_TRUE(run);
    std::string output;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, run)) > 0) output.append(buffer, got);
    ASSERT_EQ(pclose(run), 0);
    EXPECT_EQ(output, "");

    std::map<std::string, int> seen;
    std::istringstream lines(read_file(dir.file("2026.txt")));
    std::string line;
    const std::regex whole(
        "2026-12-0[78]  [0-9]{2}:[0-9]{2}   (P[0-7] {18}n[0-9]+|HH {18}vom Palmtop|---)");
    while (std::getline(lines, line)) {
        EXPECT_TRUE(std::regex_match(line, whole)) << "torn line: " << line;
        seen[line]++;
    }
    for (int k = 0; k < WRITERS; k++)
        for (int i = 0; i < BOOKINGS; i++) {
            int m = k * BOOKINGS + i;
            char expected[64];
            snprintf(expected, sizeof expected, "2026-12-08  %02d:%02d   P%d                  n%d",
                     m / 60, m % 60, k, i);
            EXPECT_EQ(seen[expected], 1) << expected;
        }
    EXPECT_EQ(seen["2026-12-07  08:00   HH                  vom Palmtop"], 1);
    EXPECT_EQ(seen.size(), (size_t)(WRITERS * BOOKINGS + 3));
}
#endif

} // namespace
