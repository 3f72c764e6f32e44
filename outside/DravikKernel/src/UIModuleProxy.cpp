#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/CommandCatalogue.h"
#include "DravikKernel/UIModule.h"

#include "DVDiagnostics/DVLog.h"
#include "DVTextCore/I18n.h"
#include "pal/text.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <mutex>

namespace dvkernel {
void commandsChanged(); // KernelState.h, whose state() this file's own would hide
}

namespace {

struct Frames {
    mutable std::recursive_mutex mutex;
    UIModuleProxy::Module* module = nullptr;
    CWnd* mainWindow = nullptr;
    std::vector<CFrameWnd*> frames;
    CFrameWnd* active = nullptr;
    CFrameWnd* fake = nullptr;
    bool faking = false;
    int altMode = 0;
    int messageBoxes = 0;
    int resourceFailures = 0;
    std::optional<UIModuleProxy::ThemeDescription> theme;
    std::map<unsigned, UIModuleProxy::CommandStrings> commandStrings; // set by the shell
    // The catalogue's strings of a command, made once for each language loaded: bars, menus and
    // tips ask for them thousands of times at start, and each is four translations.
    std::map<unsigned, UIModuleProxy::CommandStrings> catalogueStrings;
    std::uint64_t catalogueGeneration = 0;
};

Frames& state() {
    static Frames* f = new Frames;
    return *f;
}

using Lock = std::lock_guard<std::recursive_mutex>;

UIModuleProxy::Module* module() {
    Lock lock(state().mutex);
    return state().module;
}

} // namespace

namespace dvkernel {
// For the kernel's reset (detail/control.h). The installed module stays: it belongs to the
// library that installed it, not to the session.
void clearUiModule() {
    Lock lock(state().mutex);
    state().mainWindow = nullptr;
    state().frames.clear();
    state().active = state().fake = nullptr;
    state().faking = false;
    state().altMode = 0;
    state().messageBoxes = 0;
    state().resourceFailures = 0;
    state().theme.reset();
    state().commandStrings.clear();
    state().catalogueStrings.clear();
    dvkernel::commandsChanged();
}
} // namespace dvkernel

UIModuleProxy& UIModuleProxy::Instance() {
    static UIModuleProxy* instance = new UIModuleProxy;
    return *instance;
}

UIModuleProxy::CommandStrings UIModuleProxy::CommandStrings::FromPromptString(std::wstring_view prompt) {
    CommandStrings strings;
    const size_t newline = prompt.find(L'\n');
    strings.Description = std::wstring(prompt.substr(0, newline));
    strings.Caption =
        newline == std::wstring_view::npos ? strings.Description : std::wstring(prompt.substr(newline + 1));
    strings.Title = strings.Caption;
    strings.ToolTip = strings.Description;
    return strings;
}

std::optional<UIModuleProxy::CommandStrings> UIModuleProxy::GetCommandStrings(unsigned id) const {
    {
        Lock lock(state().mutex);
        if (const auto it = state().commandStrings.find(id); it != state().commandStrings.end())
            return it->second;
    }
    const DVCatalogueCommand* command = DVFindCatalogueCommand(id);
    if (command == nullptr)
        return std::nullopt;
    const std::uint64_t generation = Dravik::I18n::CatalogueGeneration();
    {
        Lock lock(state().mutex);
        if (state().catalogueGeneration != generation) {
            state().catalogueStrings.clear();
            state().catalogueGeneration = generation;
        } else if (const auto it = state().catalogueStrings.find(id); it != state().catalogueStrings.end()) {
            return it->second;
        }
    }
    CommandStrings strings;
    strings.Caption = DVCatalogueCaption(id);
    strings.Title = strings.Caption;
    strings.Name = command->name;
    strings.Description = Dravik::I18n::Translate(std::wstring(L"commands.") + command->name + L".tip");
    strings.ToolTip = DVCatalogueTip(id);
    Lock lock(state().mutex);
    if (state().catalogueGeneration == generation)
        state().catalogueStrings[id] = strings;
    return strings;
}

void UIModuleProxy::SetCommandStrings(unsigned id, const CommandStrings& strings) {
    Lock lock(state().mutex);
    state().commandStrings[id] = strings;
    dvkernel::commandsChanged();
}

void UIModuleProxy::SetModule(Module* m) {
    Lock lock(state().mutex);
    state().module = m;
}

UIModuleProxy::Module* UIModuleProxy::GetModule() const {
    return module();
}

