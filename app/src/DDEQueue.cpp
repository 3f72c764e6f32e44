#include "app/Dvw32App.h"

#include <utility>

void CDvw32App::QueueDDECommand(const CString& command) {
    if (!command.IsEmpty())
        m_ddeQueue.push_back(command);
}

BOOL CDvw32App::OnDDECommand(LPWSTR lpszCommand) {
    if (!m_ddeReady) {
        // Too early to open anything: kept exactly as it came, to run once start-up is ready.
        m_ddeQueue.emplace_back(lpszCommand != nullptr ? lpszCommand : L"");
        return TRUE;
    }
    // The shell's request decides nothing about how the main window is shown.
    const int showCommand = m_nCmdShow;
    m_nCmdShow = -1;
    const BOOL result = CWinApp::OnDDECommand(lpszCommand);
    m_nCmdShow = showCommand;
    return result;
}

void CDvw32App::ProcessQueuedDDECommands() {
    if (m_ddeQueue.empty() || !m_ddeReady)
        return;
    // Taken out whole first: a command may queue another, which then waits for the next round.
    std::deque<CString> commands;
    commands.swap(m_ddeQueue);
    for (CString& command : commands)
        OnDDECommand(command.GetBuffer());
}
