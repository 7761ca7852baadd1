// The string table through text() and text_copy(), in the native table and the Windows resources.
#include "frame/texts.h"
#include "resources/text_ids.h"
#include <gtest/gtest.h>
#include <string>

TEST(Texts, TableTextsArriveByteForByte) {
    EXPECT_STREQ(text(TXT_DAY_NOT_CLOSED), "Tag %s hat keinen Abschluss.");
    EXPECT_STREQ(text(TXT_PAUSE_ENTRY), "---        Pause/Arbeitsende");
    // Windows-1252: the A umlaut is the single byte 0xC4; line breaks stay line feeds.
    EXPECT_STREQ(text(TXT_SAVE_CHANGES), "\xC4nderungen speichern?");
    EXPECT_STREQ(text(TXT_REGISTRY_NOT_SET), "Kann Registry-Eintrag nicht anlegen:\n%s %s");
    EXPECT_STREQ(text(31), "Alle Dateien|*.*|Textdateien|*.txt||");
}

TEST(Texts, MissingTextsHaveAFixedWording) {
    EXPECT_STREQ(text(999), "Text 999 fehlt.");
    char small[8];
    EXPECT_EQ(text_copy(999, small, sizeof small), 7);
    EXPECT_STREQ(small, "Text 99");
    char area[16];
    EXPECT_EQ(text_copy(TXT_JOURNAL_MISSING, area, sizeof area), 15);
    EXPECT_STREQ(area, "Zeitendatei feh");
}

TEST(Texts, RingOfTenAreas) {
    const char *first = text(TXT_MODE_PROJECT);
    std::string kept = first;
    for (int i = 0; i < 9; i++) EXPECT_NE(text(TXT_MODE_MONTH), first);
    EXPECT_STREQ(first, kept.c_str());
    // The eleventh call reuses the first area.
    EXPECT_EQ(text(TXT_MODE_WEEK), first);
    EXPECT_STREQ(first, "Woche");
    text_release();
    EXPECT_STREQ(text(TXT_SHORT_TITLE), "KX");
}
