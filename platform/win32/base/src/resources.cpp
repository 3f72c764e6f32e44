#include "pal/resources.h"

#include "pal/notice.h"
#include "pal/text.h"
#include "pal/xml.h"
#include "win/base.h"
#include "win/error.h"
#include "win/module_resources.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <map>
#include <memory>
#include <mutex>

namespace fs = std::filesystem;

namespace pal::resources {
namespace {

struct Named {
    Kind kind;
    std::wstring name; // "#<id>" for a number, the name in upper case otherwise
    bool operator<(const Named& o) const { return kind != o.kind ? kind < o.kind : name < o.name; }
};

struct Table {
    std::map<Named, Resource> entries;
    bool declares(Kind kind) const {
        for (const auto& [n, r] : entries) {
            if (n.kind == kind)
                return true;
        }
        return false;
    }
};

std::optional<long> number(const std::wstring& text) {
    if (text.empty())
        return std::nullopt;
    wchar_t* end = nullptr;
    const long v = std::wcstol(text.c_str(), &end, 0);
    if (*end != L'\0' || v < 0 || v > 0xFFFF)
        return std::nullopt;
    return v;
}

std::wstring keyOf(LPCWSTR name) {
    // Numbers travel as pointers below 0x10000.
    if ((reinterpret_cast<ULONG_PTR>(name) >> 16) == 0)
        return L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name));
    if (name[0] == L'#') // "#123" names the number, as the platform takes it
        if (const auto v = number(name + 1))
            return L"#" + std::to_wstring(*v);
    return pal::text::toUpper(name);
}

std::optional<std::wstring> entryName(const pal::xml::Node& node) {
    if (const auto id = node.attribute(L"id")) {
        const auto v = number(*id);
        return v ? std::optional<std::wstring>(L"#" + std::to_wstring(*v)) : std::nullopt;
    }
    if (const auto name = node.attribute(L"name"); name && !name->empty())
        return pal::text::toUpper(*name);
    return std::nullopt;
}

// Keys by name, as the platform's virtual-key codes; letters and digits are their own codes.
struct KeyName {
    const wchar_t* name;
    WORD code;
};
constexpr KeyName kKeyNames[] = {
    {L"BACKSPACE", 0x08}, {L"TAB", 0x09},      {L"ENTER", 0x0D}, {L"ESCAPE", 0x1B}, {L"SPACE", 0x20},
    {L"PAGEUP", 0x21},    {L"PAGEDOWN", 0x22}, {L"END", 0x23},   {L"HOME", 0x24},   {L"LEFT", 0x25},
    {L"UP", 0x26},        {L"RIGHT", 0x27},    {L"DOWN", 0x28},  {L"INSERT", 0x2D}, {L"DELETE", 0x2E},
    {L"PLUS", 0xBB},      {L"MINUS", 0xBD},
};
constexpr BYTE kVirtKey = 0x01, kShift = 0x04, kControl = 0x08, kAlt = 0x10;

std::optional<WORD> keyCode(const std::wstring& name) {
    if (name.size() == 1 && (std::iswupper(name[0]) || std::iswdigit(name[0])))
        return static_cast<WORD>(name[0]);
    if (name.size() >= 2 && name[0] == L'F')
        if (const auto n = number(name.substr(1)); n && *n >= 1 && *n <= 24)
            return static_cast<WORD>(0x70 + *n - 1);
    for (const KeyName& k : kKeyNames)
        if (name == k.name)
            return k.code;
    return std::nullopt;
}

// "Ctrl+Shift+S": the modifiers, then exactly one key.
std::optional<Key> parseKey(const std::wstring& keys, const std::wstring& command) {
    const auto cmd = number(command);
    if (!cmd)
        return std::nullopt;
    Key out{kVirtKey, 0, static_cast<WORD>(*cmd)};
    size_t start = 0;
    while (start <= keys.size()) {
        const size_t end = std::min(keys.find(L'+', start + 1), keys.size());
        const std::wstring part = pal::text::toUpper(keys.substr(start, end - start));
        start = end + 1;
        if (part == L"CTRL")
            out.fVirt |= kControl;
        else if (part == L"SHIFT")
            out.fVirt |= kShift;
        else if (part == L"ALT")
            out.fVirt |= kAlt;
        else if (const auto code = keyCode(part); code && out.key == 0)
            out.key = *code;
        else
            return std::nullopt;
    }
    if (out.key == 0)
        return std::nullopt;
    return out;
}

void say(const fs::path& file, const std::string& what) {
    pal::notice::say("Resources " + file.string() + ": " + what);
}

