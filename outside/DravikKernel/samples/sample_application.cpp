// The bundled sample add-on: it shows the least an add-on does, registering its commands while
// it runs and taking it back when it stops, and, when the shell lets it make its tools, giving
// that command an icon, a tip, an entry in the ribbon's system menu, a tool bar and a tab. Two
// more commands let the person choose a command (told in a message bar) and open the print page
// of the backstage. Built again as
// test add-ons: one that refuses the program's exit (DV_SAMPLE_REFUSES_EXIT), one that opens files of a
// format of its own (DV_SAMPLE_OPENS_FILES), throwing for one it calls broken.
#include "DravikKernel/ApplicationCommand.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/PaneForm.h"
#ifdef DV_SAMPLE_OPENS_FILES
#include "DravikKernel/DocumentManager.h"

#include <stdexcept>
#include <string>
#endif

#include "pal/visibility.h"
#include "win/controls/message_box.h"
#include "win/types.h"
#include "win/user.h"

#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kHelloCommand = 64001;
constexpr const wchar_t* kKey = L"{5A3F0C2E-7B1D-4E8A-9C6F-2D4B8E1A7C30}";
constexpr const char kHelloIcon[] =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">)"
    R"(<circle cx="8" cy="8" r="7" fill="#2e7d32"/><path d="M5 4v8M11 4v8M5 8h6" stroke="#fff")"
    R"( stroke-width="2" fill="none"/></svg>)";

constexpr const char kFormIcon[] =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">)"
    R"(<rect x="1.5" y="1.5" width="13" height="13" fill="#fff" stroke="#1565c0"/>)"
    R"(<path d="M4 5h8M4 8h8M4 11h5" stroke="#1565c0" stroke-width="1.5"/></svg>)";

int SayHello(std::int64_t) {
    DVMessageBox::Show(L"Hello from the sample add-on.", MB_OK);
    return 0;
}

constexpr int kFormCommand = 64002;
constexpr int kChooseCommand = 64003;
constexpr int kPrintCommand = 64004;

constexpr const char kChooseIcon[] =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">)"
    R"(<circle cx="6.5" cy="6.5" r="4.5" fill="none" stroke="#6a1b9a" stroke-width="2"/>)"
    R"(<path d="M10 10l4.5 4.5" stroke="#6a1b9a" stroke-width="2.5"/></svg>)";
constexpr const char kPrintIcon[] =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">)"
    R"(<rect x="4" y="1.5" width="8" height="5" fill="#fff" stroke="#37474f"/>)"
    R"(<rect x="1.5" y="6" width="13" height="6" rx="1" fill="#607d8b"/>)"
    R"(<rect x="4" y="10" width="8" height="4.5" fill="#fff" stroke="#37474f"/></svg>)";

// The person chooses a command; the sample tells which in a message bar of the main frame.
int ChooseCommand(std::int64_t) {
    DravikServerAppProxy* shell = DravikServerAppProxy::Instance();
    if (shell == nullptr)
        return 0;
    const std::optional<UINT> chosen = shell->SelectCommandId(nullptr);
    if (!chosen)
        return 0;
    std::wstring name = shell->GetCommandName(*chosen);
    if (name.empty())
        if (const IApplicationCommand* command = shell->GetApplicationCommand(*chosen))
            name = DVCommandContainer::Instance().GetCommandName(command->GetInternalID()).value_or(L"");
    if (name.empty())
        name = std::to_wstring(*chosen);
    shell->ShowMessageBar(0, L"Sample add-on", L"You chose the command " + name + L".", *chosen);
    return 0;
}

// The print page of the backstage for the active document.
int ShowPrintPage(std::int64_t) {
    DravikServerAppProxy* shell = DravikServerAppProxy::Instance();
    if (shell != nullptr && !shell->ShowRibbonBackstagePrintPage(nullptr, shell->GetActiveDocument()))
        DVMessageBox::Show(L"The print page opens from the ribbon.", MB_OK);
    return 0;
}

// The sample's form: one line of text, shown in the shell's form pane.
class SampleForm : public DVPaneForm {
public:
    HWND GetFormWindow() const override {
        if (window_ == nullptr)
            window_ = ::CreateWindowExW(0, L"STATIC", L"The sample add-on's form.", WS_POPUP, 0, 0, 260, 120,
                                        nullptr, nullptr, nullptr, nullptr);
        return window_;
    }
    std::wstring GetFormTitle() const override { return L"Sample form"; }
    SIZE GetFormMinSize() const override { return {260, 120}; }

private:
    mutable HWND window_ = nullptr;
};

SampleForm& Form() {
    static SampleForm form;
    return form;
}

int ShowForm(std::int64_t) {
    if (DravikServerAppProxy* shell = DravikServerAppProxy::Instance())
        shell->AttachFormPane(&Form());
    return 0;
}

// The sample's own command, in the block the shell keeps for add-ons: the shell hands it back
// to the add-on, which runs it itself.
constexpr unsigned kGreetCommand = 15000;

