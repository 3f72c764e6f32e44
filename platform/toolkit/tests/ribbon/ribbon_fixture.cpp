#include "ribbon_fixture.h"

#include "pal/test/user_hooks.h"

#include <cstdint>

namespace toolkit_test {

IMPLEMENT_DYNCREATE(LoggingRibbon, CXTPRibbonBar)
IMPLEMENT_DYNCREATE(RibbonFrame, CXTPMDIFrameWnd)

BEGIN_MESSAGE_MAP(RibbonFrame, CXTPMDIFrameWnd)
ON_WM_CREATE()
ON_NOTIFY(TCN_XTP_SELCHANGING, XTP_ID_RIBBONCONTROLTAB, &RibbonFrame::OnSelChanging)
ON_NOTIFY(TCN_XTP_SELCHANGE, XTP_ID_RIBBONCONTROLTAB, &RibbonFrame::OnSelChange)
ON_COMMAND_RANGE(ID_PASTE, ID_BACKSTAGE_RECENT, &RibbonFrame::OnRibbonCommand)
ON_MESSAGE(WM_XTP_RIBBONMINIMIZED, &RibbonFrame::OnRibbonMinimized)
END_MESSAGE_MAP()

namespace {

std::string narrow(const CString& text) {
    const CString s = CXTPDrawHelpers::StripMnemonics(text);
    std::string out;
    for (int i = 0; i < s.GetLength(); ++i)
        out += static_cast<char>(s[i]);
    return out;
}

// A tile of a colour with a lighter band across, premultiplied ARGB.
HICON makeIcon(int size, COLORREF c, bool round) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP color = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* px = static_cast<std::uint32_t*>(bits);
    const int inset = size / 8;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int dx = 2 * x - size + 1, dy = 2 * y - size + 1;
            const bool inside = round ? dx * dx + dy * dy <= (size - 2 * inset) * (size - 2 * inset)
                                      : x >= inset && x < size - inset && y >= inset && y < size - inset;
            if (!inside) {
                px[y * size + x] = 0;
                continue;
            }
            const bool band = y >= size / 2 - size / 10 && y < size / 2 + size / 10;
            const int r = band ? 255 : GetRValue(c), g = band ? 255 : GetGValue(c),
                      b = band ? 255 : GetBValue(c);
            px[y * size + x] = 0xFF000000u | (static_cast<std::uint32_t>(r) << 16) |
                               (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
        }
    }
    HBITMAP mask = ::CreateBitmap(size, size, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, color};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(color);
    ::DeleteObject(mask);
    return icon;
}

const AFX_STRING_RESOURCE kStrings[] = {
    {kAppResource + 10, L"Dravik"},
};
const pal::mfc::StringTable kTable(&kStrings, kStrings, sizeof kStrings / sizeof kStrings[0]);

} // namespace

LoggingRibbon::~LoggingRibbon() {
    for (auto& [key, icon] : icons_)
        ::DestroyIcon(icon);
}

BOOL LoggingRibbon::OnTabChanging(CXTPRibbonTab* pTab) {
    if (log)
        log->push_back("OnTabChanging " + narrow(pTab->GetCaption()));
    return refuse;
}

void LoggingRibbon::OnTabChanged(CXTPRibbonTab* pTab) {
    if (log)
        log->push_back("OnTabChanged " + narrow(pTab->GetCaption()));
}

COLORREF LoggingRibbon::IconColor(int id) {
    static const COLORREF colors[] = {RGB(214, 80, 60),  RGB(60, 140, 210), RGB(80, 170, 90),
                                      RGB(230, 160, 40), RGB(140, 90, 190), RGB(40, 160, 170)};
    return colors[static_cast<size_t>(id) % std::size(colors)];
}

CSize LoggingRibbon::GetLargeIconSize() const {
    return largeIcon ? CSize(largeIcon, largeIcon) : CXTPRibbonBar::GetLargeIconSize();
}

HICON LoggingRibbon::GetControlIcon(CXTPControl* pControl, int nSize) {
    iconAsked[pControl->GetID()] = nSize;
    const long key = pControl->GetID() * 100L + nSize;
    for (auto& [k, icon] : icons_) {
        if (k == key)
            return icon;
    }
    HICON icon = makeIcon(nSize, IconColor(pControl->GetID()), pControl->GetID() % 2 == 0);
    icons_.emplace_back(key, icon);
    return icon;
}

int RibbonFrame::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CXTPMDIFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    if (!InitCommandBars())
        return -1;
    ribbon = static_cast<LoggingRibbon*>(
        GetCommandBars()->Add(L"The Ribbon", xtpBarTop, RUNTIME_CLASS(LoggingRibbon)));
    if (!ribbon)
        return -1;
    ribbon->log = &log;
    buildRibbon(ribbon);
    return 0;
}

void RibbonFrame::OnSelChanging(NMHDR* pNMHDR, LRESULT* pResult) {
    auto* nm = reinterpret_cast<NMXTPTABCHANGE*>(pNMHDR);
    log.push_back("TCN_SELCHANGING " + narrow(nm->pTab->GetCaption()));
    *pResult = refuseChanging ? 1 : 0;
}

