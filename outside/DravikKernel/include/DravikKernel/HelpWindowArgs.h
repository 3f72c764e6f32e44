// What the help-window application event (1027) carries: the help request before the program
// opens a viewer. A listener that shows the help itself marks it handled.
#pragma once

#include "DravikKernel/ApplicationEvents.h"
#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

class HelpWindowArgs : public ApplicationEventArgs {
public:
    static constexpr int kEvent = 1027;

    HelpWindowArgs(std::wstring helpFile, int topicId, std::wstring fileName)
        : HelpFile(std::move(helpFile)), TopicId(topicId), FileName(std::move(fileName)) {}

    std::wstring HelpFile; // the compiled help file
    int TopicId;           // the topic, -1 for the contents
    std::wstring FileName; // a page to show in place of a topic; empty for none
    bool Handled = false;
};

DV_EXPORTS_END
