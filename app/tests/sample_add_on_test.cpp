// The program started with the bundled sample add-on: while the add-on makes its tools, its
// command gets its icon, its entry in the ribbon's system menu, a tool bar and a tab, and the
// command runs from each of them. The pictures are kept for a person to look at
// (DV_PAL_SNAPSHOTS).
#include "main_initialisation_fixture.h"

#include "app/AppCustomToolBar.h"
#include "frame/TabToolBar.h"

#include "DravikKernel/ApplicationCommand.h"
#include "DravikKernel/ApplicationManager.h"
#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "frame/CommandBars.h"
#include "pal/test/pump.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "ribbon/CommandDescriptions.h"
#include "ribbon/ExtendedToolTip.h"
#include "win/controls/listview.h"
#include "xtp/CommandBars.h"
#include "xtp/ImageManager.h"
#include "xtp/RibbonBackstageView.h"
#include "xtp/RibbonBar.h"
#include "xtp/TabManager.h"

#include <algorithm>
#include <functional>

namespace dvapp::test {
namespace {

constexpr int kSampleCommand = 64001;
const std::string kHello = "Hello from the sample add-on.";

class SampleAddOn : public MainInitialisation {
protected:
    void SetUp() override {
        MainInitialisation::SetUp();
        writeFile("apps.ini", "[Sample]\nName=Sample\nPath=DVSampleApplication.dll\nType=1\nFlags=2\n");
        bundledConfiguration("ApplicationsFile=" + (root() / "apps.ini").string() + "\n");
    }

    // The id the program gave a command of the sample.
    UINT sampleCommandId(int internalId = kSampleCommand) const {
        for (size_t i = 0; i < app->GetApplicationCommandCount(); ++i)
            if (IApplicationCommand* command = app->GetApplicationCommandAt(i);
                command->GetInternalID() == internalId)
                return static_cast<UINT>(command->GetID());
        return 0;
    }

    size_t hellos() const { return static_cast<size_t>(std::ranges::count(boxes(), kHello)); }

    // The frame in ribbon mode and the menu of its system button (its backstage, where it has
    // one); null when there is none.
    static CXTPCommandBar* systemMenuInRibbonMode(CMainFrame* frame) {
        frame->GetRibbonCommandBars()->SetRibbonMode(true);
        frame->RecalcLayout();
        pal::test::pump();
        auto* ribbon = DYNAMIC_DOWNCAST(CXTPRibbonBar, frame->GetRibbonBar());
        if (ribbon == nullptr)
            return nullptr;
        CXTPCommandBar* menu = ribbon->GetBackstageView();
        return menu != nullptr ? menu : ribbon->GetSystemButton()->GetCommandBar();
    }
};

TEST_F(SampleAddOn, ItsCommandRunsFromItsSystemMenuEntryItsToolBarAndItsTab) {
    ASSERT_TRUE(start());
    pal::test::pump();
    CMainFrame* frame = onlyFrame();
    ASSERT_NE(frame, nullptr);
    const UINT id = sampleCommandId();
    ASSERT_TRUE(DravikServerAppProxy::Instance()->IsApplicationCommandId(id));
    EXPECT_TRUE(frame->GetCommandBars()->GetImageManager()->IsVectorIcon(id)) << "its SVG icon";

    // The ribbon's system menu.
    CXTPCommandBar* menu = systemMenuInRibbonMode(frame);
    ASSERT_NE(menu, nullptr);
    auto* ribbon = DYNAMIC_DOWNCAST(CXTPRibbonBar, frame->GetRibbonBar());
    CXTPControl* entry = menu->GetControls()->FindControl(static_cast<int>(id));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(std::wstring(entry->GetPrompt()), L"Greets you from the sample add-on\nSay hello");
    EXPECT_EQ(std::wstring(entry->GetCaption()), L"Say hello");
    const int entries = menu->GetControls()->GetCount();
    DravikServerAppProxy::Instance()->InsertRibbonSystemMenuItem(id, L"Again", 0, true);
    EXPECT_EQ(menu->GetControls()->GetCount(), entries) << "a menu holding the id is left as it is";
    // An unknown neighbour puts an entry before the recent files; a known one beside itself.
    DravikServerAppProxy::Instance()->InsertRibbonSystemMenuItem(17999, L"Later\nLater", 0, false);
    DravikServerAppProxy::Instance()->InsertRibbonSystemMenuItem(17998, L"After\nAfter", 17999, true);
    CXTPControls& controls = *menu->GetControls();
    const int later = controls.FindControl(17999)->GetIndex();
    EXPECT_EQ(controls.GetAt(later + 1)->GetID(), 17998);
    auto* recent = dynamic_cast<CXTPRibbonBackstageTab*>(controls.GetAt(later + 2));
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(std::wstring(recent->GetCaption()), L"Recent");
    controls.Remove(controls.FindControl(17998));
    controls.Remove(controls.FindControl(17999));
    ribbon->GetSystemButton()->OnClick();
    pal::test::pump();
    EXPECT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, "sample-add-on-system-menu"));
    answer(IDOK);
    // Clicked as a person does.
    const CPoint at = entry->GetRect().CenterPoint();
    menu->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    menu->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    pal::test::pump();
    EXPECT_EQ(hellos(), 1u);
    EXPECT_FALSE(menu->IsWindowVisible()) << "the menu closes when its command ran";

