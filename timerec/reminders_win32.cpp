// The reminders in the running program: a timer that watches the last input and the running
// booking, the question after time away in a window of its own that never takes the keyboard,
// the balloon of a long-running project, and the moment the session ends.
#include "frame/app.h"
#include "frame/clock.h"
#include "frame/dialog.h"
#include "frame/frame.h"
#include "frame/messages.h"
#include "frame/texts.h"
#include "resources/kx_ids.h"
#include "resources/text_ids.h"
#include "timerec/booking.h"
#include "timerec/main_window.h"
#include "timerec/reminders.h"
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { TICK_MS = 15000, WORK_AREA_MARGIN = 8 };

static struct {
    idle_watch watch;
    long noticed;      // the moment of the booking whose long run was told
    bool test_clock;   // a test run: inputs come from the test hook, not from the system
    long test_input;   // the moment of the test's last input
    HWND question;     // the window of the question after time away, while it is open
    bool balloon_asks; // the last balloon was that question's
    idle_question asked;
} reminders;

static HWND main_window(void) {
    return (HWND)frame_main_window();
}

void reminders_start(void) {
    idle_watch_reset(&reminders.watch);
    reminders.noticed = -1;
    reminders.test_clock = getenv("KX_NOW") != nullptr;
    reminders.test_input = -1;
    SetTimer(main_window(), ID_REMINDER_TIMER, TICK_MS, nullptr);
}

void reminders_stop(void) {
    KillTimer(main_window(), ID_REMINDER_TIMER);
}

// The minute of the user's last keyboard or mouse input anywhere in the session.
static long last_input(void) {
    if (reminders.test_clock) return reminders.test_input;
    platform_time now;
    clock_now(&now);
    long minute = reminder_now();
    LASTINPUTINFO info = {sizeof info, 0};
    if (minute < 0 || !GetLastInputInfo(&info)) return minute;
    long long seconds = (long long)minute * 60 + now.second - (GetTickCount() - info.dwTime) / 1000;
    return (long)(seconds / 60);
}

static void question_text(char *out, size_t size) {
    reminder_idle_text(out, size, &reminders.asked);
}

static void idle_open(void) {
    char question[REMINDER_TEXT];
    question_text(question, sizeof question);
    SetDlgItemTextA(dialog_window(), ID_IDLE_TEXT, question);
}

static void idle_close(void) {
    reminders.question = nullptr;
}

// The pause of the time away: "---" at its start, then the project that ran then again at its
// end, with its note. Both lie after the journal's last line, so they are appended.
// The pause and the project taken up again go in as one change, so one undo takes both back.
static int idle_book_pause(const idle_question *question) {
    booking lines[2] = {};
    reminder_moment_texts(question->from, lines[0].date, lines[0].time);
    snprintf(lines[0].project, sizeof lines[0].project, "---");
    reminder_moment_texts(question->to, lines[1].date, lines[1].time);
    snprintf(lines[1].project, sizeof lines[1].project, "%s", question->running.project);
    snprintf(lines[1].text, sizeof lines[1].text, "%s", question->running.text);
    return main_insert(lines, 2);
}

// Yes books the pause, unless something was booked since the question: the pause would then
// land behind a later booking.
static void on_yes(void) {
    booking last;
    journal_last_booking(&last);
    if (reminder_idle_current(&reminders.asked, &last))
        idle_book_pause(&reminders.asked);
    else
        status_show("%s", text(TXT_IDLE_STALE));
    dialog_close_current();
}

static int idle_handler(UINT message, WPARAM wparam, LPARAM lparam) {
    if (is_close_box(message, wparam)) {
        dialog_close_current();
        return 1;
    }
    if (message != WM_COMMAND) return 0;
    if (LOWORD(wparam) == IDOK) on_yes();
    if (LOWORD(wparam) == IDCANCEL) dialog_close_current();
    return 0;
}

// Near the notification area, at the bottom right of the work area.
static void place_question(HWND window) {
    RECT area, frame;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(window, &frame);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(window, HWND_TOP, area.right - width - WORK_AREA_MARGIN,
                 area.bottom - height - WORK_AREA_MARGIN, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

// The question comes up without taking the keyboard from the program the user is back in: shown
// inactive, its taskbar button flashing, its text in the tray's balloon too.
static void show_question(void) {
    HWND window = dialog_open_mode(DLG_IDLE, idle_open, idle_close, idle_handler, DLG_UNOWNED);
    if (!window) return;
    reminders.question = window;
    place_question(window);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    FLASHWINFO flash = {sizeof flash, window, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
    FlashWindowEx(&flash);
    char question[REMINDER_TEXT];
    question_text(question, sizeof question);
    tray_balloon(question);
    reminders.balloon_asks = true;
}

// A question still open about the same booking covers the new time away as well.
static void extend_question(const booking *last, long to) {
    if (!reminder_idle_current(&reminders.asked, last) || to <= reminders.asked.to) return;
    reminders.asked.to = to;
    char question[REMINDER_TEXT];
    question_text(question, sizeof question);
    SetDlgItemTextA(reminders.question, ID_IDLE_TEXT, question);
}

static void on_back(const booking *last, long from, long to) {
    if (reminders.question) {
        extend_question(last, to);
        return;
    }
    if (reminder_idle_ask(main_options(), last, from, to, &reminders.asked)) show_question();
}

static void on_tick(void) {
    booking last;
    journal_last_booking(&last);
    long from, input = last_input();
    if (input >= 0 &&
        idle_watch_input(&reminders.watch, input, main_options()->idle_minutes, &from))
        on_back(&last, from, input);
    char notice[REMINDER_TEXT];
    if (reminder_long_running(notice, sizeof notice, main_options(), &last, reminder_now(),
                              &reminders.noticed)) {
        tray_balloon(notice);
        reminders.balloon_asks = false;
    }
    tray_refresh();
}

// A click on the balloon leads to what it told of: the question, or the main window.
void reminders_balloon_clicked(void) {
    if (reminders.balloon_asks && reminders.question)
        SetForegroundWindow(reminders.question);
    else
        frame_bring_forward(main_window());
}

// The test hook of a run with a fixed clock: "YYYY-MM-DD HH:MM" is the moment of an input; the
// clock moves there and the reminders look at once.
static void on_test_input(const COPYDATASTRUCT *copy) {
    if (!reminders.test_clock || !copy || copy->dwData != CD_TEST_INPUT) return;
    char moment_text[MOMENT_TEXT + 1] = "";
    memcpy(moment_text, copy->lpData,
           copy->cbData < (DWORD)MOMENT_TEXT ? copy->cbData : (DWORD)MOMENT_TEXT);
    platform_time moment;
    if (booking_parse_moment(moment_text, &moment) != 0) return;
    clock_fix(&moment);
    reminders.test_input = reminder_now();
    on_tick();
}

// Windows gives no time for a dialog at the end of the session: the moment is only noted.
static void on_session_end(void) {
    booking last;
    journal_last_booking(&last);
    reminder_shutdown_store(main_options(), &last, reminder_now());
}

int reminders_message(unsigned message, uintptr_t wparam, intptr_t lparam) {
    switch (message) {
    case WM_TIMER:
        if (wparam != ID_REMINDER_TIMER) return 0;
        on_tick();
        return 1;
    case WM_COPYDATA:
        on_test_input((const COPYDATASTRUCT *)lparam);
        return 1;
    case WM_ENDSESSION:
        if (wparam) on_session_end();
        return 1;
    }
    return 0;
}
