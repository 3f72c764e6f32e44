#include "panel_fixture.h"

namespace panels::test {

int BarFrame::OnCreate(LPCREATESTRUCTW lpcs) {
    return CXTPFrameWnd::OnCreate(lpcs) == -1 || !InitCommandBars() ? -1 : 0;
}

BEGIN_MESSAGE_MAP(BarFrame, CXTPFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

} // namespace panels::test
