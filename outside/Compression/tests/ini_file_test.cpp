#include "ini_test_util.h"

#include "pal/path.h"
#include "pal/test/hooks.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

using dvio::IniFile;
using dvio::testutil::dump;

IniFile parse(std::string_view bytes) {
    IniFile ini;
    ini.Parse(bytes);
    return ini;
}

TEST(IniFile, SectionsAndKeysCompareWithoutCaseAndKeepTheirFirstSpelling) {
    IniFile ini = parse("[Settings]\nCompany=Maker\n");
    EXPECT_EQ(ini.GetString(L"SETTINGS", L"company"), L"Maker");
    EXPECT_TRUE(ini.HasKey(L"settings", L"COMPANY"));
    EXPECT_FALSE(ini.HasKey(L"settings", L"Company "));
    ASSERT_TRUE(ini.SetString(L"SETTINGS", L"COMPANY", L"Other"));
    EXPECT_EQ(dump(ini), "[Settings]Company=Other;");
    // Values keep their case; names compare over their whole length.
    EXPECT_EQ(ini.GetString(L"Settings", L"Compan", L"none"), L"none");
    EXPECT_EQ(ini.GetString(L"Setting", L"Company", L"none"), L"none");
}

TEST(IniFile, Integers) {
    struct Case {
        const char* value;
        int expected;
    };
    const Case cases[] = {
        {"42", 42},
        {"-7", -7},
        {"+3", 3},
        {"0x1F", 31},
        {"0XfF", 255},
        {"-0x10", -16},
        {"12abc", 12},
        {"1e3", 1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", -99},
        {"99999999999999999999", -99},
        {"abc", -99},
        {"", -99},
        {"-", -99},
        {"0x", 0}, // "0" and an ignored "x"
    };
    for (const auto& c : cases) {
        const IniFile ini = parse(std::string("[A]\nk=") + c.value + "\n");
        EXPECT_EQ(ini.GetInt(L"A", L"k", -99), c.expected) << c.value;
    }
    EXPECT_EQ(parse("[A]\n").GetInt(L"A", L"k", 5), 5);
    EXPECT_EQ(parse("").GetInt(L"A", L"k", 5), 5);
}

TEST(IniFile, OverlayWritesEveryKeyOverACopy) {
    const IniFile product = parse("[SETTINGS]\nCompany=Maker\nConfig=3D\n[FIXED_SIZE]\nCX=1440\n");
    const IniFile commandLine = parse("[settings]\ncompany=Other\nSplash=0\n[Tips]\nFileName=tips.txt\n");
    IniFile effective = product;
    effective.Overlay(commandLine);
    EXPECT_EQ(dump(effective), "[SETTINGS]Company=Other;Config=3D;Splash=0;[FIXED_SIZE]CX=1440;"
                               "[Tips]FileName=tips.txt;");
    EXPECT_EQ(dump(product), "[SETTINGS]Company=Maker;Config=3D;[FIXED_SIZE]CX=1440;") << "the copy only";
}

TEST(IniFile, AnEmptyOverlayChangesNothing) {
    const IniFile product = parse("[SETTINGS]\nCompany=Maker\n");
    IniFile effective = product;
    effective.Overlay(IniFile());
    EXPECT_EQ(dump(effective), dump(product));
    // A section without keys is still created; it holds nothing to write over.
    effective.Overlay(parse("[Empty]\n"));
    EXPECT_EQ(dump(effective), "[SETTINGS]Company=Maker;[Empty]");
    effective.Overlay(effective);
    EXPECT_EQ(dump(effective), "[SETTINGS]Company=Maker;[Empty]");
}

TEST(IniFile, SettersRefuseWhatTheFileCouldNotGiveBack) {
    struct Case {
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* value;
        bool accepted;
    };
    const Case cases[] = {
        {L"A", L"k", L"v", true},
        {L"A", L"k", L"  blanks and \"quotes\"  ", true},
        {L"", L"k", L"v", true},
        {L"A", L"", L"v", false},
        {L"A", nullptr, L"v", false},
        {L"A", L"k=j", L"v", false},
        {L"A", L" k", L"v", false},
        {L"A", L";k", L"v", false},
        {L"A", L"#k", L"v", false},
        {L"A", L"[k", L"v", false},
        {L"A", L"k", L"line\nbreak", false},
        {L"A", L"k\r", L"v", false},
        {L"A]", L"k", L"v", false},
        {L"A\n[B", L"k", L"v", false},
        {L" A", L"k", L"v", false},
    };
    for (const auto& c : cases) {
        IniFile ini;
        EXPECT_EQ(ini.SetString(c.section, c.key, c.value), c.accepted)
            << (c.section ? c.section : L"") << "/" << (c.key ? c.key : L"null");
        EXPECT_EQ(ini.IsEmpty(), !c.accepted);
    }
}

TEST(IniFile, RemovingKeysAndSections) {
    IniFile ini = parse("[A]\nk=1\nj=2\nh=3\n[B]\nx=1\n[C]\n");
    EXPECT_TRUE(ini.RemoveKey(L"a", L"J"));
    EXPECT_FALSE(ini.RemoveKey(L"a", L"J"));
    EXPECT_EQ(ini.GetString(L"A", L"h"), L"3");
    EXPECT_TRUE(ini.RemoveSection(L"b"));
    EXPECT_FALSE(ini.RemoveSection(L"b"));
    EXPECT_TRUE(ini.HasSection(L"C"));
    EXPECT_EQ(dump(ini), "[A]k=1;h=3;[C]");
}

class IniSave : public pal::test::SandboxTest {
protected:
    std::wstring path(const std::string& name) const { return pal::path::fromNative(root() / name); }
};

TEST_F(IniSave, WhatIsSavedLoadsBackTheSame) {
    IniFile ini;
    ASSERT_TRUE(ini.SetString(L"SpaceballConfig", L"version", L"2"));
    ASSERT_TRUE(ini.SetString(L"3D", L"padded", L"  x  "));
    ASSERT_TRUE(ini.SetString(L"3D", L"quoted", L"\"q\""));
    ASSERT_TRUE(ini.SetString(L"3D", L"text", L"Ж = ;not a comment"));
    ASSERT_TRUE(ini.SetInt(L"2D", L"n", -12));
    ASSERT_TRUE(ini.Save(path("mapping.ini").c_str()));
    IniFile back;
    ASSERT_TRUE(back.Load(path("mapping.ini").c_str()));
    EXPECT_EQ(dump(back), dump(ini));
    EXPECT_EQ(pal::test::readFile(root() / "mapping.ini").substr(0, 27), "[SpaceballConfig]\r\nversion=");
}

TEST_F(IniSave, SavingKeepsTheEncodingTheFileHad) {
    for (const char* bom : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"}) {
        IniFile ini;
        const std::string head(bom);
        std::string body = "[A]\nk=v\n";
        if (head == "\xFF\xFE")
            body = std::string("[\0A\0]\0\n\0", 8);
        else if (head == "\xFE\xFF")
            body = std::string("\0[\0A\0]\0\n", 8);
        writeFile("in.ini", head + body);
        ASSERT_TRUE(ini.Load(path("in.ini").c_str()));
        ASSERT_TRUE(ini.SetString(L"A", L"j", L"w"));
        ASSERT_TRUE(ini.Save(path("out.ini").c_str()));
        EXPECT_EQ(pal::test::readFile(root() / "out.ini").substr(0, head.size()), head);
        IniFile back;
        ASSERT_TRUE(back.Load(path("out.ini").c_str()));
        EXPECT_EQ(back.GetString(L"A", L"j"), L"w");
        EXPECT_EQ(back.GetEncoding(), ini.GetEncoding());
    }
}

TEST_F(IniSave, AFailedWriteReportsFailureAndKeepsTheOldFile) {
    writeFile("settings.ini", "[A]\nk=old\n");
    IniFile ini;
    ASSERT_TRUE(ini.SetString(L"A", L"k", L"new"));
    pal::test::injectWriteFailure(pal::test::WriteStep::DiskFull, ENOSPC);
    EXPECT_FALSE(ini.Save(path("settings.ini").c_str()));
    EXPECT_EQ(pal::test::readFile(root() / "settings.ini"), "[A]\nk=old\n");
    EXPECT_TRUE(ini.Save(path("settings.ini").c_str()));
    IniFile back;
    ASSERT_TRUE(back.Load(path("settings.ini").c_str()));
    EXPECT_EQ(back.GetString(L"A", L"k"), L"new");
}

} // namespace
