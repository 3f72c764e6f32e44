// The 3D module's profile popup over a kernel view of the sample drawing: what it lists on
// each opening, the swatches of its entries, and what a chosen entry hands to the module.
#include "drawing_shell_fixture.h"

#include "ribbon/ProfilePopup.h"

#include "DVDiagnostics/test/hooks.h"
#include "DVGC/ColorTable.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "pal/gdi.h"

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace dvribbon::test {
namespace {

class ProfilePopupTest : public DrawingShellTest {
protected:
    void SetUp() override {
        DrawingShellTest::SetUp();
        CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
        popup = place(new ProfilePopup(app_.bars), 1118);
    }
    // Opens and closes the popup; what it listed.
    std::vector<CXTPControl*> open() {
        popup->OnSetPopup(TRUE);
        std::vector<CXTPControl*> listed;
        CXTPControls* entries = popup->GetCommandBar()->GetControls();
        for (int i = 0; i < entries->GetCount(); ++i)
            listed.push_back(entries->GetAt(i));
        popup->OnSetPopup(FALSE);
        return listed;
    }
    static std::vector<std::wstring> captions(const std::vector<CXTPControl*>& controls) {
        std::vector<std::wstring> out;
        for (CXTPControl* c : controls)
            out.emplace_back(c->GetCaption().GetString());
        return out;
    }
    // The opaque ARGB pixels of an icon's normal image, row by row.
    static std::vector<std::uint32_t> pixelsOf(CXTPImageManagerIcon* icon) {
        ICONINFO info{};
        std::vector<std::uint32_t> out;
        if (icon == nullptr || !::GetIconInfo(icon->GetIcon(), &info))
            return out;
        const pal::gdi::Surface colour = pal::gdi::surfaceOf(info.hbmColor);
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        cairo_surface_flush(colour.get());
        const unsigned char* data = cairo_image_surface_get_data(colour.get());
        const int stride = cairo_image_surface_get_stride(colour.get());
        for (int y = 0; y < colour.height(); ++y)
            for (int x = 0; x < colour.width(); ++x)
                out.push_back(*reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4));
        return out;
    }
    ProfilePopup* popup = nullptr;
};

TEST_F(ProfilePopupTest, WithoutADocumentOnlyTheTranslatedEmptyLabelShows) {
    const auto listed = open();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0], popup->GetEmptyLabel());
    EXPECT_EQ(captions(listed)[0], Dravik::I18n::Translate(L"profile_popup.empty"));
    EXPECT_EQ(open().size(), 1u) << "the label is added again, not twice";
}

// What the module offers for the view, and what the popup lists for it.
TEST_F(ProfilePopupTest, ListsWhatTheModuleOffersForTheActiveView) {
    CDvw32Doc* doc = openSample();
    ASSERT_NE(doc, nullptr);
    CDVView* view = viewOf(doc);
    ASSERT_NE(view, nullptr);
    const std::wstring longName(10000, L'Ж');
    struct Case {
        const char* what;
        bool offered;
        std::vector<std::wstring> names;
        std::vector<std::int32_t> colors;
        std::vector<std::wstring> listed; // empty: the label alone
        std::vector<int> colorIndexes;
    };
    const std::vector<Case> cases = {
        {"no profiles for the view", false, {}, {}, {}, {}},
        {"an empty list", true, {}, {}, {}, {}},
        {"two profiles, one without colour",
         true,
         {L"Steel", L"Glass"},
         {1, -1},
         {L"Steel", L"Glass"},
         {1, -1}},
        {"fewer colours than profiles", true, {L"A", L"B", L"C"}, {5}, {L"A", L"B", L"C"}, {5, -1, -1}},
        {"a name of 10,000 characters", true, {longName}, {3}, {longName}, {3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dvkernel::test::reset();
        CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
        if (c.offered)
            CDVCom_Is3D::SetViewProfiles(view->GetProfileObject(), c.names, c.colors);
        const auto listed = open();
        if (c.listed.empty()) {
            ASSERT_EQ(listed.size(), 1u);
            EXPECT_EQ(listed[0], popup->GetEmptyLabel());
            continue;
        }
        EXPECT_EQ(captions(listed), c.listed);
        for (std::size_t i = 0; i < listed.size(); ++i) {
            auto* button = dynamic_cast<ProfileButton*>(listed[i]);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->GetColorIndex(), c.colorIndexes[i]);
            EXPECT_EQ(button->GetIconId() == kProfileSwatchIconId, c.colorIndexes[i] != -1);
            EXPECT_EQ(button->GetImage(16) != nullptr, c.colorIndexes[i] != -1);
            EXPECT_TRUE(button->GetFlags() & xtpFlagManualUpdate);
            EXPECT_TRUE(button->IsTemporary()) << "built on the fly";
        }
    }
}

TEST_F(ProfilePopupTest, ASwatchIsAOnePixelBlackRingAroundTheColourMadeOncePerSize) {
    ProfileButton button(L"Steel", 1);
    CXTPImageManagerIcon* small = button.GetImage(16);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(button.GetImage(16), small);
    CXTPImageManagerIcon* large = button.GetImage(24);
    ASSERT_NE(large, nullptr);
    EXPECT_NE(large, small);
    const COLORREF rgb = GetColorTable()->GetColor(1);
    const std::uint32_t fill = 0xFF000000u | ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    const std::vector<std::uint32_t> pixels = pixelsOf(small);
    ASSERT_EQ(pixels.size(), 256u);
    int inner = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool ring = x == 0 || y == 0 || x == 15 || y == 15;
            EXPECT_EQ(pixels[static_cast<std::size_t>(y * 16 + x)], ring ? 0xFF000000u : fill)
                << x << "," << y;
            inner += !ring;
        }
    EXPECT_EQ(inner, 14 * 14);
    EXPECT_EQ(ProfileButton(L"None", -1).GetImage(16), nullptr);
}

