// Palm database files: the builder's byte layout and limits, and a reader that stays inside the
// file and the caller's buffer whatever the file holds.
#include "handheld/pdb.h"
#include "frame/files.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

uint32_t number_at(const std::string &bytes, size_t at, int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; i++) value = value << 8 | (unsigned char)bytes[at + i];
    return value;
}

std::string build(const std::string &path, const std::vector<std::string> &records) {
    EXPECT_EQ(pdb_build_begin(), 0);
    for (const std::string &record : records) EXPECT_EQ(pdb_build_add(record.c_str()), 0);
    EXPECT_EQ(pdb_build_write(path.c_str()), 0);
    return read_file(path);
}

// A database file of the given header record count and list entries (offsets), then data.
std::string raw_database(unsigned count, const std::vector<uint32_t> &offsets,
                         const std::string &data) {
    std::string bytes(PDB_HEADER, '\0');
    bytes.replace(0, 3, "Raw");
    bytes[76] = (char)(count >> 8);
    bytes[77] = (char)count;
    for (uint32_t offset : offsets) {
        char entry[PDB_ENTRY] = {(char)(offset >> 24),
                                 (char)(offset >> 16),
                                 (char)(offset >> 8),
                                 (char)offset,
                                 0,
                                 0,
                                 0,
                                 0};
        bytes.append(entry, PDB_ENTRY);
    }
    return bytes + data;
}

struct Pdb : ::testing::Test {
    TempDir dir;
    void SetUp() override { set_now(2003, 6, 18, 14, 5); }
    void TearDown() override { pdb_close(); }
    int open(const std::string &bytes) {
        write_file(dir.file("test.pdb"), bytes);
        return pdb_open(dir.file("test.pdb").c_str());
    }
    // The record as text, or "<none>" (with an empty buffer) when it cannot be read.
    std::string record(int index, int size = 100) {
        std::vector<char> buffer(size, 'x');
        int got = pdb_read_record(index, buffer.data(), size);
        EXPECT_LT(got, size);
        if (got >= 0) return std::string(buffer.data());
        EXPECT_EQ(buffer[0], '\0');
        return "<none>";
    }
};

TEST_F(Pdb, LayoutOfThreeRecords) {
    std::string bytes = build(dir.file("Zeiten.PDB"), {"abcd", "123456789", "abcdef"});
    ASSERT_EQ(bytes.size(), 126u);
    EXPECT_EQ(bytes.substr(0, PDB_NAME), std::string("Zeiten") + std::string(26, '\0'));
    EXPECT_EQ(number_at(bytes, 32, 2), 8u); // backup flag
    EXPECT_EQ(number_at(bytes, 34, 2), 1u); // version
    EXPECT_EQ(number_at(bytes, 36, 4), 3138789900u);
    EXPECT_EQ(number_at(bytes, 40, 4), 3138789900u);
    EXPECT_EQ(number_at(bytes, 44, 4), 0u);
    EXPECT_EQ(number_at(bytes, 48, 4), 1u);
    EXPECT_EQ(bytes.substr(52, 8), std::string(8, '\0'));
    EXPECT_EQ(bytes.substr(60, 8), "DATAKvxr");
    EXPECT_EQ(bytes.substr(68, 8), std::string(8, '\0'));
    EXPECT_EQ(number_at(bytes, 76, 2), 3u);
    const uint32_t offsets[] = {104, 109, 119};
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(number_at(bytes, 78 + 8 * i, 4), offsets[i]);
        EXPECT_EQ(number_at(bytes, 82 + 8 * i, 4), (uint32_t)i); // attributes 0, id = index
    }
    EXPECT_EQ(bytes.substr(102, 2), std::string(2, '\0'));
    EXPECT_EQ(bytes.substr(104), std::string("abcd\0"
                                             "123456789\0"
                                             "abcdef\0",
                                             22));
}

TEST_F(Pdb, EmptyDatabaseIsHeaderAndTwoZeroBytes) {
    std::string bytes = build(dir.file("Projekte.PDB"), {});
    ASSERT_EQ(bytes.size(), 80u);
    EXPECT_EQ(bytes.substr(0, 9), std::string("Projekte\0", 9));
    EXPECT_EQ(number_at(bytes, 76, 4), 0u);
    EXPECT_EQ(pdb_open(dir.file("Projekte.PDB").c_str()), 0);
}

TEST_F(Pdb, NameIsTheFileNameWithoutExtensionCutTo31) {
    const struct {
        const char *file, *name;
    } cases[] = {
        {"Zeiten.PDB", "Zeiten"},
        {"Projekte.PDB", "Projekte"},
        {"a.b.c", "a.b"},
        {"ohne", "ohne"},
        {"Ein_sehr_langer_Datenbankname_mit_40_Zeichen.pdb", "Ein_sehr_langer_Datenbankname_m"},
    };
    for (const auto &c : cases) {
        std::string bytes = build(dir.file(c.file), {"x"});
        std::string name = std::string(c.name).substr(0, 31);
        EXPECT_EQ(bytes.substr(0, PDB_NAME), name + std::string(PDB_NAME - name.size(), '\0'))
            << c.file;
    }
}

