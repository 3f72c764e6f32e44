#include "DravikKernel/DocumentsMenu.h"

#include "DravikKernel/KernelServices.h"
#include "pal/path.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace DocumentsMenu;
namespace fs = std::filesystem;

class DocumentsMenuModel : public pal::test::SandboxTest {
protected:
    void TearDown() override {
        GlobalCfgGroup().Clear();
        SandboxTest::TearDown();
    }
    std::wstring sandboxPath(const std::string& name) const { return pal::path::fromNative(root() / name); }
};

// Writes down what it hears, by its own name; a hook runs on a chosen notification.
class Recorder : public IConfiguration::IClient, public ILibrary::IClient {
public:
    Recorder(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}

    std::function<void(const std::string&)> hook;

    void OnLibraryAdded(ILibrariesGroup*, ILibrary* l) override {
        note("library added " + narrow(l->GetName()));
    }
    void OnSubGroupAdded(ILibrariesGroup*, ILibrariesGroup* g) override {
        note("group added " + narrow(g->GetName()));
    }
    void OnGroupNameChanged(ILibrariesGroup*) override { note("name"); }
    void OnGroupRemoved(ILibrariesGroup*) override { note("removed"); }
    void OnGroupDestroyed(ILibrariesGroup*) override { note("destroyed"); }
    void OnGroupMemberRemoved(ILibrariesGroup*) override { note("member removed"); }
    void OnGroupContentsChanged(ILibrariesGroup*) override { note("contents"); }
    void OnActiveChanged(IConfiguration*) override { note("active"); }
    void OnPathChanged(IConfiguration*) override { note("path"); }
    void OnLibraryNameChanged(ILibrary*) override { note("name"); }
    void OnLibraryRemoved(ILibrary*) override { note("removed"); }
    void OnLibraryDestroyed(ILibrary*) override { note("destroyed"); }
    void OnLibraryContentsChanged(ILibrary*) override { note("contents"); }
    void OnLibraryPathChanged(ILibrary*) override { note("path"); }

private:
    static std::string narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }
    void note(const std::string& what) {
        log_.push_back(name_ + ": " + what);
        if (hook)
            hook(what);
    }
    std::string name_;
    std::vector<std::string>& log_;
};

TEST_F(DocumentsMenuModel, MovesAndDeletionsTellEveryoneConcerned) {
    std::vector<std::string> log;
    IConfiguration* configuration = GlobalCfgGroup().Add(CreateConfiguration(L"C", false));
    ILibrariesGroup* from = configuration->AddSubGroup(CreateLibrariesGroup(L"From"));
    ILibrariesGroup* to = configuration->AddSubGroup(CreateLibrariesGroup(L"To"));
    ILibrary* library = from->AddLibrary(CreateLibrary(L"Bolts"));
    Recorder fromClient("from", log), toClient("to", log), libraryClient("library", log);
    from->AddClient(&fromClient);
    to->AddClient(&toClient);
    library->AddClient(&libraryClient);

    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> heard;
    };
    const Step steps[] = {
        {"move",
         [&] { EXPECT_TRUE(to->AddLibrary(library)); },
         {"library: removed", "from: member removed", "to: library added Bolts"}},
        {"rename", [&] { library->SetName(L"Nuts"); }, {"library: name"}},
        {"mark", [&] { library->SetDocumentExcluded(L"a.grb", true); }, {"library: contents"}},
        {"mark again", [&] { library->SetDocumentExcluded(L"A.GRB", true); }, {}},
        {"path", [&] { library->SetPath(L"Nuts"); }, {"library: path"}},
        {"delete", [&] { delete library; }, {"library: removed", "to: member removed", "library: destroyed"}},
        {"delete group", [&] { delete to; }, {"to: removed", "to: destroyed"}},
    };
    for (const Step& step : steps) {
        log.clear();
        step.act();
        EXPECT_EQ(log, step.heard) << step.what;
    }
    EXPECT_EQ(configuration->GetSubGroupsCount(), 1u);
    EXPECT_EQ(from->GetLibrariesCount(), 0u);
    from->RemoveClient(&fromClient);
}

