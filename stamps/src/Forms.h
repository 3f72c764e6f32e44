// The editors' forms: the main form of each program (Form1), the extra-parameters form (Form3)
// and the date picker (Form2).
#pragma once

#include "FieldProcedures.h"
#include "FormTemplate.h"
#include "Layouts.h"
#include "TitleBlockServer.h"

#include "afxcmn.h"
#include "afxwin.h"
#include "pal/responder.h"

#include <map>
#include <memory>
#include <string>

namespace stamps {

// Form2: a month calendar with "OK" and "Отмена". The tag holds the date's text: OK puts the
// chosen date there in the user's short form, "Отмена" leaves it.
class CalendarForm : public CDialog {
public:
    CalendarForm(CWnd* owner, const SYSTEMTIME& value, std::wstring tag);
    const std::wstring& tag() const { return tag_; }

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    FormTemplate form_;
    int calendar_ = 0, ok_ = 0, cancel_ = 0;
    SYSTEMTIME value_;
    std::wstring tag_;
};

// Form3: the extra parameters, made with the main form and shown only on request. Its "ОК" and
// "Отменить" both only hide it; what was typed stays for the main form's OK.
class ExtraForm : public CDialog {
public:
    // `bound` names the boxes bound to a variable; the others are shown disabled.
    ExtraForm(CWnd* owner, const std::map<std::wstring, bool>& bound);
    BOOL make();
    // Shows the form modally until one of its buttons hides it.
    void showModal();
    HWND control(const std::wstring& name) const;
    bool checked() const;
    // Sets the check box as a click would when the value changes.
    void setChecked(bool on);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void followFlag();
    FormTemplate form_;
    CWnd* owner_;
    std::map<std::wstring, bool> bound_;
    int check_ = 0, ok_ = 0, cancel_ = 0;
};

// Form1: the title block of one program over the variables of DravikCad's active document.
class MainForm : public CDialog {
public:
    MainForm(const ProgramLayout& layout, TitleBlockServer& server);
    ~MainForm() override;

    // Shows the form and runs it until OK, Cancel or its close box unloads it; the window is
    // destroyed as it was last seen.
    int run();

    // Set when a call of DravikCad failed: what the person is to be told.
    const std::string& failure() const { return failure_; }
    int personFocus() const { return personFocus_; }
    HWND control(const std::wstring& name) const;
    ExtraForm* extraForm() const { return extra_.get(); }

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    enum class Ending { Ok, Cancel, CloseBox };
    HWND fieldControl(const Field& field) const;
    void load();
    void commit();
    void unload(Ending how);
    void command(int id, int code, HWND from);
    void paintGrid();
    void datePicker(int index);
    void addPerson();
    void deletePerson();
    void fail(const ServerError& error);

    const ProgramLayout& layout_;
    TitleBlockServer& server_;
    FieldProcedures procedures_;
    FormTemplate form_;
    std::unique_ptr<ExtraForm> extra_;
    std::map<std::wstring, std::unique_ptr<CWnd>> subclassed_;
    std::wstring spravTabl_;
    int personFocus_ = 0;
    bool unloaded_ = false;
    std::string failure_;
};

} // namespace stamps
