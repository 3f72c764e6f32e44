// shlwapi's path functions, as tables.
#include "win/system.h"

#include "pal/test/sandbox_test.h"
#include "pal/text.h"

namespace {

using Paths = pal::test::SandboxTest;

std::string u8(const wchar_t* s) {
    return s ? pal::text::toUtf8(s) : "<null>";
}

TEST_F(Paths, Predicates) {
    struct Case {
        const wchar_t* path;
        BOOL relative, url, network;
    };
    const Case cases[] = {
        {L"C:\\a\\b.txt", FALSE, FALSE, FALSE},
        {L"c:/a", FALSE, FALSE, FALSE},
        {L"a\\b", TRUE, FALSE, FALSE},
        {L"..\\a", TRUE, FALSE, FALSE},
        {L"\\a", FALSE, FALSE, FALSE},
        {L"/usr/share", FALSE, FALSE, FALSE},
        {L"\\\\server\\share\\x", FALSE, FALSE, TRUE},
        {L"https://example.com/support", TRUE, TRUE, FALSE},
        {L"mailto:support@example.com", TRUE, TRUE, FALSE},
        {L"file:///C:/a.txt", TRUE, TRUE, FALSE},
        {L"www.example.com", TRUE, FALSE, FALSE},
        {L"", TRUE, FALSE, FALSE},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathIsRelativeW(c.path), c.relative) << u8(c.path);
        EXPECT_EQ(PathIsURLW(c.path), c.url) << u8(c.path);
        EXPECT_EQ(PathIsNetworkPathW(c.path), c.network) << u8(c.path);
    }
    EXPECT_FALSE(PathIsURLW(nullptr));
    EXPECT_FALSE(PathFileExistsW(L"C:\\nothing"));
    writeFile("drive_c/there.txt", "x");
    EXPECT_TRUE(PathFileExistsW(L"C:\\there.txt"));
    EXPECT_TRUE(PathFileExistsW(L"C:\\"));
    EXPECT_FALSE(PathIsDirectoryW(L"C:\\there.txt"));
}

