// The registry helpers on a real registry (HKEY_CURRENT_USER of the test prefix), and the
// installation modes that use it and the program start: copies with the HotSync flag, and an
// installer started with the paths of the files.
#include "frame/path.h"
#include "frame/settings.h"
#include "frame/system.h"
#include "handheld/palm.h"
#include "tests/unit/cli_runner.h"
#include "tests/unit/test_support.h"
#include "timerec/directories.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <map>
#include <string>

namespace {

const char TEST_KEY[] = "Software\\Korvex Tests\\Values";

DWORD read_dword(const char *key, const char *name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return 0xFFFFFFFF;
    return value;
}

void set_text(HKEY key, const char *name, const std::string &text) {
    RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)text.c_str(), (DWORD)text.size() + 1);
}

void note_value(const char *name, const char *data, void *context) {
    (*(std::map<std::string, std::string> *)context)[name] = data;
}

struct Registry : ::testing::Test {
    HKEY key = nullptr;
    void SetUp() override {
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, TEST_KEY, 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        RegCloseKey(key);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Korvex Tests");
    }
};

TEST_F(Registry, DwordWrittenReadsBack) {
    ASSERT_TRUE(system_services_available());
    EXPECT_EQ(reg_write_dword(TEST_KEY, "Install6", 1), 0);
    EXPECT_EQ(read_dword(TEST_KEY, "Install6"), 1u);
    EXPECT_EQ(reg_write_dword("Software\\Korvex Tests\\Missing", "Install6", 1), -1);
}

TEST_F(Registry, TextValuesArriveCutTo80) {
    set_text(key, "LastUserName", "Mueller");
    set_text(key, "Long", std::string(200, 'l'));
    char out[REG_TEXT_MAX + 1];
    EXPECT_EQ(reg_read_string(TEST_KEY, "LastUserName", out), 0);
    EXPECT_STREQ(out, "Mueller");
    EXPECT_EQ(reg_read_string(TEST_KEY, "Long", out), 0);
    EXPECT_EQ(std::string(out), std::string(REG_TEXT_MAX, 'l'));
    EXPECT_EQ(reg_read_string(TEST_KEY, "Missing", out), -1);
    EXPECT_STREQ(out, "");
}

TEST_F(Registry, EnumeratesNamesAndTextData) {
    set_text(key, "Install1", "a");
    set_text(key, std::string(100, 'N').c_str(), std::string(5000, 'd'));
    DWORD number = 7;
    RegSetValueExA(key, "Install2", 0, REG_DWORD, (const BYTE *)&number, sizeof number);
    std::map<std::string, std::string> values;
    EXPECT_EQ(reg_enum_values(TEST_KEY, note_value, &values), 1);
    EXPECT_EQ(values, (std::map<std::string, std::string>{
                          {"Install1", "a"}, {"Install2", ""}, {std::string(80, 'N'), ""}}));
    values.clear();
    EXPECT_EQ(reg_enum_values("Software\\Korvex Tests\\Missing", note_value, &values), 0);
    EXPECT_TRUE(values.empty());
}

struct Install : ::testing::Test {
    TempDir dir;
    MessageRecorder messages;
    std::string saved_dir;
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\U.S. Robotics");
        settings_set_file(dir.file("TORKKX.ini").c_str());
        char here[PATH_MAX_TEXT + 1];
        current_dir(here, sizeof here);
        saved_dir = here;
        change_dir(dir.path.c_str());
        write_file(dir.file("Zeiten.PDB"), "times");
        write_file(dir.file("korvex.prc"), "program");
    }
    void TearDown() override {
        change_dir(saved_dir.c_str());
        settings_set_file("");
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\U.S. Robotics");
    }
    // Installation mode 2 into a fresh install folder (returned), flag value "Install6".
    std::string use_desktop_three() {
        std::string install = dir.file("install/");
        make_dir(install.c_str());
        settings_write_int(SETTINGS_SECTION, "UsePalm", PALM_DESKTOP_3);
        settings_write(SETTINGS_SECTION, "PalmIns", install.c_str());
        settings_write(SETTINGS_SECTION, "PalmReg", "Install6");
        return install;
    }
    void create_hotsync_key() {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, PALM_HOTSYNC_KEY, 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
};

TEST_F(Install, DesktopThreeCopiesAndSetsTheHotSyncFlag) {
    std::string install = use_desktop_three();

    // Without the HotSync key the flag cannot be set: message 53, the copy is still done.
    EXPECT_EQ(palm_install(1, 0, 0), -1);
    EXPECT_EQ(read_file(install + "Zeiten.PDB"), "times");
    EXPECT_EQ(messages.warnings,
              std::vector<std::string>{"Kann Registry-Eintrag nicht anlegen:\n" +
                                       std::string(PALM_HOTSYNC_KEY) + " Install6"});

    create_hotsync_key();
    EXPECT_EQ(palm_install(0, 0, 1), 0);
    EXPECT_EQ(read_file(install + "korvex.prc"), "program");
    EXPECT_EQ(read_dword(PALM_HOTSYNC_KEY, "Install6"), 1u);
    EXPECT_EQ(messages.warnings.size(), 1u);
}

TEST_F(Install, KxcliInstallsWithDesktopThree) {
    std::string install = use_desktop_three();
    create_hotsync_key();
    CliResult result = run_kxcli("--ini \"" + dir.file("TORKKX.ini") + "\" palm install --times");
    EXPECT_EQ(result.exit, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(read_file(install + "Zeiten.PDB"), "times");
    EXPECT_EQ(read_dword(PALM_HOTSYNC_KEY, "Install6"), 1u);
}

TEST_F(Install, DesktopFourStartsTheInstallerWithThePaths) {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string installer = program;
    installer = installer.substr(0, installer.find_last_of("\\/") + 1) + "record_command_line.exe";
    std::string record = dir.file("command line.txt");
    SetEnvironmentVariableA("KX_RECORD_FILE", record.c_str());
    SetEnvironmentVariableA("KX_RECORD_EVENT", "KorvexTestInstallerDone");
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, "KorvexTestInstallerDone");
    ASSERT_TRUE(done);

    settings_write_int(SETTINGS_SECTION, "UsePalm", PALM_DESKTOP_4);
    settings_write(SETTINGS_SECTION, "Palm4QI", installer.c_str());
    EXPECT_EQ(palm_install(1, 0, 1), 0);
    ASSERT_EQ(WaitForSingleObject(done, 20000), WAIT_OBJECT_0);
    CloseHandle(done);

    char folder[PATH_MAX_TEXT + 1];
    current_dir(folder, sizeof folder);
    std::string source = std::string(folder) + "\\";
    std::string expected = installer + " " + source + "Zeiten.PDB  " + source + "korvex.prc";
    path_backslashes(&expected[0]);
    EXPECT_EQ(read_file(record), expected);
    EXPECT_TRUE(messages.warnings.empty());
}

TEST_F(Install, DesktopFourSaysWhenTheInstallerCannotStart) {
    settings_write_int(SETTINGS_SECTION, "UsePalm", PALM_DESKTOP_4);
    settings_write(SETTINGS_SECTION, "Palm4QI", "C:\\Nirgends\\QuickInstall.exe");
    EXPECT_EQ(palm_install(1, 0, 0), -1);
    ASSERT_EQ(messages.warnings.size(), 1u);
    EXPECT_EQ(messages.warnings[0].rfind("Kann Programm nicht starten:\nC:\\Nirgends", 0), 0u);
}

} // namespace
