#include "pal/test/idle_script_owner.h"

namespace pal::test {

LRESULT IdleScriptOwner::OnEnterIdle(WPARAM, LPARAM lParam) {
    if (next < script.size())
        script[next++](reinterpret_cast<HWND>(lParam));
    return 0;
}

BEGIN_MESSAGE_MAP(IdleScriptOwner, CWnd)
ON_MESSAGE(WM_ENTERIDLE, &IdleScriptOwner::OnEnterIdle)
END_MESSAGE_MAP()

} // namespace pal::test
