// Status-line prompts of command ids, and commands started by typing their codes: a command
// named "code:text" runs when the typed code picks it alone.
#include "ribbon/FrameToolsApplication.h"
#include "ribbon/FrameToolsEngine.h"

#include "DravikKernel/Commands.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikUI/AutoMenu.h"
#include "DravikUI/GenericMainFrame.h"
#include "panels/StatusLine.h"

#include <cwctype>

namespace {

constexpr UINT kFirstKernelCommand = 1000, kLastKernelCommand = 3400;
constexpr wchar_t kPrompt[] = L">";

std::wstring trimmed(const std::wstring& text) {
    const auto first = text.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L" \t\r\n") - first + 1);
}

std::wstring upper(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

// The character a key adds to the typed code; 0 for keys that add none. Esc is 0x1B.
wchar_t typedCharacter(UINT key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || key == VK_ESCAPE)
        return static_cast<wchar_t>(key);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        return static_cast<wchar_t>('0' + (key - VK_NUMPAD0));
    return 0;
}

} // namespace

bool CFrameToolsEngine::GetMessageString(UINT id, std::wstring& text) const {
    if (id >= kFirstKernelCommand && id <= kLastKernelCommand) {
        text = trimmed(GlobalContainer::Instance().GetCmdStr(id));
        if (text.empty())
            if (const CDVCom_Is3D* module3D = CDVCom_Is3D::Instance())
                text = trimmed(module3D->GetCommandString(id));
        return !text.empty();
    }
    if (Dravik::UI::AutoMenuControllerBase::IsAutoMenuId(id)) {
        const Dravik::UI::AutoMenuController* controller = Dravik::UI::AutoMenuController::Instance();
        return controller != nullptr && controller->GetCmdHint(id, text);
    }
    if (id == kIdlePromptId) {
        text.clear();
        if (m_mainFrame != nullptr)
            if (const int command = m_mainFrame->GetActiveCommandId(); command != 0)
                GetMessageString(static_cast<UINT>(command), text);
        if (text.empty())
            text = kPrompt;
        return true;
    }
    return false;
}

bool CFrameToolsEngine::OnTypedCommandKey(UINT virtualKey) {
    FrameToolsApplication* application = FrameToolsApplication::Instance();
    if (m_mainFrame == nullptr || application == nullptr)
        return false;
    CWnd* focus = CWnd::GetFocus();
    if (focus == nullptr || !::IsChild(m_mainFrame->GetSafeHwnd(), focus->GetSafeHwnd()))
        return false;
    if (const CDVCom_Is3D* module3D = CDVCom_Is3D::Instance();
        module3D != nullptr && !module3D->AllowsTypedCommands())
        return false;
    if (m_mainFrame->GetActiveCommandId() != 0)
        return false;

    std::wstring& code = application->GetTypedCommandCode();
    if (virtualKey == VK_SPACE) {
        if (!code.empty())
            return false;
        m_mainFrame->PostMessage(WM_COMMAND, kTypedCommandsHelpCommand, 0);
        return true;
    }
    const wchar_t character = typedCharacter(virtualKey);
    if (character == 0)
        return false;
    code = upper(code + character);

    int candidates = 0;
    UINT firstCandidate = 0;
    DVCommandContainer& commands = DVCommandContainer::Instance();
    for (const unsigned id : commands.GetCommandIds()) {
        const std::wstring name = upper(commands.GetCommandName(id).value_or(std::wstring()));
        const size_t colon = name.find(L':');
        if (colon == std::wstring::npos || colon == 0)
            continue;
        if (name.compare(0, code.size(), code) == 0) {
            if (candidates++ == 0)
                firstCandidate = id;
            if (code.size() == colon)
                break;
        }
    }

    if (candidates == 1) {
        int state = 0;
        const CDVCom_Is3D* module3D = CDVCom_Is3D::Instance();
        const bool unavailable =
            module3D != nullptr && module3D->GetCommandState(firstCandidate, state) == 0 && state != 0;
        if (unavailable) {
            m_statusLine->SetMessage(kPrompt);
        } else {
            m_mainFrame->PostMessage(WM_COMMAND, firstCandidate, 0);
            m_statusLine->SetMessage(GlobalContainer::Instance().GetCmdStr(firstCandidate));
        }
        code.clear();
    } else if (candidates > 1) {
        m_statusLine->SetMessage(kPrompt + code);
    } else {
        code.clear();
        m_statusLine->SetMessage(kPrompt);
    }
    return false;
}
