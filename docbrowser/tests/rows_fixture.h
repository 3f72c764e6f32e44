// What the row tests share: a model of two configurations over real library folders, a tree
// control with the browser's columns (with or without a stand-in panel), and readers of rows
// and menus.
#pragma once

#include "docbrowser/ContextMenuItems.h"
#include "docbrowser/DocumentRecords.h"
#include "docbrowser/DocumentsMenuDlg.h"
#include "docbrowser/GroupRecords.h"
#include "docbrowser/LibraryRecords.h"
#include "docbrowser/RecordItems.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentFile.h"
#include "DravikUI/CachingImageManager.h"
#include "pal/path.h"
#include "pal/test/user_test.h"
#include "pal/text.h"
#include "win/ole/dataobject.h"
#include "xtp/PopupBar.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace rows_test {

namespace fs = std::filesystem;
using namespace DocumentsMenu;

// The entries of a record's menu: "|" before an entry that begins a group, "-" before one
// that is disabled, "*" before a ticked one; a sub-menu lists its entries in brackets.
inline std::vector<std::string> entries(CXTPCommandBar* bar) {
    std::vector<std::string> out;
    CXTPControls* controls = bar->GetControls();
    for (int i = 0; i < controls->GetCount(); ++i) {
        CXTPControl* c = controls->GetAt(i);
        std::string text = c->GetBeginGroup() ? "|" : "";
        if (!c->GetEnabled())
            text += "-";
        if (c->GetChecked())
            text += "*";
        if (auto* item = dynamic_cast<ContextMenuItem*>(c))
            text += std::string(item->GetCaptionKey()).substr(std::string("docs_menu.ctx_menu.").size());
        if (auto* popup = dynamic_cast<ContextMenuPopupItem*>(c)) {
            text += "[";
            for (const std::string& e : entries(popup->GetCommandBar()))
                text += e + " ";
            text += "]";
        }
        out.push_back(text);
    }
    return out;
}

// A configuration of the PDM system.
class PdmConfiguration : public IConfiguration {
public:
    using IConfiguration::IConfiguration;
    bool IsFromPdm() const override { return true; }
};

// The tree as the structure makes it: the browser's columns, sorted by name.
class Tree : public StructureBase {
public:
    using StructureBase::StructureBase;
    void AddColumns() {
        struct Column {
            const wchar_t* name;
            int item;
            int width;
            bool visible;
        };
        const Column columns[] = {{L"Name", 0, 190, true},      {L"Path", 1, 230, false},
                                  {L"Author", 2, 110, false},   {L"Company", 3, 100, false},
                                  {L"Comment", 4, 100, false},  {L"Visible", 5, 24, true},
                                  {L"Title", 6, 100, false},    {L"Subject", 7, 100, false},
                                  {L"Category", 8, 100, false}, {L"Keywords", 9, 100, false}};
        for (const Column& c : columns) {
            auto* column = AddColumn(new CXTPReportColumn(c.item, c.name, c.width));
            column->SetInternalName(c.name);
            column->SetVisible(c.visible);
            if (c.item == 5)
                column->SetHeaderIconId(40754);
        }
        SetSortColumn(FindColumn(L"Name"));
    }
};

