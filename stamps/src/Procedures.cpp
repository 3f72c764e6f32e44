#include "Procedures.h"

#include "Layouts.h"
#include "Settings.h"

#include <charconv>
#include <cwctype>

namespace stamps {

std::wstring emptyForQuotes(const std::wstring& expression) {
    return expression == L"\"\"" ? std::wstring() : expression;
}

std::wstring GetStr(const std::wstring& text) {
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"')
        return text.substr(1, text.size() - 2);
    return text;
}

std::int16_t GetCountSymb(const std::wstring& text, const std::wstring& symbol) {
    std::int16_t count = 0;
    if (symbol.empty())
        return count;
    for (wchar_t c : text)
        if (c == symbol.front())
            ++count;
    return count;
}

namespace {

// The whole text as a whole number, blanks around it allowed.
bool wholeNumber(const std::wstring& text, long& value) {
    size_t from = 0, to = text.size();
    while (from < to && std::iswspace(text[from]))
        ++from;
    while (to > from && std::iswspace(text[to - 1]))
        --to;
    if (from == to)
        return false;
    std::string ascii;
    for (size_t i = from; i < to; ++i) {
        if (text[i] > 0x7F)
            return false;
        ascii += static_cast<char>(text[i]);
    }
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    return error == std::errc() && end == ascii.data() + ascii.size();
}

} // namespace

std::vector<std::wstring> LoadComboHistory(const std::wstring& control, std::wstring* why) {
    const std::wstring stored = GetSetting(kSettingsApp, control, L"Count", L"0");
    long count = 0;
    if (!wholeNumber(stored, count)) {
        if (why)
            *why = L"is read as empty: the stored count \"" + stored + L"\" is not a number";
        return {};
    }
    if (count > kMostHistoryEntries) {
        if (why)
            *why = L"is read as its first " + std::to_wstring(kMostHistoryEntries) +
                   L" entries: the stored count is " + stored;
        count = kMostHistoryEntries;
    }
    std::vector<std::wstring> items;
    for (long i = 0; i < count; ++i)
        items.push_back(GetSetting(kSettingsApp, control, std::to_wstring(i), L""));
    return items;
}

void SaveComboHistory(const std::wstring& control, const std::vector<std::wstring>& items) {
    SaveSetting(kSettingsApp, control, L"Count", std::to_wstring(items.size()));
    for (size_t i = 0; i < items.size(); ++i)
        SaveSetting(kSettingsApp, control, std::to_wstring(i), items[i]);
}

double storedTwips(const std::wstring& key) {
    const std::wstring text = GetSetting(kSettingsApp, L"Settings", key, L"500");
    std::string ascii;
    for (wchar_t c : text)
        ascii += c < 0x80 ? static_cast<char>(c) : '?';
    double value = 500;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    return error == std::errc() && end == ascii.data() + ascii.size() ? value : 500;
}

void storeTwips(const std::wstring& key, double twips) {
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, static_cast<float>(twips));
    SaveSetting(kSettingsApp, L"Settings", key,
                error == std::errc() ? std::wstring(text, end) : std::wstring(L"500"));
}

} // namespace stamps
