// kxcli's exports of the counted periods: the CSV file for a spreadsheet and the timeclock file
// for the ledgers, written to standard output as the program writes them to a file.
#include "cli/cli.h"
#include "timerec/periods.h"
#include <stdio.h>

static int to_stdout(const char *bytes, size_t length, void *) {
    return fwrite(bytes, 1, length, stdout) == length ? 0 : -1;
}

// Writes the periods of YEAR FROM TO in format.
static int write_periods(const char *command, const cli_args *args, int format) {
    if (args->count != 3) return cli_usage_error("%s takes YEAR FROM TO", command);
    int result = cli_check_range(command, args->positional);
    if (result != 0) return result;
    const char *const *words = args->positional;
    int lines = periods_write(words[0], words[1], words[2], format, to_stdout, nullptr);
    if (fflush(stdout) != 0) lines = -1;
    return lines < 0 ? CLI_EXIT_FAILED : CLI_EXIT_OK;
}

int cmd_periods(const cli_args *args) {
    return write_periods("periods", args, cli_flag("--utf8") ? PERIODS_CSV_UTF8 : PERIODS_CSV);
}

int cmd_timeclock(const cli_args *args) {
    return write_periods("timeclock", args, PERIODS_TIMECLOCK);
}