TEST_F(ProfilePopupTest, InCustomiseModeTheContentStaysAsItWas) {
    CDvw32Doc* doc = openSample();
    ASSERT_NE(doc, nullptr);
    CDVView* view = viewOf(doc);
    CDVCom_Is3D::SetViewProfiles(view->GetProfileObject(), {L"Steel"}, {1});
    ASSERT_EQ(captions(open()), std::vector<std::wstring>{L"Steel"});
    CDVCom_Is3D::SetViewProfiles(view->GetProfileObject(), {L"Glass", L"Wood"}, {2, 3});
    app_.bars->SetCustomizeMode(TRUE);
    EXPECT_EQ(captions(open()), std::vector<std::wstring>{L"Steel"});
    app_.bars->SetCustomizeMode(FALSE);
    EXPECT_EQ(captions(open()), (std::vector<std::wstring>{L"Glass", L"Wood"}));
}

TEST_F(ProfilePopupTest, AChosenProfileReachesTheModuleWithItsCaption) {
    CDvw32Doc* doc = openSample();
    ASSERT_NE(doc, nullptr);
    CDVView* view = viewOf(doc);
    CDVCom_Is3D::SetViewProfiles(view->GetProfileObject(), {L"Steel", L"Сталь 45"}, {1, 2});
    popup->OnSetPopup(TRUE);
    dvtrace::test::clear();
    popup->GetCommandBar()->GetControls()->GetAt(1)->OnExecute();
    run_->pump();
    const auto calls = dvtrace::test::callsOf("DravikKernel");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "CDVCom_Is3D::ApplyProfile(Сталь 45)"), 1)
        << calls.size();
    EXPECT_FALSE(popup->GetPopuped()) << "choosing closes the popup";
    // The content lives until the next opening: a button chosen once its drawing is closed
    // has no view to hand its profile to.
    app_.CloseAllDocuments(TRUE);
    run_->pump();
    ASSERT_EQ(DVGetActiveView(), nullptr);
    dvtrace::test::clear();
    popup->GetCommandBar()->GetControls()->GetAt(0)->OnExecute();
    run_->pump();
    const auto later = dvtrace::test::callsOf("DravikKernel");
    EXPECT_EQ(
        std::count_if(later.begin(), later.end(),
                      [](const std::string& c) { return c.rfind("CDVCom_Is3D::ApplyProfile", 0) == 0; }),
        0);
}

TEST_F(ProfilePopupTest, AClonedOrMadeFromItsClassPopupHasNoBarOfItsOwn) {
    EXPECT_STREQ(popup->GetRuntimeClass()->m_lpszClassName, "ProfilePopup");
    EXPECT_TRUE(popup->GetFlags() & xtpFlagManualUpdate);
    CXTPControl* copy = popup->Clone();
    ASSERT_NE(dynamic_cast<ProfilePopup*>(copy), nullptr);
    EXPECT_EQ(copy->GetID(), 1118);
    copy->InternalRelease();
    CObject* made = RUNTIME_CLASS(ProfilePopup)->CreateObject();
    auto* fresh = dynamic_cast<ProfilePopup*>(made);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->GetCommandBar(), nullptr);
    EXPECT_FALSE(fresh->OnSetPopup(TRUE)) << "nothing to open";
    fresh->InternalRelease();
}

} // namespace
} // namespace dvribbon::test
