// The ribbon of a main frame: the library's ribbon (tabs and groups that carry GUIDs and tags)
// drawing the command bars' icons, with the PDM popup of its caption row once the frame set it up.
#pragma once

#include "DravikUI/Ribbon.h"
#include "afxwin.h"
#include "pal/visibility.h"
#include "panels/DataExchange.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <string_view>

DV_EXPORTS_BEGIN

class CDocument;
class CDvw32Doc;
class CView;

// The backstage page that prints the active document. It keeps the document it was given; its
// preview window belongs to the backstage's printing, which is not part of this program yet.
class DVRibbonBackstagePrintPage : public CWnd {
public:
    static constexpr UINT kHelpId = 102700;
    static constexpr DWORD kStyle = 0x46000000;
    static constexpr const wchar_t* kClassName = L"Dravik.RibbonBackstagePrintPage";

    ~DVRibbonBackstagePrintPage() override;

    CDvw32Doc* GetDocument() const { return m_document; }
    void SetDocument(CDvw32Doc* document) { m_document = document; }

private:
    CDvw32Doc* m_document = nullptr;
};

class DVRibbonBar : public Dravik::UI::RibbonBar {
    DECLARE_DYNCREATE(DVRibbonBar)
public:
    // The PDM popup's control id.
    static constexpr int kOrsaPopupId = 0x10000;

    // The command's icon from the command bars' images (another size when the command has none
    // of this one); none when the command has no icon.
    HICON GetControlIcon(CXTPControl* control, int size) override;

    // Null until the frame's set-up added it.
    CXTPControlPopup* GetOrsaPopup() const { return m_orsaPopup; }
    void SetOrsaPopup(CXTPControlPopup* popup) { m_orsaPopup = popup; }

    // The first library tab with the GUID (braced text form); null when none has it.
    Dravik::UI::RibbonTab* FindTabByGuid(std::wstring_view guid) const;
    // The same for a GUID; null for no ribbon.
    static Dravik::UI::RibbonTab* FindTabByGuid(CXTPRibbonBar* ribbon, const GUID& guid);

    // Every control of every group of every tab and every free control of the ribbon; with
    // `recurse` the controls inside their popups as well.
    void ForEachControl(const std::function<void(CXTPControl*)>& action, bool recurse) const;
    void ForEachGroup(const std::function<void(CXTPRibbonGroup*)>& action) const;

    // The copies of the system-panel controls (ids 904-999): reset and disabled, but 912.
    void DisableSystemPanelControls();
    void EnableControl(int id, bool enable);
    void SetControlState(int id, bool enabled, bool ticked);
    void SetControlDoubleVar(Dravik::DVDocument* document, int id, double value, std::int32_t code);
    void SetControlInt(Dravik::DVDocument* document, int id, std::int32_t value);
    void SetControlIntVar(Dravik::DVDocument* document, int id, int value, std::int32_t code);
    void SetControlValue(Dravik::DVDocument* document, int id, const std::wstring& text);
    // The value of the control with `id`: the selected tab's visible groups first, then every
    // control; none when no control has the id.
    static const SysPanelValue* GetControlData(CXTPRibbonBar* ribbon, int id);

    // The tabs the active view brings: the view's ribbon tabs first, then the others with the
    // same GUIDs; the contextual tabs of the tool kit and the other view tabs hide. The 3D tab
    // shows only for an active document. Null guids[0] means no view; twice in a row changes
    // nothing. `force` brings back tabs the person hid.
    void UpdateViewTabs(const GUID (&guids)[3], bool force, CDocument* activeDocument);
    // Tagged tabs show exactly when one of the document's keywords is among their tags.
    void UpdateContextualTabs(CDocument* document);
    // The three tab GUIDs of a view: the default tab without one.
    static void GetActiveViewRibbonTabs(CView* view, GUID (&guids)[3]);
    static const GUID kDefaultTabGuid;
    static const GUID k3DTabGuid;

    // Null while none was made and `create` is false.
    DVRibbonBackstagePrintPage* GetPrintPage(bool create);
    // While above 0, tab changes are not the person's choice.
    bool IsTabChangeSuppressed() const { return m_suppressTabChange > 0; }

    void SetBackstageTheme(int theme) { m_backstageTheme = theme; }
    int GetBackstageTheme() const { return m_backstageTheme; }

private:
    void SetValue(Dravik::DVDocument* document, int id, const SysPanelValue& value);
    void ShowViewTab(Dravik::UI::RibbonTab* tab);
    CXTPControlPopup* m_orsaPopup = nullptr;
    std::unique_ptr<DVRibbonBackstagePrintPage> m_printPage;
    int m_suppressTabChange = 0;
    bool m_noView = true;
    int m_backstageTheme = -1;
};

DV_EXPORTS_END
