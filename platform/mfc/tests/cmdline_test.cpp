#include "afx/cmdline.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    std::vector<std::wstring> args; // after the program name
    int shellCommand;
    const wchar_t* fileName;
    BOOL embedded;
    BOOL automated;
    BOOL splash;
    BOOL userControl;
};

using Info = CCommandLineInfo;

const Case kCases[] = {
    {{}, Info::FileNew, L"", FALSE, FALSE, TRUE, TRUE},
    {{L"C:\\work\\a.dvw"}, Info::FileOpen, L"C:\\work\\a.dvw", FALSE, FALSE, TRUE, TRUE},
    {{L"a.dvw", L"b.dvw"}, Info::FileOpen, L"a.dvw", FALSE, FALSE, TRUE, TRUE},
    {{L"/Embedding"}, Info::FileNew, L"", TRUE, FALSE, FALSE, FALSE},
    {{L"-embedding"}, Info::FileNew, L"", TRUE, FALSE, FALSE, FALSE},
    {{L"/Automation"}, Info::FileNew, L"", FALSE, TRUE, FALSE, FALSE},
    {{L"/dde"}, Info::FileDDE, L"", FALSE, FALSE, TRUE, FALSE},
    {{L"/DDE"}, Info::FileNew, L"", FALSE, FALSE, TRUE, TRUE}, // shell switches keep their case
    {{L"/p", L"a.dvw"}, Info::FilePrint, L"a.dvw", FALSE, FALSE, TRUE, TRUE},
    {{L"/pt", L"a.dvw", L"Printer", L"Driver", L"Port"},
     Info::FilePrintTo,
     L"a.dvw",
     FALSE,
     FALSE,
     TRUE,
     TRUE},
    {{L"/P", L"a.dvw"}, Info::FileOpen, L"a.dvw", FALSE, FALSE, TRUE, TRUE},
    {{L"/regserver"}, Info::AppRegister, L"", FALSE, FALSE, TRUE, TRUE},
    {{L"/Unregister"}, Info::AppUnregister, L"", FALSE, FALSE, TRUE, TRUE},
    {{L"/unknown", L"a.dvw"}, Info::FileOpen, L"a.dvw", FALSE, FALSE, TRUE, TRUE},
    // An absolute path of the host is a file, not a switch.
    {{L"/home/user/a.dvw"}, Info::FileOpen, L"/home/user/a.dvw", FALSE, FALSE, TRUE, TRUE},
    {{L"/Automation", L"/srv/b.dvw"}, Info::FileOpen, L"/srv/b.dvw", FALSE, TRUE, FALSE, FALSE},
    // The splash flag is settled by the last parameter: an embedding switch before a file
    // still suppresses it.
    {{L"/Embedding", L"a.dvw"}, Info::FileOpen, L"a.dvw", TRUE, FALSE, FALSE, FALSE},
};

TEST(CommandLineTest, TableOfCommandLines) {
    for (const Case& c : kCases) {
        AfxOleSetUserCtrl(TRUE);
        std::vector<std::wstring> argv{L"DravikCad"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        CCommandLineInfo info;
        pal::mfc::parseArguments(info, argv);
        const std::wstring line = argv.size() > 1 ? argv[1] : L"(none)";
        SCOPED_TRACE(testing::Message() << "first argument " << CStringA(line.c_str()).GetString());
        EXPECT_EQ(info.m_nShellCommand, c.shellCommand);
        EXPECT_EQ(info.m_strFileName, c.fileName);
        EXPECT_EQ(info.m_bRunEmbedded, c.embedded);
        EXPECT_EQ(info.m_bRunAutomated, c.automated);
        EXPECT_EQ(info.m_bShowSplash, c.splash);
        EXPECT_EQ(AfxOleGetUserCtrl(), c.userControl);
    }
    AfxOleSetUserCtrl(TRUE);
}

TEST(CommandLineTest, PrintToTakesPrinterDriverAndPort) {
    CCommandLineInfo info;
    pal::mfc::parseArguments(info, {L"x", L"/pt", L"a.dvw", L"Printer", L"Driver", L"Port", L"extra"});
    EXPECT_EQ(info.m_strPrinterName, L"Printer");
    EXPECT_EQ(info.m_strDriverName, L"Driver");
    EXPECT_EQ(info.m_strPortName, L"Port");
}

// A derived parser sees the flag marker taken off and the last marker on the last parameter.
TEST(CommandLineTest, DerivedParserSeesFlagAndLastMarkers) {
    struct Recorder : CCommandLineInfo {
        std::vector<std::tuple<std::wstring, BOOL, BOOL>> seen;
        void ParseParam(const wchar_t* p, BOOL flag, BOOL last) override {
            seen.emplace_back(p, flag, last);
            CCommandLineInfo::ParseParam(p, flag, last);
        }
    } info;
    pal::mfc::parseArguments(info, {L"x", L"-ini:a.ini", L"/Lrus", L"file.dvw"});
    ASSERT_EQ(info.seen.size(), 3u);
    EXPECT_EQ(info.seen[0], std::make_tuple(std::wstring(L"ini:a.ini"), TRUE, FALSE));
    EXPECT_EQ(info.seen[1], std::make_tuple(std::wstring(L"Lrus"), TRUE, FALSE));
    EXPECT_EQ(info.seen[2], std::make_tuple(std::wstring(L"file.dvw"), FALSE, TRUE));
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
}

} // namespace
