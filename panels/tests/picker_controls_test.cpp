// The layer and coordinate-system controls of the system panel: what their drop-downs list,
// where a choice goes, a new layer named by the person, and the values every copy shows.
#include "panels/PickerDialogs.h"
#include "panels/SysPanelControls.h"

#include "panel_fixture.h"

#include "DVTextCore/I18n.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/Objects.h"
#include "DravikKernel/Parameters.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/View.h"
#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "pal/text.h"
#include "xtp/CommandBars.h"
#include "xtp/FrameWnd.h"
#include "xtp/ToolBar.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace Dravik;

// A frame that records the commands its controls send, with the value they point to, and that
// copies an executed control's value into the other copies, as the main frame does.
class Frame : public panels::test::BarFrame {
public:
    struct Command {
        int id;
        std::int32_t value;
        bool inUndoBlock;
    };
    std::vector<Command> commands;
    std::vector<CXTPControl*> copies;
    CDvw32Doc* document = nullptr;

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        const int id = LOWORD(wParam);
        if (id == 911 || id == 912 || id == 2130 || id == 2875) {
            commands.push_back({id, lParam != 0 ? *reinterpret_cast<const std::int32_t*>(lParam) : 0,
                                document != nullptr && document->Cont2D()->InUndoBlock()});
            return TRUE;
        }
        return CXTPFrameWnd::OnCommand(wParam, lParam);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_XTP_CONTROLNOTIFY) {
            auto* source = dynamic_cast<IDataExchange*>(reinterpret_cast<NMXTPCONTROL*>(lParam)->pControl);
            for (CXTPControl* copy : copies)
                if (auto* exchange = dynamic_cast<IDataExchange*>(copy);
                    exchange != nullptr && exchange != source)
                    exchange->CopyValueFrom(*source);
            return 0;
        }
        return CXTPFrameWnd::WindowProc(message, wParam, lParam);
    }
};

// The shell's side: the one frame, and the input form answered as the test says.
class Module : public panels::test::FrameModule {
public:
    std::optional<std::wstring> formAnswer; // none: the form is cancelled
    int forms = 0;
    int ShowSettingsDialog(HWND, unsigned caption,
                           std::vector<UIModuleProxy::SettingsEntry>& entries) override {
        ++forms;
        EXPECT_EQ(caption, 10123u);
        EXPECT_EQ(entries.size(), 2u);
        EXPECT_EQ(entries.at(1).MaxLength, 255);
        if (!formAnswer)
            return IDCANCEL;
        entries.at(1).Text = *formAnswer;
        return IDOK;
    }
};

// The application's callback: an integer for the panel reaches every copy, as every frame's
// system panel and ribbon would take it.
class Kernel : public DravikServerAppProxy {
public:
    std::vector<CXTPControl*>* copies = nullptr;
    void set_syspanel_int(DVDocument* document, int id, std::int32_t value) override {
        for (CXTPControl* copy : *copies)
            if (copy->GetID() == id)
                dynamic_cast<IDataExchange*>(copy)->SetValue(document, SysPanelValue{0.0, -1, value, L""});
    }
};

std::shared_ptr<LAYER> layer(const wchar_t* name, std::array<std::uint8_t, 7> states = {}, double width = 0) {
    auto made = std::make_shared<LAYER>();
    made->name = name;
    made->states = states;
    made->lineWidth = width;
    made->color = 3;
    return made;
}

class Pickers : public panels::test::PanelTest<Frame, Module> {
protected:
    Pickers() : PanelTest(L"Pickers", CRect(0, 0, 800, 420)) {}