// Rows delete themselves, or their neighbours, while they are being told: the telling goes on
// with those still there, and a removed client hears nothing more.
TEST_F(DocumentsMenuModel, ClientsMayLeaveWhileTheyAreTold) {
    struct Case {
        const char* what;
        std::function<void(std::vector<std::unique_ptr<Recorder>>&, ILibrariesGroup*)> arrange;
        std::vector<std::string> heard;
    };
    const Case cases[] = {
        {"the first removes itself",
         [](auto& r, ILibrariesGroup* g) {
             r[0]->hook = [&r, g](const std::string&) { g->RemoveClient(r[0].get()); };
         },
         {"0: name", "1: name", "2: name", "1: name", "2: name"}},
        {"the first removes the second",
         [](auto& r, ILibrariesGroup* g) {
             r[0]->hook = [&r, g](const std::string&) { g->RemoveClient(r[1].get()); };
         },
         {"0: name", "2: name", "0: name", "2: name"}},
        {"the third removes the first",
         [](auto& r, ILibrariesGroup* g) {
             r[2]->hook = [&r, g](const std::string&) { g->RemoveClient(r[0].get()); };
         },
         {"0: name", "1: name", "2: name", "1: name", "2: name"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> log;
        ILibrariesGroup* group = GlobalCfgGroup().Add(CreateConfiguration(L"C", false));
        std::vector<std::unique_ptr<Recorder>> recorders;
        for (int i = 0; i < 3; ++i) {
            recorders.push_back(std::make_unique<Recorder>(std::to_string(i), log));
            group->AddClient(static_cast<ILibrariesGroup::IClient*>(recorders.back().get()));
        }
        c.arrange(recorders, group);
        group->SetName(L"once");
        group->SetName(L"twice");
        EXPECT_EQ(log, c.heard) << c.what;
        for (auto& r : recorders)
            if (r)
                group->RemoveClient(static_cast<ILibrariesGroup::IClient*>(r.get()));
        GlobalCfgGroup().Clear();
    }
}

// A row that deletes itself when it hears something.
class SelfDeleting : public ILibrariesGroup::IClient {
public:
    SelfDeleting(ILibrariesGroup* group, int& heard) : group_(group), heard_(heard) {
        group_->AddClient(this);
    }
    ~SelfDeleting() override { group_->RemoveClient(this); }
    void OnGroupNameChanged(ILibrariesGroup*) override {
        ++heard_;
        delete this;
    }

private:
    ILibrariesGroup* group_;
    int& heard_;
};

TEST_F(DocumentsMenuModel, AClientMayDeleteItselfWhileItIsTold) {
    std::vector<std::string> log;
    ILibrariesGroup* group = GlobalCfgGroup().Add(CreateConfiguration(L"C", false));
    Recorder before("before", log);
    group->AddClient(static_cast<ILibrariesGroup::IClient*>(&before));
    int heard = 0;
    new SelfDeleting(group, heard);
    Recorder after("after", log);
    group->AddClient(static_cast<ILibrariesGroup::IClient*>(&after));
    group->SetName(L"once");
    group->SetName(L"twice");
    EXPECT_EQ(heard, 1) << "gone after the first";
    EXPECT_EQ(log, (std::vector<std::string>{"before: name", "after: name", "before: name", "after: name"}));
    group->RemoveClient(static_cast<ILibrariesGroup::IClient*>(&before));
    group->RemoveClient(static_cast<ILibrariesGroup::IClient*>(&after));
}

TEST_F(DocumentsMenuModel, AClientMayDeleteTheObjectItIsToldAbout) {
    std::vector<std::string> log;
    IConfiguration* configuration = GlobalCfgGroup().Add(CreateConfiguration(L"C", false));
    ILibrariesGroup* group = configuration->AddSubGroup(CreateLibrariesGroup(L"G"));
    Recorder first("first", log), second("second", log);
    first.hook = [&](const std::string& what) {
        if (what == "name")
            delete group;
    };
    group->AddClient(&first);
    group->AddClient(&second);
    group->SetName(L"gone");
    EXPECT_EQ(log, (std::vector<std::string>{"first: name", "first: removed", "second: removed",
                                             "first: destroyed", "second: destroyed"}))
        << "the name change is not told to the second after the group went";
    EXPECT_EQ(configuration->GetSubGroupsCount(), 0u);
}

TEST_F(DocumentsMenuModel, AGroupIsNeverAddedToItselfOrBelowItself) {
    IConfiguration* configuration = GlobalCfgGroup().Add(CreateConfiguration(L"C", false));
    ILibrariesGroup* top = configuration->AddSubGroup(CreateLibrariesGroup(L"Top"));
    ILibrariesGroup* middle = top->AddSubGroup(CreateLibrariesGroup(L"Middle"));
    ILibrariesGroup* bottom = middle->AddSubGroup(CreateLibrariesGroup(L"Bottom"));
    IConfiguration* other = GlobalCfgGroup().Add(CreateConfiguration(L"Other", false));
    struct Case {
        ILibrariesGroup* target;
        ILibrariesGroup* added;
    };
    const Case refused[] = {{top, top},       {middle, top},        {bottom, top},
                            {bottom, middle}, {top, configuration}, {top, other}};
    for (const Case& c : refused) {
        EXPECT_FALSE(c.target->AddSubGroup(c.added)) << c.target << " " << c.added;
        EXPECT_EQ(top->GetParent(), configuration);
        EXPECT_EQ(middle->GetParent(), top);
        EXPECT_EQ(bottom->GetParent(), middle);
    }
    EXPECT_TRUE(configuration->AddSubGroup(bottom)) << "a group moves up";
    EXPECT_EQ(configuration->GetSubGroupsCount(), 2u);
    EXPECT_EQ(middle->GetSubGroupsCount(), 0u);
    EXPECT_EQ(GlobalCfgGroup().GetCount(), 2u);
}

TEST_F(DocumentsMenuModel, LibraryFoldersBetweenRelativeAndAbsolute) {
    struct Case {
        const wchar_t* configuration;
        const wchar_t* stored;
        std::wstring absolute;
        std::wstring relative;
    };
    const Case cases[] = {
        {L"C:\\Configs\\c.tws", L"Bolts", L"C:\\Configs\\Bolts\\", L"Bolts"},
        {L"C:\\Configs\\c.tws", L"..\\Shared\\Frames", L"C:\\Shared\\Frames\\", L"..\\Shared\\Frames"},
        {L"C:\\Configs\\c.tws", L"C:\\Configs\\Deep\\Pipes\\", L"C:\\Configs\\Deep\\Pipes\\", L"Deep\\Pipes"},
        {L"C:\\Configs\\c.tws", L"C:\\Configs", L"C:\\Configs\\", L"."},
        {L"C:\\Configs\\c.tws", L"D:\\Shared\\Frames", L"D:\\Shared\\Frames\\", L"D:\\Shared\\Frames\\"},
        {L"/srv/cfg/c.tws", L"/srv/parts/bolts", L"/srv/parts/bolts/", L"../parts/bolts"},
        {L"/srv/cfg/c.tws", L"./bolts/", L"/srv/cfg/bolts/", L"bolts"},
    };
    for (const Case& c : cases) {
        IConfiguration* configuration = GlobalCfgGroup().Add(CreateConfiguration(L"C", false));
        configuration->SetPath(c.configuration);
        ILibrary* library = configuration->AddLibrary(CreateLibrary(c.stored));
        EXPECT_EQ(GetLibraryAbsolutePath(library), c.absolute) << c.stored;
        EXPECT_EQ(GetLibraryRelativePath(library), c.relative) << c.stored;
        library->SetPath(GetLibraryRelativePath(library));
        EXPECT_EQ(GetLibraryAbsolutePath(library), c.absolute) << "the relative form names the same folder";
        library->SetPath(GetLibraryAbsolutePath(library));
        EXPECT_EQ(GetLibraryRelativePath(library), c.relative);
        GlobalCfgGroup().Clear();
    }
    auto loose = CreateLibrary(L"Loose");
    EXPECT_EQ(GetLibraryAbsolutePath(loose.get()), DVAppendProgramPath(L"Loose", 0, false) + L"/")
        << "without a configuration a relative folder lies in the program folder";
    EXPECT_EQ(GetLibraryAbsolutePath(nullptr), L"");
}

TEST_F(DocumentsMenuModel, TheDrawingsOfALibraryAreTheGrbFilesOfItsFolder) {
    for (const char* file : {"lib/b.grb", "lib/_first.grb", "lib/A.GRB", "lib/.hidden.grb", "lib/notes.txt",
                             "lib/sub/inner.grb", "lib/folder.grb/x"})
        writeFile(file, "x");
    IConfiguration* configuration = GlobalCfgGroup().Add(CreateConfiguration(L"C", false));
    configuration->SetPath(sandboxPath("c.tws"));
    ILibrary* library = configuration->AddLibrary(CreateLibrary(L"lib"));
    library->SetDocumentExcluded(L"b.grb", true);

    std::vector<std::pair<std::wstring, bool>> seen;
    ForEachLibraryDocument(library, [&](const std::wstring& name, ILibrary* owner, bool excluded) {
        EXPECT_EQ(owner, library);
        seen.emplace_back(name, excluded);
        return true;
    });
    EXPECT_EQ(seen, (std::vector<std::pair<std::wstring, bool>>{
                        {L"_first.grb", false}, {L"A.GRB", false}, {L"b.grb", true}}));
    int calls = 0;
    ForEachLibraryDocument(library, [&](const std::wstring&, ILibrary*, bool) { return ++calls < 2; });
    EXPECT_EQ(calls, 2) << "a callback answering false ends the walk";

    std::wstring name;
    EXPECT_EQ(GetLibraryForFullPath((GetLibraryAbsolutePath(library) + L"b.grb").c_str(), &name), library);
    EXPECT_EQ(name, L"b.grb");
    EXPECT_EQ(BuildLibraryItemPath(library, L"b.grb"), GetLibraryAbsolutePath(library) + L"b.grb");
    EXPECT_EQ(CollectAllLibrariesByPath(GlobalCfgGroup(), GetLibraryAbsolutePath(library).c_str()),
              std::vector<ILibrary*>{library});
}

TEST_F(DocumentsMenuModel, LookUpsAcrossTheOpenConfigurations) {
    IConfiguration* first = GlobalCfgGroup().Add(CreateConfiguration(L"First", false));
    first->SetPath(L"C:\\Configs\\First.tws");
    ILibrariesGroup* group = first->AddSubGroup(CreateLibrariesGroup(L"Group"));
    ILibrary* deep = group->AddLibrary(CreateLibrary(L"C:\\Parts\\Pipes"));
    IConfiguration* second = GlobalCfgGroup().Add(CreateConfiguration(L"Second", false));
    second->SetPath(L"C:\\Configs\\Second.tws");
    ILibrary* bolts = second->AddLibrary(CreateLibrary(L"Bolts"));

    EXPECT_EQ(FindConfigurationByPath(GlobalCfgGroup(), L"c:/configs/FIRST.tws"), first);
    EXPECT_EQ(FindConfigurationByPath(GlobalCfgGroup(), L"C:\\Configs\\Third.tws"), nullptr);
    EXPECT_EQ(FindLibrariesGroup(GlobalCfgGroup(), group->GetGuid()), group);
    EXPECT_EQ(FindLibrariesGroup(GlobalCfgGroup(), second->GetGuid()), second)
        << "a configuration is a group";
    EXPECT_EQ(FindLibrary(GlobalCfgGroup(), deep->GetGuid()), deep);
    EXPECT_EQ(FindLibrary(GlobalCfgGroup(), Guid{}), nullptr);
    EXPECT_EQ(FindLibraryByName(GlobalCfgGroup(), L"PIPES"), deep);
    EXPECT_EQ(FindLibraryByName(first, L"Bolts"), nullptr);
    EXPECT_EQ(GetConfiguration(deep), first);
    EXPECT_EQ(CollectAllLibraries(GlobalCfgGroup()), (std::vector<ILibrary*>{deep, bolts}));

    EXPECT_EQ(FindActiveCfg(GlobalCfgGroup()), nullptr);
    second->SetActive(true);
    first->SetActive(true);
    EXPECT_EQ(FindActiveCfg(GlobalCfgGroup()), first);
    EXPECT_FALSE(second->IsActive()) << "one active configuration at a time";
}

TEST_F(DocumentsMenuModel, TheGroupRefusesASecondCopyAndKeepsIdentitiesApart) {
    IConfiguration* first = GlobalCfgGroup().Add(CreateConfiguration(L"First", false));
    first->SetPath(sandboxPath("first.tws"));
    first->AddLibrary(CreateLibrary(L"Bolts"));
    ASSERT_TRUE(first->Save(true));

    auto again = CreateConfiguration(L"", false);
    again->SetPath(sandboxPath("FIRST.tws"));
    EXPECT_EQ(GlobalCfgGroup().Add(std::move(again)), nullptr) << "the same file is open already";

    fs::copy_file(root() / "first.tws", root() / "copy.tws");
    std::wstring error;
    IConfiguration* copy = OpenConfigurationFile(GlobalCfgGroup(), sandboxPath("copy.tws"), &error);
    ASSERT_NE(copy, nullptr) << std::string(error.begin(), error.end());
    EXPECT_NE(copy->GetGuid(), first->GetGuid());
    EXPECT_NE(copy->GetLibrary(0)->GetGuid(), first->GetLibrary(0)->GetGuid());
    EXPECT_TRUE(copy->IsModified()) << "the new identities are kept at the next save";
    EXPECT_EQ(FindActiveCfg(GlobalCfgGroup()), copy);
}

TEST_F(DocumentsMenuModel, AlternativeNames) {
    IConfiguration* configuration = GlobalCfgGroup().Add(CreateConfiguration(L"C", false));
    struct Step {
        const wchar_t* alternative;
        const wchar_t* name;
        std::vector<std::wstring> after;
    };
    const Step steps[] = {
        {L"ГОСТ 7798", L"Bolt", {L"ГОСТ 7798"}},
        {L"DIN 933", L"Bolt", {L"ГОСТ 7798", L"DIN 933"}},
        {L"ГОСТ 7798", L"Screw", {L"ГОСТ 7798", L"DIN 933"}},
        {L"", L"Nut", {L"ГОСТ 7798", L"DIN 933"}},
        {L"ГОСТ 7798", L"", {L"DIN 933"}},
        {L"", L"", {L"DIN 933"}},
    };
    for (const Step& s : steps) {
        configuration->SetAlternativeName(s.alternative, s.name);
        EXPECT_EQ(configuration->GetAlternativeNames(), s.after) << s.alternative << L" " << s.name;
    }
    EXPECT_EQ(configuration->GetNameForAlternative(L"DIN 933"), L"Bolt");
    EXPECT_EQ(configuration->GetNameForAlternative(L"ГОСТ 7798"), L"");
}

TEST_F(DocumentsMenuModel, ClosingSavesFirstAndStaysOpenWhenThatFails) {
    writeFile("blocker", "a file where a folder should be");
    IConfiguration* blocked = GlobalCfgGroup().Add(CreateConfiguration(L"Blocked", false));
    blocked->SetPath(sandboxPath("blocker/c.tws"));
    IConfiguration* fine = GlobalCfgGroup().Add(CreateConfiguration(L"Fine", false));
    fine->SetPath(sandboxPath("fine.tws"));
    GlobalCfgGroup().Add(CreateConfiguration(L"Unsaved", false)); // no file: nothing to keep

    EXPECT_FALSE(SaveAllConfigurations(GlobalCfgGroup()));
    EXPECT_TRUE(fs::exists(root() / "fine.tws")) << "one failure does not stop the others";
    EXPECT_FALSE(blocked->LastError().empty());
    EXPECT_FALSE(CloseAllConfigurations(GlobalCfgGroup()));
    ASSERT_EQ(GlobalCfgGroup().GetCount(), 1u);
    EXPECT_EQ(GlobalCfgGroup().GetAt(0), blocked) << "kept open: closing would lose it";
    EXPECT_TRUE(blocked->Close(false));
    EXPECT_EQ(GlobalCfgGroup().GetCount(), 0u);
}

TEST_F(DocumentsMenuModel, TheInstalledConfigurationsBesideTheProgramHoldTheSamples) {
    std::vector<std::wstring> names, paths;
    GetInstalledConfigurations(names, paths);
    ASSERT_EQ(names.size(), paths.size());
    const auto at = std::find(names.begin(), names.end(), L"Samples");
    ASSERT_NE(at, names.end());
    std::wstring error;
    IConfiguration* samples = OpenConfigurationFile(GlobalCfgGroup(), paths[at - names.begin()], &error);
    ASSERT_NE(samples, nullptr) << std::string(error.begin(), error.end());
    std::vector<std::wstring> drawings;
    for (ILibrary* library : CollectAllLibraries(samples))
        ForEachLibraryDocument(library, [&](const std::wstring& name, ILibrary*, bool) {
            drawings.push_back(name);
            return true;
        });
    EXPECT_NE(std::find(drawings.begin(), drawings.end(), L"sample-a3.grb"), drawings.end());
}

} // namespace
