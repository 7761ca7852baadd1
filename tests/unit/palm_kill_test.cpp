// Taking over handheld times when it cannot or must not finish: killed at random moments, the
// year file is always the old or the new one and the next run cleans up; run by a user who may
// not write the year file, nothing is replaced.
#include "frame/path.h"
#include "handheld/pdb.h"
#include "tests/unit/cli_runner.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <random>
#ifndef _WIN32
#include <chrono>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

#ifndef _WIN32
// A year of bookings large enough that the take-over spends some milliseconds on it.
std::string busy_year(void) {
    std::string text;
    char line[64];
    for (int day = 0; day < 100; day++)
        for (int hour = 6; hour < 20; hour++) {
            snprintf(line, sizeof line, "2026-%02d-%02d  %02d:00   P%d                  Arbeit\n",
                     1 + day / 28, 1 + day % 28, hour, hour);
            text += line;
        }
    return text;
}

struct PalmRefusal : ::testing::Test {
    TempDir dir;
    std::string old_year;
    void SetUp() override {
        chmod(dir.path.c_str(), 0755);
        make_dir(dir.file("backup").c_str());
        write_file(dir.file("kx.ini"),
                   "[Installation]\r\nUsePalm=1\r\nPalmBak=" + dir.path + "backup/\r\n");
        ASSERT_EQ(pdb_build_begin(), 0);
        pdb_build_add("2026-12-08 08:30 KD4711     vom Palmtop");
        pdb_build_add("2026-12-08 12:00 ---        ");
        ASSERT_EQ(pdb_build_write(dir.file("backup/Zeiten.PDB").c_str()), 0);
        old_year = busy_year();
        write_file(dir.file("2026.txt"), old_year);
    }
    std::vector<std::string> import_arguments(void) const {
        return {kxcli_path(),       "--ini",  dir.file("kx.ini"),
                "--workdir",        dir.path, "--now",
                "2026-12-08 09:00", "palm",   "import"};
    }
};

// Starts kxcli palm import with its output thrown away; the process id.
pid_t start(const std::vector<std::string> &arguments) {
    std::vector<char *> argv;
    for (const std::string &argument : arguments) argv.push_back((char *)argument.c_str());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int finish(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

TEST_F(PalmRefusal, KilledAtRandomMomentsTheYearFileIsOldOrNew) {
    auto began = std::chrono::steady_clock::now();
    ASSERT_EQ(finish(start(import_arguments())), 0);
    auto took = std::chrono::duration_cast<std::chrono::microseconds>(
                    std::chrono::steady_clock::now() - began)
                    .count();
    const std::string new_year = read_file(dir.file("2026.txt"));
    ASSERT_NE(new_year, old_year);
    std::mt19937 random(10);
    std::uniform_int_distribution<long> moment(0, took + took / 4);
    int killed_with_temporary = 0;
    for (int kill_number = 0; kill_number < 50; kill_number++) {
        write_file(dir.file("2026.txt"), old_year);
        pid_t pid = start(import_arguments());
        // The moment of the kill is the random part of this test, not a synchronisation.
        usleep((useconds_t)moment(random));
        kill(pid, SIGKILL);
        finish(pid);
        std::string year = read_file(dir.file("2026.txt"));
        EXPECT_TRUE(year == old_year || year == new_year) << "kill " << kill_number;
        if (file_there(dir.file("2026.txt.new"))) killed_with_temporary++;
    }
    ASSERT_EQ(finish(start(import_arguments())), 0);
    EXPECT_EQ(read_file(dir.file("2026.txt")), new_year);
    EXPECT_FALSE(file_there(dir.file("2026.txt.new")));
    EXPECT_FALSE(file_there(dir.file("Zeiten.txt.new")));
    printf("kills: 50, of them with a temporary file left for the next run: %d\n",
           killed_with_temporary);
}

// CI runs as root, whom no file permission stops: the case runs as the user nobody.
TEST_F(PalmRefusal, AFileTheUserMayNotWriteIsNeverReplaced) {
    if (geteuid() != 0 || system("runuser -u nobody -- true >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs root and runuser";
    chmod(dir.path.c_str(), 0777); // the folder is open to everyone, the year file is not
    chmod(dir.file("2026.txt").c_str(), 0644);
    std::string command = "runuser -u nobody -- ";
    for (const std::string &argument : import_arguments()) command += "\"" + argument + "\" ";
    EXPECT_NE(system((command + ">/dev/null 2>&1").c_str()), 0);
    EXPECT_EQ(read_file(dir.file("2026.txt")), old_year);
    struct stat info;
    ASSERT_EQ(stat(dir.file("2026.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 0u);
    std::string book = "runuser -u nobody -- \"" + kxcli_path() + "\" --workdir \"" + dir.path +
                       "\" --now \"2026-12-08 09:00\" book P >/dev/null 2>&1";
    EXPECT_NE(system(book.c_str()), 0);
    EXPECT_EQ(read_file(dir.file("2026.txt")), old_year);
    // A year file the user may write, in a folder where no lock file can be made: booked.
    chmod(dir.path.c_str(), 0755);
    chmod(dir.file("2026.txt").c_str(), 0666);
    remove(dir.file("2026.txt.lock").c_str());
    EXPECT_EQ(system(book.c_str()), 0);
    EXPECT_EQ(read_file(dir.file("2026.txt")).substr(0, old_year.size()), old_year);
}
#endif

} // namespace
