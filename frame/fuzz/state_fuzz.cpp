// One main-window element from the input, read as the program reads a saved frame state over its
// default; what reads must write and read back to an equal state.
#include "frame/FrameState.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

namespace XML = Dravik::UI::XML;

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "round trip differs: %s\n", what);
        std::abort();
    }
}

void storeOwnFields(const MainFrameState& state, XML::Node element) {
    state.store(element);
    element.setAttribute(L"fullscreen", state.fullScreen ? L"true" : L"false");
    element.setAttribute(L"workbook", state.workbook ? L"true" : L"false");
    element.setAttribute(L"maximizeMdi", state.maximizeMdi ? L"true" : L"false");
    element.setAttribute(L"analysisMode", AnalysisModeToText(state.analysisMode));
    element.setAttribute(L"orsaWindows", PdmPanesToText(state.pdmPanes));
    if (state.layouts && state.layouts->root())
        element.appendCopy(state.layouts->root());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    XML::Document document;
    if (!document.loadString(std::string_view(reinterpret_cast<const char*>(data), size)))
        return 0;
    XML::SetProduct(static_cast<int>(size % 6));
    const auto defaults = std::make_shared<MainFrameState>();
    const auto state = LoadMainFrameStateOrDefault(document.root(), StateFormatVersion, defaults);
    check(state != nullptr, "a state or the default");
    if (state == defaults)
        return 0;
    for (std::uint32_t tag : {0u, static_cast<std::uint32_t>(size) << 12})
        (void)ViewTypesToText(tag);

    XML::Document written;
    storeOwnFields(*state, written.resetRoot(XML::TagNames::MainWindow));
    const auto again = LoadMainFrameState(written.root(), StateFormatVersion, nullptr);
    check(again != nullptr, "the written state reads");
    check(again->pdmPanes == state->pdmPanes, "pdmPanes");
    check(again->analysisMode == state->analysisMode ||
              (state->analysisMode != 1 && state->analysisMode != 2),
          "analysisMode");
    check(again->workbook == state->workbook, "workbook");
    check(again->fullScreen == state->fullScreen, "fullScreen");
    check(again->maximizeMdi == state->maximizeMdi, "maximizeMdi");
    check((again->layouts == nullptr) == (state->layouts == nullptr), "layouts");
    check(again->toolBars == state->toolBars, "toolBars");
    return 0;
}
