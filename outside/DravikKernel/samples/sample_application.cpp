// The bundled sample add-on: it shows the least an add-on does, registering one command while
// it runs and taking it back when it stops, and, when the shell lets it make its tools, giving
// that command an icon, a tip, an entry in the ribbon's system menu, a tool bar and a tab. Built again as
// test add-ons: one that refuses the program's exit (DV_SAMPLE_REFUSES_EXIT), one that opens files of a
// format of its own (DV_SAMPLE_OPENS_FILES).
#include "DravikKernel/ApplicationCommand.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/KernelServices.h"
#ifdef DV_SAMPLE_OPENS_FILES
#include "DravikKernel/DocumentManager.h"

#include <string>
#endif

#include "pal/visibility.h"
#include "win/controls/message_box.h"
#include "win/types.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int kHelloCommand = 64001;
constexpr const wchar_t* kKey = L"{5A3F0C2E-7B1D-4E8A-9C6F-2D4B8E1A7C30}";
constexpr const char kHelloIcon[] =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">)"
    R"(<circle cx="8" cy="8" r="7" fill="#2e7d32"/><path d="M5 4v8M11 4v8M5 8h6" stroke="#fff")"
    R"( stroke-width="2" fill="none"/></svg>)";

int SayHello(std::int64_t) {
    DVMessageBox::Show(L"Hello from the sample add-on.", MB_OK);
    return 0;
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
    GlobalContainer::Instance().RegisterCmd(kHelloCommand, L"SampleApplication.Hello", kHelloCommand, {});
    DVCommandContainer::Instance().RegisterCommand(
        new DVSystemCommand(kHelloCommand, L"SampleApplication.Hello", &SayHello, nullptr, {}),
        kHelloCommand);
    DravikServerAppProxy* shell = DravikServerAppProxy::Instance();
    if (shell == nullptr)
        return;
    const CommandTooltipInfo tip{L"Say hello", L"Greets you from the sample add-on", L""};
    const UINT id = shell->RegisterAppCommand(
        std::make_unique<CDVAppCommand>(L"Sample", kHelloCommand, false), 0, nullptr, nullptr, &tip);
    if (id == 0)
        return;
    shell->SetCommandIcon(id, kHelloIcon, std::strlen(kHelloIcon));
    shell->InsertRibbonSystemMenuItem(id, L"Greets you from the sample add-on\nSay hello", 0, false);
    shell->CreateCustomToolbar(kKey, L"Sample", std::vector<UINT>{id}, true);
    shell->AddToolbarTab(L"Sample", kKey, L"Sample", 0, 0, &id, 1);
}

DV_ENTRY_POINT void DravikApplicationStop() {
    GlobalContainer::Instance().UnregisterCmd(kHelloCommand);
}

#ifdef DV_SAMPLE_OPENS_FILES
// Its own format, ".sample": a drawing titled by the file's name.
DV_ENTRY_POINT BOOL DravikApplicationOpenFile(const wchar_t* path) {
    const std::wstring file = path;
    const std::wstring extension = L".sample";
    if (file.size() <= extension.size() ||
        file.compare(file.size() - extension.size(), extension.size(), extension) != 0)
        return FALSE;
    return Dravik::DocumentManager::Instance().CreateDocument(Dravik::DocumentKind::Drawing, file) != nullptr;
}
#endif
