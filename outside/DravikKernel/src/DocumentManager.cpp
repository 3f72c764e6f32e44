#include "DravikKernel/DocumentManager.h"

#include "DravikKernel/DocumentFile.h"

#include "KernelState.h"

#include "DVDiagnostics/Trace.h"
#include "pal/text.h"

#include <algorithm>
#include <filesystem>
#include <mutex>

namespace Dravik {
namespace {

struct Documents {
    std::mutex mutex;
    std::vector<CDvw32Doc*> open;
    std::vector<std::unique_ptr<CDvw32Doc>> owned; // the documents this manager made
    CDvw32Doc* active = nullptr;
    std::vector<std::pair<HWND, CDvw32Doc*>> activeOfFrame;
};

std::wstring fullPath(const std::wstring& path) {
    std::error_code ec;
    const auto p = std::filesystem::absolute(pal::text::toUtf8(path), ec).lexically_normal();
    return ec ? path : pal::text::fromUtf8(p.string());
}

Documents& documents() {
    static Documents* d = new Documents;
    return *d;
}

} // namespace

DocumentManager& DocumentManager::Instance() {
    static DocumentManager* instance = new DocumentManager;
    return *instance;
}

std::vector<CDvw32Doc*> DocumentManager::GetDocuments() const {
    std::lock_guard lock(documents().mutex);
    return documents().open;
}

size_t DocumentManager::GetDocumentCount() const {
    std::lock_guard lock(documents().mutex);
    return documents().open.size();
}

bool DocumentManager::IsOpen(const CDvw32Doc* document) const {
    std::lock_guard lock(documents().mutex);
    const auto& open = documents().open;
    return document && std::find(open.begin(), open.end(), document) != open.end();
}

void DocumentManager::AddDocument(CDvw32Doc* document) {
    if (!document)
        return;
    std::lock_guard lock(documents().mutex);
    auto& open = documents().open;
    if (std::find(open.begin(), open.end(), document) == open.end())
        open.push_back(document);
}

void DocumentManager::RemoveDocument(CDvw32Doc* document) {
    std::lock_guard lock(documents().mutex);
    auto& d = documents();
    std::erase(d.open, document);
    if (d.active == document)
        d.active = nullptr;
    std::erase_if(d.activeOfFrame, [&](const auto& entry) { return entry.second == document; });
}

void DocumentManager::SetActiveDocument(CDvw32Doc* document, HWND frame) {
    std::lock_guard lock(documents().mutex);
    auto& d = documents();
    if (document && std::find(d.open.begin(), d.open.end(), document) == d.open.end())
        return;
    d.active = document;
    if (!frame)
        return;
    std::erase_if(d.activeOfFrame, [&](const auto& entry) { return entry.first == frame; });
    if (document)
        d.activeOfFrame.emplace_back(frame, document);
}

CDvw32Doc* DocumentManager::GetActiveDocument(HWND frame) const {
    std::lock_guard lock(documents().mutex);
    const auto& d = documents();
    if (frame)
        for (const auto& [f, document] : d.activeOfFrame)
            if (f == frame)
                return document;
    return d.active;
}

CDvw32Doc* DocumentManager::OpenDocument(const std::wstring& path, std::wstring* error,
                                         std::optional<DocumentKind> kind) {
    const std::wstring full = fullPath(path);
    if (CDvw32Doc* open = FindDocument(full))
        return open;
    auto document = grb::LoadFile(full, error);
    if (!document)
        return nullptr;
    if (kind && document->GetKind() != *kind) {
        if (error)
            *error = L"Cannot open \"" + full + L"\": the file holds another kind of document.";
        return nullptr;
    }
    CDvw32Doc* result = document.get();
    {
        std::lock_guard lock(documents().mutex);
        documents().owned.push_back(std::move(document));
    }
    AddDocument(result);
    return result;
}

CDvw32Doc* DocumentManager::FindDocument(const std::wstring& path) const {
    if (path.empty())
        return nullptr;
    const std::wstring full = fullPath(path);
    std::lock_guard lock(documents().mutex);
    for (CDvw32Doc* d : documents().open)
        for (const auto& owned : documents().owned)
            if (owned.get() == d && d->GetPathName() == full)
                return d;
    return nullptr;
}

CDvw32Doc* DocumentManager::CreateDocument(DocumentKind kind, const std::wstring& title) {
    auto document = std::make_unique<CDvw32Doc>();
    document->SetKind(kind);
    document->SetTitle(title);
    CDvw32Doc* result = document.get();
    {
        std::lock_guard lock(documents().mutex);
        documents().owned.push_back(std::move(document));
    }
    AddDocument(result);
    return result;
}

CDvw32Doc* DocumentManager::CreateAndSaveNewDocumentFromPrototype(const wchar_t* prototypePath,
                                                                  const DocInitParams& params,
                                                                  std::wstring* error) {
    const std::wstring prototype = prototypePath ? prototypePath : L"";
    dvtrace::record(dvkernel::kTraceName,
                    "CreateAndSaveNewDocumentFromPrototype(" + pal::text::toUtf8(prototype) + ")");
    auto document = grb::LoadFile(fullPath(prototype), error);
    if (!document)
        return nullptr;
    // The new document keeps the prototype's content but none of its file: no path, no
    // read-only state (a write-protected prototype makes writable documents).
    const std::wstring title = params.title.empty() ? document->GetShortTitle() : params.title;
    document->SetPathName({});
    document->SetTitle(title);
    document->SetReadOnly(false);
    if (!params.pathName.empty() && !document->DoFileSave(fullPath(params.pathName), error))
        return nullptr;
    CDvw32Doc* result = document.get();
    {
        std::lock_guard lock(documents().mutex);
        documents().owned.push_back(std::move(document));
    }
    AddDocument(result);
    return result;
}

bool DocumentManager::CloseDocument(CDvw32Doc* document) {
    if (document && document->GetHoldCount() > 0)
        return false;
    RemoveDocument(document);
    std::unique_ptr<CDvw32Doc> doomed;
    {
        std::lock_guard lock(documents().mutex);
        auto& owned = documents().owned;
        auto it =
            std::find_if(owned.begin(), owned.end(), [&](const auto& d) { return d.get() == document; });
        if (it != owned.end()) {
            doomed = std::move(*it);
            owned.erase(it);
        }
    }
    return true;
}

} // namespace Dravik

CDvw32Doc* DVGetActiveDoc(HWND frame) {
    return Dravik::DocumentManager::Instance().GetActiveDocument(frame);
}

namespace dvkernel {
// For the kernel's reset (detail/control.h).
void clearDocuments() {
    std::lock_guard lock(Dravik::documents().mutex);
    Dravik::documents().open.clear();
    Dravik::documents().owned.clear();
    Dravik::documents().active = nullptr;
    Dravik::documents().activeOfFrame.clear();
}
} // namespace dvkernel
