// The forms toolkit: controls made by string id and put into a form view, which a window
// hosts or a modal dialog shows with its buttons. A view's id is the translation key of its
// title; a control's full id is "<view>.<control>". Programmatic changes run with the control's
// user events suppressed, so that handlers only hear the person.
#pragma once

#include "pal/visibility.h"
#include "win/controls/commctrl.h"
#include "win/types.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CWnd;

namespace dvpf {

// What mutes a control's user events while the program changes it.
class EventHost {
public:
    // Suppresses the host's user events while it lives; nests.
    class SuppressUserEvents {
    public:
        explicit SuppressUserEvents(EventHost& host) : host_(host) { ++host_.suppressed_; }
        ~SuppressUserEvents() { --host_.suppressed_; }
        SuppressUserEvents(const SuppressUserEvents&) = delete;
        SuppressUserEvents& operator=(const SuppressUserEvents&) = delete;

    private:
        EventHost& host_;
    };
    bool AreUserEventsSuppressed() const { return suppressed_ > 0; }

private:
    int suppressed_ = 0;
};

class WpfDockFormView;

// A control of a form: its id, its window once the view made it, and how tall it wants to be.
class Control : public EventHost {
public:
    explicit Control(std::wstring id) : id_(std::move(id)) {}
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::wstring& GetId() const { return id_; }
    // "<view id>.<control id>" once the control is in a view; the control id before.
    std::wstring GetFullId() const;
    HWND GetHwnd() const { return hwnd_; }
    // Pixels; 0: the control takes the height left over.
    virtual int GetPreferredHeight() const = 0;

protected:
    friend class WpfDockFormView;
    virtual HWND CreateWindowIn(HWND parent, int controlId) = 0;
    // What the control's window tells its parent.
    virtual void OnCommand(WORD) {}
    virtual LRESULT OnNotify(const NMHDR&) { return 0; }
    void SetHwnd(HWND hwnd) { hwnd_ = hwnd; }

private:
    std::wstring id_;
    HWND hwnd_ = nullptr;
    const WpfDockFormView* view_ = nullptr;
};

// One line of text the person types.
class CompoundStringControl : public Control {
public:
    static std::shared_ptr<CompoundStringControl> Create(std::wstring id);
    explicit CompoundStringControl(std::wstring id) : Control(std::move(id)) {}

    std::wstring GetText() const;
    void SetText(const std::wstring& text);
    // Explode mode 0 keeps the text on one line; other modes are not used.
    void SetExplodeMode(int mode) { explodeMode_ = mode; }
    int GetPreferredHeight() const override;

    // The person changed the text.
    std::function<void()> OnTextChanged;

protected:
    HWND CreateWindowIn(HWND parent, int controlId) override;
    void OnCommand(WORD code) override;

private:
    std::wstring text_;
    int explodeMode_ = 0;
};

// A picture a control shows: one icon for each size it was made at. Copies share the icons,
// which go with the last copy.
class Image {
public:
    Image() = default;
    // The picture the program's images hold for a resource id (a command's icon), at each of
    // `sizes` it has; empty when it has none.
    static Image FromResourceIcon(int id, std::initializer_list<int> sizes);
    bool IsEmpty() const { return icons_ == nullptr; }
    // The icon made at `size`, else the smallest larger one, else the largest; null when empty.
    HICON GetIcon(int size) const;

private:
    struct Icons;
    std::shared_ptr<const Icons> icons_; // null when there is no picture at all
};

// A list of rows with one or more columns of text; each row may carry an id, a colour and, in
// its first column, a picture.
class SimpleListControl : public Control {
public:
    static std::shared_ptr<SimpleListControl> Create(std::wstring id);
    explicit SimpleListControl(std::wstring id) : Control(std::move(id)) {}

    void SetRowColorsEnabled(bool on) { rowColors_ = on; }
    void SetIdMappingEnabled(bool on) { idMapping_ = on; }
    void SetColumnHeadersVisible(bool visible) { headers_ = visible; }
    void SetGridLines(int value) { gridLines_ = value; }
    void SetColumnCount(int count);
    // Selection mode 0: one row at a time. Edit mode 0: cells are read-only.
    void SetSelectionMode(int mode) { selectionMode_ = mode; }
    void SetEditMode(int mode) { editMode_ = mode; }

