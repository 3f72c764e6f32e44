// A user-interface element that remembers what an update handler told it; -1 where the
// handler said nothing.
#pragma once

#include "afxwin.h"

namespace pal::test {

struct RecordingCmdUI : CCmdUI {
    int enabled = -1;
    int checked = -1;
    CString text;

    void Enable(BOOL on) override {
        enabled = on ? 1 : 0;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int check) override { checked = check; }
    void SetRadio(BOOL on) override { checked = on ? 1 : 0; }
    void SetText(LPCTSTR t) override { text = t; }
};

} // namespace pal::test
