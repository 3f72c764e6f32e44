// The one way the system reads and writes XML: a small document of elements, attributes and
// text over pugixml, with wide strings at its surface. Files are written through the atomic
// writer (pal/atomic_file.h) with the declaration the caller gives.
#pragma once

#include "pal/atomic_file.h"
#include "pal/visibility.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

DV_EXPORTS_BEGIN

namespace pal::xml {

class Document;

// An element of a document, or nothing (a failed look-up). A node does not own what it names: it
// stays valid while its document lives and the element is not removed. Operations on nothing do
// nothing and answer empty.
class Node {
public:
    Node() = default;

    explicit operator bool() const { return handle_ != nullptr; }
    bool operator==(const Node& other) const { return handle_ == other.handle_; }

    std::wstring name() const;

    // Attributes, in document order.
    bool hasAttribute(std::wstring_view name) const;
    std::optional<std::wstring> attribute(std::wstring_view name) const;
    std::wstring attribute(std::wstring_view name, std::wstring_view fallback) const;
    std::vector<std::pair<std::wstring, std::wstring>> attributes() const;
    void setAttribute(std::wstring_view name, std::wstring_view value);
    bool removeAttribute(std::wstring_view name);

    // The element's own text (its first text or character-data child).
    std::wstring text() const;
    void setText(std::wstring_view value);

    // Child elements.
    Node child(std::wstring_view name) const;
    Node firstChild() const;
    Node nextSibling() const;
    Node nextSibling(std::wstring_view name) const;
    Node parent() const;
    std::vector<Node> children() const;
    std::vector<Node> children(std::wstring_view name) const;
    // Everything inside the element in document order: its text runs (text and character data)
    // and its child elements, for documents that mix the two.
    struct Piece;
    std::vector<Piece> content() const;
    Node appendChild(std::wstring_view name);
    // A copy of `source` (with everything under it, from any document) as the last child.
    Node appendCopy(const Node& source);
    bool removeChild(const Node& node);
    void removeChildren();

private:
    friend class Document;
    explicit Node(void* handle) : handle_(handle) {}
    void* handle_ = nullptr; // a pugi::xml_node_struct
};

struct Node::Piece {
    Node element; // empty for a text run
    std::wstring text;
};

// The declaration a document is written with.
struct Declaration {
    std::wstring version = L"1.0";
    std::wstring encoding = L"utf-8";
};

struct LoadResult {
    bool ok = false;
    std::string message; // what was wrong and where, for the log
    explicit operator bool() const { return ok; }
};

class Document {
public:
    Document();
    ~Document();
    Document(Document&&) noexcept;
    Document& operator=(Document&&) noexcept;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Replaces the content. A failed load leaves the document empty.
    LoadResult loadFile(const std::filesystem::path& file);
    LoadResult loadString(std::string_view utf8);

    // The document element; empty when there is none.
    Node root() const;
    // Empties the document and makes `name` its document element.
    Node resetRoot(std::wstring_view name);
    // Empties the document and makes a copy of `element` (from any document) its element.
    Node assignCopy(const Node& element);

    // The document as UTF-8 text, indented by tabs, with the declaration.
    std::string toString(const Declaration& declaration = {}) const;
    WriteOutcome save(const std::filesystem::path& file, const Declaration& declaration = {}) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace pal::xml

DV_EXPORTS_END
