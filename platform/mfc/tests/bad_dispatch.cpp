// Must not compile: a dispatch-map entry whose parameter string does not fit its member (a
// string declared where the member takes a 16-bit integer).
#include "afxdisp.h"

class BadDispatch : public CCmdTarget {
public:
    LONG Add(short a, LONG b) { return a + b; }

    DECLARE_DISPATCH_MAP()
};
BEGIN_DISPATCH_MAP(BadDispatch, CCmdTarget)
DISP_FUNCTION(BadDispatch, "Add", Add, VT_I4, VTS_BSTR VTS_I4)
END_DISPATCH_MAP()
