// Runs the kxcli program of the same build (beside the test program) and captures its exit
// status and both outputs byte for byte.
#pragma once
#include <string>

struct CliResult {
    int exit;
    std::string out, err;
};

// arguments: the command line after the program name, each argument in double quotes where it
// holds blanks (the same text works for the POSIX shell and cmd.exe).
CliResult run_kxcli(const std::string &arguments);
// The path of that kxcli program.
std::string kxcli_path(void);
