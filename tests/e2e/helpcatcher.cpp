// Stands in for the system's help program in the end-to-end tests: a window of the class the
// help call looks for, writing each request it receives (command, help file, keyword) as a line
// to the file named on the command line.
#include "catcher.h"
#include <windows.h>

#include <stdio.h>

namespace {

const char *log_path = "help.log";

// The request block the help call hands over with WM_COPYDATA.
struct help_request {
    WORD size;
    WORD command;
    LONG data;
    DWORD reserved;
    WORD file_offset;
    WORD data_offset;
};

void record(const COPYDATASTRUCT *copy) {
    if (!copy || copy->cbData < sizeof(help_request)) return;
    const char *bytes = (const char *)copy->lpData;
    const help_request *request = (const help_request *)bytes;
    FILE *log = fopen(log_path, "ab");
    if (!log) return;
    const char *file = request->file_offset ? bytes + request->file_offset : "";
    const char *keyword = request->data_offset ? bytes + request->data_offset : "";
    fprintf(log, "%u|%s|%s\n", request->command, file, keyword);
    fclose(log);
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 1) log_path = argv[1];
    return catcher::run("MS_WINHELP", "help catcher", record);
}
