// The application's own data between sessions: the application commands file, the frame state
// of a profile, the documents to reopen, and what happens when one of the files is damaged.
#include "startup_fixture.h"

#include "app/StateFrames.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/ProfileManager.h"
#include "DravikUI/XML.h"
#include "pal/path.h"
#include "xtp/CommandBars.h"
#include "xtp/Controls.h"
#include "xtp/ImageManager.h"
#include "xtp/PopupBar.h"
#include "xtp/PropExchange.h"
#include "xtp/ToolBar.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace dvapp::test {
namespace {

constexpr char kManagedKey[] = "{6A1F7C20-1B2D-4E3F-8A9B-0C1D2E3F4A5B}";

std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string entry(const std::string& type, const std::string& appId, int internalId, int commandId) {
    std::ostringstream text;
    text << "<ApplicationCommand Type=\"" << type << "\" AppId=\"" << appId << "\" InternalID=\""
         << internalId << "\" CommandID=\"" << commandId << "\" IsInternal=\"0\"/>";
    return text.str();
}

std::string settings(const std::vector<std::string>& entries) {
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Settings>";
    for (const auto& e : entries)
        text += e;
    return text + "</Settings>\n";
}

// A main frame as the state code sees it: what was applied to it, and its name when saved.
class FakeFrame : public StateFrame {
public:
    explicit FakeFrame(std::wstring frameName) : name(std::move(frameName)) {}
    CXTPCommandBars* GetCommandBars() override { return bars; }
    void ApplyState(const MainFrameState& state, bool applyPlacement, bool layout) override {
        applied.push_back(&state);
        EXPECT_TRUE(applyPlacement);
        EXPECT_TRUE(layout);
    }
    void SaveXmlState(Dravik::UI::XML::Node element) override { element.setAttribute(L"name", name); }

    std::wstring name;
    std::vector<const MainFrameState*> applied;
    std::shared_ptr<MainFrameState> createdFrom;
    CXTPCommandBars* bars = nullptr;
};

class FakeFrames : public StateFrames {
public:
    std::vector<StateFrame*> GetMainFrames() override {
        std::vector<StateFrame*> list;
        for (auto& frame : frames)
            list.push_back(frame.get());
        return list;
    }
    StateFrame* CreateFromState(const std::shared_ptr<MainFrameState>& state) override {
        frames.push_back(std::make_unique<FakeFrame>(L"new"));
        frames.back()->createdFrom = state;
        return frames.back().get();
    }
    void open(int count) {
        for (int i = 0; i < count; ++i)
            frames.push_back(std::make_unique<FakeFrame>(L"open" + std::to_wstring(i)));
    }
    std::vector<std::unique_ptr<FakeFrame>> frames;
};

class ApplicationState : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        previousKey = DravikProfileManager::GetApplicationKey();
        DravikProfileManager::SetApplicationKey(L"Software\\Dravik\\DravikCad");
        Dravik::UI::XML::SetProduct(1); // "3D"
        app = std::make_unique<DravikApp>();
        app->SetStateFrames(&frames);
    }
    void TearDown() override {
        Dravik::UI::XML::SetProduct(-1);
        DravikProfileManager::SetApplicationKey(previousKey.c_str());
        StartupTest::TearDown();
    }

    std::filesystem::path commandsFile() const {
        return pal::path::toNative(DVAppendProgramPath(L"application.xml", 1, true));
    }
    std::filesystem::path stateFile() const {
        return pal::path::toNative(CDvw32App::GetStateFilePath(nullptr, true));
    }
    static void write(const std::filesystem::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    std::vector<std::pair<std::wstring, int>> table() const {
        std::vector<std::pair<std::wstring, int>> rows;
        for (size_t i = 0; i < app->GetApplicationCommandCount(); ++i) {
            IApplicationCommand* command = app->GetApplicationCommandAt(i);
            std::wstring name = L"managed";
            if (auto* classic = dynamic_cast<CDVAppCommand*>(command))
                name = classic->GetAddOnName();
            rows.emplace_back(name + L"#" + std::to_wstring(command->GetInternalID()), command->GetID());
        }
        return rows;
    }

    FakeFrames frames;
    std::wstring previousKey;
};

