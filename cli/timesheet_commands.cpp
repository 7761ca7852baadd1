// kxcli's monthly timesheet and holidays: the text the timesheet dialog copies, and the holidays of
// a year in the format of the holidays file.
#include "cli/cli.h"
#include "frame/memory.h"
#include "frame/text.h"
#include "timerec/holidays.h"
#include "timerec/timesheet.h"
#include <stdlib.h>

// A year of four digits within 1901-2099 into year; false when the word is none.
static bool read_year(const char *word, int *year) {
    *year = atoi(word);
    return text_match("####", word) && *year >= 1901 && *year <= 2099;
}

int cmd_month(const cli_args *args) {
    if (args->count != 0 && args->count != 2)
        return cli_usage_error("month takes YEAR MM or nothing");
    int year, month;
    timesheet_this_month(&year, &month);
    if (args->count == 2) {
        const char *word = args->positional[1];
        month = atoi(word);
        if (!read_year(args->positional[0], &year))
            return cli_usage_error("month: YEAR is 1901 to 2099, got \"%s\"", args->positional[0]);
        if (!(text_match("#", word) || text_match("##", word)) || month < 1 || month > 12)
            return cli_usage_error("month: MM is 01 to 12, got \"%s\"", word);
    }
    static timesheet sheet;
    if (timesheet_evaluate(&sheet, year, month) != 0) return CLI_EXIT_FAILED;
    char *copy = timesheet_copy(&sheet, cli_flag("--table"));
    cli_out(copy);
    ffree(copy);
    return sheet.year_file_missing ? CLI_EXIT_FAILED : CLI_EXIT_OK;
}

int cmd_holidays(const cli_args *args) {
    int year;
    if (args->count != 1) return cli_usage_error("holidays takes YEAR");
    if (!read_year(args->positional[0], &year))
        return cli_usage_error("holidays: YEAR is 1901 to 2099, got \"%s\"", args->positional[0]);
    holiday_table table = {};
    int result = holidays_load(&table, year, year);
    for (int i = 0; i < table.count; i++) {
        char line[HOLIDAY_TEXT + 1];
        holidays_line(line, &table.days[i]);
        cli_out(line);
        cli_out("\r\n");
    }
    holidays_free(&table);
    return result == 0 ? CLI_EXIT_OK : CLI_EXIT_FAILED;
}
