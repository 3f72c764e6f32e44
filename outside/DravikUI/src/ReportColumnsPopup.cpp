#include "DravikUI/ReportColumnsPopup.h"

#include "xtp/PopupBar.h"
#include "xtp/ReportControl.h"

namespace Dravik::UI {

namespace {

// One column of the list: ticked while shown.
class ColumnEntry : public CXTPControlButton {
public:
    explicit ColumnEntry(CXTPReportColumn* column) : column_(column) {
        SetCaption(column->GetCaption());
        SetChecked(column->IsVisible());
        SetFlags(xtpFlagManualUpdate);
    }
    void OnExecute() override {
        CXTPControlButton::OnExecute();
        column_->SetVisible(!column_->IsVisible());
        if (CXTPReportControl* report = column_->GetControl(); report && report->GetSafeHwnd())
            report->Invalidate();
    }

private:
    CXTPReportColumn* column_;
};

} // namespace

ReportColumnsPopup::ReportColumnsPopup() {
    m_controlType = xtpControlPopup;
    CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(nullptr);
    SetCommandBar(bar);
    bar->InternalRelease();
}

void ReportColumnsPopup::FillPopup() {
    CXTPCommandBar* bar = GetCommandBar();
    if (bar == nullptr)
        return;
    CXTPControls* controls = bar->GetControls();
    controls->RemoveAll();
    for (CXTPReportColumn* column : GetColumns())
        if (column != nullptr && column->IsShowInFieldChooser())
            controls->Add(new ColumnEntry(column));
}

BOOL ReportColumnsPopup::OnSetPopup(BOOL bPopup) {
    if (bPopup)
        FillPopup();
    return CXTPControlPopup::OnSetPopup(bPopup);
}

} // namespace Dravik::UI
