// The content of a kernel document: its pages, its 2D elements, its variables and its undo
// history. Every change goes through this class so that it can be undone.
#pragma once

#include "pal/visibility.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CDVObject;

namespace Dravik {

class DVContainerObject;
class DVPageObject;

enum class PageKind : std::uint32_t { Model = 1, Sheet = 2 };

struct Page {
    PageKind kind = PageKind::Sheet;
    double width = 420.0; // millimetres
    double height = 297.0;
    std::wstring name;
    bool operator==(const Page&) const = default;
};

// What a page shows: its extents in millimetres, the world window of a view of it.
struct PageStatus {
    double left = 0, bottom = 0, right = 0, top = 0;
};

enum class ElementKind : std::uint8_t {
    Line = 1,       // x1 y1 x2 y2
    Circle = 2,     // cx cy r
    Arc = 3,        // cx cy r start-degrees sweep-degrees (counter-clockwise)
    Polyline = 4,   // x y pairs
    Text = 5,       // x y height; the text
    SheetFrame = 6, // left right top bottom margins; drawn inside the page
    TitleBlock = 7, // right-bottom corner x y; cells filled from the variables
};

struct Element {
    ElementKind kind = ElementKind::Line;
    std::uint32_t page = 0;
    std::uint32_t color = 0; // 0x00BBGGRR
    std::wstring name;
    std::vector<double> coords;
    std::wstring text;
    bool operator==(const Element&) const = default;
};

enum class VarType : std::uint8_t { Real = 0, Text = 1 };

// A model variable. A text variable's expression is its text in double quotes ("" for the
// empty text), a real one's is a number or an arithmetic expression over other real variables.
struct Variable {
    VarType type = VarType::Real;
    std::wstring name;
    std::wstring expression;
    double value = 0.0;
    bool operator==(const Variable&) const = default;
};

// One undoable change of the content: a variable or an element at an index, or an object by
// its id, before and after. Empty before means it was inserted, empty after that it was removed.
struct Change {
    bool isVariable = false;
    bool isObject = false;
    std::size_t index = 0;
    std::optional<Variable> varBefore, varAfter;
    std::optional<Element> elemBefore, elemAfter;
    std::shared_ptr<const DVContainerObject> objBefore, objAfter;
};

// One step of the undo history, undone and redone as a whole.
struct DVAction {
    std::wstring name;
    std::vector<Change> changes;
};

class DVDocument {
public:
    DVDocument();
    virtual ~DVDocument();

    // Pages. A document always has at least one.
    const std::vector<Page>& GetPages() const { return pages_; }
    void SetPages(std::vector<Page> pages);
    int GetCurrentPage() const { return currentPage_; }
    void SetCurrentPage(int index);
    // The status of a page; -1 means the current page. An index outside the list gives the
    // first page's.
    PageStatus GetPageStatus(int index) const;

    // Elements.
    const std::vector<Element>& GetElements() const { return elements_; }
    std::size_t AddElement(Element element);
    bool DeleteElement(std::size_t index);
    const Element* FindElementByName(const std::wstring& name, bool ignoreCase) const;
    // Copies the geometry of a fragment's current page onto a page of this document, its
    // origin moved to x y, as one undo step of the given name. A fragment's own sheet frame and
    // title block stay behind. Returns the number of elements added; 0 for a page that does not
    // exist.
    std::size_t InsertFragment(const DVDocument& fragment, std::uint32_t page, double x, double y,
                               const std::wstring& undoName);

    // Objects with ids (DravikKernel/Objects.h): layers, local coordinate systems, 3D
    // coordinate-system elements. Ids are never reused within a container's life.
    // The object of the id; null for an id that names none (any more).
    CDVObject* GetSafeObject(std::int64_t id) const;
    // The objects in id order.
    std::vector<const DVContainerObject*> GetObjects() const;
    // Adds the object under a new id and answers the id; -1 for an object the kernel refuses
    // (a layer whose name IsValidLayerName refuses, an object of no known kind). Undoable.
    std::int64_t CreateElement(std::shared_ptr<DVContainerObject> object);
    // Makes a fixing vector visible; false for an id that names none. Undoable.
    bool ShowElement(std::int64_t id);
    // The page of the index as an object; null outside the pages.
    DVPageObject* GetPageObject(int index) const;
    // Layers by name, compared exactly; null when none has it.
    const DVContainerObject* FindLayer(const std::wstring& name) const;
    // The objects of a loaded file, with their ids, without history.
    void LoadObjects(std::vector<std::shared_ptr<DVContainerObject>> objects);
    // The object the person points at in a list of objects, for the views to highlight.
    void SetLastFoundObject(const CDVObject* object) { lastFound_ = object; }
    const CDVObject* GetLastFoundObject() const { return lastFound_; }

