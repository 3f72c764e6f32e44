// INI files: sections of key=value lines. Section and key names compare without regard to
// case and keep the case and order they were first seen in. Loading takes what it can from
// any bytes: a byte-order mark selects UTF-8 or UTF-16, text without one is UTF-8 (a bad
// sequence becomes U+FFFD); lines that are neither a section, a key nor a comment are
// skipped; a repeated section continues the first one; a repeated key keeps its first
// value, as the platform's own profile reader does.
#pragma once

#include "pal/visibility.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

DV_EXPORTS_BEGIN

namespace dvio {

class IniFile {
public:
    struct Entry {
        std::wstring key;
        std::wstring value;
    };

    class Section {
    public:
        using const_iterator = std::vector<Entry>::const_iterator;

        const std::wstring& name() const { return name_; }
        const_iterator begin() const { return entries_.begin(); }
        const_iterator end() const { return entries_.end(); }
        size_t size() const { return entries_.size(); }
        bool empty() const { return entries_.empty(); }
        // The value of a key, or null.
        const std::wstring* find(std::wstring_view key) const;

    private:
        friend class IniFile;
        explicit Section(std::wstring name) : name_(std::move(name)) {}
        // Adds the key unless it is there; with `overwrite`, replaces its value.
        void put(std::wstring key, std::wstring value, bool overwrite);
        bool remove(std::wstring_view key);

        std::wstring name_;
        std::vector<Entry> entries_;
        std::unordered_map<std::wstring, size_t> index_; // folded key -> position
    };

    // How the file was stored, so that saving keeps it.
    enum class Encoding { Utf8, Utf8Bom, Utf16LE, Utf16BE };

    using const_iterator = std::vector<Section>::const_iterator;

    // Replaces the content with the file's. False (and empty content) when the file cannot be
    // read; any bytes that can be read load, whatever they hold.
    bool Load(const wchar_t* path);
    // The same from bytes already in memory.
    void Parse(std::string_view bytes);
    // The bytes that Save writes.
    std::string Serialize() const;
    // Writes the content through the atomic writer, in the encoding it was loaded with
    // (UTF-8 for a new file). False when the file could not be written.
    bool Save(const wchar_t* path) const;

    bool IsEmpty() const { return sections_.empty(); }
    void Clear();

    // Sections in file order, each with its keys in file order.
    const_iterator begin() const { return sections_.begin(); }
    const_iterator end() const { return sections_.end(); }
    size_t SectionCount() const { return sections_.size(); }
    const Section* FindSection(const wchar_t* section) const;

    bool HasSection(const wchar_t* section) const { return FindSection(section) != nullptr; }
    bool HasKey(const wchar_t* section, const wchar_t* key) const;
    std::wstring GetString(const wchar_t* section, const wchar_t* key,
                           const wchar_t* defaultValue = L"") const;
    // A decimal integer with an optional sign, or hexadecimal after "0x"; text after the
    // digits is ignored. The default when the key is missing, has no digits or overflows.
    int GetInt(const wchar_t* section, const wchar_t* key, int defaultValue) const;

    // Setters create the section when missing. They refuse (false) names and values that the
    // file could not give back as they are: an empty key, line breaks anywhere, a key with "=",
    // a key or section that begins or ends with blanks, a key that would read as a comment or
    // section, a section name with "]".
    bool SetString(const wchar_t* section, const wchar_t* key, const wchar_t* value);
    bool SetInt(const wchar_t* section, const wchar_t* key, int value);
    bool RemoveKey(const wchar_t* section, const wchar_t* key);
    bool RemoveSection(const wchar_t* section);

    // Writes every key of `other` over this content, section by section and key by key;
    // sections missing here are created (at the end, in `other`'s order), keys missing in a
    // section are appended, keys present take `other`'s value.
    void Overlay(const IniFile& other);

    Encoding GetEncoding() const { return encoding_; }

private:
    Section* findSection(std::wstring_view name);
    Section& section(std::wstring_view name);

    std::vector<Section> sections_;
    std::unordered_map<std::wstring, size_t> index_; // folded section name -> position
    Encoding encoding_ = Encoding::Utf8;
};

} // namespace dvio

DV_EXPORTS_END
