// The images, shortcuts and customisation of a live frame's command bars: icons in buttons at
// 16 and 32 pixels, a shortcut assigned in the keyboard page that runs its command and shows in
// the tip, and a bar changed in customise mode that survives an exchange and resets.
#include "../commandbars/bars_fixture.h"
#include "pal/path.h"
#include "pal/sandbox.h"
#include "pal/test/snapshot.h"

namespace bars_test {
namespace {

const std::wstring kFixtures = L"" DVTOOLKIT_FIXTURES "/icons/";

class CustomizeBarsTest : public BarsTest {};

HICON squareIcon(int side, COLORREF colour) {
    std::vector<DWORD> bits(static_cast<size_t>(side * side), 0xFF000000u | (GetRValue(colour) << 16) |
                                                                  (GetGValue(colour) << 8) |
                                                                  GetBValue(colour));
    HBITMAP colourBits = ::CreateBitmap(side, side, 1, 32, bits.data());
    ICONINFO info{TRUE, 0, 0, nullptr, colourBits};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(colourBits);
    return icon;
}

// The control as it shows in its bar's window.
COLORREF pixelAt(CXTPControl* control, CPoint offset) {
    const auto picture = pal::test::snapshot(control->GetParent()->m_hWnd, true);
    const CRect rc = control->GetRect();
    return picture.pixel(rc.left + offset.x, rc.top + offset.y);
}

void relayout(App& app, pal::test::AppRun& run) {
    for (int i = 0; i < app.frame.GetCommandBars()->GetCount(); ++i)
        app.frame.GetCommandBars()->GetAt(i)->OnRecalcLayout();
    app.frame.GetCommandBars()->RecalcFrameLayout();
    run.pump();
}

TEST_F(CustomizeBarsTest, AnIconSetForACommandShowsInItsButtonAtSixteenAndThirtyTwoPixels) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    CXTPCommandBars* bars = app.frame.GetCommandBars();
    auto* images = new CXTPImageManager;
    bars->SetImageManager(images);
    HICON red = squareIcon(16, RGB(200, 0, 0)), green = squareIcon(32, RGB(0, 150, 0));
    images->SetIcon(red, kNew);
    images->SetIcon(green, kNew);
    ::DestroyIcon(red);
    ::DestroyIcon(green);
    images->SetVectorIcon(
        CXTPImageManagerVectorImageHandle::CreateSvgHandle((kFixtures + L"square.svg").c_str()), kOpen);
    relayout(app, run);

