#include "atoms.h"
#include "model.h"

#include "win/user.h"

#include "pal/text.h"

#include <cwctype>

namespace pal::win {
namespace {

constexpr size_t kMaxName = 255;

// "#123" names the integer atom 123; anything else is a string atom.
ATOM parseIntAtom(std::wstring_view name) {
    if (name.size() < 2 || name[0] != L'#' || name.size() > 6)
        return 0;
    unsigned v = 0;
    for (wchar_t c : name.substr(1)) {
        if (!std::iswdigit(static_cast<wint_t>(c)))
            return 0;
        v = v * 10 + static_cast<unsigned>(c - L'0');
    }
    return v > 0 && v < 0xC000 ? static_cast<ATOM>(v) : 0;
}

} // namespace

ATOM AtomTable::add(std::wstring_view name) {
    if (const ATOM a = parseIntAtom(name))
        return a;
    if (name.empty() || name.size() > kMaxName)
        return 0;
    std::lock_guard lock(mutex_);
    const std::wstring key = pal::text::toLower(name);
    if (auto it = byName_.find(key); it != byName_.end()) {
        ++byAtom_[it->second].refs;
        return it->second;
    }
    // Reuse a freed number when the range is used up.
    ATOM atom = next_;
    if (next_ == 0) {
        atom = 0;
        for (unsigned a = 0xC000; a <= 0xFFFF && !atom; ++a) {
            if (!byAtom_.count(static_cast<ATOM>(a)))
                atom = static_cast<ATOM>(a);
        }
        if (!atom)
            return 0;
    } else {
        next_ = next_ == 0xFFFF ? 0 : static_cast<ATOM>(next_ + 1);
    }
    byName_[key] = atom;
    byAtom_[atom] = Entry{std::wstring(name), 1};
    return atom;
}

ATOM AtomTable::find(std::wstring_view name) const {
    if (const ATOM a = parseIntAtom(name))
        return a;
    std::lock_guard lock(mutex_);
    auto it = byName_.find(pal::text::toLower(name));
    return it == byName_.end() ? 0 : it->second;
}

bool AtomTable::remove(ATOM atom) {
    if (atom > 0 && atom < 0xC000)
        return true;
    std::lock_guard lock(mutex_);
    auto it = byAtom_.find(atom);
    if (it == byAtom_.end())
        return false;
    if (--it->second.refs == 0) {
        byName_.erase(pal::text::toLower(it->second.name));
        byAtom_.erase(it);
    }
    return true;
}

std::wstring AtomTable::name(ATOM atom) const {
    if (atom > 0 && atom < 0xC000)
        return L"#" + std::to_wstring(atom);
    std::lock_guard lock(mutex_);
    auto it = byAtom_.find(atom);
    return it == byAtom_.end() ? std::wstring() : it->second.name;
}

void AtomTable::clear() {
    std::lock_guard lock(mutex_);
    byName_.clear();
    byAtom_.clear();
    next_ = 0xC000;
}

AtomTable& userAtoms() {
    static AtomTable* t = new AtomTable;
    return *t;
}

namespace {
AtomTable& globalAtoms() {
    static AtomTable* t = new AtomTable;
    return *t;
}
} // namespace

} // namespace pal::win

using pal::win::globalAtoms;
using pal::win::intAtom;
using pal::win::isIntAtom;

ATOM GlobalAddAtomW(LPCWSTR name) {
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (isIntAtom(name)) {
        const ATOM a = intAtom(name);
        if (a == 0 || a >= 0xC000)
            SetLastError(ERROR_INVALID_PARAMETER);
        return a > 0 && a < 0xC000 ? a : 0;
    }
    const ATOM a = globalAtoms().add(name);
    if (!a)
        SetLastError(ERROR_INVALID_PARAMETER);
    return a;
}

ATOM GlobalFindAtomW(LPCWSTR name) {
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (isIntAtom(name))
        return intAtom(name) < 0xC000 ? intAtom(name) : 0;
    const ATOM a = globalAtoms().find(name);
    if (!a)
        SetLastError(ERROR_FILE_NOT_FOUND);
    return a;
}

ATOM GlobalDeleteAtom(ATOM atom) {
    if (globalAtoms().remove(atom))
        return 0;
    SetLastError(ERROR_INVALID_HANDLE);
    return atom;
}

UINT GlobalGetAtomNameW(ATOM atom, LPWSTR buffer, int size) {
    const std::wstring name = globalAtoms().name(atom);
    if (name.empty()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (!buffer || size <= 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    return static_cast<UINT>(pal::win::copyText(name, buffer, size));
}

UINT RegisterWindowMessageW(LPCWSTR name) {
    if (!name || isIntAtom(name) || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // Registered messages live in 0xC000..0xFFFF; "#123" would name a system message.
    const ATOM a = pal::win::userAtoms().add(name);
    if (a < 0xC000) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return a;
}
