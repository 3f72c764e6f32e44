#include "DravikKernel/ProfileManager.h"

#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/KernelServices.h"
#include "KernelState.h"
#include "RegistryTree.h"

#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/Trace.h"
#include "pal/atomic_file.h"
#include "pal/path.h"
#include "pal/registry.h"
#include "pal/text.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr const wchar_t* kDefaultApplicationKey = L"Software\\Dravik\\DRAVIK CAD 18.0";
constexpr const wchar_t* kProfilesSection = L"Profiles";
constexpr const wchar_t* kDefaultProfile = L"Current";
constexpr const wchar_t* kSummary = L"~Summary";

struct Profiles {
    std::recursive_mutex mutex;
    std::wstring applicationKey = kDefaultApplicationKey;
    std::wstring currentName;
    std::vector<DravikProfileItem*> items;
};

Profiles& profiles() {
    static Profiles* p = new Profiles;
    return *p;
}

std::wstring orDefault(const wchar_t* name) {
    return name && *name ? std::wstring(name) : std::wstring(kDefaultProfile);
}

std::wstring absoluteSection(const std::wstring& section) {
    return DravikProfileManager::GetApplicationKey() + L"\\" + section;
}

// The last component of a section path: the profile's name.
std::wstring lastComponent(const std::wstring& section) {
    const std::size_t slash = section.find_last_of(L'\\');
    return slash == std::wstring::npos ? section : section.substr(slash + 1);
}

fs::path profilesFolder() {
    return pal::path::toNative(DVAppendProgramPath(kProfilesSection, 1, false));
}

fs::path profileFile(const std::wstring& profile) {
    return profilesFolder() / pal::text::toUtf8(profile) /
           ("Profile." + pal::text::toUtf8(DravikProfileManager::GetProfileFileExtension()));
}

std::optional<std::string> readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Keeps a profile's keys in its file; a profile without keys has nothing to keep.
bool keepOnDisk(const std::wstring& profile) {
    const auto tree = dvkernel::readRegistryTree(
        HKEY_CURRENT_USER, absoluteSection(DravikProfileManager::GetProfileSectionName(profile.c_str())));
    if (!tree)
        return true;
    const fs::path file = profileFile(profile);
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    const pal::WriteOutcome outcome = pal::writeFileAtomically(file, dvkernel::formatProfileFile(*tree));
    if (!outcome)
        DVLog_Write(DVLogOptionalFailure, "Failed to keep the profile \"%s\": %s",
                    pal::text::toUtf8(profile).c_str(), outcome.message.c_str());
    return outcome.ok;
}

bool copyFolder(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (!fs::exists(from, ec))
        return true;
    fs::create_directories(to, ec);
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    return !ec;
}

} // namespace

namespace dvkernel {
// For the kernel's reset (detail/control.h): the items belong to their owners and stay.
void resetProfiles() {
    std::lock_guard lock(profiles().mutex);
    profiles().applicationKey = kDefaultApplicationKey;
    profiles().currentName.clear();
}
} // namespace dvkernel

// ---- DravikProfileItem --------------------------------------------------------------------

DravikProfileItem::DravikProfileItem(const wchar_t* sectionName, const wchar_t* name)
    : m_section(sectionName ? sectionName : L""), m_name(name ? name : m_section.c_str()) {
    std::lock_guard lock(profiles().mutex);
    profiles().items.push_back(this);
}

DravikProfileItem::~DravikProfileItem() {
    std::lock_guard lock(profiles().mutex);
    auto& items = profiles().items;
    items.erase(std::remove(items.begin(), items.end(), this), items.end());
}

std::wstring DravikProfileItem::GetCurrentSection() const {
    return DravikProfileManager::GetProfileSectionName() + L"\\" + m_section;
}

int DravikProfileItem::LoadState() {
    const std::wstring key = absoluteSection(GetCurrentSection());
    if (!dvkernel::registryKeyExists(HKEY_CURRENT_USER, key))
        return NotFound;
    DWORD version = 0, size = sizeof version;
    if (RegGetValueW(HKEY_CURRENT_USER, (key + L"\\" + kSummary).c_str(), L"Version", RRF_RT_REG_DWORD,
                     nullptr, &version, &size) != ERROR_SUCCESS)
        return Loaded; // a category written before versions were kept
    unsigned lowest = 0, highest = 0;
    GetSupportedVersionRange(lowest, highest);
    return version < lowest || version > highest ? VersionNote : Loaded;
}

int DravikProfileItem::SaveState() {
    dvkernel::RegistryTree summary;
    const std::wstring wide = m_name + L'\0';
    summary.values[L"Name"] = {REG_SZ,
                               std::vector<BYTE>(reinterpret_cast<const BYTE*>(wide.c_str()),
                                                 reinterpret_cast<const BYTE*>(wide.c_str() + wide.size()))};
    const DWORD version = GetVersion();
    summary.values[L"Version"] = {REG_DWORD, std::vector<BYTE>(reinterpret_cast<const BYTE*>(&version),
                                                               reinterpret_cast<const BYTE*>(&version + 1))};
    return dvkernel::writeRegistryTree(HKEY_CURRENT_USER,
                                       absoluteSection(GetCurrentSection()) + L"\\" + kSummary, summary)
               ? 0
               : 1;
}

