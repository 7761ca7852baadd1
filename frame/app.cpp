// The one application record of the process and the frame's run state.
#include "frame/app.h"

static frame_app_record app;
static int run_state = RUN_STARTING;

frame_app_record *frame_app(void) {
    return &app;
}
void *frame_main_window(void) {
    return app.main_window;
}
void *frame_instance(void) {
    return app.instance;
}
const char *frame_title(void) {
    return app.title;
}
int frame_run_state(void) {
    return run_state;
}
void frame_set_run_state(int state) {
    run_state = state;
}
