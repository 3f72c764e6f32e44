#include "RegistryTree.h"

#include "pal/registry.h"
#include "pal/text.h"

#include <cstdio>

namespace dvkernel {

namespace {

class Key {
public:
    Key() = default;
    ~Key() {
        if (m_key)
            RegCloseKey(m_key);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    bool open(HKEY root, const std::wstring& path, REGSAM access) {
        return RegOpenKeyExW(root, path.empty() ? nullptr : path.c_str(), 0, access, &m_key) == ERROR_SUCCESS;
    }
    bool create(HKEY root, const std::wstring& path) {
        return RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                               nullptr, &m_key, nullptr) == ERROR_SUCCESS;
    }
    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

std::wstring join(const std::wstring& a, const std::wstring& b) {
    return a.empty() ? b : b.empty() ? a : a + L"\\" + b;
}

void readInto(HKEY key, RegistryTree& tree) {
    // Value names may be as long as the platform allows; key names are at most 255.
    std::vector<wchar_t> name(16384);
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size()), type = 0, size = 0;
        if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        RegistryValue value{type, std::vector<BYTE>(size)};
        DWORD read = size;
        RegQueryValueExW(key, name.data(), nullptr, &type, value.data.empty() ? nullptr : value.data.data(),
                         &read);
        value.data.resize(read);
        tree.values[std::wstring(name.data(), nameLength)] = std::move(value);
    }
    for (DWORD i = 0;; ++i) {
        wchar_t keyName[256];
        DWORD keyLength = 256;
        if (RegEnumKeyExW(key, i, keyName, &keyLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        Key child;
        if (child.open(key, std::wstring(keyName, keyLength), KEY_READ))
            readInto(child.get(), tree.keys[std::wstring(keyName, keyLength)]);
    }
}

bool writeInto(HKEY key, const RegistryTree& tree) {
    bool ok = true;
    for (const auto& [name, value] : tree.values)
        ok &= RegSetValueExW(key, name.c_str(), 0, value.type, value.data.data(),
                             static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
    for (const auto& [name, child] : tree.keys) {
        Key sub;
        ok = sub.create(key, name) && writeInto(sub.get(), child) && ok;
    }
    return ok;
}

constexpr std::string_view kHeader = "DravikProfile 1";

std::string escape(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '%' || c == '=' || c == '[' || c == ']' || c == '\r' || c == '\n') {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", static_cast<unsigned char>(c));
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<std::string> unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = hexDigit(text[i + 1]), low = hexDigit(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

void formatKey(const std::wstring& path, const RegistryTree& tree, std::string& out) {
    out += "[" + escape(pal::text::toUtf8(path)) + "]\n";
    for (const auto& [name, value] : tree.values) {
        out += std::to_string(value.type) + " " + escape(pal::text::toUtf8(name)) + "=";
        for (const BYTE b : value.data) {
            char hex[3];
            std::snprintf(hex, sizeof hex, "%02x", b);
            out += hex;
        }
        out += "\n";
    }
    for (const auto& [name, child] : tree.keys)
        formatKey(join(path, name), child, out);
}

RegistryTree* descend(RegistryTree& root, const std::wstring& path) {
    RegistryTree* node = &root;
    std::size_t start = 0;
    while (start < path.size()) {
        const std::size_t end = std::min(path.find(L'\\', start), path.size());
        if (end == start)
            return nullptr;
        node = &node->keys[path.substr(start, end - start)];
        start = end + 1;
    }
    return node;
}

} // namespace

std::optional<RegistryTree> readRegistryTree(HKEY root, const std::wstring& path) {
    Key key;
    if (!key.open(root, path, KEY_READ))
        return std::nullopt;
    RegistryTree tree;
    readInto(key.get(), tree);
    return tree;
}

bool writeRegistryTree(HKEY root, const std::wstring& path, const RegistryTree& tree) {
    pal::reg::Batch batch; // the tree lands whole, with one sync
    Key key;
    const bool written = key.create(root, path) && writeInto(key.get(), tree);
    return batch.commit() && written;
}

bool deleteRegistryTree(HKEY root, const std::wstring& path) {
    const LSTATUS status = RegDeleteTreeW(root, path.c_str());
    if (status != ERROR_SUCCESS)
        return status == ERROR_FILE_NOT_FOUND;
    return RegDeleteKeyW(root, path.c_str()) == ERROR_SUCCESS || !registryKeyExists(root, path);
}

bool registryKeyExists(HKEY root, const std::wstring& path) {
    Key key;
    return key.open(root, path, KEY_READ);
}

std::vector<std::wstring> registrySubKeys(HKEY root, const std::wstring& path) {
    std::vector<std::wstring> names;
    Key key;
    if (!key.open(root, path, KEY_READ))
        return names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

std::string formatProfileFile(const RegistryTree& tree) {
    std::string out(kHeader);
    out += "\n";
    formatKey(L"", tree, out);
    return out;
}

std::optional<RegistryTree> parseProfileFile(std::string_view text) {
    RegistryTree tree;
    RegistryTree* current = nullptr;
    bool first = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt; // every line ends: a cut file is damaged
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (first) {
            if (line != kHeader)
                return std::nullopt;
            first = false;
            continue;
        }
        if (!line.empty() && line.front() == '[') {
            if (line.back() != ']')
                return std::nullopt;
            const auto path = unescape(line.substr(1, line.size() - 2));
            if (!path || !(current = descend(tree, pal::text::fromUtf8(*path))))
                return std::nullopt;
            continue;
        }
        const std::size_t space = line.find(' '), equals = line.find('=');
        if (!current || space == std::string_view::npos || equals == std::string_view::npos || equals < space)
            return std::nullopt;
        RegistryValue value;
        const std::string_view type = line.substr(0, space);
        if (type.empty() || type.find_first_not_of("0123456789") != std::string_view::npos || type.size() > 9)
            return std::nullopt;
        value.type = static_cast<DWORD>(std::stoul(std::string(type)));
        const auto name = unescape(line.substr(space + 1, equals - space - 1));
        const std::string_view hex = line.substr(equals + 1);
        if (!name || hex.size() % 2 != 0)
            return std::nullopt;
        for (std::size_t i = 0; i < hex.size(); i += 2) {
            const int high = hexDigit(hex[i]), low = hexDigit(hex[i + 1]);
            if (high < 0 || low < 0)
                return std::nullopt;
            value.data.push_back(static_cast<BYTE>(high * 16 + low));
        }
        current->values[pal::text::fromUtf8(*name)] = std::move(value);
    }
    if (first)
        return std::nullopt;
    return tree;
}

} // namespace dvkernel
