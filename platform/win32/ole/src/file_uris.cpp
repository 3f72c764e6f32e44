#include "file_uris.h"

#include "pal/path.h"
#include "pal/text.h"

#include <cstdio>

namespace pal::ole {
namespace {

constexpr std::string_view kScheme = "file://";

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The local path of a file: URI ("file:///p" or "file://localhost/p"); empty for anything else.
std::wstring pathOf(std::string_view uri) {
    if (uri.substr(0, kScheme.size()) != kScheme)
        return {};
    uri.remove_prefix(kScheme.size());
    if (uri.substr(0, 9) == "localhost")
        uri.remove_prefix(9);
    if (uri.empty() || uri.front() != '/')
        return {}; // another machine's file
    std::string host;
    for (size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size() && hexValue(uri[i + 1]) >= 0 && hexValue(uri[i + 2]) >= 0) {
            host.push_back(static_cast<char>(hexValue(uri[i + 1]) * 16 + hexValue(uri[i + 2])));
            i += 2;
        } else {
            host.push_back(uri[i]);
        }
    }
    return pal::path::fromNative(std::filesystem::path(host));
}

std::string uriOf(const std::wstring& path) {
    const std::string host = pal::path::toNative(path).string();
    std::string uri(kScheme);
    for (unsigned char c : host) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
        if (plain) {
            uri.push_back(static_cast<char>(c));
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            uri += escaped;
        }
    }
    return uri;
}

std::vector<std::wstring> pathsOf(const std::vector<std::string_view>& lines, size_t from) {
    std::vector<std::wstring> paths;
    for (size_t i = from; i < lines.size(); ++i) {
        if (lines[i].empty() || lines[i].front() == '#')
            continue;
        if (std::wstring path = pathOf(lines[i]); !path.empty())
            paths.push_back(std::move(path));
    }
    return paths;
}

} // namespace

std::vector<std::wstring> parseUriList(std::string_view text) {
    return pathsOf(linesOf(text), 0);
}

std::string uriList(const std::vector<std::wstring>& paths) {
    std::string out;
    for (const std::wstring& p : paths)
        out += uriOf(p) + "\r\n";
    return out;
}

FileList parseCopiedFiles(std::string_view text) {
    const std::vector<std::string_view> lines = linesOf(text);
    FileList files;
    if (lines.empty() || (lines[0] != "copy" && lines[0] != "cut"))
        return files;
    files.effect = lines[0] == "cut" ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    files.paths = pathsOf(lines, 1);
    return files;
}

std::string copiedFiles(const FileList& files) {
    std::string out = (files.effect & DROPEFFECT_MOVE) ? "cut" : "copy";
    for (const std::wstring& p : files.paths)
        out += "\n" + uriOf(p);
    return out;
}

} // namespace pal::ole
