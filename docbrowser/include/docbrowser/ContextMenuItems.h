// The entries of the browser's context menus: each a command-bar button that knows its
// caption key, icon, whether a separator precedes it, its targets and whether it is enabled or
// ticked. Menus are made again each time they open, so all of that is decided when an entry is
// made. What most entries do when chosen comes with the browser's commands; the record
// commands (Rename) and the file clipboard's Cut, Copy and Paste act already.
#pragma once

#include "DravikKernel/DocumentsMenu.h"

#include "pal/visibility.h"
#include "xtp/Controls.h"

#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPCommandBars;
class CXTPPopupBar;

namespace DocumentsMenu {

class DocumentsMenuDlg;
class Record;

class ContextMenuItem : public CXTPControlButton {
public:
    // The caption is the key's translation now; icon -1 is none.
    ContextMenuItem(const char* captionKey, int iconId, bool beginGroup);
    virtual void Execute() = 0;
    void OnExecute() override;
    const char* GetCaptionKey() const { return key_; }

private:
    const char* key_;
};

// A caption key and an icon: what tells one command of a family from another.
struct MenuEntry {
    const char* key;
    int icon;
};

namespace Entries {
inline constexpr MenuEntry kActive{"docs_menu.ctx_menu.active_configuration", 4309};
inline constexpr MenuEntry kOpenInExplorer{"docs_menu.ctx_menu.open_in_explorer", 40819};
inline constexpr MenuEntry kSave{"docs_menu.ctx_menu.save", 1029};
inline constexpr MenuEntry kSaveAs{"docs_menu.ctx_menu.save_as", 1093};
inline constexpr MenuEntry kClose{"docs_menu.ctx_menu.close", 40820};
inline constexpr MenuEntry kUpdate{"docs_menu.ctx_menu.update", 43207};
inline constexpr MenuEntry kExclude{"docs_menu.ctx_menu.exclude", -1};
inline constexpr MenuEntry kInclude{"docs_menu.ctx_menu.include", -1};
inline constexpr MenuEntry kStandardElements{"docs_menu.ctx_menu.standard_elements", -1};
inline constexpr MenuEntry kSymbolElements{"docs_menu.ctx_menu.symbol", -1};
inline constexpr MenuEntry kAlterNames{"docs_menu.ctx_menu.alter_names", -1};
inline constexpr MenuEntry kOpenWindow{"docs_menu.ctx_menu.open_window", 1059};
inline constexpr MenuEntry kAddFolder{"docs_menu.ctx_menu.add_folder", 4302};
inline constexpr MenuEntry kAddGroup{"docs_menu.ctx_menu.add_group", 446};
inline constexpr MenuEntry kCut{"docs_menu.ctx_menu.cut", 8002};
inline constexpr MenuEntry kCopy{"docs_menu.ctx_menu.copy", 1735};
inline constexpr MenuEntry kPaste{"docs_menu.ctx_menu.paste", 1736};
inline constexpr MenuEntry kRemove{"docs_menu.ctx_menu.delete", 1032};
inline constexpr MenuEntry kCreateToolBar{"docs_menu.ctx_menu.create_toolbar", 40817};
inline constexpr MenuEntry kReplace{"docs_menu.ctx_menu.replace", -1};
inline constexpr MenuEntry kToRelative{"docs_menu.ctx_menu.use_relative_path", -1};
inline constexpr MenuEntry kToAbsolute{"docs_menu.ctx_menu.use_absolute_path", -1};
inline constexpr MenuEntry kPart2D{"docs_menu.ctx_menu.Part2D", 1065};
inline constexpr MenuEntry kPart3D{"docs_menu.ctx_menu.Part3D", 1064};
inline constexpr MenuEntry kAssembly2D{"docs_menu.ctx_menu.Assembly2D", 2044};
inline constexpr MenuEntry kAssembly3D{"docs_menu.ctx_menu.Assembly3D", 2043};
inline constexpr MenuEntry kDeleteFromDisc{"docs_menu.ctx_menu.delete_from_disc", 40818};
inline constexpr MenuEntry kCopyFullPath{"docs_menu.ctx_menu.copy_full_path", 1735};
inline constexpr MenuEntry kOpen{"docs_menu.ctx_menu.open", 1001};
inline constexpr MenuEntry kInsert{"docs_menu.ctx_menu.insert_as_fragment", 1026};
inline constexpr MenuEntry kInsertAsImage{"docs_menu.ctx_menu.insert_as_picture", 1077};
inline constexpr MenuEntry kProperties{"docs_menu.ctx_menu.properties", 1113};
inline constexpr MenuEntry kRename{"docs_menu.ctx_menu.rename", 8011};
inline constexpr MenuEntry kNewCfg{"docs_menu.ctx_menu.new", 1119};
inline constexpr MenuEntry kOpenCfg{"docs_menu.ctx_menu.open", 1109};
inline constexpr MenuEntry kOpenCfgFromOrsa{"docs_menu.ctx_menu.open_from_Orsa", 1912};
inline constexpr MenuEntry kSaveAllCfgs{"docs_menu.ctx_menu.save_all", 1201};
inline constexpr MenuEntry kCloseAllCfgs{"docs_menu.ctx_menu.close_all", 1127};
inline constexpr MenuEntry kTreeView{"docs_menu.ctx_menu.tree", -1};
inline constexpr MenuEntry kLibrariesList{"docs_menu.ctx_menu.libraries_only", -1};
inline constexpr MenuEntry kSplitModeNone{"docs_menu.ctx_menu.none", -1};
inline constexpr MenuEntry kSplitModeHorizontal{"docs_menu.ctx_menu.horizontal_split", 1231};
inline constexpr MenuEntry kSplitModeVertical{"docs_menu.ctx_menu.vertical_split", 1232};
inline constexpr MenuEntry kShowInvisible{"docs_menu.ctx_menu.show_invisible", 40753};
inline constexpr MenuEntry kHideInvisible{"docs_menu.ctx_menu.hide_invisible", 40754};
inline constexpr MenuEntry kShowExclusions{"docs_menu.ctx_menu.show_exclusions", -1};
inline constexpr MenuEntry kHideExclusions{"docs_menu.ctx_menu.hide_exclusions", -1};
} // namespace Entries

template <class Target> class TargetsMenuItem : public ContextMenuItem {
public:
    TargetsMenuItem(const MenuEntry& entry, std::vector<Target> targets, bool beginGroup)
        : ContextMenuItem(entry.key, entry.icon, beginGroup), targets_(std::move(targets)) {}
    const std::vector<Target>& GetTargets() const { return targets_; }

protected:
    std::vector<Target> targets_;
};

using ConfigurationMenuItem = TargetsMenuItem<IConfiguration*>;
using LibrariesGroupMenuItem = TargetsMenuItem<ILibrariesGroup*>;
using LibraryMenuItem = TargetsMenuItem<ILibrary*>;
using FolderMenuItem = TargetsMenuItem<std::wstring>;

// Document commands hold full paths; Insert, InsertAsImage, Include and Exclude also the
// library.
class DocumentMenuItem : public TargetsMenuItem<std::wstring> {
public:
    DocumentMenuItem(const MenuEntry& entry, std::vector<std::wstring> paths, bool beginGroup,
                     ILibrary* library = nullptr)
        : TargetsMenuItem(entry, std::move(paths), beginGroup), library_(library) {}
    ILibrary* GetLibrary() const { return library_; }

protected:
    ILibrary* library_;
};

// A command of a family, told apart by its entry; its action comes with the browser's commands.
template <class Base, const MenuEntry& Entry> class MenuCommand : public Base {
public:
    template <class T, class... More>
    MenuCommand(T targets, bool beginGroup = false, More... more)
        : Base(Entry, ToList(std::move(targets)), beginGroup, more...) {}
    void Execute() override {}

private:
    template <class T> static auto ToList(std::vector<T> list) { return list; }
    template <class T> static std::vector<T*> ToList(T* one) { return {one}; }
    static std::vector<std::wstring> ToList(std::wstring one) { return {std::move(one)}; }
};

// Check entries: ticked when every target has the flag; choosing one makes them all the
// opposite of the tick.
template <class Base, const MenuEntry& Entry, auto Flag> class FlagCommand : public MenuCommand<Base, Entry> {
public:
    template <class T>
    FlagCommand(T targets, bool beginGroup = false)
        : MenuCommand<Base, Entry>(std::move(targets), beginGroup) {
        bool all = !this->targets_.empty();
        for (auto* t : this->targets_)
            all = all && (t->*Flag)();
        this->SetChecked(all);
    }
};

namespace ConfigurationMenuItems {
using Active = MenuCommand<ConfigurationMenuItem, Entries::kActive>;
using OpenInExplorer = MenuCommand<ConfigurationMenuItem, Entries::kOpenInExplorer>;
using Save = MenuCommand<ConfigurationMenuItem, Entries::kSave>;
using SaveAs = MenuCommand<ConfigurationMenuItem, Entries::kSaveAs>;
using Close = MenuCommand<ConfigurationMenuItem, Entries::kClose>;
using Update = MenuCommand<ConfigurationMenuItem, Entries::kUpdate>;
using Exclude = MenuCommand<ConfigurationMenuItem, Entries::kExclude>;
using Include = MenuCommand<ConfigurationMenuItem, Entries::kInclude>;
using StandardElements =
    FlagCommand<ConfigurationMenuItem, Entries::kStandardElements, &ILibraryItem::IsStandardElements>;
// Opens the names editor of the one configuration it holds.
class AlterNames : public MenuCommand<ConfigurationMenuItem, Entries::kAlterNames> {
public:
    using MenuCommand::MenuCommand;
    void Execute() override;
};
} // namespace ConfigurationMenuItems

namespace LibrariesGroupMenuItems {
using OpenClipart = MenuCommand<LibrariesGroupMenuItem, Entries::kOpenWindow>;
using AddFolder = MenuCommand<LibrariesGroupMenuItem, Entries::kAddFolder>;
using AddGroup = MenuCommand<LibrariesGroupMenuItem, Entries::kAddGroup>;
using Cut = MenuCommand<LibrariesGroupMenuItem, Entries::kCut>;
using Copy = MenuCommand<LibrariesGroupMenuItem, Entries::kCopy>;
using Remove = MenuCommand<LibrariesGroupMenuItem, Entries::kRemove>;
using Exclude = MenuCommand<LibrariesGroupMenuItem, Entries::kExclude>;
using Include = MenuCommand<LibrariesGroupMenuItem, Entries::kInclude>;
using StandardElements =
    FlagCommand<LibrariesGroupMenuItem, Entries::kStandardElements, &ILibraryItem::IsStandardElements>;
// Enabled only while the libraries clipboard holds a copy or cut of libraries or groups.
class Paste : public MenuCommand<LibrariesGroupMenuItem, Entries::kPaste> {
public:
    Paste(ILibrariesGroup* group, bool beginGroup = false);
};
} // namespace LibrariesGroupMenuItems

namespace LibraryMenuItems {
using OpenClipart = MenuCommand<LibraryMenuItem, Entries::kOpenWindow>;
using CreateToolBar = MenuCommand<LibraryMenuItem, Entries::kCreateToolBar>;
using Remove = MenuCommand<LibraryMenuItem, Entries::kRemove>;
using Cut = MenuCommand<LibraryMenuItem, Entries::kCut>;
using Copy = MenuCommand<LibraryMenuItem, Entries::kCopy>;
using Update = MenuCommand<LibraryMenuItem, Entries::kUpdate>;
using Replace = MenuCommand<LibraryMenuItem, Entries::kReplace>;
using ConvertPathToRelative = MenuCommand<LibraryMenuItem, Entries::kToRelative>;
using ConvertPathToAbsolute = MenuCommand<LibraryMenuItem, Entries::kToAbsolute>;
using Exclude = MenuCommand<LibraryMenuItem, Entries::kExclude>;
using Include = MenuCommand<LibraryMenuItem, Entries::kInclude>;
using StandardElements =
    FlagCommand<LibraryMenuItem, Entries::kStandardElements, &ILibraryItem::IsStandardElements>;
using SymbolElements = FlagCommand<LibraryMenuItem, Entries::kSymbolElements, &ILibrary::IsSymbolElements>;
// Enabled only while the clipboard offers a drawing; pastes the drawings into the folder.
class Paste : public MenuCommand<LibraryMenuItem, Entries::kPaste> {
public:
    Paste(ILibrary* library, bool beginGroup = false);
    void Execute() override;
};
} // namespace LibraryMenuItems

namespace FolderMenuItems {
using OpenClipart = MenuCommand<FolderMenuItem, Entries::kOpenWindow>;
using Part2D = MenuCommand<FolderMenuItem, Entries::kPart2D>;
using Part3D = MenuCommand<FolderMenuItem, Entries::kPart3D>;
using Assembly2D = MenuCommand<FolderMenuItem, Entries::kAssembly2D>;
using Assembly3D = MenuCommand<FolderMenuItem, Entries::kAssembly3D>;
using Delete = MenuCommand<FolderMenuItem, Entries::kDeleteFromDisc>;
using OpenInExplorer = MenuCommand<FolderMenuItem, Entries::kOpenInExplorer>;
class Paste : public MenuCommand<FolderMenuItem, Entries::kPaste> {
public:
    Paste(std::vector<std::wstring> folders, bool beginGroup = false);
    void Execute() override;
};
} // namespace FolderMenuItems

namespace DocumentMenuItems {
using OpenInExplorer = MenuCommand<DocumentMenuItem, Entries::kOpenInExplorer>;
using CopyFullPath = MenuCommand<DocumentMenuItem, Entries::kCopyFullPath>;
using Open = MenuCommand<DocumentMenuItem, Entries::kOpen>;
using Delete = MenuCommand<DocumentMenuItem, Entries::kRemove>;
using Properties = MenuCommand<DocumentMenuItem, Entries::kProperties>;
using Update = MenuCommand<DocumentMenuItem, Entries::kUpdate>;
using Exclude = MenuCommand<DocumentMenuItem, Entries::kExclude>;
using Include = MenuCommand<DocumentMenuItem, Entries::kInclude>;
// Enabled only while the main frame's active view is a drawing view.
class Insert : public MenuCommand<DocumentMenuItem, Entries::kInsert> {
public:
    Insert(std::wstring path, bool beginGroup, ILibrary* library);
};
class InsertAsImage : public MenuCommand<DocumentMenuItem, Entries::kInsertAsImage> {
public:
    InsertAsImage(std::wstring path, bool beginGroup, ILibrary* library);
};
class Cut : public MenuCommand<DocumentMenuItem, Entries::kCut> {
public:
    using MenuCommand::MenuCommand;
    void Execute() override;
};
class Copy : public MenuCommand<DocumentMenuItem, Entries::kCopy> {
public:
    using MenuCommand::MenuCommand;
    void Execute() override;
};
} // namespace DocumentMenuItems

// Entries that act on a row.
class RecordContextMenuItem : public ContextMenuItem {
public:
    RecordContextMenuItem(const MenuEntry& entry, Record* record, bool beginGroup)
        : ContextMenuItem(entry.key, entry.icon, beginGroup), record_(record) {}

protected:
    Record* record_;
};

namespace RecordContextMenuItems {
class Rename : public RecordContextMenuItem {
public:
    Rename(Record* record, bool beginGroup);
    void Execute() override;
};
} // namespace RecordContextMenuItems

// Commands on all the open configurations.
namespace ConfigurationsGroupMenuItems {
template <const MenuEntry& Entry> class Command : public ContextMenuItem {
public:
    explicit Command(bool beginGroup = false) : ContextMenuItem(Entry.key, Entry.icon, beginGroup) {}
    void Execute() override {}
};
using NewCfg = Command<Entries::kNewCfg>;
using OpenCfg = Command<Entries::kOpenCfg>;
using OpenCfgFromORSA = Command<Entries::kOpenCfgFromOrsa>;
using SaveAllCfgs = Command<Entries::kSaveAllCfgs>;
using CloseAllCfgs = Command<Entries::kCloseAllCfgs>;
} // namespace ConfigurationsGroupMenuItems

// Entries that act on the browser's panel: its view, its preview and its two switches, each
// ticked or captioned as the panel stands when the menu is made.
class DocumentsMenuDlgMenuItem : public ContextMenuItem {
public:
    DocumentsMenuDlgMenuItem(const MenuEntry& entry, DocumentsMenuDlg* panel, bool beginGroup)
        : ContextMenuItem(entry.key, entry.icon, beginGroup), panel_(panel) {}
    DocumentsMenuDlg* GetPanel() const { return panel_; }

protected:
    DocumentsMenuDlg* panel_;
};

namespace DocumentsMenuDlgMenuItems {
// Whether the panel stands as the entry offers.
bool ShowsTree(const DocumentsMenuDlg& panel);
bool ShowsLibrariesList(const DocumentsMenuDlg& panel);
bool HasNoPreview(const DocumentsMenuDlg& panel);
bool HasPreviewBeside(const DocumentsMenuDlg& panel);
bool HasPreviewBelow(const DocumentsMenuDlg& panel);

template <const MenuEntry& Entry, bool (*Ticked)(const DocumentsMenuDlg&)>
class Command : public DocumentsMenuDlgMenuItem {
public:
    explicit Command(DocumentsMenuDlg* panel, bool beginGroup = false)
        : DocumentsMenuDlgMenuItem(Entry, panel, beginGroup) {
        SetChecked(panel != nullptr && Ticked(*panel));
    }
    void Execute() override {}
};
using TreeView = Command<Entries::kTreeView, &ShowsTree>;
using LibrariesList = Command<Entries::kLibrariesList, &ShowsLibrariesList>;
using SplitModeNone = Command<Entries::kSplitModeNone, &HasNoPreview>;
using SplitModeHorizontal = Command<Entries::kSplitModeHorizontal, &HasPreviewBeside>;
using SplitModeVertical = Command<Entries::kSplitModeVertical, &HasPreviewBelow>;
// "Show hidden" or, while hidden objects show, "Hide hidden".
class ShowHidden : public DocumentsMenuDlgMenuItem {
public:
    ShowHidden(DocumentsMenuDlg* panel, bool beginGroup = false);
    void Execute() override {}
};
class ShowExcluded : public DocumentsMenuDlgMenuItem {
public:
    ShowExcluded(DocumentsMenuDlg* panel, bool beginGroup = false);
    void Execute() override {}
};
} // namespace DocumentsMenuDlgMenuItems

// A sub-menu entry: its own popup bar, beginning a group.
class ContextMenuPopupItem : public CXTPControlPopup {
public:
    ContextMenuPopupItem(const char* captionKey, int iconId, CXTPCommandBars* commandBars);
};

} // namespace DocumentsMenu

DV_EXPORTS_END
