// A form's dialog template, made in code from its controls and registered under its id while the
// form lives; control names map to the ids handed out in order.
#pragma once

#include "Responder.h"

#include "afxwin.h"

#include <list>
#include <memory>
#include <string>
#include <vector>

namespace stamps {

class FormTemplate {
public:
    FormTemplate(WORD id, const wchar_t* caption, short cx, short cy);

    // A control with a name the responder and the form find it by; returns its id.
    int add(const std::wstring& name, const wchar_t* cls, const std::wstring& text, DWORD style, short x,
            short y, short cx, short cy);
    // A caption that nothing refers to.
    void label(const std::wstring& text, short x, short y, short cx, short cy, DWORD align = SS_LEFT);
    // Registers the template; the form is made from it with this id.
    void seal();

    WORD id() const { return id_; }
    FormControls controls;

private:
    WORD id_;
    const wchar_t* caption_;
    short cx_, cy_;
    int nextId_ = 1000;
    std::list<std::wstring> texts_; // the items point into these
    std::vector<pal::win::DialogItem> items_;
    std::unique_ptr<pal::win::DialogTemplate> template_;
    std::unique_ptr<pal::win::DialogTemplateSet> set_;
};

inline constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
// The dialog font; the platform draws it with its user-interface face, Cyrillic included.
inline constexpr wchar_t kFormFont[] = L"MS Shell Dlg";

} // namespace stamps
