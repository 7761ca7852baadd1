// Windows tests of the dialog manager: small test dialogs opened from a test main window whose
// message loop offers every message to the dialogs first. The assertions end a child process.
#include "frame/app.h"
#include "frame/dialog.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "resources/kx_ids.h"
#include "tests/win/dialog_test.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

enum { WM_RUN = WM_APP, SLOTS = DLGSUP + 2 };

typedef std::function<int(UINT, WPARAM, LPARAM)> Behaviour;

// What one test dialog's functions saw: every handler call with the dialog current at that
// moment, the open and close calls.
struct Slot {
    std::vector<UINT> messages;
    std::vector<WPARAM> commands;
    std::vector<HWND> current;
    size_t first_paint_command = 0; // how many messages the handler had seen up to command 1997
    HWND open_current = nullptr;
    int opened = 0, closed = 0;
    Behaviour behaviour;
    std::function<void()> on_close;
};
Slot slots[SLOTS];
std::vector<int> close_order;
std::vector<std::string> warnings;

int slot_handle(int n, UINT message, WPARAM wparam, LPARAM lparam) {
    Slot &slot = slots[n];
    slot.messages.push_back(message);
    slot.current.push_back(dialog_window());
    if (message == WM_COMMAND) slot.commands.push_back(wparam);
    if (message == WM_COMMAND && wparam == CMD_FIRST_PAINT && !slot.first_paint_command)
        slot.first_paint_command = slot.messages.size();
    if (message == WM_RUN) {
        (*(std::function<void()> *)lparam)();
        return 1;
    }
    return slot.behaviour ? slot.behaviour(message, wparam, lparam) : 0;
}

template <int N> int slot_handler(UINT message, WPARAM wparam, LPARAM lparam) {
    return slot_handle(N, message, wparam, lparam);
}
template <int N> void slot_open() {
    slots[N].opened++;
    slots[N].open_current = dialog_window();
}
template <int N> void slot_close() {
    slots[N].closed++;
    close_order.push_back(N);
    if (slots[N].on_close) slots[N].on_close();
}

struct Functions {
    dialog_handler handler;
    dialog_fn open, close;
};
template <size_t... N> std::array<Functions, SLOTS> make_functions(std::index_sequence<N...>) {
    return {{{slot_handler<N>, slot_open<N>, slot_close<N>}...}};
}
const std::array<Functions, SLOTS> functions = make_functions(std::make_index_sequence<SLOTS>());

HWND open(int n, const char *name = DLG_FULL, int mode = DLG_MODELESS) {
    return dialog_open_mode(name, functions[n].open, functions[n].close, functions[n].handler,
                            mode);
}

// Runs body inside the handler of dialog, where that dialog is current.
void run_in(HWND dialog, const std::function<void()> &body) {
    SendMessageA(dialog, WM_RUN, 0, (LPARAM)&body);
}

// The test program's message loop: until done() holds or two seconds have passed.
bool pump_until(const std::function<bool()> &done, DWORD limit = 2000) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (dialog_filter(&message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done()) return true;
        if (GetTickCount() - start > limit) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}
void pump() {
    pump_until([] { return true; });
}

HWND focus_root() {
    HWND focus = GetFocus();
    return focus ? GetAncestor(focus, GA_ROOT) : nullptr;
}

int count(const std::vector<WPARAM> &values, WPARAM value) {
    int n = 0;
    for (WPARAM v : values) n += v == value;
    return n;
}

BOOL CALLBACK count_dialog(HWND window, LPARAM total) {
    char name[16];
    GetClassNameA(window, name, sizeof name);
    if (IsWindowVisible(window) && std::string(name) == "#32770") ++*(int *)total;
    return TRUE;
}
int visible_dialogs() {
    int total = 0;
    EnumThreadWindows(GetCurrentThreadId(), count_dialog, (LPARAM)&total);
    return total;
}

void record_warning(int kind, const char *text) {
    warnings.push_back(text);
}

