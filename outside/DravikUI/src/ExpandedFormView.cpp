#include "DravikUI/ExpandedFormView.h"

#include "DravikUI/Windows.h"

#include <mutex>

namespace {

struct FormState {
    std::mutex mutex;
    bool initialized = false;
    bool themed = false;
    bool expanded = false;
    CRect rect;
};

FormState& form() {
    static FormState* s = new FormState;
    return *s;
}

constexpr struct {
    const wchar_t* name;
    LONG CRect::*side;
} kSides[] = {
    {L"Left", &CRect::left}, {L"Top", &CRect::top}, {L"Right", &CRect::right}, {L"Bottom", &CRect::bottom}};

bool readDword(HKEY key, const wchar_t* name, DWORD& value) {
    DWORD type = 0, size = sizeof value;
    DWORD read = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&read), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return false;
    value = read;
    return true;
}

void writeDword(HKEY key, const wchar_t* name, DWORD value) {
    ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

} // namespace

void ExpandedFormView::Initialize() {
    std::lock_guard lock(form().mutex);
    if (form().initialized)
        return;
    form().initialized = true;
    form().expanded = false;
    form().rect = CRect(100, 100, 420, 580);
}

bool ExpandedFormView::IsInitialized() {
    std::lock_guard lock(form().mutex);
    return form().initialized;
}

bool ExpandedFormView::LoadState(const wchar_t* keyPath) {
    Initialize();
    HKEY key = nullptr;
    if (!keyPath || ::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    std::lock_guard lock(form().mutex);
    DWORD value = 0;
    if (readDword(key, L"Expanded", value))
        form().expanded = value != 0;
    CRect rect = form().rect;
    bool complete = true;
    for (const auto& side : kSides) {
        complete = readDword(key, side.name, value) && complete;
        rect.*side.side = static_cast<LONG>(value);
    }
    ::RegCloseKey(key);
    // A rectangle is taken whole or not at all, and never empty or turned inside out.
    if (complete && rect.Width() > 0 && rect.Height() > 0) {
        Dravik::UI::EnsureIsVisible(static_cast<RECT&>(rect));
        form().rect = rect;
    }
    return true;
}

bool ExpandedFormView::SaveState(const wchar_t* keyPath) {
    HKEY key = nullptr;
    if (!keyPath || ::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                      nullptr) != ERROR_SUCCESS)
        return false;
    std::lock_guard lock(form().mutex);
    writeDword(key, L"Expanded", form().expanded ? 1 : 0);
    for (const auto& side : kSides)
        writeDword(key, side.name, static_cast<DWORD>(form().rect.*side.side));
    ::RegCloseKey(key);
    return true;
}

void ExpandedFormView::EnableTheme(bool enable) {
    std::lock_guard lock(form().mutex);
    form().themed = enable;
}

bool ExpandedFormView::IsThemeEnabled() {
    std::lock_guard lock(form().mutex);
    return form().themed;
}

bool ExpandedFormView::IsExpanded() {
    std::lock_guard lock(form().mutex);
    return form().expanded;
}

void ExpandedFormView::SetExpanded(bool expanded) {
    std::lock_guard lock(form().mutex);
    form().expanded = expanded;
}

CRect ExpandedFormView::GetFloatingRect() {
    std::lock_guard lock(form().mutex);
    return form().rect;
}

void ExpandedFormView::SetFloatingRect(const RECT& rect) {
    std::lock_guard lock(form().mutex);
    form().rect = rect;
}
