// The application record: handles and texts every part of the program needs, and the run state.
#pragma once

enum { APP_TITLE_MAX = 80, APP_CLASS_MAX = 40 };

enum run_state {
    RUN_STARTING = 0,
    RUN_CLASS_REGISTERED = 1,
    RUN_RUNNING = 2,
    RUN_LOOP_ENDED = 3,
    RUN_CLOSING = 4,
    RUN_CLOSED = 5,
    RUN_FINISHED = 9,
};

// Handles are kept as pointers (all Win32 handles are pointer-sized).
struct frame_app_record {
    char title[APP_TITLE_MAX + 1];
    void *instance;
    void *main_window;
    void *menu;
    void *wait_cursor;
    void *arrow_cursor;
    void *drag_cursor;
    void *accelerators;
    void *font;
    const char *command_line;
    char class_name[APP_CLASS_MAX + 1];
    void *background;
};

frame_app_record *frame_app(void);
void *frame_main_window(void);
void *frame_instance(void);
const char *frame_title(void);
int frame_run_state(void);
// Only the program start moves the run state.
void frame_set_run_state(int state);
// 0 arrow, 1 wait, 2 drag cursor; any other kind does nothing.
void frame_set_cursor(int kind);
