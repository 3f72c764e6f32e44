#include "DravikKernel/WorkSession.h"

#include "DravikKernel/DocTemplate.h"

#include "DVDiagnostics/DVLog.h"
#include "pal/atomic_file.h"
#include "pal/path.h"
#include "pal/text.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace Dravik {
namespace {

constexpr const char* kFirstLine = "DVGRS 1";
// A session is a short list; anything larger is not one.
constexpr std::uintmax_t kMaxSessionFile = 1 << 20;

std::wstring fileNameOf(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

// Values are written on one line each: line breaks and backslashes are escaped.
std::string escape(const std::wstring& value) {
    std::string out;
    for (char c : pal::text::toUtf8(value)) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

bool unescape(const std::string& value, std::wstring* out) {
    std::string raw;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            raw += value[i];
            continue;
        }
        if (++i == value.size())
            return false;
        switch (value[i]) {
        case '\\':
            raw += '\\';
            break;
        case 'n':
            raw += '\n';
            break;
        case 'r':
            raw += '\r';
            break;
        default:
            return false;
        }
    }
    *out = pal::text::fromUtf8(raw);
    return true;
}

} // namespace

WorkSession CurrentWorkSession(const std::wstring& name) {
    WorkSession session;
    session.name = name;
    const CDvw32Doc* active = DVGetActiveDoc();
    for (CDvw32Doc* doc : DocumentManager::Instance().GetDocuments()) {
        if (doc->GetPathName().IsEmpty())
            continue;
        if (doc == active)
            session.active = static_cast<int>(session.documents.size());
        session.documents.emplace_back(doc->GetPathName());
    }
    return session;
}

bool SaveWorkSession(const std::wstring& path, const WorkSession& session, std::wstring* error) {
    std::ostringstream out;
    out << kFirstLine << '\n';
    out << "name=" << escape(session.name) << '\n';
    out << "readonly=" << (session.readOnly ? 1 : 0) << '\n';
    out << "active=" << session.active << '\n';
    for (const std::wstring& doc : session.documents)
        out << "document=" << escape(doc) << '\n';
    const pal::WriteOutcome outcome = pal::writeFileAtomically(pal::path::toNative(path), out.str());
    if (!outcome && error)
        *error = L"Cannot save " + fileNameOf(path) + L": " + pal::text::fromUtf8(outcome.message) + L".";
    return outcome.ok;
}

bool LoadWorkSession(const std::wstring& path, WorkSession* session, std::wstring* error) {
    auto failed = [&](const std::wstring& why) {
        if (error)
            *error = L"Cannot open " + fileNameOf(path) + L": " + why + L".";
        return false;
    };
    const fs::path p = pal::path::toNative(path);
    std::error_code ec;
    const auto size = fs::file_size(p, ec);
    if (ec)
        return failed(L"the file cannot be read");
    if (size > kMaxSessionFile)
        return failed(L"the file is too large to be a work session");
    std::ifstream in(p, std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || line != kFirstLine)
        return failed(L"the file is not a work session of this program");
    WorkSession read;
    bool sawName = false, sawReadOnly = false, sawActive = false;
    while (std::getline(in, line)) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            return failed(L"the file is damaged");
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        std::wstring text;
        if (key == "name" && !sawName && unescape(value, &text)) {
            read.name = text;
            sawName = true;
        } else if (key == "readonly" && !sawReadOnly && (value == "0" || value == "1")) {
            read.readOnly = value == "1";
            sawReadOnly = true;
        } else if (key == "active" && !sawActive && !value.empty() && value.size() < 8) {
            try {
                std::size_t used = 0;
                read.active = std::stoi(value, &used);
                if (used != value.size())
                    return failed(L"the file is damaged");
            } catch (...) {
                return failed(L"the file is damaged");
            }
            sawActive = true;
        } else if (key == "document" && unescape(value, &text) && !text.empty()) {
            const fs::path doc(pal::text::toUtf8(text));
            read.documents.push_back(
                pal::path::isAbsolute(text)
                    ? text
                    : pal::text::fromUtf8((p.parent_path() / doc).lexically_normal().string()));
        } else {
            return failed(L"the file is damaged");
        }
    }
    if (!sawName || !sawReadOnly || !sawActive || read.active < -1 ||
        read.active >= static_cast<int>(read.documents.size()))
        return failed(L"the file is damaged");
    *session = std::move(read);
    return true;
}

std::vector<CDvw32Doc*> OpenWorkSession(const WorkSession& session, const DocInitParams& params,
                                        std::vector<std::wstring>* errors) {
    DocInitParams each = params;
    each.flags &= ~DocInitParams::kCreateNew;
    if (session.readOnly)
        each.flags |= DocInitParams::kReadOnly;
    std::vector<CDvw32Doc*> opened;
    CDvw32Doc* active = nullptr;
    for (std::size_t i = 0; i < session.documents.size(); ++i) {
        std::wstring error;
        CDvw32Doc* doc = DocumentManager::Instance().OpenDocumentFile(session.documents[i], each, &error);
        if (!doc) {
            DVLog_Write(DVLogOptionalFailure, "%s", pal::text::toUtf8(error).c_str());
            if (errors)
                errors->push_back(error);
            continue;
        }
        opened.push_back(doc);
        if (static_cast<int>(i) == session.active)
            active = doc;
    }
    if (active && !(each.flags & DocInitParams::kHidden))
        if (CDVDocTemplate* docTemplate = DocumentManager::Instance().GetDocTemplate())
            docTemplate->ActivateDocument(active);
    return opened;
}

} // namespace Dravik
