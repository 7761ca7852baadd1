// Runs kxcli through the system's command processor: sh on POSIX, cmd.exe on Windows.
#include "tests/unit/cli_runner.h"
#include "frame/path.h"
#include "frame/platform.h"
#include "tests/unit/test_support.h"
#include <stdio.h>
#ifdef _WIN32
#define popen _popen
#define pclose _pclose
static const char program_name[] = "kxcli.exe";
static const char read_mode[] = "rb";
#else
#include <sys/wait.h>
static const char program_name[] = "kxcli";
static const char read_mode[] = "r";
#endif

std::string kxcli_path(void) {
    char path[PATH_MAX_TEXT + 1], folder[PATH_MAX_TEXT + 1];
    platform_program_path(path, sizeof path);
    path_dir(folder, sizeof folder, path);
    return std::string(folder) + program_name;
}

CliResult run_kxcli(const std::string &arguments) {
    TempDir dir;
    std::string errors = dir.file("stderr.txt");
    std::string command = "\"" + kxcli_path() + "\" " + arguments + " 2>\"" + errors + "\"";
#ifdef _WIN32
    command = "\"" + command + "\""; // cmd.exe drops the outer pair of quotes
#endif
    CliResult result = {-1, "", ""};
    FILE *pipe = popen(command.c_str(), read_mode);
    if (!pipe) return result;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, got);
    int status = pclose(pipe);
#ifdef _WIN32
    result.exit = status;
#else
    result.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    result.err = read_file(errors);
    return result;
}
