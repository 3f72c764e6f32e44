// The kernel's run-time services that the application's start-up and idle time call: the
// message-trace switch, the automatic menus and the system-panel set, the macro manager, the
// background task manager and its status-line indicator.
#pragma once

#include "pal/visibility.h"

#include <ctime>
#include <string>

DV_EXPORTS_BEGIN

class CDvw32Doc;

// Whether the kernel traces the string ids of the messages it shows (set by the application
// from the environment at start-up).
extern bool g_bTraceMessages;

// The kernel's interface language, set with the session's locale (English for a language the
// kernel has no number for).
enum Country : int {
    Russian = 0,
    Chinese = 1,
    English = 2,
    German = 3,
    Italian = 4,
    Polish = 5,
    Korean = 6,
    Japanese = 7,
    Czech = 8,
};
extern Country COUNTRY;

// When the running kernel was built, and the product's web address.
std::time_t DVGetBuildTime();
std::wstring DVGetWebsiteAddress();

// Shows (non-zero) or hides (0) every automatic menu; the kernel shows them as commands run.
void automenu(int show);
// Shows or hides the system-panel set of the running command.
void ShowSyspanelSet(int show);

// The macro manager: made once the first main frame exists (InitializeMacroManagerInstance);
// MacroManagerInstance is null before.
class IMacroManager {
public:
    virtual ~IMacroManager() = default;
    virtual void SetConfiguration(const wchar_t* configuration) = 0;
    virtual std::wstring GetConfiguration() const = 0;
    // The theme the macros' windows follow.
    virtual void SetTheme(const wchar_t* theme) = 0;
    virtual std::wstring GetTheme() const = 0;
    // Runs a named macro on a document; false when there is no such macro.
    virtual bool RunMacro(const wchar_t* name, CDvw32Doc* document) = 0;
    // Whether the program may end now; a macro that is recording or running may refuse.
    virtual bool CanExit() { return true; }
    // The macros' windows take input only while the main frame does.
    virtual void EnableWindows(bool enable) {}
    virtual bool AreWindowsEnabled() const { return true; }
};

IMacroManager* MacroManagerInstance();
// Makes the macro manager when there is none yet; answers it.
IMacroManager* InitializeMacroManagerInstance();

namespace dvrt {

// The kernel's background tasks, advanced in the application's idle time.
class TaskManager {
public:
    static TaskManager& Instance();
    static void Idle();
    // How many idle steps were taken.
    unsigned GetIdleCount() const;

private:
    TaskManager() = default;
};

// The background tasks' indicator on the status line and its buttons.
class StatusLineBkProcManager {
public:
    static StatusLineBkProcManager& Instance();
    void Pause();
    void Resume();
    void Interrupt();
    // Brings the indicator up to date in idle time.
    void Update();
    bool IsPaused() const;
    // Whether the pause and the resume buttons can be used now.
    bool isPauseEnabled() const { return !IsPaused(); }
    bool isResumeEnabled() const { return IsPaused(); }

private:
    StatusLineBkProcManager() = default;
};

} // namespace dvrt

DV_EXPORTS_END