    void SetUp() override {
        SandboxTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(startApp());
        kernel.copies = &app.frame->copies;
        app.frame->document = &active;
        CXTPToolBar* panel = app.frame->GetCommandBars()->Add(L"System panel", xtpBarTop);
        CXTPToolBar* second = app.frame->GetCommandBars()->Add(L"Ribbon stand-in", xtpBarTop);
        layers = new CLayerPopupControl;
        panel->GetControls()->Add(layers, 911);
        layersCopy = new CLayerPopupControl;
        second->GetControls()->Add(layersCopy, 911);
        lcs = new LCSPopupControl;
        panel->GetControls()->Add(lcs, 912);
        lcsCopy = new LCSPopupControl;
        second->GetControls()->Add(lcsCopy, 912);
        app.frame->copies = {layers, layersCopy, lcs, lcsCopy};
        app.frame->RecalcLayout();
        addDocuments();

        DVDocument& c = *active.Cont2D();
        c.SetPages(
            {Page{PageKind::Sheet, 420, 297, L"Sheet A"}, Page{PageKind::Sheet, 297, 210, L"Sheet B"}});
        base = c.CreateElement(layer(L"0"));
        contour = c.CreateElement(layer(L"Contour", {0, 0, 0, 1, 0, 0, 0}, 0.5));
        axes = c.CreateElement(layer(L"Axes", {1, 0, 1, 0, 1, 0, 0}));
        projectedSystem = system(L"Model origin", 0);
        freeSystem = system(L"Top face", 0);
        system(L"Other sheet's system", 1);
        boreLcs = point(L"Bore axis", 0, projectedSystem);
        point(L"Other sheet's axis", 1, -1);
        c.SetCurrentPage(0);
        setLayer(base);
    }
    std::int64_t system(const wchar_t* name, std::uint32_t page) {
        auto made = std::make_shared<CoordinateSystem3D>();
        made->name = name;
        made->page = page;
        return active.Cont2D()->CreateElement(made);
    }
    std::int64_t point(const wchar_t* name, std::uint32_t page, std::int64_t projection) {
        auto made = std::make_shared<FIXING_POINT>();
        made->name = name;
        made->page = page;
        made->projection = projection;
        return active.Cont2D()->CreateElement(made);
    }
    void setLayer(std::int64_t id) {
        for (CLayerPopupControl* c : {layers, layersCopy})
            c->SetValue(active.Cont2D(), SysPanelValue{0.0, -1, static_cast<std::int32_t>(id), L""});
    }
    static std::vector<std::wstring> texts(CListCtrl& list) {
        std::vector<std::wstring> all;
        for (int i = 0; i < list.GetItemCount(); ++i)
            all.push_back(std::wstring(list.GetItemText(i, 0)));
        return all;
    }
    static void selectOnly(CListCtrl& list, std::vector<int> rows) {
        for (int i = 0; i < list.GetItemCount(); ++i)
            list.SetItemState(i, 0, LVIS_SELECTED);
        for (int row : rows)
            list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    static void click(CDialog& dialog, CListCtrl& list, int row) {
        NMITEMACTIVATE item{};
        item.hdr.hwndFrom = list.GetSafeHwnd();
        item.hdr.idFrom = static_cast<UINT_PTR>(list.GetDlgCtrlID());
        item.hdr.code = NM_CLICK;
        item.iItem = row;
        dialog.SendMessage(WM_NOTIFY, item.hdr.idFrom, reinterpret_cast<LPARAM>(&item));
    }
    // Drops the layer list and picks the row with a click; -1 is the last row, the new layer.
    void pickLayerRow(int row) {
        layers->ShowLayerDialog();
        CLayerSelectDialog* dialog = layers->GetLayerDialog();
        ASSERT_NE(dialog->GetSafeHwnd(), nullptr);
        if (row < 0)
            row = dialog->GetList().GetItemCount() - 1;
        selectOnly(dialog->GetList(), {row});
        click(*dialog, dialog->GetList(), row);
    }
    std::int32_t defaultLayer() { return active.GetDefaultParameters().GetDefaultLayer(); }

    Kernel kernel;
    CLayerPopupControl* layers = nullptr;
    CLayerPopupControl* layersCopy = nullptr;
    LCSPopupControl* lcs = nullptr;
    LCSPopupControl* lcsCopy = nullptr;
    std::int64_t base = -1, contour = -1, axes = -1, projectedSystem = -1, freeSystem = -1, boreLcs = -1;
};

// ---- layers -----------------------------------------------------------------------------------

TEST_F(Pickers, TheLayerListShowsTheDrawingsLayersAndAPickGoesToTheDefaultsTheCommandAndEveryCopy) {
    layers->ShowLayerDialog();
    CLayerSelectDialog* dialog = layers->GetLayerDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(dialog->GetSafeHwnd(), nullptr);
    EXPECT_TRUE(layers->GetPressed());
    EXPECT_EQ(texts(dialog->GetList()),
              (std::vector<std::wstring>{L"0", L"Contour", L"Axes", L"New layer..."}));
    EXPECT_EQ(dialog->GetList().GetSelection(), std::vector<std::int64_t>{base})
        << "the shown layer is selected";
    CRect window;
    dialog->GetWindowRect(&window);
    EXPECT_EQ(window.Size(), layers->GetDialogRect().Size()) << "the drop-down opens at the remembered size";
    ASSERT_TRUE(pal::test::keepSnapshot(app.frame->GetSafeHwnd(), "layer_panel"));
    ASSERT_TRUE(pal::test::keepSnapshot(dialog->GetSafeHwnd(), "layer_drop_down"));

    // The person makes it larger, then picks Axes.
    dialog->SetWindowPos(nullptr, 0, 0, 340, 260, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    selectOnly(dialog->GetList(), {2});
    click(*dialog, dialog->GetList(), 2);
    EXPECT_EQ(dialog->GetSafeHwnd(), nullptr);
    EXPECT_FALSE(layers->GetPressed());
    EXPECT_EQ(layers->GetLayer(), axes);
    EXPECT_EQ(layersCopy->GetLayer(), axes) << "every copy shows it";
    EXPECT_EQ(defaultLayer(), axes);
    ASSERT_EQ(app.frame->commands.size(), 1u);
    EXPECT_EQ(app.frame->commands[0].id, 911);
    EXPECT_EQ(app.frame->commands[0].value, axes);
    EXPECT_EQ(layers->GetDialogRect().Size(), CSize(340, 260)) << "the next drop-down opens so";

    // The same layer again changes and sends nothing.
    pickLayerRow(2);
    EXPECT_EQ(app.frame->commands.size(), 1u);
}

TEST_F(Pickers, APickWithObjectsSelectedGoesToThemAndStillReachesTheOtherCopy) {
    const int layerId = ObjectParametersProvider::Instance().GetDescriptorByName(L"Layer")->Id;
    auto object = std::make_shared<CDVObject>();
    active.GetParameters().Selection.push_back(object);
    pickLayerRow(1);
    EXPECT_EQ(*object->GetParameterValue(layerId)->get<dveval::VariantParameter::Integer>(), contour);
    EXPECT_TRUE(app.frame->commands.empty()) << "the selection took it; no command hears of it";
    EXPECT_EQ(layersCopy->GetLayer(), contour) << "without this the copy would keep the old layer";
    // Picking Contour in the copy is therefore no change.
    EXPECT_EQ(defaultLayer(), 0);
}

TEST_F(Pickers, SeveralSelectedEntriesChangeNothing) {
    layers->ShowLayerDialog();
    CLayerSelectDialog* dialog = layers->GetLayerDialog();
    selectOnly(dialog->GetList(), {1, 2});
    click(*dialog, dialog->GetList(), 2);
    dialog->SendMessage(WM_COMMAND, IDOK, 0);
    EXPECT_NE(dialog->GetSafeHwnd(), nullptr);
    EXPECT_EQ(layers->GetLayer(), base);
    // Enter with one entry takes it and keeps the drop-down.
    selectOnly(dialog->GetList(), {1});
    dialog->SendMessage(WM_COMMAND, IDOK, 0);
    EXPECT_NE(dialog->GetSafeHwnd(), nullptr);
    EXPECT_EQ(layers->GetLayer(), contour);
    // Becoming inactive closes it without a choice.
    selectOnly(dialog->GetList(), {2});
    dialog->SendMessage(WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    EXPECT_EQ(dialog->GetSafeHwnd(), nullptr);
    EXPECT_FALSE(layers->GetPressed());
    EXPECT_EQ(layers->GetLayer(), contour);
}

TEST_F(Pickers, ANewLayerIsNamedMadeInOneUndoStepAndApplied) {
    struct Case {
        const char* what;
        std::optional<std::wstring> answer;
        bool made;
        std::wstring message; // the message box's text, empty for none
    };
    const Case cases[] = {
        {"cancelled", std::nullopt, false, L""},
        {"blanks", L"   \t ", false, L""},
        {"an existing name", L"Axes", false, L"A layer named \"Axes\" already exists."},
        {"300 characters", std::wstring(300, L'x'), false,
         L"A layer name has at most 255 characters and no control characters."},
        {"a control character", L"bad\x01name", false,
         L"A layer name has at most 255 characters and no control characters."},
        {"names differ by case", L"axes", true, L""},
        {"trimmed", L"  Hatching  ", true, L""},
    };
    for (const Case& c : cases) {
        module.formAnswer = c.answer;
        if (!c.message.empty())
            answer(IDOK);
        const std::size_t objects = active.Cont2D()->GetObjects().size();
        const std::size_t steps = active.Cont2D()->GetUndoCount();
        const std::int32_t before = layers->GetLayer();
        const std::size_t promptsBefore = journal("prompt").size();
        pickLayerRow(-1);
        EXPECT_EQ(layers->GetLayerDialog()->GetSafeHwnd(), nullptr) << c.what;
        EXPECT_EQ(active.Cont2D()->GetObjects().size(), objects + (c.made ? 1 : 0)) << c.what;
        EXPECT_EQ(active.Cont2D()->GetUndoCount(), steps + (c.made ? 1 : 0)) << c.what;
        const auto prompts = journal("prompt");
        EXPECT_EQ(prompts.size(), promptsBefore + (c.message.empty() ? 0 : 1)) << c.what;
        if (!c.message.empty() && !prompts.empty()) {
            EXPECT_EQ(prompts.back().get("text"), pal::text::toUtf8(c.message)) << c.what;
        }
        if (!c.made) {
            EXPECT_EQ(layers->GetLayer(), before) << c.what;
            continue;
        }
        const std::int32_t made = layers->GetLayer();
        ASSERT_NE(active.Cont2D()->GetSafeObject(made), nullptr) << c.what;
        EXPECT_EQ(active.Cont2D()->GetSafeObject(made)->GetName(),
                  c.what == std::string("trimmed") ? L"Hatching" : L"axes");
        EXPECT_EQ(defaultLayer(), made) << c.what;
        EXPECT_EQ(layersCopy->GetLayer(), made) << c.what;
        EXPECT_EQ(active.Cont2D()->GetUndoName(), L"New layer") << c.what;
    }
    EXPECT_EQ(module.forms, static_cast<int>(std::size(cases)));
    // Undo takes the last layer away; the control then draws nothing for it.
    const std::int32_t last = layers->GetLayer();
    ASSERT_TRUE(active.Cont2D()->Undo());
    EXPECT_EQ(active.Cont2D()->GetSafeObject(last), nullptr);
    layers->RedrawParent();
}

TEST_F(Pickers, TheLayerControlTakesOnlyItsFramesDrawing) {
    layers->SetValue(other.Cont2D(), SysPanelValue{0.0, -1, static_cast<std::int32_t>(axes), L""});
    EXPECT_EQ(layers->GetLayer(), base);
    layers->SetValue(nullptr, SysPanelValue{0.0, -1, static_cast<std::int32_t>(axes), L""});
    EXPECT_EQ(layers->GetLayer(), base);
    layers->Reset();
    EXPECT_EQ(layers->GetLayer(), -1);
    // Without a drawing nothing drops.
    DocumentManager::Instance().SetActiveDocument(nullptr, app.frame->GetSafeHwnd());
    layers->ShowLayerDialog();
    EXPECT_TRUE(layers->GetLayerDialog() == nullptr || layers->GetLayerDialog()->GetSafeHwnd() == nullptr);
    EXPECT_FALSE(layers->GetPressed());
}

TEST_F(Pickers, StateIconsStopAtTheFirstThatDoesNotFit) {
    struct Case {
        const char* what;
        std::array<std::uint8_t, 7> states;
        double width;
        int room; // pixels right of the name
        std::vector<int> drawn;
    };
    const Case cases[] = {
        {"none set", {}, 0, 200, {}},
        {"every one", {1, 0, 1, 1, 1, 1, 1}, 0.3, 200, {546, 548, 550, 0, 556, 558, 554}},
        {"hidden by the second byte's low bits", {0, 2, 0, 0, 0, 0, 0}, 0, 200, {546}},
        {"the second byte's other bits", {0, 4, 0, 0, 0, 0, 0}, 0, 200, {}},
        {"room for three", {1, 0, 1, 1, 1, 1, 1}, 0.3, 3 * 15 + 1, {546, 548, 550}},
        {"an icon must end left of the edge", {1, 0, 1, 1, 1, 1, 1}, 0.3, 3 * 15, {546, 548}},
    };
    for (const Case& c : cases) {
        LAYER l;
        l.states = c.states;
        l.lineWidth = c.width;
        std::vector<int> drawn;
        for (const auto& [icon, x] : CLayerPopupControl::IconPlaces(l, 100, 100 + c.room))
            drawn.push_back(icon);
        EXPECT_EQ(drawn, c.drawn) << c.what;
    }
}

TEST_F(Pickers, TheLayerControlFollowsTheSelectionOrTheDefaults) {
    auto* view = new CDVView; // a view deletes itself with its window
    ASSERT_TRUE(view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 80, 200, 200), app.frame, 1));
    const int layerId = ObjectParametersProvider::Instance().GetDescriptorByName(L"Layer")->Id;
    active.GetDefaultParameters().SetDefaultLayer(static_cast<std::int32_t>(contour), false);
    auto select = [&](std::vector<std::int64_t> ids) {
        active.GetParameters().Selection.clear();
        for (std::int64_t id : ids) {
            auto object = std::make_shared<CDVObject>();
            object->SetParameterValue(layerId, dveval::VariantParameter(static_cast<std::int32_t>(id)));
            active.GetParameters().Selection.push_back(object);
        }
    };
    struct Case {
        const char* what;
        std::vector<std::int64_t> selected;
        unsigned flags;
        bool inCommand;
        std::int64_t shown;
    };
    const Case cases[] = {
        {"objects on one layer show it", {axes, axes}, 0, false, axes},
        {"objects on several show the default", {axes, base}, 0, false, contour},
        {"flag 0x20 is ignored", {axes}, 0x20, false, contour},
        {"a document in a command is ignored", {axes}, 0, true, contour},
        {"nothing selected shows the default", {}, 0, false, contour},
    };
    for (const Case& c : cases) {
        select(c.selected);
        if (c.inCommand)
            active.BeginCommand(L"LINE");
        ApplicationEventArgs args(&active, c.flags, view);
        ApplicationEventManager::runEvent(515, args);
        active.EndCommand();
        EXPECT_EQ(layers->GetLayer(), c.shown) << c.what;
    }
    // Its own change (source 0) is not read back.
    select({axes});
    ObjectsPropertiesChangedArgs own(&active, 0, view);
    ApplicationEventManager::runEvent(1037, own);
    EXPECT_EQ(layers->GetLayer(), contour);
    view->DestroyWindow();
}

// ---- coordinate systems ---------------------------------------------------------------------

TEST_F(Pickers, TheCoordinateListOffersThePageItsSystemsAndTheCommandLast) {
    lcs->ShowLCSDialog();
    LCSSelectDialog* dialog = lcs->GetLCSDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(dialog->GetSafeHwnd(), nullptr);
    const std::vector<std::wstring> expected = {
        I18n::Translate("PageCoordinateSystem") + L" (Sheet A)",
        L"Bore axis",
        L"Top face",
        I18n::Translate("CreateOrSelectCoordinateSystem"),
    };
    EXPECT_EQ(texts(dialog->GetList()), expected)
        << "other sheets' systems are left out, and the model's origin shows through its axis";
    bool selected = false;
    EXPECT_EQ(dialog->GetList().GetSelectedObject(&selected), active.Cont2D()->GetPageObject(0));
    EXPECT_TRUE(selected) << "the page's own system is the current one";
    ASSERT_TRUE(pal::test::keepSnapshot(app.frame->GetSafeHwnd(), "coordinate_panel"));
    ASSERT_TRUE(pal::test::keepSnapshot(dialog->GetSafeHwnd(), "coordinate_drop_down"));

    // A change that leaves nothing selected chooses nothing (not the last entry's command),
    // and picking the current entry again keeps the list open.
    dialog->GetList().SetItemState(0, 0, LVIS_SELECTED);
    EXPECT_NE(dialog->GetSafeHwnd(), nullptr);
    dialog->GetList().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_NE(dialog->GetSafeHwnd(), nullptr);
    EXPECT_TRUE(app.frame->commands.empty());

    // The system the pointer is over is the one the drawing highlights.
    NMLISTVIEW hot{};
    hot.hdr.hwndFrom = dialog->GetList().GetSafeHwnd();
    hot.hdr.idFrom = LCSList::IDC_LIST;
    hot.hdr.code = LVN_HOTTRACK;
    hot.iItem = 1;
    dialog->SendMessage(WM_NOTIFY, hot.hdr.idFrom, reinterpret_cast<LPARAM>(&hot));
    EXPECT_EQ(active.Cont2D()->GetLastFoundObject(), active.Cont2D()->GetSafeObject(boreLcs));
}

TEST_F(Pickers, EachKindOfEntryIsChosenItsOwnWay) {
    struct Case {
        const char* what;
        int row;
        std::int32_t start;
        bool madeLCS;
        std::vector<int> commands;
    };
    const Case cases[] = {
        {"a local system", 1, -1, false, {912}},
        {"the page's own", 0, 5, false, {912}},
        {"a model system gets a local one, in one step", 2, -1, true, {912}},
        {"the last entry starts the command", 3, -1, false, {2130}},
    };
    for (const Case& c : cases) {
        app.frame->commands.clear();
        lcs->SetValue(active.Cont2D(), SysPanelValue{0.0, -1, c.start, L""});
        const std::size_t objects = active.Cont2D()->GetObjects().size();
        const std::size_t steps = active.Cont2D()->GetUndoCount();
        lcs->ShowLCSDialog();
        LCSSelectDialog* dialog = lcs->GetLCSDialog();
        ASSERT_NE(dialog->GetSafeHwnd(), nullptr) << c.what;
        CListCtrl& list = dialog->GetList();
        list.SetItemState(c.row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        EXPECT_FALSE(lcs->GetPressed()) << c.what << ": the drop-down closed";
        std::vector<int> ids;
        for (const auto& command : app.frame->commands)
            ids.push_back(command.id);
        EXPECT_EQ(ids, c.commands) << c.what;
        EXPECT_EQ(active.Cont2D()->GetObjects().size(), objects + (c.madeLCS ? 1 : 0)) << c.what;
        EXPECT_EQ(active.Cont2D()->GetUndoCount(), steps + (c.madeLCS ? 1 : 0)) << c.what;
        switch (c.row) {
        case 0:
            EXPECT_EQ(lcs->GetLCS(), -1) << c.what;
            break;
        case 1:
            EXPECT_EQ(lcs->GetLCS(), boreLcs) << c.what;
            EXPECT_EQ(lcsCopy->GetLCS(), boreLcs) << c.what << ": every copy shows it";
            break;
        case 2: {
            const auto* made =
                dynamic_cast<const FIXING_POINT*>(active.Cont2D()->GetSafeObject(lcs->GetLCS()));
            ASSERT_NE(made, nullptr) << c.what;
            EXPECT_EQ(made->projection, freeSystem) << c.what;
            EXPECT_TRUE(made->visible) << c.what;
            EXPECT_EQ(made->type, 2u) << c.what;
            EXPECT_TRUE(app.frame->commands.at(0).inUndoBlock)
                << c.what << ": the command hears of it inside the step";
            EXPECT_EQ(app.frame->commands.at(0).value, lcs->GetLCS()) << c.what;
            break;
        }
        default:
            EXPECT_EQ(lcs->GetLCS(), c.start) << c.what << ": the value stays";
        }
    }
    // The made system now hides its model system from the list.
    lcs->ShowLCSDialog();
    EXPECT_EQ(lcs->GetLCSDialog()->GetList().GetItemCount(), 4);
    lcs->CloseLCSDialog();
}

TEST_F(Pickers, AValueBelowMinusOneAsksTheFrameAgainAndKeepsMinusOne) {
    lcs->SetValue(active.Cont2D(), SysPanelValue{0.0, -1, static_cast<std::int32_t>(boreLcs), L""});
    lcs->SetLCS(-7);
    EXPECT_EQ(lcs->GetLCS(), -1);
    ASSERT_EQ(app.frame->commands.size(), 1u);
    EXPECT_EQ(app.frame->commands[0].id, 2875);
    EXPECT_EQ(lcsCopy->GetLCS(), -1) << "nobody else was told";
    // A stale value draws no text and drops nothing wrong.
    lcs->SetValue(active.Cont2D(), SysPanelValue{0.0, -1, 9999, L""});
    lcs->RedrawParent();
    lcs->ShowLCSDialog();
    bool selected = true;
    EXPECT_EQ(lcs->GetLCSDialog()->GetList().GetSelectedObject(&selected), nullptr);
    EXPECT_FALSE(selected);
    lcs->CloseLCSDialog();
    // Without a drawing nothing drops, and a reset goes back to the page's system.
    DocumentManager::Instance().SetActiveDocument(nullptr, app.frame->GetSafeHwnd());
    lcs->ShowLCSDialog();
    EXPECT_EQ(lcs->GetLCSDialog()->GetSafeHwnd(), nullptr);
    lcs->Reset();
    EXPECT_EQ(lcs->GetLCS(), -1);
}

} // namespace
