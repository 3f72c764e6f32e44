// The tool bars and tool-bar tabs add-ons make through the kernel, and the kernel's view of the
// docking panes it cares about.
#include "app/AppCustomToolBar.h"
#include "app/Dvw32App.h"
#include "app/ServerAppProxy.h"
#include "frame/MainFrame.h"
#include "frame/TabToolBar.h"

#include "DravikKernel/GlobalContainer.h"
#include "XTToolkitPro.h"
#include "afx/find_resource.h"
#include "win/module_resources.h"

#include <set>

namespace {

constexpr int kProductStructurePane = 1020;
constexpr int kModelTreePane = 1006;
constexpr int kPropertiesPane = 1007;
constexpr int kIconSide = 16;
// Every side and floating.
constexpr DWORD kAnyDocking = 63;

bool MayCreateTools() {
    return GlobalContainer::Instance().InAppCreateToolsMode();
}

int WidthOf(HBITMAP bitmap) {
    BITMAP info{};
    return bitmap != nullptr && ::GetObjectW(bitmap, sizeof(info), &info) != 0 ? info.bmWidth : 0;
}

int HeightOf(HBITMAP bitmap) {
    BITMAP info{};
    return bitmap != nullptr && ::GetObjectW(bitmap, sizeof(info), &info) != 0 ? info.bmHeight : 0;
}

// A bitmap resource of the program or of a loaded add-on; the caller deletes it.
HBITMAP LoadBitmapResource(UINT id) {
    const LPCWSTR name = MAKEINTRESOURCEW(id & 0xFFFF);
    return ::LoadBitmapW(AfxFindResourceHandle(name, RT_BITMAP), name);
}

// Owns the strips of one request.
struct Strips {
    HBITMAP bitmap = nullptr;
    HBITMAP hot = nullptr;
    ~Strips() {
        if (bitmap != nullptr)
            ::DeleteObject(bitmap);
        if (hot != nullptr)
            ::DeleteObject(hot);
    }
};

XTPBarPosition PositionOf(UINT dock) {
    switch (dock) {
    case 59420:
        return xtpBarLeft;
    case 59421:
        return xtpBarRight;
    case 59422:
        return xtpBarBottom;
    case 59423:
        return xtpBarFloating;
    default:
        return xtpBarTop;
    }
}

CXTPDockingPaneManager* PaneManagerOf(CMainFrame* frame) {
    return frame != nullptr ? &frame->GetPaneManager() : nullptr;
}

void ReadPaneState(int paneId, DockingPaneState& state) {
    CXTPDockingPaneManager* manager = PaneManagerOf(GetMainFrame());
    CXTPDockingPane* pane = manager != nullptr ? manager->FindPane(paneId) : nullptr;
    if (pane == nullptr)
        return;
    state.valid = true;
    state.hidden = pane->IsHidden();
    state.closed = pane->IsClosed();
    state.selected = pane->IsSelected();
    const HWND focus = ::GetFocus();
    const HWND child = pane->GetChildHwnd();
    state.focused = focus != nullptr && child != nullptr && (focus == child || ::IsChild(child, focus));
    state.floating = pane->IsFloating();
    CXTPDockingPane* properties = manager->FindPane(kPropertiesPane);
    state.sharesPropertiesContainer = properties != nullptr && !properties->IsFloating() &&
                                      properties->GetContainer() == pane->GetContainer();
}

} // namespace

CDVAppCustomToolBar* CDVAppCustomToolBar::Find(const CXTPCommandBars& bars, const std::wstring& key,
                                               const std::wstring& name) {
    for (int i = bars.GetCount() - 1; i >= 0; --i)
        if (auto* bar = dynamic_cast<CDVAppCustomToolBar*>(bars.GetAt(i));
            bar != nullptr && bar->GetAppKey() == key && bar->GetToolbarName() == name)
            return bar;
    return nullptr;
}

UINT CDVAppCustomToolBar::FreeBarId(const CXTPCommandBars& bars) {
    std::set<UINT> used;
    for (int i = 0; i < bars.GetCount(); ++i)
        if (auto* bar = dynamic_cast<CDVAppCustomToolBar*>(bars.GetAt(i)))
            used.insert(bar->GetBarID());
    for (UINT id = kFirstBarId; id <= kLastBarId; ++id)
        if (!used.contains(id))
            return id;
    return 0;
}

bool CutToolbarIcons(CXTPImageManager& images, HBITMAP bitmap, HBITMAP hotBitmap, const UINT* ids,
                     int count) {
    const int width = WidthOf(bitmap);
    // The hot icons are as many as the plain ones: a strip too narrow for one plain icon
    // gives no measure for them.
    if (width < kIconSide || ids == nullptr || count <= 0)
        return false;
    bool cut = images.SetIcons(bitmap, ids, count, CSize(kIconSide, kIconSide)) != FALSE;
    if (hotBitmap != nullptr) {
        const CSize hotSize(WidthOf(hotBitmap) / (width / kIconSide), HeightOf(hotBitmap));
        cut = hotSize.cx > 0 && images.SetIcons(hotBitmap, ids, count, hotSize, xtpImageHot) != FALSE;
    }
    return cut;
}

