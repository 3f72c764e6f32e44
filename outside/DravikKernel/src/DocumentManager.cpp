#include "DravikKernel/DocumentManager.h"

#include "KernelState.h"

#include "DVDiagnostics/Trace.h"
#include "pal/text.h"

#include <algorithm>
#include <mutex>

namespace Dravik {
namespace {

struct Documents {
    std::mutex mutex;
    std::vector<CDvw32Doc*> open;
};

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
    std::erase(documents().open, document);
}

CDvw32Doc* DocumentManager::CreateAndSaveNewDocumentFromPrototype(const wchar_t* prototypePath,
                                                                  const DocInitParams&) {
    // The stand-in has no document format to make a document of; the request is recorded.
    dvtrace::record(dvkernel::kTraceName, "CreateAndSaveNewDocumentFromPrototype(" +
                                              pal::text::toUtf8(prototypePath ? prototypePath : L"") + ")");
    return nullptr;
}

} // namespace Dravik

namespace dvkernel {
// For the kernel's reset (detail/control.h).
void clearDocuments() {
    std::lock_guard lock(Dravik::documents().mutex);
    Dravik::documents().open.clear();
}
} // namespace dvkernel
