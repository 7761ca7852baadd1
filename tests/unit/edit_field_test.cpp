// The masked edit field without its window: creation texts, typing in both modes, keys,
// selections, clipboard text, focus changes, deferred values and the canonical value.
#include "controls/edit/control_styles.h"
#include "controls/edit/edit_field.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>

namespace {

const number_seps GERMAN = {',', '.'};
enum { CHAR_WIDTH = 8, CHAR_HEIGHT = 16 };

struct Field {
    edit_record r = {};
    explicit Field(const char *creation, int cells = 10, uint32_t style = 0) {
        r.head.width = 2 * FIELD_MARGIN + cells * CHAR_WIDTH;
        r.head.height = 24;
        r.head.style = style;
        field_metrics(&r.head, CHAR_WIDTH, CHAR_HEIGHT, EDIT_CELLS_MAX);
        edit_create(&r, creation, &GERMAN);
    }
    std::string text() const { return r.text; }
    int type(const char *characters) {
        int flags = 0;
        for (const char *c = characters; *c; c++) flags |= edit_char(&r, (unsigned char)*c);
        return flags;
    }
    int key(int code, int shift = 0, int ctrl = 0) {
        int clipboard;
        return edit_key(&r, code, shift, ctrl, &clipboard);
    }
    int clipboard_of(int code, int shift = 0, int ctrl = 0) {
        int clipboard;
        edit_key(&r, code, shift, ctrl, &clipboard);
        return clipboard;
    }
    std::string value(int size = 256) const {
        char out[256];
        memset(out, 'G', sizeof out);
        out[255] = 0;
        edit_get_value(&r, out, size, &GERMAN);
        return out;
    }
    void set(const char *value, int shift = 0) { edit_set_value(&r, value, shift, &GERMAN); }
    void focus() { edit_focus_enter(&r, &GERMAN); }
    void unfocus() {
        edit_focus_exit(&r, &GERMAN);
        edit_apply_pending(&r, &GERMAN);
    }
};

TEST(EditField, CreationTextsGiveTypeModeAndText) {
    struct creation_case {
        const char *creation;
        char type;
        int free_entry;
        const char *text;
    } cases[] = {
        {"", 'T', 1, ""},
        {"F##-##", 'F', 0, "00-00"},
        {"F####-##-##", 'F', 0, "0000-00-00"},
        {"D", 'D', 0, "00.00.0000"},
        {"H", 'H', 0, "00:00"},
        {"F=##:##", 'F', 0, "00:00"},
        {"F$$#", 'F', 0, "  0"},
        {"2", '2', 1, "0,00"}, // stripped of its blanks: at the left edge
        {"0=1234", '0', 1, "1.234"},
        {"T=Hallo", 'T', 1, "Hallo"},
        {"N", '9', 1, "0"},
        {"Z", 'Z', 1, ""},
    };
    for (const creation_case &c : cases) {
        Field field(c.creation);
        EXPECT_EQ(field.r.type, c.type) << c.creation;
        EXPECT_EQ(field.r.free_entry, c.free_entry) << c.creation;
        EXPECT_EQ(field.text(), c.text) << c.creation;
        EXPECT_EQ(field.r.anchor, -1);
    }
    EXPECT_STREQ(Field("F=##:##").r.mask, "##:##");
    EXPECT_EQ(Field("N").r.auto_decimals, 1);
}

TEST(EditField, CellsFollowSizeAndFont) {
    Field field("T", 10);
    EXPECT_EQ(field.r.head.cells, 10);
    EXPECT_EQ(field.r.head.text_top, 4);
    field.r.head.width = 8 + CHAR_WIDTH - 1;
    field_metrics(&field.r.head, CHAR_WIDTH, CHAR_HEIGHT, EDIT_CELLS_MAX);
    EXPECT_EQ(field.r.head.cells, 0);
    field.r.head.width = 5000;
    field_metrics(&field.r.head, CHAR_WIDTH, CHAR_HEIGHT, EDIT_CELLS_MAX);
    EXPECT_EQ(field.r.head.cells, EDIT_CELLS_MAX);
    field_metrics(&field.r.head, 0, 0,
                  EDIT_CELLS_MAX); // a font without width must not divide by zero
    EXPECT_EQ(field.r.head.cells, EDIT_CELLS_MAX);
    field.r.head.height = 7;
    field_metrics(&field.r.head, CHAR_WIDTH, CHAR_HEIGHT, EDIT_CELLS_MAX);
    EXPECT_EQ(field.r.head.text_top, -4); // truncated toward zero
}

TEST(EditField, MaskTypingSkipsLiteralsAndKeepsRefusedCells) {
    Field field("F##-##", 5);
    EXPECT_EQ(field.type("1234"), EDIT_ACCEPTED | EDIT_REPAINT);
    EXPECT_EQ(field.text(), "12-34");
    EXPECT_EQ(field.r.caret, 5);

    field.r.caret = 0;
    EXPECT_EQ(field.type("x"), EDIT_ACCEPTED | EDIT_REPAINT); // refused by the cell, still accepted
    EXPECT_EQ(field.text(), "12-34");
    EXPECT_EQ(field.r.caret, 1);
    field.r.caret = 2; // on the literal: nothing stored, caret to the next digit cell
    field.type("9");
    EXPECT_EQ(field.text(), "12-34");
    EXPECT_EQ(field.r.caret, 3);
    EXPECT_EQ(field.type("\x07"), 0); // not printable: not accepted
    Field any("F$$", 3);
    any.type("a");
    EXPECT_EQ(any.text(), "a  ");
}

TEST(EditField, MaskKeysMoveOnlyTheCaret) {
    Field field("F##-##", 5);
    field.r.caret = 3;
    EXPECT_EQ(field.key(EDIT_KEY_BACK), EDIT_ACCEPTED | EDIT_REPAINT);
    EXPECT_EQ(field.r.caret, 2);
    EXPECT_EQ(field.text(), "00-00");
    field.r.caret = 0;
    EXPECT_EQ(field.key(EDIT_KEY_BACK), EDIT_ACCEPTED | EDIT_REPAINT); // also at cell 0
    EXPECT_EQ(field.key(EDIT_KEY_DELETE), 0);                          // not accepted
    EXPECT_EQ(field.text(), "00-00");
    EXPECT_EQ(field.key(EDIT_KEY_END), 0);
    EXPECT_EQ(field.r.caret, 5);
    EXPECT_EQ(field.key(EDIT_KEY_RIGHT, 1), 0); // no selection in mask mode
    EXPECT_EQ(field.r.anchor, -1);
}

TEST(EditField, InsertModeTypesTheCharactersItsTypeTakes) {
    struct take_case {
        const char *creation;
        const char *typed;
        const char *text;
    } cases[] = {
        {"Z", "1-.a2", "12"},
        {"0", "-1.2", "-12"},
        {"2", "1,5.x", "1,5."},
        {"T", "a\x7f\x80\xa0\xff", "a\xa0\xff"}, // 127 to 159 are not printable
    };
    for (const take_case &c : cases) {
        Field field(c.creation, 10);
        field.r.text[0] = 0;
        field.type(c.typed);
        EXPECT_EQ(field.text(), std::string(c.text) + std::string(10 - strlen(c.text), ' '))
            << c.creation;
    }
}

TEST(EditField, FullFieldRefusesCharactersButAcceptsThem) {
    Field field("T", 5);
    field.type("abcde");
    EXPECT_EQ(field.type("f"), EDIT_ACCEPTED | EDIT_REPAINT);
    EXPECT_EQ(field.text(), "abcde");
    field.r.caret = 1;
    field.r.text[4] = ' ';
    field.type("X");
    EXPECT_EQ(field.text(), "aXbcd");
    EXPECT_EQ(field.r.caret, 2);
}

TEST(EditField, ArrowsHomeEndAndSelections) {
    Field field("T=abc", 8);
    field.focus(); // whole value selected
    EXPECT_EQ(field.r.caret, 3);
    EXPECT_EQ(field.r.anchor, 0);
    EXPECT_EQ(field.key(EDIT_KEY_RIGHT), EDIT_REPAINT); // drops the selection
    EXPECT_EQ(field.r.caret, 3);                        // not beyond the value
    EXPECT_EQ(field.r.anchor, -1);
    field.key(EDIT_KEY_HOME);
    field.key(EDIT_KEY_RIGHT, 1);
    field.key(EDIT_KEY_DOWN, 1);
    int lo, hi;
    ASSERT_TRUE(edit_selection(&field.r, &lo, &hi));
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 2);
    char selected[8];
    EXPECT_EQ(edit_selection_text(&field.r, selected, sizeof selected), 2);
    EXPECT_STREQ(selected, "ab");
    field.key(EDIT_KEY_BACK);
    EXPECT_EQ(field.text(), "c       ");
    EXPECT_EQ(field.r.caret, 0);
    field.key(EDIT_KEY_LEFT);
    EXPECT_EQ(field.r.caret, 0);
    field.key(EDIT_KEY_DELETE);
    EXPECT_EQ(field.text(), "        ");
    EXPECT_EQ(field.key(EDIT_KEY_DELETE), EDIT_ACCEPTED | EDIT_REPAINT); // also at the end
    EXPECT_EQ(field.key(EDIT_KEY_BACK), EDIT_ACCEPTED | EDIT_REPAINT);   // also at cell 0
}

