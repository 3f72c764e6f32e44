// Must not compile: a message-map range whose first id is above its last.
#include "afxwin.h"

class BadRange : public CCmdTarget {
public:
    void OnRange(UINT) {}

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(BadRange, CCmdTarget)
ON_COMMAND_RANGE(200, 100, &BadRange::OnRange)
END_MESSAGE_MAP()
