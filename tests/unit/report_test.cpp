// Copy texts grow with their content instead of being cut; the index that finds groups.
#include "timerec/report.h"
#include "timerec/group_index.h"
#include <stdio.h>
#include <string.h>
#include "tests/unit/report_fixture.h"

namespace {

TEST(ReportText, GrowsBeyondTheFirstBlockWithoutCutting) {
    report_text out;
    report_text_begin(&out, "wchtalk");
    std::string expected;
    for (int i = 0; i < 130; i++) {
        std::string line(997, (char)('a' + i % 26));
        report_text_line(&out, line.c_str());
        expected += line + "\r\n";
    }
    EXPECT_EQ(out.length, expected.size());
    EXPECT_GE(out.size, out.length + 1);
    EXPECT_EQ(taken(report_text_take(&out)), expected);
    EXPECT_EQ(out.text, nullptr);
}

TEST(ReportText, ABlockThatCannotBeHadEndsTheProgram) {
    report_text out;
    report_text_begin(&out, "stdetail");
    fmalloc_inject_failures(1);
    std::string large(60000, 'x');
    EXPECT_EXIT(report_text_add(&out, large.c_str()), ::testing::ExitedWithCode(3),
                "ASSERT ERROR\nstdetail\\..+\n\\(text=fmalloc\\(50,1000\\)\\) != NULL");
    fmalloc_inject_failures(0);
    ffree(report_text_take(&out));
}

} // namespace

namespace {

struct Names {
    std::vector<std::string> names;
    std::vector<name_key> keys;
};

bool same_name(int entry, const void *key, const void *list) {
    return name_key_equal(&((const Names *)list)->keys[entry], (const name_key *)key);
}

// The key of a name as the journal walk delivers it: padded with zeros to 16 bytes.
name_key key_of(const char *name) {
    char padded[sizeof(name_key)] = {};
    memcpy(padded, name, strnlen(name, sizeof padded - 1));
    name_key key;
    name_key_of_padded(&key, padded);
    return key;
}

// Every name filed in the index is found again, also when the table is crowded with names that
// differ in one character only, and no name that was not filed is found.
TEST(GroupIndex, FindsWhatWasFiledAndNothingElse) {
    group_index index;
    group_index_clear(&index);
    Names list;
    for (int i = 0; i < STASUP; i++) {
        char name[16];
        snprintf(name, sizeof name, "KD %04d Test %d", i, i % 7);
        name_key key = key_of(name);
        int free_slot = -1;
        ASSERT_EQ(group_index_find(&index, name_key_hash(&key), same_name, &key, &list, &free_slot),
                  -1);
        list.names.push_back(name);
        list.keys.push_back(key);
        group_index_put(&index, free_slot, i);
    }
    for (int i = 0; i < STASUP; i++) {
        int free_slot = -1;
        EXPECT_EQ(group_index_find(&index, name_key_hash(&list.keys[i]), same_name, &list.keys[i],
                                   &list, &free_slot),
                  i);
    }
    name_key other = key_of("KD 0001 Test 2");
    int free_slot = -1;
    EXPECT_EQ(group_index_find(&index, name_key_hash(&other), same_name, &other, &list, &free_slot),
              -1);
}

TEST(GroupIndex, NameKeysTellNamesApartByEveryByte) {
    name_key a = key_of("ABCDEFGHIJKLMNO"), b = key_of("ABCDEFGHIJKLMNP");
    EXPECT_FALSE(name_key_equal(&a, &b));
    b = key_of("");
    EXPECT_FALSE(name_key_equal(&a, &b));
    a = key_of("ABCDEFGH");
    b = key_of("ABCDEFGH ");
    EXPECT_FALSE(name_key_equal(&a, &b));
    b = key_of("ABCDEFGH");
    EXPECT_TRUE(name_key_equal(&a, &b));
}

} // namespace