TEST(EditField, ClipboardKeys) {
    Field field("T", 8);
    EXPECT_EQ(field.clipboard_of('C', 0, 1), EDIT_CLIP_COPY);
    EXPECT_EQ(field.clipboard_of(0x63, 0, 1), EDIT_CLIP_COPY);
    EXPECT_EQ(field.clipboard_of('v', 0, 1), EDIT_CLIP_PASTE);
    EXPECT_EQ(field.clipboard_of('X', 0, 1), EDIT_CLIP_CUT);
    EXPECT_EQ(field.clipboard_of(EDIT_KEY_INSERT, 1, 1), EDIT_CLIP_PASTE); // Shift wins
    EXPECT_EQ(field.clipboard_of(EDIT_KEY_INSERT, 0, 1), EDIT_CLIP_COPY);
    EXPECT_EQ(field.clipboard_of(EDIT_KEY_DELETE, 1), EDIT_CLIP_CUT);
    EXPECT_EQ(field.key('C', 0, 1), 0);                            // copy is no edit
    EXPECT_EQ(field.key('X', 0, 1), EDIT_ACCEPTED | EDIT_REPAINT); // cut is, without selection too
    EXPECT_EQ(field.key('C'), -1);                                 // without Ctrl: not a key
    EXPECT_EQ(field.key(0x70), -1);
    EXPECT_EQ(field.key(EDIT_KEY_INSERT), 0);
}

