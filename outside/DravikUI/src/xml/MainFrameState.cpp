#include "DravikUI/XMLMainFrameState.h"

#include "DravikUI/XML.h"

#include "NodeText.h"

#include "DVDiagnostics/DVLog.h"
#include "pal/text.h"

#include <algorithm>
#include <functional>
#include <set>

namespace Dravik::UI {
namespace {

using namespace dvui::xml;
namespace TN = XML::TagNames;
namespace A = XML::AttributeNames;

std::optional<XML::WindowRect> parseRect(std::wstring_view text) {
    int parts[4];
    int count = 0;
    bool bad = false;
    XML::ParseValueSet(text, [&](std::wstring_view token, bool excluded) {
        const auto value = parseInt(token);
        if (excluded || !value || count == 4)
            bad = true;
        else
            parts[count++] = *value;
    });
    if (bad || count != 4)
        return std::nullopt;
    return XML::WindowRect{parts[0], parts[1], parts[2], parts[3]};
}

struct ShowState {
    std::wstring_view name;
    int command;
};
constexpr ShowState kShowStates[] = {{L"normal", 1}, {L"minimized", 2}, {L"maximized", 3}};

} // namespace

bool XML::Element::load(const Node& element, const VersionNumber& version) {
    VersionNumber own = version;
    if (const auto text = element.attribute(A::VersionNumber)) {
        if (const auto parsed = VersionNumber::fromString(*text)) {
            if (parsed->major() > FormatVersion.major()) {
                logSkipped(element, "written by a later format version");
                return false;
            }
            own = *parsed;
        } else {
            logSkipped(element, "the version is not a version; the enclosing one is used");
        }
    }
    loadAttributes(element);
    for (Node child = element.firstChild(); child; child = child.nextSibling()) {
        if (!IsApplicable(child))
            continue;
        if (!loadElement(child, own, false))
            logSkipped(child, "not understood here");
    }
    return true;
}

MainFrameState::MainFrameState() {
    MainFrameState::reset();
}

MainFrameState::~MainFrameState() = default;

void MainFrameState::reset() {
    windowRect = {};
    showCommand = 1;
    version = {};
    menuBar.reset();
    ribbonBar.reset();
    toolBars.clear();
    framelessToolBar.reset();
}

void MainFrameState::loadAttributes(const XML::Node& element) {
    if (const auto text = element.attribute(A::VersionNumber))
        version = VersionNumber::fromString(*text).value_or(version);
    if (const auto text = element.attribute(A::WindowRect)) {
        if (const auto rect = parseRect(*text))
            windowRect = *rect;
        else
            logSkipped(element, "the window rectangle is not four numbers; ignored");
    }
    if (const auto text = element.attribute(A::WindowState))
        for (const ShowState& state : kShowStates)
            if (*text == state.name)
                showCommand = state.command;
}

bool MainFrameState::loadElement(const XML::Node& child, const VersionNumber& elementVersion, bool) {
    if (isNamed(child, TN::MenuBar)) {
        auto bar = std::make_shared<XML::ToolBar>();
        if (bar->load(child, elementVersion, true))
            menuBar = std::move(bar); // a fresh definition: states sharing the old one keep it
        return true;
    }
    if (isNamed(child, TN::RibbonBar)) {
        auto ribbon = std::make_shared<XML::RibbonBar>();
        if (ribbon->load(child, elementVersion))
            ribbonBar = std::move(ribbon);
        return true;
    }
    if (isNamed(child, TN::ToolBar)) {
        XML::ToolBar bar;
        if (!bar.load(child, elementVersion, false))
            return true;
        if (findToolBar(bar.id)) {
            logSkipped(child, "a second tool bar with the same id");
            return true;
        }
        toolBars.push_back(std::move(bar));
        return true;
    }
    if (isNamed(child, TN::FramelessToolBar)) {
        XML::ToolBar bar;
        if (bar.load(child, elementVersion, true))
            framelessToolBar = std::move(bar);
        return true;
    }
    return false;
}

bool MainFrameState::loadDefault(const std::filesystem::path& file, const VersionNumber& defaultVersion) {
    XML::Document document;
    const pal::xml::LoadResult parsed = document.loadFile(file);
    if (!parsed) {
        DVLog_Write(DVLogFailure, "UI XML: the default state \"%s\" cannot be read: %s",
                    file.string().c_str(), parsed.message.c_str());
        return false;
    }
    const XML::Node root = document.root();
    XML::Node window;
    if (isNamed(root, TN::MainWindow)) {
        if (XML::IsApplicable(root))
            window = root;
    } else if (isNamed(root, L"state")) {
        for (XML::Node child = root.firstChild(); child && !window; child = child.nextSibling())
            if (isNamed(child, TN::MainWindow) && XML::IsApplicable(child))
                window = child;
    }
    if (!window) {
        DVLog_Write(DVLogFailure, "UI XML: the default state \"%s\" holds no main window for this product",
                    file.string().c_str());
        return false;
    }
    reset();
    if (!load(window, defaultVersion))
        return false;
    resolvePopupBars();
    return true;
}

void MainFrameState::merge(const MainFrameState& other) {
    if (&other == this)
        return;
    if (other.menuBar) {
        if (menuBar) {
            auto own = std::make_shared<XML::ToolBar>(*menuBar);
            own->merge(*other.menuBar);
            menuBar = std::move(own);
        } else {
            menuBar = other.menuBar;
        }
    }
    if (other.ribbonBar) {
        if (ribbonBar) {
            auto own = std::make_shared<XML::RibbonBar>(*ribbonBar);
            own->merge(*other.ribbonBar);
            ribbonBar = std::move(own);
        } else {
            ribbonBar = other.ribbonBar;
        }
    }
    toolBars = other.toolBars;
    if (!framelessToolBar)
        framelessToolBar = other.framelessToolBar;
    else if (other.framelessToolBar)
        framelessToolBar->merge(*other.framelessToolBar);
}

void MainFrameState::store(XML::Node element) const {
    if (!windowRect.empty())
        element.setAttribute(
            A::WindowRect, std::to_wstring(windowRect.left) + L"," + std::to_wstring(windowRect.top) + L"," +
                               std::to_wstring(windowRect.right) + L"," + std::to_wstring(windowRect.bottom));
    for (const ShowState& state : kShowStates)
        if (state.command == showCommand && showCommand != 1)
            element.setAttribute(A::WindowState, state.name);
    element.setAttribute(A::VersionNumber, version.toString());
    if (menuBar)
        menuBar->store(element.appendChild(TN::MenuBar));
    if (ribbonBar)
        ribbonBar->store(element.appendChild(TN::RibbonBar));
    for (const XML::ToolBar& bar : toolBars)
        bar.store(element.appendChild(TN::ToolBar));
    if (framelessToolBar)
        framelessToolBar->store(element.appendChild(TN::FramelessToolBar));
}

const XML::ToolBar* MainFrameState::findToolBar(int id) const {
    for (const XML::ToolBar& bar : toolBars)
        if (bar.id == id)
            return &bar;
    return nullptr;
}

void MainFrameState::resolvePopupBars() {
    // Copies of the bars as they were read, so that filling one popup never sees another
    // popup half filled.
    const std::vector<XML::ToolBar> bars = toolBars;
    const auto find = [&](int id) -> const XML::ToolBar* {
        for (const XML::ToolBar& bar : bars)
            if (bar.id == id)
                return &bar;
        return nullptr;
    };
    std::vector<int> filling; // the bars being expanded, outermost first
    std::function<void(std::vector<XML::Control>&, int)> fill = [&](std::vector<XML::Control>& controls,
                                                                    int depth) {
        for (XML::Control& control : controls) {
            if (control.popupBar != 0 && control.isPopup() && control.controls.empty()) {
                const XML::ToolBar* bar = find(control.popupBar);
                if (!bar) {
                    DVLog_Write(DVLogWarning, "UI XML: popup %d names tool bar %d, which does not exist",
                                control.id, control.popupBar);
                } else if (std::find(filling.begin(), filling.end(), bar->id) != filling.end() ||
                           depth >= kMaxNesting) {
                    DVLog_Write(DVLogWarning,
                                "UI XML: popup %d names tool bar %d, which contains it; left empty",
                                control.id, control.popupBar);
                } else {
                    control.controls = bar->controls;
                    filling.push_back(bar->id);
                    fill(control.controls, depth + 1);
                    filling.pop_back();
                    continue;
                }
            }
            fill(control.controls, depth + 1);
        }
    };
    for (XML::ToolBar& bar : toolBars) {
        filling.assign(1, bar.id);
        fill(bar.controls, 0);
    }
    filling.clear();
    auto copyMenu = menuBar ? std::make_shared<XML::ToolBar>(*menuBar) : nullptr;
    if (copyMenu) {
        fill(copyMenu->controls, 0);
        menuBar = std::move(copyMenu);
    }
    if (framelessToolBar)
        fill(framelessToolBar->controls, 0);
    if (ribbonBar) {
        auto ribbon = std::make_shared<XML::RibbonBar>(*ribbonBar);
        for (XML::RibbonTab& tab : ribbon->tabs)
            for (XML::RibbonGroup& group : tab.groups)
                fill(group.controls, 0);
        ribbonBar = std::move(ribbon);
    }
}

} // namespace Dravik::UI
