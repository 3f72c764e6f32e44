#include "DVPDMProxy/Files.h"
#include "DVPDMProxy/WorkMix.h"

#include "state.h"

#include <cwctype>

namespace dvpdm::detail {

Script& script() {
    static Script scripted;
    return scripted;
}

std::wstring fold(const std::wstring& path) {
    std::wstring folded = path;
    for (wchar_t& c : folded)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return folded;
}

void record(std::wstring call) {
    std::lock_guard lock(script().mutex);
    script().calls.push_back(std::move(call));
}

namespace {

// The scripted file of a path; none when the system does not know it.
bool scripted(const std::wstring& path, ScriptedFile* file) {
    std::lock_guard lock(script().mutex);
    const auto found = script().files.find(fold(path));
    if (found == script().files.end())
        return false;
    *file = found->second;
    return true;
}

const wchar_t* flag(bool on) {
    return on ? L"1" : L"0";
}

} // namespace
} // namespace dvpdm::detail

using namespace dvpdm::detail;

void DVPDMOpenningContext::LoadRemainingData() {
    record(L"load " + path_);
    ScriptedFile file;
    if (scripted(path_, &file) && file.failLoad)
        throw DVPDMException("the nomenclature data of a file could not be fetched");
    data_ = nomenclature_ != nullptr ? nomenclature_->GetData() : std::wstring();
}

void DVPDMFileObject::Refresh(bool flagA, bool flagB) {
    record(L"refresh " + path_ + L" " + flag(flagA) + L" " + flag(flagB));
    ScriptedFile file;
    if (scripted(path_, &file) && file.failRefresh)
        throw DVPDMException("the file's object could not be refreshed");
}

DVPDMOpenningContext DVPDMFileObject::GetOpenningContext() const {
    ScriptedFile file;
    if (!scripted(path_, &file) || file.nomenclatureId.empty())
        return DVPDMOpenningContext(path_, file.readOnly, nullptr);
    return DVPDMOpenningContext(
        path_, file.readOnly,
        std::make_shared<DVPDMNomenclatureObject>(file.nomenclatureId, file.nomenclatureData));
}

int DVPDMFileObject::GetState() const {
    ScriptedFile file;
    const bool known = scripted(path_, &file);
    if (known && file.failState)
        throw DVPDMException("the file's state could not be read");
    return known ? file.state : 0;
}

void DVPDMFileObject::Revert() {
    record(L"revert " + path_);
    ScriptedFile file;
    if (scripted(path_, &file) && file.failRevert)
        throw DVPDMException("the file could not be reverted");
}

void DVPDMFileObject::Update(bool on) {
    record(L"update " + path_ + L" " + flag(on));
    ScriptedFile file;
    if (scripted(path_, &file) && file.failUpdate)
        throw DVPDMException("the file's object could not be updated");
}

void DVPDMFileObject::Edit(int a, int b, int c, int d) {
    record(L"edit " + path_ + L" " + std::to_wstring(a) + L" " + std::to_wstring(b) + L" " +
           std::to_wstring(c) + L" " + std::to_wstring(d));
}

void DVPDMWorkMix::ResetCacheFor(const std::wstring& path) {
    record(L"reset " + path);
}

void DVPDMWorkMix::ResetCacheFor(const std::vector<std::wstring>& paths) {
    for (const std::wstring& path : paths)
        ResetCacheFor(path);
}

std::shared_ptr<DVPDMFileObject> DVPDMWorkMix::FindFile(const std::wstring& path) const {
    ScriptedFile file;
    if (!IsEnabled() || !scripted(path, &file))
        return nullptr;
    return std::make_shared<DVPDMFileObject>(file.path);
}

void DVPDMFolderObject::Refresh(bool flagA, bool flagB) {
    record(L"refresh folder " + path_ + L" " + flag(flagA) + L" " + flag(flagB));
    ScriptedFile folder;
    if (scripted(path_, &folder) && folder.failRefresh)
        throw DVPDMException("the repository folder could not be refreshed");
}

std::shared_ptr<DVPDMFolderObject> DVPDMWorkMix::FindFolder(const std::wstring& path) const {
    ScriptedFile folder;
    if (!IsEnabled() || !scripted(path, &folder))
        return nullptr;
    return std::make_shared<DVPDMFolderObject>(folder.path);
}

std::vector<std::shared_ptr<DVPDMFileObject>>
DVPDMWorkMix::FindFiles(const std::vector<std::wstring>& paths) const {
    std::vector<std::shared_ptr<DVPDMFileObject>> found;
    found.reserve(paths.size());
    for (const std::wstring& path : paths)
        found.push_back(FindFile(path));
    return found;
}

void DVPDMWorkMix::ProcessDocument(const std::wstring& path, const DVPDMFileObject& file) {
    record(L"process " + path);
    if (!IsEnabled())
        throw DVPDMException("the PDM system is not connected");
    (void)file;
}

std::shared_ptr<DVPDMNomenclatureObject> DVPDMWorkMix::GetNomenclatureObject(const std::wstring& path) const {
    if (!IsEnabled())
        return nullptr;
    std::lock_guard lock(script().mutex);
    const auto found = script().provider.find(fold(path));
    if (found == script().provider.end())
        return nullptr;
    return std::make_shared<DVPDMNomenclatureObject>(found->second.first, found->second.second);
}

void DVPDMWorkMix::StoreAssemblyVersion(const std::wstring& path, const std::wstring& version,
                                        bool showDialog, const DVPDMNomenclatureObject* nomenclature) {
    record(L"store " + path + L" " + version + L" " + flag(showDialog) + L" " +
           (nomenclature != nullptr ? nomenclature->GetId() : std::wstring(L"-")));
    bool fails = !IsEnabled();
    {
        std::lock_guard lock(script().mutex);
        fails = fails || script().failingStores.count(version) != 0;
    }
    if (fails)
        throw DVPDMException("the PDM system refused the version");
}

std::wstring DVPDMWorkMix::ReadNomenclatureData(const DVPDMNomenclatureObject& nomenclature) const {
    record(L"read " + nomenclature.GetId());
    std::lock_guard lock(script().mutex);
    if (!IsEnabled() || script().failNomenclatureRead)
        throw DVPDMException("the nomenclature could not be read");
    for (const auto& [path, file] : script().files)
        if (file.nomenclatureId == nomenclature.GetId())
            return file.nomenclatureData;
    for (const auto& [path, entry] : script().provider)
        if (entry.first == nomenclature.GetId())
            return entry.second;
    return nomenclature.GetData();
}
