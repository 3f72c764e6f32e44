#include "DravikKernel/GenerateDumpFileContext.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/KernelRuntime.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/ProfileManager.h"
#include "DravikKernel/ThemeChangedArgs.h"
#include "DravikKernel/UIModule.h"
#include "DravikKernel/test/hooks.h"

#include "pal/path.h"
#include "pal/test/sandbox_test.h"
#include "win/controls.h"
#include "win/system.h"
#include "win/user.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class Helpers : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
    }
    void TearDown() override {
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
};

TEST_F(Helpers, QuotedArgumentsComeBackUnchangedFromThePlatformsParsing) {
    const std::wstring arguments[] = {
        L"",
        L"plain",
        L"C:\\Program Files\\Dravik\\Dravik.exe",
        L"ends with a backslash\\",
        L"ends with two\\\\",
        L"a \"quoted\" word",
        L"\\\"backslash then quote",
        L"\\\\\"two backslashes then quote",
        L"\"",
        L"tab\tand  spaces",
        L"--to=someone@example.org",
        L"C:\\path\\\\ \\\" mixed\\\\\\",
        L"unicode \u00e9\u0436 \u4e2d",
    };
    for (const std::wstring& argument : arguments) {
        const std::wstring line = L"program.exe " + Dravik::QuoteCommandLineArgument(argument) + L" next";
        int count = 0;
        LPWSTR* argv = CommandLineToArgvW(line.c_str(), &count);
        ASSERT_NE(argv, nullptr);
        ASSERT_EQ(count, 3) << pal::path::toNative(line);
        EXPECT_EQ(std::wstring(argv[1]), argument) << pal::path::toNative(line);
        EXPECT_EQ(std::wstring(argv[2]), L"next");
        LocalFree(argv);
    }
}

TEST_F(Helpers, TheProgramKnowsItsOwnFile) {
    const std::wstring self = Dravik::GetProcessFileName();
    EXPECT_EQ(pal::path::toNative(self).filename(), "DravikKernel_tests");
}

TEST_F(Helpers, FileHashIsTheSha512OfTheBytes) {
    const fs::path file = writeFile("abc.txt", "abc");
    std::vector<BYTE> hash;
    ASSERT_TRUE(Dravik::FileHash(pal::path::fromNative(file).c_str(), hash));
    ASSERT_EQ(hash.size(), 64u);
    const BYTE start[] = {0xdd, 0xaf, 0x35, 0xa1, 0x93, 0x61, 0x7a, 0xba};
    const BYTE end[] = {0x2a, 0x9a, 0xc9, 0x4f, 0xa5, 0x4c, 0xa4, 0x9f};
    EXPECT_TRUE(std::equal(std::begin(start), std::end(start), hash.begin()));
    EXPECT_TRUE(std::equal(std::begin(end), std::end(end), hash.end() - 8));

    EXPECT_FALSE(Dravik::FileHash(pal::path::fromNative(root() / "missing").c_str(), hash));
    EXPECT_TRUE(hash.empty());
}

TEST_F(Helpers, TemplateFolders) {
    const std::wstring program = DVAppendProgramPath(L"", 0, false);
    struct Case {
        const wchar_t* folder;
        std::wstring expected;
    };
    const Case cases[] = {
        {nullptr, DVAppendProgramPath(L"Prototypes", 0, false)},
        {L"", DVAppendProgramPath(L"Prototypes", 0, false)},
        {L"My templates", DVAppendProgramPath(L"My templates", 0, false)},
        {L"D:\\Shared\\Templates", L"D:\\Shared\\Templates"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TemplateFolderToFullPath(c.folder), c.expected) << (c.folder ? "given" : "none");
}

TEST_F(Helpers, RememberedFoldersBelongToTheCurrentSettings) {
    EXPECT_EQ(CPathManager::GetPath(L"DialogOpen"), L"");
    ASSERT_TRUE(CPathManager::SavePath(L"DialogOpen", L"D:\\Work"));
    EXPECT_EQ(CPathManager::GetPath(L"DialogOpen"), L"D:\\Work");
    ASSERT_TRUE(DravikProfileManager::Copy(nullptr, L"Saved"));
    ASSERT_TRUE(CPathManager::SavePath(L"DialogOpen", L"E:\\Elsewhere"));
    ASSERT_TRUE(DravikProfileManager::Apply(L"Saved"));
    EXPECT_EQ(CPathManager::GetPath(L"DialogOpen"), L"D:\\Work");
    EXPECT_FALSE(CPathManager::SavePath(L"", L"x"));
}

TEST_F(Helpers, TheCrashContextAsksWhetherToRestart) {
    struct AppContext : GenerateDumpFileContext {
        void PrepareRestart() override { ++restarts; }
        int restarts = 0;
    };
    DVMessageBox::SetCaption(L"DRAVIK CAD Test");
    for (const int reply : {IDYES, IDNO}) {
        AppContext context;
        EXPECT_EQ(context.GetProductName(), L"DRAVIK CAD Test");
        answer(reply);
        EXPECT_EQ(GenerateDumpFileAndReportError(nullptr, &context), 1);
        EXPECT_EQ(context.restarts, reply == IDYES ? 1 : 0);
    }
}

LRESULT answeringProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_USER + 1 ? static_cast<LRESULT>(wParam + lParam)
                                  : DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(Helpers, ASafeSendReachesALiveWindowAndNeverAGoneOne) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = answeringProc;
    wc.lpszClassName = L"KernelSafeSendTest";
    RegisterClassW(&wc);
    HWND hwnd =
        CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(DravikSafeSendMessage(hwnd, WM_USER + 1, 40, 2), 42);
    DestroyWindow(hwnd);
    EXPECT_EQ(DravikSafeSendMessage(hwnd, WM_USER + 1, 40, 2), 0);
    EXPECT_EQ(DravikSafeSendMessage(nullptr, WM_USER + 1, 40, 2), 0);
}

