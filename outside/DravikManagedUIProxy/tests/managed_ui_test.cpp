#include "DravikManagedUIProxy/DravikManagedUIProxy.h"

#include "DVDiagnostics/test/hooks.h"

#include <gtest/gtest.h>

namespace {

TEST(DravikManagedUIProxy, RecordsTheResourceSetUp) {
    dvtrace::test::clear();
    DravikManagedUIProxy::InitManagedResourcesWraps();
    EXPECT_EQ(dvtrace::test::callsOf("DravikManagedUIProxy"),
              std::vector<std::string>{"InitManagedResourcesWraps()"});
}

TEST(DravikManagedUIProxy, TheDispatcherEndsOnceAndTheThemeIsKept) {
    dvtrace::test::clear();
    using DravikManagedUIProxy::WpfAccessor;
    WpfAccessor::EnableDarkTheme(true);
    EXPECT_TRUE(WpfAccessor::IsDarkThemeEnabled());
    DravikManagedUIProxy::StringResourceAccessor::UpdateResourcesCulture();
    WpfAccessor::ShutdownDispatcher();
    WpfAccessor::ShutdownDispatcher();
    EXPECT_TRUE(WpfAccessor::IsDispatcherShutDown());
    EXPECT_EQ(dvtrace::test::callsOf("DravikManagedUIProxy"),
              (std::vector<std::string>{"EnableDarkTheme(true)", "UpdateResourcesCulture()",
                                        "ShutdownDispatcher()"}));
}

} // namespace

namespace {

TEST(AutoNamer, NamesByTheTitleWithoutItsExtensionAndANumber) {
    const struct {
        const wchar_t* title;
        const wchar_t* name; // null: no namer
    } cases[] = {
        {L"Drawing1", L"Drawing1-001"},
        {L"Plate.grb", L"Plate-001"},
        {L"v1.2.grb", L"v1.2-001"},
        {L".grb", L".grb-001"},
        {L"", nullptr},
        {nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const auto namer = DravikManagedUIProxy::AutoNamer::Create(c.title);
        if (c.name == nullptr) {
            EXPECT_EQ(namer, nullptr);
            continue;
        }
        ASSERT_NE(namer, nullptr) << c.name;
        EXPECT_EQ(namer->GetName(), c.name);
    }
    const std::wstring longTitle(10'000, L'n');
    EXPECT_EQ(DravikManagedUIProxy::AutoNamer::Create(longTitle.c_str())->GetName(), longTitle + L"-001");
}

TEST(PresentationResources, HaveTheNamingRulesTextAndNothingForOtherNames) {
    using DravikManagedUIProxy::PresentationResourceAccessor;
    EXPECT_EQ(PresentationResourceAccessor::GetString(L"ND_NamingRules"), L"Naming rules");
    EXPECT_EQ(PresentationResourceAccessor::GetString(L"ND_Missing"), L"");
    EXPECT_EQ(PresentationResourceAccessor::GetString(L""), L"");
    EXPECT_EQ(PresentationResourceAccessor::GetString(nullptr), L"");
}

} // namespace