    CXTPControl* newButton = app.frame.standard->FindControl(kNew);
    CXTPControl* openButton = app.frame.standard->FindControl(kOpen);
    CXTPControl* saveButton = app.frame.standard->FindControl(kSave);
    struct Case {
        const char* name;
        BOOL large;
        int side;
        COLORREF newColour;
    };
    const Case cases[] = {{"16 pixels", FALSE, 16, RGB(200, 0, 0)}, {"32 pixels", TRUE, 32, RGB(0, 150, 0)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bars->GetCommandBarsOptions()->bLargeIcons = c.large;
        relayout(app, run);
        // An icon alone, in the middle of a button that fits it.
        const CRect rc = newButton->GetRect();
        EXPECT_EQ(rc.Width(), c.side + 8);
        EXPECT_GE(rc.Height(), c.side + 6);
        EXPECT_EQ(pixelAt(newButton, CPoint(rc.Width() / 2, rc.Height() / 2)), c.newColour);
        const int iconLeft = (rc.Width() - c.side) / 2, iconTop = (rc.Height() - c.side) / 2;
        EXPECT_EQ(pixelAt(newButton, CPoint(iconLeft, iconTop)), c.newColour);
        EXPECT_NE(pixelAt(newButton, CPoint(iconLeft - 1, iconTop)), c.newColour);
        EXPECT_NE(pixelAt(newButton, CPoint(iconLeft + c.side, iconTop)), c.newColour);
        // The vector icon at the same size: its square covers a quarter to three quarters, sharp.
        const CRect open = openButton->GetRect();
        const int ol = (open.Width() - c.side) / 2, ot = (open.Height() - c.side) / 2;
        EXPECT_EQ(pixelAt(openButton, CPoint(ol + c.side / 4, ot + c.side / 4)), RGB(0x20, 0x60, 0xD0));
        EXPECT_NE(pixelAt(openButton, CPoint(ol + c.side / 4 - 1, ot + c.side / 4)), RGB(0x20, 0x60, 0xD0));
        // Without an icon the caption shows.
        EXPECT_GT(saveButton->GetRect().Width(), c.side + 8);
    }
    const std::string name = "toolbar-icons.png";
    pal::test::keepSnapshot(app.frame.standard->m_hWnd, name, true);
}

TEST_F(CustomizeBarsTest, AShortcutAssignedInTheKeyboardPageRunsItsCommandAndShowsInTheTip) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPCommandBars* bars = app.frame.GetCommandBars();
    {
        CXTPCustomizeSheet sheet(bars);
        CXTPCustomizeKeyboardPage keyboard(&sheet);
        keyboard.AddCommand(keyboard.InsertCategory(L"File"), kSave, L"&Save");
        sheet.AddPage(&keyboard);
        ASSERT_TRUE(sheet.Create(&app.frame));
        sheet.ShowWindow(SW_SHOW);
        ASSERT_TRUE(sheet.SetActivePage(&keyboard));
        EXPECT_TRUE(bars->IsCustomizeMode());
        keyboard.GetKeyAssign().SetFocus();
        pal::test::pressKey('S', {VK_CONTROL, VK_SHIFT});
        run.pump();
        CWnd* assign = keyboard.GetDlgItem(XTP_IDC_BUTTON_ASSIGN);
        ASSERT_TRUE(assign->IsWindowEnabled());
        keyboard.SendMessage(WM_COMMAND, MAKEWPARAM(XTP_IDC_BUTTON_ASSIGN, BN_CLICKED),
                             reinterpret_cast<LPARAM>(assign->m_hWnd));
        sheet.DestroyWindow();
    }
    EXPECT_FALSE(bars->IsCustomizeMode());
    ASSERT_EQ(bars->GetShortcutManager()->FindShortcuts(kSave).size(), 1u);

    app.frame.SetForegroundWindow();
    app.frame.SetFocus();
    pal::test::pressKey('S', {VK_CONTROL, VK_SHIFT});
    run.pump();
    EXPECT_THAT(app.frame.log, testing::Contains("command 102"));

