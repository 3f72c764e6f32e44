#include "panels/StatusLine.h"

#include "DVTextCore/I18n.h"
#include "DravikKernel/KernelRuntime.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/ImageManager.h"
#include "DravikUI/Images.h"
#include "pal/journal.h"

#include <algorithm>
#include <cwctype>

namespace {

constexpr DWORD kThrottleWindowMs = 250;
constexpr DWORD kRedrawsPerWindow = 20;
constexpr int kMarqueeMs = 100;
constexpr int kBackgroundButtonsWidth = 140;
constexpr int kButtonWidth = 18;
constexpr int kButtonGap = 3;
constexpr UINT kInitialPromptString = 10588;

struct ButtonLook {
    const wchar_t* image;
    const wchar_t* tipKey;
};

constexpr ButtonLook kButtonLooks[CStatusLine::ButtonCount] = {
    {L"PauseExplodeAnimation.svg", L"BackgroundTasks.ButtonGroup.PauseBtn.Hint"},
    {L"EnableAnimation.svg", L"BackgroundTasks.ButtonGroup.ResumeBtn.Hint"},
    {L"BackgroundTasks.Interrupt.svg", L"BackgroundTasks.ButtonGroup.InterruptBtn.Hint"},
    {L"ShowBackgroundTasksWindow.svg", L"panes.background_tasks"},
};

std::wstring firstLine(const wchar_t* text) {
    std::wstring line = text != nullptr ? text : L"";
    line = line.substr(0, line.find_first_of(L"\r\n"));
    return line;
}

std::wstring trimmed(std::wstring text) {
    auto space = [](wchar_t c) { return std::iswspace(c) != 0; };
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), space));
    text.erase(std::find_if_not(text.rbegin(), text.rend(), space).base(), text.end());
    return text;
}

// The taskbar button of the application's main frame; the effect leaves the process, so it goes
// to the journal.
void taskbarProgress(const char* state, int value = 0, int total = 0) {
    std::vector<std::pair<std::string, std::string>> fields{{"state", state}};
    if (std::string_view(state) == "normal") {
        fields.emplace_back("value", std::to_string(value));
        fields.emplace_back("total", std::to_string(total));
    }
    pal::journal::record("taskbar.progress", std::move(fields));
}

} // namespace

IMPLEMENT_DYNAMIC(CStatusLine, CXTPStatusBar)

CStatusLine::CStatusLine() {
    const DWORD now = ::GetTickCount();
    m_progressThrottle.start = now;
    m_promptThrottle.start = now;
}

CStatusLine::~CStatusLine() = default;

void CStatusLine::CreatePanes() {
    const int screen = ::GetSystemMetrics(SM_CXSCREEN);
    const int quarter = screen / 4;
    const int progressPart = static_cast<int>(screen * 35 / 100);
    const int coordinate = std::clamp((screen - 2 * quarter - progressPart) / 3, 70, 100);
    const int background = progressPart - kBackgroundButtonsWidth;
    struct PaneSpec {
        int width;
        UINT style;
    };
    const PaneSpec specs[8] = {
        {quarter - 15, SBPS_STRETCH},
        {quarter + 15, SBPS_STRETCH},
        {coordinate, SBPS_POPOUT},
        {coordinate, SBPS_POPOUT},
        {coordinate, SBPS_POPOUT},
        {background / 2, SBPS_STRETCH},
        {background - background / 2, SBPS_STRETCH},
        {kBackgroundButtonsWidth, SBPS_STRETCH},
    };
    RemoveAll();
    for (int i = 0; i < 8; ++i) {
        CXTPStatusBarPane* pane = AddIndicator(kPaneIds[i]);
        pane->SetWidth(specs[i].width);
        pane->SetStyle(specs[i].style);
        if (i >= 5)
            pane->SetVisible(FALSE);
    }
    GetPane(5)->SetTextAlignment(DT_RIGHT);
    GetPane(0)->SetText(L">");
    GetPane(1)->SetText(DVLoadString(kInitialPromptString).c_str());
    if (m_counter < 2)
        for (int i = 2; i <= 5; ++i)
            GetPane(i)->SetText(L"");
    RecalcLayout();
    if (::IsWindow(GetSafeHwnd()))
        Invalidate(FALSE);
}