    // Its tool bar, hidden under the ribbon, shown without it.
    CDVAppCustomToolBar* bar = CDVAppCustomToolBar::Find(
        *frame->GetCommandBars(), L"{5A3F0C2E-7B1D-4E8A-9C6F-2D4B8E1A7C30}", L"Sample");
    ASSERT_NE(bar, nullptr);
    EXPECT_GE(bar->GetBarID(), CDVAppCustomToolBar::kFirstBarId);
    frame->GetRibbonCommandBars()->SetRibbonMode(false);
    EXPECT_TRUE(DravikServerAppProxy::Instance()->ShowApplicationToolbar(
        L"{5A3F0C2E-7B1D-4E8A-9C6F-2D4B8E1A7C30}", L"Sample", true));
    frame->RecalcLayout();
    pal::test::pump();
    EXPECT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, "sample-add-on-tool-bar"));
    CXTPControl* button = bar->GetControls()->FindControl(static_cast<int>(id));
    ASSERT_NE(button, nullptr);
    answer(IDOK);
    button->OnExecute();
    pal::test::pump();
    EXPECT_EQ(hellos(), 2u);

    // Its tab of the tabbed tool bar.
    CDVTabToolBar* tabs = frame->GetTabToolBar();
    ASSERT_NE(tabs, nullptr);
    CXTPTabManagerItem* tab = tabs->FindCategory(L"Sample");
    ASSERT_NE(tab, nullptr);
    tabs->SetVisible(TRUE);
    tabs->SelectCategory(tab);
    frame->RecalcLayout();
    pal::test::pump();
    EXPECT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, "sample-add-on-tab"));
    CXTPControl* onTab = nullptr;
    for (int i = 0; i < tabs->GetControls()->GetCount(); ++i)
        if (CXTPControl* control = tabs->GetControls()->GetAt(i);
            control->GetID() == static_cast<int>(id) && control->GetCategory() == L"Sample")
            onTab = control;
    ASSERT_NE(onTab, nullptr);
    answer(IDOK);
    onTab->OnExecute();
    pal::test::pump();
    EXPECT_EQ(hellos(), 3u);

    // Its form, from its tool bar, in the form pane.
    CXTPControl* formButton = bar->GetControls()->FindControl(static_cast<int>(sampleCommandId(64002)));
    ASSERT_NE(formButton, nullptr);
    formButton->OnExecute();
    pal::test::pump();
    CXTPDockingPane* pane = frame->GetPaneManager().FindPane(1016);
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(pane->IsFloating());
    EXPECT_EQ(std::wstring(pane->GetTitle()), L"Sample form");
    EXPECT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, "sample-add-on-form-pane"));
    EXPECT_TRUE(pal::test::keepSnapshot(::GetAncestor(pane->GetChildHwnd(), GA_ROOT), "sample-add-on-form"));
    DravikServerAppProxy::Instance()->DetachFormPane();
}

