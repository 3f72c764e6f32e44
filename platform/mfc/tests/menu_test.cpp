// The class library's menus, the frame's accelerators and the file dialog, over the Windows
// layer's live windows.
#include "afxdlgs.h"
#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/user_hooks.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr UINT kSave = 57603;
constexpr UINT kTheme = 3401;

class Frame : public CFrameWnd {
public:
    std::vector<std::string> commands;
    void OnSave() { commands.push_back("save"); }
    void OnTheme(UINT id) { commands.push_back("theme " + std::to_string(id)); }
    bool updateThemes = false;
    void OnUpdateTheme(CCmdUI* ui) {
        if (!updateThemes)
            return ui->ContinueRouting();
        ui->Enable(ui->m_nID != kTheme + 2);
        ui->SetCheck(ui->m_nID == kTheme);
        if (ui->m_nID == kTheme + 1)
            ui->SetText(L"Dark (current)");
    }

protected:
    void PostNcDestroy() override {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Frame, CFrameWnd)
ON_COMMAND(kSave, &Frame::OnSave)
ON_COMMAND_RANGE(kTheme, kTheme + 48, &Frame::OnTheme)
ON_UPDATE_COMMAND_UI_RANGE(kTheme, kTheme + 48, &Frame::OnUpdateTheme)
END_MESSAGE_MAP()

class FrameApp : public CWinApp {
public:
    Frame frame;
    BOOL InitInstance() override {
        if (!frame.Create(nullptr, L"Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE))
            return FALSE;
        m_pMainWnd = &frame;
        return TRUE;
    }
    int ExitInstance() override {
        m_pMainWnd = nullptr;
        frame.DestroyWindow();
        return CWinApp::ExitInstance();
    }
};

class MfcMenuTest : public pal::test::SandboxTest {
protected:
    void TearDown() override {
        pal::test::resetUserState();
        SandboxTest::TearDown();
    }
};

TEST_F(MfcMenuTest, APopupMenuChoiceReachesTheFramesCommandHandler) {
    FrameApp app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    // One plain string item per theme, as the theme menu is built.
    for (const wchar_t* theme : {L"Light", L"Dark", L"Blue"})
        menu.AppendMenu(0, kTheme + (menu.GetMenuItemCount()), theme);
    EXPECT_EQ(menu.GetMenuItemCount(), 3u);
    CString text;
    menu.GetMenuString(kTheme + 1, text, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"Dark");

    answer(L"Dark");
    EXPECT_TRUE(menu.TrackPopupMenu(TPM_RIGHTBUTTON, 50, 50, &app.frame));
    run.pump();
    answer(kTheme + 2);
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY, 50, 50, &app.frame),
              static_cast<BOOL>(kTheme + 2));
    run.pump();
    EXPECT_EQ(app.frame.commands, (std::vector<std::string>{"theme 3402"}));

    const HMENU h = menu.Detach();
    EXPECT_TRUE(::IsMenu(h));
    EXPECT_EQ(CMenu::FromHandle(h)->GetMenuItemCount(), 3u);
    ::DestroyMenu(h);
    app.frame.GetSystemMenu(TRUE);
}

TEST_F(MfcMenuTest, TheFrameUpdatesAPopupsItemsBeforeItShows) {
    FrameApp app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    for (const wchar_t* theme : {L"Light", L"Dark", L"Blue"})
        menu.AppendMenu(MF_STRING, kTheme + menu.GetMenuItemCount(), theme);
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, 999, L"Nobody handles this");
    app.frame.updateThemes = true;
    answer(0);
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 10, 10, &app.frame), 0);
    EXPECT_EQ(menu.GetMenuState(kTheme, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED),
              static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(menu.GetMenuState(kTheme + 2, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
    EXPECT_EQ(menu.GetMenuState(999, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED))
        << "an item without a handler is disabled";
    CString text;
    menu.GetMenuString(kTheme + 1, text, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"Dark (current)");
    // The responder cannot choose the item the update disabled.
    allowRefusedAnswers = true;
    answer(kTheme + 2);
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 10, 10, &app.frame), 0);
    EXPECT_EQ(journal("prompt.refused").size(), 1u);
}

