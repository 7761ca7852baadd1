// One database build of the exchange: the records the database took and those it could not,
// and the messages when it is written.
#pragma once
#include "frame/path.h"

struct palm_build {
    char path[PATH_MAX_TEXT + 1];
    int failure_text; // message id when the database cannot be written
    bool started;
    int written, left_out;
};

// Begins building the database name in the current directory.
void palm_build_start(palm_build *build, const char *name, int failure_text);
void palm_build_add(palm_build *build, const char *record);
// Writes the database: the records written, or -1. Left-out records and failures are said.
int palm_build_finish(palm_build *build);
