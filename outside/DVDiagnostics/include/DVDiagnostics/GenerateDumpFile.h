// The crash report: what the program knows about itself when a fault reaches a guarded
// operation, the report files written from it, and the filter that guarded operations use.
//
// The library's rules for it:
// - A fault is reported once: the context's error mark is set by the first report, and a fault
//   met while the mark is set (a fault inside the report itself) is handled without another.
// - The report is a folder "Reports\<date-time>" in the product's local application data with
//   "report.txt" (the context's texts and the fault) written through the atomic writer, and a
//   copy of the diagnostics log when it exists.
// - The person is asked through ShowErrorDialog; the answer kRestart marks the documents for
//   recovery (SetErrorRestoreFlag), has the context keep them (SaveDocuments) and then lets it
//   prepare a restart. Either way the program may end without asking about modified documents
//   (SetSafeToExitFlag).
#pragma once

#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

struct _EXCEPTION_POINTERS;

class GenerateDumpFileContextBase {
public:
    // Answers of ShowErrorDialog.
    static constexpr int kClose = 0;
    static constexpr int kRestart = 1;

    virtual ~GenerateDumpFileContextBase() = default;

    virtual bool HasErrorMark() const { return m_errorMark; }
    virtual void SetErrorMark() { m_errorMark = true; }
    virtual void SetErrorRestoreFlag() {}
    virtual void SetSafeToExitFlag() {}
    virtual std::wstring GetProductName() const { return L"DRAVIK CAD"; }
    virtual std::wstring GetBuildDate() const;
    virtual std::wstring GetPdmInformation() const { return {}; }
    virtual std::wstring GetActiveDocumentPath() const { return {}; }
    virtual std::wstring GetLocalizationInformation() const { return {}; }
    virtual std::wstring GetCompanyName() const { return L"Dravik"; }
    virtual std::wstring GetReportAddress() const { return {}; }
    virtual std::wstring GetReportText() const { return {}; }
    // Keeps the documents for the restarted program: runs only after the person asked for a
    // restart, with the error-restore flag set. The base has none to keep.
    virtual void SaveDocuments() {}
    virtual void FreeResources() {}
    virtual void PrepareRestart() {}

    // Writes the report files for `text`. `reportPath` gets the report file, `folder` its folder
    // and `logCopy` the copied log (empty without a log). False when nothing could be written.
    bool GenerateReportFiles(const std::wstring& text, std::wstring& reportPath, std::wstring& folder,
                             std::wstring& logCopy);
    // What the critical-error bar's buttons do with written report files: mail the report to
    // the report address (false without one), open the report, open the folder of the files.
    virtual bool SendReport(const std::wstring& reportPath);
    virtual bool ShowReport(const std::wstring& reportPath);
    virtual bool ShowReportFiles(const std::wstring& folder);
    // Tells the person about the fault and answers kClose or kRestart. The base only logs the
    // text and answers kClose: showing a window is the kernel's context's.
    virtual int ShowErrorDialog(const std::wstring& text);

private:
    bool m_errorMark = false;
};

// The filter of a guarded operation: 1 (handle it) once the fault is reported, 0 (look further)
// without a context.
long GenerateDumpFileAndReportError(_EXCEPTION_POINTERS* exception, GenerateDumpFileContextBase* context);

DV_EXPORTS_END