void DravikProfileItem::GetStateData(unsigned, std::vector<std::wstring>&) const {}

void DravikProfileItem::GetSupportedVersionRange(unsigned& lowest, unsigned& highest) const {
    lowest = highest = GetVersion();
}

// ---- DravikProfileManager -----------------------------------------------------------------

void DravikProfileManager::SetApplicationKey(const wchar_t* key) {
    std::lock_guard lock(profiles().mutex);
    profiles().applicationKey = key && *key ? key : kDefaultApplicationKey;
}

std::wstring DravikProfileManager::GetApplicationKey() {
    std::lock_guard lock(profiles().mutex);
    return profiles().applicationKey;
}

std::wstring DravikProfileManager::GetProfilesSectionName() {
    return kProfilesSection;
}

std::wstring DravikProfileManager::GetDefaultProfileName() {
    return kDefaultProfile;
}

std::wstring DravikProfileManager::GetProfileSectionName(const wchar_t* profileName) {
    return std::wstring(kProfilesSection) + L"\\" + orDefault(profileName);
}

std::wstring DravikProfileManager::GetProfileFileExtension() {
    if (DravikServerAppProxy* proxy = DravikServerAppProxy::Instance())
        return proxy->GetProfileFileExtension();
    return L"dvenv";
}

std::wstring DravikProfileManager::GetProfileName(const wchar_t* filePath) {
    const std::wstring path = filePath ? filePath : L"";
    const std::size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    if (const std::size_t dot = name.find_last_of(L'.'); dot != std::wstring::npos && dot > 0)
        name.resize(dot);
    if (name.size() > 259)
        name.resize(259);
    return name;
}

bool DravikProfileManager::ProfileExists(const wchar_t* profileName) {
    return dvkernel::registryKeyExists(HKEY_CURRENT_USER,
                                       absoluteSection(GetProfileSectionName(profileName)));
}

void DravikProfileManager::GetProfiles(std::vector<std::wstring>& names, bool storedOnly) {
    names.clear();
    for (std::wstring& name : dvkernel::registrySubKeys(HKEY_CURRENT_USER, absoluteSection(kProfilesSection)))
        if (!storedOnly || !pal::text::equalsNoCase(name, kDefaultProfile))
            names.push_back(std::move(name));
}

std::wstring DravikProfileManager::GetProfileSectionAppDataPath(const wchar_t* profileSection,
                                                                const wchar_t* category,
                                                                bool trailingSeparator, bool create) {
    std::wstring path = DVAppendProgramPath(kProfilesSection, 1, false);
    // A drive path goes on with the platform's separator, a native folder with its own.
    const std::wstring separator = !path.empty() && path.front() == L'/' ? L"/" : L"\\";
    if (profileSection && *profileSection)
        path += separator + lastComponent(profileSection);
    if (category && *category)
        path += separator + std::wstring(category);
    const fs::path folder = pal::path::toNative(path);
    std::error_code ec;
    if (create)
        fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        return {};
    if (trailingSeparator)
        path += separator;
    return path;
}

std::wstring DravikProfileManager::GetCurrentProfileName() {
    std::lock_guard lock(profiles().mutex);
    return profiles().currentName;
}

void DravikProfileManager::SetCurrentProfileName(const wchar_t* name) {
    std::lock_guard lock(profiles().mutex);
    profiles().currentName = name ? name : L"";
}

bool DravikProfileManager::Copy(const wchar_t* source, const wchar_t* target) {
    const std::wstring from = orDefault(source), to = orDefault(target);
    if (pal::text::equalsNoCase(from, to))
        return true;
    const auto tree =
        dvkernel::readRegistryTree(HKEY_CURRENT_USER, absoluteSection(GetProfileSectionName(from.c_str())));
    if (!tree) {
        DVLog_Write(DVLogOptionalFailure, "Cannot copy the profile \"%s\": it does not exist",
                    pal::text::toUtf8(from).c_str());
        return false;
    }
    const std::wstring targetKey = absoluteSection(GetProfileSectionName(to.c_str()));
    bool ok = true;
    for (const auto& [category, content] : tree->keys) {
        ok &= dvkernel::deleteRegistryTree(HKEY_CURRENT_USER, targetKey + L"\\" + category);
        ok &= dvkernel::writeRegistryTree(HKEY_CURRENT_USER, targetKey + L"\\" + category, content);
    }
    ok &= dvkernel::writeRegistryTree(HKEY_CURRENT_USER, targetKey, dvkernel::RegistryTree{tree->values, {}});
    const fs::path root = profilesFolder();
    for (const auto& [category, content] : tree->keys) {
        (void)content;
        std::error_code ec;
        // Names of folders below the profiles' folder, not paths of their own.
        const fs::path targetFolder = root / pal::text::toUtf8(to) / pal::text::toUtf8(category);
        const fs::path sourceFolder = root / pal::text::toUtf8(from) / pal::text::toUtf8(category);
        if (fs::exists(sourceFolder, ec))
            fs::remove_all(targetFolder, ec);
        ok &= copyFolder(sourceFolder, targetFolder);
    }
    ok &= keepOnDisk(to);
    return ok;
}

