// A program that serves "DVW32.SERVER" the way DravikCad registers it at start-up, over
// documents named on its command line, for the tests with real client processes:
//   --doc PATH     a document at that path (the first is the active one, with a title-block
//                  variable "$razrab"); --dirty PATH: the same, with unsaved changes
//   --3d KIND      the 3D module attached with that kind
//   --lib NAME=DIR the active configuration of the documents browser holds that library
//   -RegServer     writes the class registry entries and ends; -Embedding (a client) serves.
// Files open by the application's open road, as in DravikCad.
// Command 999 takes three seconds. It journals the commands its main window gets and, on its way out, what
// became of the first document's variables.
#include "app/DVServer.h"
#include "app/DocumentOpening.h"

#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DocumentsMenu.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/ProfileManager.h"
#include "afx/frame.h"
#include "pal/journal.h"
#include "pal/text.h"

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string> gArgs;
int gExits = 0;
constexpr WPARAM kSlowCommand = 999;

class HostFrame : public CFrameWnd {
protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        // A long command, for clients that go away in the middle of a call.
        if (wParam == kSlowCommand) {
            pal::journal::record("dvserver.slow");
            usleep(3000 * 1000);
            return TRUE;
        }
        char hex[32];
        std::snprintf(hex, sizeof hex, "%llx", static_cast<unsigned long long>(wParam));
        pal::journal::record("dvserver.command", {{"wparam", hex}});
        return TRUE;
    }
};

CDvw32Doc* addDocument(const std::string& path, bool dirty) {
    auto& manager = Dravik::DocumentManager::Instance();
    const bool first = manager.GetDocumentCount() == 0;
    CDvw32Doc* doc = manager.CreateDocument(Dravik::DocumentKind::Drawing, L"");
    doc->SetPathName(pal::text::fromUtf8(path));
    if (first) {
        // As a drawing read from its file: the variable is there, the undo history empty.
        Dravik::Variable razrab{Dravik::VarType::Text, L"$razrab", L"\"Петров\"", 0.0};
        doc->Cont2D()->LoadContent(doc->Cont2D()->GetPages(), {razrab}, {});
        manager.SetActiveDocument(doc);
    }
    doc->SetModifiedFlag(dirty ? TRUE : FALSE);
    return doc;
}

void addLibrary(const std::string& entry) {
    const auto eq = entry.find('=');
    auto& group = DocumentsMenu::GlobalCfgGroup();
    DocumentsMenu::IConfiguration* configuration = DocumentsMenu::FindActiveCfg(group);
    if (!configuration) {
        auto made = DocumentsMenu::CreateConfiguration(L"Стенд", false);
        made->SetActive(true);
        configuration = group.Add(std::move(made));
    }
    auto library = DocumentsMenu::CreateLibrary(pal::text::fromUtf8(entry.substr(eq + 1)).c_str());
    library->SetName(pal::text::fromUtf8(entry.substr(0, eq)));
    configuration->AddLibrary(std::move(library));
}

class HostApp : public CWinApp {
public:
    BOOL InitInstance() override {
        DravikProfileManager::SetApplicationKey(L"Software\\Dravik\\DravikCad 18");
        CCommandLineInfo info;
        ParseCommandLine(info);
        if (info.m_nShellCommand == CCommandLineInfo::AppRegister) {
            pal::journal::record("dvserver.registry", {{"ok", UpdateServerRegistry(factory_) ? "1" : "0"}});
            return FALSE;
        }
        if (!info.m_bRunEmbedded && !info.m_bRunAutomated)
            return FALSE;
        CoInitialize(nullptr);
        for (std::size_t i = 1; i + 1 < gArgs.size(); ++i) {
            if (gArgs[i] == "--doc" || gArgs[i] == "--dirty")
                addDocument(gArgs[i + 1], gArgs[i] == "--dirty");
            else if (gArgs[i] == "--3d")
                CDVCom_Is3D::Attach(std::stoi(gArgs[i + 1]));
            else if (gArgs[i] == "--lib")
                addLibrary(gArgs[i + 1]);
        }
        auto* frame = new HostFrame;
        frame->Create(nullptr, L"DravikCad");
        m_pMainWnd = frame;
        if (!RegisterAutomationServer(factory_))
            return FALSE;
        serving_ = true;
        pal::journal::record("dvserver.host");
        return TRUE;
    }

    CDocument* OpenDocumentFile(LPCWSTR path, BOOL addToRecent) override {
        return OpenDocumentByPath(path, addToRecent != FALSE);
    }
    using CWinApp::OpenDocumentFile;

    int ExitInstance() override {
        COleObjectFactory::RevokeAll();
        if (serving_) {
            std::vector<std::pair<std::string, std::string>> fields = {
                {"exits", std::to_string(++gExits)}, {"locks", std::to_string(pal::mfc::oleLockCount())}};
            const auto docs = Dravik::DocumentManager::Instance().GetDocuments();
            if (!docs.empty()) {
                const auto* content = docs.front()->Cont2D();
                fields.emplace_back("razrab", pal::text::toUtf8(content->GetTextValue(L"$razrab")));
                fields.emplace_back("undo", std::to_string(content->GetUndoCount()));
                fields.emplace_back("undoName", pal::text::toUtf8(content->GetUndoName()));
            }
            pal::journal::record("dvserver.host.exit", fields);
            CoUninitialize();
        }
        return CWinApp::ExitInstance();
    }

private:
    DVServerFactory factory_;
    bool serving_ = false;
};

HostApp theApp;

} // namespace

int main(int argc, char** argv) {
    gArgs.assign(argv, argv + argc);
    return pal::mfc::winMain(argc, argv);
}
