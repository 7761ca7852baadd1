// The string table through text() and text_copy(), in the native table and the Windows resources.
#include "frame/texts.h"
#include "resources/text_ids.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

TEST(Texts, TableTextsArriveByteForByte) {
    EXPECT_STREQ(text(TXT_DAY_NOT_CLOSED), "Tag %s hat keinen Abschluss.");
    EXPECT_STREQ(text(TXT_PAUSE_ENTRY), "---        Pause/Arbeitsende");
    // Windows-1252: the A umlaut is the single byte 0xC4; line breaks stay line feeds.
    EXPECT_STREQ(text(TXT_SAVE_CHANGES), "\xC4nderungen speichern?");
    EXPECT_STREQ(text(TXT_REGISTRY_NOT_SET), "Kann Registry-Eintrag nicht anlegen:\n%s %s");
    EXPECT_STREQ(text(TXT_DIR_JOURNAL_FILTER), "Alle Dateien|*.*|Textdateien|*.txt||");
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

// Every named id of the list arrives with its own text, so a name never points at a gap.
TEST(Texts, EveryNamedIdHasItsText) {
    struct entry {
        int id;
        const char *name, *text;
    };
#define KX_STRING(name, id, s) {id, #name, s},
    const entry entries[] = {
#include "resources/strings.def"
    };
#undef KX_STRING
    for (const entry &e : entries) EXPECT_STREQ(text(e.id), e.text) << e.name;
}

// Code names the texts it shows: a number given to text() or text_copy() is the fault that
// silently shows "Text N fehlt." when the list changes.
TEST(Texts, CodeNamesItsTextIds) {
    const std::regex numbered("(^|[^A-Za-z0-9_])text(_copy)?\\s*\\(\\s*[0-9]");
    int files = 0;
    for (const char *folder : {"frame", "timerec", "handheld", "cli"}) {
        std::filesystem::path root = std::filesystem::path(KX_SOURCE_DIR) / folder;
        for (const auto &item : std::filesystem::recursive_directory_iterator(root)) {
            std::string extension = item.path().extension().string();
            if (extension != ".cpp" && extension != ".h") continue;
            std::ifstream file(item.path());
            std::stringstream content;
            content << file.rdbuf();
            std::string source = content.str();
            std::smatch found;
            EXPECT_FALSE(std::regex_search(source, found, numbered))
                << item.path() << ": " << found.str(0);
            files++;
        }
    }
    EXPECT_GT(files, 20);
}
