// The start pages' side of the themes: the start page knows only a handful of looks, numbered
// its own way, and every open start-page view is told when the theme changes.
#pragma once

#include "pal/visibility.h"

#include <functional>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

// A view that shows a start page.
class IStartPageView {
public:
    virtual ~IStartPageView() = default;
    virtual void SetTheme(int theme) = 0;
    // The folder whose prototypes the page offers for new documents.
    virtual void SetPrototypeFolder(const std::wstring& folder) {}
};

// The start page's look for a UI theme name, compared exactly (letter case included): 1, 3 and
// 5 are dark, 2 and 4 light, 0 for a name the start page does not know.
int ThemeFromName(std::wstring_view name);

// Calls `callback` with every open start-page view, in document and view order.
void ForEachStartPageView(const std::function<void(IStartPageView*)>& callback);

DV_EXPORTS_END
