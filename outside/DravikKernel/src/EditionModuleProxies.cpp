#include "DravikKernel/EditionModuleProxies.h"

#include "KernelState.h"

#include "DVDiagnostics/Trace.h"
#include "pal/text.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace dvkernel {
// For the kernel's reset (detail/control.h).
void clearEditionModules() {
    std::lock_guard lock(state().mutex);
    state().attached3D.clear();
    state().typedCommandsRefused = false;
    state().state3DA = false;
    state().state3DB = false;
    state().unavailable3DCommands.clear();
    state().commandAnswers3D.clear();
    state().commandStrings3D.clear();
    state().foreignOpener3D = nullptr;
    state().batchOpenRefused3D = false;
    state().partReader3D = nullptr;
    state().profiles3D.clear();
    state().editModules = 0;
}
} // namespace dvkernel

using dvkernel::state;

// Attaching is not recorded in the call record: it is the modules' doing, not the shell's.

CDVCom_Is3D* CDVCom_Is3D::Instance() {
    static CDVCom_Is3D* instance = new CDVCom_Is3D;
    std::lock_guard lock(state().mutex);
    return state().attached3D.empty() ? nullptr : instance;
}

int CDVCom_Is3D::GetKind() const {
    std::lock_guard lock(state().mutex);
    const auto& kinds = state().attached3D;
    return kinds.empty() ? 0 : *std::max_element(kinds.begin(), kinds.end());
}

void CDVCom_Is3D::Attach(int kind) {
    std::lock_guard lock(state().mutex);
    state().attached3D.push_back(kind);
}

void CDVCom_Is3D::Detach(int kind) {
    std::lock_guard lock(state().mutex);
    auto& kinds = state().attached3D;
    if (const auto it = std::find(kinds.begin(), kinds.end(), kind); it != kinds.end())
        kinds.erase(it);
}

bool CDVCom_Is3D::AllowsTypedCommands() const {
    std::lock_guard lock(state().mutex);
    return !state().typedCommandsRefused;
}

int CDVCom_Is3D::GetCommandState(UINT id, int& commandState) const {
    std::lock_guard lock(state().mutex);
    if (const auto answer = state().commandAnswers3D.find(id); answer != state().commandAnswers3D.end()) {
        commandState = answer->second.second;
        return answer->second.first;
    }
    const bool unavailable = state().unavailable3DCommands.count(id) != 0;
    commandState = unavailable ? 1 : 0;
    return unavailable ? 0 : 1;
}

std::wstring CDVCom_Is3D::GetCommandString(UINT id) const {
    std::lock_guard lock(state().mutex);
    const auto it = state().commandStrings3D.find(id);
    return it == state().commandStrings3D.end() ? std::wstring() : it->second;
}

// The module keeps its own state; the shell's part is the key path it hands over.
bool CDVCom_Is3D::LoadState(const wchar_t* keyPath) {
    dvtrace::record(dvkernel::kTraceName,
                    "CDVCom_Is3D::LoadState(" + pal::text::toUtf8(keyPath ? keyPath : L"") + ")");
    return true;
}

bool CDVCom_Is3D::SaveState(const wchar_t* keyPath) {
    dvtrace::record(dvkernel::kTraceName,
                    "CDVCom_Is3D::SaveState(" + pal::text::toUtf8(keyPath ? keyPath : L"") + ")");
    return true;
}

bool CDVCom_Is3D::QueryStateA() const {
    std::lock_guard lock(state().mutex);
    return state().state3DA;
}

bool CDVCom_Is3D::QueryStateB() const {
    std::lock_guard lock(state().mutex);
    return state().state3DB;
}

bool CDVCom_Is3D::AsksToResetDrawingControls() {
    const CDVCom_Is3D* module = Instance();
    return module != nullptr && module->QueryStateA() && !module->QueryStateB();
}

void CDVCom_Is3D::SetStates(bool a, bool b) {
    std::lock_guard lock(state().mutex);
    state().state3DA = a;
    state().state3DB = b;
}

void CDVCom_Is3D::SetTypedCommandsAllowed(bool allowed) {
    std::lock_guard lock(state().mutex);
    state().typedCommandsRefused = !allowed;
}

void CDVCom_Is3D::SetCommandAvailable(UINT id, bool available) {
    std::lock_guard lock(state().mutex);
    if (available)
        state().unavailable3DCommands.erase(id);
    else
        state().unavailable3DCommands.insert(id);
}

void CDVCom_Is3D::SetCommandStateAnswer(UINT id, int result, int commandState) {
    std::lock_guard lock(state().mutex);
    state().commandAnswers3D[id] = {result, commandState};
}

void CDVCom_Is3D::SetCommandString(UINT id, std::wstring text) {
    std::lock_guard lock(state().mutex);
    state().commandStrings3D[id] = std::move(text);
}

void CDVCom_Is3D::GetProfiles(const void* viewObject, std::int32_t viewNumber,
                              std::vector<std::shared_ptr<const CDVProfile>>& profiles,
                              std::vector<std::int32_t>& colors) const {
    dvtrace::record(dvkernel::kTraceName, "CDVCom_Is3D::GetProfiles(" + std::to_string(viewNumber) + ")");
    profiles.clear();
    colors.clear();
    std::lock_guard lock(state().mutex);
    const auto it = state().profiles3D.find(viewObject);
    if (it == state().profiles3D.end())
        return;
    for (const std::wstring& name : it->second.first)
        profiles.push_back(std::make_shared<const CDVProfile>(name));
    colors = it->second.second;
}