// The frame as the program start leaves it: application record, main window, dialog table.
void frame_setup() {
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = "KXDIALOGTEST";
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&window_class);
    frame_app_record *app = frame_app();
    app->instance = GetModuleHandleA(nullptr);
    app->arrow_cursor = LoadCursorA(nullptr, IDC_ARROW);
    app->wait_cursor = LoadCursorA(nullptr, IDC_WAIT);
    app->drag_cursor = LoadCursorA(nullptr, IDC_CROSS);
    app->font = GetStockObject(ANSI_FIXED_FONT);
    app->main_window =
        CreateWindowA("KXDIALOGTEST", "Zeiterfassung", WS_OVERLAPPEDWINDOW, 0, 0, 1000, 700,
                      nullptr, nullptr, (HINSTANCE)app->instance, nullptr);
    ShowWindow((HWND)app->main_window, SW_SHOW);
    dialog_startup();
    frame_set_run_state(RUN_RUNNING);
}

HWND main_window() {
    return (HWND)frame_main_window();
}

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (Slot &slot : slots) slot = Slot();
        close_order.clear();
        warnings.clear();
        messages_set_sink(MSG_WARN, record_warning);
        SetFocus(main_window());
        pump();
    }
    void TearDown() override {
        for (Slot &slot : slots) slot.behaviour = nullptr, slot.on_close = nullptr;
        dialog_close_all();
        EnableWindow(main_window(), TRUE);
        pump();
        EXPECT_EQ(visible_dialogs(), 0);
        messages_set_sink(MSG_WARN, nullptr);
    }
};

TEST_F(DialogTest, OpeningTwiceGivesOneDialogBroughtToFront) {
    HWND a = open(0), b = open(1, DLG_SMALL);
    ASSERT_TRUE(a && b);
    pump();
    EXPECT_EQ(focus_root(), b);
    EXPECT_EQ(open(0), a);
    EXPECT_EQ(open(0, DLG_TINY), a) << "the handler, not the name, names the dialog";
    pump();
    EXPECT_EQ(focus_root(), a);
    EXPECT_EQ(visible_dialogs(), 2);
    EXPECT_EQ(slots[0].opened, 1);

    // A disabled dialog only beeps and stays where it is.
    EnableWindow(a, FALSE);
    SetFocus(b);
    EXPECT_EQ(open(0), a);
    pump();
    EXPECT_EQ(focus_root(), b);
    EXPECT_FALSE(IsWindowEnabled(a));
}

TEST_F(DialogTest, OpensOnlyWhileTheMessageLoopRuns) {
    frame_set_run_state(RUN_CLOSING);
    EXPECT_EQ(open(0), nullptr);
    frame_set_run_state(RUN_RUNNING);
    EXPECT_EQ(slots[0].opened, 0);
    EXPECT_EQ(visible_dialogs(), 0);
}

TEST_F(DialogTest, HandlerSeesFirstPaintOnceAndNeitherInitNorClose) {
    HWND a = open(0);
    ASSERT_TRUE(a);
    EXPECT_EQ(slots[0].opened, 1);
    EXPECT_EQ(slots[0].open_current, a);
    ASSERT_TRUE(pump_until([] { return count(slots[0].commands, CMD_FIRST_PAINT) > 0; }));
    std::vector<UINT> &seen = slots[0].messages;
    auto first_paint = std::find(seen.begin(), seen.end(), (UINT)WM_PAINT);
    EXPECT_LT((size_t)(first_paint - seen.begin()), slots[0].first_paint_command);

    size_t paints = std::count(seen.begin(), seen.end(), (UINT)WM_PAINT);
    InvalidateRect(a, nullptr, TRUE);
    ASSERT_TRUE(pump_until(
        [&] { return (size_t)std::count(seen.begin(), seen.end(), (UINT)WM_PAINT) > paints; }));
    pump();
    EXPECT_EQ(count(slots[0].commands, CMD_FIRST_PAINT), 1);

    PostMessageA(a, WM_CLOSE, 0, 0);
    ASSERT_TRUE(pump_until([&] { return !IsWindow(a); }));
    EXPECT_EQ(std::count(seen.begin(), seen.end(), (UINT)WM_INITDIALOG), 0);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), (UINT)WM_CLOSE), 0);
    for (HWND current : slots[0].current) EXPECT_EQ(current, a);
}

