// The critical-error report, the application state flags and restart. A report made on the
// main thread waits in a record for the idle cycle to offer it in a message bar; one made on
// another thread stops the main thread at its next message, shows the report and ends the
// process.
#include "CriticalErrorRecord.h"

#include "DVDiagnostics/DVLog.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikUI/MessageBar.h"
#include "win/base.h"

#include <cwchar>
#include <string>

namespace {

constexpr int kCriticalErrorIcon = 299;
constexpr UINT kSendReport = 0;
constexpr UINT kViewReport = 1;
constexpr UINT kShowReportFiles = 2;
// How long a report made off the main thread waits for the main thread to stop.
constexpr DWORD kStopWaitMs = 10000;
// How long a restarted copy waits for the process that started it to end.
constexpr DWORD kRestartWaitMs = 60000;
constexpr const wchar_t* kRestartingProcess = L"DV_RESTARTED_FROM";

// The part of a Windows command line after the program: the first argument skipped by the
// rules that read it (quoted, or up to a blank), then the blanks after it.
std::wstring argumentsOf(const wchar_t* line) {
    if (line == nullptr)
        return {};
    const wchar_t* p = line;
    if (*p == L'"') {
        ++p;
        while (*p != L'\0' && *p != L'"')
            ++p;
        if (*p == L'"')
            ++p;
    } else {
        while (*p != L'\0' && *p != L' ' && *p != L'\t')
            ++p;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    return p;
}

void hideWithChildren(HWND window) {
    if (window == nullptr)
        return;
    if (IsWindowVisible(window))
        ShowWindow(window, SW_HIDE);
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child))
            hideWithChildren(child);
}

// Starts the program with a command line; the new copy waits for this process to end before it
// reads anything this one may still save. False (the last error kept) when it did not start.
bool startCopy(const std::wstring& program, std::wstring commandLine, const STARTUPINFOW* startup,
               DWORD& error, DWORD& pid) {
    const std::wstring self = std::to_wstring(GetCurrentProcessId());
    SetEnvironmentVariableW(kRestartingProcess, self.c_str());
    STARTUPINFOW info{};
    info.cb = sizeof info;
    if (startup != nullptr)
        info = *startup;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(program.c_str(), commandLine.empty() ? nullptr : commandLine.data(),
                                        nullptr, nullptr, FALSE, 0, nullptr, nullptr, &info, &process);
    error = started ? 0 : GetLastError();
    pid = started ? process.dwProcessId : 0;
    SetEnvironmentVariableW(kRestartingProcess, nullptr);
    if (process.hProcess != nullptr) {
        if (started)
            AllowSetForegroundWindow(process.dwProcessId);
        CloseHandle(process.hProcess);
    }
    if (process.hThread != nullptr)
        CloseHandle(process.hThread);
    return started != FALSE;
}

} // namespace

// State flags ------------------------------------------------------------------------------

void CDvw32App::SetApplicationState(std::uint8_t mask) {
    if ((mask & kStateSafeToExit) != 0 && !HasApplicationState(kStateSafeToExit) &&
        GetCurrentThreadId() == m_mainThreadId) {
        m_safeToExitFrames.clear();
        ForEachMainFrame([&](CMainFrame* frame) { m_safeToExitFrames.push_back(frame->m_hWnd); });
        m_safeToExitDocuments = DocumentManager::Instance().GetDocuments();
    }
    m_applicationState |= mask;
}

// Critical-error report --------------------------------------------------------------------

void CDvw32App::ReportCriticalError(const std::wstring& text) {
    std::unique_lock lock(m_appMutex);
    if (m_criticalError)
        return; // the first report wins
    if (GetCurrentThreadId() == m_mainThreadId) {
        m_criticalError = std::make_unique<CriticalErrorRecord>();
        m_criticalError->text = text;
        return;
    }
    lock.unlock();
    // The main thread is not suspended wherever it stands (it may hold the heap's lock, which
    // the dialog below needs): it stops at its next message and waits there for the end.
    HANDLE stopped = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_mainStopped = stopped;
    m_stopRequested = true;
    PostThreadMessageW(m_mainThreadId, WM_NULL, 0, 0);
    if (WaitForSingleObject(stopped, kStopWaitMs) != WAIT_OBJECT_0)
        DVLog_Write(DVLogWarning, "The main thread did not stop for the critical error; reporting anyway");
    DVLog_Write(DVLogFailure, "Critical error off the main thread: %ls", text.c_str());
    GenerateDumpFileAppContext context;
    context.ShowErrorDialog(text);
    PrepareRestart();
    TerminateProcess(GetCurrentProcess(), 1);
}

void CDvw32App::StopForCriticalError() {
    if (GetCurrentThreadId() != m_mainThreadId)
        return;
    if (HANDLE stopped = m_mainStopped.load())
        SetEvent(stopped);
    // The reporting thread ends the process; nothing here touches the documents meanwhile.
    for (;;)
        Sleep(INFINITE);
}

