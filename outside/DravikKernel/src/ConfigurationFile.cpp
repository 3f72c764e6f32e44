// The library configuration's file. Written as XML through the atomic writer:
//
//   <LibraryConfiguration version="1" id="{...}" name="..." author="..." ...>
//     <Group id="{...}" name="..." ...> groups and libraries </Group>
//     <Library id="{...}" name="..." path="..." ...> <Excluded name="a.grb"/> </Library>
//     <AlternativeName alternative="..." name="..."/>
//   </LibraryConfiguration>
//
// Texts and flags that are empty or false are left out. The files of earlier versions (an INI
// with a section "Configuration" and sections "Library1", "Library2", ...) are still read;
// their objects get identifiers when read, and the configuration counts as modified so that
// the next save keeps them.
#include "DravikKernel/DocumentsMenu.h"

#include "Compression/IniFile.h"
#include "ConfigurationDialog.h"
#include "DVDiagnostics/DVLog.h"
#include "pal/format.h"
#include "pal/path.h"
#include "pal/text.h"
#include "pal/xml.h"

#include <cstdarg>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace DocumentsMenu {

namespace {

constexpr wchar_t kRoot[] = L"LibraryConfiguration";
constexpr wchar_t kGroup[] = L"Group";
constexpr wchar_t kLibrary[] = L"Library";
constexpr wchar_t kExcluded[] = L"Excluded";
constexpr wchar_t kAlternative[] = L"AlternativeName";
constexpr wchar_t kVersion[] = L"1";
// Far beyond any configuration a person keeps; a larger file is not one.
constexpr std::uintmax_t kLargestFile = 64u << 20;
// Groups nest deeper only in a file made to harm the reader.
constexpr int kDeepestGroup = 256;

std::wstring format(const wchar_t* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::wstring text = pal::vformat(fmt, args);
    va_end(args);
    return text;
}

void log(int level, const wchar_t* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    DVLog_WriteWV(level, fmt, args);
    va_end(args);
}

} // namespace

class ConfigurationFile {
public:
    // Fills an empty configuration from the file. False with the reason, naming the file.
    static bool Read(const std::wstring& path, IConfiguration& into, bool& legacy, std::wstring& error) {
        legacy = false;
        std::uint32_t pathError = 0;
        const fs::path file = pal::path::toNative(path, pathError);
        std::error_code ec;
        if (file.empty() || !fs::is_regular_file(file, ec)) {
            error = format(L"The library configuration \"%s\" cannot be found", path.c_str());
            return false;
        }
        const std::uintmax_t size = fs::file_size(file, ec);
        if (ec) {
            error = format(L"The library configuration \"%s\" cannot be read", path.c_str());
            return false;
        }
        if (size == 0) {
            error = format(L"The library configuration \"%s\" is empty", path.c_str());
            return false;
        }
        if (size > kLargestFile) {
            error = format(L"The library configuration \"%s\" is too large to be one", path.c_str());
            return false;
        }
        const std::string bytes = readAll(file);
        if (bytes.size() != size) {
            error = format(L"The library configuration \"%s\" cannot be read", path.c_str());
            return false;
        }
        if (looksLikeXml(bytes))
            return readXml(path, bytes, into, error);
        legacy = true;
        return readIni(path, bytes, into, error);
    }

    static pal::WriteOutcome Write(const IConfiguration& configuration, const std::wstring& path) {
        pal::xml::Document document;
        pal::xml::Node root = document.resetRoot(kRoot);
        root.setAttribute(L"version", kVersion);
        writeGroup(configuration, root);
        for (const auto& [alternative, name] : configuration.alternatives_) {
            pal::xml::Node node = root.appendChild(kAlternative);
            node.setAttribute(L"alternative", alternative);
            node.setAttribute(L"name", name);
        }
        std::uint32_t pathError = 0;
        const fs::path file = pal::path::toNative(path, pathError);
        if (file.empty())
            return {false, 0, pal::text::toUtf8(format(L"\"%s\" is not a file name", path.c_str()))};
        return document.save(file);
    }

