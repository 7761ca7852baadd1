// kxcli's project list and reports: the main list's entries, and the texts the statistics, the
// weekly report and the detail view copy to the clipboard; the export file.
#include "cli/cli.h"
#include "frame/memory.h"
#include "frame/path.h"
#include "frame/text.h"
#include "timerec/projects.h"
#include "timerec/stat_chart.h"
#include "timerec/statalk.h"
#include "timerec/stdetail.h"
#include "timerec/wchtalk.h"
#include <string.h>

enum { DETAIL_PIECE = 1 << 16 };

int cmd_projects(const cli_args *args) {
    if (args->count != 0) return cli_usage_error("projects takes no arguments");
    if (cli_require_journal() != 0) return CLI_EXIT_FAILED;
    char template_path[PATH_MAX_TEXT + 1];
    projects_template_path(template_path, sizeof template_path);
    project_list list = {};
    int result = projects_fill_main_list(&list, template_path);
    for (int i = 0; i < list.count; i++) {
        cli_out(list.lines[i].text);
        cli_out("\n");
    }
    project_list_clear(&list);
    return result == 0 ? CLI_EXIT_OK : CLI_EXIT_FAILED;
}

int cli_check_range(const char *command, const char *const *words) {
    if (!text_match("####", words[0]))
        return cli_usage_error("%s: YEAR has four digits, got \"%s\"", command, words[0]);
    for (int i = 1; i <= 2; i++)
        if (!text_match("##-##", words[i]))
            return cli_usage_error("%s: expected a month and day as MM-DD, got \"%s\"", command,
                                   words[i]);
    return 0;
}

// Prints a copy text (when there is one) and returns its block; the exit status of the walk.
static int print_copy(char *copy, int walked) {
    if (copy) cli_out(copy);
    ffree(copy);
    return walked < 0 ? CLI_EXIT_FAILED : CLI_EXIT_OK;
}

static int stats_mode(const char *name) {
    if (!name || strcmp(name, "project") == 0) return STAT_PROJECT;
    if (strcmp(name, "month") == 0) return STAT_MONTH;
    if (strcmp(name, "week") == 0) return STAT_WEEK;
    return -1;
}

// The chart of the statistics just listed, as the dialog puts it on the clipboard, into path.
static int write_chart(const char *path, int mode) {
    static stat_chart chart;
    stat_chart_take_listed(&chart, mode);
    stat_chart_layout(&chart, CHART_PICTURE_WIDTH, 0);
    if (stat_chart_write_svg(&chart, path) == 0) return 0;
    cli_err("stats: cannot write the chart to ");
    cli_err(path);
    cli_err("\n");
    return -1;
}

int cmd_stats(const cli_args *args) {
    if (args->count != 3) return cli_usage_error("stats takes YEAR FROM TO");
    int result = cli_check_range("stats", args->positional);
    if (result != 0) return result;
    int mode = stats_mode(cli_option("--mode"));
    if (mode < 0) return cli_usage_error("--mode: project, month or week");
    statalk_alloc();
    int walked = statalk_evaluate(args->positional[0], args->positional[1], args->positional[2],
                                  mode, cli_flag("--minutes"));
    result = print_copy(statalk_copy(cli_flag("--table")), walked);
    const char *svg = cli_option("--svg");
    if (svg && result == CLI_EXIT_OK && write_chart(svg, mode) != 0) result = CLI_EXIT_FAILED;
    statalk_free();
    return result;
}

int cmd_week(const cli_args *args) {
    if (args->count != 0 && args->count != 3)
        return cli_usage_error("week takes YEAR FROM TO or nothing");
    week_fields fields;
    if (args->count == 0) {
        wchtalk_previous_week(&fields);
    } else {
        int result = cli_check_range("week", args->positional);
        if (result != 0) return result;
        text_copy_max(fields.year, args->positional[0], 4);
        text_copy_max(fields.from, args->positional[1], 5);
        text_copy_max(fields.to, args->positional[2], 5);
    }
    wchtalk_alloc();
    int walked = wchtalk_evaluate(fields.year, fields.from, fields.to, cli_flag("--minutes"));
    int result = print_copy(wchtalk_copy(cli_flag("--table")), walked);
    wchtalk_free();
    return result;
}

// The detail's copy text goes out in pieces as its lines come: a year's list need not be held
// whole, and the bytes are the same.
struct detail_copy {
    report_text text;
    bool table;
};

static void print_detail_piece(report_text *text) {
    cli_out(text->text);
    text->length = 0;
    text->text[0] = 0;
}

static void copy_detail_line(const char *line, void *context) {
    detail_copy *copy = (detail_copy *)context;
    stdetail_copy_line(&copy->text, line, copy->table);
    if (copy->text.length >= DETAIL_PIECE) print_detail_piece(&copy->text);
}

int cmd_detail(const cli_args *args) {
    if (args->count != 3) return cli_usage_error("detail takes PREFIX FROM_DAY TO_DAY");
    const char *prefix = args->positional[0];
    if (strlen(prefix) > REPORT_NAME)
        return cli_usage_error("detail: a prefix has at most %d characters", REPORT_NAME);
    for (int i = 1; i <= 2; i++)
        if (!text_match("####-##-##", args->positional[i]))
            return cli_usage_error("detail: expected YYYY-MM-DD, got \"%s\"", args->positional[i]);
    detail_copy copy = {{}, cli_flag("--table")};
    report_text_begin(&copy.text, "stdetail");
    int walked = stdetail_collect(prefix, args->positional[1], args->positional[2],
                                  cli_flag("--minutes"), copy_detail_line, &copy);
    return print_copy(report_text_take(&copy.text), walked);
}

int cmd_export(const cli_args *args) {
    if (args->count != 3) return cli_usage_error("export takes YEAR FROM TO");
    int result = cli_check_range("export", args->positional);
    if (result != 0) return result;
    int check = statalk_export_check();
    if (check != EXPORT_GO) return check == EXPORT_OFF ? CLI_EXIT_OK : CLI_EXIT_FAILED;
    statalk_alloc();
    char path[PATH_MAX_TEXT + 1];
    int written = statalk_export(args->positional[0], args->positional[1], args->positional[2],
                                 path, sizeof path);
    statalk_free();
    if (written > 0) {
        cli_out(path);
        cli_out("\n");
    }
    return written < 0 ? CLI_EXIT_FAILED : CLI_EXIT_OK;
}
