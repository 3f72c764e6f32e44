#include "ribbon/FrameToolsEngine.h"

#include "FramePaneTable.h"
#include "ribbon/ApplicationMode.h"
#include "ribbon/FrameToolsApplication.h"

#include "DVDiagnostics/DVLog.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/HiddenErrors.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/ManipulatorOptions.h"
#include "DravikKernel/ModuleProxies.h"
#include "DravikKernel/View.h"
#include "DravikUI/AutoMenu.h"
#include "DravikUI/DockingPane.h"
#include "DravikUI/ExpandedFormView.h"
#include "DravikUI/GenericMainFrame.h"
#include "DravikUI/ImageLists.h"
#include "DravikUI/TabCtrl.h"
#include "DravikUI/TabView.h"
#include "DravikUI/TabbableToolBar.h"
#include "XTToolkitPro.h"
#include "panels/ManipPanel.h"
#include "panels/StatusLine.h"
#include "panels/SystemPanelStrings.h"
#include "win/system/registry.h"
#include "xtp/PaintManager.h"

#include <array>
#include <functional>
#include <utility>

using namespace dvribbon;

namespace {

constexpr UINT kEngineNameStringId = 41004;

// The default system tab of the editions that start on one.
constexpr int kSystemTabKind = 2;
constexpr GUID kManipulatorSystemTab = {
    0xCEEF5872, 0x2AAF, 0x406D, {0xAB, 0x42, 0x7E, 0xFC, 0x62, 0x80, 0x1C, 0x51}};
constexpr GUID kMode256SystemTab = {
    0x15040711, 0xB83D, 0x46FB, {0xBD, 0xF7, 0x3A, 0xC4, 0x9A, 0xCB, 0x14, 0x5E}};

// Pane-toggle commands: 782-799 and 811-826, each standing for one pane.
constexpr std::pair<UINT, int> kPaneCommands[] = {
    {782, 1003}, {783, 1004}, {784, 1005}, {785, 1006}, {786, 1017}, {787, 1012}, {788, 1013},
    {789, 1014}, {790, 1008}, {791, 1015}, {792, 1009}, {793, 1020}, {794, 1021}, {795, 1022},
    {796, 1023}, {797, 1025}, {798, 1027}, {799, 1028}, {811, 1007}, {812, 1010}, {813, 1011},
    {814, 1019}, {815, 1029}, {816, 1030}, {817, 1031}, {818, 1032}, {819, 1033}, {820, 1034},
    {821, 1035}, {822, 1036}, {823, 1038}, {824, 1039}, {825, 1040}, {826, 1041}};

CRect scaledRect(int width, int height) {
    return CRect(0, 0, CXTPDpi::ScaleX(width), CXTPDpi::ScaleY(height));
}

std::wstring paneCaption(const PaneRow& row, CWnd* window) {
    switch (row.captionSource) {
    case CaptionSource::Key:
        return Dravik::I18n::Translate(row.captionKey);
    case CaptionSource::String:
        return DVLoadString(row.captionId);
    case CaptionSource::PanelString:
        return LoadSystemPanelString(row.captionId);
    case CaptionSource::Window: {
        CString text;
        window->GetWindowText(text);
        return std::wstring(text.GetString());
    }
    }
    return {};
}

bool closedInFirstFrame(const PaneRow& row, std::uint32_t mode) {
    switch (row.closed) {
    case FirstFrameClosed::Yes:
        return true;
    case FirstFrameClosed::No:
        return false;
    case FirstFrameClosed::InMode256:
        return mode == 256;
    case FirstFrameClosed::InModes128And256:
        return mode == 128 || mode == 256;
    }
    return false;
}

// A pane whose window names it shows the window's own icon, kept under the pane's id.
void takeWindowIcon(CXTPDockingPaneManager& manager, CXTPDockingPane& pane, CWnd& window) {
    auto icon = reinterpret_cast<HICON>(window.SendMessage(WM_GETICON, ICON_SMALL, 0));
    if (icon == nullptr)
        icon = reinterpret_cast<HICON>(window.SendMessage(WM_GETICON, ICON_BIG, 0));
    if (icon != nullptr && manager.GetImageManager()->SetIcon(icon, static_cast<UINT>(pane.GetID())))
        pane.SetIconID(pane.GetID());
}

// The steady clock, read through the performance counter.
LONGLONG steadyNow() {
    LARGE_INTEGER count{};
    QueryPerformanceCounter(&count);
    return count.QuadPart;
}

// The options a person sets for every bar: keyboard cues, full menus, screen tips, the icon
// sizes and whether bitmaps follow the screen's DPI.
void copyBarOptions(const CXTPCommandBarsOptions& from, CXTPCommandBarsOptions& to) {
    to.ShowKeyboardCues(from.GetShowKeyboardCues());
    to.bAlwaysShowFullMenus = from.bAlwaysShowFullMenus;
    to.bShowFullAfterDelay = from.bShowFullAfterDelay;
    to.bToolBarScreenTips = from.bToolBarScreenTips;
    to.bToolBarAccelTips = from.bToolBarAccelTips;
    to.szIcons = from.szIcons;
    to.szLargeIcons = from.szLargeIcons;
    to.szPopupIcons = from.szPopupIcons;
    to.bDpiBitmapScaling = from.bDpiBitmapScaling;
}

void logElapsed(const char* format, LONGLONG start) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    const LONGLONG ticks = steadyNow() - start;
    const LONGLONG micros = frequency.QuadPart > 0 ? ticks * 1000000 / frequency.QuadPart : 0;
    DVLog_Write(DVLogInfo, format, static_cast<long long>(micros / 1000),
                static_cast<long long>(micros % 1000));
}

} // namespace

