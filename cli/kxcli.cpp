// kxcli: the time recording without a window. Global options, the command table and the set-up
// every command shares (work directory, present moment, where messages go).
#include "cli/cli.h"
#include "frame/clock.h"
#include "frame/dates.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/platform.h"
#include "frame/settings.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/booking.h"
#include "timerec/directories.h"
#include "timerec/journal.h"
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

enum { ARGUMENT_MAX = 1000 };

struct option_spec {
    const char *name;
    bool takes_value;
    const char *value; // set while parsing
};

static option_spec options[] = {
    {"--ini", true, nullptr},       {"--workdir", true, nullptr},   {"--commondir", true, nullptr},
    {"--exportdir", true, nullptr}, {"--person", true, nullptr},    {"--now", true, nullptr},
    {"--utf8", false, nullptr},     {"--date", true, nullptr},      {"--time", true, nullptr},
    {"--times", false, nullptr},    {"--projects", false, nullptr}, {"--program", false, nullptr},
    {"--mode", true, nullptr},      {"--minutes", false, nullptr},  {"--table", false, nullptr},
};

static bool utf8_output;

static const char usage_text[] =
    "usage: kxcli [--ini FILE] [--workdir DIR] [--commondir DIR] [--exportdir DIR]\n"
    "             [--person ID] [--now \"YYYY-MM-DD HH:MM\"] [--utf8] COMMAND ...\n"
    "commands:\n"
    "  last                          the last booking: date, time, project, text (tab-separated)\n"
    "  book PROJECT [TEXT] [--date YYYY-MM-DD] [--time HH:MM]\n"
    "                                books PROJECT (\"---\" books a pause) in the current year "
    "file\n"
    "  check                         the start-up check of the last booking's day\n"
    "  day DATE                      the day editor's list of DATE (YYYY-MM-DD) as its copy text\n"
    "  insert DATE TIME PROJECT [TEXT]\n"
    "                                puts one booking into DATE's lines in time order\n"
    "  remove DATE TIME [PROJECT]    removes the one booking of DATE at TIME (of PROJECT)\n"
    "  verify [YEAR]                 the year file's suspicious lines as FILE:LINE: REASON\n"
    "                                (default: this year; exit status 1 when there are any)\n"
    "  tray                          the tray icon's tooltip and its menu's projects\n"
    "  palm import                   takes the handheld's backed-up times into the year files\n"
    "  palm build-times              builds Zeiten.PDB of the current year file (current folder)\n"
    "  palm build-projects           builds Projekte.PDB of the project list (current folder)\n"
    "  palm install [--times] [--projects] [--program]\n"
    "                                hands the built files over as setting UsePalm says\n"
    "  palm check                    the start-up check for new handheld times (PalmLast)\n"
    "  pdb dump FILE                 header and records of a Palm database as text\n"
    "  projects                      the main list's entries, one per line\n"
    "  stats YEAR FROM TO [--mode project|month|week] [--minutes] [--table]\n"
    "                                the statistics' copy text (FROM, TO as MM-DD)\n"
    "  week [YEAR FROM TO] [--minutes] [--table]\n"
    "                                the weekly report's copy text (default: last week)\n"
    "  detail PREFIX FROM_DAY TO_DAY [--minutes] [--table]\n"
    "                                the detail view's copy text (days as YYYY-MM-DD)\n"
    "  export YEAR FROM TO           writes the export file and prints its path\n"
    "  month [YEAR MM] [--table]     the monthly timesheet's copy text (default: this month)\n"
    "  holidays YEAR                 the holidays of YEAR as lines of Feiertage.txt\n"
    "exit status: 0 done, 1 failed, 2 wrong usage\n";

const char *cli_option(const char *name) {
    for (const option_spec &option : options)
        if (strcmp(option.name, name) == 0) return option.value;
    return nullptr;
}

bool cli_flag(const char *name) {
    return cli_option(name) != nullptr;
}

