// A main frame's close: each question that can refuse leaves everything as it was; the work of a
// close runs only once every question agreed.
#include "frame/MainFrameClose.h"

#include "afxwin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using dvframe::CloseOutcome;

struct Host : dvframe::CloseHost {
    CDocument* document = nullptr;
    bool canCloseFrame = true;
    bool shownElsewhere = false;
    bool saveAllModified = true;
    bool addOnsAllow = true;
    int nesting = 1;
    int frames = 1;
    bool mainFrame = true;
    // The active document's flag as each question saw it.
    std::vector<BOOL> modifiedWhenAsked;
    std::vector<std::string> done;

    void ActivateFrame() override { done.push_back("activate"); }
    void TerminateActiveDocumentCommands() override { done.push_back("terminate"); }
    int PumpNesting() const override { return nesting; }
    void RepostClose() override { done.push_back("repost"); }
    void KeepPaneWindowStates() override { done.push_back("panes"); }
    CDocument* GetActiveDocument() override { return document; }
    bool CanCloseFrame(CDocument& d) override {
        modifiedWhenAsked.push_back(d.IsModified());
        return canCloseFrame;
    }
    bool ShownByAnotherMainFrame(CDocument&) override { return shownElsewhere; }
    bool SaveAllModified() override {
        if (document != nullptr)
            modifiedWhenAsked.push_back(document->IsModified());
        return saveAllModified;
    }
    bool IsApplicationMainFrame() const override { return mainFrame; }
    int NumMainFrames() const override { return frames; }
    bool AddOnsAllowExit() override { return addOnsAllow; }
    void ActivateNextMainFrame() override { done.push_back("next"); }
    void PrepareExit() override { done.push_back("exit"); }
    void ReleaseFrameViews() override { done.push_back("views"); }
    void SaveOpenDocuments() override { done.push_back("open-docs"); }
    void CloseAllDocuments() override { done.push_back("close-docs"); }
    void DestroyFrame() override { done.push_back("destroy"); }
};

const std::vector<std::string> kQuestionsOnly{"activate", "terminate", "panes"};

TEST(MainFrameClose, EachRefusalKeepsTheFramesAndTheModifiedFlag) {
    struct Case {
        const char* name;
        bool canCloseFrame, saveAllModified, addOnsAllow;
    };
    const Case cases[] = {
        {"the document refuses", false, true, true},
        {"the save question is cancelled", true, false, true},
        {"an add-on vetoes the last close", true, true, false},
    };
    for (const Case& c : cases) {
        CDocument document;
        document.SetModifiedFlag(TRUE);
        Host host;
        host.document = &document;
        host.canCloseFrame = c.canCloseFrame;
        host.saveAllModified = c.saveAllModified;
        host.addOnsAllow = c.addOnsAllow;
        EXPECT_EQ(dvframe::CloseMainFrame(host), CloseOutcome::Refused) << c.name;
        EXPECT_TRUE(document.IsModified()) << c.name;
        EXPECT_EQ(host.done, kQuestionsOnly) << c.name << ": nothing of the close ran";
    }
}

TEST(MainFrameClose, TheActiveDocumentIsAskedOnlyOnce) {
    CDocument document;
    document.SetModifiedFlag(TRUE);
    Host host;
    host.document = &document;
    EXPECT_EQ(dvframe::CloseMainFrame(host), CloseOutcome::Closed);
    EXPECT_EQ(host.modifiedWhenAsked, (std::vector<BOOL>{TRUE, FALSE}))
        << "the application's question finds the document already answered";
    EXPECT_FALSE(document.IsModified());
}

TEST(MainFrameClose, ADocumentAnotherMainFrameShowsKeepsItsModifiedFlag) {
    CDocument document;
    document.SetModifiedFlag(TRUE);
    Host host;
    host.frames = 2;
    host.document = &document;
    host.shownElsewhere = true;
    EXPECT_EQ(dvframe::CloseMainFrame(host), CloseOutcome::Closed);
    EXPECT_TRUE(document.IsModified()) << "the frame that closes it later asks about it";
}

TEST(MainFrameClose, TheLastFrameEndsTheApplicationOneOfTwoDoesNot) {
    Host last;
    EXPECT_EQ(dvframe::CloseMainFrame(last), CloseOutcome::Closed);
    EXPECT_EQ(last.done, (std::vector<std::string>{"activate", "terminate", "panes", "next", "exit", "views",
                                                   "open-docs", "close-docs", "destroy"}));

    Host oneOfTwo;
    oneOfTwo.frames = 2;
    oneOfTwo.mainFrame = false;
    oneOfTwo.addOnsAllow = false; // not asked: the application goes on
    EXPECT_EQ(dvframe::CloseMainFrame(oneOfTwo), CloseOutcome::Closed);
    EXPECT_EQ(oneOfTwo.done,
              (std::vector<std::string>{"activate", "terminate", "panes", "views", "open-docs", "destroy"}));
}

TEST(MainFrameClose, ANestedLoopPostsTheCloseAgainAndAsksNothing) {
    CDocument document;
    document.SetModifiedFlag(TRUE);
    Host host;
    host.document = &document;
    host.nesting = 2;
    EXPECT_EQ(dvframe::CloseMainFrame(host), CloseOutcome::Retried);
    EXPECT_EQ(host.done, (std::vector<std::string>{"activate", "terminate", "repost"}));
    EXPECT_TRUE(host.modifiedWhenAsked.empty());
    EXPECT_TRUE(document.IsModified());
}

} // namespace