    bars->GetCommandBarsOptions()->bToolBarAccelTips = TRUE;
    CXTPControl* save = app.frame.standard->FindControl(kSave);
    pal::test::mouseMove(at(save));
    run.pump();
    EXPECT_EQ(bars->GetToolTipContext()->GetText(), CString(L"Save (Ctrl+Shift+S)"));
}

// The bars' controls as "bar: id id ...".
std::string controlsOf(CXTPToolBar* bar) {
    std::string s;
    for (CXTPControl* c : *bar->GetControls())
        s += (s.empty() ? "" : " ") + std::to_string(c->GetID());
    return s;
}

TEST_F(CustomizeBarsTest, ABarChangedInCustomiseModeSurvivesAnExchangeAndResets) {
    const auto file = pal::sandbox::root() / "customised.xml";
    {
        App app;
        pal::test::AppRun run(app);
        ASSERT_TRUE(run.init());
        run.pump();
        CXTPCommandBars* bars = app.frame.GetCommandBars();
        ASSERT_EQ(controlsOf(app.frame.standard), "100 101 102");
        bars->SetCustomizeMode(TRUE);
        // Open dragged onto the left half of the edit bar's first control; in customise mode a
        // click runs nothing.
        CXTPControl* open = app.frame.standard->FindControl(kOpen);
        CXTPControl* first = app.frame.edit->GetControl(0);
        CPoint drop = first->GetRect().TopLeft() + CSize(2, 2);
        app.frame.edit->ClientToScreen(&drop);
        pal::test::mouseDown(at(open));
        run.pump();
        EXPECT_EQ(CXTPCustomizeDropSource::GetDraggedControl(), open);
        pal::test::mouseMove(drop);
        pal::test::mouseUp(drop);
        run.pump();
        // New dragged off every bar, into the client area.
        CRect client;
        ::GetWindowRect(app.frame.m_hWndMDIClient, &client);
        pal::test::mouseDown(at(app.frame.standard->FindControl(kNew)));
        run.pump();
        pal::test::mouseUp(client.CenterPoint());
        run.pump();
        bars->SetCustomizeMode(FALSE);
        EXPECT_EQ(controlsOf(app.frame.standard), "102");
        EXPECT_EQ(controlsOf(app.frame.edit).rfind("101 ", 0), 0u) << controlsOf(app.frame.edit);
        EXPECT_TRUE(app.frame.log.empty());

        CXTPPropExchangeXMLNode px(FALSE, nullptr, L"CommandBars");
        bars->DoPropExchange(&px);
        ASSERT_TRUE(px.SaveToFile(pal::path::fromNative(file).c_str()));
    }
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    CXTPPropExchangeXMLNode px(TRUE, nullptr, L"CommandBars");
    ASSERT_TRUE(px.LoadFromFile(pal::path::fromNative(file).c_str()));
    app.frame.GetCommandBars()->DoPropExchange(&px);
    run.pump();
    EXPECT_EQ(controlsOf(app.frame.standard), "102");
    EXPECT_EQ(controlsOf(app.frame.edit).rfind("101 ", 0), 0u);

    app.frame.standard->Reset();
    app.frame.edit->Reset();
    run.pump();
    EXPECT_EQ(controlsOf(app.frame.standard), "100 101 102");
    EXPECT_EQ(controlsOf(app.frame.edit).find("101"), std::string::npos);
}

TEST_F(CustomizeBarsTest, DropsWithinABarMoveAndCtrlCopies) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPToolBar* standard = app.frame.standard;
    EXPECT_TRUE(CXTPCustomizeDropSource::DropControl(standard->FindControl(kNew), standard, -1, FALSE));
    EXPECT_EQ(controlsOf(standard), "101 102 100");
    EXPECT_FALSE(CXTPCustomizeDropSource::DropControl(standard->FindControl(kNew), standard, -1, FALSE));
    EXPECT_TRUE(CXTPCustomizeDropSource::DropControl(standard->FindControl(kSave), app.frame.edit, 0, TRUE));
    EXPECT_EQ(controlsOf(standard), "101 102 100");
    EXPECT_EQ(controlsOf(app.frame.edit).rfind("102 ", 0), 0u);
    EXPECT_TRUE(CXTPCustomizeDropSource::RemoveControl(standard->FindControl(kOpen)));
    EXPECT_EQ(controlsOf(standard), "102 100");
    EXPECT_FALSE(CXTPCustomizeDropSource::DropControl(nullptr, standard, 0, FALSE));
}

TEST_F(CustomizeBarsTest, TheKeyboardPagesCategoriesComeFromTheMenuBar) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    CXTPCustomizeSheet sheet(app.frame.GetCommandBars());
    CXTPCustomizeKeyboardPage keyboard(&sheet);
    keyboard.AddCategories(app.frame.GetCommandBars()->GetMenuBar()->GetControls());
    std::vector<std::string> seen;
    for (const auto& category : keyboard.GetCategories()) {
        std::string line = Frame::text(category.strName) + ":";
        for (const auto& command : category.commands)
            line += " " + std::to_string(command.nID) + "=" + Frame::text(command.strCaption);
        seen.push_back(line);
    }
    EXPECT_THAT(seen, testing::ElementsAre("File: 100=New 101=Open... 103=Exit",
                                           "Edit: 110=Cut 111=Copy 121=Zoom | Zoom In 122=Zoom | Zoom Out"));
}

