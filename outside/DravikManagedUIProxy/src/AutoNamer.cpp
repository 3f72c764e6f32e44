#include "DravikManagedUIProxy/DravikManagedUIProxy.h"

#include "win/controls/message_box.h"

#include <cstdio>
#include <cwchar>
#include <iterator>
#include <map>

namespace DravikManagedUIProxy {

std::wstring PresentationResourceAccessor::GetString(const wchar_t* name) {
    static const std::map<std::wstring, std::wstring> kTexts = {
        {L"ND_NamingRules", L"Naming rules"},
    };
    if (name == nullptr)
        return {};
    const auto found = kTexts.find(name);
    return found != kTexts.end() ? found->second : std::wstring();
}

std::unique_ptr<AutoNamer> AutoNamer::Create(const wchar_t* documentTitle) {
    std::wstring base = documentTitle != nullptr ? documentTitle : L"";
    if (const size_t dot = base.rfind(L'.'); dot != std::wstring::npos && dot > 0)
        base.resize(dot);
    if (base.empty())
        return nullptr;
    return std::unique_ptr<AutoNamer>(new AutoNamer(std::move(base)));
}

std::wstring AutoNamer::GetName() const {
    wchar_t number[16];
    std::swprintf(number, std::size(number), L"%03d", number_);
    return base_ + L"-" + number;
}

bool AutoNamer::ShowRulesDialog(HWND owner) {
    const std::wstring text = L"Documents are named by their title followed by a number:\n" + base_ +
                              L"-001, " + base_ + L"-002, ...\n\nThe next name is " + base_ + L"-" +
                              [this] {
                                  wchar_t next[16];
                                  std::swprintf(next, std::size(next), L"%03d", number_ + 1);
                                  return std::wstring(next);
                              }() +
                              L". Use it?";
    if (MessageBoxW(owner, text.c_str(), L"Naming rules", MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
        return false;
    ++number_;
    return true;
}

} // namespace DravikManagedUIProxy
