// The fixture of the drag tests: a source window at 100,100 (200x200) whose button press runs a
// drag, and a target window at 500,100 (300x200); both record WM_DROPFILES.
#pragma once

#include "test_objects.h"

#include "pal/test/user_test.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace oletest {

// The WM_DROPFILES the test windows received.
extern std::vector<MSG> gReceived;

class DragFixture : public pal::test::UserTest {
protected:
    void SetUp() override;
    void TearDown() override;

    struct Outcome {
        HRESULT result = E_FAIL;
        DWORD effect = 0xDEAD;
    };

    // Presses at the source, whose press handler runs the drag with `data`; while it runs, the
    // pointer moves through `path` and is released at its last point. `keys` run just before
    // the release (keys pressed there, Esc).
    Outcome drag(IDataObject* data, std::vector<POINT> path, const std::function<void()>& keys = {},
                 DWORD ok = DROPEFFECT_COPY | DROPEFFECT_MOVE);

    HWND source = nullptr;
    HWND target = nullptr;
    TestSource* source_ = nullptr;
};

} // namespace oletest
