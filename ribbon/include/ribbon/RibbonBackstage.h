// The backstage the ribbon's File button opens: the view with its tabs and commands down the
// left side, and the pages the ribbon makes for its tabs (print, recent files, new document,
// export to a file or into the PDM system). A page that is shown points the context help at
// its own topic.
#pragma once

#include "DravikKernel/ApplicationEvents.h"
#include "DravikManagedUIProxy/Controllers.h"
#include "XTToolkitPro.h"
#include "pal/visibility.h"

#include <memory>
#include <set>

DV_EXPORTS_BEGIN

class CDvw32Doc;
class HelpIDModifier;
namespace Dravik::Print {
class PrintDrawingContext;
}

class RibbonBackstageView : public CXTPRibbonBackstageView {
    DECLARE_DYNCREATE(RibbonBackstageView)
public:
    // The backstage tab and the backstage command that share this id: the kernel's settings
    // choose which of the two shows.
    static constexpr UINT kTabOrCommandId = 1027;

    // Opens only for the ribbon's File button: hides the frame's visible floating panes and
    // floating tool bars while it covers the frame.
    BOOL Popup(CXTPControlPopup* pSystemButton) override;
    // Closing shows again what opening hid, as far as it still exists, and lets the print page
    // give up its preview.
    void OnCancel() override;
    const std::set<HWND>& GetHiddenWindows() const { return m_hidden; }

private:
    void HideFloatingWindows();
    std::set<HWND> m_hidden;
};

// A page of the ribbon's own: painted in the backstage theme's page colours (section
// "CommandBars.Ribbon.Backstage"), as the tool kit's pages are.
class DVRibbonBackstagePage : public CXTPRibbonBackstagePage {
public:
    explicit DVRibbonBackstagePage(UINT templateId = 0) : CXTPRibbonBackstagePage(templateId) {}
};

// A page whose help topic is the context help while it shows.
class DVRibbonHelpChangingBackstagePage : public DVRibbonBackstagePage {
public:
    explicit DVRibbonHelpChangingBackstagePage(UINT helpId, UINT templateId = 0);
    ~DVRibbonHelpChangingBackstagePage() override;
    UINT GetHelpId() const { return m_helpId; }
    bool IsHelpActive() const { return m_help != nullptr; }
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

protected:
    UINT m_helpId;
    std::unique_ptr<HelpIDModifier> m_help;
};

// The page that previews the print of the active document (or of a drawing context the kernel
// handed over); the preview is made when the page shows and goes when what it shows changes.
class DVRibbonBackstagePrintPage : public DVRibbonHelpChangingBackstagePage {
public:
    static constexpr UINT kHelpId = 102700;
    static constexpr DWORD kStyle = 0x46000000;
    static constexpr DWORD kPreviewStyle = 0x56000000;
    static constexpr const wchar_t* kClassName = L"Dravik.RibbonBackstagePrintPage";

    DVRibbonBackstagePrintPage();
    ~DVRibbonBackstagePrintPage() override;
    // A child of `parent` of the page's own window class.
    bool CreatePage(CWnd* parent);

    CDvw32Doc* GetDocument() const { return m_document; }
    void SetDocument(CDvw32Doc* document);
    const std::shared_ptr<Dravik::Print::PrintDrawingContext>& GetDrawingContext() const { return m_context; }
    void SetDrawingContext(std::shared_ptr<Dravik::Print::PrintDrawingContext> context);
    CWnd* GetPrintWindow() const { return m_printWindow.get(); }
    // The preview and the drawing context go (the backstage closed).
    void ReleasePrintWindow();
    BOOL OnSetActive() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void DestroyPrintWindow();
    CDvw32Doc* m_document = nullptr;
    std::shared_ptr<Dravik::Print::PrintDrawingContext> m_context;
    std::unique_ptr<CWnd> m_printWindow;
};

// A page whose window is a control of the managed user interface, made by the page.
class DVRibbonManagedBackstagePage : public DVRibbonHelpChangingBackstagePage {
public:
    using DVRibbonHelpChangingBackstagePage::DVRibbonHelpChangingBackstagePage;
    // Destroys the managed control and lets go of it; false when there was none.
    BOOL DestroyWindow() override;

protected:
    virtual void DestroyControl(HWND control) = 0;
};

class DVRibbonNewDocumentBackstagePage : public DVRibbonManagedBackstagePage {
public:
    static constexpr UINT kHelpId = 106500;
    // Makes the prototypes control as a hidden child of `parent`.
    explicit DVRibbonNewDocumentBackstagePage(CWnd* parent);
    ~DVRibbonNewDocumentBackstagePage() override;
    // Nothing before the control exists; the folder is then taken when the page shows next.
    void SetPrototypeFolder(const wchar_t* folder, bool refresh);
    bool IsFolderSet() const { return m_folderSet; }
    void SetTheme(int theme) override;
    BOOL OnSetActive() override;
    // The managed control's theme type for a page theme and a background colour.
    static int PrototypesThemeType(int pageTheme, COLORREF background);

protected:
    void DestroyControl(HWND control) override;

private:
    bool m_folderSet = false;
};

class DVRibbonExportBackstagePageBase : public DVRibbonManagedBackstagePage,
                                        public TypedApplicationEventListener<1034>,
                                        public DravikManagedUIProxy::IExportCallback {
public:
    DVRibbonExportBackstagePageBase(CWnd* parent, UINT helpId, bool toOrsa);
    ~DVRibbonExportBackstagePageBase() override;
    bool AreFiltersLoaded() const { return m_filtersLoaded; }
    void SetTheme(int theme) override;
    BOOL OnSetActive() override;
    void OnApplicationEvent(int event, ApplicationEventArgs& args) override;
    void OnExportFormatChosen(int formatIndex) override;

protected:
    void DestroyControl(HWND control) override;

private:
    CDvw32Doc* ActiveDocument() const;
    bool m_toOrsa;
    bool m_filtersLoaded = false;
    bool m_themed = false;
};

class DVRibbonExportBackstagePage : public DVRibbonExportBackstagePageBase {
public:
    static constexpr UINT kHelpId = 103600;
    explicit DVRibbonExportBackstagePage(CWnd* parent)
        : DVRibbonExportBackstagePageBase(parent, kHelpId, false) {}
};

class DVRibbonExportOrsaBackstagePage : public DVRibbonExportBackstagePageBase {
public:
    static constexpr UINT kHelpId = 155100;
    explicit DVRibbonExportOrsaBackstagePage(CWnd* parent)
        : DVRibbonExportBackstagePageBase(parent, kHelpId, true) {}
};

// The tool kit's recent-files page, marking the files that live on the network, and telling the
// recent-file list when the person may have pinned or unpinned entries.
class RecentFilesBackstagePage : public CXTPRibbonBackstagePageRecent {
public:
    static constexpr UINT kTemplateId = 9633;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
};

// Enables a backstage tab as a command's update handler says.
class BackstageTabCmdUi : public CCmdUI {
public:
    explicit BackstageTabCmdUi(CXTPControl* tab);
    void Enable(BOOL bOn = TRUE) override;
    bool IsHandled() const { return m_handled; }

private:
    CXTPControl* m_tab;
    bool m_handled = false;
};

DV_EXPORTS_END
