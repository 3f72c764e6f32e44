// The command bars' tips as command cards: the command's title in bold, its description, after
// two seconds its longer description with a picture, then the keys that call it, its name and
// the hint that F1 opens the help. A command without a card keeps the plain tip.
#pragma once

#include "ribbon/CommandDescriptions.h"

#include "pal/visibility.h"
#include "xtp/ToolTipContext.h"

#include <string>

DV_EXPORTS_BEGIN

class CXTPCommandBars;

// What a card shows, taken from a command's record and the options in force.
struct CommandCardContent {
    std::wstring title;
    std::wstring description;
    std::wstring extendedDescription;
    std::wstring keyboardCall; // empty: no line of keys
    std::wstring name;         // empty: no line of the name
    bool helpHint = false;
    SIZE picture{0, 0}; // the picture's own size; zero without one
};

// Measures the texts of a card: on one line (wrapWidth 0) or word-wrapped at wrapWidth.
class CommandCardMetrics {
public:
    virtual ~CommandCardMetrics() = default;
    virtual SIZE MeasureText(const std::wstring& text, bool bold, int wrapWidth) const = 0;
};

// Where a card's parts go. Heights are of the content, without the margins.
struct CommandCardLayout {
    int contentWidth = 200;
    int contentHeight = 0;
    int extraHeight = 0; // added when the card expands
    bool expandable = false;
    bool separator = false; // a line between the texts and the lines below
    SIZE picture{0, 0};     // the picture as drawn, scaled to the content width
    // The window's size: content with 10 pixels around it sideways and 5 above and below.
    SIZE TipSize() const { return {contentWidth + 20, contentHeight + 10 + (separator ? 6 : 0)}; }
};

// The labels of a card's lower lines, translated.
std::wstring CommandCardKeyboardCallLabel();
std::wstring CommandCardNameLabel();
std::wstring CommandCardHelpHint();

CommandCardLayout LayoutCommandCard(const CommandCardContent& content, const CommandCardMetrics& metrics);

// The tip window of the command bars: measures and draws a command card, or leaves the plain
// tip to the control when the command has none or extended tips are off.
class DVExtendedToolTip : public CXTPToolTipContextToolTip {
    DECLARE_DYNAMIC(DVExtendedToolTip)
public:
    static constexpr COLORREF kBackground = 0xF2F2F2;
    static constexpr COLORREF kBorder = 0xA0A0A0;
    static constexpr UINT_PTR kExpandTimer = 101;
    static constexpr UINT kExpandDelay = 2000;

    explicit DVExtendedToolTip(CXTPToolTipContext* context);

    bool IsExpanded() const { return m_expanded; }
    bool IsExpandable() const { return m_layout.expandable; }
    const CommandCardLayout& GetLayout() const { return m_layout; }
    const CommandCardContent& GetContent() const { return m_content; }

protected:
    CSize CalcToolSize(CDC* pDC) override;
    void DrawContent(CDC* pDC, CRect rc) override;
    void DrawBackground(CDC* pDC, CRect rc) override;
    void OnVisibleChanged(BOOL bVisible) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void expand();
    CXTPCommandBars* commandBars() const;
    // Whether the command's tip is a card: extended tips are on and the command has a record.
    bool showsCard(UINT id) const;

    CommandCardContent m_content;
    CommandCardLayout m_layout;
    const CommandDescriptionRecord* m_record = nullptr;
    bool m_expanded = false;
};

// The tooltip context the frame's command bars install: its tip window is a command card.
class CDVToolTipContext : public CXTPToolTipContext {
public:
    // `commandBars` gives the cards their shortcuts; it outlives the context.
    explicit CDVToolTipContext(CXTPCommandBars* commandBars) : m_commandBars(commandBars) {}
    CXTPCommandBars* GetCommandBars() const { return m_commandBars; }

protected:
    CXTPToolTipContextToolTip* CreateToolTip(CWnd* pParentWnd) override;
    // A command without a card of its own shows its tip, or else its caption.
    CString GetToolText(UINT nToolId) const override;

private:
    CXTPCommandBars* m_commandBars;
};

DV_EXPORTS_END
