// The notification-area icon: the indicator's colour, the running booking as its tooltip,
// balloons of the reminders, a left click that brings the main window forward and a menu that
// books the last projects at this minute.
#include "frame/app.h"
#include "frame/frame.h"
#include "frame/texts.h"
#include "resources/kx_ids.h"
#include "resources/text_ids.h"
#include "timerec/booking.h"
#include "timerec/main_window.h"
#include "timerec/reminders.h"
#include "timerec/tray.h"
#include <windows.h>
#include <shellapi.h>
#include <string.h>

enum tray_state { STATE_PAUSE, STATE_PROJECT, STATE_PENDING, STATES };

static const COLORREF state_colours[STATES] = {RGB(208, 0, 0), RGB(0, 168, 0), RGB(240, 168, 0)};

static struct {
    bool added;
    unsigned taskbar_created; // the message Explorer sends to every window when it (re)starts
    HICON icons[STATES];
    int state;
    char tip[TRAY_TIP + 1];
    long tip_moment; // the minute the tooltip's working time was counted for
    booking tip_booking;
} tray;

static HWND main_window(void) {
    return (HWND)frame_main_window();
}

// A round icon of the small-icon size in the colour, with a darker rim; outside the circle the
// mask lets the taskbar show through.
static HICON state_icon(COLORREF colour) {
    int size = GetSystemMetrics(SM_CXSMICON);
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, size, size);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    COLORREF rim = RGB(GetRValue(colour) / 2, GetGValue(colour) / 2, GetBValue(colour) / 2);
    HBRUSH fill = CreateSolidBrush(colour);
    HPEN edge = CreatePen(PS_SOLID, size >= 24 ? 2 : 1, rim);
    HGDIOBJ old_bitmap = SelectObject(dc, picture);
    HGDIOBJ old_brush = SelectObject(dc, fill), old_pen = SelectObject(dc, edge);
    PatBlt(dc, 0, 0, size, size, BLACKNESS);
    Ellipse(dc, 1, 1, size - 1, size - 1);
    SelectObject(dc, mask);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    PatBlt(dc, 0, 0, size, size, WHITENESS);
    Ellipse(dc, 1, 1, size - 1, size - 1);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_bitmap);
    ICONINFO info = {TRUE, 0, 0, mask, picture};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(edge);
    DeleteObject(fill);
    DeleteObject(mask);
    DeleteObject(picture);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return icon;
}

static NOTIFYICONDATAA icon_data(UINT flags) {
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof data;
    data.hWnd = main_window();
    data.uID = ID_TRAY_ICON;
    data.uFlags = flags;
    return data;
}

static void notify(DWORD what, UINT flags) {
    NOTIFYICONDATAA data = icon_data(flags | NIF_MESSAGE | NIF_ICON | NIF_TIP);
    data.uCallbackMessage = WM_KX_TRAY;
    data.hIcon = tray.icons[tray.state];
    lstrcpynA(data.szTip, tray.tip, sizeof data.szTip);
    BOOL done = Shell_NotifyIconA(what, &data);
    if (what == NIM_ADD) tray.added = done != FALSE;
}

// The tooltip for the journal's last booking; today's working time is counted again only when
// the booking or the minute has changed.
static void update_tip(void) {
    booking last;
    journal_last_booking(&last);
    long now = reminder_now();
    if (now == tray.tip_moment && memcmp(&last, &tray.tip_booking, sizeof last) == 0) return;
    tray.tip_moment = now;
    tray.tip_booking = last;
    tray_tooltip(tray.tip, sizeof tray.tip, &last, tray_today_minutes());
}

void tray_start(void) {
    tray.taskbar_created = RegisterWindowMessageA("TaskbarCreated");
    for (int state = 0; state < STATES; state++)
        tray.icons[state] = state_icon(state_colours[state]);
    tray.tip_moment = -1;
    update_tip();
    notify(NIM_ADD, 0);
}

void tray_stop(void) {
    if (tray.added) {
        NOTIFYICONDATAA data = icon_data(0);
        Shell_NotifyIconA(NIM_DELETE, &data);
        tray.added = false;
    }
    for (HICON &icon : tray.icons) {
        if (icon) DestroyIcon(icon);
        icon = nullptr;
    }
}

void tray_show_state(const char *indicator) {
    int state = strcmp(indicator, "ANDERS") == 0 ? STATE_PENDING
                : strcmp(indicator, "AUS") == 0  ? STATE_PAUSE
                                                 : STATE_PROJECT;
    char tip[TRAY_TIP + 1];
    memcpy(tip, tray.tip, sizeof tip);
    update_tip();
    if (state == tray.state && strcmp(tip, tray.tip) == 0) return;
    tray.state = state;
    if (tray.added) notify(NIM_MODIFY, 0);
}

