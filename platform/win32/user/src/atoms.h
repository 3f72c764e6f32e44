// Atom tables: the global one of GlobalAddAtomW, and the one behind class names and
// registered window messages.
#pragma once

#include "win/types.h"

#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace pal::win {

// A name given as MAKEINTATOM: a pointer value below 0x10000.
inline bool isIntAtom(const wchar_t* name) {
    return reinterpret_cast<ULONG_PTR>(name) < 0x10000;
}
inline ATOM intAtom(const wchar_t* name) {
    return static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
}

class AtomTable {
public:
    // 0 for an empty or over-long name, or when the table is full.
    ATOM add(std::wstring_view name);
    ATOM find(std::wstring_view name) const;
    // True when the last reference went (or for an integer atom).
    bool remove(ATOM atom);
    // Empty for an unknown atom; "#n" for an integer atom.
    std::wstring name(ATOM atom) const;
    void clear();

private:
    struct Entry {
        std::wstring name;
        int refs = 0;
    };
    mutable std::mutex mutex_;
    std::map<std::wstring, ATOM> byName_; // lower-case
    std::map<ATOM, Entry> byAtom_;
    ATOM next_ = 0xC000;
};

AtomTable& userAtoms();

} // namespace pal::win
