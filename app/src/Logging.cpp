#include "app/Logging.h"

#include "DVDiagnostics/DVLog.h"

#include <cstdarg>

void DVLog_WriteW(int level, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    DVLog_WriteWV(level, format, args);
    va_end(args);
}

void DVLog_WriteA(int level, const char* format, ...) {
    va_list args;
    va_start(args, format);
    DVLog_WriteV(level, format, args);
    va_end(args);
}