    void RemoveAll();
    void SetRowCount(int count);
    int GetRowCount() const { return static_cast<int>(rows_.size()); }
    void SetRowColor(int row, COLORREF color);
    COLORREF GetRowColor(int row) const;
    void SetRowId(int row, std::int64_t id);
    std::int64_t GetRowId(int row) const;
    void SetData(int row, int column, const std::wstring& text);
    std::wstring GetData(int row, int column) const;
    void SetToolTip(int row, int column, std::int64_t value);
    // The picture before the row's text; the list shows pictures only in its first column.
    void SetIcon(int row, int column, const Image& image);
    ~SimpleListControl() override;
    // The selected row; none when no row is selected.
    std::optional<int> GetSelectedRow() const;
    void SelectRow(int row);
    int GetPreferredHeight() const override { return 0; }

    // A cell was double-clicked (row, column).
    std::function<void(int, int)> OnCellDoubleClicked;

protected:
    HWND CreateWindowIn(HWND parent, int controlId) override;
    LRESULT OnNotify(const NMHDR& header) override;

private:
    struct Row {
        std::int64_t id = 0;
        COLORREF color = 0;
        std::vector<std::wstring> cells;
        std::int64_t toolTip = 0;
        Image icon;
    };
    void showRows();
    // The image list of the rows' pictures, made with the first picture; the picture's index.
    int imageIndexOf(const Row& row);
    bool validRow(int row) const { return row >= 0 && row < GetRowCount(); }
    std::vector<Row> rows_;
    int columns_ = 1;
    bool rowColors_ = false;
    bool idMapping_ = false;
    bool headers_ = true;
    int gridLines_ = 0;
    int selectionMode_ = 0;
    int editMode_ = 0;
    int selected_ = -1;
    HIMAGELIST images_ = nullptr;
};

// A form: its controls stacked from the top, the last one that takes what is left filling the
// rest. Its id is the key of its title and the first part of its controls' full ids.
class WpfDockFormView {
public:
    explicit WpfDockFormView(std::wstring localisationId);
    ~WpfDockFormView();
    WpfDockFormView(const WpfDockFormView&) = delete;
    WpfDockFormView& operator=(const WpfDockFormView&) = delete;

    const std::wstring& GetLocalisationId() const { return id_; }
    void AddControl(std::shared_ptr<Control> control);
    const std::vector<std::shared_ptr<Control>>& GetControls() const { return controls_; }
    // The control that takes the keyboard focus when the form shows.
    void SetActiveControl(Control* control) { active_ = control; }
    // The controls are complete; the form may be shown.
    void FinishUiSetup() { finished_ = true; }
    bool IsUiSetUp() const { return finished_; }

    // The form's window, a child of `parent` over `rect`; its controls are made with it.
    HWND Create(HWND parent, const RECT& rect);
    HWND GetHwnd() const { return hwnd_; }
    void Layout();
    void FocusActiveControl();
    // The least size that shows every control.
    SIZE GetMinSize() const;

private:
    static LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    std::wstring id_;
    std::vector<std::shared_ptr<Control>> controls_;
    Control* active_ = nullptr;
    bool finished_ = false;
    HWND hwnd_ = nullptr;
};

// A modal dialog around a form, with buttons of the kinds 0 (accept, the default button) and
// 3 (cancel) in the order they are added.
class ModalDialog {
public:
    ModalDialog(CWnd* owner, WpfDockFormView& view, std::wstring localisationId);
    ~ModalDialog();
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    void AddButton(int kind);
    // Ends the dialog as that button would; nothing for an index without a button or while the
    // dialog is not shown.
    void PressButton(int index);
    // The kind of the button that ended the dialog; none when it was closed otherwise.
    std::optional<int> DoModal();
    HWND GetHwnd() const;

private:
    class Window;
    std::unique_ptr<Window> window_;
};

} // namespace dvpf

DV_EXPORTS_END
