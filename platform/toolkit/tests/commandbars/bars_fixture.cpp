#include "bars_fixture.h"

namespace bars_test {

IMPLEMENT_DYNCREATE(MadeButton, CXTPControlButton)

BEGIN_MESSAGE_MAP(Frame, CXTPMDIFrameWnd)
ON_WM_CREATE()
ON_COMMAND_RANGE(kNew, kMade, &Frame::OnCommandId)
ON_UPDATE_COMMAND_UI(kSave, &Frame::OnUpdateSave)
ON_UPDATE_COMMAND_UI_RANGE(kNew, kOpen, &Frame::OnUpdateAny)
ON_CBN_EDITCHANGE(kScale, &Frame::OnScaleEdit)
ON_CBN_SELCHANGE(kScale, &Frame::OnScaleSelect)
ON_XTP_CREATECONTROL()
ON_XTP_INITCOMMANDSPOPUP()
ON_MESSAGE(WM_XTP_INITCONTROL, &Frame::OnInitControl)
ON_MESSAGE(WM_ENTERIDLE, &Frame::OnEnterIdle)
END_MESSAGE_MAP()

int Frame::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CXTPMDIFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    if (!InitCommandBars())
        return -1;
    build();
    return 0;
}

void Frame::build() {
    CXTPCommandBars* bars = GetCommandBars();
    CMenu file, editMenu, zoom, menu;
    file.CreatePopupMenu();
    file.AppendMenu(MF_STRING, kNew, L"&New\tCtrl+N");
    file.AppendMenu(MF_STRING, kOpen, L"&Open...");
    file.AppendMenu(MF_SEPARATOR, 0, nullptr);
    file.AppendMenu(MF_STRING, kExit, L"E&xit");
    zoom.CreatePopupMenu();
    zoom.AppendMenu(MF_STRING, kZoomIn, L"Zoom &In");
    zoom.AppendMenu(MF_STRING, kZoomOut, L"Zoom &Out");
    editMenu.CreatePopupMenu();
    editMenu.AppendMenu(MF_STRING, kCut, L"Cu&t");
    editMenu.AppendMenu(MF_STRING, kCopy, L"&Copy");
    editMenu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(zoom.Detach()), L"&Zoom");
    menu.CreateMenu();
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(file.Detach()), L"&File");
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(editMenu.Detach()), L"&Edit");
    CXTPMenuBar* menuBar = bars->SetMenu(L"Menu Bar");
    menuBar->LoadMenu(&menu);
    menu.DestroyMenu();

    standard = bars->Add(L"Standard", xtpBarTop);
    standard->SetBarID(kStandardBar);
    static const UINT buttons[] = {kNew, kOpen, 0, kSave};
    standard->SetButtons(buttons, 4);
    standard->GetControls()->GetAt(0)->SetCaption(L"New");
    standard->GetControls()->GetAt(1)->SetCaption(L"Open");
    standard->GetControls()->GetAt(2)->SetCaption(L"Save");
    standard->GetControls()->CreateOriginalControls();

    edit = bars->Add(L"Edit", xtpBarTop);
    edit->SetBarID(kEditBar);
    edit->SetDockPosition(xtpBarTop, 2, 0);
    auto* split = static_cast<CXTPControlPopup*>(edit->GetControls()->Add(xtpControlSplitButtonPopup, kZoom));
    split->SetCaption(L"Zoom");
    CXTPPopupBar* popup = CXTPPopupBar::CreatePopupBar(bars);
    popup->GetControls()->Add(xtpControlButton, kZoomIn)->SetCaption(L"Zoom &In");
    popup->GetControls()->Add(xtpControlButton, kZoomOut)->SetCaption(L"Zoom &Out");
    split->SetCommandBar(popup);
    popup->InternalRelease();
    edit->GetControls()->Add(xtpControlButton, kCut)->SetCaption(L"Cut");
    scale = static_cast<CXTPControlComboBox*>(edit->GetControls()->Add(xtpControlComboBox, kScale));
    scale->SetCaption(L"Scale");
    for (const wchar_t* s : {L"1:1", L"1:2", L"1:5", L"2:1"})
        scale->AddString(s);
    scale->SetCurSel(0);
    edit->GetControls()->CreateOriginalControls();
}

BOOL App::InitInstance() {
    if (!frame.Create(nullptr, L"Dravik", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 840, 560)))
        return FALSE;
    m_pMainWnd = &frame;
    frame.SetFocus();
    return TRUE;
}

} // namespace bars_test
