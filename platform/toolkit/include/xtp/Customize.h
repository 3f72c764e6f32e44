// The customise sheet of a frame's command bars, and its keyboard page where a person assigns
// shortcuts to commands through the bars' shortcut manager.
#pragma once

#include "pal/visibility.h"
#include "xtp/PropertyPage.h"
#include "xtp/ShortcutManager.h"

#include <memory>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPCommandBar;
class CXTPCommandBars;
class CXTPControl;
class CXTPControls;

// Controls of the keyboard page's template.
constexpr UINT XTP_IDC_COMBO_CATEGORY = 5001;
constexpr UINT XTP_IDC_LIST_COMMANDS = 5002;
constexpr UINT XTP_IDC_LIST_KEYS = 5003;
constexpr UINT XTP_IDC_EDIT_SHORTCUTKEY = 5004;
constexpr UINT XTP_IDC_TEXT_ASSIGNMENTS = 5005;
constexpr UINT XTP_IDC_BUTTON_ASSIGN = 5006;
constexpr UINT XTP_IDC_BUTTON_REMOVE = 5007;
constexpr UINT XTP_IDC_BUTTON_RESETALL = 5008;
constexpr UINT XTP_IDC_TEXT_DESCRIPTION = 5009;
constexpr UINT XTP_IDC_LABEL_DESCRIPTION = 5010;
// Controls of the commands page's template.
constexpr UINT XTP_IDC_LIST_CATEGORIES = 5020;
constexpr UINT XTP_IDC_LIST_CATEGORY_COMMANDS = 5021;
constexpr UINT XTP_IDC_TEXT_COMMAND_DESCRIPTION = 5022;

class CXTPCustomizeCommandsPage;

class CXTPCustomizeSheet : public CXTPPropertySheet {
    DECLARE_DYNAMIC(CXTPCustomizeSheet)
public:
    // The sheet starts with its own commands page.
    explicit CXTPCustomizeSheet(CXTPCommandBars* pCommandBars, UINT iSelectPage = 0,
                                CWnd* pParentWnd = nullptr);
    ~CXTPCustomizeSheet() override;

    CXTPCustomizeCommandsPage* GetCommandsPage() const { return commands_.get(); }
    // A page at an index of the sheet (past the end: at the end).
    void InsertPage(CPropertyPage* pPage, int nIndex);

    CXTPCommandBars* GetCommandBars() const { return m_pCommandBars; }
    // The shortcut manager the keyboard page edits.
    // The shortcut manager the keyboard page edits: the one given, else the command bars'.
    CXTPShortcutManager* GetShortcutManager() const;
    void SetShortcutManager(CXTPShortcutManager* pShortcutManager) { m_pShortcutManager = pShortcutManager; }

    // The command bars are in customise mode while the sheet is open.
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    CXTPCommandBars* m_pCommandBars;
    CXTPShortcutManager* m_pShortcutManager = nullptr;

private:
    std::unique_ptr<CXTPCustomizeCommandsPage> commands_;
};

// Categories of commands whose controls a person drags from the list onto a bar (a copy goes
// there) while the sheet is open.
class CXTPCustomizeCommandsPage : public CXTPPropertyPage {
    DECLARE_DYNAMIC(CXTPCustomizeCommandsPage)
public:
    explicit CXTPCustomizeCommandsPage(CXTPCustomizeSheet* pSheet);
    ~CXTPCustomizeCommandsPage() override;

    // The controls of a category (made empty when missing; at nIndex, -1: at the end). The page
    // owns them; callers add controls or clones.
    CXTPControls* InsertCategory(LPCWSTR lpszCategory, int nIndex = -1);
    CXTPControls* GetControls(LPCWSTR lpszCategory) const;
    int GetCategoryCount() const { return static_cast<int>(categories_.size()); }
    CString GetCategoryName(int nIndex) const;
    // Every command of the other categories once, by caption ("All Commands" unless named).
    void InsertAllCommandsCategory(LPCWSTR lpszCategory = nullptr, int nIndex = -1);
    // Copies of the menu bar's own controls ("Built-in Menus").
    void InsertBuiltInMenus(LPCWSTR lpszCategory = nullptr, int nIndex = -1);
    // One empty popup to make a new menu from ("New Menu").
    void InsertNewMenuCategory(LPCWSTR lpszCategory = nullptr, int nIndex = -1);