    // Takes what `from` read over into `to`: members, identity, texts and names.
    static void Transfer(IConfiguration& from, IConfiguration& to) {
        to.DeleteMembers();
        to.groups_.swap(from.groups_);
        to.libraries_.swap(from.libraries_);
        for (ILibrariesGroup* g : to.groups_)
            g->parent_ = &to;
        for (ILibrary* l : to.libraries_)
            l->parent_ = &to;
        to.guid_ = from.guid_;
        to.name_ = from.name_;
        to.author_ = from.author_;
        to.company_ = from.company_;
        to.comment_ = from.comment_;
        to.excluded_ = from.excluded_;
        to.standardElements_ = from.standardElements_;
        to.alternatives_ = from.alternatives_;
    }

private:
    static std::string readAll(const fs::path& file) {
        std::string bytes;
        if (FILE* f = std::fopen(file.c_str(), "rb")) {
            char buffer[65536];
            std::size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
                bytes.append(buffer, n);
            std::fclose(f);
        }
        return bytes;
    }

    static bool looksLikeXml(std::string_view bytes) {
        if (bytes.starts_with("\xEF\xBB\xBF"))
            bytes.remove_prefix(3);
        const std::size_t first = bytes.find_first_not_of(" \t\r\n");
        return first != std::string_view::npos && bytes[first] == '<';
    }

    struct Reader {
        const std::wstring& path;
        std::set<Guid> seen;
        std::wstring& error;

        bool identity(const pal::xml::Node& node, ILibraryItem& item) {
            const std::wstring text = node.attribute(L"id", L"");
            const auto id = Guid::TryParse(text);
            if (!id || id->IsNull()) {
                error = format(
                    L"The library configuration \"%s\" holds an object without a valid identifier (\"%s\")",
                    path.c_str(), text.c_str());
                return false;
            }
            if (!seen.insert(*id).second) {
                error = format(L"The library configuration \"%s\" holds the identifier %s twice",
                               path.c_str(), text.c_str());
                return false;
            }
            item.guid_ = *id;
            item.name_ = node.attribute(L"name", L"");
            item.author_ = node.attribute(L"author", L"");
            item.company_ = node.attribute(L"company", L"");
            item.comment_ = node.attribute(L"comment", L"");
            item.excluded_ = node.attribute(L"excluded", L"") == L"1";
            item.standardElements_ = node.attribute(L"standard", L"") == L"1";
            return true;
        }

        bool group(const pal::xml::Node& node, ILibrariesGroup& into, int depth) {
            if (depth > kDeepestGroup) {
                error = format(L"The library configuration \"%s\" nests its groups too deeply", path.c_str());
                return false;
            }
            for (const pal::xml::Node& child : node.children()) {
                const std::wstring name = child.name();
                if (name == kGroup) {
                    auto sub = std::make_unique<ILibrariesGroup>(L"");
                    if (!identity(child, *sub) || !group(child, *sub, depth + 1))
                        return false;
                    ILibrariesGroup* raw = sub.release();
                    into.groups_.push_back(raw);
                    raw->parent_ = &into;
                } else if (name == kLibrary) {
                    auto library = std::make_unique<ILibrary>(child.attribute(L"path", L""));
                    if (!identity(child, *library))
                        return false;
                    library->symbolElements_ = child.attribute(L"symbols", L"") == L"1";
                    for (const pal::xml::Node& mark : child.children(kExcluded))
                        if (std::wstring document = mark.attribute(L"name", L"");
                            !document.empty() && !library->IsDocumentExcluded(document))
                            library->excludedDocuments_.push_back(std::move(document));
                    ILibrary* raw = library.release();
                    into.libraries_.push_back(raw);
                    raw->parent_ = &into;
                }
            }
            return true;
        }
    };

    static bool readXml(const std::wstring& path, const std::string& bytes, IConfiguration& into,
                        std::wstring& error) {
        pal::xml::Document document;
        const pal::xml::LoadResult loaded = document.loadString(bytes);
        if (!loaded) {
            error = format(L"The library configuration \"%s\" is damaged: %hs", path.c_str(),
                           loaded.message.c_str());
            return false;
        }
        const pal::xml::Node root = document.root();
        if (!root || root.name() != kRoot) {
            error = format(L"\"%s\" is not a library configuration", path.c_str());
            return false;
        }
        Reader reader{path, {}, error};
        if (!reader.identity(root, into) || !reader.group(root, into, 0))
            return false;
        for (const pal::xml::Node& node : root.children(kAlternative))
            into.SetAlternativeName(node.attribute(L"alternative", L""), node.attribute(L"name", L""));
        return true;
    }

