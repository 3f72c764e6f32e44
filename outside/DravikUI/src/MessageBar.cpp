#include "DravikUI/MessageBar.h"

#include <atomic>

namespace Dravik::UI {

namespace {

unsigned nextId() {
    static std::atomic<unsigned> counter{0};
    unsigned id = ++counter;
    return id != 0 ? id : ++counter;
}

} // namespace

MessageBar::MessageBar(std::uint64_t value, Callback callback, bool closeOnButton)
    : m_id(nextId()), m_value(value), m_callback(std::move(callback)), m_closeOnButton(closeOnButton) {}

void MessageBar::SetButtons(const std::vector<Button>& buttons) {
    RemoveButtons();
    for (const Button& button : buttons)
        AddButton(button.id, button.caption.c_str(),
                  button.toolTip.empty() ? nullptr : button.toolTip.c_str());
}

void MessageBar::OnClick(CXTPMessageBarButton* pButton) {
    if (!pButton || m_closed)
        return;
    if (pButton->IsCloseButton()) {
        Close();
        return;
    }
    const UINT id = pButton->m_nID;
    if (m_callback)
        m_callback(*this, id);
    else
        CXTPMessageBar::OnClick(pButton);
    if (m_closeOnButton)
        Close();
}

void MessageBar::Close() {
    if (m_closed)
        return;
    m_closed = true;
    CXTPMessageBar::Close();
    // Posted: the frame deletes the bar, which must not happen inside the bar's own handler.
    if (CWnd* frame = GetParentFrame(); frame && ::IsWindow(frame->GetSafeHwnd()))
        frame->PostMessage(kClosedMessage, 0, reinterpret_cast<LPARAM>(this));
}

} // namespace Dravik::UI
