// The main window of the program. Several may exist at once; the UI module lists them and the
// application object reaches them through that list.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame() = default;

protected:
    void PostNcDestroy() override;
};

DV_EXPORTS_END
