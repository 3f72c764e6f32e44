// The drop-down of the system panel's colour control: the colour table's colours and the
// person's own colours in two owner-drawn lists; a click chooses, losing the activation cancels.
#pragma once

#include "DravikUI/XTPDialog.h"
#include "pal/visibility.h"
#include "xtp/ThemedControls.h"

#include <cstdint>
#include <utility>

DV_EXPORTS_BEGIN

class CColorPopupControl;
class CColorSelectDialog;

// A list of colour words, each drawn as a swatch with its name or its components.
class CColorListControl : public CXTPListBox {
public:
    explicit CColorListControl(const CColorSelectDialog& dialog) : m_dialog(dialog) {}
    void DrawItem(LPDRAWITEMSTRUCT item);
    void MeasureItem(LPMEASUREITEMSTRUCT item);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    const CColorSelectDialog& m_dialog;
    int m_remembered = -1;
};

class CColorSelectDialog : public CDravikXTPDialog {
public:
    enum { IDD = 147, IDC_STANDARD = 1014, IDC_USER = 1015, IDC_OTHER = 1016, IDC_SHOW_ALL = 1017 };
    enum { IDC_SPLITTER_CURSOR = 30981 };

    CColorSelectDialog();

    // Creates the window under `parent` for `owner`, starting from `current`.
    bool Drop(CColorPopupControl* owner, std::uint32_t current, CWnd* parent);
    void FillStandardColors();
    void FillUserColors();

    std::uint32_t GetCurrent() const { return m_current; }
    int GetNameWidth() const { return m_nameWidth; }
    int GetCount() const { return m_count; }
    bool HasUserList() const { return m_hasUserList != 0; }
    const COLORREF* GetCustomColors() const { return m_custom; }
    CColorListControl& StandardList() { return m_standard; }
    CColorListControl& UserList() { return m_user; }

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void onDeactivated();
    void onShowAllColors();
    // The system colour chooser, started from the current colour with the custom colours.
    void onOtherColor();
    void onResized(int width, int height);
    // The strip between the two lists, in client coordinates; empty without the user list.
    CRect splitterZone();
    // The standard and the user list's places, in client coordinates.
    std::pair<CRect, CRect> listRects();
    void moveLists(const CRect& standard, const CRect& user);
    bool onSplitterMessage(UINT message, WPARAM wParam, LPARAM lParam);
    int profileInt(const wchar_t* key, int fallback) const;
    void writeProfileInt(const wchar_t* key, int value) const;

    CColorPopupControl* m_owner = nullptr;
    CColorListControl m_standard{*this};
    CColorListControl m_user{*this};
    COLORREF m_custom[16] = {};
    std::uint32_t m_current = 0;
    int m_count = 0;
    int m_nameWidth = 0;
    int m_showAll = 0;
    int m_suspended = 0;
    int m_hasUserList = 1;
    int m_width = 0;
    int m_height = 0;
    int m_dragging = 0;
    CPoint m_lastPoint;
};

DV_EXPORTS_END