CFrameToolsEngine::CFrameToolsEngine() : CFrameToolsEngine(RUNTIME_CLASS(CXTPCommandBars)) {}

CFrameToolsEngine::CFrameToolsEngine(CRuntimeClass* autoMenuCommandBarsClass)
    : DravikProfileItem(L"MainFrame", DVLoadString(kEngineNameStringId).c_str()),
      m_autoMenuCommandBars(CXTPCommandBars::CreateCommandBars(autoMenuCommandBarsClass)),
      m_statusLine(std::make_unique<CStatusLine>()) {
    m_rect.SetRectEmpty();
}

CFrameToolsEngine::~CFrameToolsEngine() {
    ShowEmbeddedHelp(nullptr);
    if (m_autoMenuCommandBars != nullptr) {
        m_autoMenuCommandBars->RemoveAll();
        m_autoMenuCommandBars->InternalRelease();
    }
}

void CFrameToolsEngine::ApplyCommandBarOptions(bool recalcLayout) {
    if (m_mainFrame == nullptr || m_mainFrame->GetCommandBars() == nullptr ||
        m_autoMenuCommandBars == nullptr)
        return;
    const CXTPCommandBarsOptions& frameOptions = *m_mainFrame->GetCommandBars()->GetCommandBarsOptions();
    const SIZE appIcons = FrameToolsApplication::Instance() != nullptr
                              ? FrameToolsApplication::Instance()->GetToolBarIconSize()
                              : SIZE{24, 24};
    CXTPCommandBarsOptions& autoMenu = *m_autoMenuCommandBars->GetCommandBarsOptions();
    copyBarOptions(frameOptions, autoMenu);
    // Large icons of small bars stay at 24: the auto menu never shows them smaller.
    autoMenu.szLargeIcons =
        frameOptions.szIcons.cx <= 24 && frameOptions.szIcons.cy <= 24 ? CSize(24, 24) : frameOptions.szIcons;
    autoMenu.bLargeIcons = appIcons.cx >= 24 && appIcons.cy >= 24;
    if (Dravik::UI::FramelessToolBars* frameless = m_mainFrame->GetFramelessToolBars()) {
        CXTPCommandBarsOptions& framelessOptions = *frameless->GetCommandBarsOptions();
        copyBarOptions(autoMenu, framelessOptions);
        framelessOptions.bLargeIcons = appIcons.cx >= 32 && appIcons.cy >= 32;
        ApplyOptionsToDocumentViews(framelessOptions);
    }

    CSize icons = autoMenu.bLargeIcons ? autoMenu.szLargeIcons : autoMenu.szIcons;
    if (autoMenu.bDpiBitmapScaling)
        icons = CXTPDpi::Scale(icons);
    for (Dravik::UI::FramelessToolBar* bar :
         {m_mainFrame->GetFramelessAutoMenuToolBar(), m_mainFrame->GetFramelessViewToolBar(),
          m_mainFrame->GetEditInPlaceToolBar(), m_mainFrame->GetDrawingViewToolBar(),
          m_mainFrame->GetFeaTaskModelToolBar()})
        if (bar != nullptr)
            bar->SetIconSize(icons);
    if (recalcLayout)
        m_mainFrame->RecalcLayout();
}

