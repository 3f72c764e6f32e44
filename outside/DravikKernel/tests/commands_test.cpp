#include "DravikKernel/Commands.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/test/hooks.h"
#include "afx/cmdtarget.h"

#include "DVDiagnostics/test/hooks.h"

#include <gtest/gtest.h>

namespace {

// The kernel only passes documents and update items through; tests hand it markers.
CDvw32Doc* const kDocument = reinterpret_cast<CDvw32Doc*>(0x1000);
struct Item {
    int updates = 0;
};
CCmdUI* asCmdUI(Item& item) {
    return reinterpret_cast<CCmdUI*>(&item);
}

int g_lastDocumentRun = 0;
std::int64_t g_lastArgument = -1;

int runDocument(CDvw32Doc* document) {
    g_lastDocumentRun = document == kDocument ? 1 : 2;
    return 7;
}
void updateDocument(CDvw32Doc*, CCmdUI* cmdUI) {
    ++reinterpret_cast<Item*>(cmdUI)->updates;
}
int runSystem(std::int64_t argument) {
    g_lastArgument = argument;
    return 1;
}
void updateSystem(CCmdUI* cmdUI) {
    ++reinterpret_cast<Item*>(cmdUI)->updates;
}
// Unregisters its own id while it runs, as an exit command may.
int runAndUnregister(std::int64_t) {
    GlobalContainer::Instance().UnregisterCmd(4000);
    return 5;
}

// Counts its destructions, to show that the container owns what it is given.
class CountedCommand : public DVSystemCommand {
public:
    CountedCommand(unsigned id, int& deaths)
        : DVSystemCommand(id, L"Counted", runSystem, nullptr, {}), deaths_(deaths) {}
    ~CountedCommand() override { ++deaths_; }

private:
    int& deaths_;
};

class Commands : public ::testing::Test {
protected:
    void SetUp() override {
        dvkernel::test::reset();
        dvtrace::test::clear();
        g_lastDocumentRun = 0;
        g_lastArgument = -1;
    }
    void TearDown() override { dvkernel::test::reset(); }
    DVCommandContainer& container() { return DVCommandContainer::Instance(); }
};

TEST_F(Commands, ObjectsRunAndUpdateThroughTheContainer) {
    EXPECT_TRUE(container().RegisterCommand(
        new DVDocumentCommand(1029, L"DocumentSave", runDocument, updateDocument, DVCommandFlags(0)), 1029));
    EXPECT_TRUE(container().RegisterCommand(
        new DVSystemCommand(1111, L"Settings", runSystem, updateSystem, DVCommandFlags(16)), 1111));
    EXPECT_TRUE(container().RegisterCommand(new DVSystemCommand(2085, {}, runSystem, nullptr, {}), 2085));

    EXPECT_EQ(container().RunCommand(1029, kDocument, 0), 7);
    EXPECT_EQ(g_lastDocumentRun, 1);
    EXPECT_EQ(container().RunCommand(1111, nullptr, 42), 1);
    EXPECT_EQ(g_lastArgument, 42);

    Item item;
    EXPECT_TRUE(container().UpdateCommandUI(1029, kDocument, asCmdUI(item)));
    EXPECT_TRUE(container().UpdateCommandUI(1111, nullptr, asCmdUI(item)));
    EXPECT_EQ(item.updates, 2);
    // Without an update function the item is left alone.
    EXPECT_FALSE(container().UpdateCommandUI(2085, nullptr, asCmdUI(item)));

    const DVCommand* save = container().GetCommand(1029);
    ASSERT_NE(save, nullptr);
    EXPECT_FALSE(save->isSystemCommand());
    EXPECT_TRUE(container().GetCommand(1111)->isSystemCommand());
    EXPECT_EQ(container().GetCommand(1111)->GetFlags(), DVCommandFlags(16));
}

TEST_F(Commands, ADocumentCommandWithoutADocumentIsNeitherRunNorUpdated) {
    container().RegisterCommand(
        new DVDocumentCommand(1200, L"DocumentClose", runDocument, updateDocument, {}), 1200);
    EXPECT_EQ(container().RunCommand(1200, nullptr, 0), 0);
    EXPECT_EQ(g_lastDocumentRun, 0);
    Item item;
    EXPECT_FALSE(container().UpdateCommandUI(1200, nullptr, asCmdUI(item)));
    EXPECT_EQ(item.updates, 0);
    // An id without an object has nothing to run.
    container().RegisterCommand(903, L"ToggleDockingPanesLock", DVCommandFlags(16));
    EXPECT_EQ(container().RunCommand(903, nullptr, 0), std::nullopt);
    EXPECT_EQ(container().RunCommand(904, nullptr, 0), std::nullopt);
}

// An item of a bar or a menu as the frame's road updates it.
class StateItem : public CCmdUI {
public:
    void Enable(BOOL on) override { state = on ? 1 : 0; }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}
    int state = -1; // untouched
};

