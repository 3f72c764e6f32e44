#include "pal/resources.h"

#include "pal/notice.h"
#include "pal/text.h"
#include "pal/xml.h"
#include "win/base.h"
#include "win/error.h"

#include <cwchar>
#include <cwctype>
#include <map>
#include <memory>
#include <mutex>

namespace fs = std::filesystem;

namespace pal::resources {
namespace {

// A module without resources of its own.
constexpr DWORD kNoResourceData = 1812;

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
        }
    }
    return table;
}

} // namespace

fs::path folderOf(const fs::path& moduleFile) {
    return moduleFile.parent_path() / (moduleFile.stem().native() + ".resources");
}

std::optional<Resource> find(HMODULE module, Kind kind, LPCWSTR name, Missing* missing) {
    const auto fail = [missing](DWORD error) -> std::optional<Resource> {
        if (missing)
            missing->error = error;
        SetLastError(error);
        return std::nullopt;
    };
    if (!name)
        return fail(ERROR_RESOURCE_NAME_NOT_FOUND);
    wchar_t buffer[4096] = {};
    const DWORD length = GetModuleFileNameW(module, buffer, 4096);
    if (length == 0 || length >= 4096)
        return fail(kNoResourceData);
    const fs::path folder = folderOf(fs::path(pal::text::toUtf8(buffer)));

    static std::mutex mutex;
    static auto* tables = new std::map<fs::path, std::unique_ptr<Table>>;
    std::lock_guard lock(mutex);
    auto it = tables->find(folder);
    if (it == tables->end())
        it = tables->emplace(folder, readTable(folder)).first;
    const Table& table = *it->second;
    if (table.entries.empty())
        return fail(kNoResourceData);
    const auto found = table.entries.find(Named{kind, keyOf(name)});
    if (found == table.entries.end())
        return fail(table.declares(kind) ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return found->second;
}

} // namespace pal::resources
