// The application base of the maker's user-interface framework: the class library's
// application, which the program's application object derives from.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace dvaux {

class MfcApplication : public CWinApp {
public:
    using CWinApp::CWinApp;
};

} // namespace dvaux

DV_EXPORTS_END

DV_EXPORTS_END