bool DravikProfileManager::Apply(const wchar_t* profileName) {
    if (!profileName || !*profileName || !ProfileExists(profileName) || !Copy(profileName, nullptr))
        return false;
    SetCurrentProfileName(profileName);
    ForEachItem([](DravikProfileItem& item) {
        item.LoadState();
        return true;
    });
    if (DravikServerAppProxy* proxy = DravikServerAppProxy::Instance())
        proxy->LoadState();
    return true;
}

long DravikProfileManager::Import(const wchar_t* filePath, bool overwrite) {
    const std::wstring path = filePath ? filePath : L"";
    const fs::path file = pal::path::toNative(path);
    const std::wstring name = GetProfileName(path.c_str());
    std::error_code ec;
    if (name.empty() || !fs::is_regular_file(file, ec))
        return kFileNotFound;
    if (pal::text::equalsNoCase(name, kDefaultProfile))
        return kAccessDenied; // the live settings are never a stored profile
    if (ProfileExists(name.c_str()) && !overwrite)
        return kAlreadyExists;
    const auto bytes = readFile(file);
    if (!bytes)
        return kAccessDenied;
    const auto tree = dvkernel::parseProfileFile(*bytes);
    if (!tree) {
        DVLog_Write(DVLogOptionalFailure, "The profile file \"%s\" is damaged",
                    pal::text::toUtf8(path).c_str());
        return kInvalidHeader;
    }
    const std::wstring key = absoluteSection(GetProfileSectionName(name.c_str()));
    if (!dvkernel::deleteRegistryTree(HKEY_CURRENT_USER, key) ||
        !dvkernel::writeRegistryTree(HKEY_CURRENT_USER, key, *tree))
        return kAccessDenied;
    keepOnDisk(name);
    return kImported;
}

bool DravikProfileManager::Export(const wchar_t* profileName, const wchar_t* filePath) {
    const auto tree =
        dvkernel::readRegistryTree(HKEY_CURRENT_USER, absoluteSection(GetProfileSectionName(profileName)));
    if (!tree || !filePath || !*filePath)
        return false;
    return pal::writeFileAtomically(pal::path::toNative(filePath), dvkernel::formatProfileFile(*tree)).ok;
}

void DravikProfileManager::SaveState() {
    // Every item's settings in one registry transaction: one sync of the disk, not one a value.
    pal::reg::Batch batch;
    ForEachItem([](DravikProfileItem& item) {
        item.SaveState();
        return true;
    });
    if (DravikServerAppProxy* proxy = DravikServerAppProxy::Instance())
        proxy->SaveState();
    std::vector<std::wstring> names;
    GetProfiles(names, false);
    for (const std::wstring& name : names)
        keepOnDisk(name);
    dvtrace::record(dvkernel::kTraceName, "DravikProfileManager::SaveState");
}

bool DravikProfileManager::ForEachItem(const std::function<bool(DravikProfileItem&)>& visit) {
    // A visit may register or unregister items: walk a copy, skipping the ones gone meanwhile.
    std::vector<DravikProfileItem*> items;
    {
        std::lock_guard lock(profiles().mutex);
        items = profiles().items;
    }
    for (DravikProfileItem* item : items) {
        {
            std::lock_guard lock(profiles().mutex);
            const auto& live = profiles().items;
            if (std::find(live.begin(), live.end(), item) == live.end())
                continue;
        }
        if (!visit(*item))
            return false;
    }
    return true;
}

void DravikProfileManager::LoadProfiles() {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(profilesFolder(), ec)) {
        if (!entry.is_directory(ec))
            continue;
        const std::wstring name = pal::path::fromNative(entry.path().filename());
        const fs::path file = profileFile(name);
        if (ProfileExists(name.c_str()) || !fs::is_regular_file(file, ec))
            continue;
        const std::wstring key = absoluteSection(GetProfileSectionName(name.c_str()));
        const auto bytes = readFile(file);
        const auto tree = bytes ? dvkernel::parseProfileFile(*bytes) : std::nullopt;
        if (tree) {
            dvkernel::writeRegistryTree(HKEY_CURRENT_USER, key, *tree);
            continue;
        }
        const fs::path aside = pal::setAsideBadFile(file);
        DVLog_Write(DVLogOptionalFailure,
                    "The profile file \"%s\" is damaged; the profile starts from defaults (kept as \"%s\")",
                    file.string().c_str(), aside.string().c_str());
        dvkernel::writeRegistryTree(HKEY_CURRENT_USER, key, {});
    }
}