bool CDVCom_Is3D::HasProfiles(const void* viewObject) const {
    std::lock_guard lock(state().mutex);
    return state().profiles3D.count(viewObject) != 0;
}

void CDVCom_Is3D::ApplyProfile(const void*, const std::wstring& name) {
    dvtrace::record(dvkernel::kTraceName, "CDVCom_Is3D::ApplyProfile(" + pal::text::toUtf8(name) + ")");
}

void CDVCom_Is3D::SetViewProfiles(const void* viewObject, std::vector<std::wstring> names,
                                  std::vector<std::int32_t> colors) {
    std::lock_guard lock(state().mutex);
    state().profiles3D[viewObject] = {std::move(names), std::move(colors)};
}

EditModuleProxy& EditModuleProxy::Instance() {
    static EditModuleProxy* instance = new EditModuleProxy;
    return *instance;
}

bool EditModuleProxy::IsLoaded() const {
    std::lock_guard lock(state().mutex);
    return state().editModules > 0;
}

void EditModuleProxy::Attach() {
    std::lock_guard lock(state().mutex);
    ++state().editModules;
}

void EditModuleProxy::Detach() {
    std::lock_guard lock(state().mutex);
    if (state().editModules > 0)
        --state().editModules;
}

void CDVCom_Is3D::OnApplicationMessage(WPARAM wParam, LPARAM lParam) {
    dvtrace::record(dvkernel::kTraceName, "3D module message: " + std::to_string(wParam) + "," +
                                              std::to_string(static_cast<long long>(lParam)));
}

void CDVCom_Is3D::ReloadData() {
    dvtrace::record(dvkernel::kTraceName, "3D module reloads its data");
}

void CDVCom_Is3D::RefreshWindows() {
    dvtrace::record(dvkernel::kTraceName, "CDVCom_Is3D::RefreshWindows()");
}

void CDVCom_Is3D::SetShellDisabled(bool disabled) {
    dvtrace::record(dvkernel::kTraceName,
                    std::string("CDVCom_Is3D::SetShellDisabled(") + (disabled ? "true" : "false") + ")");
}

namespace {
std::string documentText(const CDvw32Doc* document) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", static_cast<const void*>(document));
    return document != nullptr ? text : "none";
}
} // namespace

void CDVCom_Is3D::SetActiveDocument(CDvw32Doc* document) {
    dvtrace::record(dvkernel::kTraceName, "CDVCom_Is3D::SetActiveDocument(" + documentText(document) + ")");
}

void CDVCom_Is3D::OnActiveDocumentSettled(CDvw32Doc* document) {
    dvtrace::record(dvkernel::kTraceName,
                    "CDVCom_Is3D::OnActiveDocumentSettled(" + documentText(document) + ")");
}

void CDVBasicEditEx::ChangePage() {
    dvtrace::record(dvkernel::kTraceName, "CDVBasicEditEx::ChangePage()");
}

CDvw32Doc* CDVCom_Is3D::OpenForeignFile(const wchar_t* path) {
    const std::wstring file = path != nullptr ? path : L"";
    dvtrace::record(dvkernel::kTraceName, "CDVCom_Is3D::OpenForeignFile(" + pal::text::toUtf8(file) + ")");
    std::function<CDvw32Doc*(const std::wstring&)> opener;
    {
        std::lock_guard lock(state().mutex);
        opener = state().foreignOpener3D;
    }
    return opener ? opener(file) : nullptr;
}

bool CDVCom_Is3D::OpenFiles(const DocInitParams& options, const std::vector<std::wstring>& files,
                            unsigned flags, const std::vector<bool>* opened) {
    (void)options;
    std::string bits;
    if (opened != nullptr)
        for (const bool bit : *opened)
            bits += bit ? '1' : '0';
    dvtrace::record(dvkernel::kTraceName, "CDVCom_Is3D::OpenFiles(" + std::to_string(files.size()) + "," +
                                              std::to_string(flags) + "," + (opened ? bits : "-") + ")");
    std::lock_guard lock(state().mutex);
    return !state().batchOpenRefused3D;
}

void CDVCom_Is3D::SetForeignFileOpener(std::function<CDvw32Doc*(const std::wstring&)> opener) {
    std::lock_guard lock(state().mutex);
    state().foreignOpener3D = std::move(opener);
}

bool CDVCom_Is3D::ReadIntoPart(CDvw32Doc& part, const wchar_t* path, int mode) {
    const std::wstring file = path != nullptr ? path : L"";
    dvtrace::record(dvkernel::kTraceName, "CDVCom_Is3D::ReadIntoPart(" + pal::text::toUtf8(file) + "," +
                                              std::to_string(mode) + ")");
    std::function<bool(CDvw32Doc&, const std::wstring&, int)> reader;
    {
        std::lock_guard lock(state().mutex);
        reader = state().partReader3D;
    }
    return reader && reader(part, file, mode);
}

void CDVCom_Is3D::SetPartReader(std::function<bool(CDvw32Doc&, const std::wstring&, int)> reader) {
    std::lock_guard lock(state().mutex);
    state().partReader3D = std::move(reader);
}

void CDVCom_Is3D::SetBatchOpenRefused(bool refused) {
    std::lock_guard lock(state().mutex);
    state().batchOpenRefused3D = refused;
}
