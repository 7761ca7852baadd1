// kxcli's handheld commands: taking over the handheld's times, building and installing the
// databases, the backup check, and a readable dump of any Palm database.
#include "cli/cli.h"
#include "frame/settings.h"
#include "handheld/palm.h"
#include "handheld/pdb.h"
#include "timerec/directories.h"
#include <stdio.h>
#include <string.h>

enum { DUMP_RECORD = 4096 };

// Prints each year file's outcome; context counts the years that could not be written.
static void print_year(const journal_merge_year *year, void *context) {
    if (year->result != 0) {
        cli_printf("%04d.txt: not written\n", year->year);
        ++*(int *)context;
    } else
        cli_printf("%04d.txt: %ld added, %ld duplicates skipped, %ld replaced (%ld -> %ld lines)\n",
                   year->year, year->added, year->duplicates, year->replaced, year->lines_before,
                   year->lines_after);
}

static int palm_import(void) {
    palm_conversion conversion;
    int unwritten = 0;
    int result = palm_take_over(&conversion, print_year, &unwritten);
    cli_printf("records read: %d\n", conversion.records);
    return result < 0 || unwritten > 0 ? CLI_EXIT_FAILED : CLI_EXIT_OK;
}

static int palm_built(const char *name, int records) {
    if (records < 0) return CLI_EXIT_FAILED;
    cli_printf("%s: %d records\n", name, records);
    return CLI_EXIT_OK;
}

static int palm_install_command(void) {
    bool times = cli_flag("--times"), projects = cli_flag("--projects");
    bool program = cli_flag("--program");
    if (!times && !projects && !program)
        return cli_usage_error("palm install: choose --times, --projects and/or --program");
    return palm_install(times, projects, program) == 0 ? CLI_EXIT_OK : CLI_EXIT_FAILED;
}

static int palm_check(void) {
    if (palm_backup_check()) {
        char stamp[SETTINGS_VALUE];
        settings_read(SETTINGS_SECTION, "PalmLast", stamp);
        cli_printf("new handheld times: %s\n", stamp);
    } else {
        cli_printf("no new handheld times\n");
    }
    return CLI_EXIT_OK;
}

int cmd_palm(const cli_args *args) {
    const char *step = args->count == 1 ? args->positional[0] : "";
    if (strcmp(step, "import") == 0) return palm_import();
    if (strcmp(step, "build-times") == 0)
        return cli_require_journal() != 0 ? CLI_EXIT_FAILED
                                          : palm_built(PALM_TIMES_PDB, palm_build_times());
    if (strcmp(step, "build-projects") == 0)
        return palm_built(PALM_PROJECTS_PDB, palm_build_projects());
    if (strcmp(step, "install") == 0) return palm_install_command();
    if (strcmp(step, "check") == 0) return palm_check();
    return cli_usage_error("palm takes one of import, build-times, build-projects, install, check");
}

// A record's text up to its first NUL, control characters written as \xNN.
static void print_text(const char *text) {
    char shown[4 * DUMP_RECORD + 1];
    int used = 0;
    for (const unsigned char *p = (const unsigned char *)text; *p; p++)
        used +=
            snprintf(shown + used, sizeof shown - (size_t)used, *p < 0x20 ? "\\x%02X" : "%c", *p);
    cli_out(shown);
}

static void print_date(const char *label, uint32_t seconds) {
    char date[PDB_DATE_TEXT + 1];
    pdb_date_text(date, seconds);
    cli_printf("%s: %lu %s\n", label, (unsigned long)seconds, date);
}

static void print_header(const pdb_header *header) {
    cli_out("name: ");
    print_text(header->name);
    cli_printf("\nattributes: %u\nversion: %u\n", header->attributes, header->version);
    print_date("created", header->created);
    print_date("modified", header->modified);
    print_date("backed up", header->backed_up);
    cli_printf("modification number: %lu\napplication info: %lu\nsort info: %lu\n",
               (unsigned long)header->modification_number, (unsigned long)header->app_info,
               (unsigned long)header->sort_info);
    cli_out("type: ");
    print_text(header->type);
    cli_out("\ncreator: ");
    print_text(header->creator);
    cli_printf("\nunique id seed: %lu\nnext record list: %lu\nrecords: %u\nfile size: %lld\n",
               (unsigned long)header->unique_id_seed, (unsigned long)header->next_record_list,
               header->records, (long long)pdb_file_size());
}

static void print_record(int index) {
    pdb_entry entry;
    static char data[DUMP_RECORD];
    pdb_record_entry(index, &entry);
    cli_printf("record %d: offset %lu, attributes %u, id %lu, ", index, (unsigned long)entry.offset,
               entry.attributes, (unsigned long)entry.unique_id);
    if (pdb_read_record(index, data, sizeof data) < 0) {
        cli_out("unreadable\n");
        return;
    }
    cli_printf("%lu bytes: ", (unsigned long)(entry.end - entry.offset));
    print_text(data);
    cli_out("\n");
}

int cmd_pdb(const cli_args *args) {
    if (args->count != 2 || strcmp(args->positional[0], "dump") != 0)
        return cli_usage_error("pdb takes dump FILE");
    int records = pdb_open(args->positional[1]);
    if (records < 0) {
        if (pdb_file_size() >= PDB_HEADER) print_header(pdb_header_read());
        cli_err("kxcli: ");
        cli_err(args->positional[1]);
        cli_err(records == PDB_DAMAGED ? ": damaged Palm database\n" : ": cannot be opened\n");
        return CLI_EXIT_FAILED;
    }
    print_header(pdb_header_read());
    for (int i = 0; i < records; i++) print_record(i);
    pdb_close();
    return CLI_EXIT_OK;
}
