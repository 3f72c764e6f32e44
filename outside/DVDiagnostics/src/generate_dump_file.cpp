#include "DVDiagnostics/GenerateDumpFile.h"

#include "DVDiagnostics/CrashGuard.h"
#include "DVDiagnostics/DVLog.h"
#include "pal/atomic_file.h"
#include "pal/path.h"
#include "pal/text.h"
#include "win/system/shell.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>

namespace fs = std::filesystem;

namespace {

constexpr long kExecuteHandler = 1;
constexpr long kContinueSearch = 0;

std::string stamp() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

constexpr size_t kLogTailLines = 40;

// The last lines of the log, read under its lock so that no half-written line is taken.
std::string logTail(const fs::path& log) {
    std::string text;
    if (!DVLog_Lock())
        return text;
    {
        std::ifstream in(log, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    DVLog_Unlock();
    size_t start = text.size();
    for (size_t lines = 0; start > 0 && lines <= kLogTailLines;) {
        --start;
        if (text[start] == '\n' && start + 1 < text.size())
            ++lines;
    }
    if (start > 0)
        text.erase(0, start + 1);
    return text;
}

std::mutex afterFaultMutex;
std::function<void()> afterFaultAction;

// Once the person answered after a fault of the processor: from here on the program's own
// state, and whatever locks the fault left held, may stop it, so the program's deadline runs.
void afterFault() {
    std::function<void()> action;
    {
        std::lock_guard lock(afterFaultMutex);
        action = afterFaultAction;
    }
    if (action)
        action();
}

} // namespace

void dvdiag::SetAfterFault(std::function<void()> action) {
    std::lock_guard lock(afterFaultMutex);
    afterFaultAction = std::move(action);
}

std::wstring GenerateDumpFileContextBase::GetBuildDate() const {
    return pal::text::fromUtf8(__DATE__);
}

bool GenerateDumpFileContextBase::GenerateReportFiles(const std::wstring& text, std::wstring& reportPath,
                                                      std::wstring& folder, std::wstring& logCopy) {
    reportPath.clear();
    folder.clear();
    logCopy.clear();
    const fs::path base = pal::folders::localAppData() / pal::text::toUtf8(GetCompanyName()) /
                          pal::text::toUtf8(GetProductName()) / "Reports";
    fs::path dir = base / stamp();
    std::error_code ec;
    for (int n = 2; fs::exists(dir, ec); ++n) // two reports in one second
        dir = base / (stamp() + "-" + std::to_string(n));
    fs::create_directories(dir, ec);

    std::wstring report;
    const auto line = [&](const wchar_t* label, const std::wstring& value) {
        if (!value.empty())
            report += std::wstring(label) + L": " + value + L"\n";
    };
    line(L"Product", GetProductName());
    line(L"Build date", GetBuildDate());
    line(L"Company", GetCompanyName());
    line(L"Active document", GetActiveDocumentPath());
    line(L"PDM", GetPdmInformation());
    line(L"Localisation", GetLocalizationInformation());
    line(L"Report address", GetReportAddress());
    report += L"\n" + text + L"\n";
    if (const std::wstring extra = GetReportText(); !extra.empty())
        report += L"\n" + extra + L"\n";
    const fs::path log = pal::path::toNative(DVLog_GetFileName());
    std::string bytes = pal::text::toUtf8(report);
    if (fs::exists(log, ec)) {
        const std::string tail = logTail(log);
        if (!tail.empty())
            bytes += "\nThe log's last lines:\n" + tail;
    }
    const fs::path file = dir / "report.txt";
    if (!pal::writeFileAtomically(file, bytes))
        return false;

    if (fs::exists(log, ec) &&
        fs::copy_file(log, dir / log.filename(), fs::copy_options::overwrite_existing, ec))
        logCopy = pal::path::fromNative(dir / log.filename());
    reportPath = pal::path::fromNative(file);
    folder = pal::path::fromNative(dir);
    return true;
}

namespace {

bool openWithShell(const std::wstring& target) {
    if (target.empty())
        return false;
    return reinterpret_cast<INT_PTR>(
               ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, 1 /* SW_SHOWNORMAL */)) > 32;
}

} // namespace

bool GenerateDumpFileContextBase::SendReport(const std::wstring& reportPath) {
    const std::wstring address = GetReportAddress();
    if (address.empty() || reportPath.empty()) {
        DVLog_Write(DVLogOptionalFailure, "The report cannot be sent: no report address");
        return false;
    }
    const std::wstring mail =
        L"mailto:" + address + L"?subject=" + GetProductName() + L"%20error%20report&attach=" + reportPath;
    return openWithShell(mail);
}

bool GenerateDumpFileContextBase::ShowReport(const std::wstring& reportPath) {
    return openWithShell(reportPath);
}

bool GenerateDumpFileContextBase::ShowReportFiles(const std::wstring& folder) {
    return openWithShell(folder);
}

int GenerateDumpFileContextBase::ShowErrorDialog(const std::wstring& text) {
    DVLog_Write(DVLogFailure, "Critical error: %s", pal::text::toUtf8(text).c_str());
    return kClose;
}

long GenerateDumpFileAndReportError(_EXCEPTION_POINTERS* exception, GenerateDumpFileContextBase* context) {
    if (!context)
        return kContinueSearch;
    if (context->HasErrorMark())
        return kExecuteHandler; // a fault inside the report: no second report
    context->SetErrorMark();
    DVLog_Write(DVLogFailure, "Unhandled exception: %s",
                exception != nullptr ? exception->description.c_str() : "(no record)");
    std::wstring report, folder, logCopy;
    std::wstring headline = L"The program met an error it cannot recover from.";
    if (exception != nullptr)
        headline += L"\n" + pal::text::fromUtf8(exception->description);
    std::wstring text = headline;
    if (exception != nullptr && !exception->frames.empty())
        text += L"\n\nBacktrace:\n" + pal::text::fromUtf8(dvdiag::DescribeFrames(exception->frames));
    if (!context->GenerateReportFiles(text, report, folder, logCopy))
        DVLog_Write(DVLogOptionalFailure, "Failed to write the error report");
    else
        DVLog_Write(DVLogFailure, "The error report is kept in \"%s\"", pal::text::toUtf8(folder).c_str());
    // The person is shown what happened and where the report is; the backtrace is the report's.
    const std::wstring shown = folder.empty() ? headline : headline + L"\n\nThe report is kept in " + folder;
    const int answer = context->ShowErrorDialog(shown);
    if (exception != nullptr && exception->signal != 0)
        afterFault();
    if (answer == GenerateDumpFileContextBase::kRestart) {
        context->SetErrorRestoreFlag();
        // The copies are listed for the copy that restarts, so they are kept before it starts.
        context->SaveDocuments();
        context->PrepareRestart();
    }
    context->SetSafeToExitFlag();
    context->FreeResources();
    return kExecuteHandler;
}
