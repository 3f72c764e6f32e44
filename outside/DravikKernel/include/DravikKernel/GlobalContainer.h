// The kernel's session: opened in steps at start-up, closed at shut-down, with the session's
// locale and brand, its macro switch and its registry of command ids and names.
#pragma once

#include "DravikKernel/CommandFlags.h"
#include "pal/visibility.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

// The brand codes of the session's locale.
enum DVBrandCode : int {
    DVBrandNone = 0,
    DVBrandVirelo = 1,
    DVBrandMerrow = 2,
    DVBrandOstrel = 3,
};

class GlobalContainer {
public:
    static GlobalContainer& Instance();

    // The session steps. Each answers success; start-up stops on a failure.
    bool PreInitSession(int mode);
    bool PostInitSession();
    bool FinishInitSession();
    // The last kernel call at shut-down.
    void DestroySession(int flags);

    void EnableMacros(bool enable);
    // The interface language ("Rus", "Eng", ...), metric units, and the brand code (a
    // DVBrandCode). Loads the language's text catalogue.
    void InitSessionLocale(const wchar_t* language, bool metric, int brand);
    // Makes the session's language current again, after a module may have changed it.
    void RestoreSessionLanguage();

    // The two-letter code of the session's language ("ru" for "Rus"); "en" for a language the
    // kernel does not know.
    std::wstring GetLocaleAlpha2Code() const;

    bool IsVirelo() const;
    bool IsMerrow() const;
    bool IsOstrel() const;

    // The command registry (the command container's, DravikKernel/Commands.h): an id of 1 to
    // 65535 with its name (empty for a bare id), the id kept in the command, and its flags.
    // Registering an id again replaces its name, kept id and flags; other ids are ignored.
    // UnregisterCmd drops the id with its command object; false for an id that is not registered.
    void RegisterCmd(int id, std::wstring_view name, int commandId, DVCommandFlags flags);
    bool UnregisterCmd(int id);
    // The status-line prompt of a command: the kernel's string of the same id; empty when the
    // kernel has none.
    std::wstring GetCmdStr(unsigned id) const;
    // The description of a command as its tips and lists show it; empty when it has none.
    std::wstring GetCmdDescr(unsigned id) const;
    // The kernel's table of commands: every command it knows (registered or its own), add-on
    // commands aside, with its caption (empty when it has none), by increasing id.
    std::map<int, std::wstring> GetCommandTable() const;
    // A number that changes whenever the table or a command's texts may have changed (a command
    // registered or gone, texts set for one, another language loaded): what was built from the
    // table stays good while it stays the same.
    std::uint64_t GetCommandTableVersion() const;

    // True while add-ons may add user interface.
    bool InAppCreateToolsMode() const;

    // The kernel's share of the application's idle time.
    void OnSessionIdle();

private:
    GlobalContainer() = default;
};

DV_EXPORTS_END
