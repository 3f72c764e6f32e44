#include "DVDiagnostics/test/hooks.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/ProfileManager.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/test/hooks.h"

#include "DVDiagnostics/DVLog.h"
#include "pal/path.h"
#include "pal/test/sandbox_test.h"

#include "win/system.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The application's side: counts the kernel's requests to apply the frame state.
class App : public DravikServerAppProxy {
public:
    bool LoadState() override {
        ++loads;
        return true;
    }
    int loads = 0;
};

// A category that remembers one number in the current settings.
class CounterItem : public DravikProfileItem {
public:
    CounterItem() : DravikProfileItem(L"Counter", L"Counter") {}
    int LoadState() override {
        ++loads;
        return DravikProfileItem::LoadState();
    }
    int loads = 0;
};

class Profiles : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        dvlog::test::clearCapture();
    }
    void TearDown() override {
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
    static fs::path profilesFolder() {
        return pal::path::toNative(DVAppendProgramPath(L"Profiles", 1, false));
    }
    static std::vector<std::wstring> stored() {
        std::vector<std::wstring> names;
        DravikProfileManager::GetProfiles(names, true);
        return names;
    }
    // Keeps the live settings with one changed value, as the shell does before a copy.
    static void saveAutoSave(int minutes) {
        GetSettings().autoSaveMinutes = minutes;
        DravikProfileManager::SaveState();
    }
};

TEST_F(Profiles, CreatedCopiedAndSwitchedEachSwitchAskingTheApplication) {
    App app;
    CounterItem item;
    saveAutoSave(25);
    ASSERT_TRUE(DravikProfileManager::ProfileExists(nullptr));
    EXPECT_TRUE(stored().empty()) << "the live settings are not a stored profile";

    ASSERT_TRUE(DravikProfileManager::Copy(nullptr, L"Work"));
    ASSERT_TRUE(DravikProfileManager::Copy(L"Work", L"Home"));
    EXPECT_EQ(stored(), (std::vector<std::wstring>{L"Home", L"Work"}));
    std::vector<std::wstring> all;
    DravikProfileManager::GetProfiles(all, false);
    EXPECT_EQ(all.size(), 3u);

    saveAutoSave(5);
    ASSERT_TRUE(DravikProfileManager::Apply(L"Work"));
    EXPECT_EQ(GetSettings().autoSaveMinutes, 25) << "the settings follow the profile";
    EXPECT_EQ(app.loads, 1);
    EXPECT_EQ(item.loads, 1);
    EXPECT_EQ(DravikProfileManager::GetCurrentProfileName(), L"Work");

    ASSERT_TRUE(DravikProfileManager::Apply(L"Home"));
    EXPECT_EQ(app.loads, 2);
    EXPECT_FALSE(DravikProfileManager::Apply(L"Nowhere"));
    EXPECT_EQ(app.loads, 2) << "no switch, no request";
    EXPECT_FALSE(DravikProfileManager::Copy(L"Nowhere", L"Other"));
}

TEST_F(Profiles, SettingsAreKeptPerProfile) {
    GetSettings().files.prototypes[1] = L"Part.dvp";
    GetSettings().paper = {420, 297};
    GetSettings().SetDoubleParameter(7, 0.25);
    GetOptions().findBySynonyms = 1;
    ASSERT_TRUE(SaveSettings());
    ASSERT_TRUE(DravikProfileManager::Copy(nullptr, L"Big paper"));

    GetSettings() = {};
    GetOptions() = {};
    ASSERT_TRUE(SaveSettings());
    ASSERT_TRUE(LoadSettings());
    EXPECT_EQ(GetSettings().paper.width, 210);
    EXPECT_EQ(GetSettings().DoubleParameter(7, -1), -1) << "a parameter removed stays removed";

    ASSERT_TRUE(DravikProfileManager::Apply(L"Big paper"));
    EXPECT_EQ(GetSettings().paper.width, 420);
    EXPECT_EQ(GetSettings().DoubleParameter(7), 0.25);
    EXPECT_EQ(GetOptions().findBySynonyms, 1);
    EXPECT_EQ(GetSettings().files.GetPrototypeName(1), TemplateFolderToFullPath(L"") + L"/Part.dvp");
    EXPECT_EQ(GetSettings().files.GetPrototypeName(6), L"");
    EXPECT_EQ(GetSettings().files.GetPrototypeName(0), TemplateFolderToFullPath(L"") + L"/drawing.grb")
        << "the bundled prototype";
}