std::wstring CStatusLine::GetMessage() const {
    return GetPaneCount() > 0 ? std::wstring(GetPane(0)->GetText()) : m_message;
}

void CStatusLine::setPane(int index, const wchar_t* text) {
    if (CXTPStatusBarPane* pane = GetPane(index))
        pane->SetText(text);
}

void CStatusLine::repaint() {
    ++m_repaints;
    if (::IsWindow(GetSafeHwnd())) {
        Invalidate(FALSE);
        UpdateWindow();
    }
}

bool CStatusLine::allowRedraw(Throttle& throttle) const {
    if (m_counter == 0)
        return true;
    const DWORD now = ::GetTickCount();
    DWORD elapsed = now - throttle.start;
    if (now < throttle.start)
        elapsed -= 1;
    if (elapsed < kThrottleWindowMs)
        return ++throttle.count < kRedrawsPerWindow;
    // A saturated window leaves the next one only its opening redraw.
    throttle.start = now;
    throttle.count = throttle.count >= kRedrawsPerWindow ? kRedrawsPerWindow - 1 : 0;
    return true;
}

void CStatusLine::SetMessage(const wchar_t* text) {
    m_message = firstLine(text);
    setPane(0, m_message.c_str());
}

void CStatusLine::SetPrompt(const wchar_t* text, bool redraw) {
    if (m_counter > 1)
        return;
    const bool wasEmpty = m_prompt.empty();
    m_prompt = trimmed(firstLine(text));
    setPane(1, m_prompt.c_str());
    if (redraw && (wasEmpty != m_prompt.empty() || allowRedraw(m_promptThrottle)))
        repaint();
    if (IsProgressActive())
        updateProgress();
}

void CStatusLine::SetCoordinateX(const wchar_t* text, bool prefixed) {
    if (m_counter > 1)
        return;
    std::wstring shown = text != nullptr ? text : L"";
    if (prefixed && !shown.empty())
        shown = L"X=" + shown;
    setPane(2, shown.c_str());
}

void CStatusLine::SetCoordinateY(const wchar_t* text, bool prefixed) {
    if (m_counter > 1)
        return;
    std::wstring shown = text != nullptr ? text : L"";
    if (prefixed && !shown.empty())
        shown = L"Y=" + shown;
    setPane(3, shown.c_str());
}

void CStatusLine::SetInfoText(const wchar_t* text) {
    if (m_counter <= 1)
        setPane(4, text != nullptr ? text : L"");
}

void CStatusLine::SetBackgroundTaskText(const wchar_t* text) {
    if (m_counter <= 1)
        setPane(5, text != nullptr ? text : L"");
}

bool CStatusLine::IsProgressActive() const {
    return ::IsWindow(m_progress.GetSafeHwnd()) != FALSE;
}

bool CStatusLine::BeginProgress() {
    ++m_counter;
    if (m_counter > 1 || IsProgressActive())
        return false;
    m_progressThrottle.count = 0;
    m_promptThrottle.count = 0;
    CRect rect;
    GetItemRect(1, &rect);
    rect.left = rect.right - static_cast<int>(2 * (rect.Width() / 5.0));
    rect.DeflateRect(1, 1);
    if (!m_progress.Create(WS_CHILD | WS_VISIBLE | PBS_MARQUEE, rect, this, 0))
        return false;
    m_position = 0;
    m_step = 1;
    m_maximum = 100;
    setMarquee(true);
    repaint();
    taskbarProgress("indeterminate");
    return true;
}

void CStatusLine::setMarquee(bool on) {
    m_marquee = on;
    m_progress.SetMarquee(on, on ? kMarqueeMs : 0);
}

