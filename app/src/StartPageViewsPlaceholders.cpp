// Until the start-page document and its template land there are no start-page views to tell.
#include "app/StartPageThemes.h"

void ForEachStartPageView(const std::function<void(IStartPageView*)>& callback) {
    (void)callback;
}