void disableSystem(CCmdUI* cmdUI) {
    cmdUI->Enable(FALSE);
}

TEST_F(Commands, TheFramesRoadRunsAndUpdatesRegisteredObjectsAndLeavesEveryOtherIdToTheRest) {
    container().RegisterCommand(new DVDocumentCommand(1029, L"DocumentSave", runDocument, nullptr, {}), 1029);
    container().RegisterCommand(new DVSystemCommand(57601, {}, runSystem, nullptr, {}), 57601);
    container().RegisterCommand(new DVSystemCommand(1045, L"DocumentSetAccess", runSystem, disableSystem, {}),
                                1045);
    container().RegisterCommand(903, L"ToggleDockingPanesLock", DVCommandFlags(16));
    struct Case {
        unsigned id;
        CDvw32Doc* document;
        bool routed; // the library took it
        int state;   // what the update made of the item
        bool ran;
    };
    const Case cases[] = {
        {1029, nullptr, true, 0, false},    // a document command without a document
        {1029, kDocument, true, 1, true},   // with one, and no update function: on
        {57601, nullptr, true, 1, true},    // a system command runs without a document
        {1045, kDocument, true, 0, true},   // its update function decides
        {903, kDocument, false, -1, false}, // a bare id goes on along the road
        {904, kDocument, false, -1, false}, // so does an unknown one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        StateItem item;
        EXPECT_EQ(container().OnCmdMsg(c.id, CN_UPDATE_COMMAND_UI, &item, nullptr, c.document), c.routed);
        EXPECT_EQ(item.state, c.state);
        AFX_CMDHANDLERINFO info;
        g_lastDocumentRun = 0;
        g_lastArgument = -1;
        EXPECT_EQ(container().OnCmdMsg(c.id, CN_COMMAND, nullptr, &info, c.document), c.ran);
        EXPECT_EQ(g_lastDocumentRun + (g_lastArgument + 1), 0) << "asking whether it runs runs nothing";
        EXPECT_EQ(container().OnCmdMsg(c.id, CN_COMMAND, nullptr, nullptr, c.document), c.ran);
        EXPECT_EQ(g_lastDocumentRun == 1 || g_lastArgument == 0, c.ran);
    }
}

TEST_F(Commands, TheContainerOwnsWhatItIsGivenAndRefusesASecondObjectForAnId) {
    int deaths = 0;
    EXPECT_TRUE(container().RegisterCommand(new CountedCommand(1048, deaths), 1048));
    EXPECT_FALSE(container().RegisterCommand(new CountedCommand(1048, deaths), 1048));
    EXPECT_EQ(deaths, 1); // the refused one
    EXPECT_FALSE(container().RegisterCommand(new CountedCommand(0, deaths), 0));
    EXPECT_FALSE(container().RegisterCommand(new CountedCommand(65536, deaths), 65536));
    EXPECT_FALSE(container().RegisterCommand(nullptr, 1049));
    EXPECT_EQ(deaths, 3);
    EXPECT_FALSE(container().IsRegistered(0));
    EXPECT_FALSE(container().IsRegistered(65536));
    EXPECT_FALSE(container().IsRegistered(1049));

    EXPECT_TRUE(GlobalContainer::Instance().UnregisterCmd(1048));
    EXPECT_EQ(deaths, 4);
    EXPECT_FALSE(container().IsRegistered(1048));
}

