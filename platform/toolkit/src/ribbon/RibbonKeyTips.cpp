// Key tips: Alt shows a letter on the File button, each tab and the quick access controls; a
// tab's letter selects it and shows the letters of its controls; a control's letter runs it.
// Letters shared by several targets become a letter and a digit.
#include "xtp/ControlEdit.h"
#include "xtp/RibbonBar.h"

#include "RibbonGroupsLayout.h"

#include <map>

namespace {

// The letter a caption offers: its accelerator, else its first letter or digit.
WCHAR baseLetter(const CString& caption) {
    if (WCHAR m = CXTPDrawHelpers::GetMnemonic(caption))
        return m;
    const CString plain = CXTPDrawHelpers::StripMnemonics(caption);
    for (int i = 0; i < plain.GetLength(); ++i) {
        if (iswalnum(plain[i]))
            return static_cast<WCHAR>(towupper(plain[i]));
    }
    return L'X';
}

// Gives each tip its text: its own when set, else its base letter, with a digit after it when
// several share the letter.
void assignTexts(std::vector<XTP_RIBBON_KEYTIP>& tips, const std::vector<WCHAR>& bases) {
    std::map<WCHAR, int> uses;
    for (size_t i = 0; i < tips.size(); ++i) {
        if (tips[i].strText.IsEmpty())
            ++uses[bases[i]];
    }
    std::map<WCHAR, int> next;
    for (size_t i = 0; i < tips.size(); ++i) {
        if (!tips[i].strText.IsEmpty())
            continue;
        tips[i].strText = CString(bases[i]);
        if (uses[bases[i]] > 1)
            tips[i].strText.AppendFormat(L"%d", ++next[bases[i]]);
    }
}

} // namespace

void CXTPRibbonBar::ShowKeyboardTips(BOOL bShow) {
    if (!bShow) {
        HideKeyTips();
        return;
    }
    if (m_bLayoutPending)
        OnRecalcLayout();
    BuildKeyTips(0, nullptr);
}