UINT ServerAppProxy::CreateApplicationToolbar(const std::wstring& key, const std::wstring& name,
                                              UINT bitmapId, UINT hotBitmapId, const UINT* buttons, int count,
                                              bool visible, UINT dock) {
    CMainFrame* frame = GetMainFrame();
    CXTPCommandBars* bars = frame != nullptr ? frame->GetCommandBars() : nullptr;
    if (!MayCreateTools() || bars == nullptr)
        return 0;
    if (CDVAppCustomToolBar* bar = CDVAppCustomToolBar::Find(*bars, key, name)) {
        if (!bar->IsInitialized()) {
            bar->SetButtons(buttons, count);
            bar->SetVisible(bar->GetStoredVisibility().value_or(visible));
            bar->SetInitialized(true);
        }
        return bar->GetBarID();
    }
    if (bitmapId != 0) {
        Strips strips{LoadBitmapResource(bitmapId),
                      hotBitmapId != 0 ? LoadBitmapResource(hotBitmapId) : nullptr};
        if (strips.bitmap == nullptr ||
            !CutToolbarIcons(*bars->GetImageManager(), strips.bitmap, strips.hot, buttons, count))
            return 0;
    }
    const UINT id = CDVAppCustomToolBar::FreeBarId(*bars);
    if (id == 0)
        return 0;
    auto* bar = new CDVAppCustomToolBar;
    const XTPBarPosition position = PositionOf(dock);
    if (!bars->Add(bar, name.c_str(), position))
        return 0;
    bar->EnableDocking(kAnyDocking);
    if (position == xtpBarTop)
        if (CXTPToolBar* left = bars->GetToolBar(dock))
            bars->DockRightOf(bar, left);
    bar->SetIdentity(key, name);
    bar->SetBarID(id);
    bar->SetButtons(buttons, count);
    bar->SetVisible(visible);
    bar->SetInitialized(true);
    return id;
}

UINT ServerAppProxy::CreateCustomToolbar(const std::wstring& key, const std::wstring& name,
                                         const std::vector<UINT>& buttons, bool visible) {
    CMainFrame* frame = GetMainFrame();
    CXTPCommandBars* bars = frame != nullptr ? frame->GetCommandBars() : nullptr;
    if (!MayCreateTools() || bars == nullptr)
        return 0;
    // The ribbon holds the commands; a bar of them would only repeat it.
    if (frame->IsRibbonMode())
        visible = false;
    const int count = static_cast<int>(buttons.size());
    if (CDVAppCustomToolBar* bar = CDVAppCustomToolBar::Find(*bars, key, name)) {
        if (!bar->IsInitialized()) {
            bar->SetButtons(buttons.data(), count);
            bar->SetVisible(bar->GetStoredVisibility().value_or(visible));
            bar->SetInitialized(true);
        }
        return bar->GetBarID();
    }
    const UINT id = CDVAppCustomToolBar::FreeBarId(*bars);
    if (id == 0)
        return 0;
    auto* bar = new CDVAppCustomToolBar;
    if (!bars->Add(bar, name.c_str(), xtpBarTop))
        return 0;
    bar->EnableDocking(kAnyDocking);
    bar->SetIdentity(key, name);
    bar->SetBarID(id);
    bar->SetButtons(buttons.data(), count);
    bar->SetVisible(visible);
    bar->SetInitialized(true);
    return id;
}

bool ServerAppProxy::SetToolbarIcons(const std::vector<UINT>& buttons, HBITMAP bitmap, HBITMAP hotBitmap) {
    CMainFrame* frame = GetMainFrame();
    CXTPCommandBars* bars = frame != nullptr ? frame->GetCommandBars() : nullptr;
    if (!MayCreateTools() || bars == nullptr)
        return false;
    return CutToolbarIcons(*bars->GetImageManager(), bitmap, hotBitmap, buttons.data(),
                           static_cast<int>(buttons.size()));
}

bool ServerAppProxy::IsApplicationToolbarVisible(const std::wstring& key, const std::wstring& name) {
    CMainFrame* frame = GetMainFrame();
    CXTPCommandBars* bars = frame != nullptr ? frame->GetCommandBars() : nullptr;
    CDVAppCustomToolBar* bar = bars != nullptr ? CDVAppCustomToolBar::Find(*bars, key, name) : nullptr;
    return bar != nullptr && bar->IsVisible();
}

bool ServerAppProxy::ShowApplicationToolbar(const std::wstring& key, const std::wstring& name, bool visible) {
    // Every frame that holds the bar gets it, even after one that does not.
    bool everyFrame = true;
    for (CMainFrame* frame : CDvw32App::GetMainFrames()) {
        CXTPCommandBars* bars = frame->GetCommandBars();
        CDVAppCustomToolBar* bar = bars != nullptr ? CDVAppCustomToolBar::Find(*bars, key, name) : nullptr;
        if (bar == nullptr) {
            everyFrame = false;
            continue;
        }
        bar->SetVisible(visible);
    }
    return everyFrame;
}

