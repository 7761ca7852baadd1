// kxcli's shared parts: the parsed command line, output in Windows-1252 or UTF-8, usage errors.
#pragma once

enum { CLI_EXIT_OK = 0, CLI_EXIT_FAILED = 1, CLI_EXIT_USAGE = 2, CLI_POSITIONAL_MAX = 16 };

struct cli_args {
    const char *command;
    const char *positional[CLI_POSITIONAL_MAX];
    int count;
};

// The value of an option given on the command line ("" for a flag), or NULL when absent.
const char *cli_option(const char *name);
bool cli_flag(const char *name);

// Writes program text (Windows-1252) to standard output or error, converted with --utf8.
void cli_out(const char *text);
void cli_err(const char *text);
void cli_printf(const char *format, ...);
// Prints the message and the usage text to standard error; returns CLI_EXIT_USAGE.
int cli_usage_error(const char *format, ...);

// Converts between UTF-8 and Windows-1252 (characters it lacks become '?'); out has size bytes.
void cli_to_utf8(char *out, int size, const char *text);
void cli_from_utf8(char *out, int size, const char *text);

// For commands that only read: the work folder and the current year file must be there (nothing
// is created); 0, or -1 with a message.
int cli_require_journal(void);

// Commands: each takes the positional arguments after its name.
int cmd_last(const cli_args *args);
int cmd_book(const cli_args *args);
int cmd_check(const cli_args *args);
int cmd_verify(const cli_args *args);
int cmd_tray(const cli_args *args);
int cmd_day(const cli_args *args);
int cmd_insert(const cli_args *args);
int cmd_remove(const cli_args *args);
int cmd_projects(const cli_args *args);
int cmd_stats(const cli_args *args);
int cmd_week(const cli_args *args);
int cmd_detail(const cli_args *args);
int cmd_export(const cli_args *args);
int cmd_palm(const cli_args *args);
int cmd_pdb(const cli_args *args);
int cmd_month(const cli_args *args);
int cmd_holidays(const cli_args *args);
