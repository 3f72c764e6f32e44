// What the application passes on to every main frame: a document's state, the PDM connection,
// repaints held back, the frames' titles and which frame is active next.
#include "app/Dvw32App.h"

#include "DVDiagnostics/NotBuiltYet.h"
#include "DVPDMProxy/WorkMix.h"
#include "DravikKernel/ApplicationManager.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/KernelServices.h"
#include "DravikUI/PaneControlSites.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

void CDvw32App::OnChangeDocumentState(CDvw32Doc* document) {
    ForEachMainFrame([document](CMainFrame* frame) { frame->OnChangeDocumentState(document); });
}

void CDvw32App::OnChangeOrsaConnectionState(bool connected) {
    if (connected) {
        m_pdmObject = DVPDMWorkMix::Instance().GetPDMObject();
        // The add-ons that wait for the PDM system can start now.
        CDVApplicationManager::Instance().StartApplications(0, 1);
    } else {
        m_pdmObject.reset();
    }
    Dravik::UI::AssemblyStructureControlSite::Instance().OnChangeOrsaConnectionState(connected);
    ForEachMainFrame([connected](CMainFrame* frame) { frame->OnChangeOrsaConnectionState(connected); });
}

void CDvw32App::RepaintMarkedDocuments() {
    for (CDvw32Doc* document : DocumentManager::Instance().GetDocuments()) {
        if (document != nullptr && document->IsRepaintNeeded()) {
            document->RepaintNeeded(false);
            document->UpdateAllViews(nullptr);
        }
    }
}

void CDvw32App::UpdateMainFrameTitles() {
    const CString title = GetApplicationTitle();
    const std::vector<CMainFrame*> frames = GetMainFrames();
    for (size_t k = 0; k < frames.size(); ++k) {
        CMainFrame* frame = frames[k];
        if (frames.size() == 1) {
            frame->m_strTitle = title;
        } else {
            wchar_t numbered[512];
            std::swprintf(numbered, std::size(numbered), L"%ls (%d)", title.GetString(),
                          static_cast<int>(k + 1));
            frame->m_strTitle = numbered;
        }
        if (frame->m_hWnd != nullptr)
            frame->OnUpdateFrameTitle(TRUE);
    }
}

void CDvw32App::ActivateNextMainFrame() {
    const std::vector<CMainFrame*> frames = GetMainFrames();
    if (frames.size() < 2)
        return;
    CWnd* current = UIModuleProxy::Instance().GetMainWindow();
    const auto at = std::find(frames.begin(), frames.end(), current);
    CMainFrame* next = at == frames.end() || std::next(at) == frames.end() ? frames.front() : *std::next(at);
    next->MakeActive();
}

void CDvw32App::InitializeTextBrowserProfileItems() {
    DV_NOT_BUILT_YET("InitializeTextBrowserProfileItems: the text-browser plug-ins");
}

void CDvw32App::HandTextToBrowsers(const wchar_t* text) {
    (void)text;
    DV_NOT_BUILT_YET("HandTextToBrowsers: the text-browser plug-ins");
}

std::wstring CDvw32App::GetDictionaryFileName() {
    std::wstring file = GetProfileStringW(L"TemplatExplorer", L"LastOpenFileName", L"").GetString();
    if (file.empty())
        file = DVAppendProgramPath(L"DVDict.xml", 1, true);
    WriteProfileStringW(L"TemplatExplorer", L"LastOpenFileName", file.c_str());
    return file;
}
