// The kernel lets the person choose a command: the command chooser in a modal dialog owned by
// the window the kernel names, or by the main frame.
#include "app/ServerAppProxy.h"

#include "app/Dvw32App.h"
#include "frame/MainFrame.h"

#include "DravikUI/Forms.h"
#include "ribbon/CommandChooserForm.h"

namespace {

constexpr int kAccept = 0;
constexpr int kCancel = 3;

} // namespace

std::optional<UINT> ServerAppProxy::SelectCommandId(CWnd* parent) {
    CWnd* owner = parent != nullptr ? parent : GetMainFrame();
    CommandChooserForm chooser;
    chooser.Build();
    dvpf::WpfDockFormView* view = chooser.GetFormView();
    if (view == nullptr)
        return std::nullopt;
    dvpf::ModalDialog dialog(owner, *view, L"FindCommand.Title");
    chooser.SetChoiceCallback([&dialog](int) { dialog.PressButton(0); });
    dialog.AddButton(kAccept);
    dialog.AddButton(kCancel);
    if (dialog.DoModal() != kAccept)
        return std::nullopt;
    const std::optional<int> chosen = chooser.GetSelectedCommandId();
    return chosen ? std::optional<UINT>(static_cast<UINT>(*chosen)) : std::nullopt;
}
