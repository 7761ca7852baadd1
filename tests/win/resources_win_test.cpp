// The program's resources as Windows loads them: the configuration bytes, menu, accelerators,
// strip bitmaps, icons, about box and the string table.
#include "resources/kx_ids.h"
#include "resources/text_ids.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string resource_bytes(const char *name, LPCSTR type) {
    HRSRC found = FindResourceA(nullptr, name, type);
    if (!found) return "";
    const char *data = (const char *)LockResource(LoadResource(nullptr, found));
    return std::string(data, SizeofResource(nullptr, found));
}

std::string menu_text(HMENU menu, UINT item, UINT by) {
    char text[80] = "";
    GetMenuStringA(menu, item, text, sizeof text, by);
    return text;
}

} // namespace

// Every entry followed by two NUL bytes, and a NUL where the next entry would begin.
TEST(Resources, ConfigurationBytes) {
    const char expected[] = "Class TORKKX\0\0Name Korvex\0\0SmallIcon SMALL_ICON\0\0Single 1\0\0"
                            "WPFile TORKKX.ini\0\0WPSection Global\0\0";
    EXPECT_EQ(resource_bytes(RES_CONFIG, RT_RCDATA), std::string(expected, sizeof expected));
}

TEST(Resources, MenuInOrder) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), RES_MENU);
    ASSERT_TRUE(menu);
    struct item {
        int popup;
        UINT id; // 0: separator
        const char *text;
    };
    const item items[] = {
        {0, CMD_TIMES, "&Zeiten..."},
        {0, CMD_PROJECTS, "&Projekte..."},
        {0, CMD_VERIFY,
         "Zeiten p&r\xfc"
         "fen..."},
        {0, 0, ""},
        {0, CMD_EXIT, "Be&enden\tStrg+X"},
        {1, CMD_STATISTICS, "&Statistik..."},
        {1, CMD_WEEKLY, "&Wochenbericht..."},
        {1, CMD_MONTH, "&Monatsbericht..."},
        {1, CMD_EXPORT, "&Export..."},
        {1, CMD_EXCHANGE, "&Abgleich..."},
        {1, 0, ""},
        {1, CMD_DAY, "&Tag bearbeiten..."},
        {1, CMD_UNDO, "&R\374ckg\344ngig\tStrg+Z"},
        {2, CMD_DIRECTORIES, "&Verzeichnisse..."},
        {2, CMD_OPTIONS, "&Optionen..."},
        {2, CMD_WORKTIME, "&Arbeitszeit..."},
        {2, CMD_PALM_SETTINGS, "&Palmtop..."},
        {3, CMD_HELP_CONTENTS, "&Inhalt..."},
        {3, CMD_ABOUT, "&Copyright..."},
    };
    const char *popups[] = {"&Datei", "&Bearbeiten", "&Einstellen", "&Hilfe"};
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    int position[4] = {};
    for (int p = 0; p < 4; p++) EXPECT_EQ(menu_text(menu, p, MF_BYPOSITION), popups[p]);
    for (const item &it : items) {
        HMENU popup = GetSubMenu(menu, it.popup);
        int at = position[it.popup]++;
        if (it.id == 0) {
            EXPECT_TRUE(GetMenuState(popup, at, MF_BYPOSITION) & MF_SEPARATOR);
            continue;
        }
        EXPECT_EQ(GetMenuItemID(popup, at), it.id) << it.text;
        EXPECT_EQ(menu_text(popup, at, MF_BYPOSITION), it.text);
    }
    for (int p = 0; p < 4; p++) EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, p)), position[p]);
    DestroyMenu(menu);
}

