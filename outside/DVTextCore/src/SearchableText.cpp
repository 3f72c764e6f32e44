#include "DVTextCore/SearchableText.h"

#include "pal/text.h"

namespace Dravik {

std::wstring GetSearchableEquivalent(std::wstring_view text) {
    return pal::text::toLower(text);
}

} // namespace Dravik