TEST_F(Profiles, ExportedAndImportedUnderTheFileName) {
    GetSettings().fontFolder = L"C:\\Fonts=[odd]%\nline";
    ASSERT_TRUE(SaveSettings());
    const fs::path file = root() / "Shared settings.dvenv";
    ASSERT_TRUE(DravikProfileManager::Export(nullptr, pal::path::fromNative(file).c_str()));
    EXPECT_EQ(DravikProfileManager::GetProfileName(pal::path::fromNative(file).c_str()), L"Shared settings");

    EXPECT_EQ(DravikProfileManager::Import(pal::path::fromNative(file).c_str(), false),
              DravikProfileManager::kImported);
    EXPECT_EQ(DravikProfileManager::Import(pal::path::fromNative(file).c_str(), false),
              DravikProfileManager::kAlreadyExists);
    EXPECT_EQ(DravikProfileManager::Import(pal::path::fromNative(file).c_str(), true),
              DravikProfileManager::kImported);

    GetSettings() = {};
    ASSERT_TRUE(DravikProfileManager::Apply(L"Shared settings"));
    EXPECT_EQ(GetSettings().fontFolder, L"C:\\Fonts=[odd]%\nline");
}

TEST_F(Profiles, ImportReportsWhatIsWrongWithTheFile) {
    struct Case {
        const char* name;
        const char* bytes; // null: no file
        long status;
    };
    const Case cases[] = {
        {"missing.dvenv", nullptr, DravikProfileManager::kFileNotFound},
        {"empty.dvenv", "", DravikProfileManager::kInvalidHeader},
        {"foreign.dvenv", "<xml/>\n", DravikProfileManager::kInvalidHeader},
        {"cut.dvenv", "DravikProfile 1\n[MainFrame]\n1 Name=41", DravikProfileManager::kInvalidHeader},
        {"value before key.dvenv", "DravikProfile 1\n1 Name=00\n", DravikProfileManager::kInvalidHeader},
        {"odd hex.dvenv", "DravikProfile 1\n[]\n4 X=123\n", DravikProfileManager::kInvalidHeader},
        {"bad escape.dvenv", "DravikProfile 1\n[a%zz]\n", DravikProfileManager::kInvalidHeader},
        {"Current.dvenv", "DravikProfile 1\n[]\n", DravikProfileManager::kAccessDenied},
        {"good.dvenv", "DravikProfile 1\n[]\n[MainFrame]\n4 UseStateFile=01000000\n",
         DravikProfileManager::kImported},
    };
    for (const Case& c : cases) {
        const fs::path file = c.bytes ? writeFile(c.name, c.bytes) : root() / c.name;
        EXPECT_EQ(DravikProfileManager::Import(pal::path::fromNative(file).c_str(), false), c.status)
            << c.name;
    }
    EXPECT_EQ(stored(), (std::vector<std::wstring>{L"good"}));
}

TEST_F(Profiles, AProfileMissingFromTheRegistryComesBackFromDiskAndADamagedOneStartsFromDefaults) {
    saveAutoSave(40);
    ASSERT_TRUE(DravikProfileManager::Copy(nullptr, L"Kept"));
    const fs::path kept = profilesFolder() / "Kept" / "Profile.dvenv";
    ASSERT_TRUE(fs::exists(kept)) << "a copy is kept on disk";
    fs::create_directories(profilesFolder() / "Broken");
    fs::copy_file(writeFile("broken.dvenv", "DravikProfile 1\n[Settings]\n1 AutoSaveMinutes=zz\n"),
                  profilesFolder() / "Broken" / "Profile.dvenv");
    // A new registry: the keys of the stored profiles are gone.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, DravikProfileManager::GetApplicationKey().c_str(), 0,
                            KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteTreeW(key, L"Profiles"), ERROR_SUCCESS);
    RegCloseKey(key);

    DravikProfileManager::LoadProfiles();
    EXPECT_TRUE(DravikProfileManager::ProfileExists(L"Kept"));
    EXPECT_TRUE(DravikProfileManager::ProfileExists(L"Broken")) << "loaded as defaults";
    const fs::path brokenFile = profilesFolder() / "Broken" / "Profile.dvenv";
    EXPECT_FALSE(fs::exists(brokenFile));
    EXPECT_TRUE(fs::exists(brokenFile.string() + ".bad")) << "kept aside";
    const auto lines = dvlog::test::capturedAt(DVLogOptionalFailure);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("is damaged"), std::string::npos);

    ASSERT_TRUE(DravikProfileManager::Apply(L"Broken"));
    EXPECT_EQ(GetSettings().autoSaveMinutes, 40) << "an empty profile leaves the categories it lacks";
    ASSERT_TRUE(DravikProfileManager::Apply(L"Kept"));
    EXPECT_EQ(GetSettings().autoSaveMinutes, 40);
}

