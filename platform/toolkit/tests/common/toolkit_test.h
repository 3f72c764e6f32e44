// What the tool kit's window tests share: the window-layer fixture, the log lines the layers
// noticed during the test, and pictures kept for a person to look at.
#pragma once

#include "pal/gdi.h"
#include "pal/notice.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_test.h"

#include <string>
#include <vector>

namespace dv::toolkit::test {

inline std::vector<std::string>& notices() {
    static std::vector<std::string> lines;
    return lines;
}

class ToolkitTest : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        notices().clear();
        pal::notice::setSink([](const std::string& line) { notices().push_back(line); });
    }
    void TearDown() override {
        pal::notice::setSink(nullptr);
        UserTest::TearDown();
    }
    // The window as it looks, saved under `name`; the picture for the test to read.
    static pal::gdi::Surface picture(HWND hwnd, const char* name) {
        pal::gdi::Surface shot = pal::test::snapshot(hwnd);
        pal::test::keepSnapshot(shot, name);
        return shot;
    }
};

} // namespace dv::toolkit::test
