#include "frame_tools_fixture.h"

#include "DravikUI/Windows.h"
#include "XTToolkitPro.h"
#include "win/user/menu.h"

#include <string>

namespace {

// The program's one application object, for every test of the programs built on this fixture.
CWinApp application(L"Dravik");

} // namespace

namespace dvribbon::test {

BEGIN_MESSAGE_MAP(PaneWindow, Dravik::UI::DockingPaneChildWindow)
ON_WM_PAINT()
END_MESSAGE_MAP()

void PaneWindow::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, RGB(250, 250, 250));
    const std::wstring text = L"Pane " + std::to_wstring(id_);
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(8, 8, text.c_str(), static_cast<int>(text.size()));
}

PaneApplication::~PaneApplication() {
    for (auto& [id, window] : windows_)
        if (::IsWindow(window->m_hWnd))
            window->DestroyWindow();
    windows_.clear();
    parent_.reset();
}

CWnd* PaneApplication::window(int id) {
    if (panes_.count(id) == 0)
        return nullptr;
    auto& slot = windows_[id];
    if (!slot) {
        if (!parent_)
            parent_ = Dravik::UI::GetDockingPaneDummyWindow(true);
        slot = std::make_unique<PaneWindow>(id);
        slot->Create(nullptr, (L"Window " + std::to_wstring(id)).c_str(), WS_CHILD, CRect(0, 0, 10, 10),
                     parent_.get(), static_cast<UINT>(id));
    }
    return slot.get();
}

void RecordingTabbedBar::AddOriginalTab(const std::wstring& name, const UINT* ids, int count,
                                        const GUID& guid, bool visible, bool extra) {
    if (tabs.empty())
        bar_->SetButtons(ids, count);
    tabs.push_back(name);
    guids_.push_back(guid);
}

bool RecordingTabbedBar::SetTabAccelerator(const GUID& guid, WORD key, BYTE modifiers) {
    for (size_t i = 0; i < guids_.size(); ++i)
        if (guids_[i] == guid && modifiers == (FCONTROL | FVIRTKEY)) {
            keys.emplace_back(tabs[i], key);
            return true;
        }
    return false;
}

std::function<TabbedMainToolBar*(CXTPCommandBars*, const std::wstring&)> EngineFrame::tabbedBarMaker;

TabbedMainToolBar* EngineFrame::CreateTabbedMainToolBar(CXTPCommandBars* bars, const std::wstring& caption) {
    if (tabbedBarFails)
        return nullptr;
    if (tabbedBarMaker)
        return tabbedBarMaker(bars, caption);
    tabbedBar = std::make_unique<RecordingTabbedBar>(bars->Add(caption.c_str(), xtpBarTop));
    return tabbedBar.get();
}

BEGIN_MESSAGE_MAP(EngineFrame, Dravik::UI::MdiMainFrame)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_COMMAND_RANGE(1, 60000, &EngineFrame::OnAnyCommand)
ON_UPDATE_COMMAND_UI_RANGE(1, 60000, &EngineFrame::OnUpdateAny)
ON_MESSAGE(WM_ENTERIDLE, &EngineFrame::OnEnterIdle)
END_MESSAGE_MAP()

LRESULT EngineFrame::OnEnterIdle(WPARAM, LPARAM lParam) {
    if (onEnterIdle) {
        // One step per idle moment: the step may end the dialog.
        auto step = std::move(onEnterIdle);
        onEnterIdle = nullptr;
        step(reinterpret_cast<HWND>(lParam));
    }
    return 0;
}

CWnd* EngineFrame::GetDockingPaneWindow(CXTPDockingPane* pane) {
    return pane->GetID() == kPropertiesPane ? nullptr : GetPaneWindow(pane->GetID());
}

int EngineFrame::OnCreate(LPCREATESTRUCTW lpcs) {
    if (MdiMainFrame::OnCreate(lpcs) == -1 || !InitCommandBars())
        return -1;
    panes.InstallDockingPanes(this);
    SetDockingPaneManager(&panes);
    SetMainFrame(this);
    created = CreateDockingPanesAndToolBars();
    return created ? 0 : -1;
}

void EngineFrame::OnDestroy() {
    DetachDockingPaneChildWindows();
    MdiMainFrame::OnDestroy();
}

} // namespace dvribbon::test
