#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DocumentPdm.h"

#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/Settings.h"

#include "KernelState.h"

#include "DVDiagnostics/Trace.h"
#include "pal/path.h"
#include "pal/text.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <mutex>
#include <stdexcept>

bool g_bOpeningFromOLE = false;

namespace Dravik {
namespace {

struct Documents {
    std::mutex mutex;
    std::vector<CDvw32Doc*> open;
    std::map<const CDvw32Doc*, std::uint64_t> serials; // of the open documents
    std::uint64_t lastSerial = 0;
    std::vector<std::unique_ptr<CDvw32Doc>> owned; // the documents this manager made
    CDvw32Doc* active = nullptr;
    std::vector<std::pair<HWND, CDvw32Doc*>> activeOfFrame;
    CDVDocTemplate* docTemplate = nullptr;
};

std::wstring fullPath(const std::wstring& path) {
    return Dravik::DocumentManager::FullPath(path);
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
    if (std::find(open.begin(), open.end(), document) == open.end()) {
        open.push_back(document);
        documents().serials[document] = ++documents().lastSerial;
    }
}

std::uint64_t DocumentManager::GetOpenSerial(const CDvw32Doc* document) const {
    std::lock_guard lock(documents().mutex);
    const auto at = documents().serials.find(document);
    return at != documents().serials.end() ? at->second : 0;
}

void DocumentManager::RemoveDocument(CDvw32Doc* document) {
    bool listed = false, wasActive = false;
    {
        std::lock_guard lock(documents().mutex);
        auto& d = documents();
        listed = std::erase(d.open, document) > 0;
        d.serials.erase(document);
        wasActive = document && d.active == document;
        if (wasActive)
            d.active = nullptr;
        std::erase_if(d.activeOfFrame, [&](const auto& entry) { return entry.second == document; });
    }
    // The application hears of it outside the lock: it may well ask the manager again.
    if (DravikServerAppProxy* app = listed ? DravikServerAppProxy::Instance() : nullptr) {
        if (wasActive) {
            app->OnDocumentDeactivated(document, 1);
            app->OnActivateDocument(nullptr);
        }
        app->OnDocumentClosed(document);
    }
}

void DocumentManager::SetActiveDocument(CDvw32Doc* document, HWND frame) {
    bool changed = false;
    CDvw32Doc* previous = nullptr;
    {
        std::lock_guard lock(documents().mutex);
        auto& d = documents();
        if (document && std::find(d.open.begin(), d.open.end(), document) == d.open.end())
            return;
        changed = d.active != document;
        previous = d.active;
        d.active = document;
        if (frame) {
            std::erase_if(d.activeOfFrame, [&](const auto& entry) { return entry.first == frame; });
            if (document)
                d.activeOfFrame.emplace_back(frame, document);
        }
    }
    // The one that stops being active is let go before the new one is named.
    if (DravikServerAppProxy* app = changed ? DravikServerAppProxy::Instance() : nullptr) {
        if (previous != nullptr)
            app->OnDocumentDeactivated(previous, 1);
        app->OnActivateDocument(document);
    }
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
    {
        std::lock_guard lock(dvkernel::state().mutex);
        std::wstring& throwing = dvkernel::state().throwOnOpen;
        if (!throwing.empty() && (throwing == path || throwing == full)) {
            throwing.clear();
            throw std::runtime_error("the document's file could not be read");
        }
    }
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

std::wstring DocumentManager::FullPath(const std::wstring& path) {
    std::error_code ec;
    const auto p = std::filesystem::absolute(pal::path::toNative(path), ec).lexically_normal();
    return ec || p.empty() ? path : pal::path::fromNative(p);
}

CDvw32Doc* DocumentManager::FindDocument(const std::wstring& path) const {
    if (path.empty())
        return nullptr;
    const std::wstring full = fullPath(path);
    std::lock_guard lock(documents().mutex);
    for (CDvw32Doc* d : documents().open)
        for (const auto& owned : documents().owned)
            if (owned.get() == d && std::wstring(d->GetPathName()) == full)
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
    document->SetPathName(L"");
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

DocInitParams DocumentManager::GetDefaultInitParams() {
    DocInitParams params;
    params.options = DocInitParams::kActivateFrame | DocInitParams::kAddToRecent;
    return params;
}

void DocumentManager::SetDocTemplate(CDVDocTemplate* docTemplate) {
    std::lock_guard lock(documents().mutex);
    documents().docTemplate = docTemplate;
}

CDVDocTemplate* DocumentManager::GetDocTemplate() const {
    std::lock_guard lock(documents().mutex);
    return documents().docTemplate;
}

bool DocumentManager::IsManaged(const CDvw32Doc* document) const {
    std::lock_guard lock(documents().mutex);
    for (const auto& owned : documents().owned)
        if (owned.get() == document)
            return true;
    return false;
}

CDvw32Doc* DocumentManager::OpenDocumentFile(const std::wstring& path, const DocInitParams& params,
                                             std::wstring* error) {
    CDvw32Doc* document = nullptr;
    bool opened = false;
    if (params.flags & DocInitParams::kCreateNew) {
        const int prototypeKind = params.kind == DocumentKind::Fragment ? 2 : static_cast<int>(params.kind);
        const std::wstring prototype = params.kind == DocumentKind::TextDocument
                                           ? std::wstring()
                                           : GetSettings().files.GetPrototypeName(prototypeKind);
        if (prototype.empty()) {
            if (error)
                *error = L"There is no prototype for a new document of this kind.";
            return nullptr;
        }
        DocInitParams made = params;
        made.pathName = path;
        document = CreateAndSaveNewDocumentFromPrototype(prototype.c_str(), made, error);
        opened = document != nullptr;
    } else {
        const std::wstring full = fullPath(path);
        document = FindDocument(full);
        if (!document) {
            const auto kind =
                params.options & DocInitParams::kCheckKind ? std::optional(params.kind) : std::nullopt;
            document = OpenDocument(full, error, kind);
            opened = document != nullptr;
        }
    }
    if (!document)
        return nullptr;
    if (opened) {
        if ((params.flags & DocInitParams::kReadOnly) ||
            (params.pdmContext && params.pdmContext->IsReadOnly()))
            document->SetReadOnly(true);
        if (params.pdmContext && !params.pdmContext->IsEmpty()) {
            DocumentPdmLink& link = document->GetPdmLink();
            link.nomenclature = params.pdmContext->GetNomenclatureObject();
            if (params.options & DocInitParams::kMayCarryNomenclature) {
                link.mayCarryNomenclature = true;
                link.nomenclatureData = params.pdmContext->GetNomenclatureData();
                link.synchronised = link.HasNomenclatureData();
            }
        }
        if (g_bOpeningFromOLE)
            document->SetFlag(kDocFlagOpenedByAutomation);
        if ((params.options & DocInitParams::kAddToRecent) && !document->GetPathName().IsEmpty())
            document->SetPathName(document->GetPathName(), TRUE);
    }
    if (params.flags & DocInitParams::kHidden)
        return document;
    CDVDocTemplate* docTemplate = GetDocTemplate();
    if (!docTemplate)
        return document;
    if (opened || !document->FindFrame()) {
        if (!docTemplate->ShowDocument(document, true)) {
            if (error)
                *error = L"Cannot show \"" + std::wstring(document->GetTitle()) +
                         L"\": its window could not be made.";
            if (opened)
                CloseDocument(document);
            return nullptr;
        }
    } else if (params.options & DocInitParams::kActivateFrame)
        docTemplate->ActivateDocument(document);
    return document;
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
    // The documents go after the lock: each one unlists itself as it is destroyed.
    std::vector<std::unique_ptr<CDvw32Doc>> doomed;
    {
        std::lock_guard lock(Dravik::documents().mutex);
        Dravik::documents().open.clear();
        doomed.swap(Dravik::documents().owned);
        Dravik::documents().active = nullptr;
        Dravik::documents().activeOfFrame.clear();
    }
}
} // namespace dvkernel
