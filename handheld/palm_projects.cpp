// The project list built into "Projekte.PDB": the pause entry first, then one record per project.
#include "frame/bfile.h"
#include "frame/messages.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "handheld/palm.h"
#include "handheld/palm_build.h"
#include "resources/text_ids.h"
#include "timerec/directories.h"
#include <stdio.h>

enum { PROJECT_LINE = 100 };

int palm_build_projects(void) {
    char source[DIRECTORY_MAX + 16];
    snprintf(source, sizeof source, "%sProjekte.txt", CommonDir);
    bfile file;
    if (bfile_open(&file, source) < 0) {
        msg_warn(text(TXT_PROJECTS_NOT_FOUND), source);
        return -1;
    }
    palm_build build;
    palm_build_start(&build, PALM_PROJECTS_PDB, TXT_CANNOT_WRITE_PROJECTS);
    palm_build_add(&build, text(TXT_PAUSE_ENTRY));
    char line[TEXT_TABS_MAX + 1], record[PALM_LINE_MAX];
    while (bfile_read_line(&file, line, PROJECT_LINE) >= 0) {
        if (!text_trim(line) || line[0] == ';') continue;
        text_expand_tabs(line, sizeof line);
        palm_project_record(record, line);
        palm_build_add(&build, record);
    }
    bfile_close(&file);
    return palm_build_finish(&build);
}
