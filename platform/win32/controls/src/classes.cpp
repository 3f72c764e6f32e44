// The standard classes are the system's: registered when the library loads and again whenever
// the window layer is cleared. The common controls wait for InitCommonControlsEx.
#include "control.h"

#include "pal/detail/system_classes.h"

namespace pal::ctl {
namespace {

HBRUSH colorBrush(int index) {
    // A system colour index plus one stands for that colour's brush.
    return reinterpret_cast<HBRUSH>(static_cast<LONG_PTR>(index + 1));
}

} // namespace

void registerStandardClasses() {
    registerControlClass(L"Button", &buttonProc, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW);
    registerControlClass(L"Static", &staticProc, CS_DBLCLKS | CS_PARENTDC);
    registerControlClass(L"Edit", &editProc, CS_DBLCLKS | CS_PARENTDC);
    registerControlClass(L"ListBox", &listBoxProc, CS_DBLCLKS | CS_PARENTDC);
    registerControlClass(L"ComboLBox", &listBoxProc, CS_DBLCLKS | CS_SAVEBITS);
    registerControlClass(L"ComboBox", &comboBoxProc, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW);
    registerControlClass(L"ScrollBar", &scrollBarProc, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW);
    registerControlClass(WC_DIALOG, &DefDlgProcW, CS_DBLCLKS | CS_SAVEBITS, DLGWINDOWEXTRA,
                         colorBrush(COLOR_3DFACE));
}

namespace {

// Registered at load: every program that links the controls has its standard classes.
const bool registered = [] {
    pal::detail::addSystemClasses(&registerStandardClasses);
    return true;
}();

} // namespace
} // namespace pal::ctl

using namespace pal::ctl;

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    if (!init || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (init->dwICC & ICC_PROGRESS_CLASS)
        registerControlClass(PROGRESS_CLASSW, &progressProc, CS_HREDRAW | CS_VREDRAW);
    if (init->dwICC & ICC_DATE_CLASSES)
        registerControlClass(MONTHCAL_CLASSW, &monthCalProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    if (init->dwICC & ICC_LINK_CLASS)
        registerControlClass(WC_LINK, &linkProc, CS_HREDRAW | CS_VREDRAW);
    if (init->dwICC & ICC_LISTVIEW_CLASSES) {
        registerControlClass(WC_LISTVIEWW, &lv::listViewProc, CS_DBLCLKS);
        registerControlClass(WC_HEADERW, &headerProc, CS_DBLCLKS);
    }
    if (init->dwICC & ICC_TREEVIEW_CLASSES)
        registerControlClass(WC_TREEVIEWW, &treeViewProc, CS_DBLCLKS);
    if (init->dwICC & ICC_TAB_CLASSES)
        registerControlClass(WC_TABCONTROLW, &tabProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    if (init->dwICC & (ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES))
        registerControlClass(TOOLTIPS_CLASSW, &toolTipProc, CS_SAVEBITS, kStateExtra, nullptr);
    if (init->dwICC & ICC_STANDARD_CLASSES)
        registerStandardClasses();
    return TRUE;
}

void InitCommonControls() {
    const INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&init);
}