bool CDvw32App::HasPendingCriticalError() const {
    std::lock_guard lock(m_appMutex);
    return m_criticalError != nullptr;
}

unsigned CDvw32App::GetCriticalErrorBarId() const {
    std::lock_guard lock(m_appMutex);
    return m_criticalError ? m_criticalError->barId : 0;
}

void CDvw32App::ShowPendingCriticalErrorBar() {
    std::lock_guard lock(m_appMutex);
    if (!m_criticalError || m_criticalError->barId != 0)
        return;
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr)
        return;
    using Dravik::I18n::Translate;
    const std::vector<Dravik::UI::MessageBar::Button> buttons = {
        {kSendReport, Translate(L"prompts.critical_error.send_report"), {}},
        {kViewReport, Translate(L"prompts.critical_error.view_report"), {}},
        {kShowReportFiles, Translate(L"prompts.critical_error.show_report_files"), {}},
        {SC_CLOSE, {}, {}},
    };
    m_criticalError->barId = frame->ShowMessageBar(
        kCriticalErrorIcon, {}, Translate(L"prompts.critical_error"), 0, buttons,
        [this](Dravik::UI::MessageBar&, UINT id) { OnCriticalErrorBarButton(id); }, false);
}

void CDvw32App::OnCriticalErrorBarButton(UINT buttonId) {
    std::unique_lock lock(m_appMutex);
    CMainFrame* frame = GetMainFrame();
    const auto closeBar = [&](unsigned id) {
        if (frame != nullptr && id != 0)
            frame->CloseMessageBar(id);
    };
    if (!m_criticalError) {
        return;
    }
    if (buttonId == SC_CLOSE) {
        closeBar(m_criticalError->barId);
        m_criticalError.reset();
        return;
    }
    ReleaseCapture();
    CriticalErrorRecord& record = *m_criticalError;
    if (record.reportPath.empty())
        record.context.GenerateReportFiles(record.text, record.reportPath, record.reportFolder,
                                           record.logCopy);
    switch (buttonId) {
    case kSendReport:
        record.context.SendReport(record.reportPath);
        break;
    case kViewReport:
        record.context.ShowReport(record.reportPath);
        break;
    case kShowReportFiles:
        record.context.ShowReportFiles(record.reportFolder);
        break;
    default:
        break;
    }
}

// Restart ----------------------------------------------------------------------------------

std::wstring CDvw32App::GetRestartCommandLine() const {
    const std::wstring program = Dravik::GetProcessFileName();
    if (program.empty())
        return {};
    std::wstring line = Dravik::QuoteCommandLineArgument(program);
    const std::wstring arguments = argumentsOf(GetCommandLineW());
    if (!arguments.empty())
        line += L" " + arguments;
    return line;
}

void CDvw32App::PrepareRestart() {
    if (!HasApplicationState(kStateErrorRestore))
        return;
    WriteProfileInt(L"ErrorRestore", L"Restart", 1);
    const std::wstring program = Dravik::GetProcessFileName();
    if (program.empty())
        return;
    // The same command line as a restart on request: a configuration named with "ini:"
    // survives the crash too.
    DWORD error = 0, pid = 0;
    if (!startCopy(program, GetRestartCommandLine(), nullptr, error, pid))
        return;
    // Windows belong to the main thread; a report off it ends the process at once anyway.
    if (GetCurrentThreadId() == m_mainThreadId && m_pMainWnd != nullptr && ::IsWindow(m_pMainWnd->m_hWnd))
        hideWithChildren(m_pMainWnd->m_hWnd);
}

void CDvw32App::Restart(bool keepState) {
    const std::wstring program = Dravik::GetProcessFileName();
    if (program.empty())
        return;
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    DWORD error = 0, pid = 0;
    if (!startCopy(program, GetRestartCommandLine(), &startup, error, pid)) {
        DVLog_Write(DVLogOptionalFailure, "Failed to start \"%ls\": 0x%08x", program.c_str(), error);
        return;
    }
    // The new copy waits for this process to end, so everything saved below is whole when it reads it.
    DVLog_Write(DVLogProgress, "Restarted as PID %u", static_cast<unsigned>(pid));
    SetSaveAtExit(keepState);
    ExitInstance();
}

void CDvw32App::WaitForRestartingProcess() {
    wchar_t value[32] = {};
    if (GetEnvironmentVariableW(kRestartingProcess, value, 32) == 0)
        return;
    SetEnvironmentVariableW(kRestartingProcess, nullptr);
    const DWORD pid = static_cast<DWORD>(std::wcstoul(value, nullptr, 10));
    if (pid == 0 || pid == GetCurrentProcessId())
        return;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (process == nullptr)
        return; // already gone
    if (WaitForSingleObject(process, kRestartWaitMs) != WAIT_OBJECT_0)
        DVLog_Write(DVLogWarning, "The restarting process %u did not end in time",
                    static_cast<unsigned>(pid));
    CloseHandle(process);
}