// Application commands file --------------------------------------------------------------------

TEST_F(ApplicationState, CommandsFileRoundTripsKindsIdsAndFlags) {
    app->AddApplicationCommand(std::make_unique<CDVAppCommand>(L"Hatch", 3, true));
    app->AddApplicationCommand(std::make_unique<ApplicationCommand>(
        7, *Dravik::UniqueIdentifier::TryParse(pal::text::fromUtf8(kManagedKey)), false));
    ASSERT_TRUE(app->SaveApplicationCommandsFile());

    app.reset(); // one application object at a time
    app = std::make_unique<DravikApp>();
    ASSERT_TRUE(app->LoadApplicationCommandsFile());
    ASSERT_EQ(app->GetApplicationCommandCount(), 2u);
    auto* classic = dynamic_cast<CDVAppCommand*>(app->GetApplicationCommand(17000));
    ASSERT_NE(classic, nullptr);
    EXPECT_EQ(classic->GetAddOnName(), L"Hatch");
    EXPECT_EQ(classic->GetInternalID(), 3);
    EXPECT_TRUE(classic->IsInternal());
    auto* managed = dynamic_cast<ApplicationCommand*>(app->GetApplicationCommand(17001));
    ASSERT_NE(managed, nullptr);
    EXPECT_EQ(managed->GetKeyID(), *Dravik::UniqueIdentifier::TryParse(pal::text::fromUtf8(kManagedKey)));
    EXPECT_EQ(managed->GetInternalID(), 7);
    EXPECT_FALSE(managed->IsInternal());
}

TEST_F(ApplicationState, CommandIconsTravelWithTheirCommands) {
    app->AddApplicationCommand(std::make_unique<CDVAppCommand>(L"Plain", 1, false));
    app->AddApplicationCommand(std::make_unique<CDVAppCommand>(L"Pictured", 2, false));
    std::vector<DWORD> bits(16 * 16, 0xFFC80000u);
    HBITMAP colour = ::CreateBitmap(16, 16, 1, 32, bits.data());
    ICONINFO info{TRUE, 0, 0, nullptr, colour};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(colour);
    ASSERT_TRUE(XTPImageManager()->SetIcon(icon, 17001));
    ::DestroyIcon(icon);
    ASSERT_TRUE(app->SaveApplicationCommandsFile());
    XTPImageManager()->RemoveAll();

    app.reset(); // one application object at a time
    app = std::make_unique<DravikApp>();
    ASSERT_TRUE(app->LoadApplicationCommandsFile());
    EXPECT_EQ(XTPImageManager()->Lookup(17000), nullptr);
    EXPECT_NE(XTPImageManager()->Lookup(17001, 16), nullptr);
    const std::string saved = readBytes(commandsFile());
    EXPECT_EQ(saved.find("<Icon"), saved.rfind("<Icon")); // one entry carries an icon
    XTPImageManager()->RemoveAll();
}

TEST_F(ApplicationState, DuplicateEntriesCollapseAndBothSavedIdsReachTheOneCommand) {
    CXTPPropExchangeXMLNode exchange(TRUE, nullptr, L"Settings");
    ASSERT_TRUE(exchange.LoadFromString(
        pal::text::fromUtf8(settings({entry("0", "Hatch", 3, 17000), entry("0", "Hatch", 3, 17001),
                                      entry("0", "Hatch", 4, 17002)}))
            .c_str()));
    const auto remap = app->LoadApplicationCommands(&exchange);
    EXPECT_EQ(table(), (std::vector<std::pair<std::wstring, int>>{{L"Hatch#3", 17000}, {L"Hatch#4", 17001}}));
    EXPECT_EQ(remap.ids, (std::map<int, int>{{17000, 17000}, {17001, 17000}, {17002, 17001}}));
    EXPECT_TRUE(remap.dropped.empty());
}

