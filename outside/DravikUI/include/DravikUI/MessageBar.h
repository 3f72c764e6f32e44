// A main frame's message bar: the tool kit's bar with markup, an id of its own, the caller's
// value, its buttons and what happens when one is pressed. A bar that closes tells its frame
// (kClosedMessage, lParam the bar), which takes it out of its list and deletes it; the bar never
// deletes itself.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/MessageBar.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace Dravik::UI {

class MessageBar : public CXTPMessageBar {
public:
    // Posted to the frame when the bar has closed.
    static constexpr UINT kClosedMessage = WM_APP + 0x3B0;

    struct Button {
        UINT id = 0;
        std::wstring caption;
        std::wstring toolTip;
    };
    // A button other than the close button was pressed: the bar and the button's id.
    using Callback = std::function<void(MessageBar&, UINT)>;

    // `value` is the caller's (the document the message is about, for instance); `closeOnButton`
    // closes the bar after any of its buttons ran.
    MessageBar(std::uint64_t value, Callback callback, bool closeOnButton);

    // Unique in the process, never 0.
    unsigned GetId() const { return m_id; }
    std::uint64_t GetValue() const { return m_value; }

    // The buttons from the right, replacing those shown.
    void SetButtons(const std::vector<Button>& buttons);

    void OnClick(CXTPMessageBarButton* pButton) override;
    // Hides the bar and tells its frame; a second close does nothing.
    void Close() override;
    bool IsClosed() const { return m_closed; }

private:
    unsigned m_id;
    std::uint64_t m_value;
    Callback m_callback;
    bool m_closeOnButton;
    bool m_closed = false;
};

} // namespace Dravik::UI

DV_EXPORTS_END
