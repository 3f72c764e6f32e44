#include "DravikKernel/DocumentsMenu.h"

#include "pal/path.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

using namespace DocumentsMenu;
namespace fs = std::filesystem;

class ConfigurationFile : public pal::test::SandboxTest {
protected:
    void TearDown() override {
        GlobalCfgGroup().Clear();
        SandboxTest::TearDown();
    }
    std::wstring sandboxPath(const std::string& name) const { return pal::path::fromNative(root() / name); }
    static fs::path fixture(const std::string& name) {
        return sourcePath("outside/DravikKernel/tests/fixtures/configurations/" + name);
    }
};

// Everything a person can give the objects, read back from the file.
TEST_F(ConfigurationFile, SavingAndReadingKeepIdentitiesTreesFlagsMarksAndNames) {
    auto made = CreateConfiguration(L"Стандартные изделия", false);
    made->SetPath(sandboxPath("standard.tws"));
    made->SetAuthor(L"Петров");
    made->SetStandardElements(true);
    ILibrariesGroup* fasteners = made->AddSubGroup(CreateLibrariesGroup(L"Fasteners"));
    fasteners->SetCompany(L"Dravik & Co <test>");
    fasteners->SetExcluded(true);
    ILibrariesGroup* inner = fasteners->AddSubGroup(CreateLibrariesGroup(L"Inner \"quoted\""));
    ILibrary* bolts = inner->AddLibrary(CreateLibrary(L"Bolts"));
    bolts->SetComment(L"line one\nline two");
    bolts->SetSymbolElements(true);
    bolts->SetDocumentExcluded(L"M8.grb", true);
    bolts->SetDocumentExcluded(L"_draft.grb", true);
    ILibrary* frames = made->AddLibrary(CreateLibrary(L"D:\\Shared\\Frames\\"));
    frames->SetExcluded(true);
    made->SetAlternativeName(L"ГОСТ 7798", L"Bolt");
    made->SetAlternativeName(L"DIN 933", L"Bolt");
    ASSERT_TRUE(made->Save(true));
    EXPECT_FALSE(made->IsModified());

    auto read = CreateConfiguration(L"", false);
    read->SetPath(made->GetPath());
    ASSERT_TRUE(read->Load()) << std::string(read->LastError().begin(), read->LastError().end());
    EXPECT_FALSE(read->IsModified());
    EXPECT_EQ(read->GetGuid(), made->GetGuid());
    EXPECT_EQ(read->GetName(), L"Стандартные изделия");
    EXPECT_EQ(read->GetAuthor(), L"Петров");
    EXPECT_TRUE(read->IsStandardElements());
    ASSERT_EQ(read->GetSubGroupsCount(), 1u);
    const ILibrariesGroup* g = read->GetSubGroup(0);
    EXPECT_EQ(g->GetGuid(), fasteners->GetGuid());
    EXPECT_EQ(g->GetCompany(), L"Dravik & Co <test>");
    EXPECT_TRUE(g->IsExcluded());
    ASSERT_EQ(g->GetSubGroupsCount(), 1u);
    const ILibrariesGroup* i = g->GetSubGroup(0);
    EXPECT_EQ(i->GetName(), L"Inner \"quoted\"");
    ASSERT_EQ(i->GetLibrariesCount(), 1u);
    const ILibrary* b = i->GetLibrary(0);
    EXPECT_EQ(b->GetGuid(), bolts->GetGuid());
    EXPECT_EQ(b->GetComment(), L"line one\nline two");
    EXPECT_TRUE(b->IsSymbolElements());
    EXPECT_EQ(b->GetExcludedDocuments(), (std::vector<std::wstring>{L"M8.grb", L"_draft.grb"}));
    ASSERT_EQ(read->GetLibrariesCount(), 1u);
    EXPECT_EQ(read->GetLibrary(0)->GetPath(), L"D:\\Shared\\Frames\\");
    EXPECT_TRUE(read->GetLibrary(0)->IsExcluded());
    EXPECT_EQ(read->GetAlternativeNames(), (std::vector<std::wstring>{L"ГОСТ 7798", L"DIN 933"}));
    EXPECT_EQ(read->GetNameForAlternative(L"DIN 933"), L"Bolt");
}

