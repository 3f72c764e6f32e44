// A notice across the top of a frame's client area (under the ribbon): a message, buttons
// that send their commands, and a close button. With markup on, the message may be a grid of
// an image and text blocks with bold runs and line breaks.
#pragma once

#include "afxext.h"
#include "pal/visibility.h"

#include <memory>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPCommandBars;
class CXTPImageManager;

class CXTPMessageBarButton {
public:
    UINT m_nID = 0;
    CString m_strCaption;
    CString m_strToolTip;
    CRect m_rcButton;
    BOOL m_bHot = FALSE;
    BOOL m_bPressed = FALSE;
    BOOL IsCloseButton() const { return m_nID == SC_CLOSE; }
};

class CXTPMessageBar : public CControlBar {
    DECLARE_DYNAMIC(CXTPMessageBar)
public:
    CXTPMessageBar();
    ~CXTPMessageBar() override;

    // On the frame that the bar's layout places it in, along its top.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = 59398);
    // On the site frame of the command bars, under the bars docked at its top.
    BOOL Create(CXTPCommandBars* pCommandBars, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT nID = 59398);
    BOOL IsUnderCommandBars() const { return underBars_; }
    // Places the visible message bars of a site frame at the top of `rcRoom` (frame client
    // coordinates), one under the other; answers the room left.
    static CRect LayoutUnderCommandBars(CWnd* pSite, CRect rcRoom);

    void EnableMarkup(BOOL bEnable = TRUE);
    BOOL IsMarkupEnabled() const { return markup_; }
    void SetMessage(LPCWSTR lpszMessage);
    const CString& GetMessage() const { return message_; }

    // Buttons from right to left in the order added, left of the close button.
    void AddButton(UINT nID, LPCWSTR lpszCaption, LPCWSTR lpszToolTip = nullptr);
    void RemoveButtons();
    void ShowCloseButton(BOOL bShow);
    int GetButtonCount() const { return static_cast<int>(buttons_.size()); }
    // The buttons, the close button last when shown.
    CXTPMessageBarButton* GetButton(int nIndex) const;
    CXTPMessageBarButton* FindButton(UINT nID) const;
    CXTPMessageBarButton* HitTestButton(CPoint point) const;

    // Where the markup's image ids are looked up: the bar's own, else the process's.
    void SetImageManager(CXTPImageManager* pImageManager) { images_ = pImageManager; }
    CXTPImageManager* GetImageManager() const;

    // The area the message is drawn in.
    CRect GetMessageRect() const;

    // A button's command goes to the parent frame; the close button closes the bar.
    virtual void OnClick(CXTPMessageBarButton* pButton);
    // Hides the bar and lays the frame out without it.
    virtual void Close();

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    DECLARE_MESSAGE_MAP()

private:
    struct Layout;
    void relayout();
    int heightFor(int width) const;
    void paint(CDC* pDC);
    void drawMessage(CDC* pDC, CRect rc) const;
    BOOL markup_ = FALSE;
    BOOL underBars_ = FALSE;
    CString message_;
    std::vector<std::unique_ptr<CXTPMessageBarButton>> buttons_;
    CXTPMessageBarButton close_;
    BOOL closeShown_ = TRUE;
    CXTPImageManager* images_ = nullptr;
    CXTPMessageBarButton* pressed_ = nullptr;
};

DV_EXPORTS_END
