#include "Compression/IniFile.h"

#include "pal/atomic_file.h"
#include "pal/path.h"
#include "pal/text.h"

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace fs = std::filesystem;

namespace dvio {
namespace {

// Larger files are not configuration; refusing them keeps a stray device or dump from
// exhausting memory.
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

std::wstring_view orEmpty(const wchar_t* s) {
    return s ? std::wstring_view(s) : std::wstring_view();
}

std::wstring fold(std::wstring_view name) {
    return pal::text::toUpper(name);
}

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\v' || c == L'\f' || c == 0xFEFF;
}

std::wstring_view trim(std::wstring_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool hasBlankEdge(std::wstring_view s) {
    return !s.empty() && (isBlank(s.front()) || isBlank(s.back()));
}
bool hasLineBreak(std::wstring_view s) {
    return s.find_first_of(L"\r\n") != std::wstring_view::npos;
}

bool isQuoted(std::wstring_view v) {
    return v.size() >= 2 && v.front() == L'"' && v.back() == L'"';
}

std::wstring decode(std::string_view bytes, IniFile::Encoding& encoding) {
    auto starts = [&](std::string_view bom) { return bytes.substr(0, bom.size()) == bom; };
    std::wstring text;
    if (starts("\xEF\xBB\xBF")) {
        encoding = IniFile::Encoding::Utf8Bom;
        text = pal::text::fromUtf8(bytes.substr(3));
    } else if (starts("\xFF\xFE")) {
        encoding = IniFile::Encoding::Utf16LE;
        text = pal::text::fromUtf16leBytes(bytes.substr(2));
    } else if (starts("\xFE\xFF")) {
        encoding = IniFile::Encoding::Utf16BE;
        std::string swapped(bytes.substr(2));
        for (size_t i = 0; i + 1 < swapped.size(); i += 2)
            std::swap(swapped[i], swapped[i + 1]);
        text = pal::text::fromUtf16leBytes(swapped);
    } else {
        encoding = IniFile::Encoding::Utf8;
        text = pal::text::fromUtf8(bytes);
    }
    // A NUL has no place in a name or a value; the platform's reader stops at one.
    std::erase(text, L'\0');
    return text;
}

std::string encode(std::wstring_view text, IniFile::Encoding encoding) {
    switch (encoding) {
    case IniFile::Encoding::Utf8Bom:
        return "\xEF\xBB\xBF" + pal::text::toUtf8(text);
    case IniFile::Encoding::Utf16LE:
        return "\xFF\xFE" + pal::text::toUtf16leBytes(text);
    case IniFile::Encoding::Utf16BE: {
        std::string bytes = pal::text::toUtf16leBytes(text);
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            std::swap(bytes[i], bytes[i + 1]);
        return "\xFE\xFF" + bytes;
    }
    case IniFile::Encoding::Utf8:
        break;
    }
    return pal::text::toUtf8(text);
}

bool validSection(std::wstring_view name) {
    return !hasLineBreak(name) && name.find(L']') == std::wstring_view::npos && !hasBlankEdge(name);
}

bool validKey(std::wstring_view key) {
    return !key.empty() && !hasLineBreak(key) && key.find(L'=') == std::wstring_view::npos &&
           !hasBlankEdge(key) && key.front() != L';' && key.front() != L'#' && key.front() != L'[';
}

std::optional<int> parseInt(std::wstring_view v) {
    v = trim(v);
    bool negative = false;
    if (!v.empty() && (v.front() == L'-' || v.front() == L'+')) {
        negative = v.front() == L'-';
        v.remove_prefix(1);
    }
    int base = 10;
    if (v.size() > 2 && v[0] == L'0' && (v[1] == L'x' || v[1] == L'X')) {
        base = 16;
        v.remove_prefix(2);
    }
    auto digit = [base](wchar_t c) -> int {
        if (c >= L'0' && c <= L'9')
            return c - L'0';
        if (base == 16 && c >= L'a' && c <= L'f')
            return c - L'a' + 10;
        if (base == 16 && c >= L'A' && c <= L'F')
            return c - L'A' + 10;
        return -1;
    };
    std::int64_t value = 0;
    size_t used = 0;
    for (wchar_t c : v) {
        const int d = digit(c);
        if (d < 0)
            break;
        value = value * base + d;
        if (value > static_cast<std::int64_t>(INT_MAX) + 1)
            return std::nullopt;
        ++used;
    }
    if (used == 0)
        return std::nullopt;
    if (negative)
        value = -value;
    if (value > INT_MAX || value < INT_MIN)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

const std::wstring* IniFile::Section::find(std::wstring_view key) const {
    const auto it = index_.find(fold(key));
    return it == index_.end() ? nullptr : &entries_[it->second].value;
}

void IniFile::Section::put(std::wstring key, std::wstring value, bool overwrite) {
    auto [it, added] = index_.try_emplace(fold(key), entries_.size());
    if (added)
        entries_.push_back({std::move(key), std::move(value)});
    else if (overwrite)
        entries_[it->second].value = std::move(value);
}

bool IniFile::Section::remove(std::wstring_view key) {
    const auto it = index_.find(fold(key));
    if (it == index_.end())
        return false;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(it->second));
    index_.clear();
    for (size_t i = 0; i < entries_.size(); ++i)
        index_.emplace(fold(entries_[i].key), i);
    return true;
}

void IniFile::Clear() {
    sections_.clear();
    index_.clear();
    encoding_ = Encoding::Utf8;
}

bool IniFile::Load(const wchar_t* path) {
    Clear();
    if (!path || !*path)
        return false;
    const fs::path file = pal::path::toNative(path);
    std::error_code ec;
    if (!fs::is_regular_file(file, ec) || fs::file_size(file, ec) > kMaxFileBytes || ec)
        return false;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return false;
    Parse(bytes);
    return true;
}

void IniFile::Parse(std::string_view bytes) {
    Clear();
    const std::wstring text = decode(bytes, encoding_);
    Section* current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of(L"\r\n", pos);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring_view line = trim(std::wstring_view(text).substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == L'\r' && pos + 1 < text.size() && text[pos + 1] == L'\n')
            ++pos;
        if (pos < text.size())
            ++pos;

        if (line.empty() || line.front() == L';' || line.front() == L'#')
            continue;
        if (line.front() == L'[') {
            // "[name]" and, leniently, "[name" with the bracket missing; text after "]" is ignored.
            const std::wstring_view rest = line.substr(1);
            current = &section(trim(rest.substr(0, rest.find(L']'))));
            continue;
        }
        const size_t eq = line.find(L'=');
        if (!current || eq == std::wstring_view::npos)
            continue; // a key before any section, or a line that is no key: skipped
        const std::wstring_view key = trim(line.substr(0, eq));
        std::wstring_view value = trim(line.substr(eq + 1));
        if (key.empty())
            continue;
        if (isQuoted(value))
            value = value.substr(1, value.size() - 2);
        current->put(std::wstring(key), std::wstring(value), false);
    }
}

std::string IniFile::Serialize() const {
    std::wstring text;
    for (const Section& s : sections_) {
        if (!text.empty())
            text += L"\r\n";
        text += L'[';
        text += s.name_;
        text += L"]\r\n";
        for (const Entry& e : s.entries_) {
            text += e.key;
            text += L'=';
            // Quotes keep blanks at the edges and a quoted value as they are on the next load.
            if (hasBlankEdge(e.value) || isQuoted(e.value))
                text += L'"' + e.value + L'"';
            else
                text += e.value;
            text += L"\r\n";
        }
    }
    return encode(text, encoding_);
}

bool IniFile::Save(const wchar_t* path) const {
    if (!path || !*path)
        return false;
    return static_cast<bool>(pal::writeFileAtomically(pal::path::toNative(path), Serialize()));
}

IniFile::Section* IniFile::findSection(std::wstring_view name) {
    const auto it = index_.find(fold(name));
    return it == index_.end() ? nullptr : &sections_[it->second];
}

IniFile::Section& IniFile::section(std::wstring_view name) {
    if (Section* s = findSection(name))
        return *s;
    index_.emplace(fold(name), sections_.size());
    sections_.push_back(Section(std::wstring(name)));
    return sections_.back();
}

const IniFile::Section* IniFile::FindSection(const wchar_t* section) const {
    return const_cast<IniFile*>(this)->findSection(orEmpty(section));
}

bool IniFile::HasKey(const wchar_t* section, const wchar_t* key) const {
    const Section* s = FindSection(section);
    return s && s->find(orEmpty(key));
}

std::wstring IniFile::GetString(const wchar_t* section, const wchar_t* key,
                                const wchar_t* defaultValue) const {
    const Section* s = FindSection(section);
    const std::wstring* v = s ? s->find(orEmpty(key)) : nullptr;
    return v ? *v : std::wstring(orEmpty(defaultValue));
}

int IniFile::GetInt(const wchar_t* section, const wchar_t* key, int defaultValue) const {
    const Section* s = FindSection(section);
    const std::wstring* v = s ? s->find(orEmpty(key)) : nullptr;
    if (!v)
        return defaultValue;
    return parseInt(*v).value_or(defaultValue);
}

bool IniFile::SetString(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    const std::wstring_view sv = orEmpty(section), kv = orEmpty(key), vv = orEmpty(value);
    if (!validSection(sv) || !validKey(kv) || hasLineBreak(vv))
        return false;
    this->section(sv).put(std::wstring(kv), std::wstring(vv), true);
    return true;
}

bool IniFile::SetInt(const wchar_t* section, const wchar_t* key, int value) {
    return SetString(section, key, std::to_wstring(value).c_str());
}

bool IniFile::RemoveKey(const wchar_t* section, const wchar_t* key) {
    Section* s = findSection(orEmpty(section));
    return s && s->remove(orEmpty(key));
}

bool IniFile::RemoveSection(const wchar_t* section) {
    const auto it = index_.find(fold(orEmpty(section)));
    if (it == index_.end())
        return false;
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(it->second));
    index_.clear();
    for (size_t i = 0; i < sections_.size(); ++i)
        index_.emplace(fold(sections_[i].name_), i);
    return true;
}

void IniFile::Overlay(const IniFile& other) {
    if (&other == this)
        return;
    for (const Section& from : other.sections_) {
        Section& to = section(from.name_);
        for (const Entry& e : from.entries_)
            to.put(e.key, e.value, true);
    }
}

} // namespace dvio
