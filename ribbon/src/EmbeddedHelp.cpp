// The frame's help window: made on first use, kept beside the frame, gone when the frame goes.
#include "ribbon/EmbeddedHelpFrame.h"
#include "ribbon/FrameToolsEngine.h"

bool CFrameToolsEngine::ShowEmbeddedHelp(const wchar_t* url, DWORD /*navigation*/) {
    if (url == nullptr) {
        if (CEmbeddedHelpFrame* help = m_embeddedHelp) {
            m_embeddedHelp = nullptr;
            help->ReleaseOwner();
            if (::IsWindow(help->m_hWnd))
                help->DestroyWindow(); // deletes it
            else
                delete help;
        }
        return true;
    }
    if (m_embeddedHelp == nullptr) {
        auto* help = new CEmbeddedHelpFrame(this);
        m_embeddedHelp = help;
        if (!help->CreateHelpWindow()) {
            // A window that failed to be made has deleted its frame (and told us so).
            if (m_embeddedHelp == help)
                delete help;
            m_embeddedHelp = nullptr;
        }
    }
    return m_embeddedHelp != nullptr && m_embeddedHelp->Navigate(url);
}

void CFrameToolsEngine::CloseEmbeddedHelp() {
    CEmbeddedHelpFrame* help = m_embeddedHelp;
    if (help == nullptr)
        return;
    m_embeddedHelp = nullptr;
    // The close runs later, maybe after this frame's tools are gone.
    help->ReleaseOwner();
    help->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CFrameToolsEngine::UpdateEmbeddedHelpPosition(UINT sizeType, int /*cx*/, int /*cy*/) {
    if (m_embeddedHelp != nullptr && sizeType != SIZE_MINIMIZED && sizeType != SIZE_MAXIMIZED)
        m_embeddedHelp->KeepBesideMainFrame();
}
