// The system-panel controls that the main frame's control factory makes for their fixed command
// ids. They keep what they are made with; the values they show come from the running command.
#pragma once

#include "XTToolkitPro.h"
#include "pal/visibility.h"
#include "panels/DataExchange.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace Dravik {
class LAYER;
}

DV_EXPORTS_BEGIN

class CColorSelectDialog;

// The colour that new elements get, or that the selected objects share, shown as a swatch; its
// value record's Integer is the colour word of the graphics library's colour table.
class CColorPopupControl : public dvui::SystemPanelControlBase<CXTPControlPopup> {
public:
    CColorPopupControl();
    ~CColorPopupControl() override;

    std::uint32_t GetColor() const { return static_cast<std::uint32_t>(m_value.Integer); }

    void Draw(CDC* pDC) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    // A double click anywhere on the control drops the colours too.
    BOOL OnLButtonDblClk(CPoint point) override;
    CXTPControl* Clone(BOOL bRecursive = FALSE) override;

    // The colour is kept across commands.
    void Reset() override {}
    void SetValue(Dravik::DVDocument* document, const SysPanelValue& value) override;
    const SysPanelValue* GetValue() override { return &m_value; }
    void CopyValueFrom(const IDataExchange& source) override;
    void OnApplicationEvent(int event, ApplicationEventArgs& args) override;

    void ShowColorDialog();
    CColorSelectDialog* GetColorDialog() const { return m_dialog; }
    // Closes the drop-down; a colour other than the shown one is taken and, with `apply`, goes
    // to the selection, the document's defaults or the running command.
    void SelectColor(std::uint32_t color, bool apply);
    void CloseColorDialog();
    void ApplyColor();

private:
    void takeColor(std::uint32_t color);

    SysPanelValue m_value;
    CColorSelectDialog* m_dialog = nullptr;
};

class CMaterialPopup : public CXTPControlPopup {
public:
    explicit CMaterialPopup(bool withNone) : m_withNone(withNone) { SetType(xtpControlButtonPopup); }
    bool WithNone() const { return m_withNone; }

private:
    bool m_withNone;
};

// A numeric edit of the system panel: its name, its kind of value and the value shown before
// the command gives one; some carry the ids of a range of related commands.
class CSyspanelEdit : public dvui::SystemPanelControlBase<CXTPControlEdit> {
public:
    CSyspanelEdit(const wchar_t* name, int kind, double initial);
    CSyspanelEdit(const wchar_t* name, int kind, double initial, int rangeFirst, int rangeLast);
    const std::wstring& GetName() const { return m_name; }
    int GetKind() const { return m_kind; }
    double GetInitialValue() const { return m_initial; }
    int GetRangeFirst() const { return m_rangeFirst; }
    int GetRangeLast() const { return m_rangeLast; }

    void Reset() override;
    void SetValue(Dravik::DVDocument* document, const SysPanelValue& value) override;
    const SysPanelValue* GetValue() override { return &m_value; }
    void CopyValueFrom(const IDataExchange& source) override;
    void OnApplicationEvent(int event, ApplicationEventArgs& args) override;
    // A copy (a collapsed tab's, say) is an edit of the same parameter, its value not taken.
    CXTPControl* Clone(BOOL bRecursive = FALSE) override;

private:
    std::wstring m_name;
    int m_kind;
    double m_initial;
    SysPanelValue m_value;
    int m_rangeFirst = 0;
    int m_rangeLast = 0;
};

class CStaticImageControl : public CXTPControlLabel {
public:
    explicit CStaticImageControl(int imageId) : m_imageId(imageId) { SetIconId(imageId); }
    int GetImageId() const { return m_imageId; }

private:
    int m_imageId;
};

class CLayerSelectDialog;
class LCSSelectDialog;