static void write_text(FILE *stream, const char *text) {
    if (utf8_output) {
        char converted[3 * ARGUMENT_MAX + 1];
        // Long texts go through in pieces so none is cut.
        char piece[ARGUMENT_MAX + 1];
        for (size_t at = 0, length = strlen(text); at < length; at += ARGUMENT_MAX) {
            text_copy_max(piece, text + at, ARGUMENT_MAX);
            cli_to_utf8(converted, sizeof converted, piece);
            fputs(converted, stream);
        }
    } else {
        fputs(text, stream);
    }
}

void cli_out(const char *text) {
    write_text(stdout, text);
}

void cli_err(const char *text) {
    fflush(stdout);
    write_text(stderr, text);
    fflush(stderr);
}

void cli_printf(const char *format, ...) {
    char text[4 * ARGUMENT_MAX];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    cli_out(text);
}

int cli_usage_error(const char *format, ...) {
    char text[ARGUMENT_MAX];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    cli_err("kxcli: ");
    cli_err(text);
    cli_err("\n");
    cli_err(usage_text);
    return CLI_EXIT_USAGE;
}

// Every message of the core (status line, boxes) becomes a line on standard error.
static void message_to_stderr(int kind, const char *text) {
    if (!text[0]) return;
    cli_err(text);
    cli_err("\n");
}

static option_spec *find_option(const char *name) {
    for (option_spec &option : options)
        if (strcmp(option.name, name) == 0) return &option;
    return nullptr;
}

// "--name"; the pause project "---" and texts like "-- x" are no options.
static bool is_option(const char *word) {
    return word[0] == '-' && word[1] == '-' &&
           ((word[2] >= 'a' && word[2] <= 'z') || (word[2] >= 'A' && word[2] <= 'Z'));
}

// Splits the command line into options (anywhere; "--" ends them) and positional words.
static int parse(int argc, char **argv, cli_args *args) {
    bool options_end = false;
    for (int i = 1; i < argc; i++) {
        const char *word = argv[i];
        if (!options_end && strcmp(word, "--") == 0) {
            options_end = true;
        } else if (!options_end && is_option(word)) {
            option_spec *option = find_option(word);
            if (!option) return cli_usage_error("unknown option %s", word);
            if (option->takes_value && i + 1 >= argc)
                return cli_usage_error("option %s needs a value", word);
            option->value = option->takes_value ? argv[++i] : "";
        } else if (!args->command) {
            args->command = word;
        } else if (args->count < CLI_POSITIONAL_MAX) {
            args->positional[args->count++] = word;
        } else {
            return cli_usage_error("too many arguments");
        }
    }
    if (!args->command) return cli_usage_error("no command given");
    return 0;
}

// The folder checked is the year file's own: a work folder set without its final separator runs
// the file names on from its last word, and the reports read that file too.
int cli_require_journal(void) {
    char path[PATH_MAX_TEXT + 1], folder[PATH_MAX_TEXT + 1];
    journal_current_path(path);
    path_dir(folder, sizeof folder, path);
    if (platform_path_kind(folder[0] ? folder : ".") != PATH_DIRECTORY) {
        msg_warn(text(TXT_WORK_DIR_MISSING), WorkDir);
        return -1;
    }
    int kind = platform_path_kind(path);
    if (kind == PATH_NONE) msg_warn(text(TXT_JOURNAL_NOT_FOUND), path);
    if (kind != PATH_NONE && kind != PATH_FILE) msg_warn(text(TXT_NOT_A_FILE), path);
    return kind == PATH_FILE ? 0 : -1;
}

// A folder option into its value, given a final separator; 0, or a usage exit status.
static int take_folder(const char *option, char *value) {
    const char *folder = cli_option(option);
    if (!folder) return 0;
    if (strlen(folder) + 1 > DIRECTORY_MAX)
        return cli_usage_error("%s: at most %d characters", option, DIRECTORY_MAX - 1);
    text_copy_max(value, folder, DIRECTORY_MAX);
    path_add_separator(value, DIRECTORY_MAX + 1);
    return 0;
}

