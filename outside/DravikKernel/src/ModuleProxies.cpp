#include "DravikKernel/ModuleProxies.h"

#include "KernelState.h"

#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/Trace.h"
#include "DravikKernel/DocumentManager.h"
#include "pal/text.h"

#include <atomic>

namespace {

// How many times each module attached: a module loaded twice detaches twice.
std::atomic<int> g_annotate{0};
std::atomic<int> g_lt{0};

void detach(std::atomic<int>& count) {
    int value = count.load();
    while (value > 0 && !count.compare_exchange_weak(value, value - 1)) {
    }
}

void record(const std::string& call) {
    dvtrace::record(dvkernel::kTraceName, call);
}

std::string text(const wchar_t* s) {
    return pal::text::toUtf8(s ? s : L"");
}

} // namespace

namespace dvkernel {
void resetModuleProxies() {
    g_annotate = 0;
    g_lt = 0;
}
} // namespace dvkernel

AnnotateModuleProxy* AnnotateModuleProxy::Instance() {
    static AnnotateModuleProxy* instance = new AnnotateModuleProxy;
    return g_annotate > 0 ? instance : nullptr;
}

void AnnotateModuleProxy::Attach() {
    ++g_annotate;
}

void AnnotateModuleProxy::Detach() {
    detach(g_annotate);
}

// Mode 0 is the plain open of a document with the document manager's parameters (`options`, a
// DocInitParams; the defaults when null); the other modes are the module's own uses of a path.
CDvw32Doc* AnnotateModuleProxy::OpenFile(const wchar_t* path, int mode, int page, void* options) {
    record("AnnotateModuleProxy::OpenFile(" + text(path) + "," + std::to_string(mode) + "," +
           std::to_string(page) + ")");
    if (mode != 0 || path == nullptr)
        return nullptr;
    const DocInitParams params = options != nullptr ? *static_cast<const DocInitParams*>(options)
                                                    : DocumentManager::GetDefaultInitParams();
    std::wstring error;
    CDvw32Doc* document = DocumentManager::Instance().OpenDocumentFile(path, params, &error);
    if (document == nullptr)
        DVLog_Write(DVLogOptionalFailure, "%s", pal::text::toUtf8(error).c_str());
    return document;
}

void AnnotateModuleProxy::OnChangeSettings(const NativeSettings::Settings&) {
    record("AnnotateModuleProxy::OnChangeSettings");
}

bool AnnotateModuleProxy::LoadState(const wchar_t* keyPath) {
    record("AnnotateModuleProxy::LoadState(" + text(keyPath) + ")");
    return true;
}

bool AnnotateModuleProxy::SaveState(const wchar_t* keyPath) {
    record("AnnotateModuleProxy::SaveState(" + text(keyPath) + ")");
    return true;
}

void AnnotateModuleProxy::OpenSettingsPage(const wchar_t* name) {
    record("AnnotateModuleProxy::OpenSettingsPage(" + text(name) + ")");
}

LTModuleProxy* LTModuleProxy::Instance() {
    static LTModuleProxy* instance = new LTModuleProxy;
    return g_lt > 0 ? instance : nullptr;
}

void LTModuleProxy::Attach() {
    ++g_lt;
}

void LTModuleProxy::Detach() {
    detach(g_lt);
}

bool LTModuleProxy::OnCommand(unsigned id, CDvw32Doc* document) {
    // The stand-in module has no commands of its own: it is offered each and declines.
    record("LTModuleProxy::OnCommand(" + std::to_string(id) + "," + (document ? "document" : "null") + ")");
    return false;
}

std::vector<ImportExportItem> LTModuleProxy::GetExportFormats(CDvw32Doc* document) {
    if (document == nullptr)
        return {};
    return {{L"PDF document", L"pdf"},
            {L"DXF drawing", L"dxf"},
            {L"DWG drawing", L"dwg"},
            {L"PNG picture", L"png"},
            {L"TIFF picture", L"tif"}};
}

bool LTModuleProxy::Export(CDvw32Doc* document, bool toOrsa, int formatIndex) {
    const auto count = static_cast<int>(GetExportFormats(document).size());
    if (formatIndex < 0 || formatIndex >= count)
        return false;
    record("LTModuleProxy::Export(" + std::to_string(formatIndex) + (toOrsa ? ",orsa)" : ",file)"));
    return true;
}
