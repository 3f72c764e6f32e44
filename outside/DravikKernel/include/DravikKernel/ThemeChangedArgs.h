// What the theme-changed application event (1033) carries: the theme the UI module now shows.
#pragma once

#include "DravikKernel/ApplicationEvents.h"
#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

class ThemeChangedArgs : public ApplicationEventArgs {
public:
    static constexpr int kEvent = 1033;

    ThemeChangedArgs(int number, std::wstring name) : Number(number), Name(std::move(name)) {}

    int Number;        // the UI module's theme number
    std::wstring Name; // the theme's name, as the settings keep it
};

DV_EXPORTS_END
