// The kernel's commands: command objects that carry the shell's run and update functions, and
// the command container, the one registry of command ids with their names and flags. A bare id
// (registered without an object) is known by name and flags and routed elsewhere; the session's
// GlobalContainer::RegisterCmd writes into the same registry.
#pragma once

#include "DravikKernel/CommandFlags.h"
#include "pal/visibility.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

DV_EXPORTS_BEGIN

class CCmdUI;
class CDvw32Doc;
struct AFX_CMDHANDLERINFO;

class DVCommand {
public:
    virtual ~DVCommand() = default;
    DVCommand(const DVCommand&) = delete;
    DVCommand& operator=(const DVCommand&) = delete;

    unsigned GetId() const { return id_; }
    const std::wstring& GetName() const { return name_; }
    DVCommandFlags GetFlags() const { return flags_; }

    virtual bool isSystemCommand() const = 0;
    // Non-zero when the command was handled. A document command is not run without a document
    // and answers 0; a system command is given `argument`.
    virtual int Run(CDvw32Doc* document, std::int64_t argument) = 0;
    // False when the command has no update function (or a document command has no document):
    // the item keeps the state the caller gave it.
    virtual bool UpdateUI(CDvw32Doc* document, CCmdUI* cmdUI) = 0;

protected:
    DVCommand(unsigned id, std::wstring_view name, DVCommandFlags flags)
        : id_(id), name_(name), flags_(flags) {}

private:
    unsigned id_;
    std::wstring name_;
    DVCommandFlags flags_;
};

// A command that acts on the active document.
class DVDocumentCommand : public DVCommand {
public:
    using RunFunction = int (*)(CDvw32Doc*);
    using UpdateFunction = void (*)(CDvw32Doc*, CCmdUI*);

    DVDocumentCommand(unsigned id, std::wstring_view name, RunFunction run, UpdateFunction update,
                      DVCommandFlags flags)
        : DVCommand(id, name, flags), run_(run), update_(update) {}

    bool isSystemCommand() const override { return false; }
    int Run(CDvw32Doc* document, std::int64_t argument) override;
    bool UpdateUI(CDvw32Doc* document, CCmdUI* cmdUI) override;

    RunFunction GetRunFunction() const { return run_; }
    UpdateFunction GetUpdateFunction() const { return update_; }

private:
    RunFunction run_;
    UpdateFunction update_;
};

// A command that needs no document.
class DVSystemCommand : public DVCommand {
public:
    using RunFunction = int (*)(std::int64_t);
    using UpdateFunction = void (*)(CCmdUI*);

    DVSystemCommand(unsigned id, std::wstring_view name, RunFunction run, UpdateFunction update,
                    DVCommandFlags flags)
        : DVCommand(id, name, flags), run_(run), update_(update) {}

    bool isSystemCommand() const override { return true; }
    int Run(CDvw32Doc* document, std::int64_t argument) override;
    bool UpdateUI(CDvw32Doc* document, CCmdUI* cmdUI) override;

    RunFunction GetRunFunction() const { return run_; }
    UpdateFunction GetUpdateFunction() const { return update_; }

private:
    RunFunction run_;
    UpdateFunction update_;
};

class DVCommandContainer {
public:
    // Command ids are WM_COMMAND ids: 1 to 65535. Registrations outside it are refused.
    static constexpr unsigned kLastCommandId = 0xFFFF;

    static DVCommandContainer& Instance();

    // Takes ownership of `command` in every case. Refused (false, and the object deleted) for a
    // null object, an id outside the command space, or an id that already has a command object;
    // over a bare id the object takes its place.
    bool RegisterCommand(DVCommand* command, unsigned id);
    // A bare id with a name and flags; registering an id again replaces its name and flags
    // (a command object of the id stays). False for an id outside the command space.
    bool RegisterCommand(unsigned id, std::wstring_view name, DVCommandFlags flags);
    // An inclusive block of bare ids without names; ids already registered keep their entry.
    // Nothing for first > last; the block is cut at the end of the command space.
    void RegisterCommands(unsigned first, unsigned last, DVCommandFlags flags);

    bool IsRegistered(unsigned id) const;
    // The command object of the id, or null for a bare or unknown id. The object lives until
    // its id is unregistered.
    DVCommand* GetCommand(unsigned id) const;
    // The registered name of an id (empty for an id without a name), or none for an unknown id.
    std::optional<std::wstring> GetCommandName(unsigned id) const;
    // The id of a command name. Names are compared without case, as macros and customisation
    // files may spell them; the empty name names nothing. When two ids carry the name, the
    // lower one.
    std::optional<unsigned> GetCommandId(std::wstring_view name) const;
    // The flags of an id; none set for an unknown id.
    DVCommandFlags GetCommandFlags(unsigned id) const;
    // Every registered id, in increasing order.
    std::vector<unsigned> GetCommandIds() const;

    // Runs the command object of the id; none when the id has no command object.
    std::optional<int> RunCommand(unsigned id, CDvw32Doc* document, std::int64_t argument);
    // Updates the item through the command object of the id; false when nothing updated it.
    bool UpdateCommandUI(unsigned id, CDvw32Doc* document, CCmdUI* cmdUI);

    // The library's part of a frame's command road, for a command (code 0) or an update
    // request (code -1, `extra` the CCmdUI) of an id that has a command object; false for any
    // other id, which goes on along the road. A command runs with the active document, a
    // document command only when there is one; once run it counts as handled whatever it
    // answered, so that nobody further along runs it again. An update without an update
    // function enables the item; a document command without a document disables it. With
    // `handlerInfo` a command is only asked whether it would run.
    bool OnCmdMsg(unsigned id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo,
                  CDvw32Doc* activeDocument);

private:
    DVCommandContainer() = default;
};

DV_EXPORTS_END
