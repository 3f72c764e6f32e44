#include "ribbon/CommandChooserForm.h"

#include "DravikUI/Forms.h"
#include "ribbon/FindCommand.h"
#include "ribbon/FindCommandWnd.h"

#include "afxwin.h"

namespace {

constexpr COLORREF kEnabledColor = RGB(0, 0, 0);
constexpr COLORREF kDisabledColor = RGB(0x80, 0x80, 0x80);

} // namespace

CommandChooserForm::CommandChooserForm() = default;

CommandChooserForm::~CommandChooserForm() = default;

void CommandChooserForm::Build() {
    view_ = std::make_unique<dvpf::WpfDockFormView>(L"FindCommandDialog");

    filter_ = dvpf::CompoundStringControl::Create(L"Filter");
    view_->AddControl(filter_);
    view_->SetActiveControl(filter_.get());
    filter_->SetExplodeMode(0);
    filter_->OnTextChanged = [this] { Refresh(); };

    list_ = dvpf::SimpleListControl::Create(L"Commands");
    view_->AddControl(list_);
    list_->SetRowColorsEnabled(true);
    list_->SetIdMappingEnabled(true);
    list_->SetColumnHeadersVisible(false);
    list_->SetGridLines(1);
    list_->SetColumnCount(1);
    list_->SetSelectionMode(0);
    list_->SetEditMode(0);
    list_->OnCellDoubleClicked = [this](int, int) {
        if (const std::optional<int> id = GetSelectedCommandId(); id && choice_)
            choice_(*id);
    };

    Refresh();
    view_->FinishUiSetup();
}

// The chooser takes the filter as typed, without the searchable form the pane makes of it.
void CommandChooserForm::Refresh() {
    if (view_ == nullptr)
        return;
    dvpf::EventHost::SuppressUserEvents quiet(*list_);
    const std::vector<FoundCommand> found = FillCommandList(filter_->GetText());
    list_->RemoveAll();
    list_->SetRowCount(static_cast<int>(found.size()));
    FindCommandHost& host = FindCommandHost::Instance();
    CWnd* viewWindow = CWnd::FromHandle(view_->GetHwnd());
    CWnd* frame = host.GetFrameOfWindow(viewWindow);
    for (int row = 0; row < static_cast<int>(found.size()); ++row) {
        const FoundCommand& command = found[static_cast<size_t>(row)];
        const bool enabled = host.IsCommandEnabled(command.id, viewWindow, frame);
        list_->SetRowColor(row, enabled ? kEnabledColor : kDisabledColor);
        list_->SetRowId(row, command.id);
        list_->SetData(row, 0, command.text);
        list_->SetToolTip(row, 0, command.id);
        list_->SetIcon(row, 0, dvpf::Image::FromResourceIcon(command.id, {16, 32}));
    }
}

std::optional<int> CommandChooserForm::GetSelectedCommandId() const {
    if (list_ == nullptr)
        return std::nullopt;
    const std::optional<int> row = list_->GetSelectedRow();
    if (!row)
        return std::nullopt;
    return static_cast<int>(list_->GetRowId(*row));
}
