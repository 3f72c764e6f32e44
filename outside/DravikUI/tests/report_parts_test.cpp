// What the library adds to the tool kit's report control and clipboard: the caching image
// manager's icons of files and folders, the plain text cell, the registered formats, the looks
// of report controls by theme code, the popup of columns and locked global memory.
#include "DravikUI/CachingImageManager.h"
#include "DravikUI/ClipboardManager.h"
#include "DravikUI/GlobalMemoryPtr.h"
#include "DravikUI/ReportColumnsPopup.h"
#include "DravikUI/ReportControl.h"
#include "DravikUI/ReportPaintManager.h"
#include "DravikUI/Themes.h"
#include "xtp/PaintManager.h"
#include "xtp/PopupBar.h"

#include "pal/path.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_test.h"
#include "win/ole/clipboard.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* kSquare =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16"><rect width="16" height="16" fill="#2060c0"/></svg>)";

using ReportParts = pal::test::UserTest;

TEST_F(ReportParts, CachingManagerFindsEachIconOnce) {
    CachingImageManager images;
    images.SetExtensionIcon(L".grb", 40782);
    const std::wstring withIcon =
        pal::path::fromNative(writeFile("lib/Bolts/library.svg", kSquare).parent_path());
    const std::wstring plain = pal::path::fromNative(writeFile("lib/Nuts/a.txt", "").parent_path());
    const int folderIcon = images.GetIcon(withIcon);
    ASSERT_NE(folderIcon, -1);
    EXPECT_NE(images.GetImage(static_cast<UINT>(folderIcon), 16), nullptr);
    EXPECT_EQ(images.GetIcon(plain), -1);
    EXPECT_EQ(images.GetIcon(L"C:\\lib\\plate.GRB"), 40782);
    EXPECT_EQ(images.GetIcon(L"C:\\lib\\notes.txt"), -1);
    // Kept: a later icon file of the folder is not looked at until the paths are forgotten.
    writeFile("lib/Nuts/library.svg", kSquare);
    EXPECT_EQ(images.GetIcon(plain), -1);
    images.ForgetPaths();
    EXPECT_NE(images.GetIcon(plain), -1);
}

TEST_F(ReportParts, SimpleTextItemIsNotEdited) {
    Dravik::UI::SimpleTextReportItem item(L"Author");
    EXPECT_FALSE(item.IsEditable());
    EXPECT_EQ(item.GetCaption(nullptr), L"Author");
    Dravik::UI::ReportControl readOnly;
    EXPECT_FALSE(readOnly.IsAllowEdit());
    Dravik::UI::ReportControl editable(nullptr, true);
    EXPECT_TRUE(editable.IsAllowEdit());
}

TEST_F(ReportParts, FormatsAreRegisteredOncePerName) {
    const UINT effect = Dravik::ClipboardManager::registerFormat(L"Preferred DropEffect");
    EXPECT_GE(effect, 0xC000u);
    EXPECT_EQ(Dravik::ClipboardManager::registerFormat(L"Preferred DropEffect"), effect);
    EXPECT_NE(Dravik::ClipboardManager::registerFormat(L"Library"), effect);
    EXPECT_EQ(Dravik::ClipboardManager::registerFormat(L""), 0u);
    EXPECT_FALSE(Dravik::ClipboardManager::isFormatAvailable(effect));
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4);
    ::SetClipboardData(effect, block);
    ::CloseClipboard();
    EXPECT_TRUE(Dravik::ClipboardManager::isFormatAvailable(effect));
    EXPECT_FALSE(Dravik::ClipboardManager::isFormatAvailable(0));
}