void CStatusLine::SetStep(int step) {
    if (m_counter < 2 && IsProgressActive()) {
        m_progress.SetStep(step);
        m_step = step;
    }
}

void CStatusLine::SetRange(int maximum) {
    if (m_counter < 2 && IsProgressActive()) {
        m_progress.SetRange32(0, maximum);
        m_maximum = maximum;
    }
}

void CStatusLine::StepIt() {
    if (m_counter <= 1 && IsProgressActive()) {
        m_position += m_step;
        updateProgress();
    }
}

void CStatusLine::SetPos(int position) {
    if (m_counter < 2 && IsProgressActive()) {
        m_position = position;
        updateProgress();
    }
}

void CStatusLine::updateProgress() {
    if (!allowRedraw(m_progressThrottle))
        return;
    if (m_position > m_maximum)
        m_position = m_maximum;
    if (m_position < 0) {
        setMarquee(true);
    } else {
        setMarquee(false);
        m_progress.SetPos(m_position);
        // A range of 0 has no fraction to show: the taskbar keeps its running indicator.
        if (m_maximum > 0)
            taskbarProgress("normal", m_position, m_maximum);
        else
            taskbarProgress("indeterminate");
    }
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

bool CStatusLine::EndProgress() {
    // An unmatched end must not leave the counter below 0, or the next begin would open nothing.
    m_counter = std::max(m_counter - 1, 0);
    if (m_counter >= 1)
        return false;
    taskbarProgress("none");
    if (!IsProgressActive())
        return false;
    setMarquee(false);
    const bool destroyed = m_progress.DestroyWindow() != FALSE;
    repaint();
    return destroyed;
}

void CStatusLine::SuspendUpdates(bool suspend) {
    if (suspend)
        m_counter += 2;
    else
        m_counter = m_counter < 2 ? 0 : m_counter - 2;
}

void CStatusLine::placeBackground(CRect* bar) {
    CRect buttons;
    GetItemRect(7, &buttons);
    // The buttons first: the bar ends short of the leftmost of them.
    int right = buttons.right - kButtonGap;
    CRect rects[ButtonCount];
    for (int i = ButtonCount - 1; i >= 0; --i) {
        rects[i] = CRect(right - kButtonWidth, buttons.top, right, buttons.bottom);
        right -= kButtonWidth + kButtonGap;
    }
    for (int i = 0; i < ButtonCount; ++i)
        placeButton(static_cast<Button>(i), rects[i]);
    GetItemRect(6, bar);
    if (bar->right > rects[0].left - 5)
        bar->right = rects[0].left - 5;
    bar->bottom -= 2;
}

void CStatusLine::placeButton(Button button, const CRect& rect) {
    std::unique_ptr<CXTPButton>& made = m_buttons[button];
    if (made) {
        made->MoveWindow(&rect, TRUE);
        made->ShowWindow(SW_SHOW);
        return;
    }
    auto created = std::make_unique<CXTPButton>();
    if (!created->Create(L"", WS_CHILD | WS_VISIBLE | BS_ICON, rect, this, kButtonCommands[button]))
        return;
    UINT icon = 0;
    auto* images = dynamic_cast<Dravik::UI::ImageManager*>(GetImageManager());
    if (images != nullptr) {
        const std::wstring path =
            Dravik::Images::ResourceManager::Instance().GetImagePath(kButtonLooks[button].image);
        if (!path.empty())
            icon = images->AddCustomIconFromFile(path.c_str());
    }
    const SIZE size = UIModuleProxy::Instance().GetIconSize(SIZE{16, 16});
    if (icon != 0 && images != nullptr)
        if (CXTPImageManagerIcon* image = images->GetImage(icon, size.cx))
            created->SetIcon(CSize(size.cx, size.cy), image);
    m_tips[button] = Dravik::I18n::Translate(kButtonLooks[button].tipKey);
    made = std::move(created);
}

bool CStatusLine::BeginBackgroundProgress(bool marquee) {
    ++m_counter;
    if (m_counter > 1 || ::IsWindow(m_background.GetSafeHwnd()))
        return false;
    for (int i = 5; i <= 7; ++i)
        GetPane(i)->SetVisible(TRUE);
    RecalcLayout();
    CRect bar;
    placeBackground(&bar);
    if (!m_background.Create(WS_CHILD | WS_VISIBLE | (marquee ? PBS_MARQUEE : 0), bar, this, 8))
        return false;
    m_background.SetStep(1);
    m_background.SetRange32(0, 100);
    m_background.SetMarquee(marquee, kMarqueeMs);
    taskbarProgress("indeterminate");
    repaint();
    return true;
}

void CStatusLine::SetBackgroundProgress(int percent) {
    if (m_counter < 2 && ::IsWindow(m_background.GetSafeHwnd()))
        m_background.SetPos(std::clamp(percent, 0, 100));
}

bool CStatusLine::EndBackgroundProgress() {
    m_counter = std::max(m_counter - 1, 0);
    if (m_counter >= 1)
        return false;
    taskbarProgress("none");
    if (!::IsWindow(m_background.GetSafeHwnd()))
        return false;
    for (auto& button : m_buttons)
        if (button)
            button->ShowWindow(SW_HIDE);
    const bool destroyed = m_background.DestroyWindow() != FALSE;
    for (int i = 5; i <= 7; ++i)
        GetPane(i)->SetVisible(FALSE);
    RecalcLayout();
    repaint();
    return destroyed;
}

void CStatusLine::onCommand(UINT id) {
    auto& manager = dvrt::StatusLineBkProcManager::Instance();
    switch (id) {
    case 886:
        manager.Pause();
        break;
    case 887:
        manager.Resume();
        break;
    case 723:
        manager.Interrupt();
        break;
    case 822:
        if (CFrameWnd* frame = UIModuleProxy::Instance().GetMainFrameOfWindow(GetSafeHwnd()))
            frame->PostMessage(WM_COMMAND, 822, 0);
        break;
    default:
        break;
    }
}

void CStatusLine::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    CXTPStatusBar::OnUpdateCmdUI(pTarget, FALSE);
    const auto& manager = dvrt::StatusLineBkProcManager::Instance();
    if (m_buttons[Pause])
        m_buttons[Pause]->EnableWindow(manager.isPauseEnabled());
    if (m_buttons[Resume])
        m_buttons[Resume]->EnableWindow(manager.isResumeEnabled());
}

