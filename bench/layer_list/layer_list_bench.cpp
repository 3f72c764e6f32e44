// Drops the system panel's layer list over a drawing of 5,000 layers, from the click to the
// list shown and filled, and, in the same run, fills a report-view list of the same size with
// the layers' names and icons directly; prints the best times and their ratio (target: at most
// 3). It runs in a sandbox of its own on the null display.
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/IconCache.h"
#include "DravikKernel/Objects.h"
#include "DravikKernel/UIModuleProxy.h"
#include "afxwin.h"
#include "pal/sandbox.h"
#include "panels/PickerDialogs.h"
#include "panels/SysPanelControls.h"
#include "xtp/CommandBars.h"
#include "xtp/FrameWnd.h"
#include "xtp/ToolBar.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

constexpr int kLayers = 5'000;
constexpr int kRounds = 5;
using Clock = std::chrono::steady_clock;

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

class Frame : public CXTPFrameWnd {
public:
    int OnCreate(LPCREATESTRUCTW lpcs) {
        return CXTPFrameWnd::OnCreate(lpcs) == -1 || !InitCommandBars() ? -1 : 0;
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Frame, CXTPFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

class Module : public UIModuleProxy::Module {
public:
    CFrameWnd* frame = nullptr;
    std::vector<UIModuleProxy::ThemeDescription> GetThemes() const override { return {}; }
    std::wstring GetDefaultThemeName() const override { return {}; }
    bool ApplyTheme(int) override { return false; }
    CFrameWnd* GetMainFrameOfWindow(HWND) const override { return frame; }
    CFrameWnd* GetChildFrameOwner(CFrameWnd*) const override { return nullptr; }
    void SetCommandBarsIconSizes(CXTPCommandBars*, SIZE, SIZE, SIZE, bool) override {}
    SIZE ScaleIconSize(SIZE size) const override { return size; }
    StatusLineProxy* GetStatusLine(CFrameWnd*) const override { return nullptr; }
    int ShowSettingsDialog(HWND, unsigned, std::vector<UIModuleProxy::SettingsEntry>&) override { return 0; }
    bool CommandStateGet(unsigned, bool&, bool&) const override { return false; }
};

class Bench : public CWinApp {
public:
    bool ok = false;

    BOOL InitInstance() override {
        auto* frame = new Frame;
        if (!frame->Create(nullptr, L"Layers", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600)))
            return FALSE;
        m_pMainWnd = frame;
        Module module;
        module.frame = frame;
        UIModuleProxy::Instance().SetMainWindow(frame);
        UIModuleProxy::Instance().SetModule(&module);
        auto* control = new CLayerPopupControl;
        frame->GetCommandBars()->Add(L"System panel", xtpBarTop)->GetControls()->Add(control, 911);
        frame->RecalcLayout();

        CDvw32Doc document;
        for (int i = 0; i < kLayers; ++i) {
            auto layer = std::make_shared<LAYER>();
            layer->name = L"Layer " + std::to_wstring(i);
            document.Cont2D()->CreateElement(layer);
        }
        DocumentManager::Instance().AddDocument(&document);
        DocumentManager::Instance().SetActiveDocument(&document, frame->GetSafeHwnd());

        double dropping = 1e300, filling = 1e300;
        ok = true;
        for (int round = 0; round < kRounds; ++round) {
            auto start = Clock::now();
            control->ShowLayerDialog();
            CLayerSelectDialog* dialog = control->GetLayerDialog();
            ok = ok && dialog != nullptr && dialog->GetList().GetItemCount() == kLayers + 1;
            if (dialog != nullptr)
                dialog->UpdateWindow();
            dropping = std::min(dropping, ms(Clock::now() - start));
            control->CloseLayerDialog();

            start = Clock::now();
            CListCtrl list;
            list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHAREIMAGELISTS, CRect(0, 0, 300, 300),
                        frame, 1);
            ::SendMessageW(list.GetSafeHwnd(), LVM_SETIMAGELIST, LVSIL_SMALL,
                           reinterpret_cast<LPARAM>(CIconCache::Instance().GetObjectImageList()));
            list.InsertColumn(0, L"Layer", LVCFMT_LEFT, 300);
            list.SendMessage(WM_SETREDRAW, FALSE);
            for (int i = 0; i < kLayers; ++i)
                list.InsertItem(LVIF_TEXT | LVIF_IMAGE, i, (L"Layer " + std::to_wstring(i)).c_str(), 0, 0, 0,
                                0);
            ok = ok && list.GetItemCount() == kLayers;
            list.SendMessage(WM_SETREDRAW, TRUE);
            list.UpdateWindow();
            filling = std::min(filling, ms(Clock::now() - start));
            list.DestroyWindow();
        }
        DocumentManager::Instance().SetActiveDocument(nullptr, frame->GetSafeHwnd());
        DocumentManager::Instance().RemoveDocument(&document);
        UIModuleProxy::Instance().SetModule(nullptr);
        UIModuleProxy::Instance().SetMainWindow(nullptr);
        std::printf("dropping the layer list of %d layers: %.1f ms\n", kLayers, dropping);
        std::printf("filling a report-view list with %d rows directly: %.1f ms\n", kLayers, filling);
        std::printf("ratio: %.2f (target: at most 3)\n", dropping / filling);
        frame->DestroyWindow();
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

} // namespace

int main(int argc, char** argv) {
    std::string pattern = "/tmp/dvbench-layer-list-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("layer list");
        return 1;
    }
    ::setenv("DV_PAL_ROOT", pattern.c_str(), 1);
    ::setenv("DV_PAL_DISPLAY", "null", 1);
    if (!pal::sandbox::prepare("dvbench_layer_list"))
        return 1;
    bool ok = false;
    {
        Bench app;
        pal::mfc::winMain(argc, argv);
        ok = app.ok;
    }
    std::error_code ec;
    std::filesystem::remove_all(pattern, ec);
    if (!ok)
        std::fprintf(stderr, "the list did not hold every layer\n");
    return ok ? 0 : 1;
}
