// An access-rights wizard for the tests: a module that exports the wizard and answers 7.
#include "pal/visibility.h"

DV_ENTRY_POINT int ShowDocAccessWizard(void*) {
    return 7;
}