TEST_F(DialogTest, CloseFunctionRunsOnceHoweverOftenAsked) {
    slots[0].behaviour = [](UINT message, WPARAM wparam, LPARAM) {
        if (message != WM_COMMAND || LOWORD(wparam) != IDCANCEL) return 0;
        dialog_close_current();
        dialog_close_current();
        return 1;
    };
    HWND a = open(0);
    ASSERT_TRUE(a);
    SendMessageA(a, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(a, WM_CLOSE, 0, 0);
    ASSERT_TRUE(pump_until([&] { return !IsWindow(a); }));
    pump();
    EXPECT_EQ(slots[0].closed, 1);
    EXPECT_EQ(focus_root(), main_window());

    // Asked again while its close function runs (a message box there lets WM_CLOSE through).
    HWND b = open(1, DLG_SMALL);
    ASSERT_TRUE(b);
    bool kept = false;
    slots[1].on_close = [&] {
        SendMessageA(b, WM_CLOSE, 0, 0);
        kept = IsWindow(b) && dialog_window() == b;
    };
    SendMessageA(b, WM_CLOSE, 0, 0);
    EXPECT_TRUE(kept) << "the dialog stays until its close function has returned";
    EXPECT_FALSE(IsWindow(b));
    EXPECT_EQ(slots[1].closed, 1);

    // The record is free again: the same handler opens a new dialog.
    HWND again = open(0);
    ASSERT_TRUE(again);
    EXPECT_EQ(slots[0].opened, 2);
    EXPECT_EQ(slots[0].closed, 1);
}

TEST_F(DialogTest, CloseAllClosesEveryDialogOnceHighestRecordFirst) {
    ASSERT_TRUE(open(0) && open(1, DLG_SMALL) && open(2, DLG_TINY));
    dialog_close_all();
    dialog_close_all();
    EXPECT_EQ(close_order, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(dialog_window(), main_window());
}

TEST_F(DialogTest, FocusReturnsToTheDialogCurrentAtOpening) {
    HWND a = open(0), b = nullptr, c = nullptr;
    slots[0].behaviour = [&](UINT message, WPARAM, LPARAM) {
        if (message == WM_APP + 1) b = open(1, DLG_SMALL);
        return 0;
    };
    slots[1].behaviour = [&](UINT message, WPARAM, LPARAM) {
        if (message == WM_APP + 1) c = open(2, DLG_TINY);
        return 0;
    };
    HWND other = open(3, DLG_TINY);
    SendMessageA(a, WM_APP + 1, 0, 0);
    ASSERT_TRUE(a && b && other);

    // Opened while a was current: its closing gives the focus back to a, not to the last active.
    SetFocus(other);
    PostMessageA(b, WM_CLOSE, 0, 0);
    ASSERT_TRUE(pump_until([&] { return !IsWindow(b); }));
    EXPECT_EQ(focus_root(), a);

    // A dialog opened from b passes to a when b closes, and b's closing focuses it.
    SendMessageA(a, WM_APP + 1, 0, 0);
    SendMessageA(b, WM_APP + 1, 0, 0);
    ASSERT_TRUE(b && c);
    SetFocus(other);
    PostMessageA(b, WM_CLOSE, 0, 0);
    ASSERT_TRUE(pump_until([&] { return !IsWindow(b); }));
    EXPECT_EQ(focus_root(), c);
    SetFocus(other);
    PostMessageA(c, WM_CLOSE, 0, 0);
    ASSERT_TRUE(pump_until([&] { return !IsWindow(c); }));
    EXPECT_EQ(focus_root(), a);
}

TEST_F(DialogTest, FocusGoesToTheLastActivatedDialogElseTheMainWindow) {
    HWND a = open(0), c = open(1, DLG_SMALL);
    ASSERT_TRUE(a && c);
    SetFocus(a);
    SetFocus(c);
    pump();
    PostMessageA(c, WM_CLOSE, 0, 0);
    ASSERT_TRUE(pump_until([&] { return !IsWindow(c); }));
    EXPECT_EQ(focus_root(), a);

    HWND d = open(2, DLG_TINY);
    ASSERT_TRUE(d);
    SetFocus(d);
    EnableWindow(a, FALSE);
    PostMessageA(d, WM_CLOSE, 0, 0);
    ASSERT_TRUE(pump_until([&] { return !IsWindow(d); }));
    EXPECT_EQ(focus_root(), main_window()) << "a disabled dialog gets no focus";

    EnableWindow(a, TRUE);
    PostMessageA(a, WM_CLOSE, 0, 0);
    ASSERT_TRUE(pump_until([&] { return !IsWindow(a); }));
    EXPECT_EQ(focus_root(), main_window());
}

TEST_F(DialogTest, HundredOpenDialogsWarnAndOpenNothing) {
    std::vector<HWND> opened;
    for (int n = 0; n < DLGSUP; n++) opened.push_back(open(n, DLG_TINY));
    for (HWND window : opened) ASSERT_TRUE(window);
    EXPECT_EQ(open(DLGSUP), nullptr);
    EXPECT_EQ(warnings,
              (std::vector<std::string>{"Sie haben bereits 100 Dialogboxen ge\366ffnet."}));
    EXPECT_EQ(slots[DLGSUP].opened, 0);
    EXPECT_EQ(visible_dialogs(), DLGSUP);

    PostMessageA(opened[50], WM_CLOSE, 0, 0);
    ASSERT_TRUE(pump_until([&] { return !IsWindow(opened[50]); }));
    EXPECT_TRUE(open(DLGSUP, DLG_TINY));
    EXPECT_EQ(warnings.size(), 1u);
}

TEST_F(DialogTest, MissingTemplateWarnsAndLeavesTheRecordFree) {
    EXPECT_EQ(open(0, DLG_MISSING), nullptr);
    EXPECT_EQ(warnings, (std::vector<std::string>{"Kann Dialogbox DB9999 nicht herstellen."}));
    EXPECT_EQ(slots[0].opened + slots[0].closed, 0);
    EXPECT_TRUE(IsWindowEnabled(main_window()));
    EXPECT_TRUE(open(0));
}

TEST_F(DialogTest, NestedCallsLeaveTheCurrentDialogAsItWas) {
    HWND a = open(0), b = open(1, DLG_SMALL);
    ASSERT_TRUE(a && b);
    std::vector<HWND> seen;
    messages_set_sink(MSG_WARN,
                      [](int, const char *) { SendMessageA(dialog_window(), WM_NULL, 0, 0); });
    slots[1].behaviour = [&](UINT message, WPARAM, LPARAM) {
        if (message != WM_APP + 2) return 0;
        seen.push_back(dialog_window());
        dialog_close_current();
        return 1;
    };
    run_in(a, [&] {
        seen.push_back(dialog_window());
        SendMessageA(b, WM_APP + 2, 0, 0);
        seen.push_back(dialog_window());
        msg_warn("nested");
        seen.push_back(dialog_window());
    });
    EXPECT_EQ(seen, (std::vector<HWND>{a, b, a, a}));
    EXPECT_EQ(dialog_window(), main_window());
    ASSERT_TRUE(pump_until([&] { return !IsWindow(b); })) << "the inner dialog closed";
    EXPECT_TRUE(IsWindow(a));
    EXPECT_EQ(slots[0].closed, 0);

    // Outside every handler, closing the current dialog closes nothing.
    dialog_close_current();
    pump();
    EXPECT_TRUE(IsWindow(a) && IsWindow(main_window()));
}

TEST_F(DialogTest, EnableAllSwitchesEveryWindowAndKeepsModalOwnersDisabled) {
    HWND a = open(0), b = open(1, DLG_SMALL), modal = nullptr;
    ASSERT_TRUE(a && b);
    dialog_enable_all(0);
    EXPECT_FALSE(IsWindowEnabled(main_window()) || IsWindowEnabled(a) || IsWindowEnabled(b));
    dialog_enable_all(2);
    EXPECT_TRUE(IsWindowEnabled(main_window()) && IsWindowEnabled(a) && IsWindowEnabled(b));

    run_in(a, [&] { modal = open(2, DLG_TINY, DLG_MODAL_CURRENT); });
    ASSERT_TRUE(modal);
    EXPECT_FALSE(IsWindowEnabled(a));
    dialog_enable_all(0);
    dialog_enable_all(2);
    EXPECT_FALSE(IsWindowEnabled(a)) << "the modal dialog's owner stays disabled";
    EXPECT_TRUE(IsWindowEnabled(main_window()) && IsWindowEnabled(b) && IsWindowEnabled(modal));
    dialog_enable_all(1);
    EXPECT_TRUE(IsWindowEnabled(a));
    EnableWindow(a, FALSE);

    SetFocus(b);
    PostMessageA(modal, WM_CLOSE, 0, 0);
    ASSERT_TRUE(pump_until([&] { return !IsWindow(modal); }));
    EXPECT_TRUE(IsWindowEnabled(a));
    EXPECT_EQ(focus_root(), a);
}

TEST_F(DialogTest, ActiveNameFollowsActivation) {
    char name[DLG_NAME_MAX + 1];
    HWND a = open(0), b = open(1, DLG_SMALL);
    ASSERT_TRUE(a && b);
    SetActiveWindow(a);
    dialog_active_name(name, sizeof name);
    EXPECT_STREQ(name, DLG_FULL);
    SetActiveWindow(b);
    dialog_active_name(name, sizeof name);
    EXPECT_STREQ(name, DLG_SMALL);
    dialog_active_name(name, 4);
    EXPECT_STREQ(name, "DB9");
    SetActiveWindow(main_window());
    dialog_active_name(name, sizeof name);
    EXPECT_STREQ(name, "");
}

TEST_F(DialogTest, TextAndCheckHelpersActOnTheCurrentDialog) {
    HWND a = open(0), b = open(1, DLG_SMALL);
    ASSERT_TRUE(a && b);
    run_in(b, [] { dlg_set_text(ID_TEST_EDIT, "andere"); });
    run_in(a, [&] {
        char buffer[DLG_FIELD_MAX + 1];
        EXPECT_EQ(dlg_set_text(ID_TEST_EDIT, "P4711"), 0);
        EXPECT_EQ(dlg_get_text(ID_TEST_EDIT, buffer, sizeof buffer), 5);
        EXPECT_STREQ(buffer, "P4711");
        EXPECT_EQ(dlg_get_text(ID_TEST_EDIT, buffer, 4), 3);
        EXPECT_STREQ(buffer, "P47");
        EXPECT_EQ((HGDIOBJ)SendDlgItemMessageA(a, ID_TEST_EDIT, WM_GETFONT, 0, 0),
                  frame_app()->font);

        dlg_set_text(ID_TEST_EDIT, std::string(100, 'x').c_str());
        const char *first = dlg_text(ID_TEST_EDIT);
        EXPECT_EQ(std::string(first), std::string(DLG_FIELD_MAX - 1, 'x'));
        for (int n = 1; n < 5; n++) EXPECT_NE(dlg_text(ID_TEST_EDIT), first);
        dlg_set_text(ID_TEST_EDIT, "neu");
        EXPECT_EQ(dlg_text(ID_TEST_EDIT), first) << "five areas rotate";
        EXPECT_STREQ(first, "neu");

        dlg_set_check(ID_TEST_CHECK, 1);
        EXPECT_EQ(dlg_get_check(ID_TEST_CHECK), 1);
        dlg_set_check(ID_TEST_CHECK, 0);
        EXPECT_EQ(dlg_get_check(ID_TEST_CHECK), 0);
        EXPECT_EQ(dlg_enable(ID_TEST_CHECK, 0), 0);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(a, ID_TEST_CHECK)));
        EXPECT_EQ(dlg_enable(999, 0), -1);
    });
    char other[DLG_FIELD_MAX + 1];
    GetDlgItemTextA(b, ID_TEST_EDIT, other, sizeof other);
    EXPECT_STREQ(other, "andere");
}