void CFrameToolsEngine::ApplyOptionsToDocumentViews(const CXTPCommandBarsOptions& options) {
    CMDIChildWnd* active = m_mainFrame->MDIGetActive();
    if (active == nullptr)
        return;
    // Every document window, from the last one back, hands the options to the bars its views
    // host.
    std::function<void(HWND)> visit = [&](HWND window) {
        for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (auto* view = dynamic_cast<CDVView*>(CWnd::FromHandlePermanent(child)))
                if (CXTPCommandBars* host = view->GetToolBarHost()) {
                    copyBarOptions(options, *host->GetCommandBarsOptions());
                    host->GetCommandBarsOptions()->bLargeIcons = options.bLargeIcons;
                }
            visit(child);
        }
    };
    for (HWND frame = ::GetWindow(active->m_hWnd, GW_HWNDLAST); frame != nullptr;
         frame = ::GetWindow(frame, GW_HWNDPREV))
        visit(frame);
}

void CFrameToolsEngine::CopyShortcutsToFramelessToolBars() {
    if (m_mainFrame == nullptr || m_mainFrame->GetCommandBars() == nullptr ||
        m_mainFrame->GetFramelessToolBars() == nullptr)
        return;
    CXTPShortcutManager* source = m_mainFrame->GetCommandBars()->GetShortcutManager();
    CXTPShortcutManager* target = m_mainFrame->GetFramelessToolBars()->GetShortcutManager();
    if (source == nullptr || target == nullptr)
        return;
    CXTPPropExchangeXMLNode stored(FALSE, nullptr, L"Shortcuts");
    source->DoPropExchange(&stored);
    CXTPPropExchangeXMLNode loaded(TRUE, nullptr, L"Shortcuts");
    if (loaded.LoadFromString(stored.GetXML()))
        target->DoPropExchange(&loaded);
}

