// The kernel's faces of the 2D edition modules that the shell calls, and the kernel's side of
// the status line. A proxy answers only while its module is attached: each module attaches
// itself when it initialises and detaches when it shuts down, so an edition without the module
// has no proxy (Instance() is null) and the shell skips the call.
#pragma once

#include "pal/visibility.h"

#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CDvw32Doc;

// A file format the kernel imports or exports: its name and its file extension.
struct ImportExportItem {
    std::wstring description;
    std::wstring extension;
};

namespace NativeSettings {
struct Settings;
}

// The 2D annotation module: opens documents for the shell and keeps its own state with the
// settings profile.
class AnnotateModuleProxy {
public:
    static AnnotateModuleProxy* Instance();
    static void Attach();
    static void Detach();

    // Opens a document file; null when the module cannot (the documents are the kernel's).
    CDvw32Doc* OpenFile(const wchar_t* path, int mode, int page, void* options);
    // The settings changed; the module takes the new ones.
    void OnChangeSettings(const NativeSettings::Settings& settings);
    // The module's state below a registry key path of the profile.
    bool LoadState(const wchar_t* keyPath);
    bool SaveState(const wchar_t* keyPath);
    // Opens a page of the module's settings by name ("Orsa").
    void OpenSettingsPage(const wchar_t* name);

private:
    AnnotateModuleProxy() = default;
};

// The 2D drawing-tools module: offered every command of a main frame, whether or not a
// document is active.
class LTModuleProxy {
public:
    static LTModuleProxy* Instance();
    static void Attach();
    static void Detach();

    // True when the module handled the command.
    bool OnCommand(unsigned id, CDvw32Doc* document);
    // The formats the document can be exported to; none without a document.
    std::vector<ImportExportItem> GetExportFormats(CDvw32Doc* document);
    // Exports the document to the format at the index of GetExportFormats, into the PDM system
    // with `toOrsa`; false for an index out of range or no document.
    bool Export(CDvw32Doc* document, bool toOrsa, int formatIndex);

private:
    LTModuleProxy() = default;
};

// The status line as the kernel drives it; the shell's status bar implements it. The
// operations are in the order the kernel calls them by.
class StatusLineProxy {
public:
    virtual ~StatusLineProxy() = default;
    virtual std::wstring GetPrompt() const = 0;
    virtual void SetMessage(const wchar_t* text) = 0;
    virtual void SetPrompt(const wchar_t* text, bool redraw) = 0;
    virtual void SetCoordinateX(const wchar_t* text, bool prefixed) = 0;
    virtual void SetCoordinateY(const wchar_t* text, bool prefixed) = 0;
    virtual void SetInfoText(const wchar_t* text) = 0;
    virtual void SetBackgroundTaskText(const wchar_t* text) = 0;
    virtual bool IsProgressActive() const = 0;
    // True when this call opened the progress (the outermost level).
    virtual bool BeginProgress() = 0;
    virtual void SetStep(int step) = 0;
    virtual void SetRange(int maximum) = 0;
    virtual void StepIt() = 0;
    virtual void SetPos(int position) = 0;
    virtual bool EndProgress() = 0;
    virtual void SuspendUpdates(bool suspend) = 0;
    virtual int GetStep() const = 0;
    virtual int GetRange() const = 0;
    virtual int GetPos() const = 0;
    virtual bool BeginBackgroundProgress(bool marquee) = 0;
    virtual void SetBackgroundProgress(int percent) = 0;
    virtual bool EndBackgroundProgress() = 0;
};

DV_EXPORTS_END
