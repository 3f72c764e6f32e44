// The kernel's faces of the edition modules that the shell asks about: the 3D module, whose
// kind tells the 3D editions apart, and the 2D edit module. Each module attaches itself when
// it initialises and detaches when it shuts down.
#pragma once

#include "DravikKernel/DravikServerAppProxy.h"
#include "pal/visibility.h"
#include "win/types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CDvw32Doc;
struct DocInitParams;

// A profile the 3D module offers for a view; what it stands for is the module's.
class CDVProfile {
public:
    explicit CDVProfile(std::wstring name) : name_(std::move(name)) {}
    const std::wstring& GetName() const { return name_; }

private:
    std::wstring name_;
};

class CDVCom_Is3D {
public:
    enum Kind { SolidEdit = 1, Modelling = 2 };

    // The 3D module's instance, or null while no 3D module is attached.
    static CDVCom_Is3D* Instance();
    // The highest kind attached: 1 the solid-edit subset, 2 full modelling.
    int GetKind() const;

    // Several modules may attach with their kinds; each detaches its own.
    static void Attach(int kind);
    static void Detach(int kind);

    // Whether a person may start commands by typing their codes (the module allows it unless
    // it says otherwise).
    bool AllowsTypedCommands() const;
    // The module's view of a command now: a zero result with a non-zero state means the command
    // is not available; any other answer lets it run.
    int GetCommandState(UINT id, int& state) const;
    // The module's prompt text of a command; empty when it has none.
    std::wstring GetCommandString(UINT id) const;
    // The module's state below a registry key path of the profile (relative to the current
    // user's key); false when it could not be read or written.
    bool LoadState(const wchar_t* keyPath);
    bool SaveState(const wchar_t* keyPath);
    // The document the person works in now (null: none): once when it is stored, and once more
    // after the shell brought its panes, error window and system panel up to date.
    void SetActiveDocument(CDvw32Doc* document);
    void OnActiveDocumentSettled(CDvw32Doc* document);

    // A message the application relays to the 3D module (1339) with its two parameters.
    void OnApplicationMessage(WPARAM wParam, LPARAM lParam);
    // The module reads its data (materials, styles) from the current settings again, after a
    // profile was applied.
    void ReloadData();
    // The module's own windows are drawn again (a main frame asks with message 0x4F1).
    void RefreshWindows();
    // A main frame was disabled (a modal window of the shell is up) or enabled again: the
    // module's floating windows follow, so that none takes input under a modal window.
    void SetShellDisabled(bool disabled);

    // The module's two state queries, as the shell asks them (what they hold is the module's;
    // both answer no until the module says otherwise).
    bool QueryStateA() const;
    bool QueryStateB() const;
    // Whether the module asks for the drawing controls of the system panel (911, 907, 909) to
    // go back to their rest: its first state holds and its second does not. Without a 3D
    // module attached it never asks. The frame and the application read it here alike.
    static bool AsksToResetDrawingControls();

    // A file that is not a document of the kernel, offered to the module: the document it made
    // of it, or null when it does not read the format.
    CDvw32Doc* OpenForeignFile(const wchar_t* path);
    // A part document reads a file of another format into itself (CDvw32Doc::LoadFile): the
    // geometry is the module's to read. False when it does not read the file.
    bool ReadIntoPart(CDvw32Doc& part, const wchar_t* path, int mode);
    // The module's part of opening several files together: the options, the files, the PDM flags
    // word (1 read-only, 2 nomenclature data) and one bit per file that is open already (none:
    // null). False when the module refuses; the files then stay unopened.
    bool OpenFiles(const DocInitParams& options, const std::vector<std::wstring>& files, unsigned flags,
                   const std::vector<bool>* opened);

    // The profiles the module offers for a view (its object and number, CDVView): the profiles
    // and, at the same positions, their colour indexes (-1: none). Both empty for a view the
    // module knows nothing of.
    void GetProfiles(const void* viewObject, std::int32_t viewNumber,
                     std::vector<std::shared_ptr<const CDVProfile>>& profiles,
                     std::vector<std::int32_t>& colors) const;
    // Whether the module has profiles for the view's object (an empty list counts).
    bool HasProfiles(const void* viewObject) const;
    // The person chose a profile of the view by its name.
    void ApplyProfile(const void* viewObject, const std::wstring& name);

    // What the attached module declares.
    // The profiles of a view's object; the colours may be fewer than the names, as a module
    // may answer. Cleared with the module's state.
    static void SetViewProfiles(const void* viewObject, std::vector<std::wstring> names,
                                std::vector<std::int32_t> colors);
    static void SetForeignFileOpener(std::function<CDvw32Doc*(const std::wstring&)> opener);
    static void SetBatchOpenRefused(bool refused);
    static void SetPartReader(std::function<bool(CDvw32Doc&, const std::wstring&, int)> reader);
    static void SetTypedCommandsAllowed(bool allowed);
    static void SetStates(bool a, bool b);
    static void SetCommandAvailable(UINT id, bool available);
    // The module's exact answer for a command's state (its result and state), as a module may
    // give it; it takes the place of the available/not available answer.
    static void SetCommandStateAnswer(UINT id, int result, int state);
    static void SetCommandString(UINT id, std::wstring text);

private:
    CDVCom_Is3D() = default;
};

class EditModuleProxy : public ModuleProxy {
public:
    static EditModuleProxy& Instance();
    // Whether the 2D edit module is attached.
    bool IsLoaded() const override;

    static void Attach();
    static void Detach();

private:
    EditModuleProxy() = default;
};

// The kernel's edit boxes of a drawing's page.
class CDVBasicEditEx {
public:
    // The page shown changed: open edit boxes end their entry.
    static void ChangePage();
};

DV_EXPORTS_END