// The layer that new elements get, or that the selected objects share: its name, its states'
// icons and its colour, with a drop-down of the drawing's layers. Its value record's Integer is
// the layer's id in the drawing, -1 for none.
class CLayerPopupControl : public dvui::SystemPanelControlBase<CXTPControlPopup> {
public:
    CLayerPopupControl();
    ~CLayerPopupControl() override;

    std::int32_t GetLayer() const { return m_value.Integer; }
    CRect GetDialogRect() const { return m_dialogRect; }
    CLayerSelectDialog* GetLayerDialog() const { return m_dialog; }

    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    CXTPControl* Clone(BOOL bRecursive = FALSE) override;

    void Reset() override;
    void SetValue(Dravik::DVDocument* document, const SysPanelValue& value) override;
    const SysPanelValue* GetValue() override { return &m_value; }
    void CopyValueFrom(const IDataExchange& source) override;
    void OnApplicationEvent(int event, ApplicationEventArgs& args) override;

    void ShowLayerDialog();
    // What the drop-down picked (its window size given): a layer's id, or -1 for a new layer.
    void LayerPicked(std::int64_t id, CSize dialogSize);
    // Enter in the drop-down: the layer is taken and applied, the drop-down stays.
    void LayerConfirmed(std::int64_t id);
    void CloseLayerDialog();
    // Sends the layer to the selection, or to the defaults and the running command, and shows
    // it in every copy.
    void ApplyLayer();
    // Where the layer's state icons go from x on, 15 pixels each, up to the right edge: each
    // icon's id (0 for the colour swatch) and left edge. None after the first that does not fit.
    static std::vector<std::pair<int, int>> IconPlaces(const Dravik::LAYER& layer, int x, int right);

private:
    bool takeLayer(std::int32_t layer);
    void newLayer();

    SysPanelValue m_value{0.0, -1, -1, L""};
    CLayerSelectDialog* m_dialog = nullptr;
    CRect m_dialogRect;
};

// The local coordinate system the running command uses, -1 for the page's own, with a
// drop-down of the active page's coordinate systems. The value goes only to the command.
class LCSPopupControl : public CXTPControlPopup, public IDataExchange {
public:
    LCSPopupControl();
    ~LCSPopupControl() override;

    std::int32_t GetLCS() const { return m_value.Integer; }
    CRect GetDialogRect() const { return m_dialogRect; }
    void SetDialogSize(CSize size);
    LCSSelectDialog* GetLCSDialog() const { return m_dialog; }

    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    CXTPControl* Clone(BOOL bRecursive = FALSE) override;

    void Reset() override;
    void SetValue(Dravik::DVDocument* document, const SysPanelValue& value) override;
    const SysPanelValue* GetValue() override { return &m_value; }
    void CopyValueFrom(const IDataExchange& source) override;

    void ShowLCSDialog();
    // Takes a value the person chose and tells the frame and every copy; below -1 asks the
    // frame to choose again (command 2875) and keeps -1.
    void SetLCS(std::int32_t value);
    void CloseLCSDialog();

private:
    SysPanelValue m_value{0.0, -1, -1, L""};
    LCSSelectDialog* m_dialog = nullptr;
    CRect m_dialogRect;
};

class CFontComboBox : public dvui::SystemPanelControlBase<CXTPControlComboBox> {
public:
    explicit CFontComboBox(CXTPCommandBars* bars) : m_bars(bars) {}
    CXTPCommandBars* GetOwnerCommandBars() const { return m_bars; }
    // What the box lists; below 3 its text is a font's name.
    int GetKind() const { return m_kind; }
    void SetKind(int kind) { m_kind = kind; }

    void Reset() override;
    void SetValue(Dravik::DVDocument* document, const SysPanelValue& value) override;
    const SysPanelValue* GetValue() override { return &m_value; }
    void CopyValueFrom(const IDataExchange& source) override;
    void OnApplicationEvent(int event, ApplicationEventArgs& args) override;

private:
    CXTPCommandBars* m_bars;
    SysPanelValue m_value;
    int m_kind = 0;
};

DV_EXPORTS_END
