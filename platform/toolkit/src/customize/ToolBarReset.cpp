#include "xtp/CommandBars.h"
#include "xtp/ResourceManager.h"

void CXTPToolBar::Reset(BOOL bShowWarningMessage) {
    CXTPControls* original = GetControls()->GetOriginalControls();
    if (original == nullptr)
        return;
    if (bShowWarningMessage) {
        CString question;
        question.Format(XTPResourceManager()->LoadString(XTP_IDS_CONFIRM_RESET),
                        static_cast<LPCWSTR>(m_strTitle));
        if (AfxMessageBox(question, MB_OKCANCEL | MB_ICONWARNING) != IDOK)
            return;
    }
    GetControls()->Copy(original, TRUE);
    if (m_hWnd != nullptr) {
        OnRecalcLayout();
        Invalidate();
    }
    if (CXTPCommandBars* bars = GetCommandBars())
        bars->RecalcFrameLayout();
}
