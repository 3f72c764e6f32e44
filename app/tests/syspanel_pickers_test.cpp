// DravikCad on the null display with the sample drawing open: the system panel's colour, layer
// and coordinate-system pickers, made by the frame's control factory, drop down at a click over the
// drawing's own colours, layers and coordinate systems; a choice reaches the drawing, a new
// layer and a local system survive saving and opening again, and Undo takes each away. The
// pictures are kept for a person to look at (DV_PAL_SNAPSHOTS).
#include "main_initialisation_fixture.h"

#include "DVGC/ColorTable.h"
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/Objects.h"
#include "DravikKernel/View.h"
#include "frame/CommandBars.h"
#include "pal/test/pump.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "panels/ColorSelectDialog.h"
#include "panels/PickerDialogs.h"
#include "panels/SysPanelControls.h"
#include "panels/SysPanelToolbar.h"
#include "xtp/CommandBars.h"

#include <cairo.h>

namespace dvapp::test {
namespace {

class SystemPanelPickers : public MainInitialisation {
protected:
    // The frame's panel shown in the classic layout with the control of the id on it.
    template <class T> T* onPanel(CMainFrame* frame, int id) {
        CSysPanelToolbar* panel = frame->GetSysPanelToolbar();
        if (panel == nullptr)
            return nullptr;
        auto* control = dynamic_cast<T*>(panel->FindControlById(id));
        if (control != nullptr && control->GetParent() == nullptr) {
            control->InternalAddRef(); // the bar takes a reference of its own
            panel->GetControls()->Add(control, id);
        }
        panel->SetVisible(TRUE);
        frame->RecalcLayout();
        pal::test::pump();
        return control;
    }
    // The middle of a control on the screen, where a person clicks.
    static POINT middleOf(CXTPControl* control) {
        CPoint middle = control->GetRect().CenterPoint();
        control->GetParent()->ClientToScreen(&middle);
        return middle;
    }
    // The frame as a person sees it with a drop-down open over it.
    static pal::gdi::Surface withDropDown(CWnd* frame, CWnd* dropDown) {
        pal::gdi::Surface whole = pal::test::snapshot(frame->GetSafeHwnd());
        const pal::gdi::Surface part = pal::test::snapshot(dropDown->GetSafeHwnd());
        CRect outer;
        CRect inner;
        frame->GetWindowRect(&outer);
        dropDown->GetWindowRect(&inner);
        cairo_t* cr = cairo_create(whole.get());
        cairo_set_source_surface(cr, part.get(), inner.left - outer.left, inner.top - outer.top);
        cairo_paint(cr);
        cairo_destroy(cr);
        return whole;
    }
    static void click(CDialog& dialog, CListCtrl& list, int row) {
        for (int i = 0; i < list.GetItemCount(); ++i)
            list.SetItemState(i, i == row ? LVIS_SELECTED | LVIS_FOCUSED : 0, LVIS_SELECTED | LVIS_FOCUSED);
        NMITEMACTIVATE item{};
        item.hdr.hwndFrom = list.GetSafeHwnd();
        item.hdr.idFrom = static_cast<UINT_PTR>(list.GetDlgCtrlID());
        item.hdr.code = NM_CLICK;
        item.iItem = row;
        dialog.SendMessage(WM_NOTIFY, item.hdr.idFrom, reinterpret_cast<LPARAM>(&item));
    }
};

TEST_F(SystemPanelPickers, EachPickerDropsOverTheDrawingAndItsChoicesSurviveAReopen) {
    const std::wstring path = copySample("pickers.grb");
    ASSERT_TRUE(start({path}));
    pal::test::pump();
    CMainFrame* frame = onlyFrame();
    ASSERT_NE(frame, nullptr);
    frame->GetRibbonCommandBars()->SetRibbonMode(false);
    CDvw32Doc* document = DVGetActiveDoc(frame->GetSafeHwnd());
    ASSERT_NE(document, nullptr);
    Dravik::DVDocument& drawing = *document->Cont2D();
    // The factory makes each picker for a bar that asks by id, as the ribbon and the bars
    // built from a state file do.
    for (UINT id : {904u, 911u, 912u}) {
        CXTPControl* made = frame->CreateCustomControl(id, L"", frame->GetSysPanelToolbar());
        EXPECT_TRUE(dynamic_cast<IDataExchange*>(made) != nullptr) << id;
        if (made != nullptr)
            made->InternalRelease();
    }

    // Colour: the table and the person's colours, then the system chooser through "Other...".
    auto* colour = onPanel<CColorPopupControl>(frame, 904);
    ASSERT_NE(colour, nullptr);
    pal::test::doubleClick(middleOf(colour));
    pal::test::pump();
    CColorSelectDialog* colours = colour->GetColorDialog();
    ASSERT_NE(colours, nullptr);
    ASSERT_NE(colours->GetSafeHwnd(), nullptr);
    EXPECT_TRUE(pal::test::keepSnapshot(colours->GetSafeHwnd(), "program-colour-drop-down"));
    EXPECT_TRUE(pal::test::keepSnapshot(withDropDown(frame, colours), "program-panel-colour-open"));
    answer(L"#2080C0");
    answer(L"Add to Custom Colours");
    answer(IDOK);
    colours->SendMessage(WM_COMMAND, MAKEWPARAM(CColorSelectDialog::IDC_OTHER, BN_CLICKED), 0);
    pal::test::pump();
    EXPECT_EQ(colours->GetSafeHwnd(), nullptr);
    EXPECT_EQ(colour->GetColor(), CColorTable::FromRgb(RGB(0x20, 0x80, 0xC0)));
    EXPECT_EQ(document->GetDefaultParameters().GetDefaultColor().Low, colour->GetColor());

    // Layers: the sample's layers and the entry for a new one, which is made and applied.
    auto* layers = onPanel<CLayerPopupControl>(frame, 911);
    ASSERT_NE(layers, nullptr);
    layers->SetValue(&drawing, SysPanelValue{0.0, -1, 1, L""});
    pal::test::pump();
    EXPECT_TRUE(pal::test::keepSnapshot(frame->GetSafeHwnd(), "program-panel-layer"));
    pal::test::click(middleOf(layers));
    pal::test::pump();
    CLayerSelectDialog* layerList = layers->GetLayerDialog();
    ASSERT_NE(layerList, nullptr);
    ASSERT_NE(layerList->GetSafeHwnd(), nullptr);
    const int rows = layerList->GetList().GetItemCount();
    EXPECT_EQ(rows, 5) << "0, Contour, Axes, Notes and the new layer";
    EXPECT_TRUE(pal::test::keepSnapshot(layerList->GetSafeHwnd(), "program-layer-drop-down"));
    EXPECT_TRUE(pal::test::keepSnapshot(withDropDown(frame, layerList), "program-panel-layer-open"));
    answer(L"Dimensions");
    click(*layerList, layerList->GetList(), rows - 1);
    pal::test::pump();
    const auto* made = dynamic_cast<const LAYER*>(drawing.FindLayer(L"Dimensions"));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(layers->GetLayer(), made->GetId());
    EXPECT_EQ(document->GetDefaultParameters().GetDefaultLayer(), made->GetId());
    EXPECT_EQ(drawing.GetUndoName(), L"New layer");

    // Coordinate systems: the page's, the bore's axis, the model system nothing shows yet.
    auto* systems = onPanel<LCSPopupControl>(frame, 912);
    ASSERT_NE(systems, nullptr);
    pal::test::click(middleOf(systems));
    pal::test::pump();
    LCSSelectDialog* systemList = systems->GetLCSDialog();
    ASSERT_NE(systemList, nullptr);
    ASSERT_NE(systemList->GetSafeHwnd(), nullptr);
    ASSERT_EQ(systemList->GetList().GetItemCount(), 4);
    EXPECT_EQ(std::wstring(systemList->GetList().GetItemText(2, 0)), L"Top face system");
    EXPECT_TRUE(pal::test::keepSnapshot(systemList->GetSafeHwnd(), "program-coordinate-drop-down"));
    EXPECT_TRUE(pal::test::keepSnapshot(withDropDown(frame, systemList), "program-panel-coordinate-open"));
    systemList->GetList().SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    pal::test::pump();
    const auto* point = dynamic_cast<const FIXING_POINT*>(drawing.GetSafeObject(systems->GetLCS()));
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(point->name, L"Top face system");
    EXPECT_TRUE(pal::test::keepSnapshot(frame->GetSafeHwnd(), "program-panel-coordinate-chosen"));

    // Saved and opened again, both are there; Undo takes each away.
    const std::int64_t layerId = made->GetId();
    const std::int64_t pointId = point->GetId();
    std::wstring error;
    ASSERT_TRUE(document->DoFileSave(&error));
    auto reopened = Dravik::grb::LoadFile(path, &error);
    ASSERT_NE(reopened, nullptr);
    EXPECT_NE(reopened->Cont2D()->FindLayer(L"Dimensions"), nullptr);
    EXPECT_NE(dynamic_cast<const FIXING_POINT*>(reopened->Cont2D()->GetSafeObject(pointId)), nullptr);
    ASSERT_TRUE(drawing.Undo());
    EXPECT_EQ(drawing.GetSafeObject(pointId), nullptr);
    ASSERT_TRUE(drawing.Undo());
    EXPECT_EQ(drawing.GetSafeObject(layerId), nullptr);
}

} // namespace
} // namespace dvapp::test
