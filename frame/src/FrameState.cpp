#include "frame/FrameState.h"

#include "DVDiagnostics/DVLog.h"

namespace {

namespace XML = Dravik::UI::XML;

constexpr std::wstring_view kLayouts = L"codejock";

struct BoolAttribute {
    std::wstring_view name;
    bool MainFrameState::*field;
};

constexpr BoolAttribute kBoolAttributes[] = {
    {L"fullscreen", &MainFrameState::fullScreen},
    {L"workbook", &MainFrameState::workbook},
    {L"maximizeMdi", &MainFrameState::maximizeMdi},
    {L"minimizeRibbonBarInWindowedMode", &MainFrameState::minimizeRibbonInWindowedMode},
    {L"minimizeRibbonBarInFullscreenMode", &MainFrameState::minimizeRibbonInFullScreenMode},
    {L"showClassicAutoMenu", &MainFrameState::showClassicAutoMenu},
    {L"showDockingPaneTabCaptions", &MainFrameState::showDockingPaneTabCaptions},
};

struct OldGroup {
    int id;
    int code;
};

constexpr OldGroup kOldGroups[] = {{10000, 32}, {10001, 4}, {10002, 16}, {10003, 2},
                                   {10004, 8},  {10005, 6}, {10006, 18}};

} // namespace

MainFrameState::MainFrameState() {
    MainFrameState::reset();
}

MainFrameState::~MainFrameState() = default;

void MainFrameState::reset() {
    Dravik::UI::MainFrameState::reset();
    pdmPanes = PdmPaneFiles | PdmPaneAssembly;
    analysisMode = 1;
    fullScreen = false;
    workbook = true;
    maximizeMdi = true;
    minimizeRibbonInWindowedMode = false;
    minimizeRibbonInFullScreenMode = true;
    showClassicAutoMenu = true;
    showDockingPaneTabCaptions = true;
    layouts.reset();
}

void MainFrameState::loadAttributes(const XML::Node& element) {
    Dravik::UI::MainFrameState::loadAttributes(element); // placement and show command
    for (const auto& [name, value] : element.attributes()) {
        bool handled = false;
        for (const BoolAttribute& attribute : kBoolAttributes)
            if (name == attribute.name) {
                this->*attribute.field = XML::StringToBool(value, this->*attribute.field);
                handled = true;
            }
        if (handled)
            continue;
        if (name == L"analysisMode")
            analysisMode = ParseAnalysisMode(value, analysisMode);
        else if (name == L"orsaWindows")
            pdmPanes = ParsePdmPanes(value);
    }
}

bool MainFrameState::loadElement(const XML::Node& child, const Dravik::VersionNumber& version, bool flag) {
    if (child.name() == kLayouts) {
        auto document = std::make_shared<XML::Document>();
        document->assignCopy(child);
        layouts = std::move(document);
        return true;
    }
    return Dravik::UI::MainFrameState::loadElement(child, version, flag);
}

const XML::RibbonTab* FindRibbonTabDefinition(const MainFrameState* defaults, std::wstring_view tabGuid) {
    if (defaults == nullptr || !defaults->ribbonBar || tabGuid.empty())
        return nullptr;
    return defaults->ribbonBar->findTab(tabGuid);
}

const XML::RibbonGroup* FindRibbonGroupDefinition(const MainFrameState* defaults, std::wstring_view tabGuid,
                                                  std::wstring_view groupGuid) {
    const XML::RibbonTab* tab = FindRibbonTabDefinition(defaults, tabGuid);
    return tab != nullptr && !groupGuid.empty() ? tab->findGroup(groupGuid) : nullptr;
}

void ConvertOldRibbonGroups(XML::RibbonBar& ribbon) {
    for (XML::RibbonTab& tab : ribbon.tabs)
        for (XML::RibbonGroup& group : tab.groups)
            for (const OldGroup& old : kOldGroups)
                if (group.id == old.id) {
                    group.id = -1;
                    group.code = old.code;
                    break;
                }
}

std::shared_ptr<MainFrameState> LoadMainFrameState(const XML::Node& element,
                                                   const Dravik::VersionNumber& version,
                                                   const std::shared_ptr<MainFrameState>& base) {
    if (!element || !XML::IsApplicable(element))
        return nullptr;
    auto state = std::make_shared<MainFrameState>();
    if (!state->load(element, version))
        return nullptr;
    if (state->ribbonBar && state->ribbonBar->version < Dravik::VersionNumber{16, 0, 0, 0}) {
        auto ribbon = std::make_shared<XML::RibbonBar>(*state->ribbonBar);
        ConvertOldRibbonGroups(*ribbon);
        state->ribbonBar = std::move(ribbon);
    }
    if (base)
        state->merge(*base);
    return state;
}

std::shared_ptr<MainFrameState> LoadDefaultMainFrameState(const std::wstring& file) {
    auto state = std::make_shared<MainFrameState>();
    if (!state->loadDefault(file, Dravik::VersionNumber{18, 0, 0, 0}))
        return nullptr;
    return state;
}

std::shared_ptr<MainFrameState> LoadMainFrameStateOrDefault(const XML::Node& element,
                                                            const Dravik::VersionNumber& version,
                                                            const std::shared_ptr<MainFrameState>& defaults) {
    if (auto state = LoadMainFrameState(element, version, defaults))
        return state;
    if (element)
        DVLog_Write(DVLogWarning,
                    "The saved state of a main window cannot be used; the default state is taken");
    return defaults;
}