TEST_F(MfcMenuTest, TheFramesAcceleratorsTurnKeysIntoCommands) {
    FrameApp app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'S', static_cast<WORD>(kSave)}};
    app.frame.m_hAccelTable = ::CreateAcceleratorTableW(keys, 1);
    run.pump();
    pal::test::pressKey('S', {VK_CONTROL});
    run.pump();
    pal::test::pressKey('S');
    run.pump();
    EXPECT_EQ(app.frame.commands, (std::vector<std::string>{"save"}));
    ::DestroyAcceleratorTable(app.frame.m_hAccelTable);
    app.frame.m_hAccelTable = nullptr;
}

TEST_F(MfcMenuTest, TheFileDialogTakesFiltersNamesAndSeveralFiles) {
    CWinApp app(L"Files");
    writeFile("drive_c/Work/a.tws", "a");
    writeFile("drive_c/Work/b.tws", "b");

    CFileDialog save(FALSE, L"tws", L"C:\\Work\\library", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     L"Configurations (*.tws)|*.tws|All files (*.*)|*.*||");
    answer(L"C:\\Work\\library");
    ASSERT_EQ(save.DoModal(), IDOK);
    EXPECT_STREQ(save.GetPathName(), L"C:\\Work\\library.tws");
    EXPECT_STREQ(save.GetFileName(), L"library.tws");
    EXPECT_STREQ(save.GetFileExt(), L"tws");
    EXPECT_STREQ(save.GetFileTitle(), L"library");
    EXPECT_STREQ(save.GetFolderPath(), L"C:\\Work");

    CFileDialog open(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST,
                     L"Configurations (*.tws)|*.tws||");
    answer(L"C:\\Work\\a.tws|C:\\Work\\b.tws");
    ASSERT_EQ(open.DoModal(), IDOK);
    std::vector<std::wstring> files;
    for (POSITION pos = open.GetStartPosition(); pos != nullptr;)
        files.push_back(open.GetNextPathName(pos).GetString());
    EXPECT_EQ(files, (std::vector<std::wstring>{L"C:\\Work\\a.tws", L"C:\\Work\\b.tws"}));

    answer(IDCANCEL);
    EXPECT_EQ(open.DoModal(), IDCANCEL);
}

// A dialog whose extra button names the file through the save dialog's interface.
class NamingDialog : public CFileDialog {
public:
    using CFileDialog::CFileDialog;
    void OnButtonClicked(DWORD id) override {
        clicks.push_back(id);
        if (IFileSaveDialog* dialog = GetIFileSaveDialog())
            dialog->SetFileName(L"named");
    }
    std::vector<DWORD> clicks;
};

TEST_F(MfcMenuTest, AnExtraButtonOfTheFileDialogReachesItsHandlerWithTheSaveInterface) {
    CWinApp app(L"Files");
    writeFile("drive_c/Work/a.tws", "a");
    NamingDialog save(FALSE, L"tws", L"C:\\Work\\library", OFN_HIDEREADONLY,
                      L"Configurations (*.tws)|*.tws||");
    EXPECT_EQ(save.AddPushButton(10000, L"Rules..."), S_OK);
    EXPECT_EQ(save.AddPushButton(10000, L"Again"), E_INVALIDARG) << "an id is added once";
    EXPECT_EQ(save.AddPushButton(10001, nullptr), E_INVALIDARG);
    EXPECT_EQ(save.GetIFileSaveDialog(), nullptr) << "none before the dialog is shown";
    answer(10000);
    answer(IDOK);
    ASSERT_EQ(save.DoModal(), IDOK);
    EXPECT_EQ(save.clicks, std::vector<DWORD>{10000});
    EXPECT_STREQ(save.GetPathName(), L"C:\\Work\\named.tws");
    EXPECT_EQ(save.GetIFileSaveDialog(), nullptr) << "none after it ended";

    // An open dialog hands no save interface: the click changes no name.
    NamingDialog open(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST, L"Configurations (*.tws)|*.tws||");
    ASSERT_EQ(open.AddPushButton(10000, L"Rules..."), S_OK);
    answer(10000);
    answer(L"C:\\Work\\a.tws");
    ASSERT_EQ(open.DoModal(), IDOK);
    EXPECT_EQ(open.clicks, std::vector<DWORD>{10000});
    EXPECT_STREQ(open.GetPathName(), L"C:\\Work\\a.tws");
}

} // namespace
