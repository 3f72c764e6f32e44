// What the XML tests share: their fixture files and a clean product and mode around each test.
#pragma once

#include "DravikUI/XML.h"
#include "DravikUI/XMLMainFrameState.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace dvui::xmltest {

inline std::filesystem::path fixture(const std::string& name) {
    const char* source = std::getenv("DV_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "outside/DravikUI/tests/fixtures/xml" / name;
}

// A main-window state read from a fixture file's root element.
inline Dravik::UI::MainFrameState loadState(const std::string& name) {
    Dravik::UI::XML::Document document;
    EXPECT_TRUE(document.loadFile(fixture(name))) << name;
    Dravik::UI::MainFrameState state;
    EXPECT_TRUE(state.load(document.root(), Dravik::UI::XML::FormatVersion)) << name;
    state.resolvePopupBars();
    return state;
}

class XmlTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset() {
        Dravik::UI::XML::SetProduct(-1);
        Dravik::UI::XML::SetMode(0);
    }
};

} // namespace dvui::xmltest
