// The one mouse manager of the process: it knows which command bars track the mouse (open
// popups, a menu bar in menu mode) and tells them all when the tracking is lost.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <vector>

DV_EXPORTS_BEGIN

class CXTPCommandBar;

class CXTPMouseManager {
public:
    void AddTrackArray(CXTPCommandBar* pBar);
    void RemoveTrackArray(CXTPCommandBar* pBar);
    BOOL IsTrackedLock(const CXTPCommandBar* pBar = nullptr) const;
    // Every tracking bar leaves tracking mode and its popups close.
    void SendTrackLost();
    int GetTrackCount() const { return static_cast<int>(m_tracked.size()); }

private:
    std::vector<CXTPCommandBar*> m_tracked;
};

CXTPMouseManager* XTPMouseManager();

DV_EXPORTS_END
