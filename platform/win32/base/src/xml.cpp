#include "pal/xml.h"

#include "pal/text.h"

#include <pugixml.hpp>

#include <sstream>

namespace pal::xml {

namespace {

pugi::xml_node node(void* handle) {
    return pugi::xml_node(static_cast<pugi::xml_node_struct*>(handle));
}

std::string utf8(std::wstring_view s) {
    return pal::text::toUtf8(s);
}
std::wstring wide(const char* s) {
    return pal::text::fromUtf8(s == nullptr ? std::string_view() : std::string_view(s));
}

// Every element as-is; declarations, comments and processing instructions are not elements.
bool isElement(const pugi::xml_node& n) {
    return n.type() == pugi::node_element;
}

} // namespace

std::wstring Node::name() const {
    return wide(node(handle_).name());
}

bool Node::hasAttribute(std::wstring_view name) const {
    return handle_ != nullptr && !node(handle_).attribute(utf8(name).c_str()).empty();
}

std::optional<std::wstring> Node::attribute(std::wstring_view name) const {
    if (handle_ == nullptr)
        return std::nullopt;
    const pugi::xml_attribute a = node(handle_).attribute(utf8(name).c_str());
    if (a.empty())
        return std::nullopt;
    return wide(a.value());
}

std::wstring Node::attribute(std::wstring_view name, std::wstring_view fallback) const {
    auto value = attribute(name);
    return value ? *value : std::wstring(fallback);
}

std::vector<std::pair<std::wstring, std::wstring>> Node::attributes() const {
    std::vector<std::pair<std::wstring, std::wstring>> out;
    if (handle_ == nullptr)
        return out;
    for (const pugi::xml_attribute& a : node(handle_).attributes())
        out.emplace_back(wide(a.name()), wide(a.value()));
    return out;
}

void Node::setAttribute(std::wstring_view name, std::wstring_view value) {
    if (handle_ == nullptr)
        return;
    pugi::xml_node n = node(handle_);
    const std::string key = utf8(name);
    pugi::xml_attribute a = n.attribute(key.c_str());
    if (a.empty())
        a = n.append_attribute(key.c_str());
    a.set_value(utf8(value).c_str());
}

bool Node::removeAttribute(std::wstring_view name) {
    return handle_ != nullptr && node(handle_).remove_attribute(utf8(name).c_str());
}

std::wstring Node::text() const {
    return handle_ == nullptr ? std::wstring() : wide(node(handle_).text().get());
}

void Node::setText(std::wstring_view value) {
    if (handle_ != nullptr)
        node(handle_).text().set(utf8(value).c_str());
}

Node Node::child(std::wstring_view name) const {
    if (handle_ == nullptr)
        return {};
    return Node(node(handle_).child(utf8(name).c_str()).internal_object());
}

Node Node::firstChild() const {
    if (handle_ == nullptr)
        return {};
    for (pugi::xml_node c = node(handle_).first_child(); c; c = c.next_sibling()) {
        if (isElement(c))
            return Node(c.internal_object());
    }
    return {};
}

Node Node::nextSibling() const {
    if (handle_ == nullptr)
        return {};
    for (pugi::xml_node c = node(handle_).next_sibling(); c; c = c.next_sibling()) {
        if (isElement(c))
            return Node(c.internal_object());
    }
    return {};
}

Node Node::nextSibling(std::wstring_view name) const {
    if (handle_ == nullptr)
        return {};
    return Node(node(handle_).next_sibling(utf8(name).c_str()).internal_object());
}

Node Node::parent() const {
    if (handle_ == nullptr)
        return {};
    pugi::xml_node p = node(handle_).parent();
    return isElement(p) ? Node(p.internal_object()) : Node();
}

std::vector<Node> Node::children() const {
    std::vector<Node> out;
    for (Node c = firstChild(); c; c = c.nextSibling())
        out.push_back(c);
    return out;
}

std::vector<Node::Piece> Node::content() const {
    std::vector<Piece> out;
    if (handle_ == nullptr)
        return out;
    for (pugi::xml_node c = node(handle_).first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_element)
            out.push_back({Node(c.internal_object()), {}});
        else if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata)
            out.push_back({Node(), wide(c.value())});
    }
    return out;
}

std::vector<Node> Node::children(std::wstring_view name) const {
    std::vector<Node> out;
    if (handle_ == nullptr)
        return out;
    const std::string key = utf8(name);
    for (pugi::xml_node c = node(handle_).child(key.c_str()); c; c = c.next_sibling(key.c_str()))
        out.push_back(Node(c.internal_object()));
    return out;
}

Node Node::appendChild(std::wstring_view name) {
    if (handle_ == nullptr)
        return {};
    return Node(node(handle_).append_child(utf8(name).c_str()).internal_object());
}

Node Node::appendCopy(const Node& source) {
    if (handle_ == nullptr || source.handle_ == nullptr)
        return {};
    return Node(node(handle_).append_copy(node(source.handle_)).internal_object());
}

bool Node::removeChild(const Node& child) {
    return handle_ != nullptr && child.handle_ != nullptr && node(handle_).remove_child(node(child.handle_));
}

void Node::removeChildren() {
    if (handle_ != nullptr)
        node(handle_).remove_children();
}

struct Document::Impl {
    pugi::xml_document doc;
};

Document::Document() : impl_(std::make_unique<Impl>()) {}
Document::~Document() = default;
Document::Document(Document&&) noexcept = default;
Document& Document::operator=(Document&&) noexcept = default;

namespace {

LoadResult outcome(const pugi::xml_parse_result& r, const std::string& where) {
    LoadResult out;
    out.ok = static_cast<bool>(r);
    if (!out.ok)
        out.message = where + ": " + r.description() + " at offset " + std::to_string(r.offset);
    return out;
}

} // namespace

LoadResult Document::loadFile(const std::filesystem::path& file) {
    const pugi::xml_parse_result r =
        impl_->doc.load_file(file.c_str(), pugi::parse_default, pugi::encoding_auto);
    if (!r)
        impl_->doc.reset();
    return outcome(r, file.string());
}

LoadResult Document::loadString(std::string_view utf8Text) {
    const pugi::xml_parse_result r =
        impl_->doc.load_buffer(utf8Text.data(), utf8Text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!r)
        impl_->doc.reset();
    return outcome(r, "text");
}

Node Document::root() const {
    return Node(impl_->doc.document_element().internal_object());
}

Node Document::resetRoot(std::wstring_view name) {
    impl_->doc.reset();
    return Node(impl_->doc.append_child(utf8(name).c_str()).internal_object());
}

Node Document::assignCopy(const Node& element) {
    if (!element)
        return {};
    // Copy first: the element may belong to this very document.
    pugi::xml_document copy;
    copy.append_copy(node(element.handle_));
    impl_->doc.reset(copy);
    return root();
}

std::string Document::toString(const Declaration& declaration) const {
    std::ostringstream out;
    out << "<?xml version=\"" << utf8(declaration.version) << '"';
    if (!declaration.encoding.empty())
        out << " encoding=\"" << utf8(declaration.encoding) << '"';
    out << "?>\n";
    // The declaration is ours; pugixml writes only the elements.
    for (pugi::xml_node c = impl_->doc.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_declaration)
            c.print(out, "\t", pugi::format_default, pugi::encoding_utf8);
    }
    return out.str();
}

WriteOutcome Document::save(const std::filesystem::path& file, const Declaration& declaration) const {
    return writeFileAtomically(file, toString(declaration));
}

} // namespace pal::xml
