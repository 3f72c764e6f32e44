// The editors' small procedures over texts and the person histories.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace stamps {

// The expression `""` stands for an empty text.
std::wstring emptyForQuotes(const std::wstring& expression);
// Strips one pair of enclosing double quotes (a text of at least two characters).
std::wstring GetStr(const std::wstring& text);
// How many characters of the text equal the one of `symbol`.
std::int16_t GetCountSymb(const std::wstring& text, const std::wstring& symbol);

// A person combo's stored history, in list order. A stored count that is not a number reads as
// no history, one past what a list holds as that many entries; `why` then says what was found.
inline constexpr long kMostHistoryEntries = 1000;
std::vector<std::wstring> LoadComboHistory(const std::wstring& control, std::wstring* why = nullptr);
// Stores the list as the role's history: its count and one key per item from "0".
void SaveComboHistory(const std::wstring& control, const std::vector<std::wstring>& items);

// A stored window edge in twips (default 500): the text of a number.
double storedTwips(const std::wstring& key);
void storeTwips(const std::wstring& key, double twips);

} // namespace stamps
