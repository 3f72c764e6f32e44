// The command bars' image and shortcut managers.
#include "xtp/CommandBars.h"
#include "xtp/ImageManager.h"
#include "xtp/ShortcutManager.h"

CXTPImageManager* CXTPCommandBars::GetImageManager() const {
    return m_pImageManager ? m_pImageManager.get() : XTPImageManager();
}

void CXTPCommandBars::SetImageManager(CXTPImageManager* pImageManager) {
    m_pImageManager.reset(pImageManager);
}

CXTPShortcutManager* CXTPCommandBars::GetShortcutManager() const {
    if (!m_pShortcutManager)
        m_pShortcutManager = std::make_shared<CXTPShortcutManager>(const_cast<CXTPCommandBars*>(this));
    return m_pShortcutManager.get();
}

void CXTPCommandBars::SetShortcutManager(CXTPShortcutManager* pShortcutManager) {
    m_pShortcutManager.reset(pShortcutManager);
}