TEST_F(DialogTest, ListAndComboHelpers) {
    HWND a = open(0);
    ASSERT_TRUE(a);
    run_in(a, [&] {
        char buffer[10];
        dlg_list_reset(ID_TEST_LIST);
        EXPECT_EQ(dlg_list_add(ID_TEST_LIST, "eins"), 0);
        EXPECT_EQ(dlg_list_add(ID_TEST_LIST, "zwei"), 1);
        EXPECT_EQ(dlg_list_insert(ID_TEST_LIST, 0, "null"), 0);
        EXPECT_EQ(dlg_list_count(ID_TEST_LIST), 3);
        EXPECT_EQ(dlg_list_text(ID_TEST_LIST, 0, buffer, sizeof buffer), 4);
        EXPECT_STREQ(buffer, "null");
        dlg_list_select(ID_TEST_LIST, 2);
        EXPECT_EQ(dlg_list_current(ID_TEST_LIST), 2);
        EXPECT_EQ(dlg_list_delete(ID_TEST_LIST, 0), 2);
        EXPECT_EQ(dlg_list_add(ID_TEST_LIST, std::string(300, 'l').c_str()), 2);
        EXPECT_EQ(dlg_list_text(ID_TEST_LIST, 2, buffer, sizeof buffer), 9);
        EXPECT_STREQ(buffer, "lllllllll");
        EXPECT_EQ(dlg_list_text(ID_TEST_LIST, 7, buffer, sizeof buffer), -1);
        EXPECT_STREQ(buffer, "");
        EXPECT_EQ((HGDIOBJ)SendDlgItemMessageA(a, ID_TEST_LIST, WM_GETFONT, 0, 0),
                  frame_app()->font);

        HWND list = GetDlgItem(a, ID_TEST_LIST);
        UpdateWindow(list);
        dlg_list_redraw(ID_TEST_LIST, 0);
        dlg_list_add(ID_TEST_LIST, "leise");
        dlg_list_redraw(ID_TEST_LIST, 1);
        EXPECT_TRUE(GetUpdateRect(list, nullptr, FALSE));
        dlg_list_reset(ID_TEST_LIST);
        EXPECT_EQ(dlg_list_count(ID_TEST_LIST), 0);

        combo_reset(ID_TEST_COMBO);
        EXPECT_EQ(combo_add(ID_TEST_COMBO, "Projekt"), 0);
        EXPECT_EQ(combo_add(ID_TEST_COMBO, "Monat"), 1);
        combo_select(ID_TEST_COMBO, 1);
        EXPECT_EQ(combo_current(ID_TEST_COMBO), 1);
        combo_reset(ID_TEST_COMBO);
        EXPECT_EQ(combo_current(ID_TEST_COMBO), CB_ERR);
    });
}

