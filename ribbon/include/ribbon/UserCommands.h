// Commands a person defines without programming (run a macro, start a program, open a file ...):
// each carries an id of 37000-37999, and the application keeps one collection of them for the
// whole process. The frame tools run them by id and enable their controls while the id is held.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <map>
#include <memory>
#include <string>

DV_EXPORTS_BEGIN

class CDVUserCommand {
public:
    virtual ~CDVUserCommand() = default;

    // Runs the command; true on success.
    virtual bool Execute() = 0;
    // The kind's type code (1-7).
    virtual int GetType() const = 0;
    // The line of the user-tools list.
    virtual std::wstring GetDescription() const = 0;

    std::wstring Prompt;
    std::wstring Tooltip;
    std::wstring Icon;
    UINT id = 0; // 0 until the collection holds the command
};

class CDVUserCommands {
public:
    static constexpr UINT CM_USER_COMMAND_FIRST = 37000;
    static constexpr UINT CM_USER_COMMAND_LAST = 37999;

    // Takes the command under its own id when that is free and in the range, else under the
    // first free id from 37000; 0 (the command stays the caller's) for a null command or when
    // every id is taken.
    UINT AddUserCommand(std::unique_ptr<CDVUserCommand>& command);
    CDVUserCommand* Find(UINT id) const;
    // Deletes the command of the id; false when there is none.
    bool Remove(UINT id);
    void RemoveAll() { m_commands.clear(); }
    const std::map<UINT, std::unique_ptr<CDVUserCommand>>& GetCommands() const { return m_commands; }

private:
    std::map<UINT, std::unique_ptr<CDVUserCommand>> m_commands;
};

DV_EXPORTS_END
