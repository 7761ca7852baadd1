// The exchange as its dialog runs it: whether it may open, which steps a start-up mode presets,
// and the selected steps in their order.
#include "frame/messages.h"
#include "frame/texts.h"
#include "handheld/palm.h"
#include "resources/text_ids.h"

int palm_exchange_allowed(void) {
    if (palm_mode() != PALM_OFF) return 1;
    msg_warn("%s", text(TXT_PALM_DISABLED));
    return 0;
}

int palm_exchange_offered(int mode) {
    if (mode == PALM_OPEN_MENU) return palm_exchange_allowed();
    return palm_mode() != PALM_OFF;
}

void palm_exchange_preset(int mode, palm_steps *steps) {
    steps->take_over = mode == PALM_OPEN_MENU || mode == PALM_OPEN_NEW_TIMES;
    steps->install_times = 0;
    steps->install_projects = mode == PALM_OPEN_MENU || mode == PALM_OPEN_PROJECTS_EDITED;
}

int palm_exchange_run(const palm_steps *steps, journal_merge_fn report, void *context) {
    int result = 0;
    if (steps->take_over) {
        palm_conversion conversion;
        if (palm_take_over(&conversion, report, context) < 0) result = -1;
    }
    if (steps->install_times && palm_build_times() < 0) result = -1;
    if (steps->install_projects && palm_build_projects() < 0) result = -1;
    // The install step runs with whatever databases are there, also after a failed build.
    if ((steps->install_times || steps->install_projects) &&
        palm_install(steps->install_times, steps->install_projects, 0) < 0)
        result = -1;
    return result;
}
