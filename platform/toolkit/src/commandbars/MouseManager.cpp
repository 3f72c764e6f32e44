#include "xtp/MouseManager.h"

#include "xtp/CommandBar.h"
#include "xtp/PopupBar.h"

#include <algorithm>

void CXTPMouseManager::AddTrackArray(CXTPCommandBar* pBar) {
    if (pBar != nullptr && std::find(m_tracked.begin(), m_tracked.end(), pBar) == m_tracked.end())
        m_tracked.push_back(pBar);
}

void CXTPMouseManager::RemoveTrackArray(CXTPCommandBar* pBar) {
    m_tracked.erase(std::remove(m_tracked.begin(), m_tracked.end(), pBar), m_tracked.end());
}

BOOL CXTPMouseManager::IsTrackedLock(const CXTPCommandBar* pBar) const {
    if (pBar == nullptr)
        return !m_tracked.empty();
    return std::find(m_tracked.begin(), m_tracked.end(), pBar) != m_tracked.end();
}

void CXTPMouseManager::SendTrackLost() {
    // Deepest first: each bar leaving tracking mode may take others with it.
    while (!m_tracked.empty()) {
        CXTPCommandBar* bar = m_tracked.back();
        if (auto* popup = dynamic_cast<CXTPPopupBar*>(bar))
            popup->Close();
        else
            bar->SetTrackingMode(FALSE);
        RemoveTrackArray(bar);
    }
}

CXTPMouseManager* XTPMouseManager() {
    static CXTPMouseManager manager;
    return &manager;
}
