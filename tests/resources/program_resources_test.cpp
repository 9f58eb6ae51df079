// What Windows reads from each built program before running it or showing
// it in Explorer: the version information (Properties > Details), the icon
// group, and the manifest. Read from the .exe files as Windows reads them,
// through the version and resource calls, never by parsing the file.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct Program {
    const char* name;         // also the test's suffix
    const char* path;         // as CMake built it, a host path
    const char* description;  // FileDescription
    const char* icon_group;   // the group Explorer shows: the first one
    bool per_monitor_dpi;
};

const Program kPrograms[] = {
    {"songdesk", SONGDESK_EXE,
     "Songbook desk: the songs, the performance list, the song viewer and printing",
     "LOOKUP_SONG", true},
    {"songserv", SONGSERV_EXE,
     "Songbook server: the stage view and the song page for the local network", "SONGSERV",
     false},
    {"songtool", SONGTOOL_EXE,
     "Songbook tool: imports ChordPro files and chord sheets, exports ChordPro, checks the "
     "songbook",
     "SONGTOOL", false},
};

// Explorer's icon sizes, from the small list view to the large tiles.
const std::vector<int> kIconSizes = {16, 24, 32, 48, 256};

// Built on the host: under Wine its folders are on drive Z:.
std::string windows_path(std::string path) {
    if (!path.empty() && path.front() == '/') {
        std::replace(path.begin(), path.end(), '/', '\\');
        path = "Z:" + path;
    }
    return path;
}

std::string file_name(const std::string& path) {
    return path.substr(path.find_last_of("\\/") + 1);
}

// The numbers of "major.minor.patch[.tweak]", the project's version as
// CMake states it, with the missing ones 0.
std::vector<unsigned> version_numbers(const char* text) {
    unsigned n[4] = {0, 0, 0, 0};
    std::sscanf(text, "%u.%u.%u.%u", &n[0], &n[1], &n[2], &n[3]);
    return {n[0], n[1], n[2], n[3]};
}

// The row's name in test names and messages.
void PrintTo(const Program& program, std::ostream* out) { *out << program.name; }

class ProgramResources : public testing::TestWithParam<Program> {
protected:
    std::string path() const { return windows_path(GetParam().path); }
};

// One string of the version information, in the language and code page that
// its translation table names first, as Explorer looks it up.
std::string version_string(const std::vector<char>& info, const char* key) {
    struct Translation {
        WORD language;
        WORD code_page;
    };
    Translation* translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &size) ||
        size < sizeof(Translation)) {
        return "(no translation table)";
    }
    char query[80];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", translation->language,
                  translation->code_page, key);
    char* value = nullptr;
    if (!VerQueryValueA(info.data(), query, reinterpret_cast<void**>(&value), &size)) {
        return std::string("(no ") + key + ")";
    }
    return value;
}

TEST_P(ProgramResources, VersionInformationNamesTheProgramAndTheProjectVersion) {
    const Program& program = GetParam();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path().c_str(), &handle);
    ASSERT_GT(size, 0u) << path() << " has no version information";
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path().c_str(), 0, size, info.data()));

    EXPECT_EQ(version_string(info, "ProductName"), "Songbook");
    EXPECT_EQ(version_string(info, "FileDescription"), program.description);
    EXPECT_EQ(version_string(info, "FileVersion"), SONGBOOK_VERSION);
    EXPECT_EQ(version_string(info, "ProductVersion"), SONGBOOK_VERSION);
    EXPECT_EQ(version_string(info, "InternalName"), program.name);
    EXPECT_EQ(version_string(info, "OriginalFilename"), file_name(program.path));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixed_size = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixed_size));
    ASSERT_GE(fixed_size, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const std::vector<unsigned> v = version_numbers(SONGBOOK_VERSION);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), v[0]);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), v[1]);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), v[2]);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), v[3]);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

// The program's resources, loaded as data: nothing of it runs.
class ResourceFile {
public:
    explicit ResourceFile(const std::string& path)
        : module_(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ResourceFile() {
        if (module_) FreeLibrary(module_);
    }
    ResourceFile(const ResourceFile&) = delete;
    ResourceFile& operator=(const ResourceFile&) = delete;

    HMODULE module() const { return module_; }
    // The bytes of one resource; empty when it is missing.
    std::string bytes(LPCSTR name, LPCSTR type) const {
        HRSRC found = FindResourceA(module_, name, type);
        if (!found) return {};
        HGLOBAL loaded = LoadResource(module_, found);
        const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
        return data ? std::string(data, SizeofResource(module_, found)) : std::string();
    }

private:
    HMODULE module_;
};

BOOL CALLBACK first_name(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    *reinterpret_cast<std::string*>(found) =
        IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name)) : name;
    return FALSE;
}