std::unique_ptr<Table> readTable(const fs::path& folder) {
    auto table = std::make_unique<Table>();
    const fs::path file = folder / "resources.xml";
    std::error_code ec;
    if (!fs::exists(file, ec))
        return table;
    pal::xml::Document doc;
    if (const auto loaded = doc.loadFile(file); !loaded) {
        say(file, "cannot be read: " + loaded.message);
        return table;
    }
    const auto add = [&](Kind kind, const pal::xml::Node& node, Resource r) {
        const auto name = entryName(node);
        if (!name) {
            say(file, "an entry without a usable id or name is left out");
            return;
        }
        if (!table->entries.emplace(Named{kind, *name}, std::move(r)).second)
            say(file, "an id stands twice; the first is kept");
    };
    // Pictures lie in the folder; a path that leaves it is no picture of this module.
    const auto picture = [&](const pal::xml::Node& node) -> fs::path {
        const fs::path rel = fs::path(node.attribute(L"file", L"")).lexically_normal();
        if (rel.empty() || rel.is_absolute() || *rel.begin() == "..")
            return {};
        return folder / rel;
    };
    for (const pal::xml::Node& node : doc.root().children()) {
        const std::wstring tag = node.name();
        if (tag == L"icon" || tag == L"cursor" || tag == L"bitmap") {
            Resource r;
            if (const fs::path one = picture(node); !one.empty())
                r.files.push_back(one);
            for (const pal::xml::Node& image : node.children(L"image")) {
                if (const fs::path p = picture(image); !p.empty())
                    r.files.push_back(p);
            }
            if (r.files.empty()) {
                say(file, "a picture entry names no file in its folder");
                continue;
            }
            add(tag == L"icon"     ? Kind::Icon
                : tag == L"cursor" ? Kind::Cursor
                                   : Kind::Bitmap,
                node, std::move(r));
        } else if (tag == L"accelerators") {
            Resource r;
            for (const pal::xml::Node& key : node.children(L"key")) {
                if (const auto k = parseKey(key.attribute(L"keys", L""), key.attribute(L"command", L"")))
                    r.keys.push_back(*k);
                else
                    say(file, "a key without a usable key or command is left out");
            }
            add(Kind::Accelerators, node, std::move(r));
        } else if (tag == L"strings") {
            for (const pal::xml::Node& string : node.children(L"string")) {
                if (!string.attribute(L"id")) {
                    say(file, "a string without an id is left out");
                    continue;
                }
                Resource r;
                r.text = string.text();
                add(Kind::String, string, std::move(r));
            }
        }
    }
    return table;
}

} // namespace

fs::path folderOf(const fs::path& moduleFile) {
    return moduleFile.parent_path() / (moduleFile.stem().native() + ".resources");
}

namespace {

// The table of a module, read the first time it is asked for and kept (entries never move);
// null when the module's file is not known.
const Table* tableOf(HMODULE module) {
    wchar_t buffer[4096] = {};
    const DWORD length = GetModuleFileNameW(module, buffer, 4096);
    if (length == 0 || length >= 4096)
        return nullptr;
    const fs::path folder = folderOf(fs::path(pal::text::toUtf8(buffer)));
    static std::mutex mutex;
    static auto* tables = new std::map<fs::path, std::unique_ptr<Table>>;
    std::lock_guard lock(mutex);
    auto it = tables->find(folder);
    if (it == tables->end())
        it = tables->emplace(folder, readTable(folder)).first;
    return it->second.get();
}

} // namespace

const Resource* locate(HMODULE module, Kind kind, LPCWSTR name, Missing* missing) {
    const auto fail = [missing](DWORD error) -> const Resource* {
        if (missing)
            missing->error = error;
        SetLastError(error);
        return nullptr;
    };
    if (!name)
        return fail(ERROR_RESOURCE_NAME_NOT_FOUND);
    const Table* table = tableOf(module);
    if (!table || table->entries.empty())
        return fail(ERROR_RESOURCE_DATA_NOT_FOUND);
    const auto found = table->entries.find(Named{kind, keyOf(name)});
    if (found == table->entries.end())
        return fail(table->declares(kind) ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return &found->second;
}

std::optional<Resource> find(HMODULE module, Kind kind, LPCWSTR name, Missing* missing) {
    if (const Resource* r = locate(module, kind, name, missing))
        return *r;
    return std::nullopt;
}

const Resource* locateStringBlock(HMODULE module, UINT block, Missing* missing) {
    const auto fail = [missing](DWORD error) -> const Resource* {
        if (missing)
            missing->error = error;
        SetLastError(error);
        return nullptr;
    };
    const Table* table = tableOf(module);
    if (!table || table->entries.empty())
        return fail(ERROR_RESOURCE_DATA_NOT_FOUND);
    if (!table->declares(Kind::String))
        return fail(ERROR_RESOURCE_TYPE_NOT_FOUND);
    for (auto it = table->entries.lower_bound(Named{Kind::String, L""});
         it != table->entries.end() && it->first.kind == Kind::String; ++it) {
        const auto id = number(it->first.name.substr(1));
        if (block >= 1 && id && static_cast<UINT>(*id) / 16 + 1 == block)
            return &it->second;
    }
    return fail(ERROR_RESOURCE_NAME_NOT_FOUND);
}

} // namespace pal::resources

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
    using pal::resources::Kind;
    const ULONG_PTR t = reinterpret_cast<ULONG_PTR>(type);
    const pal::resources::Resource* found = nullptr;
    if (type == RT_STRING) {
        if (!name || (reinterpret_cast<ULONG_PTR>(name) >> 16) != 0) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return nullptr;
        }
        found =
            pal::resources::locateStringBlock(module, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
    } else {
        struct {
            LPCWSTR type;
            Kind kind;
        } const kinds[] = {{RT_CURSOR, Kind::Cursor}, {RT_GROUP_CURSOR, Kind::Cursor},
                           {RT_ICON, Kind::Icon},     {RT_GROUP_ICON, Kind::Icon},
                           {RT_BITMAP, Kind::Bitmap}, {RT_ACCELERATOR, Kind::Accelerators}};
        const auto* k = std::find_if(std::begin(kinds), std::end(kinds),
                                     [t](const auto& e) { return reinterpret_cast<ULONG_PTR>(e.type) == t; });
        if (k == std::end(kinds)) {
            SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
            return nullptr;
        }
        found = pal::resources::locate(module, k->kind, name);
    }
    return reinterpret_cast<HRSRC>(const_cast<pal::resources::Resource*>(found));
}
