// The look of a page before its own style sheets: what each element is and how it is set.
#pragma once

namespace pal::html {
extern const char* const defaultStyleSheet;
}