CWnd* UIModuleProxy::GetMainWindow() const {
    Lock lock(state().mutex);
    return state().mainWindow;
}

void UIModuleProxy::ForEachMainFrame(const std::function<void(CFrameWnd*)>& action) const {
    // Not under the lock: an action may create or destroy frames.
    for (CFrameWnd* frame : GetMainFrames())
        action(frame);
}

std::vector<CFrameWnd*> UIModuleProxy::GetMainFrames() const {
    Lock lock(state().mutex);
    return state().frames;
}

bool UIModuleProxy::IsMainFrame(CFrameWnd* frame) const {
    Lock lock(state().mutex);
    const auto& list = state().frames;
    return frame && std::find(list.begin(), list.end(), frame) != list.end();
}

void UIModuleProxy::SetMainWindow(CWnd* window) {
    Lock lock(state().mutex);
    state().mainWindow = window;
}

void UIModuleProxy::AddMainFrame(CFrameWnd* frame) {
    if (!frame)
        return;
    Lock lock(state().mutex);
    auto& list = state().frames;
    if (std::find(list.begin(), list.end(), frame) == list.end())
        list.push_back(frame);
}

void UIModuleProxy::RemoveMainFrame(CFrameWnd* frame) {
    Lock lock(state().mutex);
    Frames& s = state();
    if (!frame || std::erase(s.frames, frame) == 0)
        return;
    CFrameWnd* next = s.frames.empty() ? nullptr : s.frames.front();
    if (s.active == frame)
        s.active = next;
    // A frame is a window at the same address: CWnd is the first base of every frame.
    if (s.mainWindow == reinterpret_cast<CWnd*>(frame))
        s.mainWindow = reinterpret_cast<CWnd*>(next);
    // A frame that goes while it is faked active leaves no dangling answer behind.
    if (s.faking && s.fake == frame)
        s.fake = nullptr;
}

CFrameWnd* UIModuleProxy::GetActiveMainFrame() const {
    return UIModule::GetActiveMainFrame();
}

bool UIModuleProxy::MakeActiveMainFrame(CFrameWnd* frame) {
    Lock lock(state().mutex);
    if (!IsMainFrame(frame))
        return false;
    state().active = frame;
    state().mainWindow = reinterpret_cast<CWnd*>(frame);
    return true;
}

CFrameWnd* UIModuleProxy::GetMainFrameOfWindow(HWND window) const {
    Module* m = module();
    return m && window ? m->GetMainFrameOfWindow(window) : nullptr;
}

CFrameWnd* UIModuleProxy::GetChildFrameOwner(CFrameWnd* childFrame) const {
    Module* m = module();
    return m && childFrame ? m->GetChildFrameOwner(childFrame) : nullptr;
}

StatusLineProxy* UIModuleProxy::GetStatusLine() const {
    Module* m = module();
    CFrameWnd* frame = GetActiveMainFrame();
    return m && frame ? m->GetStatusLine(frame) : nullptr;
}

bool UIModuleProxy::IsAltMode() const {
    Lock lock(state().mutex);
    return state().altMode != 0;
}

void UIModuleProxy::SetAltMode(int mode) {
    Lock lock(state().mutex);
    state().altMode = mode;
}

void UIModuleProxy::OnResourceNotAvailable() {
    {
        Lock lock(state().mutex);
        ++state().resourceFailures;
    }
    DVLog_Write(DVLogWarning, "A window or drawing resource of a command bar was not available");
}

int UIModuleProxy::GetResourceFailureCount() const {
    Lock lock(state().mutex);
    return state().resourceFailures;
}

void UIModuleProxy::OnModalMessageBox(bool begins) {
    Lock lock(state().mutex);
    if (begins) {
        ++state().messageBoxes;
        state().altMode = 0;
    } else if (state().messageBoxes > 0) {
        --state().messageBoxes;
    }
}

int UIModuleProxy::GetModalMessageBoxDepth() const {
    Lock lock(state().mutex);
    return state().messageBoxes;
}

void UIModuleProxy::SetCommandBarsIconSizes(CXTPCommandBars* commandBars, SIZE normal, SIZE large, SIZE popup,
                                            bool largeIcons) const {
    if (Module* m = module(); m && commandBars)
        m->SetCommandBarsIconSizes(commandBars, normal, large, popup, largeIcons);
}

