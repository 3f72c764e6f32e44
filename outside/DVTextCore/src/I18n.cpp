#include "DVTextCore/I18n.h"

#include "pal/format.h"
#include "pal/path.h"
#include "pal/text.h"

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <unordered_map>

namespace fs = std::filesystem;

namespace Dravik::I18n {
namespace {

constexpr std::uintmax_t kMaxCatalogueBytes = 64u << 20;

struct Catalogue {
    std::shared_mutex mutex;
    std::atomic<std::uint64_t> generation{0};
    std::unordered_map<std::wstring, std::wstring> texts;
    std::wstring language;
};

Catalogue& catalogue() {
    static Catalogue* c = new Catalogue;
    return *c;
}

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == 0xFEFF;
}

void skipBlanks(std::wstring_view& s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
}

std::wstring_view trim(std::wstring_view s) {
    skipBlanks(s);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// A quoted string at the start of `s` (after blanks); consumes it. Nothing when unterminated.
std::optional<std::wstring> takeQuoted(std::wstring_view& s) {
    skipBlanks(s);
    if (s.empty() || s.front() != L'"')
        return std::nullopt;
    std::wstring out;
    for (size_t i = 1; i < s.size(); ++i) {
        wchar_t c = s[i];
        if (c == L'"') {
            s.remove_prefix(i + 1);
            return out;
        }
        if (c == L'\\' && i + 1 < s.size()) {
            c = s[++i];
            switch (c) {
            case L'n':
                c = L'\n';
                break;
            case L't':
                c = L'\t';
                break;
            case L'r':
                c = L'\r';
                break;
            default: // \" and \\ stand for themselves, as does any other escaped character
                break;
            }
        }
        out += c;
    }
    return std::nullopt;
}

std::optional<std::pair<std::wstring, std::wstring>> parseEntry(std::wstring_view line) {
    std::wstring key;
    std::wstring_view rest = line;
    skipBlanks(rest);
    if (!rest.empty() && rest.front() == L'"') {
        auto quoted = takeQuoted(rest);
        if (!quoted)
            return std::nullopt;
        key = std::move(*quoted);
        skipBlanks(rest);
        if (rest.empty() || rest.front() != L'=')
            return std::nullopt;
        rest.remove_prefix(1);
    } else {
        const size_t eq = rest.find(L'=');
        if (eq == std::wstring_view::npos)
            return std::nullopt;
        key = trim(rest.substr(0, eq));
        rest.remove_prefix(eq + 1);
    }
    if (key.empty())
        return std::nullopt;
    std::wstring text;
    skipBlanks(rest);
    if (!rest.empty() && rest.front() == L'"') {
        auto quoted = takeQuoted(rest);
        if (!quoted || !trim(rest).empty())
            return std::nullopt;
        text = std::move(*quoted);
    } else {
        text = trim(rest);
    }
    return std::make_pair(std::move(key), std::move(text));
}

std::unordered_map<std::wstring, std::wstring> parse(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    const std::wstring text = pal::text::fromUtf8(bytes);
    std::unordered_map<std::wstring, std::wstring> texts;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of(L"\r\n", pos);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring_view line = trim(std::wstring_view(text).substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == L'#')
            continue;
        if (auto entry = parseEntry(line))
            texts.try_emplace(std::move(entry->first), std::move(entry->second));
    }
    return texts;
}

bool plainLanguageCode(std::wstring_view language) {
    if (language.empty() || language.size() > 16)
        return false;
    for (wchar_t c : language)
        if (!((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_' ||
              c == L'-'))
            return false;
    return true;
}

bool load(const fs::path& file, std::wstring language) {
    std::unordered_map<std::wstring, std::wstring> texts;
    bool ok = false;
    std::error_code ec;
    if (fs::is_regular_file(file, ec) && fs::file_size(file, ec) <= kMaxCatalogueBytes && !ec) {
        std::ifstream in(file, std::ios::binary);
        if (in) {
            const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            texts = parse(bytes);
            ok = !in.bad();
        }
    }
    Catalogue& c = catalogue();
    std::unique_lock lock(c.mutex);
    c.texts = ok ? std::move(texts) : decltype(texts)();
    c.language = std::move(language);
    ++c.generation;
    return ok;
}

// What a format takes from its arguments: per conversion, its '*' widths, length and type.
std::wstring argumentSignature(std::wstring_view format) {
    std::wstring sig;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%')
            continue;
        if (++i < format.size() && format[i] == L'%')
            continue;
        while (i < format.size() && std::wstring_view(L"-+ #0").find(format[i]) != std::wstring_view::npos)
            ++i;
        while (i < format.size() &&
               (format[i] == L'*' || format[i] == L'.' || (format[i] >= L'0' && format[i] <= L'9'))) {
            if (format[i] == L'*')
                sig += L'*';
            ++i;
        }
        while (i < format.size() &&
               std::wstring_view(L"hlLqjztwI3264").find(format[i]) != std::wstring_view::npos)
            sig += format[i++];
        if (i < format.size())
            sig += format[i];
        sig += L';';
    }
    return sig;
}

// A key that is itself a format ("Cannot load module \"%s\"") is formatted with its text only
// when the text takes the same arguments; a catalogue entry that asks for others would read
// arguments that were never passed. Dotted keys take no arguments of their own, so their
// texts are trusted.
std::wstring vformatKey(std::wstring_view key, va_list args) {
    std::wstring format = Translate(key);
    const std::wstring expected = argumentSignature(key);
    if (!expected.empty() && argumentSignature(format) != expected)
        format = key;
    return pal::vformat(format.c_str(), args);
}

} // namespace

