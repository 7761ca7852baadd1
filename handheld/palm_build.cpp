// Database builds of the exchange: the limits of the database are kept, but what they leave out
// is counted and said, and a database that cannot be written is reported.
#include "frame/messages.h"
#include "frame/texts.h"
#include "handheld/palm.h"
#include "handheld/palm_build.h"
#include "handheld/pdb.h"
#include "resources/text_ids.h"
#include <string.h>

void palm_build_start(palm_build *build, const char *name, int failure_text) {
    memset(build, 0, sizeof *build);
    palm_local_path(build->path, sizeof build->path, name);
    build->failure_text = failure_text;
    build->started = pdb_build_begin() == 0;
}

void palm_build_add(palm_build *build, const char *record) {
    if (build->started && pdb_build_add(record) == 0)
        build->written++;
    else
        build->left_out++;
}

int palm_build_finish(palm_build *build) {
    if (!build->started || pdb_build_write(build->path) != 0) {
        msg_warn(text(build->failure_text), build->path);
        return -1;
    }
    if (build->left_out > 0) msg_warn(text(TXT_PALM_LEFT_OUT), build->left_out, build->path);
    return build->written;
}