// A command of the sample: the kernel's command of its own number, which runs it.
void RegisterKernelCommand(int internalId, const wchar_t* name, DVSystemCommand::RunFunction run) {
    GlobalContainer::Instance().RegisterCmd(internalId, name, internalId, {});
    DVCommandContainer::Instance().RegisterCommand(new DVSystemCommand(internalId, name, run, nullptr, {}),
                                                   internalId);
}

// The same command as the shell's application command; 0 when the shell took none.
UINT RegisterSampleCommand(DravikServerAppProxy& shell, int internalId, const CommandTooltipInfo& tip) {
    return shell.RegisterAppCommand(std::make_unique<CDVAppCommand>(L"Sample", internalId, false), 0, nullptr,
                                    nullptr, &tip);
}

} // namespace

DV_ENTRY_POINT BOOL DravikApplicationStart() {
    GlobalContainer::Instance().RegisterCmd(kHelloCommand, L"SampleApplication.Hello", kHelloCommand, {});
    return TRUE;
}

DV_ENTRY_POINT BOOL DravikApplicationCanExit() {
#ifdef DV_SAMPLE_REFUSES_EXIT
    return FALSE;
#else
    return TRUE;
#endif
}

DV_ENTRY_POINT void DravikApplicationCreateTools() {
    RegisterKernelCommand(kHelloCommand, L"SampleApplication.Hello", &SayHello);
    RegisterKernelCommand(kFormCommand, L"SampleApplication.Form", &ShowForm);
    RegisterKernelCommand(kChooseCommand, L"SampleApplication.Choose", &ChooseCommand);
    RegisterKernelCommand(kPrintCommand, L"SampleApplication.Print", &ShowPrintPage);
    DravikServerAppProxy* shell = DravikServerAppProxy::Instance();
    if (shell == nullptr)
        return;
    const UINT hello = RegisterSampleCommand(*shell, kHelloCommand,
                                             {L"Say hello", L"Greets you from the sample add-on", L""});
    const UINT form =
        RegisterSampleCommand(*shell, kFormCommand, {L"Sample form", L"Shows the sample add-on's form", L""});
    const UINT choose = RegisterSampleCommand(
        *shell, kChooseCommand, {L"Choose a command", L"Lets you choose a command and tells which", L""});
    const UINT print = RegisterSampleCommand(*shell, kPrintCommand,
                                             {L"Print page", L"Opens the print page of the backstage", L""});
    if (hello == 0 || form == 0 || choose == 0 || print == 0)
        return;
    shell->SetCommandIcon(hello, kHelloIcon, std::strlen(kHelloIcon));
    shell->SetCommandIcon(form, kFormIcon, std::strlen(kFormIcon));
    shell->SetCommandIcon(choose, kChooseIcon, std::strlen(kChooseIcon));
    shell->SetCommandIcon(print, kPrintIcon, std::strlen(kPrintIcon));
    shell->InsertRibbonSystemMenuItem(hello, L"Greets you from the sample add-on\nSay hello", 0, false);
    shell->InsertRibbonSystemMenuItem(kGreetCommand, L"Greets you by the add-on's own command\nGreet", hello,
                                      true);
    const UINT buttons[] = {hello, form, choose, print};
    shell->CreateCustomToolbar(kKey, L"Sample", std::vector<UINT>(std::begin(buttons), std::end(buttons)),
                               true);
    shell->AddToolbarTab(L"Sample", kKey, L"Sample", 0, 0, buttons, static_cast<int>(std::size(buttons)));
}

DV_ENTRY_POINT BOOL DravikApplicationCommandRange(unsigned* first, unsigned* last) {
    *first = *last = kGreetCommand;
    return TRUE;
}

DV_ENTRY_POINT void DravikApplicationOnCommand(CDvw32Doc*, unsigned id) {
    if (id == kGreetCommand)
        DVMessageBox::Show(L"The sample add-on ran its own command.", MB_OK);
}

DV_ENTRY_POINT void DravikApplicationStop() {
    GlobalContainer::Instance().UnregisterCmd(kHelloCommand);
    GlobalContainer::Instance().UnregisterCmd(kFormCommand);
    GlobalContainer::Instance().UnregisterCmd(kChooseCommand);
    GlobalContainer::Instance().UnregisterCmd(kPrintCommand);
}

#ifdef DV_SAMPLE_OPENS_FILES
// Its own format, ".sample": a drawing titled by the file's name.
DV_ENTRY_POINT BOOL DravikApplicationOpenFile(const wchar_t* path) {
    const std::wstring file = path;
    const std::wstring extension = L".sample";
    if (file.size() <= extension.size() ||
        file.compare(file.size() - extension.size(), extension.size(), extension) != 0)
        return FALSE;
    // A file it cannot read is a failure it reports by throwing, as add-ons written in C++ do.
    const std::wstring broken = L"broken.sample";
    if (file.size() >= broken.size() && file.compare(file.size() - broken.size(), broken.size(), broken) == 0)
        throw std::runtime_error("The file is damaged");
    return Dravik::DocumentManager::Instance().CreateDocument(Dravik::DocumentKind::Drawing, file) != nullptr;
}
#endif
