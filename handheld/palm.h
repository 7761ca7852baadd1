// Exchange with the handheld through the Palm desktop software's folders: taking over the times
// HotSync backed up, building the databases of this year's times and of the project list, and
// handing them over for installation as the installation mode (setting UsePalm) says.
#pragma once
#include "frame/dates.h"
#include "timerec/journal.h"
#include <stddef.h>

enum {
    PALM_RECORD_BUFFER = 100, // bytes a record is read into (99 characters and the NUL)
    PALM_TEXT_OUT = 40,       // characters of a booking text that go to the handheld
    PALM_PROJECT_ID = 10,     // characters of a project identifier on the handheld
    PALM_DESCRIPTION = 30,    // characters of a project description on the handheld
    PALM_LINE_MAX = 128,      // room for a converted or a read line
    PALM_STAMP = 12,          // hexadecimal digits of a backup stamp
};

// Installation modes (setting UsePalm).
enum { PALM_OFF = 0, PALM_FILES_ONLY = 1, PALM_DESKTOP_3 = 2, PALM_DESKTOP_4 = 3 };

// How taking over the backed-up times went.
enum { PALM_CONVERTED = 0, PALM_NO_BACKUP = -1, PALM_DAMAGED = -2, PALM_NOT_WRITTEN = -3 };
struct palm_conversion {
    int state;      // one of the four above
    int records;    // records read and converted
    int unreadable; // records whose data lies outside the file (left out, and said so)
};

extern const char PALM_TIMES_PDB[];    // "Zeiten.PDB"
extern const char PALM_PROJECTS_PDB[]; // "Projekte.PDB"
extern const char PALM_PROGRAM[];      // "korvex.prc"
extern const char PALM_HOTSYNC_KEY[];  // the HotSync Manager's key below HKEY_CURRENT_USER

// The installation mode, and the backed-up times database (PalmBak + "Zeiten.PDB").
int palm_mode(void);
void palm_backup_path(char *out, size_t size);
// A file of the process's current directory, where the databases are built and installed from.
void palm_local_path(char *out, size_t size, const char *name);

// A handheld time record as a journal line (out holds PALM_LINE_MAX bytes): date, time,
// project and text in the journal's columns, trimmed. Line breaks and end marks in the record
// become blanks, so one record always stays one line.
void palm_record_to_line(char *out, const char *record);
// A journal line as a handheld time record (out holds PALM_LINE_MAX bytes).
void palm_line_to_record(char *out, const char *line);
// A line of the project list (trimmed, tabs expanded) as a handheld project record.
void palm_project_record(char *out, const char *line);

// Converts the times database source into the journal lines of target (replaced through a
// temporary file; missing folders are made). 0, or -1 when nothing was converted.
int palm_convert_times(const char *source, const char *target, palm_conversion *result);
// Converts the backed-up times into the work directory's "Zeiten.txt" and merges it into the
// year files it touches (report as for journal_merge). The number of year files written, or -1
// when the backup was damaged or "Zeiten.txt" could not be written (said with a message).
int palm_take_over(palm_conversion *conversion, journal_merge_fn report, void *context);

// Builds "Zeiten.PDB" from the current year file / "Projekte.PDB" from the project list, in the
// current directory. The records written, or -1 (said with a message). Records that the
// database cannot take are left out and counted in a message.
int palm_build_times(void);
int palm_build_projects(void);

// Hands the selected files of the current directory over for installation as the installation
// mode says. 0, or -1 when a step failed (said with a message).
int palm_install(int times, int projects, int program);

// The handheld backup check of the start-up: 1 when the backed-up times database changed since
// it was last announced (its stamp is then stored as PalmLast), else 0. Only the first call of a
// run looks; the caller posts the command that opens the exchange.
int palm_backup_check(void);
// The modification time of a file as the 12 hexadecimal digits of a backup stamp (out holds
// PALM_STAMP + 1 bytes).
void palm_stamp(char *out, const filetime_rec *time);
// Lets the next palm_backup_check look again, as in a new run.
void palm_backup_check_rearm(void);

// Why the exchange opens: the menu command, new times found by the backup check, the project
// list edited.
enum { PALM_OPEN_MENU = 0, PALM_OPEN_NEW_TIMES = 1, PALM_OPEN_PROJECTS_EDITED = 2 };
// The steps of one exchange, as its check boxes select them.
struct palm_steps {
    int take_over;        // take over the handheld's times
    int install_times;    // build and install "Zeiten.PDB"
    int install_projects; // build and install "Projekte.PDB"
};

// 1 when the exchange may open; with the exchange switched off (UsePalm 0) it says so, 0.
int palm_exchange_allowed(void);
// 1 when the exchange opens for the reason mode. Switched off, the menu's exchange says so (as
// palm_exchange_allowed); the exchange the program offers by itself stays away without a word.
int palm_exchange_offered(int mode);
// The steps preset for an exchange opened for the reason mode.
void palm_exchange_preset(int mode, palm_steps *steps);
// Runs the selected steps in order: take over, build the times, build the projects, install
// what was built. 0, or -1 when a step failed (each failure said with a message).
int palm_exchange_run(const palm_steps *steps, journal_merge_fn report, void *context);
