// The record of a fragment about to be inserted into a drawing: which file, where it was
// dropped, and the values its variables take. One instance serves the whole program.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <string>
#include <utility>
#include <vector>

DV_EXPORTS_BEGIN

class CFragmentVariables {
public:
    void AddVariable(const std::wstring& name, const std::wstring& value);
    void RemoveAll() { values_.clear(); }
    const std::vector<std::pair<std::wstring, std::wstring>>& GetVariables() const { return values_; }

private:
    std::vector<std::pair<std::wstring, std::wstring>> values_;
};

class CFragmentPath {
public:
    // The single instance.
    static CFragmentPath& InitInstance();

    // Both paths cleared, the held object released, the counter 0 and no variables.
    void Reset();

    std::wstring path;        // the file as given
    std::wstring libraryPath; // the file as the library names it
    POINT dropPoint{};        // screen coordinates
    void* held = nullptr;     // what the caller attached (the PDM nomenclature data)
    int counter = 0;
    CFragmentVariables variables;

private:
    CFragmentPath() = default;
};

DV_EXPORTS_END