TEST_F(Commands, AnObjectTakesTheEntryOfABareIdAndABareRegistrationKeepsTheObject) {
    GlobalContainer::Instance().RegisterCmd(1019, L"Old", 1019, DVCommandFlags(1));
    EXPECT_EQ(container().GetCommand(1019), nullptr);
    EXPECT_TRUE(container().RegisterCommand(
        new DVSystemCommand(1019, L"Quit", runSystem, nullptr, DVCommandFlags(16)), 1019));
    EXPECT_EQ(container().GetCommandName(1019), L"Quit");
    EXPECT_EQ(container().GetCommandFlags(1019), DVCommandFlags(16));

    container().RegisterCommand(1019, L"Exit", DVCommandFlags(24));
    EXPECT_EQ(container().GetCommandName(1019), L"Exit");
    EXPECT_EQ(container().GetCommandFlags(1019), DVCommandFlags(24));
    EXPECT_EQ(container().RunCommand(1019, nullptr, 3), 1);

    const auto seen = dvkernel::test::registeredCommands();
    EXPECT_TRUE(seen.at(1019).hasCommand);
    EXPECT_TRUE(seen.at(1019).systemCommand);
}

TEST_F(Commands, LookUpsByIdAndByName) {
    container().RegisterCommand(8390, L"SecondaryModelRepresentationUpdate", DVCommandFlags(1));
    GlobalContainer::Instance().RegisterCmd(1110, L"", 1110, DVCommandFlags(16));
    GlobalContainer::Instance().RegisterCmd(1254, L"WindowFullScreen", 1254, DVCommandFlags(16));
    GlobalContainer::Instance().RegisterCmd(1255, L"windowfullscreen", 1255, {});

    EXPECT_EQ(container().GetCommandName(8390), L"SecondaryModelRepresentationUpdate");
    EXPECT_EQ(container().GetCommandName(1110), L""); // known, without a name
    EXPECT_EQ(container().GetCommandName(1111), std::nullopt);
    EXPECT_EQ(container().GetCommandName(0), std::nullopt);

    EXPECT_EQ(container().GetCommandId(L"SecondaryModelRepresentationUpdate"), 8390u);
    EXPECT_EQ(container().GetCommandId(L"SECONDARYMODELREPRESENTATIONUPDATE"), 8390u);
    EXPECT_EQ(container().GetCommandId(L"SecondaryModelRepresentation"), std::nullopt);
    EXPECT_EQ(container().GetCommandId(L"NoSuchCommand"), std::nullopt);
    EXPECT_EQ(container().GetCommandId(L""), std::nullopt);
    // Two ids under one name: the lower one.
    EXPECT_EQ(container().GetCommandId(L"WindowFullScreen"), 1254u);

    EXPECT_EQ(container().GetCommandFlags(1254), DVCommandFlags(16));
    EXPECT_TRUE(container().GetCommandFlags(4242).empty());
    EXPECT_EQ(container().GetCommandIds(), (std::vector<unsigned>{1110, 1254, 1255, 8390}));
}

TEST_F(Commands, BlocksAreInclusiveAndKeepWhatIsRegistered) {
    container().RegisterCommand(701, L"Named", DVCommandFlags(1));
    container().RegisterCommands(700, 749, DVCommandFlags(8));
    EXPECT_TRUE(container().IsRegistered(700));
    EXPECT_TRUE(container().IsRegistered(749));
    EXPECT_FALSE(container().IsRegistered(750));
    EXPECT_EQ(container().GetCommandName(701), L"Named");
    EXPECT_EQ(container().GetCommandFlags(701), DVCommandFlags(1));
    EXPECT_EQ(container().GetCommandFlags(702), DVCommandFlags(8));
    EXPECT_EQ(container().GetCommandName(702), L"");

    container().RegisterCommands(3449, 3401, DVCommandFlags(24)); // reversed: nothing
    EXPECT_FALSE(container().IsRegistered(3401));
    container().RegisterCommands(65530, 70000, DVCommandFlags(24));
    EXPECT_TRUE(container().IsRegistered(65535));
    EXPECT_EQ(container().GetCommandIds().size(), 50u + 6u);
}

TEST_F(Commands, ACommandThatUnregistersItselfFinishesItsRun) {
    container().RegisterCommand(new DVSystemCommand(4000, L"SelfRemoving", runAndUnregister, nullptr, {}),
                                4000);
    EXPECT_EQ(container().RunCommand(4000, nullptr, 0), 5);
    EXPECT_FALSE(container().IsRegistered(4000));
}

TEST_F(Commands, SessionRegistrationsOutsideTheCommandSpaceAreIgnored) {
    GlobalContainer::Instance().RegisterCmd(-5, L"Negative", -5, {});
    GlobalContainer::Instance().RegisterCmd(70000, L"TooLarge", 70000, {});
    EXPECT_TRUE(container().GetCommandIds().empty());
    EXPECT_FALSE(GlobalContainer::Instance().UnregisterCmd(-5));
}

} // namespace
