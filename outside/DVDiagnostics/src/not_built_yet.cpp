#include "DVDiagnostics/NotBuiltYet.h"

#include <cstring>

void DVNotBuiltYet(const char* what, const char* file, int line) {
    const char* slash = file != nullptr ? std::strrchr(file, '/') : nullptr;
    DVLog_Write(DVLogProgress, "Not built yet: %s (%s:%d)", what != nullptr ? what : "",
                slash != nullptr ? slash + 1 : (file != nullptr ? file : ""), line);
}