// Application commands have no description files: the card a person sees over the add-on's
// button is the one made from the texts the add-on gave when it registered the command.
TEST_F(SampleAddOn, ItsCommandsTipIsTheCardOfTheTextsItRegisteredWith) {
    ASSERT_TRUE(start());
    pal::test::pump();
    CMainFrame* frame = onlyFrame();
    ASSERT_NE(frame, nullptr);
    const UINT id = sampleCommandId();
    const CommandDescriptionRecord* card = ReadCommandDescription(id, frame->GetCommandBars(), 0xF2F2F2);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->title, L"Say hello");
    EXPECT_EQ(card->description, L"Greets you from the sample add-on");
    EXPECT_EQ(card->name, L"SampleApplication.Hello");
    EXPECT_TRUE(card->extendedDescription.empty());

    frame->GetRibbonCommandBars()->SetRibbonMode(false);
    ASSERT_TRUE(DravikServerAppProxy::Instance()->ShowApplicationToolbar(
        L"{5A3F0C2E-7B1D-4E8A-9C6F-2D4B8E1A7C30}", L"Sample", true));
    frame->RecalcLayout();
    pal::test::pump();
    CDVAppCustomToolBar* bar = CDVAppCustomToolBar::Find(
        *frame->GetCommandBars(), L"{5A3F0C2E-7B1D-4E8A-9C6F-2D4B8E1A7C30}", L"Sample");
    ASSERT_NE(bar, nullptr);
    CXTPControl* button = bar->GetControls()->FindControl(static_cast<int>(id));
    ASSERT_NE(button, nullptr);
    CPoint at = button->GetRect().CenterPoint();
    bar->ClientToScreen(&at);
    pal::test::mouseMove(at);
    pal::test::pump();
    advance(::GetDoubleClickTime());
    pal::test::pump();
    auto* tip = dynamic_cast<DVExtendedToolTip*>(frame->GetCommandBars()->GetToolTipContext()->GetToolTip());
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(tip->IsWindowVisible());
    ASSERT_TRUE(tip->IsOwnDrawn()) << "a card, not the plain tip";
    EXPECT_EQ(tip->GetContent().title, L"Say hello");
    EXPECT_EQ(tip->GetContent().description, L"Greets you from the sample add-on");
    EXPECT_FALSE(tip->GetContent().helpHint) << "application commands have no help of their own";
    EXPECT_FALSE(tip->IsExpandable());
    EXPECT_TRUE(pal::test::keepSnapshot(tip->m_hWnd, "sample-add-on-command-card"));
}

// What runs once while a modal dialog of the main frame is up: the frame hears WM_ENTERIDLE
// when the dialog's loop goes idle, and the step runs there.
std::function<void(HWND)>& whileModal() {
    static std::function<void(HWND)> step;
    return step;
}
WNDPROC& frameProc() {
    static WNDPROC proc = nullptr;
    return proc;
}
LRESULT idleHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENTERIDLE)
        if (auto step = std::exchange(whileModal(), {}))
            step(reinterpret_cast<HWND>(lParam));
    return ::CallWindowProcW(frameProc(), hwnd, message, wParam, lParam);
}

// The form view's control of an id inside a dialog of the forms toolkit.
HWND formControl(HWND dialog, int id) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        ::GetClassNameW(child, name, 32);
        if (std::wstring(name) == L"DvpfFormView")
            return ::GetDlgItem(child, id);
    }
    return nullptr;
}

