// The owner of a modal dialog in a test: each time the dialog's loop goes idle (WM_ENTERIDLE)
// it runs the next step of its script on the dialog, as a person acting at their own pace.
#pragma once

#include "afxwin.h"

#include <functional>
#include <vector>

namespace pal::test {

class IdleScriptOwner : public CWnd {
public:
    std::vector<std::function<void(HWND dialog)>> script;
    size_t next = 0;
    LRESULT OnEnterIdle(WPARAM, LPARAM lParam);

protected:
    DECLARE_MESSAGE_MAP()
};

} // namespace pal::test
