// Controls that show rather than act: a label, a static text of a fixed width, and a check box
// whose check mark follows the command's update handler.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/Controls.h"

DV_EXPORTS_BEGIN

// A caption in a bar or a group title in a popup: never selected, never executed.
class CXTPControlLabel : public CXTPControl {
    DECLARE_DYNCREATE(CXTPControlLabel)
public:
    CXTPControlLabel();
    BOOL IsFocusable() const override { return FALSE; }
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override {}
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
};

// A text of its own width (SetWidth), left-aligned and cut with an ellipsis.
class CXTPControlStatic : public CXTPControlLabel {
    DECLARE_DYNCREATE(CXTPControlStatic)
public:
    CSize GetSize(CDC* pDC) override;
};

// A check box with its caption; clicking executes the command, whose update handler checks it.
class CXTPControlCheckBox : public CXTPControl {
    DECLARE_DYNCREATE(CXTPControlCheckBox)
public:
    CXTPControlCheckBox();
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
};

DV_EXPORTS_END
