// The default tool bars of a main frame: the tabs of its tabbed main tool bar, its docked bars
// and its system-panel bar.
#include "ribbon/ApplicationMode.h"
#include "ribbon/FrameToolsApplication.h"
#include "ribbon/FrameToolsEngine.h"

#include "DravikKernel/KernelServices.h"
#include "DravikUI/GenericMainFrame.h"
#include "XTToolkitPro.h"
#include "panels/SysPanelToolbar.h"
#include "win/user/menu.h"

#include <array>

namespace {

constexpr UINT kTabbedMainToolBarCaption = 41518;
constexpr UINT kSystemPanelCaption = 10161;
constexpr DWORD kTabbedMainToolBarDocking = 0x10003F;
constexpr DWORD kToolBarDocking = 63;
constexpr DWORD kSystemPanelDocking = 0x100033;

// Tabs of the tabbed main tool bar that Ctrl+1, Ctrl+2 and Ctrl+3 select.
struct TabKey {
    GUID tab;
    WORD key;
};
constexpr TabKey kTabKeys[] = {
    {{0xD773CF70, 0x44FC, 0x4055, {0xAC, 0xC1, 0xFA, 0x1A, 0xB0, 0xFD, 0xB9, 0x5A}}, '2'},
    {{0x84452293, 0x56D2, 0x4E91, {0xBF, 0x71, 0xBD, 0xD2, 0xEE, 0xD1, 0xB4, 0xD5}}, '3'},
    {{0x2557C777, 0x3AA3, 0x4DE3, {0x9C, 0x16, 0x10, 0x8D, 0x2E, 0x13, 0xBB, 0x03}}, '1'},
};
constexpr BYTE kTabKeyModifiers = FCONTROL | FVIRTKEY;

XTPBarPosition positionOfKind(UINT kind) {
    switch (kind) {
    case 2:
    case 6:
        return xtpBarTop;
    case 3:
        return xtpBarLeft;
    case 4:
        return xtpBarRight;
    case 5:
        return xtpBarBottom;
    default:
        return xtpBarNone;
    }
}

} // namespace

CRuntimeClass* CFrameToolsEngine::GetToolBarClass() const {
    return RUNTIME_CLASS(CXTPToolBar);
}

CRuntimeClass* CFrameToolsEngine::GetSystemPanelToolBarClass() const {
    return RUNTIME_CLASS(CSysPanelToolbar);
}

// The panel's controls are known before any definition asks for one of them.
void CFrameToolsEngine::RegisterSystemPanelControls(CXTPToolBar& bar) {
    if (auto* panel = DYNAMIC_DOWNCAST(CSysPanelToolbar, &bar))
        panel->RegisterSyspanelControls();
}

CXTPToolBar* CFrameToolsEngine::GetRememberedToolBar(UINT barId) const {
    switch (barId) {
    case 1063:
        return m_toolBar1063;
    case 1065:
        return m_toolBar1065;
    case 1070:
        return m_toolBar1070;
    case 1071:
        return m_toolBar1071;
    default:
        return nullptr;
    }
}

bool CFrameToolsEngine::CreateDefaultToolBars() {
    CXTPCommandBars* bars = m_mainFrame->GetCommandBars();
    FrameToolsApplication* application = FrameToolsApplication::Instance();
    if (bars == nullptr || application == nullptr)
        return false;
    std::array<bool, std::size(kTabKeys)> keyGiven{};
    CXTPToolBar* lastVisible = nullptr;
    for (const DefaultToolBarRow& row : application->GetDefaultToolBars()) {
        if (row.kind == 1) {
            if (m_tabbedMainToolBar == nullptr) {
                m_tabbedMainToolBar = CreateTabbedMainToolBar(bars, DVLoadString(kTabbedMainToolBarCaption));
                // Without its bar no tab can be added: the frame cannot be made.
                if (m_tabbedMainToolBar == nullptr || m_tabbedMainToolBar->GetToolBar() == nullptr)
                    return false;
                m_tabbedMainToolBar->GetToolBar()->EnableDocking(kTabbedMainToolBarDocking);
                m_tabbedMainToolBar->GetToolBar()->SetBarID(kTabbedMainToolBarId);
            }
            m_tabbedMainToolBar->AddOriginalTab(row.name, row.ids.data(), static_cast<int>(row.ids.size()),
                                                row.guid, row.visible, false);
            for (size_t i = 0; i < std::size(kTabKeys); ++i)
                if (!keyGiven[i])
                    keyGiven[i] = m_tabbedMainToolBar->SetTabAccelerator(kTabKeys[i].tab, kTabKeys[i].key,
                                                                         kTabKeyModifiers);
            lastVisible = m_tabbedMainToolBar->GetToolBar();
            continue;
        }
        CXTPToolBar* bar = bars->Add(row.name.c_str(), positionOfKind(row.kind), GetToolBarClass());
        if (bar == nullptr)
            return false;
        bar->EnableDocking(kToolBarDocking);
        bar->SetButtons(row.ids.data(), static_cast<int>(row.ids.size()));
        bar->SetBarID(row.barId);
        bar->GetControls()->CreateOriginalControls();
        if (row.kind == 6 && lastVisible != nullptr)
            bars->DockRightOf(bar, lastVisible);
        bar->SetVisible(row.visible);
        if (row.visible)
            lastVisible = bar;
        switch (row.barId) {
        case 1063:
            m_toolBar1063 = bar;
            break;
        case 1065:
            m_toolBar1065 = bar;
            break;
        case 1070:
            m_toolBar1070 = bar;
            break;
        case 1071:
            m_toolBar1071 = bar;
            break;
        default:
            break;
        }
    }
    return true;
}

bool CFrameToolsEngine::CreateSystemPanelToolBar() {
    CXTPCommandBars* bars = m_mainFrame->GetCommandBars();
    if (bars == nullptr)
        return false;
    CXTPToolBar* bar =
        bars->Add(DVLoadString(kSystemPanelCaption).c_str(), xtpBarTop, GetSystemPanelToolBarClass());
    if (bar == nullptr)
        return false;
    RegisterSystemPanelControls(*bar);
    bar->EnableDocking(kSystemPanelDocking);
    bar->EnableCustomization(FALSE);
    bar->SetBarID(kSystemPanelToolBarId);
    if (GetApplicationModeCode() == 256)
        bar->SetVisible(FALSE);
    m_systemPanelToolBar = bar;
    return true;
}