TEST_F(SampleAddOn, ItsChooserTellsTheCommandChosenAndItsPrintCommandOpensThePrintPage) {
    ASSERT_TRUE(start());
    pal::test::pump();
    CMainFrame* frame = onlyFrame();
    ASSERT_NE(frame, nullptr);
    CDVAppCustomToolBar* bar = CDVAppCustomToolBar::Find(
        *frame->GetCommandBars(), L"{5A3F0C2E-7B1D-4E8A-9C6F-2D4B8E1A7C30}", L"Sample");
    ASSERT_NE(bar, nullptr);
    CXTPControl* choose = bar->GetControls()->FindControl(static_cast<int>(sampleCommandId(64003)));
    CXTPControl* print = bar->GetControls()->FindControl(static_cast<int>(sampleCommandId(64004)));
    ASSERT_NE(choose, nullptr);
    ASSERT_NE(print, nullptr);
    EXPECT_TRUE(frame->GetCommandBars()->GetImageManager()->IsVectorIcon(sampleCommandId(64003)));

    // The chooser, filtered by a person's keys; a double click on the first row chooses it.
    bool shown = false;
    whileModal() = [&](HWND dialog) {
        shown = formControl(dialog, 101) != nullptr;
        if (!shown)
            return;
        for (wchar_t c : std::wstring(L"hello"))
            ::SendMessageW(formControl(dialog, 100), WM_CHAR, c, 0);
        pal::test::pump();
        EXPECT_TRUE(pal::test::keepSnapshot(dialog, "sample-add-on-command-chooser"));
        const HWND list = formControl(dialog, 101);
        ASSERT_GT(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
        RECT item{LVIR_BOUNDS, 0, 0, 0};
        ::SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
        POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        ::ClientToScreen(list, &centre);
        pal::test::click(centre);
        pal::test::doubleClick(centre);
        // Still up once the clicks were handled: the double click did not choose; cancelled.
        whileModal() = [](HWND still) { ::SendMessageW(still, WM_COMMAND, IDCANCEL, 0); };
    };
    frameProc() = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(frame->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&idleHook)));
    const size_t bars = frame->GetMessageBarCount();
    choose->OnExecute();
    pal::test::pump();
    ::SetWindowLongPtrW(frame->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(frameProc()));
    whileModal() = {};
    EXPECT_TRUE(shown) << "the chooser showed";
    EXPECT_EQ(frame->GetMessageBarCount(), bars + 1) << "the sample tells the command chosen";
    frame->RecalcLayout();
    pal::test::pump();
    EXPECT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, "sample-add-on-chosen-command"));

    // With the ribbon and a document the backstage opens on the print page; without the ribbon
    // the sample is told it cannot.
    frame->GetRibbonCommandBars()->SetRibbonMode(true);
    frame->RecalcLayout();
    pal::test::pump();
    ASSERT_NE(app->GetDocTemplate()->OpenDocumentFile(nullptr, FALSE), nullptr) << "a new drawing";
    pal::test::pump();
    print->OnExecute();
    pal::test::pump();
    EXPECT_EQ(DravikServerAppProxy::Instance()->GetActiveBackstageTab(nullptr), 57607);
    EXPECT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, "sample-add-on-print-page"));
    DravikServerAppProxy::Instance()->CloseBackstage(nullptr);
    EXPECT_EQ(DravikServerAppProxy::Instance()->GetActiveBackstageTab(nullptr), -1);
    frame->GetRibbonCommandBars()->SetRibbonMode(false);
    answer(IDOK);
    print->OnExecute();
    pal::test::pump();
    EXPECT_EQ(DravikServerAppProxy::Instance()->GetActiveBackstageTab(nullptr), -1);
    EXPECT_EQ(std::ranges::count(boxes(), "The print page opens from the ribbon."), 1);
}

// What an update handler said of a command.
class EnabledProbe : public CCmdUI {
public:
    void Enable(BOOL on) override { enabled = on != FALSE; }
    bool enabled = false;
};

// The add-on's own command (the block 15000-16999) goes back to the add-on that owns it: from
// its entry in the ribbon's system menu, and only while the active document, if any, can be
// edited.
TEST_F(SampleAddOn, ItsOwnCommandRunsFromTheRibbonWhileTheDocumentCanBeEdited) {
    const std::string ran = "The sample add-on ran its own command.";
    const auto runs = [&] { return static_cast<size_t>(std::ranges::count(boxes(), ran)); };
    ASSERT_TRUE(start());
    pal::test::pump();
    CMainFrame* frame = onlyFrame();
    ASSERT_NE(frame, nullptr);
    CXTPCommandBar* menu = systemMenuInRibbonMode(frame);
    ASSERT_NE(menu, nullptr);
    auto* ribbon = DYNAMIC_DOWNCAST(CXTPRibbonBar, frame->GetRibbonBar());
    CXTPControl* entry = menu->GetControls()->FindControl(15000);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(std::wstring(entry->GetCaption()), L"Greet");
    ribbon->GetSystemButton()->OnClick();
    pal::test::pump();
    answer(IDOK);
    const CPoint at = entry->GetRect().CenterPoint();
    menu->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    menu->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    pal::test::pump();
    EXPECT_EQ(runs(), 1u);

    struct Case {
        const char* name;
        UINT id;
        bool readOnly;
        bool runs;
    };
    const Case cases[] = {
        {"an editable document", 15000, false, true},
        {"a read-only document", 15000, true, false},
        {"an id no add-on owns", 15001, false, false},
    };
    auto& documents = DocumentManager::Instance();
    CDvw32Doc* document = documents.CreateDocument(Dravik::DocumentKind::Drawing, L"Sheet");
    documents.SetActiveDocument(document);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        document->SetReadOnly(c.readOnly);
        EnabledProbe probe;
        probe.m_nID = c.id;
        EXPECT_TRUE(app->OnCmdMsg(c.id, CN_UPDATE_COMMAND_UI, &probe, nullptr));
        EXPECT_EQ(probe.enabled, c.runs);
        const size_t before = runs();
        if (c.runs)
            answer(IDOK);
        EXPECT_TRUE(app->OnCmdMsg(c.id, CN_COMMAND, nullptr, nullptr));
        EXPECT_EQ(runs(), before + (c.runs ? 1 : 0));
    }
    documents.CloseDocument(document);
}

} // namespace
} // namespace dvapp::test