TEST_F(DialogTest, CommandDecoders) {
    struct Case {
        int (*decode)(int, WPARAM);
        WPARAM wparam;
        int expected;
    };
    auto change = [](int item, WPARAM wparam) { return is_change(item, wparam); };
    const Case cases[] = {
        {is_list_event, MAKEWPARAM(ID_TEST_LIST, LBN_SELCHANGE), 2},
        {is_list_event, MAKEWPARAM(ID_TEST_LIST, LBN_DBLCLK), 3},
        {is_list_event, MAKEWPARAM(ID_TEST_LIST, LBN_SETFOCUS), 1},
        {is_list_event, MAKEWPARAM(ID_TEST_LIST, LBN_KILLFOCUS), 0},
        {is_list_event, MAKEWPARAM(ID_TEST_EDIT, LBN_DBLCLK), 0},
        {change, MAKEWPARAM(ID_TEST_LIST, EN_CHANGE), 1},
        {change, MAKEWPARAM(ID_TEST_LIST, EN_UPDATE), 0},
        {change, MAKEWPARAM(ID_TEST_EDIT, EN_CHANGE), 0},
        {is_combo_event, MAKEWPARAM(ID_TEST_LIST, CBN_SELCHANGE), 1},
        {is_combo_event, MAKEWPARAM(ID_TEST_LIST, CBN_DBLCLK), 1},
        {is_combo_event, MAKEWPARAM(ID_TEST_LIST, CBN_EDITCHANGE), 1},
        {is_combo_event, MAKEWPARAM(ID_TEST_LIST, CBN_SETFOCUS), 0},
        {is_combo_event, MAKEWPARAM(ID_TEST_EDIT, CBN_SELCHANGE), 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.decode(ID_TEST_LIST, c.wparam), c.expected) << std::hex << c.wparam;
}

TEST_F(DialogTest, ChangeOfAnEditCountsWithFocusOnlyWhenFocused) {
    std::vector<int> plain, focused;
    slots[0].behaviour = [&](UINT message, WPARAM wparam, LPARAM) {
        if (message == WM_COMMAND && HIWORD(wparam) == EN_CHANGE) {
            plain.push_back(is_change(ID_TEST_EDIT, wparam));
            focused.push_back(is_change(ID_TEST_EDIT, wparam, 1));
        }
        return 0;
    };
    HWND a = open(0);
    ASSERT_TRUE(a);
    SetFocus(GetDlgItem(a, ID_TEST_LIST));
    SetDlgItemTextA(a, ID_TEST_EDIT, "von aussen");
    SetFocus(GetDlgItem(a, ID_TEST_EDIT));
    SetDlgItemTextA(a, ID_TEST_EDIT, "getippt");
    EXPECT_EQ(plain, (std::vector<int>{1, 1}));
    EXPECT_EQ(focused, (std::vector<int>{0, 1}));
}

// Two dialogs side by side; the first one drags "P4711", the second one takes drops.
class DragTest : public DialogTest {
  protected:
    HWND source = nullptr, target = nullptr;
    std::vector<dialog_drag> dropped;
    std::vector<HWND> drop_current;
    int queries = 0;
    int kind = 3;

    void SetUp() override {
        DialogTest::SetUp();
        slots[0].behaviour = [this](UINT message, WPARAM wparam, LPARAM lparam) {
            if (message != WM_COMMAND || wparam != CMD_DRAG_QUERY) return 0;
            queries++;
            dialog_drag *record = (dialog_drag *)lparam;
            EXPECT_EQ(record->kind, -1);
            if (kind <= 0) return 0;
            record->source = dialog_window();
            record->kind = kind;
            record->value = 42;
            strcpy(record->text, "P4711");
            return 1;
        };
        slots[1].behaviour = [this](UINT message, WPARAM wparam, LPARAM lparam) {
            if (message != WM_COMMAND || wparam != CMD_DRAG_DROP) return 0;
            EXPECT_EQ(lparam, 0);
            dropped.push_back(*dialog_drag_record());
            drop_current.push_back(dialog_window());
            return 1;
        };
        source = open(0);
        target = open(1, DLG_SMALL);
        ASSERT_TRUE(source && target);
        SetWindowPos(source, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SetWindowPos(target, nullptr, 600, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        pump();
    }

    // A point of window's client area in the source's client coordinates.
    static LPARAM at(HWND from, HWND window, int x, int y) {
        POINT point = {x, y};
        ClientToScreen(window, &point);
        ScreenToClient(from, &point);
        return MAKELPARAM((short)point.x, (short)point.y);
    }
    void press_and_move(int dx) {
        SendMessageA(source, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        SendMessageA(source, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20 + dx, 20));
    }
};

TEST_F(DragTest, DropReachesTheDialogUnderTheMouse) {
    press_and_move(4);
    EXPECT_EQ(queries, 0) << "below five pixels nothing is dragged";
    SendMessageA(source, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 25));
    EXPECT_EQ(queries, 1);
    EXPECT_EQ(GetCapture(), source);
    EXPECT_EQ(GetCursor(), (HCURSOR)frame_app()->drag_cursor);

    SendMessageA(source, WM_LBUTTONUP, 0, at(source, target, 10, 10));
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0].source, source);
    EXPECT_EQ(dropped[0].kind, 3);
    EXPECT_EQ(dropped[0].value, 42);
    EXPECT_STREQ(dropped[0].text, "P4711");
    EXPECT_EQ(drop_current[0], target);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(GetCursor(), (HCURSOR)frame_app()->arrow_cursor);
    EXPECT_EQ(dialog_drag_record()->kind, 0);

    // Released over a control of the target: its parent takes the drop.
    press_and_move(10);
    POINT point = {0, 0};
    MapWindowPoints(GetDlgItem(target, ID_TEST_EDIT), target, &point, 1);
    SendMessageA(source, WM_LBUTTONUP, 0, at(source, target, point.x + 3, point.y + 3));
    EXPECT_EQ(dropped.size(), 2u);
}

