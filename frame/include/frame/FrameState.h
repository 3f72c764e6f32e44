// The saved state of one main window: what the UI library keeps (placement, menu bar, ribbon,
// tool bars) and what this program adds (screen and workbook modes, ribbon flags, analysis mode,
// open PDM panes and the tool kit's layouts), read from and written to one main-window element.
#pragma once

#include "DVDiagnostics/VersionNumber.h"
#include "DravikUI/XML.h"
#include "DravikUI/XMLMainFrameState.h"

#include "pal/visibility.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

// Bits of the PDM-pane mask, in the order their tokens are written.
enum PdmPane : std::uint32_t {
    PdmPaneFiles = 1,
    PdmPaneAssembly = 2,
    PdmPaneDesktop = 4,
    PdmPaneNomenclature = 8,
    PdmPaneSearch = 16,
    PdmPaneMail = 32,
    PdmPaneConfigurationSettings = 64,
    PdmPaneLibraryElements = 128,
    PdmPaneAll = 255,
};

// "files,assembly,..." for the set bits, empty for none.
std::wstring PdmPanesToText(std::uint32_t mask);
// A value set of pane tokens ("all", "!mail", ...); unknown tokens are ignored.
std::uint32_t ParsePdmPanes(std::wstring_view text);

// 1 "fea", 2 "dynamics", anything else empty.
std::wstring AnalysisModeToText(int mode);
// "fea" 1, "dynamics" 2, any other text keeps `previous`.
int ParseAnalysisMode(std::wstring_view text, int previous);

// The view types a control of the frameless view tool bar is shown for, from the view-type bits
// of its tag (0x1000 2D, 0x2000 3D, 0x4000 camera, 0x8000 work plane, 0x10000 "cam", 0x20000
// "fea", 0x40000 "optix"). Nothing when all seven bits are set (shown everywhere).
std::optional<std::wstring> ViewTypesToText(std::uint32_t tag);

class MainFrameState : public Dravik::UI::MainFrameState {
public:
    MainFrameState();
    ~MainFrameState() override;

    std::uint32_t pdmPanes = PdmPaneFiles | PdmPaneAssembly;
    int analysisMode = 1;
    bool fullScreen = false;
    bool workbook = true;
    bool maximizeMdi = true;
    bool minimizeRibbonInWindowedMode = false;
    bool minimizeRibbonInFullScreenMode = true;
    bool showClassicAutoMenu = true;
    bool showDockingPaneTabCaptions = true;
    // The tool kit's layouts ("codejock" element) as read, or nothing.
    std::shared_ptr<const Dravik::UI::XML::Document> layouts;

    void reset() override;
    void loadAttributes(const Dravik::UI::XML::Node& element) override;
    bool loadElement(const Dravik::UI::XML::Node& child, const Dravik::VersionNumber& version,
                     bool flag) override;
    // merge: the library's (menu bar and ribbon copied on write, the tool-bar list taken over);
    // the fields above stay this state's own.
};

// The version of the state format this program writes and reads its default state with.
inline constexpr Dravik::VersionNumber StateFormatVersion{18, 0, 21, 0};

// A state from a main-window element, over a base state (the default) when one is given. Nothing
// when the element does not apply to this edition or cannot be read.
std::shared_ptr<MainFrameState> LoadMainFrameState(const Dravik::UI::XML::Node& element,
                                                   const Dravik::VersionNumber& version,
                                                   const std::shared_ptr<MainFrameState>& base);
// The application's default state from its default state file; nothing when that fails.
std::shared_ptr<MainFrameState> LoadDefaultMainFrameState(const std::wstring& file);
// The state a new frame is created from: the element's, else the default.
std::shared_ptr<MainFrameState> LoadMainFrameStateOrDefault(const Dravik::UI::XML::Node& element,
                                                            const Dravik::VersionNumber& version,
                                                            const std::shared_ptr<MainFrameState>& defaults);

// The default state's definition of a ribbon tab, or of a group inside it, by GUID (to reset a
// tab or a group to what the program ships); null without a GUID or a match.
const Dravik::UI::XML::RibbonTab* FindRibbonTabDefinition(const MainFrameState* defaults,
                                                          std::wstring_view tabGuid);
const Dravik::UI::XML::RibbonGroup* FindRibbonGroupDefinition(const MainFrameState* defaults,
                                                              std::wstring_view tabGuid,
                                                              std::wstring_view groupGuid);

// Ribbon definitions older than 16.0 named some built-in groups by fixed ids; they become
// built-in-group codes.
void ConvertOldRibbonGroups(Dravik::UI::XML::RibbonBar& ribbon);

DV_EXPORTS_END