TEST(EditField, PastePushesCellsRightAndKeepsOneLine) {
    Field mask("F##-##", 5);
    edit_paste(&mask.r, "9");
    EXPECT_EQ(mask.text(), "900-0"); // the literal moves too
    EXPECT_EQ(mask.r.caret, 0);

    Field text("T=xyz", 6);
    text.r.caret = 1;
    edit_paste(&text.r, "ab\tc\r\nsecond line");
    EXPECT_EQ(text.text(), "xab cy");
    text.r.caret = 6;
    edit_paste(&text.r, "more");
    EXPECT_EQ(text.text(), "xab cy");
}

TEST(EditField, NumberFocusEntryAndExit) {
    Field field("2", 10);
    field.set("1234.5");
    EXPECT_EQ(field.text(), "  1.234,50");
    EXPECT_EQ(field.value(), "   1234.50");
    field.focus();
    EXPECT_EQ(field.text(), "1234,50   ");
    EXPECT_EQ(field.r.caret, 7);
    EXPECT_EQ(field.r.anchor, 0);
    EXPECT_EQ(field.value(), "   1234.50");
    field.type("9"); // replaces the selection
    EXPECT_EQ(field.value(), "      9.00");
    field.unfocus();
    EXPECT_EQ(field.text(), "      9,00");
    EXPECT_EQ(field.r.caret, 0);
    EXPECT_EQ(field.r.anchor, -1);
    EXPECT_EQ(field.r.edit_state, 0);
}

TEST(EditField, SettingAValueWhileFocusedPlacesTheCaret) {
    Field field("T", 8);
    field.focus();
    field.set("abc");
    EXPECT_EQ(field.r.caret, 3);
    EXPECT_EQ(field.r.anchor, -1);
    field.r.caret = 1;
    field.set("abcd", 1); // Shift down: the selection grows from the old caret
    EXPECT_EQ(field.r.anchor, 1);
    EXPECT_EQ(field.r.caret, 4);
    Field mask("D", 10);
    mask.focus();
    mask.r.caret = 4;
    mask.set("01.05.2003");
    EXPECT_EQ(mask.text(), "01.05.2003");
    EXPECT_EQ(mask.r.caret, 0);
}

TEST(EditField, DeferredValueWaitsForTheFocusToGo) {
    Field field("T", 8, TS_DEFER);
    field.focus();
    field.set("first"); // nothing typed yet: shown at once
    EXPECT_EQ(field.text(), "first   ");
    field.type("!");
    EXPECT_EQ(field.r.edit_state, 1);
    field.set("second");
    field.set("third"); // the last one wins
    EXPECT_EQ(field.r.edit_state, 2);
    EXPECT_EQ(field.value(), "first!");
    edit_focus_exit(&field.r, &GERMAN);
    EXPECT_EQ(field.value(), "first!"); // what the parent sees at EN_KILLFOCUS
    EXPECT_EQ(edit_apply_pending(&field.r, &GERMAN), 1);
    EXPECT_EQ(field.value(), "third");
    EXPECT_EQ(field.r.edit_state, 0);

    Field plain("T", 8); // without TS_DEFER a value replaces the user's at once
    plain.focus();
    plain.type("x");
    plain.set("y");
    EXPECT_EQ(plain.value(), "y");
    EXPECT_EQ(plain.r.edit_state, 1);
}