bool ServerAppProxy::IsToolbarVisible(UINT barId) {
    CMainFrame* frame = GetMainFrame();
    CXTPCommandBars* bars = frame != nullptr ? frame->GetCommandBars() : nullptr;
    CXTPToolBar* bar = bars != nullptr ? bars->GetToolBar(barId) : nullptr;
    return bar != nullptr && bar->IsVisible();
}

bool ServerAppProxy::AddToolbarTab(const std::wstring& caption, const std::wstring& key,
                                   const std::wstring& name, UINT bitmapId, UINT hotBitmapId,
                                   const UINT* buttons, int count) {
    CMainFrame* frame = GetMainFrame();
    CDVTabToolBar* tabs = frame != nullptr ? frame->GetTabToolBar() : nullptr;
    const auto id = Dravik::UniqueIdentifier::TryParse(key);
    if (!MayCreateTools() || tabs == nullptr || !id)
        return false;
    if (tabs->FindTab(UniqueIdentifierToGuid(*id)) != nullptr)
        return true;
    if (bitmapId != 0) {
        Strips strips{LoadBitmapResource(bitmapId),
                      hotBitmapId != 0 ? LoadBitmapResource(hotBitmapId) : nullptr};
        CXTPCommandBars* bars = frame->GetCommandBars();
        if (strips.bitmap == nullptr || bars == nullptr ||
            !CutToolbarIcons(*bars->GetImageManager(), strips.bitmap, strips.hot, buttons, count))
            return false;
    }
    return tabs->AddTab(caption.c_str(), buttons, count, *id, name, std::nullopt, true, false) != nullptr;
}

int ServerAppProxy::GetToolbarTabCount() {
    CMainFrame* frame = GetMainFrame();
    CDVTabToolBar* tabs = frame != nullptr ? frame->GetTabToolBar() : nullptr;
    return tabs != nullptr ? tabs->GetCategoryCount() : 0;
}

bool ServerAppProxy::GetToolbarTabInfo(int index, std::wstring& key, std::wstring& caption,
                                       bool& customizeVisible) {
    CMainFrame* frame = GetMainFrame();
    CDVTabToolBar* tabs = frame != nullptr ? frame->GetTabToolBar() : nullptr;
    if (tabs == nullptr || index < 0 || index >= tabs->GetCategoryCount())
        return false;
    CXTPTabManagerItem* tab = tabs->GetTabManager()->GetItem(index);
    key = UniqueIdentifierToString(GuidToUniqueIdentifier(tabs->GetGUID(tab)));
    caption = tab->GetCaption().GetString();
    customizeVisible = tab->IsVisible() != FALSE;
    return true;
}

bool ServerAppProxy::SetToolbarTabCustomizeVisible(const std::wstring& key, bool visible) {
    CMainFrame* frame = GetMainFrame();
    CDVTabToolBar* tabs = frame != nullptr ? frame->GetTabToolBar() : nullptr;
    const auto id = Dravik::UniqueIdentifier::TryParse(key);
    CXTPTabManagerItem* tab = tabs != nullptr && id ? tabs->FindTab(UniqueIdentifierToGuid(*id)) : nullptr;
    if (tab == nullptr)
        return false;
    tab->SetVisible(visible);
    tabs->UpdateTabs();
    return true;
}

void ServerAppProxy::GetProductStructurePaneState(DockingPaneState& state) {
    ReadPaneState(kProductStructurePane, state);
}

void ServerAppProxy::GetModelTreePaneState(DockingPaneState& state) {
    ReadPaneState(kModelTreePane, state);
}

bool ServerAppProxy::SetProductStructurePaneState(const DockingPaneState& state) {
    CMainFrame* frame = GetMainFrame();
    CXTPDockingPaneManager* manager = PaneManagerOf(frame);
    if (manager == nullptr)
        return false;
    CXTPDockingPane* pane = manager->FindPane(kProductStructurePane);
    if (pane == nullptr) {
        // A pane that is to stay closed or hidden is not made for that.
        if (state.closed || state.hidden)
            return false;
        manager->ShowPane(kProductStructurePane, state.focused);
        pane = manager->FindPane(kProductStructurePane);
        if (pane == nullptr)
            return false;
    }
    if (state.closed != pane->IsClosed()) {
        if (state.closed)
            pane->Close();
        else
            manager->ShowPane(pane, state.focused);
    }
    if (state.hidden != pane->IsHidden()) {
        if (state.closed)
            return true;
        if (state.hidden)
            pane->Hide();
        else
            manager->ShowPane(pane, state.focused);
    }
    if (state.closed || state.hidden)
        return true;
    if (state.selected && !pane->IsSelected())
        pane->Select();
    if (state.floating != pane->IsFloating()) {
        if (state.floating)
            manager->FloatPane(pane, pane->GetPaneWindowRect());
        else
            manager->DockPane(pane, xtpPaneDockLeft);
    }
    if (state.focused && pane->GetChildHwnd() != nullptr)
        ::SetFocus(pane->GetChildHwnd());
    return true;
}