TEST_F(Profiles, TheSessionLoadsSettingsAndLetsTheApplicationApplyTheProfileOnceFinished) {
    saveAutoSave(33);
    GetSettings() = {};
    App app;
    auto& session = GlobalContainer::Instance();
    ASSERT_TRUE(session.PreInitSession(1));
    ASSERT_TRUE(session.PostInitSession());
    EXPECT_EQ(GetSettings().autoSaveMinutes, 33);
    EXPECT_EQ(app.loads, 0) << "no main frame yet";
    ASSERT_TRUE(session.FinishInitSession());
    EXPECT_EQ(app.loads, 1);
}

TEST_F(Profiles, ItemsAreVisitedInOrderUntilOneSaysStop) {
    CounterItem a;
    DravikProfileItem b(L"UserCommands", L"User commands");
    std::vector<std::wstring> seen;
    EXPECT_TRUE(DravikProfileManager::ForEachItem([&](DravikProfileItem& item) {
        seen.push_back(item.GetSectionName());
        return true;
    }));
    // The kernel's own settings item is registered first, once settings were touched.
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[seen.size() - 2], L"Counter");
    EXPECT_EQ(seen.back(), L"UserCommands");
    int visits = 0;
    EXPECT_FALSE(DravikProfileManager::ForEachItem([&](DravikProfileItem&) { return ++visits < 1; }));
    EXPECT_EQ(visits, 1);
}

TEST_F(Profiles, ACategoryOfAnotherVersionLoadsWithANote) {
    struct Versioned : DravikProfileItem {
        explicit Versioned(unsigned v) : DravikProfileItem(L"Versioned", L"Versioned"), version(v) {}
        unsigned GetVersion() const override { return version; }
        unsigned version;
    };
    Versioned item(1);
    EXPECT_EQ(item.LoadState(), DravikProfileItem::NotFound);
    ASSERT_EQ(item.SaveState(), 0);
    EXPECT_EQ(item.LoadState(), DravikProfileItem::Loaded);
    item.version = 2;
    EXPECT_EQ(item.LoadState(), DravikProfileItem::VersionNote);
}

TEST_F(Profiles, SectionNames) {
    EXPECT_EQ(DravikProfileManager::GetProfileSectionName(), L"Profiles\\Current");
    EXPECT_EQ(DravikProfileManager::GetProfileSectionName(L"Work"), L"Profiles\\Work");
    DravikServerAppProxy base;
    EXPECT_EQ(base.GetWindowsProfileCurrentSectionName(), L"Profiles\\Current\\MainFrame");
    EXPECT_EQ(DravikProfileManager::GetProfileFileExtension(), L"dvenv");
    struct Edition : DravikServerAppProxy {
        std::wstring GetProfileFileExtension() override { return L"alderenv"; }
    } edition;
    EXPECT_EQ(DravikProfileManager::GetProfileFileExtension(), L"alderenv")
        << "the application's, by edition";
    EXPECT_EQ(DravikProfileManager::GetProfileName(L"C:\\Shared\\Design office.v2.dvenv"),
              L"Design office.v2");
}

TEST_F(Profiles, DataFolders) {
    EXPECT_EQ(DravikProfileManager::GetProfileSectionAppDataPath(nullptr, nullptr, true, false), L"")
        << "no folder yet";
    const std::wstring all = DravikProfileManager::GetProfileSectionAppDataPath(nullptr, nullptr, true, true);
    const wchar_t separator = all.back();
    EXPECT_TRUE(separator == L'\\' || separator == L'/');
    const std::wstring work = DravikProfileManager::GetProfileSectionAppDataPath(
        DravikProfileManager::GetProfileSectionName(L"Work").c_str(), L"MainFrame", false, true);
    EXPECT_EQ(work, all + L"Work" + separator + L"MainFrame");
    EXPECT_TRUE(fs::is_directory(pal::path::toNative(work)));
}

} // namespace
