// The status line of a main frame: the prompt or message that the frame's status bar shows in
// its first pane.
#pragma once

#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

class CStatusLine {
public:
    CStatusLine() = default;
    CStatusLine(const CStatusLine&) = delete;
    CStatusLine& operator=(const CStatusLine&) = delete;

    void SetMessage(const std::wstring& text) { m_message = text; }
    const std::wstring& GetMessage() const { return m_message; }

private:
    std::wstring m_message;
};

DV_EXPORTS_END