bool CFrameToolsEngine::CreateDockingPanesAndToolBars() {
    FrameToolsApplication* application = FrameToolsApplication::Instance();
    if (m_mainFrame == nullptr || application == nullptr)
        return false;
    Dravik::UI::DockingPaneManager* manager = m_mainFrame->GetDockingPaneManager();
    if (manager == nullptr || m_autoMenuCommandBars == nullptr)
        return false;
    m_autoMenuCommandBars->SetSite(m_mainFrame);
    m_autoMenuCommandBars->EnableDocking();
    m_autoMenuToolBar = static_cast<Dravik::UI::AutoMenuToolBar*>(
        m_autoMenuCommandBars->Add(Dravik::I18n::Translate("panels.automenu").c_str(), xtpBarLeft,
                                   RUNTIME_CLASS(Dravik::UI::AutoMenuToolBar)));
    if (m_autoMenuToolBar == nullptr)
        return false;
    m_autoMenuToolBar->SetVisible(TRUE);

    const LONGLONG start = steadyNow();
    std::array<std::vector<CXTPDockingPane*>, 4> groups; // Left, Bottom, BelowLeft, Right
    for (const PaneRow& row : paneTable()) {
        CWnd* window = row.window(*application);
        if (window == nullptr)
            continue;
        CRect rect = scaledRect(270, 40);
        int side = xtpPaneDockBottom;
        CXTPDockingPaneBase* neighbour = nullptr;
        switch (row.group) {
        case PaneGroup::Left:
            rect = row.ownSideRight ? scaledRect(270, 40) : scaledRect(300, 140);
            side = row.ownSideRight ? xtpPaneDockRight : xtpPaneDockLeft;
            break;
        case PaneGroup::Bottom:
            rect = scaledRect(270, row.tall ? 240 : 40);
            break;
        case PaneGroup::BelowLeft: {
            const auto& left = groups[static_cast<size_t>(PaneGroup::Left)];
            neighbour = left.empty() ? nullptr : left.front();
            break;
        }
        case PaneGroup::Right:
            side = xtpPaneDockRight;
            break;
        case PaneGroup::None:
            rect = scaledRect(300, 500);
            side = -1;
            break;
        }
        CXTPDockingPane* pane =
            Dravik::UI::CreateDockingPane(manager, row.id, paneCaption(row, window), rect, side, neighbour);
        if (pane == nullptr)
            return false;
        if (row.icon != 0)
            pane->SetIconID(row.icon);
        else if (row.captionSource == CaptionSource::Window)
            takeWindowIcon(*manager, *pane, *window);
        if (row.id == kPropertiesPane)
            pane->Attach(m_mainFrame->GetPropertiesWindowPlaceholder(true));
        if (row.group == PaneGroup::None)
            continue;
        auto& group = groups[static_cast<size_t>(row.group)];
        if (!group.empty())
            manager->AttachPane(pane, group.back());
        group.push_back(pane);
    }

    if (application->GetMainFrameCount() < 2) {
        const std::uint32_t mode = GetApplicationModeCode();
        for (const int id : firstFrameCloseOrder())
            if (CXTPDockingPane* pane = manager->FindPane(id))
                manager->ClosePane(pane);
        for (const int id : {1017, 1006, 1028})
            if (const PaneRow* row = findPaneRow(id); row != nullptr && closedInFirstFrame(*row, mode))
                if (CXTPDockingPane* pane = manager->FindPane(id))
                    manager->ClosePane(pane);
        for (const auto& group : groups)
            for (CXTPDockingPane* pane : group)
                if (!pane->IsClosed()) {
                    pane->Select();
                    break;
                }
        if (CXTPDockingPane* pane = manager->FindPane(kDrawMenuPane); pane != nullptr && !pane->IsClosed())
            pane->Select();
    } else {
        manager->CloseAll();
    }
    Dravik::UI::LoadImageListResource(Dravik::UI::kPaneIconsResource, *manager->GetImageManager());
    logElapsed("Initialized docking panes in %lld.%03lld ms", start);

    // Editions that start on a tab of their own make it the default system tab; those on the
    // manipulator tab also need the kernel's manipulator options.
    if (const std::uint32_t mode = GetApplicationModeCode(); mode == 128 || mode == 512) {
        Dravik::UI::TabbableToolBar::SetDefaultSystemToolbar(kSystemTabKind, kManipulatorSystemTab);
        CMainpulatorOptions options;
    } else if (mode == 256) {
        Dravik::UI::TabbableToolBar::SetDefaultSystemToolbar(kSystemTabKind, kMode256SystemTab);
    }
    const LONGLONG barsStart = steadyNow();
    if (!CreateDefaultToolBars())
        return false;
    if (m_tabbedMainToolBar != nullptr)
        m_tabbedMainToolBar->GetToolBar()->GetControls()->CreateOriginalControls();
    if (!CreateSystemPanelToolBar())
        return false;
    CreateManipPanelKind1();
    CreateManipPanelKind2();
    logElapsed("Initialized tool bars in %lld.%03lld ms", barsStart);
    return true;
}

void CFrameToolsEngine::CreateManipPanelKind1() {
    m_manipPanel1 = std::make_unique<CManipPanel>(1);
}

void CFrameToolsEngine::CreateManipPanelKind2() {
    m_manipPanel2 = std::make_unique<CManipPanel>(2);
}

CManipPanel* CFrameToolsEngine::GetManipPanel(int number) const {
    return number == 1 ? m_manipPanel1.get() : number == 2 ? m_manipPanel2.get() : nullptr;
}

int CFrameToolsEngine::GetPaneIdOfCommand(UINT commandId) {
    for (const auto& [command, paneId] : kPaneCommands)
        if (command == commandId)
            return paneId;
    return 0;
}

CXTPDockingPane* CFrameToolsEngine::FindPaneByCommand(UINT commandId) const {
    const int paneId = GetPaneIdOfCommand(commandId);
    if (m_mainFrame == nullptr || paneId == 0 || m_mainFrame->GetDockingPaneManager() == nullptr)
        return nullptr;
    return m_mainFrame->GetDockingPaneManager()->FindPane(paneId);
}

