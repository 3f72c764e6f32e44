#include "afx/controls.h"

#include "pal/controls.h"

namespace pal::mfc {

void registerStandardControls() {
    pal::controls::registerClasses();
}

} // namespace pal::mfc
