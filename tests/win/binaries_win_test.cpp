// What the built programs and libraries tell Windows about themselves: their version resources
// and the programs' application manifests, read back from the files as the system reads them.
#include "kx_version.h"

#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The binaries lie beside this test program.
std::wstring beside_test(const wchar_t *name) {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

std::wstring widen(const char *text) {
    wchar_t wide[64];
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 64);
    return wide;
}

struct version_info {
    std::vector<char> block;
    const VS_FIXEDFILEINFO *fixed = nullptr;

    std::wstring string(const wchar_t *name) const {
        wchar_t *value = nullptr;
        UINT length = 0;
        std::wstring path = std::wstring(L"\\StringFileInfo\\040704B0\\") + name;
        if (!VerQueryValueW(block.data(), path.c_str(), (void **)&value, &length) || !value)
            return L"(none)";
        return value;
    }
};

version_info read_version(const std::wstring &file) {
    version_info info;
    DWORD size = GetFileVersionInfoSizeW(file.c_str(), nullptr);
    if (size == 0) return info;
    info.block.resize(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, info.block.data())) return info;
    UINT length = 0;
    VerQueryValueW(info.block.data(), L"\\", (void **)&info.fixed, &length);
    return info;
}

// The activation context Windows makes of a program's manifest resource at its start.
HANDLE program_context(const std::wstring &file) {
    ACTCTXW request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = file.c_str();
    request.lpResourceName = MAKEINTRESOURCEW(1);
    return CreateActCtxW(&request);
}

std::wstring setting(HANDLE context, const wchar_t *name_space, const wchar_t *name) {
    wchar_t value[100] = L"";
    SIZE_T written = 0;
    if (!QueryActCtxSettingsW(0, context, name_space, name, value, 100, &written)) return L"(none)";
    return value;
}

// The compatibility information as current Windows (and Wine) return it: each element carries a
// maximum version tested after its type, which the mingw-w64 headers do not have yet.
struct compatibility_element {
    GUID id;
    ACTCTX_COMPATIBILITY_ELEMENT_TYPE type;
    ULONGLONG max_version_tested;
};
struct compatibility_information {
    DWORD count;
    compatibility_element elements[8];
};

std::vector<std::wstring> supported_systems(HANDLE context) {
    std::vector<std::wstring> ids;
    compatibility_information info = {};
    SIZE_T needed = 0;
    if (!QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, &info,
                      sizeof info, &needed))
        return ids;
    for (DWORD i = 0; i < info.count && i < 8; i++) {
        if (info.elements[i].type != ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS) continue;
        wchar_t id[40];
        StringFromGUID2(info.elements[i].id, id, 40);
        ids.push_back(id);
    }
    return ids;
}

DWORD run_level(HANDLE context) {
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION info = {};
    SIZE_T needed = 0;
    if (!QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &info,
                      sizeof info, &needed))
        return 0xFFFFFFFF;
    return info.RunLevel;
}

// The file of the common controls a program gets within the context.
std::wstring common_controls_file(HANDLE context) {
    ULONG_PTR cookie = 0;
    if (!ActivateActCtx(context, &cookie)) return L"(no context)";
    wchar_t path[MAX_PATH] = L"(not loaded)";
    if (HMODULE comctl = LoadLibraryW(L"comctl32.dll")) {
        GetModuleFileNameW(comctl, path, MAX_PATH);
        FreeLibrary(comctl);
    }
    DeactivateActCtx(0, cookie);
    CharLowerW(path);
    return path;
}

} // namespace

TEST(Binaries, VersionResourcesCarryTheBuildsVersion) {
    struct binary {
        const wchar_t *file;
        const wchar_t *description;
        DWORD type;
    };
    const binary binaries[] = {
        {L"kx.exe", L"Korvex Arbeitszeiterfassung", VFT_APP},
        {L"kxcli.exe", L"Korvex Befehlszeile", VFT_APP},
        {L"torkedit.dll", L"Korvex Eingabefeld", VFT_DLL},
        {L"torkshow.dll", L"Korvex Anzeigefeld", VFT_DLL},
        {L"torkdisp.dll", L"Korvex Grafikanzeige", VFT_DLL},
        {L"torkgrbu.dll", L"Korvex Bildschaltfl\u00e4che", VFT_DLL},
    };
    const DWORD version_ms = MAKELONG(KX_VERSION_MINOR, KX_VERSION_MAJOR);
    const DWORD version_ls = MAKELONG(0, KX_VERSION_PATCH);
    for (const binary &b : binaries) {
        SCOPED_TRACE(b.file);
        version_info info = read_version(beside_test(b.file));
        ASSERT_TRUE(info.fixed);
        EXPECT_EQ(info.fixed->dwFileVersionMS, version_ms);
        EXPECT_EQ(info.fixed->dwFileVersionLS, version_ls);
        EXPECT_EQ(info.fixed->dwProductVersionMS, version_ms);
        EXPECT_EQ(info.fixed->dwProductVersionLS, version_ls);
        EXPECT_EQ(info.fixed->dwFileType, b.type);
        EXPECT_EQ(info.string(L"FileDescription"), b.description);
        EXPECT_EQ(info.string(L"FileVersion"), widen(KX_VERSION_TEXT));
        EXPECT_EQ(info.string(L"ProductVersion"), widen(KX_VERSION_TEXT));
        EXPECT_EQ(info.string(L"ProductName"), L"Korvex");
        EXPECT_EQ(info.string(L"OriginalFilename"), b.file);
    }
}

// The manifests as the system's own parser takes them: a fault there makes Windows refuse to
// start the program, or silently ignore the setting.
TEST(Binaries, ProgramManifestsDeclareSystemsDpiStyleAndRights) {
    const std::vector<std::wstring> systems = {
        L"{8E0F7A12-BFB3-4FE8-B9A5-48FD50A15A9A}", // Windows 10 and 11
        L"{1F676C76-80E1-4239-95BB-83D0F6D0DA78}", // 8.1
        L"{4A2F28E3-53B9-4441-BA9C-D69D4A4A6E38}", // 8
        L"{35138B9A-5D96-4FBD-8E2D-A2440225F93A}", // 7
    };
    for (const wchar_t *file : {L"kx.exe", L"kxcli.exe"}) {
        SCOPED_TRACE(file);
        HANDLE context = program_context(beside_test(file));
        ASSERT_NE(context, INVALID_HANDLE_VALUE) << GetLastError();
        EXPECT_EQ(setting(context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                          L"dpiAwareness"),
                  L"PerMonitorV2, PerMonitor");
        EXPECT_EQ(
            setting(context, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"),
            L"true/pm");
        EXPECT_EQ(supported_systems(context), systems);
        EXPECT_EQ(run_level(context), (DWORD)ACTCTX_RUN_LEVEL_AS_INVOKER);
        // Common controls 6 live in their side-by-side assembly, not in the system folder.
        EXPECT_NE(common_controls_file(context).find(
                      L"_microsoft.windows.common-controls_6595b64144ccf1df_6."),
                  std::wstring::npos)
            << common_controls_file(context);
        ReleaseActCtx(context);
    }
}
