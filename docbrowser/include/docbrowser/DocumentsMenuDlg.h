// The documents browser's panel: the window of the Documents pane with its two tool bars (the
// configurations' and find) over the structure, the view state it keeps, its two display
// switches, its clients and the preview it shows the selected row in.
#pragma once

#include "docbrowser/BrowserViewState.h"
#include "docbrowser/DocumentsStructure.h"

#include "DravikKernel/ApplicationEvents.h"
#include "DravikUI/DockingPane.h"
#include "DravikUI/SimpleSplitter.h"
#include "xtp/FrameWnd.h"

#include <memory>

#include "pal/visibility.h"

#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace DocumentsMenu {

class ComboBoxFind;
class OpenOrsaConfigurationButton;

// Event 1043: the program's options changed; the panel's bars take them again.
class DocumentsMenuDlg : public CXTPCommandBarsSiteBase<Dravik::UI::DockingPaneChildWindow>,
                         public TypedApplicationEventListener<1043> {
public:
    struct IClient {
        virtual void OnShowHiddenChanged() = 0;
        virtual void OnShowExcludedChanged() = 0;
        virtual void OnDocumentHiddenChanged(ILibrary* library, const std::wstring& name) = 0;
        virtual void OnLibrariesGroupHiddenChanged(ILibrariesGroup* group) = 0;
        virtual void OnLibraryHiddenChanged(ILibrary* library) = 0;

    protected:
        ~IClient() = default;
    };

    DocumentsMenuDlg();
    ~DocumentsMenuDlg() override;

    // Where the preview stands: hidden, beside the structure or under it.
    enum class SplitMode { None = 0, Horizontal = 1, Vertical = 2 };
    SplitMode GetSplitMode() const;
    // False when the mode is the current one.
    bool SetSplitMode(SplitMode mode);
    Dravik::UI::SimpleSplitter& GetSplitter() { return splitter_; }
    DocumentsMenuDlg(const DocumentsMenuDlg&) = delete;
    DocumentsMenuDlg& operator=(const DocumentsMenuDlg&) = delete;

    bool IsShowExcluded() const { return showExcluded_; }
    // False when unchanged; otherwise the clients hear it.
    bool SetShowExcluded(bool show);
    bool IsShowHidden() const { return structure_.IsShowHidden(); }
    bool SetShowHidden(bool show);
    // The structure's tree (false) or flat list of libraries (true).
    bool ShowLibrariesList(bool list) { return structure_.ShowLibrariesList(list); }
    bool IsLibrariesListShown() const { return structure_.IsLibrariesListShown(); }
    DocumentsStructure& GetStructure() { return structure_; }
    // The preview follows the structure: it reveals the object's row.
    void SelectLibrariesGroup(ILibrariesGroup* group) { structure_.SelectLibrariesGroup(group); }
    void SelectLibrary(ILibrary* library) { structure_.SelectLibrary(library); }

    // A configuration is a libraries group here. Null objects answer false.
    bool IsLibrariesGroupExpanded(const ILibrariesGroup* group) const {
        return state_.IsGroupExpanded(group);
    }
    bool IsLibraryExpanded(const ILibrary* library) const { return state_.IsLibraryExpanded(library); }
    bool IsLibrariesGroupHidden(const ILibrariesGroup* group) const { return state_.IsGroupHidden(group); }
    bool IsLibraryHidden(const ILibrary* library) const { return state_.IsLibraryHidden(library); }
    bool IsDocumentHidden(const ILibrary* library, const std::wstring& name) const {
        return state_.IsDocumentHidden(library, name);
    }
    bool HasHiddenItems() const { return state_.HasHiddenItems(); }
    // Rows record their expansion without telling anyone.
    void SetLibrariesGroupExpanded(const ILibrariesGroup* group, bool state) {
        state_.SetGroupExpanded(group, state);
    }
    void SetLibraryExpanded(const ILibrary* library, bool state) {
        state_.SetLibraryExpanded(library, state);
    }
    // Hiding tells every client, changed or not.
    void SetLibrariesGroupHidden(ILibrariesGroup* group, bool hidden);
    void SetLibraryHidden(ILibrary* library, bool hidden);
    void SetDocumentHidden(ILibrary* library, const std::wstring& name, bool hidden);

    void AddClient(IClient* client);
    void RemoveClient(IClient* client);

    // The preview shows the selected row's object; without a visible preview these do nothing.
    void ShowConfiguration(IConfiguration* configuration);
    void ShowLibrariesGroup(ILibrariesGroup* group);
    void ShowLibrary(ILibrary* library);
    void ShowDocument(ILibrary* library, const std::wstring& name);
    void ClearPreview();

    BrowserViewState& GetViewState() { return state_; }

    // The bars: the configurations' (new, open, PDM, collapse, columns) and the search bar.
    CXTPToolBar* GetConfigurationToolBar() const { return configurationBar_; }
    CXTPToolBar* GetSearchToolBar() const { return searchBar_; }
    ComboBoxFind* GetFindBox() const { return findBox_; }
    OpenOrsaConfigurationButton* GetOrsaButton() const { return orsaButton_; }
    void ShowSearchToolBar(bool show);
    // The preview's icon size as last taken from a visible preview or loaded.
    int GetIconSize() const { return iconSize_; }

    // "ShowSearchToolBar", "State" (the view state), "ShowExcluded", the structure's
    // "ShowHidden", "Tree" and "List", the splitter's keys and "IconSize"; loading sets the
    // switch without telling anyone and the structure fills again.
    BOOL DoPropExchange(CXTPPropExchange* pPX, CXTPDockingPane* pane) override;
    using Dravik::UI::DockingPaneChildWindow::DoPropExchange;
    void OnAttachedToPane(CXTPDockingPane* pane) override;
    void OnToBeDetachedFromPane(CXTPDockingPane* pane) override;
    // The program's theme number: the bar between the panes takes its control look, both views
    // its report look, and every picture its light or dark set.
    void SetTheme(int theme, CXTPDockingPane* pane) override;
    using Dravik::UI::DockingPaneChildWindow::SetTheme;
    void OnApplicationEvent(int event, ApplicationEventArgs& args) override;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    // The bars' controls follow the program at idle time (the PDM button shows with the work mix).
    LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    template <class F> void TellClients(F&& f);
    bool CreateToolBars();
    // The bars at the top, the splitter in what they leave.
    void RepositionBars();
    // The preview while the splitter shows it.
    class PreviewWnd* VisiblePreview() const;

    Dravik::UI::SimpleSplitter splitter_;
    DocumentsStructure structure_;
    std::unique_ptr<class PreviewWnd> preview_;
    BrowserViewState state_;
    bool showExcluded_ = false;
    int iconSize_ = 32;
    std::vector<IClient*> clients_;
    CXTPToolBar* configurationBar_ = nullptr;
    CXTPToolBar* searchBar_ = nullptr;
    ComboBoxFind* findBox_ = nullptr;
    OpenOrsaConfigurationButton* orsaButton_ = nullptr;
};

} // namespace DocumentsMenu

DV_EXPORTS_END
