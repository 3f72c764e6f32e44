// The application object's own commands: About box, fixed window size, PDM connection, log
// window, info-tip strip, the 3D module's message and the command statistics.
#include "app/AboutDlg.h"
#include "app/CommandStatistics.h"
#include "app/Dvw32App.h"
#include "app/InfoTip.h"
#include "app/LogWindowHost.h"

#include "DVDiagnostics/DVLog.h"
#include "DVPDMProxy/WorkMix.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/KernelServices.h"
#include "windows.h"
#include "xtp/CommandBars.h"

void CDvw32App::OnAppAbout() {
    CAboutDlg dialog(GetMainWnd());
    dialog.DoModal();
}

void CDvw32App::OnFixedSize() {
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr || frame->m_hWnd == nullptr)
        return;
    if (m_fixedSize.cx <= 0 || m_fixedSize.cy <= 0) {
        DVLog_Write(DVLogWarning, "FIXED_SIZE %ld x %ld refused: both sides must be positive",
                    static_cast<long>(m_fixedSize.cx), static_cast<long>(m_fixedSize.cy));
        return;
    }
    frame->ShowWindow(SW_SHOWNORMAL);
    frame->SetWindowPos(nullptr, 0, 0, m_fixedSize.cx, m_fixedSize.cy,
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDvw32App::OnOrsaConnect() {
    DVPDMWorkMix::Instance().Connect(1, L"");
}

void CDvw32App::OnOrsaDisconnect() {
    DVPDMWorkMix::Instance().Disconnect();
}

void CDvw32App::OnOrsaWorkMixCommand() {
    // The object stays alive for the call even when the connection ends inside it.
    const std::shared_ptr<DVPDMObject> pdm = DVPDMWorkMix::Instance().GetPDMObject();
    if (!pdm)
        return;
    try {
        pdm->RunWorkMix();
    } catch (const DVPDMException& failure) {
        failure.Report();
    }
}

void CDvw32App::OnUpdateOrsaConnect(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!DVPDMWorkMix::Instance().IsConnected());
}

void CDvw32App::OnUpdateOrsaConnected(CCmdUI* pCmdUI) {
    pCmdUI->Enable(DVPDMWorkMix::Instance().IsConnected());
}

void CDvw32App::OnInfoTipCommand(UINT id) {
    if (CInfoTip* tip = GetInfoTip())
        tip->OnCommand(id);
}

void CDvw32App::OnIs3DMessage(WPARAM wParam, LPARAM lParam) {
    if (CDVCom_Is3D* module = CDVCom_Is3D::Instance())
        module->OnApplicationMessage(wParam, lParam);
}

void CDvw32App::OnLogWindow() {
    dvapp::LogWindowHost& host = dvapp::LogWindowHost::Instance();
    if (host.Exists()) {
        host.Show();
        return;
    }
    if (!DVLog_FileExists())
        return;
    const std::optional<UIModuleProxy::ThemeDescription> theme = UIModuleProxy::Instance().GetCurrentTheme();
    host.Create(theme ? theme->Number : -1);
}

void CDvw32App::OnUpdateLogWindow(CCmdUI* pCmdUI) {
    pCmdUI->Enable(dvapp::LogWindowHost::Instance().Exists() || DVLog_FileExists());
}

void CDvw32App::ShowCommandStatistics() {
    if ((GetKeyState(VK_CONTROL) & 0x8000) == 0)
        return;
    CMainFrame* frame = GetMainFrame();
    CXTPCommandBars* bars = frame != nullptr ? frame->GetCommandBars() : nullptr;
    CXTPImageManager* images = bars != nullptr ? bars->GetImageManager() : nullptr;
    if (images == nullptr)
        return;
    const std::wstring text = dvapp::FormatCommandStatistics(dvapp::CountCommandStatistics(*images));
    DVMessageBox::Show(text.c_str(), MB_OK | MB_ICONINFORMATION);
}
