#include "DVPDMProxy/Files.h"
#include "DVPDMProxy/WorkMix.h"
#include "DVPDMProxy/test/hooks.h"

#include "DVDiagnostics/test/hooks.h"

#include <gtest/gtest.h>

namespace {

TEST(WorkMix, IsOneObjectDisabledUntilATestEnablesIt) {
    dvlog::test::clearCapture();
    EXPECT_EQ(&DVPDMWorkMix::Instance(), &DVPDMWorkMix::Instance());
    EXPECT_FALSE(DVPDMWorkMix::Instance().IsEnabled());
    dvpdm::test::setWorkMixEnabled(true);
    EXPECT_TRUE(DVPDMWorkMix::Instance().IsEnabled());
    dvpdm::test::setWorkMixEnabled(false);
    EXPECT_FALSE(DVPDMWorkMix::Instance().IsEnabled());
    // The stand-in is marked once, however often it is asked.
    const auto lines = dvlog::test::capturedAt(5);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("Not built yet: the PDM system", 0), 0u);
}

TEST(WorkMix, WithoutAPdmSystemNothingCanConnectAndNoProgramIsInstalled) {
    EXPECT_FALSE(DVPDMWorkMix::Instance().CanConnect());
    EXPECT_EQ(DVPDMWorkMix::Instance().OrsaInfo(), L"");
    EXPECT_FALSE(DVPdmApiProxy::Instance().HasInstalledPrograms());
    dvpdm::test::setConnectionName(L"Archive A");
    EXPECT_EQ(DVPDMWorkMix::Instance().OrsaInfo(), L"") << "a name only while connected";
    dvpdm::test::setWorkMixEnabled(true);
    EXPECT_EQ(DVPDMWorkMix::Instance().OrsaInfo(), L"Archive A");
    dvpdm::test::setWorkMixEnabled(false);
    dvpdm::test::setConnectionName(L"");
}

TEST(WorkMix, ScriptedFilesAnswerOnlyWhileEnabledAndTellWhatTheyWereAsked) {
    dvpdm::test::clearScript();
    dvpdm::test::addFile({L"C:\\Parts\\Plate.grb", 3, true, L"N-1", L"Plate, 2 pcs", false, true, false});
    dvpdm::test::setProviderNomenclature(L"C:\\Parts\\rib.grb", L"N-2", L"Rib");
    DVPDMWorkMix& workMix = DVPDMWorkMix::Instance();
    EXPECT_EQ(workMix.FindFile(L"C:\\Parts\\Plate.grb"), nullptr) << "not enabled";
    EXPECT_EQ(workMix.GetNomenclatureObject(L"C:\\Parts\\rib.grb"), nullptr);

    dvpdm::test::setWorkMixEnabled(true);
    const auto found = workMix.FindFiles({L"c:\\parts\\PLATE.grb", L"C:\\Parts\\rib.grb"});
    ASSERT_EQ(found.size(), 2u);
    ASSERT_NE(found[0], nullptr) << "paths compare without case";
    EXPECT_EQ(found[1], nullptr);
    EXPECT_EQ(found[0]->GetState(), 3);
    DVPDMOpenningContext context = found[0]->GetOpenningContext();
    EXPECT_FALSE(context.IsEmpty());
    EXPECT_TRUE(context.IsReadOnly());
    EXPECT_TRUE(context.CanHaveNomenclatureData());
    EXPECT_THROW(context.LoadRemainingData(), DVPDMException);
    EXPECT_EQ(context.GetNomenclatureData(), L"");
    const auto provided = workMix.GetNomenclatureObject(L"C:\\PARTS\\RIB.grb");
    ASSERT_NE(provided, nullptr);
    EXPECT_EQ(workMix.ReadNomenclatureData(*provided), L"Rib");
    EXPECT_NO_THROW(workMix.StoreAssemblyVersion(L"C:\\a.grb", L"v2", true, provided.get()));
    dvpdm::test::failStoreOf(L"v3");
    EXPECT_THROW(workMix.StoreAssemblyVersion(L"C:\\a.grb", L"v3", false, nullptr), DVPDMException);
    found[0]->Update(true);
    found[0]->Edit(1, 0, 1, 1);
    EXPECT_EQ(
        dvpdm::test::calls(),
        (std::vector<std::wstring>{L"load C:\\Parts\\Plate.grb", L"read N-2", L"store C:\\a.grb v2 1 N-2",
                                   L"store C:\\a.grb v3 0 -", L"update C:\\Parts\\Plate.grb 1",
                                   L"edit C:\\Parts\\Plate.grb 1 0 1 1"}));
    dvpdm::test::setWorkMixEnabled(false);
    dvpdm::test::clearScript();
}

