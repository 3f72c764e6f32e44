// One definition from the input: read as a main window with every product and mode filter, its
// popups resolved, merged onto itself, stored and read again, which must give the same state.
#include "DravikUI/GlobalContextMenuContainer.h"
#include "DravikUI/XML.h"
#include "DravikUI/XMLMainFrameState.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "round trip differs: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace Dravik::UI;
    XML::Document document;
    if (!document.loadString(std::string_view(reinterpret_cast<const char*>(data), size)))
        return 0;
    XML::SetProduct(size % 7 == 6 ? -1 : static_cast<int>(size % 7));
    XML::SetMode(size % 2 ? 8 : 0);
    MainFrameState state;
    if (!state.load(document.root(), XML::FormatVersion))
        return 0;
    state.resolvePopupBars();
    MainFrameState merged;
    merged.load(document.root(), XML::FormatVersion);
    merged.merge(state);

    XML::Document written;
    XML::Node window = written.resetRoot(XML::TagNames::MainWindow);
    state.store(window);
    MainFrameState again;
    check(again.load(window, XML::FormatVersion), "again.load(window, XML::FormatVersion)");
    check(again.toolBars == state.toolBars, "again.toolBars == state.toolBars");
    check((again.menuBar == nullptr) == (state.menuBar == nullptr), "(again.menuBar == nullptr) == (state.menuBar == nullptr)");
    if (again.menuBar)
        check(*again.menuBar == *state.menuBar, "*again.menuBar == *state.menuBar");
    if (again.ribbonBar && state.ribbonBar)
        check(*again.ribbonBar == *state.ribbonBar, "*again.ribbonBar == *state.ribbonBar");
    return 0;
}
