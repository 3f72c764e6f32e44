// Window classes. Classes belong to the process and are found by name without case, or by
// the atom their registration returned.
#include "atoms.h"
#include "model.h"

#include "pal/text.h"

namespace pal::win {

std::shared_ptr<WindowClass> findClass(LPCWSTR name) {
    if (!name)
        return nullptr;
    Model& m = model();
    if (isIntAtom(name)) {
        const ATOM atom = intAtom(name);
        for (auto& [key, cls] : m.classes) {
            (void)key;
            if (cls->atom == atom)
                return cls;
        }
        return nullptr;
    }
    const std::wstring key = pal::text::toLower(name);
    auto it = m.classes.find(key);
    if (it != m.classes.end())
        return it->second;
    if (key == L"mdiclient")
        return m.classes[key] = makeMdiClientClass();
    return nullptr;
}

} // namespace pal::win

using namespace pal::win;

ATOM RegisterClassExW(const WNDCLASSEXW* wc) {
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXW) || !wc->lpszClassName || !wc->lpfnWndProc ||
        wc->cbClsExtra < 0 || wc->cbWndExtra < 0 || wc->cbClsExtra > 40000 || wc->cbWndExtra > 40000) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::wstring name;
    if (isIntAtom(wc->lpszClassName)) {
        name = userAtoms().name(intAtom(wc->lpszClassName));
        if (name.empty()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    } else {
        name = wc->lpszClassName;
    }
    Lock lock = lockModel();
    const std::wstring key = pal::text::toLower(name);
    if (model().classes.count(key)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto cls = std::make_shared<WindowClass>();
    cls->name = name;
    cls->atom = userAtoms().add(name);
    if (!cls->atom) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    cls->style = wc->style;
    cls->proc = wc->lpfnWndProc;
    cls->clsExtra = wc->cbClsExtra;
    cls->wndExtra = wc->cbWndExtra;
    cls->instance = wc->hInstance;
    cls->icon = wc->hIcon;
    cls->iconSmall = wc->hIconSm;
    cls->cursor = wc->hCursor;
    cls->background = wc->hbrBackground;
    if (wc->lpszMenuName && !isIntAtom(wc->lpszMenuName)) {
        cls->menuNameText = wc->lpszMenuName;
        cls->menuName = cls->menuNameText.c_str();
    } else {
        cls->menuName = wc->lpszMenuName;
    }
    model().classes[key] = cls;
    return cls->atom;
}

ATOM RegisterClassW(const WNDCLASSW* wc) {
    if (!wc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEXW ex{sizeof(WNDCLASSEXW), wc->style,        wc->lpfnWndProc,   wc->cbClsExtra,
                   wc->cbWndExtra,      wc->hInstance,    wc->hIcon,         wc->hCursor,
                   wc->hbrBackground,   wc->lpszMenuName, wc->lpszClassName, nullptr};
    return RegisterClassExW(&ex);
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
    Lock lock = lockModel();
    auto cls = findClass(className);
    if (!cls) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (cls->windows > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    model().classes.erase(pal::text::toLower(cls->name));
    userAtoms().remove(cls->atom);
    return TRUE;
}

BOOL GetClassInfoExW(HINSTANCE, LPCWSTR className, LPWNDCLASSEXW wc) {
    if (!wc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lock lock = lockModel();
    auto cls = findClass(className);
    if (!cls) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    wc->cbSize = sizeof(WNDCLASSEXW);
    wc->style = cls->style;
    wc->lpfnWndProc = cls->proc;
    wc->cbClsExtra = cls->clsExtra;
    wc->cbWndExtra = cls->wndExtra;
    wc->hInstance = cls->instance;
    wc->hIcon = cls->icon;
    wc->hCursor = cls->cursor;
    wc->hbrBackground = cls->background;
    wc->lpszMenuName = cls->menuName;
    wc->lpszClassName = className;
    wc->hIconSm = cls->iconSmall;
    return static_cast<BOOL>(cls->atom);
}

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, LPWNDCLASSW wc) {
    WNDCLASSEXW ex{};
    if (!wc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const BOOL found = GetClassInfoExW(instance, className, &ex);
    if (found)
        *wc = WNDCLASSW{ex.style, ex.lpfnWndProc, ex.cbClsExtra,    ex.cbWndExtra,   ex.hInstance,
                        ex.hIcon, ex.hCursor,     ex.hbrBackground, ex.lpszMenuName, ex.lpszClassName};
    return found;
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int size) {
    std::wstring name;
    {
        Lock lock = lockModel();
        Window* w = findOrFail(hwnd);
        if (!w)
            return 0;
        name = w->cls->name;
    }
    if (!buffer || size <= 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    return copyText(name, buffer, size);
}