bool LoadCatalogue(const wchar_t* path) {
    return load(path && *path ? pal::path::toNative(path) : fs::path(), std::wstring());
}

bool LoadLanguage(std::wstring_view language) {
    if (!plainLanguageCode(language))
        return load(fs::path(), std::wstring());
    return load(pal::folders::programDir() / "Translations" / (pal::text::toUtf8(language) + ".lng"),
                std::wstring(language));
}

std::uint64_t CatalogueGeneration() {
    return catalogue().generation.load();
}

std::wstring CurrentLanguage() {
    Catalogue& c = catalogue();
    std::shared_lock lock(c.mutex);
    return c.language;
}

bool TryTranslate(std::wstring_view key, std::wstring& text) {
    Catalogue& c = catalogue();
    std::shared_lock lock(c.mutex);
    const auto it = c.texts.find(std::wstring(key));
    if (it == c.texts.end())
        return false;
    text = it->second;
    return true;
}

std::wstring Translate(std::wstring_view key) {
    std::wstring text;
    return TryTranslate(key, text) ? text : std::wstring(key);
}

std::wstring Translate(const wchar_t* key) {
    return Translate(key ? std::wstring_view(key) : std::wstring_view());
}

std::wstring Translate(const char* key) {
    return Translate(std::wstring_view(pal::text::fromUtf8(key ? key : "")));
}

std::wstring FormatTranslation(const wchar_t* key, ...) {
    va_list args;
    va_start(args, key);
    std::wstring out = vformatKey(key ? key : L"", args);
    va_end(args);
    return out;
}

std::wstring FormatTranslation(const char* key, ...) {
    va_list args;
    va_start(args, key);
    std::wstring out = vformatKey(pal::text::fromUtf8(key ? key : ""), args);
    va_end(args);
    return out;
}

} // namespace Dravik::I18n

std::wstring TranslateKey(const wchar_t* key) {
    return Dravik::I18n::Translate(key);
}

std::wstring TranslateKey(const char* key) {
    return Dravik::I18n::Translate(key);
}

std::wstring FormatTranslatedKey(const wchar_t* key, ...) {
    va_list args;
    va_start(args, key);
    std::wstring out = Dravik::I18n::vformatKey(key ? key : L"", args);
    va_end(args);
    return out;
}

std::wstring FormatTranslatedKey(const char* key, ...) {
    va_list args;
    va_start(args, key);
    std::wstring out = Dravik::I18n::vformatKey(pal::text::fromUtf8(key ? key : ""), args);
    va_end(args);
    return out;
}