    // Variables. create_* make a new variable (index -1) or replace the one at the index;
    // they return its index, or -1 when the name is empty or taken by another variable, the
    // index is out of range or a real expression is not valid (IsValidRealExpression).
    const std::vector<Variable>& GetVariables() const { return variables_; }
    int FindVariable(const std::wstring& name) const;
    int create_text_var(const std::wstring& name, int index, const std::wstring& value, int length,
                        int flags);
    int create_real_var(const std::wstring& name, int index, const std::wstring& expression, int flags);
    // Whether a real variable of the name may take the expression: it evaluates and refers to
    // itself neither directly nor through other variables.
    bool IsValidRealExpression(const std::wstring& name, const std::wstring& expression) const;
    // The text of a text variable without its quotes; empty for an unknown name.
    std::wstring GetTextValue(const std::wstring& name) const;

    // Undo. Changes made between start_undo_block and the matching end_undo_block become one
    // step; blocks nest, the outermost one names the step. A change outside a block is a step
    // of its own. Undo and redo are refused while a block is open.
    void start_undo_block(const std::wstring& name);
    // The same with the name given by the kernel's string of the id; the other arguments are
    // the caller's flags, kept for their callers.
    void start_undo_block(int flags, unsigned nameId, int reserved1, int reserved2);
    void end_undo_block();
    bool InUndoBlock() const { return blockDepth_ > 0; }
    bool CanUndo() const;
    bool CanRedo() const;
    bool Undo();
    bool Redo();
    std::wstring GetUndoName() const;
    std::wstring GetRedoName() const;
    std::size_t GetUndoCount() const { return undo_.size(); }
    // Appends a step whose changes have already been made; the redo history is dropped.
    void PushAction(DVAction action);

    // Any change, undo or redo counts as a modification.
    bool IsModified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // Puts everything back as a new empty document, without history.
    void ClearContent();
    // The whole content replaced at once, without history (a loaded file).
    void LoadContent(std::vector<Page> pages, std::vector<Variable> variables, std::vector<Element> elements);

    // Called after every change of the content (an edit, undo, redo, a load); the document
    // that holds the content shows it again. One listener; an empty one removes it.
    void SetChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }

    // The integer values of the system panel's controls by control id, as the running command
    // reads them; nothing for a control that was never given one.
    void set_syspanel_int(int id, int value) { syspanelInts_[id] = value; }
    std::optional<int> get_syspanel_int(int id) const;

    // What the sheet borders and title block are drawn with.
    bool show_sheet_borders() const { return showSheetBorders_; }
    void set_show_sheet_borders(bool show) { showSheetBorders_ = show; }
    std::uint32_t get_border_color() const { return 0x000000; }

private:
    void record(Change change);
    void apply(const Change& change, bool forward);
    void recalculate();
    void notify();

    std::vector<Page> pages_;
    int currentPage_ = 0;
    std::vector<Element> elements_;
    std::vector<Variable> variables_;
    std::vector<DVAction> undo_, redo_;
    std::optional<DVAction> open_;
    int blockDepth_ = 0;
    bool modified_ = false;
    bool showSheetBorders_ = true;
    std::function<void()> listener_;
    std::map<int, int> syspanelInts_;
    std::map<std::int64_t, std::shared_ptr<const DVContainerObject>> objects_;
    std::int64_t nextId_ = 0;
    mutable std::vector<std::unique_ptr<DVPageObject>> pageObjects_;
    const CDVObject* lastFound_ = nullptr;
};

// The kernel's name of the 2D content of a document.
using Container2D = DVDocument;

// A text in the enclosing double quotes of a text variable's expression, and back.
std::wstring QuoteText(const std::wstring& text);
// The stand-in's rule for text given to a text variable: one pair of enclosing quotes is
// removed, bare text is taken as it is, so "" and an empty text are both the empty text.
std::wstring UnquoteText(const std::wstring& text);

// Evaluates a real expression: numbers, + - * /, parentheses, unary minus and the names of
// real variables of the document. Empty when it does not evaluate.
std::optional<double> EvaluateRealExpression(const std::wstring& expression, const DVDocument* document);

} // namespace Dravik

using Dravik::DVDocument;

DV_EXPORTS_END
