#include "DVDiagnostics/GenerateDumpFile.h"

#include "DVDiagnostics/DVLog.h"
#include "pal/atomic_file.h"
#include "pal/path.h"
#include "pal/text.h"

#include <chrono>
#include <ctime>
#include <filesystem>

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

} // namespace

std::wstring GenerateDumpFileContextBase::GetBuildDate() const {
    return pal::text::fromUtf8(__DATE__);
}

bool GenerateDumpFileContextBase::GenerateReportFiles(const std::wstring& text, std::wstring& reportPath,
                                                      std::wstring& folder, std::wstring& logCopy) {
    reportPath.clear();
    folder.clear();
    logCopy.clear();
    const fs::path base = pal::folders::localAppData() / pal::path::toNative(GetCompanyName()) /
                          pal::path::toNative(GetProductName()) / "Reports";
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
    const fs::path file = dir / "report.txt";
    if (!pal::writeFileAtomically(file, pal::text::toUtf8(report)))
        return false;

    const fs::path log = pal::path::toNative(DVLog_GetFileName());
    if (fs::exists(log, ec) &&
        fs::copy_file(log, dir / log.filename(), fs::copy_options::overwrite_existing, ec))
        logCopy = pal::path::fromNative(dir / log.filename());
    reportPath = pal::path::fromNative(file);
    folder = pal::path::fromNative(dir);
    return true;
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
    DVLog_Write(DVLogFailure, "Unhandled exception (record %p)", static_cast<void*>(exception));
    context->SaveDocuments();
    std::wstring report, folder, logCopy;
    const std::wstring text = L"The program met an error it cannot recover from.";
    if (!context->GenerateReportFiles(text, report, folder, logCopy))
        DVLog_Write(DVLogOptionalFailure, "Failed to write the error report");
    if (context->ShowErrorDialog(text) == GenerateDumpFileContextBase::kRestart) {
        context->SetErrorRestoreFlag();
        context->PrepareRestart();
    }
    context->SetSafeToExitFlag();
    context->FreeResources();
    return kExecuteHandler;
}
