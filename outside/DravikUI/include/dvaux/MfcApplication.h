// The application base of the maker's user-interface framework: the class library's
// application, which the program's application object derives from.
#pragma once

#include "afxwin.h"

namespace dvaux {

class MfcApplication : public CWinApp {
public:
    using CWinApp::CWinApp;
};

} // namespace dvaux