LRESULT CStatusLine::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && lParam != 0) {
        const UINT id = LOWORD(wParam);
        if (std::find(std::begin(kButtonCommands), std::end(kButtonCommands), id) !=
            std::end(kButtonCommands)) {
            onCommand(id);
            return 0;
        }
    }
    const LRESULT result = CXTPStatusBar::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE && ::IsWindow(m_background.GetSafeHwnd())) {
        CRect bar;
        placeBackground(&bar);
        m_background.MoveWindow(&bar, TRUE);
    }
    return result;
}

LRESULT CTextProgressCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT && GetPos() >= 1) {
        CPaintDC dc(this);
        paint(dc);
        return 0;
    }
    return CProgressCtrl::WindowProc(message, wParam, lParam);
}

void CTextProgressCtrl::paint(CDC& dc) {
    const int percent = GetPos();
    CRect client;
    GetClientRect(&client);
    CRect done = client;
    done.right = client.left + client.Width() * percent / 100;
    CRect rest = client;
    rest.left = done.right;
    dc.FillSolidRect(&done, RGB(6, 176, 37));
    dc.FillSolidRect(&rest, RGB(220, 220, 220));
    CFont font;
    font.CreatePointFont(100, L"Tahoma", &dc);
    CFont* old = dc.SelectObject(&font);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SetBkMode(TRANSPARENT);
    wchar_t text[16];
    std::swprintf(text, 16, L"%d%%", percent);
    dc.DrawText(text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.SelectObject(old);
}
