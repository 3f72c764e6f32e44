// The element-name box over kernel views of the sample drawing: what a search selects, what it
// keeps in the drawing's name history, what the drop-down offers, and the text it refuses.
#include "drawing_shell_fixture.h"

#include "ribbon/FindComboBox.h"

#include <list>
#include <string>
#include <vector>

namespace dvribbon::test {
namespace {

class FindComboBoxTest : public DrawingShellTest {
protected:
    void SetUp() override {
        DrawingShellTest::SetUp();
        box = place(new CFindComboBox, 1251);
        app_.main()->RecalcLayout();
        run_->pump();
    }
    // Types the text and presses Enter.
    void search(const std::wstring& text) {
        box->SetEditText(text.c_str());
        box->OnExecute();
        run_->pump();
    }
    // The names the drop-down offers.
    std::vector<std::wstring> offered() const {
        std::vector<std::wstring> out;
        for (int i = 0; i < box->GetCount(); ++i)
            out.emplace_back(box->GetLBText(i).GetString());
        return out;
    }
    // The name of the element the view has selected; empty for none.
    static std::wstring selectedName(CDVView* view) {
        if (view->GetSelection().size() != 1)
            return {};
        return view->GetDvwDocument()->Cont2D()->GetElements()[view->GetSelection()[0]].name;
    }
    size_t beeps() const { return journal("sound").size(); }
    CFindComboBox* box = nullptr;
};

TEST_F(FindComboBoxTest, SearchesSelectTheNamedElementAndKeepTheNamesFoundLatestFirst) {
    CDvw32Doc* doc = openSample();
    ASSERT_NE(doc, nullptr);
    CDVView* view = viewOf(doc);
    ASSERT_NE(view, nullptr);
    using Names = std::list<std::wstring>;
    struct Case {
        std::wstring typed;
        std::wstring selected; // empty: nothing selected
        Names history;
        size_t beeps;
    };
    const std::vector<Case> cases = {
        {L"bore", L"bore", {L"bore"}, 0},
        {L"  slot left\t", L"slot left", {L"slot left", L"bore"}, 0},
        {L"bore", L"bore", {L"bore", L"slot left"}, 0},
        {L"Bore", L"", {L"bore", L"slot left"}, 1},
        {L"no such element", L"", {L"bore", L"slot left"}, 2},
        {L"axis x", L"axis x", {L"axis x", L"bore", L"slot left"}, 2},
        {L"   ", L"axis x", {L"axis x", L"bore", L"slot left"}, 2},
        {L"", L"axis x", {L"axis x", L"bore", L"slot left"}, 2},
        {std::wstring(10000, L'x'), L"", {L"axis x", L"bore", L"slot left"}, 3},
        {L"bo\x01re\x7f", L"", {L"axis x", L"bore", L"slot left"}, 4},
        {L" клеймо ОТК ", L"клеймо ОТК", {L"клеймо ОТК", L"axis x", L"bore", L"slot left"}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.size() < 40 ? pal::text::toUtf8(c.typed) : "long");
        if (box->GetEditCtrl() != nullptr && box->GetEditCtrl()->m_hWnd != nullptr)
            box->GetEditCtrl()->SetFocus();
        search(c.typed);
        EXPECT_EQ(selectedName(view), c.selected);
        EXPECT_EQ(doc->GetNameHistory(), c.history);
        EXPECT_EQ(beeps(), c.beeps);
        EXPECT_EQ(box->GetEditText(), L"") << "the field is cleared in every case";
        EXPECT_EQ(box->GetCount(), 0);
        CWnd* focus = CWnd::GetFocus();
        EXPECT_TRUE(focus != nullptr &&
                    (focus == app_.main() || ::IsChild(app_.main()->m_hWnd, focus->m_hWnd)))
            << "the frame that holds the box has the keys";
        EXPECT_NE(focus, box->GetEditCtrl());
    }
    for (const auto& sound : journal("sound"))
        EXPECT_EQ(sound.get("type"), "0x40") << "the asterisk sound";
}

// With a second main window the application's main one may be the other: the keys go back to
// the frame that holds the box, whose drawing was searched.
TEST_F(FindComboBoxTest, AfterASearchTheKeysGoToTheFrameThatHoldsTheBoxNotTheOtherMainWindow) {
    CDvw32Doc* doc = openSample();
    ASSERT_NE(doc, nullptr);
    auto* other = new CFrameWnd;
    ASSERT_TRUE(other->Create(nullptr, L"Other main window"));
    other->ShowWindow(SW_SHOW);
    CWnd* holder = app_.m_pMainWnd;
    app_.m_pMainWnd = other;
    other->SetFocus();
    run_->pump();
    for (const wchar_t* typed : {L"no such element", L"  ", L"bore"}) {
        SCOPED_TRACE(pal::text::toUtf8(typed));
        other->SetFocus();
        search(typed);
        CWnd* focus = CWnd::GetFocus();
        EXPECT_TRUE(focus != nullptr && (focus == holder || ::IsChild(holder->m_hWnd, focus->m_hWnd)));
        EXPECT_FALSE(focus != nullptr && (focus == other || ::IsChild(other->m_hWnd, focus->m_hWnd)));
    }
    EXPECT_EQ(selectedName(viewOf(doc)), L"bore");
    app_.m_pMainWnd = holder;
    other->DestroyWindow();
    run_->pump();
}

TEST_F(FindComboBoxTest, TheDropDownOffersTheHistoryOfTheActiveViewsDrawing) {
    CDvw32Doc* first = openSample();
    ASSERT_NE(first, nullptr);
    search(L"bore");
    search(L"note");
    CDvw32Doc* second = openSample("second.grb");
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, first);
    search(L"outline");
    box->OnSetFocus(nullptr);
    EXPECT_EQ(offered(), std::vector<std::wstring>{L"outline"});
    first->FindFrame()->ActivateFrame();
    run_->pump();
    box->OnSetFocus(nullptr);
    EXPECT_EQ(offered(), (std::vector<std::wstring>{L"note", L"bore"}));
    // Choosing an offered name searches it.
    box->OnSelChanged(1);
    run_->pump();
    EXPECT_EQ(selectedName(viewOf(first)), L"bore");
    EXPECT_EQ(first->GetNameHistory(), (std::list<std::wstring>{L"bore", L"note"}));
    EXPECT_EQ(box->GetEditText(), L"");
}

TEST_F(FindComboBoxTest, WithoutAViewNothingIsSearchedAndNothingBeeps) {
    search(L"bore");
    EXPECT_EQ(beeps(), 0u);
    EXPECT_EQ(box->GetEditText(), L"");
    box->OnSetFocus(nullptr);
    EXPECT_EQ(box->GetCount(), 0);
}

TEST_F(FindComboBoxTest, ADocumentWithoutTwoDContentBeepsAndKeepsTheSelection) {
    CDvw32Doc* doc = openSample();
    ASSERT_NE(doc, nullptr);
    CDVView* view = viewOf(doc);
    search(L"bore");
    ASSERT_EQ(selectedName(view), L"bore");
    doc->SetHas2DContent(false);
    search(L"outline");
    EXPECT_EQ(beeps(), 1u);
    EXPECT_EQ(view->GetSelection().size(), 1u) << "the selection stays as it was";
    EXPECT_EQ(doc->GetNameHistory(), std::list<std::wstring>{L"bore"});
    doc->SetHas2DContent(true);
}

TEST_F(FindComboBoxTest, IsADropDownWithAnEditFieldOfItsWidthAndClonesAsItself) {
    EXPECT_FALSE(box->GetDropDownListStyle());
    EXPECT_EQ(box->GetWidth(), CXTPDpi::ScaleX(120));
    EXPECT_STREQ(box->GetRuntimeClass()->m_lpszClassName, "CFindComboBox");
    EXPECT_TRUE(box->IsKindOf(RUNTIME_CLASS(CXTPControlComboBox)));
    CXTPControl* copy = box->Clone();
    ASSERT_NE(dynamic_cast<CFindComboBox*>(copy), nullptr);
    EXPECT_EQ(copy->GetID(), 1251);
    EXPECT_EQ(copy->GetWidth(), box->GetWidth());
    copy->InternalRelease();
}

} // namespace
} // namespace dvribbon::test
