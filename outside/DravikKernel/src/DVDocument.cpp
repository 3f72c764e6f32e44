#include "DravikKernel/DVDocument.h"

#include "DravikKernel/KernelServices.h"
#include "DravikKernel/Objects.h"

#include <algorithm>
#include <cwctype>

namespace Dravik {

namespace {

std::vector<Page> defaultPages() {
    return {Page{PageKind::Sheet, 420.0, 297.0, L"Sheet 1"}};
}

// Recursive descent over the expression; names are looked up in the document.
class Evaluator {
public:
    Evaluator(const std::wstring& text, const DVDocument* document) : s_(text), doc_(document) {}

    std::optional<double> run() {
        auto v = sum();
        skip();
        if (!v || pos_ != s_.size())
            return std::nullopt;
        return v;
    }

private:
    void skip() {
        while (pos_ < s_.size() && std::iswspace(s_[pos_]))
            ++pos_;
    }
    bool eat(wchar_t c) {
        skip();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    std::optional<double> sum() {
        auto v = product();
        while (v) {
            if (eat(L'+')) {
                auto r = product();
                v = r ? std::optional(*v + *r) : std::nullopt;
            } else if (eat(L'-')) {
                auto r = product();
                v = r ? std::optional(*v - *r) : std::nullopt;
            } else
                break;
        }
        return v;
    }
    std::optional<double> product() {
        auto v = unary();
        while (v) {
            if (eat(L'*')) {
                auto r = unary();
                v = r ? std::optional(*v * *r) : std::nullopt;
            } else if (eat(L'/')) {
                auto r = unary();
                v = (r && *r != 0.0) ? std::optional(*v / *r) : std::nullopt;
            } else
                break;
        }
        return v;
    }
    std::optional<double> unary() {
        if (++depth_ > 64) // a pathological nesting is refused, not recursed into
            return std::nullopt;
        std::optional<double> v;
        if (eat(L'-')) {
            auto r = unary();
            v = r ? std::optional(-*r) : std::nullopt;
        } else if (eat(L'(')) {
            v = sum();
            if (!eat(L')'))
                v.reset();
        } else
            v = atom();
        --depth_;
        return v;
    }
    std::optional<double> atom() {
        skip();
        const std::size_t start = pos_;
        if (pos_ < s_.size() && (std::iswdigit(s_[pos_]) || s_[pos_] == L'.')) {
            while (pos_ < s_.size() && (std::iswdigit(s_[pos_]) || s_[pos_] == L'.'))
                ++pos_;
            if (pos_ < s_.size() && (s_[pos_] == L'e' || s_[pos_] == L'E')) {
                ++pos_;
                if (pos_ < s_.size() && (s_[pos_] == L'+' || s_[pos_] == L'-'))
                    ++pos_;
                while (pos_ < s_.size() && std::iswdigit(s_[pos_]))
                    ++pos_;
            }
            const std::wstring number = s_.substr(start, pos_ - start);
            try {
                std::size_t used = 0;
                const double v = std::stod(number, &used);
                if (used == number.size())
                    return v;
            } catch (...) {
            }
            return std::nullopt;
        }
        while (pos_ < s_.size() && (std::iswalnum(s_[pos_]) || s_[pos_] == L'_' || s_[pos_] == L'$'))
            ++pos_;
        if (pos_ == start || !doc_)
            return std::nullopt;
        const int i = doc_->FindVariable(s_.substr(start, pos_ - start));
        if (i < 0 || doc_->GetVariables()[i].type != VarType::Real)
            return std::nullopt;
        return doc_->GetVariables()[i].value;
    }

    const std::wstring& s_;
    const DVDocument* doc_;
    std::size_t pos_ = 0;
    int depth_ = 0;
};

// The names an expression refers to.
std::vector<std::wstring> namesIn(const std::wstring& s) {
    std::vector<std::wstring> names;
    std::size_t i = 0;
    while (i < s.size()) {
        if (std::iswdigit(s[i]) || s[i] == L'.') { // a number, exponent included
            while (i < s.size() && (std::iswalnum(s[i]) || s[i] == L'.'))
                ++i;
        } else if (std::iswalpha(s[i]) || s[i] == L'_' || s[i] == L'$') {
            const std::size_t start = i;
            while (i < s.size() && (std::iswalnum(s[i]) || s[i] == L'_' || s[i] == L'$'))
                ++i;
            names.push_back(s.substr(start, i - start));
        } else
            ++i;
    }
    return names;
}

} // namespace

std::wstring QuoteText(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

std::wstring UnquoteText(const std::wstring& text) {
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"')
        return text.substr(1, text.size() - 2);
    return text;
}

std::optional<double> EvaluateRealExpression(const std::wstring& expression, const DVDocument* document) {
    return Evaluator(expression, document).run();
}

DVDocument::DVDocument() : pages_(defaultPages()) {}
DVDocument::~DVDocument() = default;

void DVDocument::SetPages(std::vector<Page> pages) {
    pages_ = pages.empty() ? defaultPages() : std::move(pages);
    SetCurrentPage(currentPage_);
    modified_ = true;
    notify();
}

void DVDocument::SetCurrentPage(int index) {
    currentPage_ = (index >= 0 && index < static_cast<int>(pages_.size())) ? index : 0;
}

std::optional<int> DVDocument::get_syspanel_int(int id) const {
    const auto it = syspanelInts_.find(id);
    if (it == syspanelInts_.end())
        return std::nullopt;
    return it->second;
}

PageStatus DVDocument::GetPageStatus(int index) const {
    if (index < 0)
        index = currentPage_;
    const Page& page = pages_[index < static_cast<int>(pages_.size()) ? index : 0];
    return {0.0, 0.0, page.width, page.height};
}

std::size_t DVDocument::AddElement(Element element) {
    Change c;
    c.index = elements_.size();
    c.elemAfter = std::move(element);
    record(std::move(c));
    return elements_.size() - 1;
}

bool DVDocument::DeleteElement(std::size_t index) {
    if (index >= elements_.size())
        return false;
    Change c;
    c.index = index;
    c.elemBefore = elements_[index];
    record(std::move(c));
    return true;
}

const Element* DVDocument::FindElementByName(const std::wstring& name, bool ignoreCase) const {
    auto same = [&](const std::wstring& other) {
        if (!ignoreCase)
            return other == name;
        return other.size() == name.size() &&
               std::equal(other.begin(), other.end(), name.begin(),
                          [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
    };
    for (const Element& e : elements_)
        if (!name.empty() && same(e.name))
            return &e;
    return nullptr;
}

std::size_t DVDocument::InsertFragment(const DVDocument& fragment, std::uint32_t page, double x, double y,
                                       const std::wstring& undoName) {
    if (page >= pages_.size() || &fragment == this)
        return 0;
    const int from = fragment.GetCurrentPage();
    std::size_t added = 0;
    start_undo_block(undoName);
    for (const Element& source : fragment.GetElements()) {
        if (static_cast<int>(source.page) != from || source.kind == ElementKind::SheetFrame ||
            source.kind == ElementKind::TitleBlock)
            continue;
        Element e = source;
        e.page = page;
        // Points move; radii, angles and text heights do not.
        const std::size_t points =
            e.kind == ElementKind::Polyline || e.kind == ElementKind::Line ? e.coords.size() : 2;
        for (std::size_t i = 0; i + 1 < points; i += 2) {
            e.coords[i] += x;
            e.coords[i + 1] += y;
        }
        AddElement(std::move(e));
        ++added;
    }
    end_undo_block();
    return added;
}

int DVDocument::FindVariable(const std::wstring& name) const {
    for (std::size_t i = 0; i < variables_.size(); ++i)
        if (variables_[i].name == name)
            return static_cast<int>(i);
    return -1;
}

int DVDocument::create_text_var(const std::wstring& name, int index, const std::wstring& value, int length,
                                int) {
    std::wstring text = UnquoteText(value);
    if (length > 0 && text.size() > static_cast<std::size_t>(length))
        text.resize(length);
    Variable v{VarType::Text, name, QuoteText(text), 0.0};
    const int other = FindVariable(name);
    if (name.empty() || index < -1 || index >= static_cast<int>(variables_.size()) ||
        (other >= 0 && other != index))
        return -1;
    Change c;
    c.isVariable = true;
    c.index = index < 0 ? variables_.size() : index;
    if (index >= 0)
        c.varBefore = variables_[index];
    c.varAfter = std::move(v);
    record(std::move(c));
    return static_cast<int>(index < 0 ? variables_.size() - 1 : index);
}

bool DVDocument::IsValidRealExpression(const std::wstring& name, const std::wstring& expression) const {
    if (!EvaluateRealExpression(expression, this))
        return false;
    // A walk through the references; a variable seen once is not walked again.
    std::vector<std::wstring> pending = namesIn(expression), seen;
    while (!pending.empty()) {
        const std::wstring next = std::move(pending.back());
        pending.pop_back();
        if (next == name)
            return false;
        if (std::find(seen.begin(), seen.end(), next) != seen.end())
            continue;
        seen.push_back(next);
        const int i = FindVariable(next);
        if (i >= 0)
            for (std::wstring& n : namesIn(variables_[i].expression))
                pending.push_back(std::move(n));
    }
    return true;
}

int DVDocument::create_real_var(const std::wstring& name, int index, const std::wstring& expression, int) {
    const auto value = EvaluateRealExpression(expression, this);
    const int other = FindVariable(name);
    if (!value || !IsValidRealExpression(name, expression) || name.empty() || index < -1 ||
        index >= static_cast<int>(variables_.size()) || (other >= 0 && other != index))
        return -1;
    Change c;
    c.isVariable = true;
    c.index = index < 0 ? variables_.size() : index;
    if (index >= 0)
        c.varBefore = variables_[index];
    c.varAfter = Variable{VarType::Real, name, expression, *value};
    record(std::move(c));
    return static_cast<int>(index < 0 ? variables_.size() - 1 : index);
}

std::wstring DVDocument::GetTextValue(const std::wstring& name) const {
    const int i = FindVariable(name);
    if (i < 0 || variables_[i].type != VarType::Text)
        return {};
    return UnquoteText(variables_[i].expression);
}

bool IsValidLayerName(const std::wstring& name) {
    if (name.empty() || name.size() > 255)
        return false;
    return std::none_of(name.begin(), name.end(), [](wchar_t c) { return c < 0x20 || c == 0x7F; });
}

std::wstring GetCurrentFixingComment(std::uint32_t type) {
    return type == 2 ? L"Local coordinate system" : L"Fixing vector";
}

CDVObject* DVDocument::GetSafeObject(std::int64_t id) const {
    const auto it = objects_.find(id);
    // The container hands out its objects for reading and for the panels' parameters; a
    // change to their content goes through CreateElement or ShowElement.
    return it == objects_.end() ? nullptr : const_cast<DVContainerObject*>(it->second.get());
}

std::vector<const DVContainerObject*> DVDocument::GetObjects() const {
    std::vector<const DVContainerObject*> all;
    all.reserve(objects_.size());
    for (const auto& [id, object] : objects_)
        all.push_back(object.get());
    return all;
}

std::int64_t DVDocument::CreateElement(std::shared_ptr<DVContainerObject> object) {
    if (object == nullptr)
        return -1;
    const int type = object->GetTypeCode();
    if (type == kObjectTypeLayer && !IsValidLayerName(object->name))
        return -1;
    if (type != kObjectTypeLayer && type != kObjectTypeLCS && type != kObjectTypeCS3D)
        return -1;
    const std::int64_t id = nextId_;
    object->SetId(id);
    Change c;
    c.isObject = true;
    c.index = static_cast<std::size_t>(id);
    c.objAfter = std::move(object);
    record(std::move(c));
    return id;
}

bool DVDocument::ShowElement(std::int64_t id) {
    const auto it = objects_.find(id);
    if (it == objects_.end())
        return false;
    const auto* point = dynamic_cast<const FIXING_POINT*>(it->second.get());
    if (point == nullptr || point->visible)
        return point != nullptr;
    auto shown = std::make_shared<FIXING_POINT>(*point);
    shown->visible = true;
    Change c;
    c.isObject = true;
    c.index = static_cast<std::size_t>(id);
    c.objBefore = it->second;
    c.objAfter = std::move(shown);
    record(std::move(c));
    return true;
}

DVPageObject* DVDocument::GetPageObject(int index) const {
    if (index < 0 || index >= static_cast<int>(pages_.size()))
        return nullptr;
    if (pageObjects_.size() != pages_.size())
        pageObjects_.resize(pages_.size());
    auto& object = pageObjects_[static_cast<std::size_t>(index)];
    if (object == nullptr || object->GetName() != pages_[static_cast<std::size_t>(index)].name)
        object = std::make_unique<DVPageObject>(index, pages_[static_cast<std::size_t>(index)].name);
    return object.get();
}

const DVContainerObject* DVDocument::FindLayer(const std::wstring& name) const {
    for (const auto& [id, object] : objects_)
        if (object->GetTypeCode() == kObjectTypeLayer && object->name == name)
            return object.get();
    return nullptr;
}

void DVDocument::LoadObjects(std::vector<std::shared_ptr<DVContainerObject>> objects) {
    objects_.clear();
    nextId_ = 0;
    for (auto& object : objects) {
        nextId_ = std::max(nextId_, object->GetId() + 1);
        const std::int64_t id = object->GetId();
        objects_[id] = std::move(object);
    }
    lastFound_ = nullptr;
    notify();
}

void DVDocument::start_undo_block(int, unsigned nameId, int, int) {
    start_undo_block(DVLoadString(nameId));
}

void DVDocument::start_undo_block(const std::wstring& name) {
    if (blockDepth_++ == 0)
        open_ = DVAction{name, {}};
}

void DVDocument::end_undo_block() {
    if (blockDepth_ == 0 || --blockDepth_ > 0)
        return;
    DVAction action = std::move(*open_);
    open_.reset();
    if (!action.changes.empty()) {
        undo_.push_back(std::move(action));
        redo_.clear();
    }
}

bool DVDocument::CanUndo() const {
    return blockDepth_ == 0 && !undo_.empty();
}
bool DVDocument::CanRedo() const {
    return blockDepth_ == 0 && !redo_.empty();
}

bool DVDocument::Undo() {
    if (!CanUndo())
        return false;
    DVAction action = std::move(undo_.back());
    undo_.pop_back();
    for (auto it = action.changes.rbegin(); it != action.changes.rend(); ++it)
        apply(*it, false);
    recalculate();
    redo_.push_back(std::move(action));
    modified_ = true;
    notify();
    return true;
}

bool DVDocument::Redo() {
    if (!CanRedo())
        return false;
    DVAction action = std::move(redo_.back());
    redo_.pop_back();
    for (const Change& c : action.changes)
        apply(c, true);
    recalculate();
    undo_.push_back(std::move(action));
    modified_ = true;
    notify();
    return true;
}

std::wstring DVDocument::GetUndoName() const {
    return undo_.empty() ? std::wstring() : undo_.back().name;
}
std::wstring DVDocument::GetRedoName() const {
    return redo_.empty() ? std::wstring() : redo_.back().name;
}

void DVDocument::PushAction(DVAction action) {
    if (open_) {
        for (Change& c : action.changes)
            open_->changes.push_back(std::move(c));
    } else {
        undo_.push_back(std::move(action));
        redo_.clear();
    }
    modified_ = true;
    notify();
}

void DVDocument::ClearContent() {
    LoadContent(defaultPages(), {}, {});
}

void DVDocument::LoadContent(std::vector<Page> pages, std::vector<Variable> variables,
                             std::vector<Element> elements) {
    pages_ = pages.empty() ? defaultPages() : std::move(pages);
    currentPage_ = 0;
    variables_ = std::move(variables);
    elements_ = std::move(elements);
    objects_.clear();
    nextId_ = 0;
    lastFound_ = nullptr;
    undo_.clear();
    redo_.clear();
    open_.reset();
    blockDepth_ = 0;
    modified_ = false;
    notify();
}

void DVDocument::notify() {
    if (listener_)
        listener_();
}

void DVDocument::record(Change change) {
    apply(change, true);
    if (change.isVariable)
        recalculate();
    modified_ = true;
    notify();
    if (open_) {
        open_->changes.push_back(std::move(change));
    } else {
        undo_.push_back(DVAction{{}, {std::move(change)}});
        redo_.clear();
    }
}

void DVDocument::apply(const Change& c, bool forward) {
    if (c.isObject) {
        const auto& to = forward ? c.objAfter : c.objBefore;
        const auto id = static_cast<std::int64_t>(c.index);
        if (to) {
            objects_[id] = to;
            nextId_ = std::max(nextId_, id + 1);
        } else {
            if (lastFound_ == objects_[id].get())
                lastFound_ = nullptr;
            objects_.erase(id);
        }
    } else if (c.isVariable) {
        const auto& to = forward ? c.varAfter : c.varBefore;
        const auto& from = forward ? c.varBefore : c.varAfter;
        if (to && from)
            variables_[c.index] = *to;
        else if (to)
            variables_.insert(variables_.begin() + c.index, *to);
        else
            variables_.erase(variables_.begin() + c.index);
    } else {
        const auto& to = forward ? c.elemAfter : c.elemBefore;
        const auto& from = forward ? c.elemBefore : c.elemAfter;
        if (to && from)
            elements_[c.index] = *to;
        else if (to)
            elements_.insert(elements_.begin() + c.index, *to);
        else
            elements_.erase(elements_.begin() + c.index);
    }
}

// Real variables that refer to others follow them: each is evaluated again in order, as
// often as there are variables, so chains settle whatever their order.
void DVDocument::recalculate() {
    for (std::size_t pass = 0; pass < variables_.size(); ++pass) {
        bool changed = false;
        for (Variable& v : variables_) {
            if (v.type != VarType::Real)
                continue;
            if (auto value = EvaluateRealExpression(v.expression, this); value && *value != v.value) {
                v.value = *value;
                changed = true;
            }
        }
        if (!changed)
            break;
    }
}

} // namespace Dravik