TEST(WorkMix, RepositoryFoldersAnswerOnlyWhileEnabledAndRefreshAsScripted) {
    dvpdm::test::clearScript();
    dvpdm::test::addFile(dvpdm::test::knownPath(L"/pdm/Bolts/"));
    dvpdm::test::addFile(dvpdm::test::knownPath(L"/pdm/Broken/", true));
    DVPDMWorkMix& workMix = DVPDMWorkMix::Instance();
    EXPECT_EQ(workMix.FindFolder(L"/pdm/Bolts/"), nullptr) << "not enabled";
    dvpdm::test::setWorkMixEnabled(true);
    EXPECT_EQ(workMix.FindFolder(L"/pdm/Nuts/"), nullptr) << "not the system's";
    const auto bolts = workMix.FindFolder(L"/PDM/bolts/");
    ASSERT_NE(bolts, nullptr) << "paths compare without case";
    EXPECT_NO_THROW(bolts->Refresh(false, true));
    EXPECT_THROW(workMix.FindFolder(L"/pdm/Broken/")->Refresh(false, false), DVPDMException);
    EXPECT_EQ(dvpdm::test::calls(), (std::vector<std::wstring>{L"refresh folder /pdm/Bolts/ 0 1",
                                                               L"refresh folder /pdm/Broken/ 0 0"}));
    dvpdm::test::setWorkMixEnabled(false);
    dvpdm::test::clearScript();
}

TEST(WorkMix, AConnectionMadeOrEndedIsToldAndItsProxyAnswersTheIntegrationProfile) {
    dvpdm::test::clearScript();
    DVPDMWorkMix& workMix = DVPDMWorkMix::Instance();
    std::vector<bool> heard;
    workMix.SetConnectionListener([&heard](bool connected) { heard.push_back(connected); });
    EXPECT_FALSE(workMix.Connect(1, L"")) << "nothing to connect to";
    EXPECT_EQ(workMix.GetProxy(), nullptr);
    dvpdm::test::setCanConnect(true);
    EXPECT_TRUE(workMix.Connect(1, L""));
    EXPECT_FALSE(workMix.Connect(1, L"")) << "connected already";
    const std::shared_ptr<DVPDMProxy> proxy = workMix.GetProxy();
    ASSERT_NE(proxy, nullptr);

    std::wstring remembered = L"old", profile;
    EXPECT_NE(proxy->GetIntegrationProfile(remembered, profile), 0) << "the parameters name none";
    EXPECT_EQ(remembered, L"old");
    dvpdm::test::setIntegrationProfile(0, L"Design office", L"design-office-2");
    EXPECT_EQ(proxy->GetIntegrationProfile(remembered, profile), 0);
    EXPECT_EQ(profile, L"Design office");
    EXPECT_EQ(remembered, L"design-office-2");
    EXPECT_EQ(dvpdm::test::calls(), (std::vector<std::wstring>{L"profile old", L"profile old"}));

    workMix.Disconnect();
    workMix.Disconnect();
    EXPECT_EQ(heard, (std::vector<bool>{true, false})) << "each change once";
    workMix.SetConnectionListener(nullptr);
    dvpdm::test::setCanConnect(false);
    dvpdm::test::clearScript();
}

// The operations on an open document's file: each is written down, and the scripted refusals
// (and a work mix that is off) throw the PDM system's own failure.
TEST(WorkMix, RevertAndProcessAnswerAsScriptedAndTellWhatTheyWereAsked) {
    struct Case {
        const char* name;
        bool enabled;
        bool failState;
        bool failRevert;
        bool stateThrows;
        bool revertThrows;
        bool processThrows;
    };
    const Case cases[] = {
        {"all answered", true, false, false, false, false, false},
        {"the state refused", true, true, false, true, false, false},
        {"the revert refused", true, false, true, false, true, false},
        {"the work mix off", false, false, false, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dvpdm::test::clearScript();
        dvpdm::test::FileScript script;
        script.path = L"C:\\Parts\\Shaft.grb";
        script.state = 2;
        script.failState = c.failState;
        script.failRevert = c.failRevert;
        dvpdm::test::addFile(script);
        dvpdm::test::setWorkMixEnabled(c.enabled);
        const DVPDMFileObject file(script.path);
        if (c.stateThrows)
            EXPECT_THROW(file.GetState(), DVPDMException);
        else
            EXPECT_EQ(file.GetState(), 2);
        DVPDMFileObject reverted(script.path);
        if (c.revertThrows)
            EXPECT_THROW(reverted.Revert(), DVPDMException);
        else
            EXPECT_NO_THROW(reverted.Revert());
        if (c.processThrows)
            EXPECT_THROW(DVPDMWorkMix::Instance().ProcessDocument(script.path, file), DVPDMException);
        else
            EXPECT_NO_THROW(DVPDMWorkMix::Instance().ProcessDocument(script.path, file));
        EXPECT_EQ(dvpdm::test::calls(),
                  (std::vector<std::wstring>{L"revert " + script.path, L"process " + script.path}));
    }
    dvpdm::test::setWorkMixEnabled(false);
    dvpdm::test::clearScript();
}

} // namespace
