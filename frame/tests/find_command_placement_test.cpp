// Where the find-command pane opens beside its button.
#include "frame/FindCommandButton.h"

#include <gtest/gtest.h>

namespace {

TEST(FindCommandPlacement, BelowTheButtonCentredAndInsideTheWorkArea) {
    const CRect work(0, 0, 1920, 1040);
    struct Case {
        const char* name;
        CRect button;
        CSize size;
        CRect expected;
    };
    const Case cases[] = {
        {"room everywhere", {900, 100, 940, 124}, {300, 400}, {770, 124, 1070, 524}},
        {"near the left edge", {10, 100, 50, 124}, {300, 400}, {0, 124, 300, 524}},
        {"near the right edge", {1900, 100, 1920, 124}, {300, 400}, {1620, 124, 1920, 524}},
        {"near the bottom: moved up", {900, 900, 940, 924}, {300, 400}, {770, 640, 1070, 1040}},
        {"wider and taller than the screen", {900, 100, 940, 124}, {4000, 3000}, {0, 0, 1920, 1040}},
        {"no size", {900, 100, 940, 124}, {0, 0}, {920, 124, 920, 124}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PlaceBelowButton(c.button, c.size, work), c.expected);
    }
    // A work area on a second monitor, left of the first.
    EXPECT_EQ(PlaceBelowButton({-1900, 50, -1860, 74}, {300, 200}, {-1920, 0, 0, 1080}),
              CRect(-1920, 74, -1620, 274));
}

} // namespace