std::wstring CFrameToolsEngine::GetPaneCaption(int paneId) {
    FrameToolsApplication* application = FrameToolsApplication::Instance();
    const PaneRow* row = findPaneRow(paneId);
    if (row == nullptr)
        return {};
    CWnd* window = row->captionSource == CaptionSource::Window && application != nullptr
                       ? row->window(*application)
                       : nullptr;
    if (row->captionSource == CaptionSource::Window && window == nullptr)
        return {};
    return paneCaption(*row, window);
}

CWnd* CFrameToolsEngine::GetPaneWindow(int paneId) {
    FrameToolsApplication* application = FrameToolsApplication::Instance();
    const PaneRow* row = findPaneRow(paneId);
    return application == nullptr || row == nullptr ? nullptr : row->window(*application);
}

namespace {

// An open registry key that closes itself.
class OpenKey {
public:
    OpenKey(const std::wstring& path, bool create) {
        if (create)
            RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                            nullptr);
        else
            RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &m_key);
    }
    ~OpenKey() {
        if (m_key != nullptr)
            RegCloseKey(m_key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

} // namespace

std::wstring CFrameToolsEngine::GetSectionKeyPath() const {
    return DravikProfileManager::GetApplicationKey() + L"\\" + GetCurrentSection();
}

int CFrameToolsEngine::LoadState() {
    ExpandedFormView::Initialize();
    if (const int status = DravikProfileItem::LoadState(); status != 0)
        return status;
    if (m_mainFrame == nullptr)
        return 1;
    // The auto-menu and frameless bars take the frame's options before the settings reach
    // what they show; the frame lays itself out once the whole profile is loaded.
    ApplyCommandBarOptions(false);
    const std::wstring section = GetSectionKeyPath();
    if (OpenKey hidden(section + L"\\Hidden Errors", false); hidden.get() != nullptr)
        GetHiddenErrorCont().ReadProfile(hidden.get());
    if (OpenKey sectionKey(section, false); sectionKey.get() != nullptr)
        CDVTabCtrl::ReadDefaults(sectionKey.get());
    CDVTabView::UpdateAllTabViews();
    if (CDVCom_Is3D* module3D = CDVCom_Is3D::Instance())
        module3D->LoadState((section + L"\\3D").c_str());
    ExpandedFormView::LoadState((section + L"\\ExpandedDialog").c_str());
    if (AnnotateModuleProxy* annotate = AnnotateModuleProxy::Instance())
        annotate->LoadState((section + L"\\2D").c_str());
    return 0;
}

int CFrameToolsEngine::SaveState() {
    const int status = DravikProfileItem::SaveState();
    if (m_mainFrame == nullptr)
        return status;
    const std::wstring section = GetSectionKeyPath();
    if (OpenKey hidden(section + L"\\Hidden Errors", true); hidden.get() != nullptr)
        GetHiddenErrorCont().WriteProfile(hidden.get());
    if (OpenKey sectionKey(section, true); sectionKey.get() != nullptr)
        CDVTabCtrl::SaveDefaults(sectionKey.get());
    if (CDVCom_Is3D* module3D = CDVCom_Is3D::Instance())
        module3D->SaveState((section + L"\\3D").c_str());
    ExpandedFormView::SaveState((section + L"\\ExpandedDialog").c_str());
    if (AnnotateModuleProxy* annotate = AnnotateModuleProxy::Instance())
        annotate->SaveState((section + L"\\2D").c_str());
    return status;
}

void CFrameToolsEngine::GetStateData(unsigned flags, std::vector<std::wstring>& keyPaths) const {
    const std::wstring section = GetCurrentSection();
    keyPaths.push_back(section + L"\\Hidden Errors");
    keyPaths.push_back(section + L"\\PagesTabCtrl");
    keyPaths.push_back(section + L"\\ExpandedDialog");
    if ((flags & 3) != 0)
        keyPaths.push_back(section + L"\\2D");
    if ((flags & 13) != 0)
        keyPaths.push_back(section + L"\\3D");
}
