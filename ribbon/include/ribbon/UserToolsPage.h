// The dialog where a person manages the user commands: for now it lists them, one line each.
#pragma once

#include "DravikKernel/DravikDialog.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CDVUserCommands;

class CDVUserToolsPage : public CDravikDialog {
public:
    static constexpr UINT IDD = 1299;
    static constexpr UINT kCommandList = 43078;

    // `commands` may be null: the list is then empty.
    CDVUserToolsPage(CDVUserCommands* commands, CWnd* parent, UINT helpId);
    BOOL OnInitDialog() override;

private:
    CDVUserCommands* m_commands;
};

DV_EXPORTS_END
