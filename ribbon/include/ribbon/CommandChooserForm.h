// The command chooser: a form with a filter and the list of the commands the find-command
// search gives for it, from which the person picks one command (a double click chooses).
#pragma once

#include "pal/visibility.h"

#include <functional>
#include <memory>
#include <optional>

DV_EXPORTS_BEGIN

namespace dvpf {
class CompoundStringControl;
class SimpleListControl;
class WpfDockFormView;
} // namespace dvpf

class CommandChooserForm {
public:
    CommandChooserForm();
    ~CommandChooserForm();
    CommandChooserForm(const CommandChooserForm&) = delete;
    CommandChooserForm& operator=(const CommandChooserForm&) = delete;

    // Makes the view, its filter and its list, and fills the list once.
    void Build();
    // Called with the command id of a row the person double-clicked.
    void SetChoiceCallback(std::function<void(int)> callback) { choice_ = std::move(callback); }
    // The form's view; null before it is built.
    dvpf::WpfDockFormView* GetFormView() const { return view_.get(); }
    dvpf::CompoundStringControl* GetFilter() const { return filter_.get(); }
    dvpf::SimpleListControl* GetList() const { return list_.get(); }
    // The command of the selected row; none when no row is selected.
    std::optional<int> GetSelectedCommandId() const;
    // The list again for the filter's text.
    void Refresh();

private:
    std::function<void(int)> choice_;
    std::unique_ptr<dvpf::WpfDockFormView> view_;
    std::shared_ptr<dvpf::CompoundStringControl> filter_;
    std::shared_ptr<dvpf::SimpleListControl> list_;
};

DV_EXPORTS_END
