#include "DravikKernel/FragmentPath.h"

void CFragmentVariables::AddVariable(const std::wstring& name, const std::wstring& value) {
    for (auto& [n, v] : values_)
        if (n == name) {
            v = value;
            return;
        }
    values_.emplace_back(name, value);
}

CFragmentPath& CFragmentPath::InitInstance() {
    static CFragmentPath* instance = new CFragmentPath;
    return *instance;
}

void CFragmentPath::Reset() {
    path.clear();
    libraryPath.clear();
    dropPoint = {};
    held = nullptr;
    counter = 0;
    variables.RemoveAll();
}