TEST_F(CustomizeBarsTest, ACommandDraggedFromTheCommandsPageLandsOnABar) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPCommandBars* bars = app.frame.GetCommandBars();
    CXTPCustomizeSheet sheet(bars);
    CXTPCustomizeCommandsPage* commands = sheet.GetCommandsPage();
    CXTPControls* file = commands->InsertCategory(L"File");
    for (CXTPControl* c : *app.frame.standard->GetControls())
        file->AddClone(c);
    commands->InsertAllCommandsCategory();
    commands->InsertBuiltInMenus();
    commands->InsertNewMenuCategory();
    ASSERT_EQ(commands->GetCategoryCount(), 4);
    EXPECT_EQ(commands->GetCategoryName(1), CString(L"All Commands"));
    EXPECT_EQ(commands->GetControls(L"All Commands")->GetCount(), 3);
    EXPECT_EQ(commands->GetControls(L"Built-in Menus")->GetCount(), 2);
    EXPECT_EQ(commands->GetControls(L"New Menu")->GetAt(0)->GetType(), xtpControlPopup);

    ASSERT_TRUE(sheet.Create(&app.frame));
    // Beside the frame, clear of its bars.
    CRect frame;
    app.frame.GetWindowRect(&frame);
    sheet.SetWindowPos(nullptr, frame.right + 10, frame.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    sheet.ShowWindow(SW_SHOW);
    run.pump();
    EXPECT_EQ(sheet.GetActivePage(), commands);
    EXPECT_TRUE(bars->IsCustomizeMode());
    ASSERT_TRUE(commands->SelectCategory(1));
    // "All Commands" by caption: New, Open, Save.
    EXPECT_EQ(commands->GetListedControl(2)->GetID(), static_cast<int>(kSave));
    auto* list = static_cast<CListBox*>(commands->GetDlgItem(XTP_IDC_LIST_CATEGORY_COMMANDS));
    CRect item;
    list->GetItemRect(2, &item);
    CPoint from = item.CenterPoint();
    list->ClientToScreen(&from);
    CPoint to = app.frame.edit->GetControl(0)->GetRect().TopLeft() + CSize(2, 2);
    app.frame.edit->ClientToScreen(&to);
    pal::test::mouseDown(from);
    run.pump();
    pal::test::mouseUp(to);
    run.pump();
    EXPECT_EQ(app.frame.edit->GetControl(0)->GetID(), static_cast<int>(kSave));
    EXPECT_EQ(controlsOf(app.frame.standard), "100 101 102") << "the source is a copy";
    const std::string name = "customize-commands.png";
    pal::test::keepSnapshot(sheet.m_hWnd, name);
    sheet.DestroyWindow();
    EXPECT_FALSE(bars->IsCustomizeMode());
}

TEST_F(CustomizeBarsTest, AMessageBarStandsUnderTheCommandBarsAndAboveTheClient) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CXTPMessageBar bar;
    ASSERT_TRUE(bar.Create(app.frame.GetCommandBars(), 0x50002800, 59398));
    bar.EnableMarkup();
    bar.SetMessage(L"<TextBlock><Bold>Read only</Bold> The drawing is open for reading.</TextBlock>");
    app.frame.RecalcLayout();
    run.pump();
    CRect edit, message, client;
    app.frame.edit->GetWindowRect(&edit);
    bar.GetWindowRect(&message);
    ::GetWindowRect(app.frame.m_hWndMDIClient, &client);
    EXPECT_EQ(message.top, edit.bottom);
    EXPECT_GT(message.Height(), 20);
    EXPECT_EQ(client.top, message.bottom);
    bar.Close();
    run.pump();
    ::GetWindowRect(app.frame.m_hWndMDIClient, &client);
    EXPECT_EQ(client.top, edit.bottom);
    bar.DestroyWindow();
}

} // namespace
} // namespace bars_test