    BOOL SelectCategory(int nIndex);
    // The control of the chosen category at an index of the commands list.
    CXTPControl* GetListedControl(int nIndex) const;

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    class CommandList;
    struct Category {
        CString name;
        CXTPControls* controls;
    };
    void fillCommands();
    CXTPCustomizeSheet* sheet_;
    std::vector<Category> categories_;
    std::unique_ptr<CommandList> list_;
    CListBox categoryList_;
};

// What customise mode does with the controls of bars: a control dragged onto a bar moves there
// (or is copied, with Ctrl), dragged off every bar it is deleted. The bars' windows pass their
// mouse to it while the command bars are in customise mode.
class CXTPCustomizeDropSource {
public:
    // The control goes before the control at nBefore of the target (-1: at the end); false
    // when nothing changed.
    static BOOL DropControl(CXTPControl* pControl, CXTPCommandBar* pTarget, int nBefore, BOOL bCopy);
    // The control leaves its bar.
    static BOOL RemoveControl(CXTPControl* pControl);
    // Where a drop at a point of a bar (client coordinates) goes: before the control under the
    // point, or after it on its trailing half; -1 past the last.
    static int GetDropIndex(CXTPCommandBar* pTarget, CPoint point);
    // A bar's mouse in customise mode; true when taken.
    static BOOL OnBarMouse(CXTPCommandBar* pBar, UINT message, CPoint point);
    // The control being dragged, if any.
    static CXTPControl* GetDraggedControl();
};

// Categories of commands on the left, the chosen command's shortcuts on the right, and the
// edit in which a new one is pressed. Assignments take effect at once.
class CXTPCustomizeKeyboardPage : public CXTPPropertyPage {
    DECLARE_DYNAMIC(CXTPCustomizeKeyboardPage)
public:
    struct COMMAND {
        UINT nID;
        CString strCaption;
        CString strDescription;
    };
    struct CATEGORY {
        CString strName;
        std::vector<COMMAND> commands;
    };

    explicit CXTPCustomizeKeyboardPage(CXTPCustomizeSheet* pSheet);
    ~CXTPCustomizeKeyboardPage() override;

    // A category at the index (-1: at the end); answers its index.
    int InsertCategory(LPCWSTR lpszCategory, int nIndex = -1);
    // A command of a category; one without a caption is left out, and one that the category
    // has already only once.
    BOOL AddCommand(int nCategory, UINT nID, LPCWSTR lpszCaption, LPCWSTR lpszDescription = nullptr);
    // A category of the commands of controls: every control with an id, and the items of its
    // popups at any depth captioned with their path ("Zoom | In"), the popups' own entries left
    // out. Answers the category's index.
    int AddCategory(LPCWSTR lpszCategory, CXTPControls* pControls);
    // One category per control of a menu bar: a popup gives its items, a plain control itself.
    void AddCategories(CXTPControls* pMenuBarControls);
    const std::vector<CATEGORY>& GetCategories() const { return categories_; }

    CXTPShortcutManager* GetShortcutManager() const;
    CXTPShortcutManager::CKeyAssign& GetKeyAssign() { return keyAssign_; }
    // The chosen category and command (-1 and 0 when none).
    BOOL SelectCategory(int nCategory);
    BOOL SelectCommand(UINT nID);
    UINT GetSelectedCommand() const;

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual void OnAssign();
    virtual void OnRemove();
    virtual void OnResetAll();

private:
    void addControls(int nCategory, CXTPControls* pControls, const CString& strPath);
    void fillCommands();
    void fillKeys();
    void updateButtons();
    CString captionOf(int nCommand) const;

    CXTPCustomizeSheet* sheet_;
    std::vector<CATEGORY> categories_;
    CXTPShortcutManager::CKeyAssign keyAssign_;
    std::vector<CXTPShortcutManagerAccel> shownKeys_;
    CComboBox categoryCombo_;
    CListBox commandList_;
    CListBox keyList_;
};

DV_EXPORTS_END
