// What the shell's element controls ask of the kernel: the 3D module's profiles of a view and
// the choice handed back, and a document's name history and its 2D content.
#include "DravikKernel/Document.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/View.h"
#include "DravikKernel/test/hooks.h"

#include "DVDiagnostics/test/hooks.h"

#include <gtest/gtest.h>

namespace {

class ElementQueries : public ::testing::Test {
protected:
    void SetUp() override { dvkernel::test::reset(); }
    void TearDown() override { dvkernel::test::reset(); }
};

TEST_F(ElementQueries, TheModuleAnswersTheProfilesATestGaveForAViewAndNoneByDefault) {
    CDVView view, other;
    CDVCom_Is3D::SetViewProfiles(view.GetProfileObject(), {L"Steel", L"Glass"}, {4});
    EXPECT_FALSE(view.HasProfiles()) << "no 3D module attached";
    CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
    CDVCom_Is3D* module = CDVCom_Is3D::Instance();
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(view.HasProfiles());
    EXPECT_FALSE(other.HasProfiles());
    std::vector<std::shared_ptr<const CDVProfile>> profiles;
    std::vector<std::int32_t> colors{9, 9, 9};
    module->GetProfiles(view.GetProfileObject(), view.GetProfileNumber(), profiles, colors);
    ASSERT_EQ(profiles.size(), 2u);
    EXPECT_EQ(profiles[1]->GetName(), L"Glass");
    EXPECT_EQ(colors, std::vector<std::int32_t>{4}) << "as the module answers, shorter included";
    module->GetProfiles(other.GetProfileObject(), other.GetProfileNumber(), profiles, colors);
    EXPECT_TRUE(profiles.empty());
    EXPECT_TRUE(colors.empty());
    dvtrace::test::clear();
    module->ApplyProfile(view.GetProfileObject(), L"Glass");
    EXPECT_EQ(dvtrace::test::callsOf("DravikKernel"),
              std::vector<std::string>{"CDVCom_Is3D::ApplyProfile(Glass)"});
    dvkernel::test::reset();
    CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
    EXPECT_FALSE(view.HasProfiles()) << "the kernel's reset forgets them";
}

TEST_F(ElementQueries, ADocumentKeepsItsNameHistoryAndMayLackTwoDContent) {
    CDvw32Doc doc;
    EXPECT_TRUE(doc.GetNameHistory().empty());
    doc.GetNameHistory().push_front(L"bore");
    EXPECT_EQ(doc.GetNameHistory().front(), L"bore");
    ASSERT_NE(doc.Cont2D(), nullptr);
    doc.SetHas2DContent(false);
    EXPECT_EQ(doc.Cont2D(), nullptr);
    CDVView view;
    EXPECT_FALSE(view.SelectObject(nullptr));
    doc.SetHas2DContent(true);
    EXPECT_NE(doc.Cont2D(), nullptr);
}

} // namespace