TEST_F(DragTest, NoDropOnTheSourceNorWithoutAKind) {
    press_and_move(6);
    SendMessageA(source, WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
    EXPECT_TRUE(dropped.empty());
    EXPECT_EQ(GetCapture(), nullptr);

    // A handler that drags nothing: no capture, and further moves ask no more.
    kind = 0;
    press_and_move(8);
    EXPECT_EQ(queries, 2);
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessageA(source, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 40));
    EXPECT_EQ(queries, 2);
    SendMessageA(source, WM_LBUTTONUP, 0, at(source, target, 10, 10));
    EXPECT_TRUE(dropped.empty());

    // A move without the button ends an armed drag.
    kind = 3;
    SendMessageA(source, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageA(source, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    SendMessageA(source, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 20));
    EXPECT_EQ(queries, 2);
}

// The assertions end the program: each runs in a child process of this test program, whose
// standard error (the fatal sink's default) is read back.
struct Child {
    DWORD exit_code = 0;
    std::string output;
};

Child run_child(const char *scenario) {
    char path[MAX_PATH], temp[MAX_PATH], file[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    GetTempPathA(sizeof temp, temp);
    GetTempFileNameA(temp, "dlg", 0, file);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out =
        CreateFileA(file, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    std::string command = std::string("\"") + path + "\" --child " + scenario;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    PROCESS_INFORMATION process = {};
    Child child;
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &process)) {
        WaitForSingleObject(process.hProcess, 30000);
        GetExitCodeProcess(process.hProcess, &child.exit_code);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(out);
    HANDLE in = CreateFileA(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[4096];
    DWORD got = 0;
    ReadFile(in, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(in);
    DeleteFileA(file);
    for (DWORD n = 0; n < got; n++)
        if (buffer[n] != '\r') child.output += buffer[n];
    return child;
}

int child_scenario(const std::string &scenario) {
    if (scenario == "no-table") {
        fmalloc_inject_failures(1);
        dialog_startup();
        return 0;
    }
    frame_setup();
    // Wine ends window procedure recursion at 64 levels: the nesting calls the dialog's
    // procedure itself, each level entering the dialog once more.
    slots[0].behaviour = [](UINT message, WPARAM, LPARAM) {
        HWND window = dialog_window();
        DLGPROC procedure = (DLGPROC)GetWindowLongPtrA(window, DWLP_DLGPROC);
        if (message == WM_APP + 5) procedure(window, WM_APP + 5, 0, 0);
        return 0;
    };
    SendMessageA(open(0), WM_APP + 5, 0, 0);
    return 0;
}

TEST(DialogAssertions, EndTheProgramWithTheirTexts) {
    const struct {
        const char *scenario;
        const char *output;
    } cases[] = {
        {"overflow", "ASSERT ERROR\ndialog.196\n++idxtop < 2*DLGSUP\nDas Programm wird beendet.\n"},
        {"no-table", "ASSERT ERROR\ndialog.77\n(box=fmalloc( DLGSUP, sizeof(struct dlgbox))) != "
                     "NULL\nDas Programm wird beendet.\n"},
    };
    for (const auto &c : cases) {
        Child child = run_child(c.scenario);
        EXPECT_EQ(child.exit_code, 3u) << c.scenario;
        EXPECT_EQ(child.output, c.output) << c.scenario;
    }
}

// Without a window manager, Wine waits two seconds for every managed window it hides; the test
// windows of this program are left unmanaged (a setting Wine reads when the first window appears).
void unmanaged_under_wine() {
    char path[MAX_PATH], key[MAX_PATH + 64];
    GetModuleFileNameA(nullptr, path, sizeof path);
    const char *name = strrchr(path, '\\') ? strrchr(path, '\\') + 1 : path;
    snprintf(key, sizeof key, "Software\\Wine\\AppDefaults\\%s\\X11 Driver", name);
    RegSetKeyValueA(HKEY_CURRENT_USER, key, "Managed", REG_SZ, "N", 2);
}

} // namespace

int main(int argc, char **argv) {
    unmanaged_under_wine();
    if (argc > 2 && std::string(argv[1]) == "--child") return child_scenario(argv[2]);
    ::testing::InitGoogleTest(&argc, argv);
    frame_setup();
    int result = RUN_ALL_TESTS();
    dialog_close_all();
    dialog_shutdown();
    DestroyWindow(main_window());
    return result;
}