TEST_F(ConfigurationFile, TheFilesOfEarlierVersionsAreStillRead) {
    const fs::path file = root() / "legacy.tws";
    fs::copy_file(fixture("legacy.tws"), file);
    std::wstring error;
    IConfiguration* legacy = OpenConfigurationFile(GlobalCfgGroup(), pal::path::fromNative(file), &error);
    ASSERT_NE(legacy, nullptr) << std::string(error.begin(), error.end());
    EXPECT_EQ(legacy->GetName(), L"Крепёж и трубы");
    ASSERT_EQ(legacy->GetLibrariesCount(), 2u) << "a library without a folder is left out";
    EXPECT_EQ(legacy->GetLibrary(0)->GetName(), L"Bolts");
    EXPECT_EQ(GetLibraryAbsolutePath(legacy->GetLibrary(0)), pal::path::fromNative(root() / "Bolts") + L"/");
    EXPECT_EQ(legacy->GetLibrary(1)->GetPath(), L"D:\\Shared\\Frames\\");
    EXPECT_TRUE(legacy->IsModified()) << "the identities made now are kept by the next save";

    const Guid bolts = legacy->GetLibrary(0)->GetGuid();
    ASSERT_TRUE(SaveAllConfigurations(GlobalCfgGroup()));
    GlobalCfgGroup().Clear();
    IConfiguration* again = OpenConfigurationFile(GlobalCfgGroup(), pal::path::fromNative(file), &error);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetLibrary(0)->GetGuid(), bolts) << "written in today's form";
    EXPECT_FALSE(again->IsModified());
}

// A file that is not a configuration is refused with a reason naming it, and is left as it was.
TEST_F(ConfigurationFile, BadFilesAreRefusedWithAMessageNamingThem) {
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
        const wchar_t* reason;
    };
    const auto copy = [](const char* fixtureName) {
        return [fixtureName](const fs::path& file) { fs::copy_file(fixture(fixtureName), file); };
    };
    const Case cases[] = {
        {"empty.tws", [](const fs::path& file) { std::ofstream(file).flush(); }, L"is empty"},
        {"truncated.tws", copy("truncated.tws"), L"is damaged"},
        {"foreign.tws", copy("foreign.tws"), L"is not a library configuration"},
        {"junk.tws",
         [](const fs::path& file) {
             std::ofstream(file, std::ios::binary) << std::string("\x00\xff\x12junk", 7);
         },
         L"is not a library configuration"},
        {"duplicate-id.tws", copy("duplicate-id.tws"), L"holds the identifier"},
        {"huge.tws",
         [](const fs::path& file) {
             std::ofstream(file).flush();
             fs::resize_file(file, std::uintmax_t(1) << 30); // sparse: nothing is really written
         },
         L"too large"},
        {"missing.tws", [](const fs::path&) {}, L"cannot be found"},
    };
    for (const Case& c : cases) {
        const fs::path file = root() / c.name;
        c.make(file);
        const auto sizeBefore = fs::exists(file) ? fs::file_size(file) : 0;
        const auto timeBefore = fs::exists(file) ? fs::last_write_time(file) : fs::file_time_type{};

        auto configuration = CreateConfiguration(L"Kept", false);
        configuration->SetPath(pal::path::fromNative(file));
        configuration->AddLibrary(CreateLibrary(L"Kept"));
        EXPECT_FALSE(configuration->Load()) << c.name;
        const std::wstring& error = configuration->LastError();
        EXPECT_NE(error.find(pal::path::fromNative(file)), std::wstring::npos) << c.name;
        EXPECT_NE(error.find(c.reason), std::wstring::npos)
            << c.name << ": " << std::string(error.begin(), error.end());
        EXPECT_EQ(configuration->GetName(), L"Kept") << "nothing changes";
        EXPECT_EQ(configuration->GetLibrariesCount(), 1u) << c.name;

        std::wstring opened;
        EXPECT_EQ(OpenConfigurationFile(GlobalCfgGroup(), pal::path::fromNative(file), &opened), nullptr);
        EXPECT_EQ(opened, error);
        EXPECT_EQ(GlobalCfgGroup().GetCount(), 0u);
        EXPECT_EQ(SaveAllConfigurations(GlobalCfgGroup()), true);
        if (fs::exists(file)) {
            EXPECT_EQ(fs::file_size(file), sizeBefore) << c.name << " is never written";
            EXPECT_EQ(fs::last_write_time(file), timeBefore) << c.name;
        }
    }
}

} // namespace