TEST_F(Paths, FileNameAndExtension) {
    struct Case {
        const wchar_t* path;
        const wchar_t* name;
        const wchar_t* extension;
    };
    const Case cases[] = {
        {L"C:\\a\\b.txt", L"b.txt", L".txt"},
        {L"C:/a/b.tar.gz", L"b.tar.gz", L".gz"},
        {L"C:\\a.dir\\file", L"file", L""},
        {L"C:\\a\\", L"a\\", L""},
        {L"name", L"name", L""},
        {L"C:name.x", L"name.x", L".x"},
        {L"C:\\a\\.hidden", L".hidden", L".hidden"},
        {L"C:\\a\\b.my ext", L"b.my ext", L""},
        {L"", L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(PathFindFileNameW(c.path), c.name) << u8(c.path);
        EXPECT_STREQ(PathFindExtensionW(c.path), c.extension) << u8(c.path);
    }
    wchar_t p[MAX_PATH] = L"C:\\a\\report.txt";
    EXPECT_TRUE(PathRenameExtensionW(p, L".bak"));
    EXPECT_STREQ(p, L"C:\\a\\report.bak");
    PathRemoveExtensionW(p);
    EXPECT_STREQ(p, L"C:\\a\\report");
    EXPECT_TRUE(PathRenameExtensionW(p, L".xml"));
    EXPECT_STREQ(p, L"C:\\a\\report.xml");
    EXPECT_FALSE(PathRenameExtensionW(p, std::wstring(MAX_PATH, L'x').c_str()));
}

TEST_F(Paths, CombineAppendAndRemove) {
    struct Case {
        const wchar_t* folder;
        const wchar_t* file;
        const wchar_t* combined;
        const wchar_t* appended;
    };
    const Case cases[] = {
        {L"C:\\a", L"b.txt", L"C:\\a\\b.txt", L"C:\\a\\b.txt"},
        {L"C:\\a\\", L"b\\c", L"C:\\a\\b\\c", L"C:\\a\\b\\c"},
        {L"C:\\a", L"\\b", L"C:\\b", L"C:\\a\\b"},
        {L"C:\\a", L"D:\\x", L"D:\\x", L"D:\\x"},
        {L"C:\\a\\b", L"..\\c", L"C:\\a\\c", L"C:\\a\\c"},
        {L"C:\\a", L".\\.\\c\\..\\d", L"C:\\a\\d", L"C:\\a\\d"},
        {L"C:\\", L"..\\..\\x", L"C:\\x", L"C:\\x"},
        {L"/opt/dravik", L"bin/x", L"/opt/dravik/bin/x", L"/opt/dravik/bin/x"},
        {L"C:\\a", L"", L"C:\\a", L"C:\\a"},
    };
    for (const auto& c : cases) {
        wchar_t out[MAX_PATH];
        EXPECT_EQ(PathCombineW(out, c.folder, c.file), out);
        EXPECT_STREQ(out, c.combined) << u8(c.folder) << " + " << u8(c.file);
        wchar_t path[MAX_PATH];
        std::wcscpy(path, c.folder);
        EXPECT_TRUE(PathAppendW(path, c.file));
        EXPECT_STREQ(path, c.appended) << u8(c.folder) << " + " << u8(c.file);
    }
    wchar_t same[MAX_PATH] = L"C:\\a";
    EXPECT_EQ(PathCombineW(same, same, L"b"), same) << "the destination may be the folder";
    EXPECT_STREQ(same, L"C:\\a\\b");
    wchar_t longPath[MAX_PATH];
    std::wcscpy(longPath, (L"C:\\" + std::wstring(200, L'a')).c_str());
    EXPECT_FALSE(PathAppendW(longPath, std::wstring(100, L'b').c_str()));
    EXPECT_EQ(PathCombineW(same, longPath, std::wstring(100, L'b').c_str()), nullptr);

    struct Removal {
        const wchar_t* path;
        const wchar_t* removed;
        BOOL changed;
    };
    const Removal removals[] = {
        {L"C:\\a\\b.txt", L"C:\\a", TRUE},
        {L"C:\\a", L"C:\\", TRUE},
        {L"C:\\", L"C:\\", FALSE},
        {L"\\a", L"\\", TRUE},
        {L"a", L"", TRUE},
        {L"a\\b\\", L"a\\b", TRUE},
        {L"/usr/x", L"/usr", TRUE},
        {L"", L"", FALSE},
    };
    for (const auto& s : removals) {
        wchar_t p[MAX_PATH];
        std::wcscpy(p, s.path);
        EXPECT_EQ(PathRemoveFileSpecW(p), s.changed) << u8(s.path);
        EXPECT_STREQ(p, s.removed) << u8(s.path);
    }
}

TEST_F(Paths, TrailingSeparators) {
    wchar_t p[MAX_PATH] = L"C:\\a";
    LPWSTR end = PathAddBackslashW(p);
    EXPECT_STREQ(p, L"C:\\a\\");
    EXPECT_EQ(end, p + 5);
    EXPECT_EQ(PathAddBackslashW(p), p + 5) << "added once";
    EXPECT_EQ(PathRemoveBackslashW(p), p + 4);
    EXPECT_STREQ(p, L"C:\\a");
    wchar_t rootPath[MAX_PATH] = L"C:\\";
    EXPECT_EQ(PathRemoveBackslashW(rootPath), rootPath + 2) << "a root keeps its separator";
    EXPECT_STREQ(rootPath, L"C:\\");
    wchar_t full[MAX_PATH];
    std::wcscpy(full, std::wstring(MAX_PATH - 1, L'a').c_str());
    EXPECT_EQ(PathAddBackslashW(full), nullptr);
}

} // namespace
