#include "DravikKernel/WSDocManager.h"

#include "RegistryTree.h"

#include <cwchar>

namespace {

constexpr const wchar_t* kSection = L"DocumentManager";
constexpr const wchar_t* kLastFolder = L"LastFolder";
constexpr const wchar_t* kFilterIndex = L"FilterIndex";

std::wstring key() {
    return DravikProfileManager::GetApplicationKey() + L"\\" + DravikProfileManager::GetProfileSectionName() +
           L"\\" + kSection;
}

// The folder part of a path, with either separator.
std::wstring folderOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

} // namespace

CWSDocManager::CWSDocManager() : DravikProfileItem(kSection, L"Documents") {}

CWSDocManager::~CWSDocManager() = default;

CDocument* CWSDocManager::OpenDocumentFile(LPCWSTR lpszFileName, BOOL bAddToMRU) {
    CDocument* document = CDocManager::OpenDocumentFile(lpszFileName, bAddToMRU);
    if (document && m_bTrackFolders) {
        const std::wstring folder = folderOf(std::wstring(document->GetPathName()));
        if (!folder.empty())
            m_lastFolder = folder;
    }
    return document;
}

int CWSDocManager::LoadState() {
    const int result = DravikProfileItem::LoadState();
    // What the profile does not hold goes back to the defaults.
    m_lastFolder.clear();
    m_filterIndex = 1;
    const auto tree = dvkernel::readRegistryTree(HKEY_CURRENT_USER, key());
    if (!tree)
        return result;
    if (const auto found = tree->values.find(kLastFolder);
        found != tree->values.end() && found->second.type == REG_SZ) {
        const auto& data = found->second.data;
        std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
        text.resize(std::wcslen(text.c_str()));
        m_lastFolder = text;
    }
    if (const auto found = tree->values.find(kFilterIndex);
        found != tree->values.end() && found->second.type == REG_DWORD && found->second.data.size() == 4) {
        const auto& d = found->second.data;
        m_filterIndex = static_cast<int>(d[0] | (d[1] << 8) | (d[2] << 16) | (DWORD(d[3]) << 24));
    }
    return result;
}

int CWSDocManager::SaveState() {
    dvkernel::RegistryTree tree;
    const std::wstring folder = m_lastFolder + L'\0';
    const auto* bytes = reinterpret_cast<const BYTE*>(folder.data());
    tree.values[kLastFolder] = {REG_SZ, std::vector<BYTE>(bytes, bytes + folder.size() * sizeof(wchar_t))};
    const DWORD index = static_cast<DWORD>(m_filterIndex);
    tree.values[kFilterIndex] = {REG_DWORD,
                                 {BYTE(index), BYTE(index >> 8), BYTE(index >> 16), BYTE(index >> 24)}};
    if (!dvkernel::writeRegistryTree(HKEY_CURRENT_USER, key(), tree))
        return 1;
    return DravikProfileItem::SaveState();
}
