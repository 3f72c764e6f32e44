// Points the application's context help at a topic for as long as the modifier is set: a page
// or pane that shows sets it when it becomes active and resets it when it leaves.
#pragma once

#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

class HelpIDModifier {
public:
    HelpIDModifier() = default;
    ~HelpIDModifier();
    HelpIDModifier(const HelpIDModifier&) = delete;
    HelpIDModifier& operator=(const HelpIDModifier&) = delete;

    // Makes `helpId` (in `helpFile`, none: the program's own help) the context-help topic; a
    // modifier set before is reset first. `keepFile` keeps the help file the application has.
    void set(unsigned helpId, const wchar_t* helpFile, bool keepFile);
    // Gives the application back the topic it had before; nothing when not set.
    void reset();
    bool isSet() const { return set_; }

private:
    bool set_ = false;
    unsigned previous_ = 0;
};

DV_EXPORTS_END