void tray_refresh(void) {
    char tip[TRAY_TIP + 1];
    memcpy(tip, tray.tip, sizeof tip);
    update_tip();
    if (tray.added && strcmp(tip, tray.tip) != 0) notify(NIM_MODIFY, 0);
}

void tray_balloon(const char *message) {
    if (!tray.added) return;
    NOTIFYICONDATAA data = icon_data(NIF_INFO);
    lstrcpynA(data.szInfo, message, sizeof data.szInfo);
    lstrcpynA(data.szInfoTitle, frame_title(), sizeof data.szInfoTitle);
    data.dwInfoFlags = NIIF_INFO;
    Shell_NotifyIconA(NIM_MODIFY, &data);
}

// A menu text shows "&" only when it is doubled.
static void menu_label(char *out, size_t size, const char *label) {
    size_t at = 0;
    for (const char *c = label; *c && at + 2 < size; c++) {
        if (*c == '&') out[at++] = '&';
        out[at++] = *c;
    }
    out[at] = 0;
}

static HMENU build_menu(const tray_menu *entries, const char *running) {
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < entries->count; i++) {
        char label[2 * TRAY_LABEL + 1];
        menu_label(label, sizeof label, entries->entries[i].label);
        bool pause = i == entries->count - 1;
        UINT flags = MF_STRING;
        if (strcmp(entries->entries[i].project, running) == 0) flags |= MF_CHECKED;
        AppendMenuA(menu, flags, pause ? CMD_TRAY_PAUSE : CMD_TRAY_PROJECT + i, label);
    }
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, CMD_TRAY_OPEN, text(TXT_TRAY_OPEN));
    AppendMenuA(menu, MF_STRING, CMD_TRAY_EXIT, text(TXT_TRAY_EXIT));
    SetMenuDefaultItem(menu, CMD_TRAY_OPEN, FALSE);
    return menu;
}

// Books project at this minute, as choosing it in the list and confirming would.
static void book_now(const char *project) {
    char today[JOURNAL_DATE + 1], now[6];
    journal_today(today);
    booking_now_time(now);
    main_book(today, now, project, "");
}

static void on_menu_choice(int command, const tray_menu *entries) {
    if (command >= CMD_TRAY_PROJECT && command < CMD_TRAY_PROJECT + entries->count - 1)
        book_now(entries->entries[command - CMD_TRAY_PROJECT].project);
    else if (command == CMD_TRAY_PAUSE)
        book_now("---");
    else if (command == CMD_TRAY_OPEN)
        frame_bring_forward(main_window());
    else if (command == CMD_TRAY_EXIT)
        PostMessageA(main_window(), WM_CLOSE, 0, 0);
}

// The menu belongs to the main window, which must be the foreground window for the menu to
// close when the user clicks elsewhere.
static void show_menu(void) {
    tray_menu entries;
    tray_menu_entries(&entries);
    booking last;
    journal_last_booking(&last);
    HMENU menu = build_menu(&entries, last.project);
    POINT at;
    GetCursorPos(&at);
    SetForegroundWindow(main_window());
    int command = (int)TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, at.x,
                                      at.y, 0, main_window(), nullptr);
    PostMessageA(main_window(), WM_NULL, 0, 0);
    DestroyMenu(menu);
    on_menu_choice(command, &entries);
}

static void on_icon_event(unsigned event) {
    switch (event) {
    case WM_LBUTTONUP:
        frame_bring_forward(main_window());
        break;
    case WM_RBUTTONUP:
        // While a message box waits for an answer nothing is booked: the box comes forward.
        if (IsWindowEnabled(main_window()))
            show_menu();
        else
            frame_bring_forward(main_window());
        break;
    case NIN_BALLOONUSERCLICK:
        reminders_balloon_clicked();
        break;
    }
}

int tray_message(unsigned message, uintptr_t wparam, intptr_t lparam) {
    if (message == WM_KX_TRAY && wparam == ID_TRAY_ICON) {
        on_icon_event((unsigned)LOWORD(lparam));
        return 1;
    }
    if (tray.taskbar_created && message == tray.taskbar_created) {
        notify(NIM_ADD, 0);
        return 1;
    }
    // Minimised, the window leaves the taskbar when the option says so; the icon brings it back.
    if (message == WM_SIZE && wparam == SIZE_MINIMIZED && main_options()->tray_minimize &&
        tray.added) {
        ShowWindow(main_window(), SW_HIDE);
        return 1;
    }
    return 0;
}
