// Translation of the user-visible texts. Texts are named by keys, mostly dotted
// ("panels.main_menu"), some plain English sentences; the catalogue of the session's language
// maps them to the texts shown. A key that the catalogue lacks translates to itself, so the
// program always has something to show.
//
// Catalogue files are UTF-8 (a byte-order mark is allowed), one entry a line:
//     key = text
// The key runs to the first "="; key and text lose the blanks around them. Either side may
// instead be a double-quoted string, in which \" \\ \n \t and \r stand for themselves. Blank
// lines and lines beginning with "#" are skipped, as is any line that is not an entry; a
// repeated key keeps its first text.
#pragma once

#include "pal/visibility.h"

#include <cstdint>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

namespace Dravik::I18n {

// Replaces the catalogue with the file's entries; false (and an empty catalogue) when the
// file cannot be read.
bool LoadCatalogue(const wchar_t* path);
// Loads the catalogue of a language code ("Rus", "Eng"): "<language>.lng" in the folder
// "Translations" of the program folder. False, with an empty catalogue, when there is none or
// when the code is not a plain name (letters, digits, "_" and "-", at most 16).
bool LoadLanguage(std::wstring_view language);
// The language of the catalogue in force (empty when none was loaded by language).
std::wstring CurrentLanguage();
// A number that changes each time a catalogue is loaded, so that texts kept from the last
// one can tell they may be stale.
std::uint64_t CatalogueGeneration();

// The text of a key, or the key itself.
std::wstring Translate(std::wstring_view key);
std::wstring Translate(const wchar_t* key);
std::wstring Translate(const char* key);
// True and the text when the catalogue holds the key.
bool TryTranslate(std::wstring_view key, std::wstring& text);

// The key's text used as a wide printf format (the platform's rules: %s is wide).
std::wstring FormatTranslation(const wchar_t* key, ...);
std::wstring FormatTranslation(const char* key, ...);

} // namespace Dravik::I18n

// The program's own short names for the two it uses everywhere.
std::wstring TranslateKey(const wchar_t* key);
std::wstring TranslateKey(const char* key);
std::wstring FormatTranslatedKey(const wchar_t* key, ...);
std::wstring FormatTranslatedKey(const char* key, ...);

DV_EXPORTS_END