TEST_F(Pdb, DatesCountLocalSecondsSince1904) {
    const struct {
        int year, month, day, hour, minute;
        uint32_t seconds;
        const char *text;
    } cases[] = {
        {1904, 1, 1, 0, 0, 0u, "1904-01-01 00:00:00"},
        {2003, 6, 18, 14, 5, 3138789900u, "2003-06-18 14:05:00"},
        {2024, 2, 29, 23, 59, 3792095940u, "2024-02-29 23:59:00"},
    };
    for (const auto &c : cases) {
        set_now(c.year, c.month, c.day, c.hour, c.minute);
        EXPECT_EQ(pdb_date_now(), c.seconds);
        char text[PDB_DATE_TEXT + 1];
        pdb_date_text(text, c.seconds);
        EXPECT_STREQ(text, c.text);
    }
}

// The builder keeps its limits: 10,000 records, no record begun at 59,000 bytes or more, 999
// characters a record. Each record left out is told to the caller.
TEST_F(Pdb, BuilderLimits) {
    ASSERT_EQ(pdb_build_begin(), 0);
    for (int i = 0; i < PDB_MAX_RECORDS; i++) ASSERT_EQ(pdb_build_add("r"), 0);
    EXPECT_EQ(pdb_build_add("r"), -1);
    ASSERT_EQ(pdb_build_write(dir.file("many.pdb").c_str()), 0);
    EXPECT_EQ(pdb_open(dir.file("many.pdb").c_str()), PDB_MAX_RECORDS);
    EXPECT_EQ(record(PDB_MAX_RECORDS - 1), "r");

    std::string long_text(1500, 'L');
    ASSERT_EQ(pdb_build_begin(), 0);
    for (int i = 0; i < 59; i++) ASSERT_EQ(pdb_build_add(long_text.c_str()), 0);
    EXPECT_EQ(pdb_build_add("x"), -1); // 59 x 1000 bytes: full
    ASSERT_EQ(pdb_build_write(dir.file("big.pdb").c_str()), 0);
    EXPECT_EQ(file_size(dir.file("big.pdb").c_str()), 80 + 8 * 59 + 59000);
    ASSERT_EQ(pdb_open(dir.file("big.pdb").c_str()), 59);
    EXPECT_EQ(record(58, 2000), long_text.substr(0, 999));

    EXPECT_EQ(pdb_build_add("x"), -1); // not begun
    EXPECT_EQ(pdb_build_write(dir.file("none.pdb").c_str()), -1);
    EXPECT_FALSE(file_there(dir.file("none.pdb")));
}

TEST_F(Pdb, WriteThatCannotCreateTheFileFails) {
    ASSERT_EQ(pdb_build_begin(), 0);
    pdb_build_add("x");
    EXPECT_EQ(pdb_build_write(dir.file("no/such/folder/x.pdb").c_str()), -1);
}

TEST_F(Pdb, ReadsRecordsBackCutToTheBuffer) {
    build(dir.file("t.pdb"), {"erster", "", "dritter Eintrag"});
    ASSERT_EQ(pdb_open(dir.file("t.pdb").c_str()), 3);
    EXPECT_STREQ(pdb_header_read()->name, "t");
    EXPECT_STREQ(pdb_header_read()->creator, "Kvxr");
    EXPECT_EQ(record(0), "erster");
    EXPECT_EQ(record(1), "");
    EXPECT_EQ(record(2), "dritter Eintrag"); // the last record ends at the file's end
    EXPECT_EQ(record(2, 8), "dritter");
    EXPECT_EQ(record(0, 1), "");
    EXPECT_EQ(record(3), "<none>");
    EXPECT_EQ(record(-1), "<none>");
    pdb_entry entry;
    ASSERT_EQ(pdb_record_entry(2, &entry), 0);
    EXPECT_EQ(entry.end - entry.offset, 16u);
}

TEST_F(Pdb, OpeningShortAndDamagedFiles) {
    EXPECT_EQ(pdb_open(dir.file("missing.pdb").c_str()), PDB_MISSING);
    EXPECT_EQ(open(std::string(77, '\0')), PDB_DAMAGED);
    EXPECT_EQ(open(raw_database(0, {}, "")), 0); // exactly 78 bytes
    // A record count whose list does not fit the file: the header cannot be trusted.
    EXPECT_EQ(open(raw_database(1, {}, "")), PDB_DAMAGED);
    EXPECT_EQ(open(raw_database(3, {94, 96}, "ab")), PDB_DAMAGED);
    EXPECT_EQ(open(raw_database(65535, {}, std::string(1000, 'x'))), PDB_DAMAGED);
}

// Offsets out of order, beyond the file or inside the header never make the reader leave the
// file: such records end at the file's end or are rejected.
TEST_F(Pdb, HostileOffsetsStayInsideTheFile) {
    const std::string data("eins\0zwei\0drei", 14); // data at 102..115
    ASSERT_EQ(open(raw_database(3, {107, 102, 112}, data)), 3);
    EXPECT_EQ(record(0), "zwei"); // next offset lies before it: up to the file's end
    EXPECT_EQ(record(1), "eins");
    EXPECT_EQ(record(2), "drei");
    ASSERT_EQ(open(raw_database(3, {102, 5000, 20}, data)), 3);
    EXPECT_EQ(record(0), "eins"); // next offset beyond the file
    EXPECT_EQ(record(1), "<none>");
    EXPECT_EQ(record(2), "<none>"); // inside the header
    ASSERT_EQ(open(raw_database(1, {86}, "")), 1);
    EXPECT_EQ(record(0), ""); // empty record at the very end
}

} // namespace
