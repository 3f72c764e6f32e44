// The markup of a link control: plain text and <a> elements with href and id attributes.
#pragma once

#include "paint.h"

#include <string>
#include <vector>

namespace pal::ctl {

struct MarkupLink {
    std::wstring id;
    std::wstring url;
    std::wstring text;
    UINT state = LIS_ENABLED;
};

struct ParsedMarkup {
    std::vector<LinkRun> runs; // what is shown, in order; run.link indexes `links`
    std::vector<MarkupLink> links;
};

// Tags are matched without case; an attribute's value may be quoted with " or ' or not at all.
// Anything that is not a well-formed <a ...> or </a> is shown as it is written.
ParsedMarkup parseLinkMarkup(const std::wstring& markup);

} // namespace pal::ctl