void RibbonFrame::OnSelChange(NMHDR* pNMHDR, LRESULT* pResult) {
    auto* nm = reinterpret_cast<NMXTPTABCHANGE*>(pNMHDR);
    log.push_back("TCN_SELCHANGE " + narrow(nm->pTab->GetCaption()));
    *pResult = 0;
}

void RibbonFrame::OnRibbonCommand(UINT nID) {
    log.push_back("command " + std::to_string(nID));
}

void buildRibbon(CXTPRibbonBar* ribbon) {
    CXTPRibbonTab* home = ribbon->AddTab(L"&Home");
    CXTPRibbonGroup* clipboard = home->AddGroup(L"Clipboard");
    clipboard->SetID(ID_GROUP_CLIPBOARD);
    clipboard->SetReducePriority(2);
    clipboard->Add(xtpControlButton, ID_PASTE, L"&Paste")->SetStyle(xtpButtonIconAndCaptionBelow);
    clipboard->Add(xtpControlButton, ID_CUT, L"Cu&t");
    clipboard->Add(xtpControlButton, ID_COPY, L"&Copy");
    CXTPRibbonGroup* font = home->AddGroup(L"Font");
    font->SetID(ID_GROUP_FONT);
    font->ShowOptionButton();
    for (auto [id, caption] :
         {std::pair{ID_BOLD, L"&Bold"}, {ID_ITALIC, L"&Italic"}, {ID_UNDERLINE, L"&Underline"}})
        font->Add(xtpControlButton, id, caption)->SetStyle(xtpButtonIcon);
    font->Add(xtpControlButton, ID_GROW, L"&Grow Font")->SetBeginGroup(TRUE);
    font->Add(xtpControlButton, ID_SHRINK, L"&Shrink Font");
    CXTPRibbonGroup* editing = home->AddGroup(L"Editing");
    editing->SetID(ID_GROUP_EDITING);
    editing->SetReducePriority(1);
    editing->Add(xtpControlButton, ID_FIND, L"&Find")->SetStyle(xtpButtonIconAndCaptionBelow);
    editing->Add(xtpControlButton, ID_REPLACE, L"&Replace");
    editing->Add(xtpControlButton, ID_SELECT, L"&Select All");

    CXTPRibbonTab* view = ribbon->AddTab(L"&View");
    CXTPRibbonGroup* zoom = view->AddGroup(L"Zoom");
    zoom->SetID(ID_GROUP_ZOOM);
    zoom->Add(xtpControlButton, ID_ZOOM, L"&Zoom")->SetStyle(xtpButtonIconAndCaptionBelow);
    zoom->Add(xtpControlButton, ID_ZOOM100, L"100%");
    zoom->Add(xtpControlButton, ID_NEWWINDOW, L"&New Window")->SetStyle(xtpButtonIconAndCaptionBelow);

    for (auto [id, caption] : {std::pair{ID_SAVE, L"Save"}, {ID_UNDO, L"Undo"}, {ID_REDO, L"Redo"}})
        ribbon->GetQuickAccessControls()->Add(xtpControlButton, id)->SetCaption(caption);
}

BOOL RibbonApp::InitInstance() {
    SetRegistryKey(L"Dravik Tests");
    ::InitCommonControls(); // tooltips, as a program does at start-up
    AddDocTemplate(new CMultiDocTemplate(kSheetResource, RUNTIME_CLASS(Sheet), RUNTIME_CLASS(SheetFrame),
                                         RUNTIME_CLASS(SheetView)));
    auto* made = new RibbonFrame;
    if (!made->LoadFrame(kAppResource))
        return FALSE;
    m_pMainWnd = made;
    made->MoveWindow(40, 40, 900, 560);
    made->ShowWindow(SW_SHOW);
    return TRUE;
}

void RibbonTest::SetUp() {
    SandboxTest::SetUp();
    ASSERT_TRUE(run.init());
    frame = static_cast<RibbonFrame*>(app.m_pMainWnd);
    ribbon = frame->ribbon;
    run.pump();
}

void RibbonTest::TearDown() {
    CXTPPaintManager::Current()->SetTheme(L"office2013light");
    SandboxTest::TearDown();
}

CPoint RibbonTest::onScreen(CPoint client) const {
    ribbon->ClientToScreen(&client);
    return client;
}

void RibbonTest::setRibbonWidth(int width) {
    CRect bar, outer;
    ribbon->GetWindowRect(&bar);
    frame->GetWindowRect(&outer);
    frame->MoveWindow(outer.left, outer.top, outer.Width() + (width - bar.Width()), outer.Height());
    run.pump();
}

void RibbonTest::drag(CPoint from, CPoint to) {
    pal::test::mouseDown(from);
    run.pump();
    pal::test::mouseMove(to);
    run.pump();
    pal::test::mouseUp(to);
    run.pump();
}

LRESULT RibbonFrame::OnRibbonMinimized(WPARAM, LPARAM lParam) {
    const auto* from = reinterpret_cast<CXTPRibbonBar*>(lParam);
    log.push_back(std::string(from == ribbon ? "our ribbon " : "another ribbon ") +
                  (from != nullptr && from->IsRibbonMinimized() ? "minimised" : "restored"));
    return 0;
}

} // namespace toolkit_test
