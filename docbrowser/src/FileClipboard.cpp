#include "docbrowser/FileClipboard.h"

#include "DravikUI/ClipboardManager.h"

#include "afx/oledata.h"
#include "afxwin.h"
#include "win/ole/clipboard.h"
#include "win/system/shell.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace DocumentsMenu {

namespace {

std::wstring extensionOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return {};
    return path.substr(dot);
}

// The clipboard's file lists are in UTF-16 units.
std::u16string utf16(const std::wstring& text) {
    std::u16string units;
    for (wchar_t c : text) {
        const auto code = static_cast<std::uint32_t>(c);
        if (code < 0x10000) {
            units.push_back(static_cast<char16_t>(code));
        } else {
            units.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        }
    }
    return units;
}

HWND mainWindow() {
    CWnd* main = AfxGetMainWnd();
    return main ? main->GetSafeHwnd() : nullptr;
}

} // namespace

bool IsDocumentFileName(const std::wstring& path) {
    const std::wstring ext = extensionOf(path);
    return ext.size() == 4 && CString(ext.c_str()).CompareNoCase(L".grb") == 0;
}

FileClipboard& FileClipboard::Instance() {
    static FileClipboard clipboard;
    return clipboard;
}

UINT FileClipboard::PreferredEffectFormat() {
    return Dravik::ClipboardManager::registerFormat(L"Preferred DropEffect");
}

HGLOBAL FileClipboard::MakeFileList(const std::vector<std::wstring>& files) {
    std::u16string list;
    for (const std::wstring& f : files) {
        list += utf16(f);
        list.push_back(u'\0');
    }
    list.push_back(u'\0');
    const std::size_t bytes = sizeof(DROPFILES) + 2 * (list.size() + 2);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (block == nullptr)
        return nullptr;
    auto* p = static_cast<unsigned char*>(::GlobalLock(block));
    if (p == nullptr) {
        ::GlobalFree(block);
        return nullptr;
    }
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fNC = TRUE;
    header.fWide = TRUE;
    std::memcpy(p, &header, sizeof header);
    std::memcpy(p + sizeof header, list.data(), list.size() * 2);
    ::GlobalUnlock(block);
    return block;
}

HGLOBAL FileClipboard::MakeEffect(DROPEFFECT effect) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DWORD));
    if (block == nullptr)
        return nullptr;
    if (void* p = ::GlobalLock(block)) {
        const DWORD value = effect;
        std::memcpy(p, &value, sizeof value);
        ::GlobalUnlock(block);
        return block;
    }
    ::GlobalFree(block);
    return nullptr;
}

bool FileClipboard::SetFiles(const std::vector<std::wstring>& files, DROPEFFECT effect) {
    HGLOBAL list = MakeFileList(files);
    HGLOBAL preferred = MakeEffect(effect);
    if (list == nullptr || preferred == nullptr) {
        if (list)
            ::GlobalFree(list);
        if (preferred)
            ::GlobalFree(preferred);
        return false;
    }
    auto* source = new COleDataSource;
    source->CacheGlobalData(CF_HDROP, list);
    source->CacheGlobalData(static_cast<CLIPFORMAT>(PreferredEffectFormat()), preferred);
    source->SetClipboard();
    COleDataSource::FlushClipboard();
    return true;
}

bool FileClipboard::DragFiles(const std::vector<std::wstring>& files, DROPEFFECT effect) {
    HGLOBAL list = MakeFileList(files);
    HGLOBAL preferred = MakeEffect(effect);
    if (list == nullptr || preferred == nullptr) {
        if (list)
            ::GlobalFree(list);
        if (preferred)
            ::GlobalFree(preferred);
        return false;
    }
    COleDataSource source;
    source.CacheGlobalData(CF_HDROP, list);
    source.CacheGlobalData(static_cast<CLIPFORMAT>(PreferredEffectFormat()), preferred);
    source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    return true;
}

void FileClipboard::GetFiles(std::vector<std::wstring>& files) const {
    COleDataObject clipboard;
    if (clipboard.AttachClipboard())
        GetFiles(&clipboard, files);
}

void FileClipboard::GetFiles(COleDataObject* data, std::vector<std::wstring>& files) const {
    if (data == nullptr || !data->IsDataAvailable(CF_HDROP))
        return;
    HGLOBAL block = data->GetGlobalData(CF_HDROP);
    if (block == nullptr)
        return;
    auto drop = reinterpret_cast<HDROP>(block);
    files.clear();
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0)
            continue;
        std::wstring name(length + 1, L'\0');
        name.resize(::DragQueryFileW(drop, i, name.data(), length + 1));
        files.push_back(std::move(name));
    }
    ::GlobalFree(block);
}

bool FileClipboard::Paste(const std::wstring& folder) {
    COleDataObject clipboard;
    if (!clipboard.AttachClipboard())
        return false;
    return PasteData(&clipboard, folder);
}

bool FileClipboard::PasteData(COleDataObject* data, const std::wstring& folder) {
    if (data == nullptr || !data->IsDataAvailable(CF_HDROP))
        return false;
    DWORD effect = 0;
    if (HGLOBAL block = data->GetGlobalData(static_cast<CLIPFORMAT>(PreferredEffectFormat()))) {
        if (::GlobalSize(block) >= sizeof(DWORD))
            if (const void* p = ::GlobalLock(block)) {
                std::memcpy(&effect, p, sizeof effect);
                ::GlobalUnlock(block);
            }
        ::GlobalFree(block);
    }
    return Transfer(data, folder, effect);
}

bool FileClipboard::DropData(COleDataObject* data, const std::wstring& folder, DROPEFFECT effect) {
    return Transfer(data, folder, effect);
}

bool FileClipboard::Transfer(COleDataObject* data, const std::wstring& folder, DROPEFFECT effect) {
    if (data == nullptr || !data->IsDataAvailable(CF_HDROP))
        return false;
    std::vector<std::wstring> files;
    GetFiles(data, files);
    std::wstring from;
    for (const std::wstring& f : files)
        if (IsDocumentFileName(f))
            from.append(f).push_back(L'\0');
    // Nothing to copy: no shell call, and nothing was pasted.
    if (from.empty())
        return false;
    std::wstring to = folder;
    to.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.hwnd = mainWindow();
    op.wFunc = effect == DROPEFFECT_MOVE ? FO_MOVE : FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_ALLOWUNDO;
    return ::SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

} // namespace DocumentsMenu
