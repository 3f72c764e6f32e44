// The pending critical-error report of the application object.
#pragma once

#include "app/Dvw32App.h"
#include "app/GenerateDumpFileAppContext.h"

#include <string>

struct CDvw32App::CriticalErrorRecord {
    std::wstring text;
    // The message bar that offers it; 0 until an idle cycle showed it.
    unsigned barId = 0;
    GenerateDumpFileAppContext context;
    // Filled once, by the first button that needs the report files.
    std::wstring reportPath;
    std::wstring reportFolder;
    std::wstring logCopy;
};