class RowsTest : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        ::OleInitialize(nullptr);
        bolts = folder("lib/Bolts");
        drawing("lib/Bolts/a.grb", L"Anna Berg", L"Works Ltd");
        drawing("lib/Bolts/_frame.grb");
        drawing("lib/Bolts/b.grb");
        writeFile("lib/Bolts/notes.txt", "not a drawing");
        nuts = folder("lib/Nuts");
        drawing("lib/Nuts/m6.grb");
        old = folder("lib/Old");
        drawing("lib/Old/x.grb");

        auto works = std::make_unique<IConfiguration>(L"Works");
        auto fasteners = CreateLibrariesGroup(L"Fasteners");
        boltsLibrary = fasteners->AddLibrary(CreateLibrary(bolts.c_str()));
        nutsLibrary = fasteners->AddLibrary(CreateLibrary(nuts.c_str()));
        fastenersGroup = works->AddSubGroup(std::move(fasteners));
        oldLibrary = works->AddLibrary(CreateLibrary(old.c_str()));
        oldLibrary->SetExcluded(true);
        worksConfiguration = GlobalCfgGroup().Add(std::move(works));
        emptyConfiguration = GlobalCfgGroup().Add(std::make_unique<IConfiguration>(L"Empty"));
    }
    void TearDown() override {
        if (tree) {
            if (tree->GetSafeHwnd())
                tree->DestroyWindow();
            tree.reset();
        }
        if (frame && frame->GetSafeHwnd())
            frame->DestroyWindow();
        GlobalCfgGroup().Clear();
        ::OleUninitialize();
        UserTest::TearDown();
    }

    // A folder of the sandbox as the model keeps it: absolute, ending with a separator.
    std::wstring folder(const std::string& relative) {
        fs::create_directories(root() / relative);
        return pal::path::fromNative(root() / relative) + L"/";
    }
    // A drawing of one sheet with the given properties.
    void drawing(const std::string& relative, const std::wstring& author = {},
                 const std::wstring& company = {}) {
        CDvw32Doc doc;
        doc.Cont2D()->LoadContent({Dravik::Page{Dravik::PageKind::Sheet, 297, 210, L"Sheet 1"}}, {}, {});
        CDVPropertySet properties;
        properties.SetAuthor(author);
        properties.SetCompany(company);
        properties.SetTitle(pal::text::fromUtf8(fs::path(relative).stem().string()));
        doc.SetProperties(properties);
        writeFile(relative, Dravik::grb::Encode(doc));
    }

    // A tree in a frame, with the configurations' rows; a panel makes it a browser structure.
    StructureBase* makeTree(DocumentsMenuDlg* panel, bool pdmWorks = false) {
        frame = new CFrameWnd;
        frame->Create(nullptr, L"Documents", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 360));
        tree = std::make_unique<Tree>(panel);
        tree->SetImageManager(new CachingImageManager);
        tree->Create(WS_VISIBLE, CRect(0, 0, 620, 320), frame, 2);
        tree->AddColumns();
        for (std::size_t i = 0; i < GlobalCfgGroup().GetCount(); ++i) {
            IConfiguration* c = GlobalCfgGroup().GetAt(i);
            auto* record = (pdmWorks && c == worksConfiguration) ? new PDMConfigurationRecord(c)
                                                                 : new ConfigurationRecord(c);
            tree->AddRecord(record);
            record->Init();
        }
        tree->Populate();
        return tree.get();
    }

    // The rows shown, indented by depth; a placeholder shows as "()".
    std::vector<std::wstring> shown() const {
        std::vector<std::wstring> out;
        for (const auto& row : tree->GetRows()) {
            CXTPReportRecordItem* name = row->GetRecord()->GetItem(0);
            out.push_back(std::wstring(row->GetTreeDepth() * 2, L' ') +
                          (name ? std::wstring(name->GetCaption(nullptr)) : L"()"));
        }
        return out;
    }
    CXTPReportRow* row(const std::wstring& name) const {
        for (const auto& r : tree->GetRows())
            if (CXTPReportRecordItem* item = r->GetRecord()->GetItem(0);
                item && item->GetCaption(nullptr) == name.c_str())
                return r.get();
        return nullptr;
    }
    template <class T> T* record(const std::wstring& name) const {
        CXTPReportRow* r = row(name);
        return r ? dynamic_cast<T*>(r->GetRecord()) : nullptr;
    }
    // Expands the row by its record, as the structure does on the row's button.
    void expand(const std::wstring& name) {
        ASSERT_NE(row(name), nullptr) << pal::text::toUtf8(name);
        row(name)->SetExpanded(TRUE);
    }
    CPoint cellPoint(const std::wstring& rowName, const wchar_t* column) const {
        CRect r = tree->GetItemRect(row(rowName), tree->FindColumn(column));
        return CPoint(r.left + 4, r.top + r.Height() / 2);
    }

    std::wstring bolts, nuts, old;
    IConfiguration* worksConfiguration = nullptr;
    IConfiguration* emptyConfiguration = nullptr;
    ILibrariesGroup* fastenersGroup = nullptr;
    ILibrary* boltsLibrary = nullptr;
    ILibrary* nutsLibrary = nullptr;
    ILibrary* oldLibrary = nullptr;
    CFrameWnd* frame = nullptr;
    std::unique_ptr<Tree> tree;
};

} // namespace rows_test