TEST(EditField, AutomaticDecimalsFollowEachValue) {
    Field field("N", 10);
    field.set("12.345");
    EXPECT_EQ(field.r.type, '3');
    EXPECT_EQ(field.text(), "    12,345");
    field.set("7");
    EXPECT_EQ(field.r.type, '0');
    EXPECT_EQ(field.text(), "         7");
    field.set("1.1234567");
    EXPECT_EQ(field.r.type, '5');
}

TEST(EditField, CanonicalValueIsCutToBufferAndCells) {
    Field field("T", 10);
    field.set("abcdefghij");
    EXPECT_EQ(field.value(5), "abcd");
    EXPECT_EQ(field.value(0), std::string(255, 'G')); // nothing written
    Field date("d", 12);
    date.set("01.05.2003");
    EXPECT_EQ(date.value(), "2003-05-01");
    Field short_date("d", 4);
    short_date.set("01.0");
    EXPECT_EQ(short_date.value(), ""); // positions beyond the text count as blanks
}

TEST(EditField, EscapeCommandsChangeColoursStyleAndType) {
    Field field("T", 10, 0x50000000);
    EXPECT_EQ(edit_escape(&field.r, "\x1bH255 0 0"), 1);
    EXPECT_EQ(field.r.head.background, 0x0000FFu);
    edit_escape(&field.r, "\x1bV256 -1 1");
    EXPECT_EQ(field.r.head.text_colour, 0x01FF00u);
    edit_escape(&field.r, "\x1bH0 0 0");
    EXPECT_EQ(field.r.head.background, 0u);
    edit_escape(&field.r, "\x1bS3");
    EXPECT_EQ(field.r.head.style, 0x50000003u);
    edit_escape(&field.r, "\x1bS511");
    EXPECT_EQ(field.r.head.style, 0x500001FFu);
    EXPECT_EQ(edit_escape(&field.r, "\x1bT  F##-## "), 0);
    EXPECT_EQ(field.r.type, 'F');
    EXPECT_STREQ(field.r.mask, "##-##");
    EXPECT_EQ(field.r.free_entry, 0);
    EXPECT_EQ(field.text(), ""); // the caller sends a value afterwards
    edit_escape(&field.r, "\x1bTN");
    EXPECT_EQ(field.r.type, '9');
    EXPECT_EQ(field.r.auto_decimals, 1);
    EXPECT_EQ(field.r.free_entry, 1);
    EXPECT_EQ(edit_escape(&field.r, "\x1bQ1 2 3"), 0);
    EXPECT_EQ(edit_escape(&field.r, "\x1b"), 0);
}

TEST(EditField, MouseCellAndDoubleClick) {
    Field field("T=abc", 8);
    EXPECT_EQ(edit_cell_at(&field.r, 4 + 8 + 7), 1);
    EXPECT_EQ(edit_cell_at(&field.r, 200), 3); // not beyond the value
    edit_place_caret(&field.r, edit_cell_at(&field.r, -30), 0);
    EXPECT_EQ(field.r.caret, 0);
    EXPECT_EQ(edit_select_all(&field.r), EDIT_REPAINT);
    EXPECT_EQ(field.r.anchor, 0);
    EXPECT_EQ(field.r.caret, 3);
    Field mask("H", 5);
    EXPECT_EQ(edit_select_all(&mask.r), 0);
    EXPECT_EQ(mask.r.anchor, -1);
}

TEST(EditField, BlankZeroHidesOnlyUnfocusedZeros) {
    Field field("2", 10, TS_BLANKZERO);
    field.set("0");
    EXPECT_TRUE(edit_value_hidden(&field.r));
    field.focus();
    EXPECT_FALSE(edit_value_hidden(&field.r));
    field.unfocus();
    field.set("0.01");
    EXPECT_FALSE(edit_value_hidden(&field.r));
    Field plain("2", 10);
    EXPECT_FALSE(edit_value_hidden(&plain.r));
}

TEST(EditField, SizeChangeCutsTextAndKeepsCaretInside) {
    Field field("T=abcdefgh", 10);
    field.focus();
    field.r.head.width = 2 * FIELD_MARGIN + 4 * CHAR_WIDTH;
    field_metrics(&field.r.head, CHAR_WIDTH, CHAR_HEIGHT, EDIT_CELLS_MAX);
    edit_cut_to_cells(&field.r);
    EXPECT_EQ(field.text(), "abcd");
    EXPECT_EQ(field.r.caret, 4);
    field.key(EDIT_KEY_END);
    field.type("x"); // full: refused
    EXPECT_EQ(field.text(), "abcd");
}

} // namespace
