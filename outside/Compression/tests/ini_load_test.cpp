// Loading: every kind of bad input loads what it can and never fails or crashes.
#include "ini_test_util.h"

#include "pal/path.h"
#include "pal/test/sandbox_test.h"
#include "pal/text.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace dvio::testutil {

std::string dump(const IniFile& ini) {
    std::wstring out;
    for (const auto& section : ini) {
        out += L'[' + section.name() + L']';
        for (const auto& e : section)
            out += e.key + L'=' + e.value + L';';
    }
    return pal::text::toUtf8(out);
}

} // namespace dvio::testutil

namespace {

using dvio::IniFile;
using dvio::testutil::dump;

IniFile parse(std::string_view bytes) {
    IniFile ini;
    ini.Parse(bytes);
    return ini;
}

TEST(IniParse, LinesOfEveryKind) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string expected;
    };
    const Case cases[] = {
        {"plain", "[A]\nk=v\n", "[A]k=v;"},
        {"no final line feed", "[A]\nk=v", "[A]k=v;"},
        {"CR LF and lone CR", "[A]\r\nk=v\rj=w\r\n", "[A]k=v;j=w;"},
        {"blanks around names and values", "  [ A ]  \n\t k \t=  v w \n", "[A]k=v w;"},
        {"comments", ";[X]\n# k=v\n[A]\n;k=v\n", "[A]"},
        {"keys before any section are skipped", "k=v\n[A]\nj=w\n", "[A]j=w;"},
        {"lines without '=' are skipped", "[A]\ngarbage\n=nokey\nk=v\n", "[A]k=v;"},
        {"only the first '=' divides", "[A]\nk=a=b\n", "[A]k=a=b;"},
        {"empty value", "[A]\nk=\n", "[A]k=;"},
        {"one pair of quotes is taken off", "[A]\nk=\" v \"\nj=\"\"x\"\"\nh=\"half\n",
         "[A]k= v ;j=\"x\";h=\"half;"},
        {"a repeated section continues the first", "[A]\nk=1\n[B]\n[a]\nj=2\n", "[A]k=1;j=2;[B]"},
        {"a repeated key keeps its first value", "[A]\nk=1\nK=2\n", "[A]k=1;"},
        {"a bracket left open still names the section", "[A\nk=v\n", "[A]k=v;"},
        {"text after the bracket is ignored", "[A] trailing\nk=v\n", "[A]k=v;"},
        {"empty section name", "[]\nk=v\n", "[]k=v;"},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF[A]\nk=v\n", "[A]k=v;"},
        {"invalid UTF-8 becomes U+FFFD", "[A]\nk=\xC3\x28\xFF\n", "[A]k=\xEF\xBF\xBD(\xEF\xBF\xBD;"},
        {"NUL bytes are dropped", std::string("[A]\nk=a\0b\n", 10), "[A]k=ab;"},
        {"a lone UTF-16 BOM", "\xFF\xFE", ""},
        {"odd UTF-16 length", std::string("\xFF\xFE[\0A\0]\0\n\0k\0=\0v\0x", 17), "[A]k=v\xEF\xBF\xBD;"},
        {"empty input", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dump(parse(c.bytes)), c.expected) << c.what;
}

class IniLoad : public pal::test::SandboxTest {
protected:
    IniFile load(const std::string& fixture) {
        IniFile ini;
        const auto path = sourcePath("outside/Compression/tests/fixtures/" + fixture);
        EXPECT_TRUE(ini.Load(pal::path::fromNative(path).c_str())) << path;
        return ini;
    }
};

TEST_F(IniLoad, GarbageLinesAndAMissingFinalLineFeed) {
    const IniFile ini = load("garbage_no_final_lf.ini");
    EXPECT_EQ(ini.GetString(L"SETTINGS", L"Company"), L"Maker");
    EXPECT_EQ(ini.GetInt(L"FIXED_SIZE", L"CX", 0), 1280);
    EXPECT_EQ(ini.GetInt(L"FIXED_SIZE", L"CY", 0), 800); // the last line has no line feed
    EXPECT_EQ(ini.GetString(L"[odd", L"\x01\x02 binary"), L"junk");
    EXPECT_EQ(ini.SectionCount(), 3u);
}

TEST_F(IniLoad, RepeatedSectionsAndKeys) {
    const IniFile ini = load("repeated.ini");
    EXPECT_EQ(dump(ini), "[SETTINGS]Language=Rus;Config=3D;Macros=0;[Other]A=1;");
}

TEST_F(IniLoad, ByteOrderMarksChooseTheEncoding) {
    struct Case {
        const char* fixture;
        IniFile::Encoding encoding;
        const wchar_t* company;
    };
    const Case cases[] = {
        {"bom_utf8.ini", IniFile::Encoding::Utf8Bom, L"Макер"},
        {"utf16le_bom.ini", IniFile::Encoding::Utf16LE, L"Мастер"},
        {"utf16be_bom.ini", IniFile::Encoding::Utf16BE, L"Мастер"},
    };
    for (const auto& c : cases) {
        const IniFile ini = load(c.fixture);
        EXPECT_EQ(ini.GetEncoding(), c.encoding) << c.fixture;
        EXPECT_EQ(ini.GetString(L"SETTINGS", L"Company"), c.company) << c.fixture;
    }
}

TEST_F(IniLoad, InvalidUtf8SpoilsOnlyItsOwnValue) {
    const IniFile ini = load("invalid_utf8.ini");
    EXPECT_EQ(ini.GetString(L"SETTINGS", L"Bad"), L"a\uFFFD\uFFFDb\uFFFD");
    EXPECT_EQ(ini.GetString(L"SETTINGS", L"Good"), L"ok");
}

// Inputs the fuzzer once found troublesome stay here as a regression corpus.
TEST_F(IniLoad, EveryFuzzFindingLoads) {
    const fs::path folder = sourcePath("outside/Compression/tests/fixtures/fuzz");
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        IniFile ini;
        EXPECT_TRUE(ini.Load(pal::path::fromNative(it->path()).c_str())) << it->path();
        IniFile copy;
        copy.Overlay(ini);
        EXPECT_EQ(dump(copy), dump(ini)) << it->path();
    }
}

TEST_F(IniLoad, WhatIsNoFileLoadsNothing) {
    IniFile ini;
    ini.Parse("[A]\nk=v\n");
    EXPECT_FALSE(ini.Load(L"C:\\missing.ini"));
    EXPECT_TRUE(ini.IsEmpty()) << "a failed load leaves no stale content";
    EXPECT_FALSE(ini.Load(pal::path::fromNative(root()).c_str())) << "a folder";
    EXPECT_FALSE(ini.Load(L""));
    EXPECT_FALSE(ini.Load(nullptr));
}

} // namespace