TEST(Resources, AcceleratorsCloseUndoAndHelp) {
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), RES_ACCEL);
    ASSERT_TRUE(table);
    ACCEL keys[4] = {};
    ASSERT_EQ(CopyAcceleratorTableA(table, keys, 4), 3);
    const struct {
        WORD key;
        bool virtual_key;
        WORD command;
    } expected[] = {
        {24, false, CMD_EXIT}, // Ctrl+X and Ctrl+Z as the characters they type
        {26, false, CMD_UNDO},
        {VK_F1, true, CMD_HELP_ACTIVE},
    };
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(keys[i].key, expected[i].key);
        EXPECT_EQ((keys[i].fVirt & FVIRTKEY) != 0, expected[i].virtual_key);
        EXPECT_EQ(keys[i].cmd, expected[i].command);
    }
}

// Sixteen colours, the sizes of the two strip heights, and the button face at the corners, so
// the pictures sit on the strip without a visible edge.
TEST(Resources, StripBitmaps) {
    struct bitmap {
        const char *name;
        int size;
    };
    const bitmap bitmaps[] = {
        {"BMPG_AUS", 25},    {"BMPG_EIN", 25},    {"BMPG_ANDERS", 25}, {"BMPG_OK", 20},
        {"BMPG_CANCEL", 20}, {"BMPK_AUS", 21},    {"BMPK_EIN", 21},    {"BMPK_ANDERS", 21},
        {"BMPK_OK", 15},     {"BMPK_CANCEL", 15},
    };
    for (const bitmap &b : bitmaps) {
        std::string bytes = resource_bytes(b.name, RT_BITMAP);
        ASSERT_GE(bytes.size(), sizeof(BITMAPINFOHEADER) + 64) << b.name;
        const BITMAPINFOHEADER *header = (const BITMAPINFOHEADER *)bytes.data();
        EXPECT_EQ(header->biWidth, b.size) << b.name;
        EXPECT_EQ(header->biHeight, b.size) << b.name;
        EXPECT_EQ(header->biBitCount, 4) << b.name;
        HBITMAP loaded = LoadBitmapA(GetModuleHandleA(nullptr), b.name);
        ASSERT_TRUE(loaded) << b.name;
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, loaded);
        EXPECT_EQ(GetPixel(dc, 0, 0), RGB(192, 192, 192)) << b.name;
        EXPECT_EQ(GetPixel(dc, b.size - 1, b.size - 1), RGB(192, 192, 192)) << b.name;
        EXPECT_NE(GetPixel(dc, b.size / 2, b.size / 2), RGB(192, 192, 192)) << b.name;
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(loaded);
    }
}

// By the names the configuration gives (winuser.h takes RES_ICON for a number of its own).
TEST(Resources, Icons) {
    HINSTANCE self = GetModuleHandleA(nullptr);
    EXPECT_TRUE(LoadImageA(self, "ANW_ICON", IMAGE_ICON, 32, 32, 0));
    EXPECT_TRUE(LoadImageA(self, "ANW_ICON", IMAGE_ICON, 16, 16, 0));
    EXPECT_TRUE(LoadImageA(self, "SMALL_ICON", IMAGE_ICON, 16, 16, 0));
}

TEST(Resources, AboutBox) {
    HWND box = CreateDialogParamA(
        GetModuleHandleA(nullptr), RES_ABOUT, nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_TRUE(box);
    char text[80] = "";
    GetDlgItemTextA(box, ID_ABOUT_NAME, text, sizeof text);
    EXPECT_STREQ(text, "Korvex");
    EXPECT_TRUE(GetDlgItem(box, IDOK));
    DestroyWindow(box);
}

// The string table comes with the resource script, byte for byte as the list has it.
TEST(Resources, StringTable) {
    struct entry {
        int id;
        const char *text;
    };
#define KX_STRING(name, id, s) {id, s},
    const entry entries[] = {
#include "resources/strings.def"
    };
#undef KX_STRING
    for (const entry &e : entries) {
        char text[501] = "";
        LoadStringA(GetModuleHandleA(nullptr), e.id, text, sizeof text);
        EXPECT_STREQ(text, e.text) << e.id;
    }
}