// A skipped entry must not shift later buttons onto the wrong commands: each control keeps the
// command it was saved with, and one whose command is gone leaves its bar.
TEST_F(ApplicationState, SkippedEntryLeavesLaterButtonsOnTheirOwnCommands) {
    CXTPPropExchangeXMLNode exchange(TRUE, nullptr, L"Settings");
    ASSERT_TRUE(exchange.LoadFromString(
        pal::text::fromUtf8(settings({entry("9", "Gone", 1, 17000), entry("1", "not-an-id", 2, 17001),
                                      entry("0", "Hatch", 3, 17002), entry("1", kManagedKey, 5, 17003)}))
            .c_str()));
    const auto remap = app->LoadApplicationCommands(&exchange);
    EXPECT_EQ(table(),
              (std::vector<std::pair<std::wstring, int>>{{L"Hatch#3", 17000}, {L"managed#5", 17001}}));

    CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(nullptr);
    CXTPControls* controls = bar->GetControls();
    controls->Add(xtpControlButton, 17000); // the skipped unknown type
    controls->Add(xtpControlButton, 17002); // Hatch
    auto* popup = static_cast<CXTPControlPopup*>(controls->Add(xtpControlButtonPopup, 1340));
    CXTPPopupBar* sub = CXTPPopupBar::CreatePopupBar(nullptr);
    popup->SetCommandBar(sub);
    sub->InternalRelease();
    sub->GetControls()->Add(xtpControlButton, 17003); // the managed command
    sub->GetControls()->Add(xtpControlButton, 17001); // the unparsable identifier
    controls->Add(xtpControlButton, 1204);            // not an application command

    RemapApplicationCommandIds(controls, remap);
    std::vector<int> ids;
    for (int i = 0; i < controls->GetCount(); ++i)
        ids.push_back(controls->GetAt(i)->GetID());
    EXPECT_EQ(ids, (std::vector<int>{17000, 1340, 1204}));
    ASSERT_EQ(popup->GetCommandBar()->GetControls()->GetCount(), 1);
    EXPECT_EQ(popup->GetCommandBar()->GetControls()->GetAt(0)->GetID(), 17001);
    EXPECT_TRUE(hasLine(DVLogWarning, "Removed control 17000: its application command was not loaded"));
    EXPECT_TRUE(hasLine(DVLogWarning, "Removed control 17001: its application command was not loaded"));
    bar->InternalRelease();
}

TEST_F(ApplicationState, LoadingTheCommandsFileRemapsTheBarsOfEveryMainFrame) {
    write(commandsFile(), settings({entry("9", "Gone", 1, 17000), entry("0", "Hatch", 3, 17001)}));
    frames.open(2);
    auto release = [](CXTPCommandBars* owned) { owned->InternalRelease(); };
    std::unique_ptr<CXTPCommandBars, decltype(release)> bars(CXTPCommandBars::CreateCommandBars(), release);
    CXTPToolBar* bar = bars->Add(L"Add-ons", xtpBarTop);
    ASSERT_NE(bar, nullptr);
    bar->GetControls()->Add(xtpControlButton, 17000);
    bar->GetControls()->Add(xtpControlButton, 17001);
    frames.frames[1]->bars = bars.get();

    ASSERT_TRUE(app->LoadApplicationCommandsFile());
    ASSERT_EQ(bar->GetControls()->GetCount(), 1);
    EXPECT_EQ(bar->GetControls()->GetAt(0)->GetID(), 17000);
    EXPECT_EQ(app->GetApplicationCommand(17000)->GetInternalID(), 3);
}

TEST_F(ApplicationState, IdsRunFrom17000To32000AndEntriesPastThemAreDropped) {
    for (int i = 0; i <= 15000; ++i)
        ASSERT_NE(app->AddApplicationCommand(std::make_unique<CDVAppCommand>(L"Many", i, false)), nullptr);
    EXPECT_EQ(app->GetApplicationCommand(32000)->GetInternalID(), 15000);
    CXTPPropExchangeXMLNode exchange(TRUE, nullptr, L"Settings");
    ASSERT_TRUE(exchange.LoadFromString(
        pal::text::fromUtf8(settings({entry("0", "Late", 1, 17005), entry("0", "Many", 7, 17007)})).c_str()));
    const auto remap = app->LoadApplicationCommands(&exchange);
    EXPECT_EQ(app->GetApplicationCommandCount(), 15001u);
    EXPECT_EQ(remap.ids, (std::map<int, int>{{17007, 17007}}));
    EXPECT_EQ(remap.dropped, (std::set<int>{17005}));
}

