#include "docbrowser/BrowserViewState.h"

#include "pal/path.h"
#include "pal/test/sandbox_test.h"
#include "xtp/PropExchange.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using namespace DocumentsMenu;
namespace fs = std::filesystem;

class BrowserViewStateTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        writeFile("parts/Bolts/M8.grb", "x");
        writeFile("parts/Bolts/M10.grb", "x");
        configuration = GlobalCfgGroup().Add(CreateConfiguration(L"Parts", false));
        configuration->SetPath(pal::path::fromNative(root() / "parts" / "parts.tws"));
        group = configuration->AddSubGroup(CreateLibrariesGroup(L"Fasteners"));
        bolts = group->AddLibrary(CreateLibrary(L"Bolts"));
    }
    void TearDown() override {
        GlobalCfgGroup().Clear();
        SandboxTest::TearDown();
    }

    static std::wstring store(BrowserViewState& state) {
        CXTPPropExchangeXMLNode px(FALSE, nullptr, L"State");
        state.DoPropExchange(&px);
        return px.GetXML().GetString();
    }
    static void load(BrowserViewState& state, const std::wstring& xml) {
        CXTPPropExchangeXMLNode px(TRUE, nullptr, L"State");
        ASSERT_TRUE(px.LoadFromString(xml.c_str()));
        state.DoPropExchange(&px);
    }
    static std::wstring text(const ILibraryItem* item) { return UniqueIdentifierToString(item->GetGuid()); }

    IConfiguration* configuration = nullptr;
    ILibrariesGroup* group = nullptr;
    ILibrary* bolts = nullptr;
};

TEST_F(BrowserViewStateTest, WhatWasExpandedAndHiddenComesBack) {
    BrowserViewState state;
    state.SetGroupExpanded(configuration, true);
    state.SetLibraryExpanded(bolts, true);
    state.SetGroupHidden(group, true);
    state.SetLibraryHidden(bolts, true);
    state.SetDocumentHidden(bolts, L"M8.grb", true);
    state.SetDocumentHidden(bolts, L"M10.grb", true);
    state.SetDocumentHidden(bolts, L"M8.grb", true); // once only
    const std::wstring xml = store(state);

    BrowserViewState read;
    load(read, xml);
    EXPECT_TRUE(read.IsGroupExpanded(configuration));
    EXPECT_FALSE(read.IsGroupExpanded(group));
    EXPECT_TRUE(read.IsLibraryExpanded(bolts));
    EXPECT_TRUE(read.IsGroupHidden(group));
    EXPECT_TRUE(read.IsLibraryHidden(bolts));
    EXPECT_TRUE(read.IsDocumentHidden(bolts, L"M8.grb"));
    EXPECT_TRUE(read.IsDocumentHidden(bolts, L"M10.grb"));
    EXPECT_FALSE(read.IsDocumentHidden(bolts, L"m8.grb")) << "names differing in case are other documents";
    EXPECT_FALSE(read.IsDocumentHidden(nullptr, L"M8.grb"));
    EXPECT_TRUE(read.HasHiddenItems());
    EXPECT_EQ(store(read), xml);
}

// Loading twice piles nothing up, and a drawing shown again is shown, whatever the store held.
TEST_F(BrowserViewStateTest, LoadingReplacesWhatIsHeldAndShowingRemovesEveryEntry) {
    BrowserViewState state;
    state.SetDocumentHidden(bolts, L"M8.grb", true);
    state.SetGroupExpanded(group, true);
    std::wstring xml = store(state);
    // A store written by a version that let a document be hidden twice.
    const std::size_t start = xml.find(L"<doc ");
    ASSERT_NE(start, std::wstring::npos);
    const std::wstring entry = xml.substr(start, xml.find(L"/>", start) + 2 - start);
    ASSERT_NE(entry.find(text(bolts)), std::wstring::npos);
    xml.insert(start, entry);

    BrowserViewState read;
    read.SetLibraryHidden(bolts, true);
    load(read, xml);
    load(read, xml);
    EXPECT_FALSE(read.IsLibraryHidden(bolts)) << "loading replaces the sets";
    EXPECT_TRUE(read.IsDocumentHidden(bolts, L"M8.grb"));
    read.SetDocumentHidden(bolts, L"M8.grb", false);
    EXPECT_FALSE(read.IsDocumentHidden(bolts, L"M8.grb"));
    EXPECT_FALSE(read.HasHiddenItems());
    EXPECT_EQ(store(read).find(L"M8.grb"), std::wstring::npos);
}

