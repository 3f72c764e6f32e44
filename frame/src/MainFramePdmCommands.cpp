// The frame's PDM items: the commands on the active document's file in the PDM system (2929,
// 2930, 2938) and the items of the PDM panes, which show the panes' own state and captions.
#include "frame/MainFrame.h"

#include "DVPDMProxy/Files.h"
#include "DVPDMProxy/WorkMix.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/Document.h"
#include "XTToolkitPro.h"
#include "ribbon/FrameToolsApplication.h"

#include <memory>

namespace {

constexpr UINT kEditInPdm = 2929, kProcessInPdm = 2930, kRevertInPdm = 2938;
// The states of a file's PDM object that the commands need: 3 may be taken for editing, 2 is
// being edited.
constexpr int kPdmEditable = 3, kPdmInEdit = 2;

// The PDM object of a document's file; null without one or while the work mix is off.
std::shared_ptr<DVPDMFileObject> pdmObjectOf(CDvw32Doc* document) {
    if (document == nullptr || document->GetPathName().IsEmpty())
        return nullptr;
    return DVPDMWorkMix::Instance().FindFile(std::wstring(document->GetPathName().GetString()));
}

bool isEditedInPlace(const CDvw32Doc& document) {
    return document.IsInEditInPlace();
}

// The application's window of a PDM pane item, as it is now: none is made for an update.
struct PdmPaneItem {
    UINT command;
    CWnd* (FrameToolsApplication::*window)(bool availableOnly, bool create);
};

// clang-format off
constexpr PdmPaneItem kPdmPaneItems[] = {
    {787, &FrameToolsApplication::GetOrsaArchivesWindow},
    {788, &FrameToolsApplication::GetOrsaDesktopWindow},
    {789, &FrameToolsApplication::GetOrsaFavoritesWindow},
    {791, &FrameToolsApplication::GetOrsaSearchWindow},
    {798, &FrameToolsApplication::GetOrsaMailWindow},
    {814, &FrameToolsApplication::GetOrsaAssemblyWindow},
};
// clang-format on

const PdmPaneItem* findPdmPaneItem(UINT command) {
    for (const PdmPaneItem& item : kPdmPaneItems)
        if (item.command == command)
            return &item;
    return nullptr;
}

} // namespace

bool CMainFrame::UpdatePdmPaneItem(CCmdUI* ui) {
    const PdmPaneItem* item = findPdmPaneItem(ui->m_nID);
    if (item == nullptr)
        return false;
    FrameToolsApplication* app = FrameToolsApplication::Instance();
    CWnd* window = app != nullptr ? (app->*item->window)(false, false) : nullptr;
    const bool exists = window != nullptr && ::IsWindow(window->m_hWnd);
    const bool visible = exists && ::IsWindowVisible(window->m_hWnd);
    ui->SetCheck(visible ? 1 : 0);
    ui->Enable(visible || exists);
    if (exists && DVPDMWorkMix::Instance().IsEnabled()) {
        CString caption;
        window->GetWindowText(caption);
        if (!caption.IsEmpty())
            ui->SetText(caption);
    }
    return true;
}

void CMainFrame::OnPdmCommand(UINT id) {
    MainFrameApplication* app = MainFrameApplication::Instance();
    CDvw32Doc* document = app != nullptr ? app->GetActiveDocument() : nullptr;
    try {
        std::shared_ptr<DVPDMFileObject> file = pdmObjectOf(document);
        if (file == nullptr)
            return;
        switch (id) {
        case kEditInPdm:
            file->Edit(1, 0, 1, 1);
            break;
        case kProcessInPdm: {
            // The PDM system takes the file as it is on disk: a failed save ends the command.
            const std::wstring path(document->GetPathName().GetString());
            if (document->IsModified() && !document->DoFileSave())
                return;
            DVPDMWorkMix::Instance().ProcessDocument(path, *file);
            break;
        }
        case kRevertInPdm: {
            if (isEditedInPlace(*document))
                return;
            const std::wstring text = Dravik::I18n::Translate("panes.assembly_structure.revert_prompt");
            const std::wstring title =
                Dravik::I18n::Translate("panes.assembly_structure.revert_prompt.title");
            if (::MessageBoxW(m_hWnd, text.c_str(), title.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
                return;
            document->OnCloseDocument();
            file->Revert();
            break;
        }
        default:
            break;
        }
    } catch (const DVPDMException& e) {
        e.Report();
    }
}

void CMainFrame::OnUpdatePdmCommand(CCmdUI* ui) {
    MainFrameApplication* app = MainFrameApplication::Instance();
    CDvw32Doc* document = app != nullptr ? app->GetActiveDocument() : nullptr;
    bool enable = false;
    try {
        if (std::shared_ptr<DVPDMFileObject> file = pdmObjectOf(document)) {
            const int state = file->GetState();
            switch (ui->m_nID) {
            case kEditInPdm:
                enable = state == kPdmEditable && document->IsEditable();
                break;
            case kProcessInPdm:
                enable = state == kPdmInEdit;
                break;
            case kRevertInPdm:
                enable = state == kPdmInEdit && !isEditedInPlace(*document);
                break;
            default:
                break;
            }
        }
    } catch (const DVPDMException& e) {
        e.Report();
        enable = false;
    }
    ui->Enable(enable);
}