SIZE UIModuleProxy::GetBestUnscaledIconSize(int pixels) const {
    int best = 16;
    for (int size : {24, 32, 48}) {
        if (size <= pixels)
            best = size;
    }
    return SIZE{best, best};
}

bool UIModuleProxy::CommandStateGet(unsigned command, bool& enabled, bool& checked) const {
    Module* m = module();
    return m != nullptr && m->CommandStateGet(command, enabled, checked);
}

HICON UIModuleProxy::LoadIcon(int id, bool large) const {
    Module* m = module();
    return m != nullptr ? m->LoadIcon(id, large) : nullptr;
}

std::wstring UIModuleProxy::GetFontName() const {
    Module* m = module();
    std::wstring name = m != nullptr ? m->GetFontName() : std::wstring();
    return name.empty() ? std::wstring(kDefaultFontName) : name;
}

void UIModuleProxy::FilterRibbonPart(CXTPRibbonBar* ribbon, const GUID& part,
                                     const std::function<bool(AnalysisRibbonId)>& show) const {
    if (Module* m = module(); m != nullptr && ribbon != nullptr && show)
        m->FilterRibbonPart(ribbon, part, show);
}

SIZE UIModuleProxy::GetIconSize(SIZE size) const {
    Module* m = module();
    return m ? m->ScaleIconSize(size) : size;
}

std::vector<UIModuleProxy::ThemeDescription> UIModuleProxy::GetThemes() const {
    Module* m = module();
    return m ? m->GetThemes() : std::vector<ThemeDescription>{};
}

std::vector<std::wstring> UIModuleProxy::GetThemeNames() const {
    std::vector<std::wstring> names;
    for (const ThemeDescription& theme : GetThemes())
        names.push_back(theme.Name);
    return names;
}

std::optional<int> UIModuleProxy::GetThemeNumber(std::wstring_view name) const {
    for (const ThemeDescription& theme : GetThemes()) {
        if (theme.Name == name)
            return theme.Number;
    }
    return std::nullopt;
}

std::wstring UIModuleProxy::GetDefaultThemeName() const {
    Module* m = module();
    return m ? m->GetDefaultThemeName() : std::wstring();
}

bool UIModuleProxy::SetTheme(int number) {
    const auto themes = GetThemes();
    const auto found = std::find_if(themes.begin(), themes.end(),
                                    [&](const ThemeDescription& theme) { return theme.Number == number; });
    if (found == themes.end()) {
        DVLog_Write(DVLogWarning, "Theme %d is not one of the UI module's themes", number);
        return false;
    }
    if (!module()->ApplyTheme(number)) {
        DVLog_Write(DVLogWarning, "The UI module refused theme \"%s\"",
                    pal::text::toUtf8(found->Name).c_str());
        return false;
    }
    Lock lock(state().mutex);
    state().theme = *found;
    return true;
}

bool UIModuleProxy::SetTheme(std::wstring_view name) {
    const auto number = GetThemeNumber(name);
    if (!number) {
        DVLog_Write(DVLogWarning, "Unknown theme \"%s\"", pal::text::toUtf8(std::wstring(name)).c_str());
        return false;
    }
    return SetTheme(*number);
}

std::optional<UIModuleProxy::ThemeDescription> UIModuleProxy::GetCurrentTheme() const {
    Lock lock(state().mutex);
    return state().theme;
}

std::wstring UIModuleProxy::GetCurrentUIStyleName() const {
    Lock lock(state().mutex);
    return state().theme ? state().theme->Name : std::wstring();
}

int UIModuleProxy::ShowSettingsDialog(HWND owner, unsigned captionId,
                                      std::vector<SettingsEntry>& entries) const {
    Module* m = module();
    return m ? m->ShowSettingsDialog(owner, captionId, entries) : 0;
}

namespace UIModule {

CFrameWnd* GetActiveMainFrame() {
    Lock lock(state().mutex);
    return state().faking ? state().fake : state().active;
}

void SetActiveMainFrame(CFrameWnd* frame) {
    Lock lock(state().mutex);
    state().active = frame;
}

FakeActiveMainFrameManager::FakeActiveMainFrameManager(CFrameWnd* frame) {
    Lock lock(state().mutex);
    m_previous = state().fake;
    m_wasFaking = state().faking;
    state().fake = frame;
    state().faking = true;
}

FakeActiveMainFrameManager::~FakeActiveMainFrameManager() {
    Lock lock(state().mutex);
    state().fake = m_previous;
    state().faking = m_wasFaking;
}

} // namespace UIModule