TEST_F(ApplicationState, RegisteringTheSameCommandKeepsOrReplacesTheEntry) {
    IApplicationCommand* first =
        app->RegisterApplicationCommand(std::make_unique<CDVAppCommand>(L"Hatch", 3, false), false);
    EXPECT_EQ(app->RegisterApplicationCommand(std::make_unique<CDVAppCommand>(L"Hatch", 3, true), false),
              first);
    EXPECT_FALSE(first->IsInternal());
    IApplicationCommand* replaced =
        app->RegisterApplicationCommand(std::make_unique<CDVAppCommand>(L"Hatch", 3, true), true);
    EXPECT_EQ(replaced->GetID(), 17000);
    EXPECT_TRUE(replaced->IsInternal());
    EXPECT_EQ(app->GetApplicationCommandCount(), 1u);
}

// OnApplicationCommand ---------------------------------------------------------------------------

class Runner : public AddOnCommandRunner {
public:
    void Run(IApplicationCommand& command, CDvw32Doc* document) override {
        runs.emplace_back(command.GetID(), document);
    }
    bool WantsObjectCommands(const IApplicationCommand& command) const override {
        return command.GetInternalID() == 2;
    }
    bool HasStoredSelection(CDvw32Doc*) const override { return selection; }
    void SendObjectCommand(CDvw32Doc*, UINT id) override { objectCommands.push_back(id); }

    std::vector<std::pair<int, CDvw32Doc*>> runs;
    std::vector<UINT> objectCommands;
    bool selection = false;
};

TEST_F(ApplicationState, ApplicationCommandsRunByTheirRules) {
    Runner runner;
    app->SetAddOnCommandRunner(&runner);
    app->AddApplicationCommand(std::make_unique<CDVAppCommand>(L"Plain", 1, false));    // 17000
    app->AddApplicationCommand(std::make_unique<CDVAppCommand>(L"Object", 2, false));   // 17001
    app->AddApplicationCommand(std::make_unique<CDVAppCommand>(L"Handled", 3, false));  // 17002
    app->AddApplicationCommand(std::make_unique<CDVAppCommand>(L"Anywhere", 4, false)); // 17003
    std::vector<std::pair<UINT, CDvw32Doc*>> handled;
    app->SetApplicationCommandHandler(17002,
                                      {[&](CDvw32Doc* d, UINT id) { handled.emplace_back(id, d); }, false});
    app->SetApplicationCommandHandler(17003,
                                      {[&](CDvw32Doc* d, UINT id) { handled.emplace_back(id, d); }, true});

    // Outside the range, past the table: nothing.
    for (UINT id : {16999u, 17004u, 32001u})
        app->OnApplicationCommand(id);
    EXPECT_TRUE(runner.runs.empty());

    // Without a document: the add-on runs; a handler only when it allows that.
    app->OnApplicationCommand(17000);
    app->OnApplicationCommand(17002);
    app->OnApplicationCommand(17003);
    EXPECT_EQ(runner.runs, (std::vector<std::pair<int, CDvw32Doc*>>{{17000, nullptr}}));
    EXPECT_EQ(handled, (std::vector<std::pair<UINT, CDvw32Doc*>>{{17003, nullptr}}));

    auto& documents = DocumentManager::Instance();
    CDvw32Doc* document = documents.CreateDocument(Dravik::DocumentKind::Drawing, L"Sheet");
    documents.SetActiveDocument(document);
    // Object commands go to the view only with a stored selection.
    app->OnApplicationCommand(17001);
    runner.selection = true;
    app->OnApplicationCommand(17001);
    app->OnApplicationCommand(17000);
    EXPECT_EQ(runner.objectCommands, (std::vector<UINT>{17001}));
    app->OnApplicationCommand(17002);
    EXPECT_EQ(handled.back(), (std::pair<UINT, CDvw32Doc*>{17002, document}));

    // A document that cannot be edited runs nothing.
    const auto runsBefore = runner.runs.size();
    const auto handledBefore = handled.size();
    document->SetReadOnly(true);
    for (UINT id : {17000u, 17001u, 17002u, 17003u})
        app->OnApplicationCommand(id);
    EXPECT_EQ(runner.runs.size(), runsBefore);
    EXPECT_EQ(handled.size(), handledBefore);
    documents.CloseDocument(document);
}

