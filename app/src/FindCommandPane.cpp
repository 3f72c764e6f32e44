#include "app/FindCommandPane.h"

#include "app/Dvw32App.h"

#include "DVTextCore/I18n.h"
#include "DravikKernel/UIModuleProxy.h"
#include "XTToolkitPro.h"
#include "frame/ControlFactory.h"
#include "frame/FindInToolBars.h"
#include "frame/MainFrame.h"
#include "ribbon/FindCommandWnd.h"

namespace dvapp {

namespace {

CMainFrame* mainFrameOf(CWnd* window) {
    if (window == nullptr)
        return nullptr;
    for (HWND h = window->m_hWnd; h != nullptr; h = ::GetParent(h))
        if (auto* frame = dynamic_cast<CMainFrame*>(CWnd::FromHandlePermanent(h)))
            return frame;
    return nullptr;
}

// Every action goes to the frame that shows the pane, which the pane hands in.
class ProgramFindCommandHost : public FindCommandHost {
public:
    explicit ProgramFindCommandHost(CDvw32App& app) : m_app(app) {}

    CWnd* GetFrameOfWindow(CWnd* window) override {
        if (CMainFrame* frame = mainFrameOf(window))
            return frame;
        return FindCommandHost::GetFrameOfWindow(window);
    }
    // Without a frame named, the frame that shows the asking window answers.
    bool IsCommandEnabled(int id, CWnd* asking, CWnd* frame) override {
        return FindCommandHost::IsCommandEnabled(id, asking, frame != nullptr ? frame : mainFrameOf(asking));
    }
    // The icons the frames' bars show, in the look in force.
    CXTPImageManagerIcon* GetCommandIcon(int id) override {
        auto* frame = dynamic_cast<CMainFrame*>(UIModuleProxy::Instance().GetActiveMainFrame());
        CXTPCommandBars* bars = frame != nullptr ? frame->GetCommandBars() : nullptr;
        if (bars != nullptr && bars->GetImageManager() != nullptr)
            if (CXTPImageManagerIcon* icon = bars->GetImageManager()->GetImage(static_cast<UINT>(id), 32))
                return icon;
        return FindCommandHost::GetCommandIcon(id);
    }
    bool IsRibbonMode(CWnd* frame) override {
        auto* main = dynamic_cast<CMainFrame*>(frame);
        return main != nullptr && main->IsRibbonMode() && main->GetRibbonBar() != nullptr;
    }
    void FindInToolBars(CWnd* frame, int id) override {
        if (auto* main = dynamic_cast<CMainFrame*>(frame))
            ::FindInToolBars(main, id);
    }
    bool AddToRibbon(CWnd* frame, int id) override {
        auto* main = dynamic_cast<CMainFrame*>(frame);
        return main != nullptr && AddCommandToRibbon(*main, id);
    }
    void ShowHelpTopic(UINT helpId) override { m_app.ShowHelpTopic(helpId); }
    bool ShowContextHelp(UINT helpId) override {
        const std::wstring file = m_app.GetHelpContextFile();
        const UINT previous = m_app.SetHelpContext(helpId, file.c_str(), 0);
        const bool shown = m_app.ShowContextHelp();
        m_app.SetHelpContext(previous, file.c_str(), 0);
        return shown;
    }
    CXTPCommandBars* GetCommandBars(CWnd* frame) override {
        auto* main = dynamic_cast<CMainFrame*>(frame);
        return main != nullptr ? main->GetCommandBars() : nullptr;
    }

private:
    CDvw32App& m_app;
};

struct Installed {
    std::unique_ptr<ProgramFindCommandHost> host;
    FindCommandHost* previous = nullptr;
    ~Installed() { FindCommandHost::Install(previous); }
};

} // namespace

bool AddCommandToRibbon(CMainFrame& frame, int id) {
    CXTPRibbonBar* ribbon = frame.GetRibbonBar();
    if (ribbon == nullptr)
        return false;
    CXTPControl* control = CreateCommandControl(id, ribbon, frame.GetControlFactoryFrame());
    if (control == nullptr)
        return false;
    CXTPRibbonTab* tab = ribbon->GetSelectedTab();
    if (tab == nullptr)
        tab = ribbon->AddTab(Dravik::I18n::Translate("panels.ribbon.new_tab").c_str());
    CXTPRibbonGroup* group = nullptr;
    if (tab != nullptr && tab->GetGroups() != nullptr) {
        CXTPRibbonGroups* groups = tab->GetGroups();
        group = groups->GetCount() > 0
                    ? groups->GetAt(groups->GetCount() - 1)
                    : groups->Add(Dravik::I18n::Translate("panels.ribbon.new_group").c_str());
    }
    if (group == nullptr) {
        control->InternalRelease();
        return false;
    }
    group->Add(control, id);
    ribbon->OnRecalcLayout();
    if (::IsWindow(ribbon->m_hWnd))
        ribbon->Invalidate();
    return true;
}

std::shared_ptr<void> InstallFindCommandPane(CDvw32App& app) {
    auto installed = std::make_shared<Installed>();
    installed->host = std::make_unique<ProgramFindCommandHost>(app);
    installed->previous = FindCommandHost::Install(installed->host.get());
    return installed;
}

} // namespace dvapp
