// A frame's layout of 40 docking panes (four docked groups, floating panes, panes collapsed to
// the sides) loaded from its XML text and applied to the frame, windows laid out and painted,
// against the least that loading costs: parsing the same text with pugixml alone. Both run in
// one process, alternating; the best of several runs of each is compared. The loader without
// windows is timed too, to tell the XML and model work from the windows'.
#include "afxwin.h"
#include "pal/text.h"
#include "xtp/DockingPaneManager.h"
#include "xtp/PropExchange.h"

#include <pugixml.hpp>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPanes = 40;
constexpr int kRuns = 15;

double since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class Frame : public CFrameWnd {
public:
    CWnd view;
    BOOL OnCreateClient(LPCREATESTRUCTW, CCreateContext*) override {
        return view.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), this,
                             AFX_IDW_PANE_FIRST);
    }
};

// Ten panes in each of four groups (left, bottom, right, top); of them four float and four are
// collapsed to their side; two are closed.
std::wstring makeLayout(CXTPDockingPaneManager& m) {
    static const XTPDockingPaneDirection sides[] = {xtpPaneDockLeft, xtpPaneDockBottom, xtpPaneDockRight,
                                                    xtpPaneDockTop};
    for (int g = 0; g < 4; ++g) {
        CXTPDockingPane* first = nullptr;
        for (int i = 0; i < kPanes / 4; ++i) {
            const int id = 1000 + g * 100 + i;
            CXTPDockingPane* pane = m.CreatePane(id, CRect(0, 0, 260, 180), sides[g]);
            CString title;
            title.Format(L"Pane %d", id);
            pane->SetTitle(title);
            if (first == nullptr)
                first = pane;
            else if (i < 7)
                m.AttachPane(pane, first);
            else if (i == 7)
                m.FloatPane(pane, CRect(200 + g * 150, 200, 500 + g * 150, 450));
            else
                m.DockPane(pane, xtpPaneDockBottom, first);
        }
        m.FindPane(1000 + g * 100 + 8)->Hide();
    }
    m.ClosePane(1005);
    m.ClosePane(1305);
    CXTPPropExchangeXMLNode px(FALSE, nullptr, L"DockingPaneLayout");
    m.DoPropExchange(&px);
    return px.GetXML().GetString();
}

double applyLayout(CXTPDockingPaneManager& m, Frame& frame, const std::wstring& xml) {
    const auto start = Clock::now();
    CXTPPropExchangeXMLNode px(TRUE, nullptr, L"DockingPaneLayout");
    if (!px.LoadFromString(xml.c_str()) || !m.DoPropExchange(&px))
        std::printf("the layout did not load\n");
    ::RedrawWindow(frame.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return since(start);
}

// The loader alone: into a manager without a frame, so no window is made.
double loadModel(const std::wstring& xml) {
    const auto start = Clock::now();
    CXTPDockingPaneManager model;
    CXTPPropExchangeXMLNode px(TRUE, nullptr, L"DockingPaneLayout");
    if (!px.LoadFromString(xml.c_str()) || !model.DoPropExchange(&px))
        std::printf("the layout did not load\n");
    return since(start);
}

double parseAlone(const std::string& utf8) {
    const auto start = Clock::now();
    pugi::xml_document doc;
    if (!doc.load_buffer(utf8.data(), utf8.size()))
        std::printf("pugixml did not parse the layout\n");
    return since(start);
}

} // namespace

int main() {
    auto* frame = new Frame;
    frame->Create(nullptr, L"Bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 1600, 1000));
    CXTPDockingPaneManager manager;
    manager.InstallDockingPanes(frame);
    const std::wstring xml = makeLayout(manager);
    const std::string utf8 = pal::text::toUtf8(xml);
    applyLayout(manager, *frame, xml); // the first run makes the windows' surfaces
    parseAlone(utf8);
    double apply = 1e300, model = 1e300, parse = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        apply = std::min(apply, applyLayout(manager, *frame, xml));
        model = std::min(model, loadModel(xml));
        parse = std::min(parse, parseAlone(utf8));
    }
    std::printf("a layout of %d panes, %zu bytes of XML, best of %d runs\n", kPanes, utf8.size(), kRuns);
    std::printf("loaded and applied: %8.3f ms (windows made, laid out and painted)\n", apply);
    std::printf("loaded alone:       %8.3f ms (the layout's model, no windows)\n", model);
    std::printf("pugixml alone:      %8.3f ms\n", parse);
    std::printf("ratio:              %8.1fx (loaded alone against pugixml: %.1fx)\n", apply / parse,
                model / parse);
    frame->DestroyWindow();
    return 0;
}