// The settings file of --ini (or the program's own), made absolute so that a relative name means
// the current folder in both builds (the profile functions of Windows would look in the Windows
// folder).
static int take_settings_file(void) {
    const char *name = cli_option("--ini");
    if (!name) {
        // Without --ini, the program's own settings file beside it, as kx.exe keeps it.
        char beside[SETTINGS_NAME_MAX + 1];
        settings_program_path(beside, sizeof beside, SETTINGS_PROGRAM_FILE);
        settings_set_file(beside);
        directories_load();
        return 0;
    }
    char full[SETTINGS_NAME_MAX + 1] = "";
    bool absolute = path_is_separator(name[0]) || (name[0] && name[1] == ':');
    if (!absolute) {
        current_dir(full, sizeof full);
        path_add_separator(full, sizeof full);
    }
    if (strlen(full) + strlen(name) > SETTINGS_NAME_MAX)
        return cli_usage_error("--ini: the path is too long");
    strcat(full, name);
    settings_set_file(full);
    directories_load();
    return 0;
}

// Applies the options every command shares: the settings file's section "Installation" first,
// then the folders and the person given directly; 0, or a usage exit status.
static int apply_common_options(void) {
    utf8_output = cli_flag("--utf8");
    directories_set_defaults();
    int result = take_settings_file();
    if (result == 0) result = take_folder("--workdir", WorkDir);
    if (result == 0) result = take_folder("--commondir", CommonDir);
    if (result == 0) result = take_folder("--exportdir", ExportDir);
    if (result != 0) return result;
    if (const char *person = cli_option("--person")) {
        if (strlen(person) > PERSON_MAX)
            return cli_usage_error("--person: at most %d characters", PERSON_MAX);
        text_copy_max(Person, person, PERSON_MAX);
    }
    if (const char *now = cli_option("--now")) {
        platform_time moment;
        if (booking_parse_moment(now, &moment) != 0)
            return cli_usage_error("--now: expected \"YYYY-MM-DD HH:MM\", got \"%s\"", now);
        clock_fix(&moment);
    }
    return 0;
}

struct command_spec {
    const char *name;
    int (*run)(const cli_args *args);
};

static const command_spec commands[] = {
    {"last", cmd_last},     {"book", cmd_book},     {"check", cmd_check},
    {"palm", cmd_palm},     {"pdb", cmd_pdb},       {"projects", cmd_projects},
    {"stats", cmd_stats},   {"week", cmd_week},     {"detail", cmd_detail},
    {"export", cmd_export}, {"month", cmd_month},   {"holidays", cmd_holidays},
    {"tray", cmd_tray},     {"day", cmd_day},       {"insert", cmd_insert},
    {"remove", cmd_remove}, {"verify", cmd_verify},
};

// With --utf8, arguments typed in a UTF-8 terminal become Windows-1252 texts.
static void convert_arguments(cli_args *args) {
    static char converted[CLI_POSITIONAL_MAX + sizeof options / sizeof options[0]][ARGUMENT_MAX];
    int used = 0;
    for (int i = 0; i < args->count; i++) {
        cli_from_utf8(converted[used], ARGUMENT_MAX, args->positional[i]);
        args->positional[i] = converted[used++];
    }
    for (option_spec &option : options)
        if (option.value && option.takes_value) {
            cli_from_utf8(converted[used], ARGUMENT_MAX, option.value);
            option.value = converted[used++];
        }
}

int main(int argc, char **argv) {
    platform_binary_stdio();
    for (int kind = 0; kind < MSG_KINDS; kind++) messages_set_sink(kind, message_to_stderr);
    cli_args args = {};
    int result = parse(argc, argv, &args);
    if (result != 0) return result;
    if (cli_flag("--utf8")) convert_arguments(&args);
    result = apply_common_options();
    if (result != 0) return result;
    for (const command_spec &command : commands)
        if (strcmp(command.name, args.command) == 0) return command.run(&args);
    return cli_usage_error("unknown command %s", args.command);
}
