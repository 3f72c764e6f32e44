// Modules by Windows name, and file versions from the manifest.
#include "win/system.h"

#include "pal/binaries.h"
#include "pal/path.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/system_hooks.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class Modules : public pal::test::SandboxTest {
protected:
    void TearDown() override {
        pal::test::useVersionManifest({});
        SandboxTest::TearDown();
    }

    // The version block's fixed information for a file, or nothing with the last error.
    static std::optional<VS_FIXEDFILEINFO> versionOf(const std::wstring& file) {
        DWORD handle = 1;
        const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
        EXPECT_EQ(handle, 0u);
        if (size == 0)
            return std::nullopt;
        std::vector<BYTE> block(size);
        EXPECT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, block.data()));
        void* fixed = nullptr;
        UINT length = 0;
        EXPECT_TRUE(VerQueryValueW(block.data(), L"\\", &fixed, &length));
        EXPECT_EQ(length, sizeof(VS_FIXEDFILEINFO));
        return *static_cast<VS_FIXEDFILEINFO*>(fixed);
    }

    static std::wstring wide(const fs::path& p) { return pal::path::fromNative(p); }
};

std::array<DWORD, 4> parts(const VS_FIXEDFILEINFO& v) {
    return {HIWORD(v.dwFileVersionMS), LOWORD(v.dwFileVersionMS), HIWORD(v.dwFileVersionLS),
            LOWORD(v.dwFileVersionLS)};
}

using DvTestAnswer = int (*)();

TEST_F(Modules, WindowsNamesMapToProgramFilesByOneRule) {
    EXPECT_EQ(pal::binaries::nativeName(L"DV2DAnnotate.dll"), "DV2DAnnotate.so");
    EXPECT_EQ(pal::binaries::nativeName(L"DravikMail.EXE"), "DravikMail");
    EXPECT_EQ(pal::binaries::nativeName(L"notes.txt"), "notes.txt");
    EXPECT_EQ(pal::binaries::nativeName(L"C:\\Tools\\x.dll"), pal::path::toNative(L"C:\\Tools\\x.so"));
}

TEST_F(Modules, LoadsByWindowsNameAndCountsLoads) {
    HMODULE module = LoadLibraryW(L"dvpal_test_module.dll");
    ASSERT_NE(module, nullptr);
    // Names are the platform's: any case, and a bare name means a library.
    EXPECT_EQ(LoadLibraryW(L"DVPAL_TEST_MODULE.DLL"), module);
    EXPECT_EQ(LoadLibraryExW(L"dvpal_test_module", nullptr, 0), module);
    EXPECT_EQ(GetModuleHandleW(L"dvpal_test_module.dll"), module);

    auto answer = reinterpret_cast<DvTestAnswer>(GetProcAddress(module, "dvTestAnswer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(GetProcAddress(module, "noSuchFunction"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);

    wchar_t file[4096];
    ASSERT_GT(GetModuleFileNameW(module, file, 4096), 0u);
    EXPECT_EQ(fs::path(file), binDir() / "dvpal_test_module.so");
    ASSERT_GT(GetModuleFileNameW(GetModuleHandleW(nullptr), file, 4096), 0u);
    EXPECT_EQ(fs::path(file).filename(), "dvpal_system_tests");

    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_TRUE(FreeLibrary(module)); // the third load
    EXPECT_EQ(GetModuleHandleW(L"dvpal_test_module.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

TEST_F(Modules, MissingAndBrokenModulesFailWithThePlatformsErrors) {
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(L"DVNoSuchModule.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(LoadLibraryW(L"C:\\Nowhere\\x.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);

    std::ofstream(pal::folders::system() / "broken.so") << "not a module";
    EXPECT_EQ(LoadLibraryW(L"broken.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_BAD_EXE_FORMAT);
}

TEST_F(Modules, SystemSearchLooksOnlyInTheSystemFolder) {
    // The program folder's module is not a system module.
    EXPECT_EQ(LoadLibraryExW(L"dvpal_test_module.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);

    fs::copy_file(binDir() / "dvpal_test_module.so", pal::folders::system() / "mapi32.so",
                  fs::copy_options::overwrite_existing);
    HMODULE module = LoadLibraryExW(L"mapi32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    ASSERT_NE(module, nullptr);
    EXPECT_NE(GetProcAddress(module, "dvTestAnswer"), nullptr);
    EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(Modules, VersionComesFromTheManifestBesideTheBinaries) {
    const auto v = versionOf(L"dvpal_test_module.dll");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->dwSignature, VS_FFI_SIGNATURE);
    EXPECT_EQ(parts(*v), (std::array<DWORD, 4>{1, 2, 3, 4}));
    EXPECT_EQ(v->dwFileType, VFT_DLL);

    EXPECT_FALSE(versionOf(L"DravikNothing.dll"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    // A file the manifest does not list has no version block.
    EXPECT_FALSE(versionOf(L"dvpal_system_tests.exe"));
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
    void* fixed = nullptr;
    UINT length = 0;
    BYTE junk[64] = {};
    EXPECT_FALSE(VerQueryValueW(junk, L"\\", &fixed, &length));
}

TEST_F(Modules, ARewrittenManifestGivesAWrongVersion) {
    // A copy of the program folder with its own manifest, as the build writes it.
    const fs::path folder = root() / "drive_c" / "Program";
    fs::create_directories(folder);
    fs::copy_file(binDir() / "dvpal_test_module.so", folder / "dvpal_test_module.so");
    std::ofstream(folder / pal::binaries::kManifestName)
        << "# rewritten by a test\ndvpal_test_module.so 18.0.20.0\n";
    const auto v = versionOf(L"C:\\Program\\dvpal_test_module.dll");
    ASSERT_TRUE(v);
    EXPECT_EQ(parts(*v), (std::array<DWORD, 4>{18, 0, 20, 0}));

    // A line that is not four numbers is no version.
    std::ofstream(folder / pal::binaries::kManifestName) << "dvpal_test_module.so 18.0.x.0\n";
    EXPECT_FALSE(versionOf(L"C:\\Program\\dvpal_test_module.dll"));

    // Or a manifest asked first, for a module found by name in the program folder.
    writeFile("versions.txt", "dvpal_test_module.so 9.8.7.6\n");
    pal::test::useVersionManifest(root() / "versions.txt");
    const auto over = versionOf(L"dvpal_test_module.dll");
    ASSERT_TRUE(over);
    EXPECT_EQ(parts(*over), (std::array<DWORD, 4>{9, 8, 7, 6}));
}

} // namespace
