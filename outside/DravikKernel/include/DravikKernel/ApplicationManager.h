// Add-on applications: shared libraries that extend the program with commands and tools.
//
// The library's rules for them:
// - An add-on is a shared library that exports `BOOL DravikApplicationStart()` (required: it
//   registers the add-on's commands and answers whether the add-on runs), and optionally
//   `BOOL DravikApplicationCanExit()` (its consent to the program ending) and
//   `void DravikApplicationStop()` (called before the library is unloaded) and
//   `void DravikApplicationCreateTools()` (makes its tool bars and tabs again, for a main frame
//   whose state was loaded) and `BOOL DravikApplicationOpenFile(const wchar_t* path)` (opens a
//   file of a format the kernel does not read, making its document through the kernel; TRUE
//   when it did) and `BOOL DravikApplicationCommandRange(unsigned* first, unsigned* last)` with
//   `void DravikApplicationOnCommand(CDvw32Doc* document, unsigned id)` (the add-on's own
//   commands, numbered within 15000-16999, and running one of them for the active document or
//   none).
// - Installed add-ons are listed in the applications INI, one section per add-on named by its
//   identifier, with "Name", "Path" (a relative path lies in the program folder), "Type" (1 a
//   native add-on; other types belong to the managed manager) and "Flags" (the start mode); and
//   in the registry, one key per add-on under "Applications" of the application key (the
//   user's) and under HKEY_LOCAL_MACHINE\SOFTWARE\<company>\Applications\<edition> (the
//   machine's), with the values "Name", "Path", "Flags" and, for one that needs the 3D editions,
//   "Needs3D" = 1. The first add-on of an identifier wins.
// - Start modes (Flags bits 0 and 1): 0 on demand, 2 automatic (started in the second phase,
//   once the main frame exists), 3 before all (started in the first phase); bit 9 (512) starts
//   only explicitly.
// - An add-on whose library is missing, is not a library, lacks the start entry point or
//   refuses to start is skipped with a log line and an error text; start-up goes on.
// - At exit every loaded add-on is asked for its consent; any refusal keeps the program open.
//   Unloading stops and unloads the add-ons in the reverse order of their start.
#pragma once

#include "pal/visibility.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace dvio {
class IniFile;
}
class CDvw32Doc;

class CDVBaseApplication {
public:
    enum Flags : unsigned {
        StartOnDemand = 0,
        StartAutomatic = 2,
        StartBeforeAll = 3,
        StartModeMask = 3,
        StartExplicitly = 512,
        NeedsPdm = 1024,
    };

    CDVBaseApplication(std::wstring id, std::wstring name, std::wstring path, unsigned flags, bool fromIni);
    virtual ~CDVBaseApplication();
    CDVBaseApplication(const CDVBaseApplication&) = delete;
    CDVBaseApplication& operator=(const CDVBaseApplication&) = delete;

    virtual bool IsLoaded() const { return m_module != nullptr; }
    virtual std::wstring GetErrorText() const { return m_error; }

    const std::wstring& GetId() const { return m_id; }
    const std::wstring& GetName() const { return m_name; }
    const std::wstring& GetPath() const { return m_path; }
    unsigned GetFlags() const { return m_flags; }
    void SetFlags(unsigned flags) { m_flags = flags; }
    bool IsNotFound() const { return m_notFound; }
    bool IsFromINI() const { return m_fromIni; }
    bool IsInstalled() const { return true; }
    bool IsManaged() const { return false; }
    // The add-on's own help file; empty when it brings none.
    const std::wstring& GetHelpFile() const { return m_helpFile; }
    void SetHelpFile(std::wstring helpFile) { m_helpFile = std::move(helpFile); }

    // Loads the library and runs its start entry point; true when it runs.
    bool Start();
    bool IsStarted() const { return IsLoaded(); }
    // Lets a started add-on make its tools again; nothing for one that is not started.
    void CreateTools();
    // Its consent to the program ending; an add-on that is not loaded consents.
    bool CanExit() const;
    // A message of a main frame offered to the add-on before the frame's own listeners; true
    // when the add-on handled it (and `result` holds its answer). A native add-on has no
    // listener: it declines.
    virtual bool OnWndMsgAddon(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                               std::intptr_t* result) {
        return false;
    }
    // Offers a file of a foreign format; true when the add-on opened it.
    bool OpenFile(const wchar_t* path);
    // The add-on's own command numbers (inclusive); false for one not loaded or with none.
    bool GetCommandRange(unsigned& first, unsigned& last) const;
    // Runs one of its commands for the document (null: none is active).
    void OnCommand(CDvw32Doc* document, unsigned id);
    // Runs its stop entry point and unloads the library.
    void Unload();

private:
    bool fail(const std::wstring& error);

    std::wstring m_id, m_name, m_path, m_error, m_helpFile;
    unsigned m_flags = 0;
    bool m_fromIni = false;
    bool m_notFound = false;
    void* m_module = nullptr;
};

class CDVApplicationManager {
public:
    static CDVApplicationManager& Instance();

    using Applications = std::vector<std::unique_ptr<CDVBaseApplication>>;
    Applications::const_iterator begin() const { return m_applications.begin(); }
    Applications::const_iterator end() const { return m_applications.end(); }

    // Adds the native add-ons the INI lists.
    void LoadInstalledApplications(const dvio::IniFile& ini);
    // Adds the add-ons the registry lists for this company and edition.
    void LoadInstalledApplicationsFromRegistry(const wchar_t* company, const wchar_t* language,
                                               const wchar_t* edition, bool is3D);
    // Starts the add-ons of a phase: 1 the ones that start before all, 0 the automatic ones.
    // With `all` false only add-ons that do not need the PDM system start.
    void StartApplications(int firstPhase, int all);
    CDVBaseApplication* GetApplication(const wchar_t* idOrName) const;
    CDVBaseApplication* AddApplication(std::unique_ptr<CDVBaseApplication> application);
    bool RemoveApplication(CDVBaseApplication* application);
    // Whether every loaded add-on consents to the program ending.
    bool CanExit() const;
    // Offers a file of a foreign format to the loaded add-ons in the order they are listed; true
    // when one opened it.
    bool OpenFile(const wchar_t* path);
    // The help file that documents a help topic outside the program's own help; the add-ons
    // loaded here register no topics of their own, so none.
    std::wstring GetHelpFileOfTopic(int topic) const;
    void UnloadApplications();
    // The started add-ons make their tools for a main frame, in the order they started; add-on
    // user interface is accepted only while this runs.
    void CreateApplicationTools();

private:
    CDVApplicationManager() = default;
    Applications m_applications;
    std::vector<CDVBaseApplication*> m_started; // in start order
    friend void resetApplicationsForKernel();
};

// The kernel's side of the managed add-ons. No managed add-on exists here: the proxy speaks for
// the native manager where the shell asks the managed one.
class IApplicationManagerProxy {
public:
    virtual ~IApplicationManagerProxy() = default;
    virtual int GetCount() const = 0;
    // The veto query before the program ends or resets its settings.
    virtual bool CanClose() = 0;
    // A main window is being destroyed; the managed add-ons let go of what they hold of it.
    virtual void OnMainFrameDestroy() {}
};

class ApplicationManager {
public:
    static ApplicationManager& Get();
    static IApplicationManagerProxy* Proxy();
    void LoadInstalledApplications(const dvio::IniFile& ini);
    void OnExitInstance();

private:
    ApplicationManager() = default;
};

// The free form the start-up calls.
void LoadInstalledApplicationsFromRegistry(const wchar_t* company, const wchar_t* language,
                                           const wchar_t* edition, bool is3D);

DV_EXPORTS_END
