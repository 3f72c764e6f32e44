// The expanded parameter form: the floating form that shows a running command's parameters in
// full. The UI library keeps one for the process; the program initialises it, loads and saves
// its state with the settings profile and switches its theme with the light and dark themes.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class ExpandedFormView {
public:
    // Gives the form its defaults once; later calls do nothing.
    static void Initialize();
    static bool IsInitialized();

    // The state lives under a key of HKEY_CURRENT_USER ("...\ExpandedDialog"): whether the form
    // is expanded, and its floating rectangle. Loading initialises first; values that are
    // missing keep what the form had, and a rectangle that lies on no monitor any more is
    // brought onto one. False when the key cannot be opened (loading) or written (saving).
    static bool LoadState(const wchar_t* keyPath);
    static bool SaveState(const wchar_t* keyPath);

    static void EnableTheme(bool enable);
    static bool IsThemeEnabled();

    static bool IsExpanded();
    static void SetExpanded(bool expanded);
    static CRect GetFloatingRect();
    static void SetFloatingRect(const RECT& rect);
};

DV_EXPORTS_END
