// The project list: the project file "Projekte.txt" in the common directory read into lines of
// their kinds (comment, heading, empty, entry), its template, and the main window's list order.
#pragma once
#include <stddef.h>

enum {
    PROJECT_LINE = 100, // characters of a line kept
    PROJECT_ID = 15,    // characters of a project identifier
    PROJECT_ID_COLUMNS = 16,
    PROJECT_FIELD = 80, // characters of a dialog field
};

// One line of the project file; comment lines (";" first) are kept but never shown.
struct project_line {
    char text[PROJECT_LINE + 1];
    bool comment;
};

// Lines in file order, in an fmalloc block that grows as lines are added.
struct project_list {
    project_line *lines;
    int count;
    int capacity;
};

void project_list_clear(project_list *list);
// Inserts a line before index (at the end when index is count or beyond); 0, or -1 without
// memory.
int project_list_insert(project_list *list, int index, const char *text, bool comment);
void project_list_remove(project_list *list, int index);

// The project file's path: common directory + "Projekte.txt".
void projects_path(char *out, size_t size);
// "Muster.txt" in the program's folder, the template of a missing project file.
void projects_template_path(char *out, size_t size);
// Reads the lines of the project file at path into list (emptied first): CR ignored, reading
// stops at a Ctrl+Z, the first 100 characters of a line kept, trailing white space removed, tabs
// expanded to stops every 8 columns. 0, or -1 when the file cannot be opened or memory runs out.
int projects_read(project_list *list, const char *path);
// Whether a line can be chosen for a booking: not empty, no heading (leading blank), no comment.
bool projects_is_entry(const project_line *line);
// The identifier (first 16 characters, trimmed; PROJECT_FIELD + 1 bytes) and the description
// (column 16 on, trimmed; empty when the line is not longer) of an entry line.
void projects_split(const char *line, char *id, char *description);

// The main window's list: "---", then every line (comments left out) in file order; the lines
// that begin with the last booked project (cut at its first blank) come once more on top, before
// "---". A missing project file is first copied from template_path; when it still cannot be
// opened, status message 21 and the list holds only "---" (result -1).
int projects_fill_main_list(project_list *out, const char *template_path);