void CXTPRibbonBar::HideKeyTips() {
    if (m_keyTips.empty())
        return;
    m_keyTips.clear();
    m_strKeyTipTyped.Empty();
    m_nKeyTipLevel = 0;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CXTPRibbonBar::BuildKeyTips(int nLevel, CXTPRibbonTab* pTab) {
    m_keyTips.clear();
    m_strKeyTipTyped.Empty();
    m_nKeyTipLevel = nLevel;
    std::vector<WCHAR> bases;
    if (nLevel == 0) {
        if (m_bSystemButtonVisible) {
            XTP_RIBBON_KEYTIP tip;
            tip.bSystemButton = TRUE;
            tip.pControl = m_pSystemButton;
            tip.ptCenter = m_pSystemButton->GetRect().CenterPoint();
            m_keyTips.push_back(tip);
            bases.push_back(baseLetter(m_pSystemButton->GetCaption()));
        }
        for (int i = 0; i < GetTabCount(); ++i) {
            CXTPRibbonTab* tab = GetTab(i);
            if (!tab->IsVisible())
                continue;
            XTP_RIBBON_KEYTIP tip;
            tip.pTab = tab;
            tip.strText = tab->GetKeyboardTip();
            tip.ptCenter = CPoint(tab->GetRect().CenterPoint().x, tab->GetRect().bottom);
            m_keyTips.push_back(tip);
            bases.push_back(baseLetter(tab->GetCaption()));
        }
        int n = 0;
        for (CXTPControl* c : *m_pQuickAccessControls) {
            if (!c->IsVisible() || n >= 9)
                continue;
            XTP_RIBBON_KEYTIP tip;
            tip.pControl = c;
            tip.strText.Format(L"%d", ++n);
            tip.ptCenter = CPoint(c->GetRect().CenterPoint().x, c->GetRect().bottom);
            m_keyTips.push_back(tip);
            bases.push_back(0);
        }
    } else if (pTab) {
        for (int g = 0; g < pTab->GetGroups()->GetCount(); ++g) {
            CXTPRibbonGroup* group = pTab->GetGroups()->GetAt(g);
            if (!group->IsVisible())
                continue;
            if (group->IsReduced()) {
                XTP_RIBBON_KEYTIP tip;
                tip.pGroup = group;
                tip.ptCenter = CPoint(group->GetRect().CenterPoint().x, group->GetRect().bottom - 6);
                m_keyTips.push_back(tip);
                bases.push_back(baseLetter(group->GetCaption()));
                continue;
            }
            for (int i = 0; i < group->GetCount(); ++i) {
                CXTPControl* c = group->GetAt(i);
                if (!c->IsVisible() || c->GetRect().IsRectEmpty())
                    continue;
                XTP_RIBBON_KEYTIP tip;
                tip.pControl = c;
                const CRect r = c->GetRect();
                const BOOL large = CXTPRibbonGroupsLayout::SizeAt(c, group->GetReduceLevel()) == 0;
                tip.ptCenter =
                    large ? CPoint(r.CenterPoint().x, r.bottom) : CPoint(r.left + 10, r.bottom - 2);
                m_keyTips.push_back(tip);
                bases.push_back(baseLetter(c->GetCaption()));
            }
        }
    }
    assignTexts(m_keyTips, bases);
    if (m_hWnd)
        Invalidate(FALSE);
}

void CXTPRibbonBar::DrawKeyTips(CDC* pDC) {
    for (const XTP_RIBBON_KEYTIP& tip : m_keyTips) {
        // Only the tips that still match what was typed.
        if (tip.strText.Left(m_strKeyTipTyped.GetLength()) != m_strKeyTipTyped)
            continue;
        const CSize size = CXTPRibbonPaintManager::Current()->GetKeyTipSize(pDC, tip.strText);
        const CRect rc(tip.ptCenter.x - size.cx / 2, tip.ptCenter.y - size.cy / 2,
                       tip.ptCenter.x - size.cx / 2 + size.cx, tip.ptCenter.y - size.cy / 2 + size.cy);
        CXTPRibbonPaintManager::Current()->DrawKeyTip(pDC, rc, tip.strText);
    }
}

BOOL CXTPRibbonBar::RunKeyTip(const XTP_RIBBON_KEYTIP& tip) {
    const XTP_RIBBON_KEYTIP chosen = tip; // the list is rebuilt below
    if (chosen.pTab) {
        SetCurSel(chosen.pTab->GetIndex());
        if (m_bLayoutPending || m_hWnd)
            OnRecalcLayout();
        BuildKeyTips(1, chosen.pTab);
        return TRUE;
    }
    HideKeyTips();
    SetTrackingMode(FALSE);
    if (chosen.bSystemButton) {
        m_pSystemButton->OnClick(TRUE);
        return TRUE;
    }
    if (chosen.pGroup)
        return OpenCollapsedGroup(chosen.pGroup);
    if (CXTPControl* c = chosen.pControl; c && c->GetEnabled()) {
        if (auto* popup = dynamic_cast<CXTPControlPopup*>(c);
            popup && c->GetType() != xtpControlSplitButtonPopup) {
            // Opened by the control itself, as a click opens it, so that a popup that fills its
            // list as it opens does so (and makes its bar then); then on its first item, as keys
            // open a popup.
            if (!popup->GetPopuped() && !popup->OnSetPopup(TRUE))
                return FALSE;
            if (CXTPCommandBar* bar = popup->GetCommandBar(); bar != nullptr && bar->GetSelected() < 0)
                bar->SetSelected(bar->GetNextFocusable(-1, +1), TRUE);
            return TRUE;
        }
        // An edit's letter puts the keys into its field, where Enter then runs it.
        if (auto* edit = dynamic_cast<CXTPControlEdit*>(c)) {
            if (CXTPControlEditCtrl* field = edit->GetEditCtrl();
                field != nullptr && field->m_hWnd != nullptr) {
                field->SetFocus();
                return TRUE;
            }
        }
        c->OnExecute();
        return TRUE;
    }
    return FALSE;
}

BOOL CXTPRibbonBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard) {
    if (!bMode) {
        HideKeyTips();
        return CXTPMenuBar::SetTrackingMode(FALSE, FALSE, FALSE);
    }
    // The ribbon takes the keys for its key tips rather than walking its controls.
    const BOOL changed = CXTPMenuBar::SetTrackingMode(TRUE, FALSE, bKeyboard);
    if (bKeyboard)
        ShowKeyboardTips(TRUE);
    (void)bSelectFirst;
    return changed;
}

BOOL CXTPRibbonBar::OnHookKeyDown(UINT nChar, LPARAM lParam) {
    if (m_keyTips.empty() && !m_bTracking)
        return CXTPMenuBar::OnHookKeyDown(nChar, lParam);
    if (nChar == VK_ESCAPE) {
        if (!m_strKeyTipTyped.IsEmpty()) {
            m_strKeyTipTyped.Empty();
            Invalidate(FALSE);
        } else if (m_nKeyTipLevel > 0) {
            BuildKeyTips(0, nullptr);
        } else {
            SetTrackingMode(FALSE);
        }
        return TRUE;
    }
    const BOOL letter = (nChar >= 'A' && nChar <= 'Z') || (nChar >= '0' && nChar <= '9');
    if (!letter) {
        if (nChar == VK_MENU || nChar == VK_SHIFT || nChar == VK_CONTROL)
            return TRUE;
        SetTrackingMode(FALSE);
        return TRUE;
    }
    const CString typed = m_strKeyTipTyped + static_cast<WCHAR>(nChar);
    const XTP_RIBBON_KEYTIP* exact = nullptr;
    int matching = 0;
    for (const XTP_RIBBON_KEYTIP& tip : m_keyTips) {
        if (tip.strText.Left(typed.GetLength()) != typed)
            continue;
        ++matching;
        if (tip.strText == typed)
            exact = &tip;
    }
    if (matching == 0)
        return TRUE; // a key no tip starts with changes nothing
    if (exact && matching == 1)
        return RunKeyTip(*exact) || TRUE;
    m_strKeyTipTyped = typed;
    Invalidate(FALSE);
    return TRUE;
}
