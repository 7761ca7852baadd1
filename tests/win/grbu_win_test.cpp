// The graphic button in its window: click, press and leave, the picture in its face and what
// happens to the face when pictures are replaced or the button grows.
#include "win_support.h"

#include <gtest/gtest.h>

namespace {

enum { ID = 400 };
const COLORREF LIGHT = RGB(192, 192, 192), WHITE = RGB(255, 255, 255), BLACK = RGB(0, 0, 0);

HBITMAP solid_bitmap(int width, int height, COLORREF colour) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// Hands the button a picture and deletes it at once, as the sender may.
LRESULT hand_picture(HWND button, int width, int height, COLORREF colour, ULONG_PTR kind = 1) {
    HBITMAP bitmap = solid_bitmap(width, height, colour);
    COPYDATASTRUCT data = {kind, sizeof bitmap, &bitmap};
    LRESULT result = SendMessageA(button, WM_COPYDATA, 0, (LPARAM)&data);
    DeleteObject(bitmap);
    return result;
}

bool raised(const Image &image) {
    return image.at(0, 0) == WHITE && image.at(image.width - 1, image.height - 1) == BLACK &&
           image.at(1, image.height - 1) == BLACK && image.at(0, image.height - 1) == WHITE;
}

bool sunken(const Image &image) {
    return image.at(0, 0) == BLACK && image.at(image.width - 1, image.height - 1) == WHITE &&
           image.at(0, image.height - 2) == BLACK;
}

using ButtonControl = ControlTest;

TEST_F(ButtonControl, ClickSendsOneCommand) {
    HWND button = make_control("TORKGRBU", "", 0, 40, 20, ID);
    EXPECT_TRUE(raised(capture(button)));
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(sunken(capture(button)));
    EXPECT_TRUE(notices().empty());
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(notices().size(), 1u);
    EXPECT_EQ(notices()[0].wparam, MAKEWPARAM(ID, BN_CLICKED));
    EXPECT_EQ(notices()[0].lparam, (LPARAM)button);
    EXPECT_TRUE(raised(capture(button)));
    EXPECT_NE(GetFocus(), button);
    EXPECT_EQ(SendMessageA(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON);
}

TEST_F(ButtonControl, PressLeaveAndReleaseElsewhereSendsNothing) {
    HWND button = make_control("TORKGRBU", "", 0, 40, 20, ID);
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(39, 5));
    EXPECT_TRUE(sunken(capture(button))); // released outside: stays down
    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    EXPECT_TRUE(raised(capture(button)));
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(20, 10)); // a release without a press
    EXPECT_TRUE(notices().empty());
}

TEST_F(ButtonControl, PictureIsCentredAndOutlivesTheSendersBitmap) {
    HWND button = make_control("TORKGRBU", "", 0, 40, 20, ID);
    EXPECT_EQ(hand_picture(button, 16, 16, RGB(0, 0, 255)), 1);
    Image image = capture(button);
    EXPECT_EQ(image.at(12, 2), RGB(0, 0, 255));
    EXPECT_EQ(image.at(27, 17), RGB(0, 0, 255));
    EXPECT_EQ(image.at(11, 2), LIGHT);
    EXPECT_EQ(image.at(28, 17), LIGHT);
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(capture(button).at(12, 2), RGB(0, 0, 255)); // the picture does not move
    EXPECT_EQ(hand_picture(button, 4, 4, RGB(255, 0, 0), 2), 1);
    EXPECT_EQ(capture(button).at(19, 9), RGB(0, 0, 255)); // other data: nothing changes
}

TEST_F(ButtonControl, NewPictureReplacesTheWholeFace) {
    HWND button = make_control("TORKGRBU", "", 0, 40, 20, ID);
    hand_picture(button, 38, 18, RGB(255, 0, 0));
    hand_picture(button, 2, 2, RGB(0, 128, 0));
    Image image = capture(button);
    RECT face = {1, 1, 39, 19};
    EXPECT_EQ(pixels_other_than(image, face, LIGHT), 4);
    EXPECT_EQ(image.at(19, 9), RGB(0, 128, 0));
}

TEST_F(ButtonControl, GrownButtonCentresItsFace) {
    HWND button = make_control("TORKGRBU", "", 0, 40, 20, ID);
    hand_picture(button, 38, 18, RGB(255, 0, 0));
    SetWindowPos(button, nullptr, 0, 0, 60, 30, SWP_NOMOVE | SWP_NOZORDER);
    InvalidateRect(button, nullptr, FALSE);
    Image image = capture(button);
    EXPECT_TRUE(raised(image));
    EXPECT_EQ(image.at(11, 6), RGB(255, 0, 0)); // the face at (1 + 10, 1 + 5)
    EXPECT_EQ(image.at(48, 23), RGB(255, 0, 0));
    EXPECT_EQ(image.at(10, 6), LIGHT);
    EXPECT_EQ(image.at(49, 23), LIGHT);
    SetWindowPos(button, nullptr, 0, 0, 20, 10, SWP_NOMOVE | SWP_NOZORDER);
    image = capture(button);
    EXPECT_TRUE(raised(image)); // a shrunk button keeps its frame over the face
    EXPECT_EQ(image.at(10, 5), RGB(255, 0, 0));
}

TEST_F(ButtonControl, InertWithoutItsRecord) {
    HWND button = make_control("TORKGRBU", "", 0, 40, 20, ID);
    LONG_PTR record = GetWindowLongPtrA(button, 0);
    SetWindowLongPtrA(button, 0, 0);
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(button, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(hand_picture(button, 4, 4, RGB(255, 0, 0)), 1);
    EXPECT_TRUE(notices().empty());
    SetWindowLongPtrA(button, 0, record);
}

// A face wider than any bitmap the system makes: the button still clicks and paints its frame.
TEST_F(ButtonControl, WithoutAFaceItStillClicks) {
    HWND button = make_control("TORKGRBU", "", 0, 0x8000002, 20, ID);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(hand_picture(button, 4, 4, RGB(255, 0, 0)), 1);
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(button, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(notices().size(), 1u);
    capture(button);
}

TEST_F(ButtonControl, TinyButtonHasNoFace) {
    HWND button = make_control("TORKGRBU", "", 0, 2, 2, ID);
    EXPECT_EQ(hand_picture(button, 4, 4, RGB(255, 0, 0)), 1);
    Image image = capture(button);
    EXPECT_EQ(image.at(0, 0), WHITE);
    EXPECT_EQ(image.at(1, 1), BLACK);
}

} // namespace
