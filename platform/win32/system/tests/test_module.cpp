// A module for the loader tests.
#include "pal/visibility.h"

DV_ENTRY_POINT int dvTestAnswer() {
    return 42;
}
