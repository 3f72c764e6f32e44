// The frame tests' fixture files and the main-frame states stored in them.
#pragma once

#include "DravikUI/XML.h"
#include "frame/FrameState.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace frame_test {

inline std::filesystem::path fixture(const char* name) {
    const char* source = std::getenv("DV_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "frame/tests/fixtures" / name;
}

inline std::shared_ptr<MainFrameState> loadState(const char* name) {
    namespace XML = Dravik::UI::XML;
    XML::Document document;
    EXPECT_TRUE(document.loadFile(fixture(name)));
    return LoadMainFrameState(document.root(), XML::FormatVersion, nullptr);
}

} // namespace frame_test