TEST_F(ApplicationState, TheCommandRangeReachesTheHandler) {
    Runner runner;
    app->SetAddOnCommandRunner(&runner);
    app->AddApplicationCommand(std::make_unique<CDVAppCommand>(L"Plain", 1, false));
    EXPECT_TRUE(app->OnCmdMsg(17000, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(app->OnCmdMsg(32000, CN_COMMAND, nullptr, nullptr)); // in range, no entry: nothing
    EXPECT_FALSE(app->OnCmdMsg(32001, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(runner.runs, (std::vector<std::pair<int, CDvw32Doc*>>{{17000, nullptr}}));
}

// Documents to reopen ------------------------------------------------------------------------------

TEST_F(ApplicationState, OpenDocumentsAreListedOnlyWithAPathAndOnlyWhenReopenIsOn) {
    app->SetRegistryKey(L"Dravik");
    app->SetRegistryProfileName(L"DravikCad");
    auto& documents = DocumentManager::Instance();
    CDvw32Doc* saved = documents.CreateDocument(Dravik::DocumentKind::Drawing, L"Saved");
    saved->SetPathName(std::wstring(L"/work/a.dvd"));
    CDvw32Doc* unsaved = documents.CreateDocument(Dravik::DocumentKind::Drawing, L"New");
    CDvw32Doc* other = documents.CreateDocument(Dravik::DocumentKind::Part3D, L"Part");
    other->SetPathName(std::wstring(L"/work/b.dvp"));

    app->SaveOpenDocuments();
    EXPECT_EQ(app->GetProfileInt(L"OpenDocuments", L"Count", -1), 2u);
    EXPECT_EQ(app->GetDocumentsToReopen(), (std::vector<std::wstring>{L"/work/a.dvd", L"/work/b.dvp"}));

    app->SetReopenDocuments(false);
    app->SaveOpenDocuments();
    EXPECT_EQ(app->GetProfileInt(L"OpenDocuments", L"Count", -1), 0u);
    EXPECT_EQ(app->GetProfileStringW(L"OpenDocuments", L"Document0", L"none"), CString(L"none"));
    EXPECT_TRUE(app->GetDocumentsToReopen().empty());
    for (CDvw32Doc* document : {saved, unsaved, other})
        documents.CloseDocument(document);
}

// Frame state ------------------------------------------------------------------------------------

TEST_F(ApplicationState, SaveStateWritesEveryFrameAndMarksTheProfile) {
    EXPECT_TRUE(app->SaveState()); // the save-at-exit flag is clear: nothing, and no complaint
    EXPECT_FALSE(std::filesystem::exists(stateFile()));
    app->SetSaveAtExit(true);
    EXPECT_FALSE(app->SaveState()); // no frames
    EXPECT_FALSE(std::filesystem::exists(stateFile()));

    frames.open(2);
    ASSERT_TRUE(app->SaveState());
    Dravik::UI::XML::Document document;
    ASSERT_TRUE(document.loadFile(stateFile()));
    EXPECT_EQ(document.root().name(), L"state");
    EXPECT_EQ(document.root().attribute(L"product", L""), L"3D");
    std::vector<std::wstring> names;
    for (const auto& window : document.root().children(L"mainWindow"))
        names.push_back(window.attribute(L"name", L""));
    EXPECT_EQ(names, (std::vector<std::wstring>{L"open0", L"open1"}));
    EXPECT_EQ(readBytes(stateFile()).rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>", 0), 0u);
    // The next start reads it without being forced.
    frames.frames.clear();
    frames.open(1);
    EXPECT_TRUE(app->LoadState(nullptr, false));
    EXPECT_EQ(frames.frames[0]->applied.size(), 1u);
}

TEST_F(ApplicationState, SaveStateAnswersFalseWhenTheCommandsFileCannotBeWritten) {
    app->SetSaveAtExit(true);
    frames.open(1);
    app->AddApplicationCommand(std::make_unique<CDVAppCommand>(L"Hatch", 3, false));
    // A folder where the file should be: the file cannot be written.
    std::filesystem::create_directories(commandsFile() / "blocked");
    EXPECT_FALSE(app->SaveState());
    EXPECT_TRUE(std::filesystem::exists(stateFile()));
}

std::string stateText(const std::string& root, const std::string& product, int windows) {
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<" + root;
    if (!product.empty())
        text += " product=\"" + product + "\"";
    text += ">";
    for (int i = 0; i < windows; ++i)
        text += "<mainWindow/>";
    return text + "</" + root + ">\n";
}

TEST_F(ApplicationState, LoadStateTakesOnlyThisProductsStateDocument) {
    frames.open(1);
    EXPECT_FALSE(app->LoadState(nullptr, true)); // no file
    write(stateFile(), stateText("State", "3D", 1));
    EXPECT_FALSE(app->LoadState(nullptr, true));
    EXPECT_TRUE(frames.frames[0]->applied.empty());

    write(stateFile(), stateText("state", "2D", 2));
    EXPECT_FALSE(app->LoadState(nullptr, true));
    EXPECT_EQ(frames.frames.size(), 1u);
    EXPECT_TRUE(frames.frames[0]->applied.empty());

    // Without the profile's mark the file is not read unless forced.
    write(stateFile(), stateText("state", "3D", 1));
    EXPECT_FALSE(app->LoadState(nullptr, false));
    EXPECT_TRUE(app->LoadState(nullptr, true));
    EXPECT_EQ(frames.frames[0]->applied.size(), 1u);
}

// Two products that share the folder take turns: each keeps the other's state beside its own,
// and finds its own again when its turn comes; neither is ever saved over by the other.
TEST_F(ApplicationState, AnotherProductsStateIsKeptBesideAndComesBackWithItsProduct) {
    const auto beside = [&](const std::string& product) {
        std::filesystem::path file = stateFile();
        return file.replace_filename("state." + product + ".xml");
    };
    const std::string theirs = stateText("state", "2D", 2);
    const std::string mine = stateText("state", "3D", 1);
    struct Case {
        const char* situation;
        bool ownBeside;
        bool loads;
    };
    for (const Case& c : {Case{"the other product's state alone", false, false},
                          Case{"this product's own kept beside", true, true}}) {
        SCOPED_TRACE(c.situation);
        frames.frames.clear();
        frames.open(1);
        std::filesystem::remove(beside("2D"));
        write(stateFile(), theirs);
        if (c.ownBeside)
            write(beside("3D"), mine);
        EXPECT_EQ(app->LoadState(nullptr, true) != FALSE, c.loads);
        EXPECT_EQ(frames.frames[0]->applied.size(), c.loads ? 1u : 0u);
        EXPECT_EQ(readBytes(beside("2D")), theirs) << "the other product's state is kept whole";
        EXPECT_FALSE(std::filesystem::exists(beside("3D")));
        EXPECT_EQ(std::filesystem::exists(stateFile()), c.loads);
        app->SetSaveAtExit(true);
        ASSERT_TRUE(app->SaveState());
        EXPECT_EQ(readBytes(beside("2D")), theirs) << "and never saved over";
    }
}

TEST_F(ApplicationState, SavedWindowsAndOpenFramesPairUp) {
    struct Case {
        int saved, open;
        size_t framesAfter;
        size_t created;
    };
    for (const Case c : {Case{3, 1, 3, 2}, Case{1, 3, 3, 0}, Case{2, 2, 2, 0}}) {
        SCOPED_TRACE(std::to_string(c.saved) + " saved, " + std::to_string(c.open) + " open");
        frames.frames.clear();
        frames.open(c.open);
        write(stateFile(), stateText("state", "", c.saved));
        ASSERT_TRUE(app->LoadState(nullptr, true));
        ASSERT_EQ(frames.frames.size(), c.framesAfter);
        size_t created = 0;
        for (auto& frame : frames.frames) {
            if (frame->createdFrom) {
                ++created;
                EXPECT_TRUE(frame->applied.empty());
            } else {
                EXPECT_EQ(frame->applied.size(), 1u);
            }
        }
        EXPECT_EQ(created, c.created);
        // Frames beyond the saved windows take the last one read.
        for (int i = c.saved; i < c.open; ++i) {
            EXPECT_EQ(frames.frames[static_cast<size_t>(i)]->applied[0],
                      frames.frames[static_cast<size_t>(c.saved - 1)]->applied[0]);
        }
    }
}

// Damaged files ----------------------------------------------------------------------------------

TEST_F(ApplicationState, DamagedFilesAreKeptAsideAndNeverOverwrittenWithNothing) {
    for (const char* damage : {"truncated", "empty", "not_xml"}) {
        SCOPED_TRACE(damage);
        const auto commandsFixture =
            std::filesystem::path(DVAPP_FIXTURES) / "state" / (std::string("application_") + damage + ".xml");
        const auto stateFixture =
            std::filesystem::path(DVAPP_FIXTURES) / "state" / (std::string("state_") + damage + ".xml");
        std::filesystem::remove(commandsFile());
        std::filesystem::remove(stateFile());
        std::filesystem::copy_file(commandsFixture, commandsFile());
        std::filesystem::copy_file(stateFixture, stateFile());

        app.reset(); // one application object at a time
        app = std::make_unique<DravikApp>();
        app->SetStateFrames(&frames);
        frames.frames.clear();
        EXPECT_FALSE(app->LoadApplicationCommandsFile());
        EXPECT_EQ(app->GetApplicationCommandCount(), 0u);
        EXPECT_FALSE(app->LoadState(nullptr, true));

        // The session ends with nothing of its own to save.
        app->SetSaveAtExit(true);
        app->SaveState();
        EXPECT_FALSE(std::filesystem::exists(commandsFile()));
        EXPECT_FALSE(std::filesystem::exists(stateFile()));
        auto aside = [](std::filesystem::path file) {
            return file.replace_filename(file.filename().string() + ".bad");
        };
        EXPECT_EQ(readBytes(aside(commandsFile())), readBytes(commandsFixture));
        EXPECT_EQ(readBytes(aside(stateFile())), readBytes(stateFixture));
    }
}

// The same through the program's own start-up and shut-down.
TEST_F(ApplicationState, StartUpKeepsADamagedCommandsFileAside) {
    const auto fixture = std::filesystem::path(DVAPP_FIXTURES) / "state" / "application_truncated.xml";
    std::filesystem::copy_file(fixture, commandsFile());
    start();
    EXPECT_EQ(app->GetApplicationCommandCount(), 0u);
    app->SetSaveAtExit(true);
    app->SaveState();
    stop();
    EXPECT_FALSE(std::filesystem::exists(commandsFile()));
    EXPECT_EQ(readBytes(commandsFile().string() + ".bad"), readBytes(fixture));
}

TEST_F(ApplicationState, CommandsFileWithAnotherRootIsKeptAside) {
    write(commandsFile(), "<?xml version=\"1.0\"?><state/>");
    EXPECT_FALSE(app->LoadApplicationCommandsFile());
    EXPECT_FALSE(std::filesystem::exists(commandsFile()));
    EXPECT_TRUE(std::filesystem::exists(commandsFile().string() + ".bad"));
}

} // namespace
} // namespace dvapp::test
