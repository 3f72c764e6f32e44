// Dates as text for controls and forms: the short date of this system's user is day, month and
// full year with dots, as the program's users write dates on drawings.
#include "win/base.h"
#include "win/error.h"

#include <string>

namespace {

constexpr wchar_t kShortDate[] = L"dd.MM.yyyy";

bool validDate(const SYSTEMTIME& d) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.wYear < 1601 || d.wYear > 30827 || d.wMonth < 1 || d.wMonth > 12 || d.wDay < 1)
        return false;
    const bool leap = (d.wYear % 4 == 0 && d.wYear % 100 != 0) || d.wYear % 400 == 0;
    return d.wDay <= kDays[d.wMonth - 1] + (d.wMonth == 2 && leap ? 1 : 0);
}

std::wstring number(unsigned value, size_t digits) {
    std::wstring text = std::to_wstring(value);
    if (text.size() < digits)
        text.insert(0, digits - text.size(), L'0');
    return text;
}

// A run of the same picture letter becomes its field; anything else is kept.
std::wstring formatted(const SYSTEMTIME& d, const std::wstring& picture) {
    std::wstring out;
    for (size_t i = 0; i < picture.size();) {
        const wchar_t c = picture[i];
        if (c == L'\'') {
            const size_t close = picture.find(L'\'', i + 1);
            out += picture.substr(i + 1, (close == std::wstring::npos ? picture.size() : close) - i - 1);
            i = close == std::wstring::npos ? picture.size() : close + 1;
            continue;
        }
        size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c)
            ++run;
        if (c == L'd' && run <= 2)
            out += number(d.wDay, run);
        else if (c == L'M' && run <= 2)
            out += number(d.wMonth, run);
        else if (c == L'y')
            out += run <= 2 ? number(d.wYear % 100, 2) : number(d.wYear, 4);
        else
            out.append(run, c);
        i += run;
    }
    return out;
}

} // namespace

int GetDateFormatW(LCID, DWORD flags, const SYSTEMTIME* date, LPCWSTR format, LPWSTR out, int size) {
    SYSTEMTIME today{};
    if (!date) {
        GetLocalTime(&today);
        date = &today;
    }
    if (!validDate(*date) || size < 0 || (format && (flags & DATE_SHORTDATE)) || (size > 0 && !out)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::wstring text = formatted(*date, format ? format : kShortDate);
    const int needed = static_cast<int>(text.size()) + 1;
    if (size == 0)
        return needed;
    if (size < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    text.copy(out, text.size());
    out[text.size()] = L'\0';
    return needed;
}