    static bool readIni(const std::wstring& path, const std::string& bytes, IConfiguration& into,
                        std::wstring& error) {
        dvio::IniFile ini;
        ini.Parse(bytes);
        const dvio::IniFile::Section* head = ini.FindSection(L"Configuration");
        if (head == nullptr) {
            error = format(L"\"%s\" is not a library configuration", path.c_str());
            return false;
        }
        if (const std::wstring* name = head->find(L"Name"))
            into.name_ = *name;
        for (int n = 1;; ++n) {
            const std::wstring sectionName = L"Library" + std::to_wstring(n);
            const dvio::IniFile::Section* section = ini.FindSection(sectionName.c_str());
            if (section == nullptr)
                break;
            const std::wstring* folder = section->find(L"Path");
            if (folder == nullptr || folder->empty()) {
                log(DVLogWarning, L"Library configuration \"%s\": %s has no path, skipped", path.c_str(),
                    sectionName.c_str());
                continue;
            }
            auto* library = new ILibrary(*folder);
            if (const std::wstring* name = section->find(L"Name"))
                library->name_ = *name;
            into.libraries_.push_back(library);
            library->parent_ = &into;
        }
        return true;
    }

    static void writeItem(const ILibraryItem& item, pal::xml::Node& node) {
        node.setAttribute(L"id", UniqueIdentifierToString(item.GetGuid()));
        node.setAttribute(L"name", item.GetName());
        const std::pair<const wchar_t*, const std::wstring*> texts[] = {{L"author", &item.GetAuthor()},
                                                                        {L"company", &item.GetCompany()},
                                                                        {L"comment", &item.GetComment()}};
        for (const auto& [key, value] : texts)
            if (!value->empty())
                node.setAttribute(key, *value);
        if (item.IsExcluded())
            node.setAttribute(L"excluded", L"1");
        if (item.IsStandardElements())
            node.setAttribute(L"standard", L"1");
    }

    static void writeGroup(const ILibrariesGroup& group, pal::xml::Node& node) {
        writeItem(group, node);
        for (std::size_t i = 0; i < group.GetSubGroupsCount(); ++i) {
            pal::xml::Node child = node.appendChild(kGroup);
            writeGroup(*group.GetSubGroup(i), child);
        }
        for (std::size_t i = 0; i < group.GetLibrariesCount(); ++i) {
            const ILibrary& library = *group.GetLibrary(i);
            pal::xml::Node child = node.appendChild(kLibrary);
            writeItem(library, child);
            child.setAttribute(L"path", library.GetPath());
            if (library.IsSymbolElements())
                child.setAttribute(L"symbols", L"1");
            for (const std::wstring& document : library.GetExcludedDocuments())
                child.appendChild(kExcluded).setAttribute(L"name", document);
        }
    }
};

bool IConfiguration::Load() {
    IConfiguration fresh(L"");
    bool legacy = false;
    std::wstring error;
    if (path_.empty() || !ConfigurationFile::Read(path_, fresh, legacy, error)) {
        lastError_ = path_.empty() ? std::wstring(L"The library configuration has no file") : error;
        log(DVLogWarning, L"%s", lastError_.c_str());
        return false;
    }
    lastError_.clear();
    const bool renamed = fresh.GetName() != GetName();
    ConfigurationFile::Transfer(fresh, *this);
    SetModified(legacy);
    if (renamed)
        NotifyNameChanged();
    Tell([this](ILibrariesGroup::IClient* c) { c->OnGroupReplaced(this); });
    return true;
}

bool IConfiguration::Reload() {
    if (!Load())
        return false;
    configurationClients_.tell([this](IClient* c) { c->OnReloaded(this); });
    return true;
}

bool IConfiguration::WriteTo(const std::wstring& path) {
    const pal::WriteOutcome written = ConfigurationFile::Write(*this, path);
    if (!written) {
        lastError_ = format(L"The library configuration \"%s\" could not be saved: %hs", GetName().c_str(),
                            written.message.c_str());
        log(DVLogFailure, L"%s", lastError_.c_str());
        return false;
    }
    lastError_.clear();
    return true;
}

bool IConfiguration::Save(bool always) {
    if (path_.empty())
        return always ? SaveAs() : true;
    if (!always && !modified_)
        return true;
    if (!WriteTo(path_))
        return false;
    SetModified(false);
    return true;
}

bool IConfiguration::SaveAs() {
    const std::wstring chosen = AskForConfigurationFile(false, path_.empty() ? GetName() : path_);
    if (chosen.empty() || !WriteTo(chosen))
        return false;
    SetPath(chosen);
    SetModified(false);
    return true;
}

} // namespace DocumentsMenu