TEST_F(Helpers, APostReachesALiveWindowOnItsLoopAndAGoneOneIsRefused) {
    static int received = 0;
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_USER + 2)
            received += static_cast<int>(wParam + lParam);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    };
    wc.lpszClassName = L"KernelPostTest";
    RegisterClassW(&wc);
    HWND hwnd =
        CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    received = 0;
    EXPECT_TRUE(DravikPostMessage(hwnd, WM_USER + 2, 40, 2));
    EXPECT_EQ(received, 0) << "a post waits for the loop";
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_EQ(received, 42);
    DestroyWindow(hwnd);
    EXPECT_FALSE(DravikPostMessage(hwnd, WM_USER + 2, 40, 2));
    EXPECT_FALSE(DravikPostMessage(nullptr, WM_USER + 2, 40, 2));
}

TEST_F(Helpers, TheCountryFollowsTheSessionLanguage) {
    struct Case {
        const wchar_t* language;
        Country country;
    };
    const Case cases[] = {
        {L"Rus", Russian}, {L"Ger", German}, {L"Cze", Czech}, {L"Eng", English}, {L"Tur", English}};
    for (const Case& c : cases) {
        GlobalContainer::Instance().InitSessionLocale(c.language, true, 0);
        EXPECT_EQ(COUNTRY, c.country) << pal::path::toNative(c.language);
    }
    EXPECT_GT(DVGetBuildTime(), 0);
}

TEST_F(Helpers, AFakedActiveMainFrameLastsItsScopeAndNests) {
    auto* used = reinterpret_cast<CFrameWnd*>(0x1000);
    auto* loading = reinterpret_cast<CFrameWnd*>(0x2000);
    UIModule::SetActiveMainFrame(used);
    {
        UIModule::FakeActiveMainFrameManager outer(loading);
        EXPECT_EQ(UIModule::GetActiveMainFrame(), loading);
        {
            UIModule::FakeActiveMainFrameManager none(nullptr);
            EXPECT_EQ(UIModule::GetActiveMainFrame(), nullptr) << "faking no frame is faking too";
        }
        EXPECT_EQ(UIModule::GetActiveMainFrame(), loading);
    }
    EXPECT_EQ(UIModule::GetActiveMainFrame(), used);
}

TEST_F(Helpers, TheKernelsCrashContextResetsTheCancellationWindow) {
    UIModule::SetCancellationWindow(reinterpret_cast<HWND>(0x42));
    GenerateDumpFileContext context;
    answer(IDNO);
    GenerateDumpFileAndReportError(nullptr, &context);
    EXPECT_EQ(UIModule::GetCancellationWindow(), nullptr);
}

TEST_F(Helpers, ThemeChangesReachTheirListenersWithTheTheme) {
    struct Listener : TypedApplicationEventListener<ThemeChangedArgs::kEvent> {
        void OnApplicationEvent(int, ApplicationEventArgs& args) override {
            if (auto* theme = dynamic_cast<ThemeChangedArgs*>(&args))
                heard = theme->Name + L"/" + std::to_wstring(theme->Number);
        }
        std::wstring heard;
    } listener;
    ApplicationEventManager::runEvent(ThemeChangedArgs::kEvent, ThemeChangedArgs(3, L"Dark"));
    EXPECT_EQ(listener.heard, L"Dark/3");
}

TEST_F(Helpers, TheMacroManagerExistsOnceInitialisedAndKeepsItsConfiguration) {
    EXPECT_EQ(MacroManagerInstance(), nullptr);
    IMacroManager* macros = InitializeMacroManagerInstance();
    ASSERT_NE(macros, nullptr);
    EXPECT_EQ(InitializeMacroManagerInstance(), macros) << "made once";
    macros->SetConfiguration(L"Macros=C:\\Macros");
    EXPECT_EQ(MacroManagerInstance()->GetConfiguration(), L"Macros=C:\\Macros");
    EXPECT_FALSE(macros->RunMacro(L"Nothing", nullptr));
    macros->SetTheme(L"Dark");
    EXPECT_EQ(macros->GetTheme(), L"Dark");
}

TEST_F(Helpers, BackgroundTasksPauseAndResume) {
    auto& indicator = dvrt::StatusLineBkProcManager::Instance();
    indicator.Pause();
    EXPECT_TRUE(indicator.IsPaused());
    indicator.Resume();
    EXPECT_FALSE(indicator.IsPaused());
    dvrt::TaskManager::Idle();
    EXPECT_EQ(dvrt::TaskManager::Instance().GetIdleCount(), 1u);
}

} // namespace
