// Helpers of the Windows tests of the control libraries: the libraries loaded into the test
// process, a parent window that records the notifications it gets, keys, the clipboard, and
// images of what a window shows next to references drawn with the same system calls.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A WM_COMMAND the parent received (sent or posted), with the sender's text when asked for.
struct Notice {
    WPARAM wparam;
    LPARAM lparam;
    std::string text;
};

// The parent of every test control: a visible top-level window clipping its children.
HWND test_parent();
std::vector<Notice> &notices();
// Reads the sending control's text (found by its identifier) when a notification has this code
// in the high word of wParam, after sending it command when one is given; -1 reads nothing.
void read_text_on(int code, const char *command = nullptr);

// A child of the test parent; each test's controls are placed below each other, since
// overlapping siblings would paint over each other.
HWND make_control(const char *class_name, const char *text, DWORD style, int width, int height,
                  int id = 100);

// Handles every message waiting for this thread.
void pump();
void set_keys(bool shift, bool ctrl, bool alt = false);
std::string text_of(HWND control, int size = 256);
void set_text(HWND control, const char *text);
void type_chars(HWND control, const char *characters);
LRESULT press_key(HWND control, int key);

struct Image {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[(size_t)y * width + x]; }
    bool operator==(const Image &other) const {
        return width == other.width && height == other.height && pixels == other.pixels;
    }
};
// What the window's client area shows once it has painted (without the blinking caret).
Image capture(HWND window);
// A reference of the same size drawn by paint into a memory device context.
Image render(int width, int height, const std::function<void(HDC)> &paint);
// The first pixel where two images differ, for failure messages ("" when equal).
std::string difference(const Image &shown, const Image &expected);
// The number of pixels of a rectangle that differ from colour.
int pixels_other_than(const Image &image, const RECT &rect, COLORREF colour);

// Average character width and height of a stock font.
SIZE font_size(int stock_font);

bool put_clipboard(const char *text);
std::string clipboard_text();

// Writes bytes into a file of the test's temporary folder (removed after the test); its path.
std::string temp_file(const char *name, const std::string &bytes);

// The fixture of every test: libraries loaded, no notices, no keys down, controls destroyed at
// the end.
#include <gtest/gtest.h>
class ControlTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
};