#pragma pack(push, 2)
struct GroupIconEntry {  // GRPICONDIRENTRY, as the group resource stores it
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_P(ProgramResources, IconGroupHoldsEverySizeAndEachImageLoads) {
    const Program& program = GetParam();
    ResourceFile file(path());
    ASSERT_TRUE(file.module()) << "cannot load " << path() << " as data";
    std::string first;
    EnumResourceNamesA(file.module(), RT_GROUP_ICON, first_name,
                       reinterpret_cast<LONG_PTR>(&first));
    EXPECT_EQ(first, program.icon_group) << "Explorer shows the first icon group";

    const std::string group = file.bytes(program.icon_group, RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u) << "no icon group " << program.icon_group;
    WORD header[3];  // reserved, type (1: icons), count
    std::memcpy(header, group.data(), sizeof header);
    EXPECT_EQ(header[1], 1);
    ASSERT_EQ(group.size(), 6 + header[2] * sizeof(GroupIconEntry));

    std::vector<int> sizes;
    for (WORD i = 0; i < header[2]; ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
        const int width = entry.width ? entry.width : 256;  // 0 stands for 256
        const int height = entry.height ? entry.height : 256;
        SCOPED_TRACE("the " + std::to_string(width) + "-pixel image");
        EXPECT_EQ(width, height);
        EXPECT_EQ(entry.bits, 32) << "full colour with an alpha channel";
        sizes.push_back(width);

        // The image itself: as large as the group says, and one that
        // Windows can make an icon of (the 256-pixel one is a PNG).
        std::string image = file.bytes(MAKEINTRESOURCEA(entry.id), RT_ICON);
        ASSERT_EQ(image.size(), entry.bytes);
        HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(image.data()),
                                              static_cast<DWORD>(image.size()), TRUE, 0x00030000,
                                              width, height, LR_DEFAULTCOLOR);
        EXPECT_TRUE(icon) << "Windows cannot read it";
        if (icon) DestroyIcon(icon);
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, kIconSizes);
}

// A setting of the manifest's windowsSettings as Windows reads it, in the
// namespace that Windows looks in for it; empty when the manifest has none
// (or puts it in another namespace, which Windows ignores without a word).
std::wstring manifest_setting(HANDLE context, const wchar_t* space, const wchar_t* name) {
    using QuerySettings = BOOL(WINAPI*)(DWORD, HANDLE, const wchar_t*, const wchar_t*, wchar_t*,
                                        SIZE_T, SIZE_T*);
    const auto query = reinterpret_cast<QuerySettings>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryActCtxSettingsW")));
    wchar_t value[128] = L"";
    SIZE_T written = 0;
    if (!query || !query(0, context, space, name, value, 128, &written)) return {};
    return value;
}

TEST_P(ProgramResources, ManifestAsksForCommonControls6AndWindowsAcceptsIt) {
    const Program& program = GetParam();
    std::string manifest;
    {
        ResourceFile file(path());
        ASSERT_TRUE(file.module()) << "cannot load " << path() << " as data";
        manifest = file.bytes(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    }
    ASSERT_FALSE(manifest.empty()) << "no manifest, resource 1";
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\""), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    // Windows 7, 8, 8.1 and 10 (which 11 shares): without its entry a
    // Windows treats the program as one written before it.
    for (const char* os : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
        EXPECT_NE(manifest.find("<supportedOS Id=\"" + std::string(os) + "\"/>"), std::string::npos) << os;
    }

    // The activation context that Windows makes from it when the program
    // starts: a manifest that does not parse, or whose dependency cannot be
    // found, stops the program before its first line runs.
    ACTCTXA request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    const std::string source = path();
    request.lpSource = source.c_str();
    request.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE context = CreateActCtxA(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << "Windows refuses the manifest, error "
                                             << GetLastError();
    const std::wstring awareness = manifest_setting(
        context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness");
    const std::wstring aware = manifest_setting(
        context, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware");
    ReleaseActCtx(context);
    if (program.per_monitor_dpi) {
        EXPECT_EQ(awareness, L"PerMonitorV2, PerMonitor");
        EXPECT_EQ(aware, L"true/pm");
    } else {
        // Console programs draw nothing of their own to scale.
        EXPECT_EQ(awareness, L"");
        EXPECT_EQ(aware, L"");
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramResources, testing::ValuesIn(kPrograms),
                         [](const testing::TestParamInfo<Program>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