// Each theme code makes its own look; the themed looks take the bars' colours, so that a dark
// theme gives a dark report, while the classic look keeps the system's.
TEST_F(ReportParts, ReportLooksByThemeCodeFollowTheBarsTheme) {
    using namespace Dravik::UI;
    struct Case {
        int code;
        int made;
    };
    for (const Case c : {Case{4, 4}, Case{8, 8}, Case{11, 11}, Case{0, 0}, Case{7, 0}, Case{-1, 0}}) {
        std::unique_ptr<CXTPReportPaintManager> pm(CreateReportPaintManager(c.code));
        EXPECT_EQ(GetReportThemeCode(pm.get()), c.made) << c.code;
    }
    CXTPPaintManager* bars = CXTPPaintManager::Current();
    const std::wstring before = bars->GetThemeName();
    ASSERT_TRUE(bars->SetTheme(L"office2016black"));
    for (int code : {4, 8}) {
        std::unique_ptr<CXTPReportPaintManager> pm(CreateReportPaintManager(code));
        EXPECT_EQ(pm->m_clrControlBack, bars->GetColors().clrWindow) << code;
        EXPECT_EQ(pm->m_clrWindowText, bars->GetColors().clrWindowText) << code;
        EXPECT_LT(GetRValue(pm->m_clrControlBack), 80) << "dark ground in a dark theme";
    }
    std::unique_ptr<CXTPReportPaintManager> classic(CreateReportPaintManager(0));
    EXPECT_EQ(classic->m_clrControlBack, ::GetSysColor(COLOR_WINDOW));

    // A report drawn in the dark look.
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100),
                                nullptr, 0));
    CXTPReportControl report;
    ASSERT_TRUE(report.Create(WS_VISIBLE, CRect(0, 0, 200, 100), &parent, 1));
    report.AddColumn(new CXTPReportColumn(0, L"Name", 180));
    report.SetPaintManager(CreateReportPaintManager(4));
    report.UpdateWindow();
    EXPECT_EQ(pal::test::snapshot(report.GetSafeHwnd()).pixel(100, 80), bars->GetColors().clrWindow);
    report.SetPaintManager(nullptr);
    EXPECT_EQ(GetReportThemeCode(report.GetPaintManager()), 0) << "null gives the classic look back";
    report.DestroyWindow();
    parent.DestroyWindow();
    bars->SetTheme(before.c_str());

    // Every theme of the program names a control look and a report look that exist.
    for (int n = 0; GetTheme(n) != nullptr; ++n) {
        std::unique_ptr<CXTPReportPaintManager> pm(CreateReportPaintManager(GetTheme(n)->ReportTheme));
        EXPECT_NE(GetReportThemeCode(pm.get()), 0) << "theme " << n << " follows the bars";
    }
    EXPECT_EQ(GetTheme(-1), nullptr);
}

// The popup offers the columns a person may choose, ticked while shown, and an entry shows or
// hides its column; columns are asked for each time it fills.
TEST_F(ReportParts, TheColumnsPopupOffersChooserColumnsTickedAndTogglesThem) {
    CXTPReportControl report;
    auto* name = report.AddColumn(new CXTPReportColumn(0, L"Name", 100));
    name->SetShowInFieldChooser(FALSE);
    auto* path = report.AddColumn(new CXTPReportColumn(1, L"Path", 100, TRUE, -1, TRUE, FALSE));
    report.AddColumn(new CXTPReportColumn(2, L"Author", 100));
    struct Popup : Dravik::UI::ReportColumnsPopup {
        CXTPReportControl* report = nullptr;
        int asked = 0;
        std::vector<CXTPReportColumn*> GetColumns() override {
            ++asked;
            std::vector<CXTPReportColumn*> columns;
            for (int i = 0; i < report->GetColumnCount(); ++i)
                columns.push_back(report->GetColumn(i));
            return columns;
        }
    };
    auto* popup = new Popup;
    popup->report = &report;
    popup->FillPopup();
    CXTPControls* entries = popup->GetCommandBar()->GetControls();
    ASSERT_EQ(entries->GetCount(), 2) << "the name column is not offered";
    EXPECT_EQ(entries->GetAt(0)->GetCaption(), L"Path");
    EXPECT_FALSE(entries->GetAt(0)->GetChecked());
    EXPECT_TRUE(entries->GetAt(1)->GetChecked());
    entries->GetAt(0)->OnExecute();
    EXPECT_TRUE(path->IsVisible());
    popup->FillPopup();
    EXPECT_TRUE(popup->GetCommandBar()->GetControls()->GetAt(0)->GetChecked());
    EXPECT_EQ(popup->asked, 2);
    popup->InternalRelease();
}

// Locked global memory reads the block's contents and gives the lock back when it goes.
TEST_F(ReportParts, GlobalMemoryIsLockedWhileThePointerLives) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, 4 * sizeof(wchar_t));
    {
        Dravik::GlobalMemoryPtr<wchar_t> text(block);
        ASSERT_TRUE(text);
        EXPECT_EQ(text.size(), 4u);
        text.get()[0] = L'a';
        EXPECT_EQ(::GlobalFlags(block) & GMEM_LOCKCOUNT, 1u);
    }
    EXPECT_EQ(::GlobalFlags(block) & GMEM_LOCKCOUNT, 0u);
    ::GlobalFree(block);
    Dravik::GlobalMemoryPtr<wchar_t> none(nullptr);
    EXPECT_FALSE(none);
    EXPECT_EQ(none.size(), 0u);
    Dravik::GlobalMemoryPtr<wchar_t> stale(block);
    EXPECT_FALSE(stale) << "a freed block cannot be locked";
}

} // namespace