TEST_F(BrowserViewStateTest, EntriesWithBadIdentifiersOrNamesAreSkipped) {
    const std::wstring good = text(bolts);
    const std::wstring xml =
        L"<State>"
        L"<ExpandedLibs><lib id=\"{not a guid}\"/><lib id=\"{00000000-0000-0000-0000-000000000000}\"/>"
        L"<lib/><lib id=\"" +
        good +
        L"\"/></ExpandedLibs>"
        L"<HiddenDocs><doc libID=\"garbage\" docName=\"M8.grb\"/><doc libID=\"" +
        good + L"\" docName=\"\"/><doc libID=\"" + good +
        L"\" docName=\"M10.grb\"/></HiddenDocs>"
        L"</State>";
    BrowserViewState state;
    load(state, xml);
    EXPECT_TRUE(state.IsLibraryExpanded(bolts));
    EXPECT_FALSE(state.IsDocumentHidden(bolts, L"M8.grb"));
    EXPECT_TRUE(state.IsDocumentHidden(bolts, L"M10.grb"));
    const std::wstring stored = store(state);
    EXPECT_EQ(stored.find(L"not a guid"), std::wstring::npos);
    EXPECT_EQ(stored.find(L"00000000-0000"), std::wstring::npos);
}

// Only what still names an object of the open configurations is written; the rest stays in
// memory.
TEST_F(BrowserViewStateTest, StaleEntriesAreNotWritten) {
    IConfiguration* other = GlobalCfgGroup().Add(CreateConfiguration(L"Other", false));
    ILibrary* pipes = other->AddLibrary(CreateLibrary(L"Pipes"));
    const std::wstring pipesId = text(pipes);
    BrowserViewState state;
    state.SetLibraryExpanded(pipes, true);
    state.SetDocumentHidden(pipes, L"Pipe.grb", true);
    state.SetDocumentHidden(bolts, L"M8.grb", true);
    state.SetDocumentHidden(bolts, L"M10.grb", true);
    state.SetGroupExpanded(group, true);
    state.SetGroupHidden(configuration, false);
    EXPECT_FALSE(BrowserViewState().HasHiddenItems());

    fs::remove(root() / "parts" / "Bolts" / "M10.grb");
    EXPECT_TRUE(other->Close(false));
    const std::wstring stored = store(state);
    EXPECT_EQ(stored.find(pipesId), std::wstring::npos) << "its configuration was closed";
    EXPECT_EQ(stored.find(L"M10.grb"), std::wstring::npos) << "its file was deleted";
    EXPECT_NE(stored.find(L"M8.grb"), std::wstring::npos);
    EXPECT_NE(stored.find(text(group)), std::wstring::npos);
    EXPECT_TRUE(state.IsDocumentHidden(bolts, L"M10.grb")) << "kept in memory";
}

TEST(BrowserViewStateOrder, IdentifiersSortAsThePlatformHoldsThemInMemory) {
    const auto id = [](const wchar_t* t) { return *Guid::TryParse(t); };
    // The first field is little endian in memory: its last text byte comes first.
    const Guid low = id(L"{01000000-0000-0000-0000-000000000000}");
    const Guid high = id(L"{00000001-0000-0000-0000-000000000000}");
    const Guid tail = id(L"{00000000-0000-0000-0000-000000000001}");
    BrowserViewState::GuidOrder less;
    EXPECT_TRUE(less(tail, low));
    EXPECT_TRUE(less(low, high));
    EXPECT_FALSE(less(high, low));
    EXPECT_FALSE(less(low, low));
}

} // namespace
