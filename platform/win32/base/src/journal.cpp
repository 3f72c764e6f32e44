#include "pal/journal.h"

#include "pal/sandbox.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace pal::journal {
namespace {

// One line an entry: pid, kind and key=value fields, separated by tabs, with tab, line feed
// and backslash escaped, so every entry is one append of one line.
std::string escape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string unescape(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        const char n = s[++i];
        out += n == 't' ? '\t' : n == 'n' ? '\n' : n == 'r' ? '\r' : n;
    }
    return out;
}

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == '\t') {
            parts.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

} // namespace

std::string Entry::get(std::string_view key) const {
    for (const auto& [k, v] : fields)
        if (k == key)
            return v;
    return {};
}

bool Entry::has(std::string_view key) const {
    for (const auto& [k, v] : fields)
        if (k == key)
            return true;
    return false;
}

void record(std::string kind, std::vector<std::pair<std::string, std::string>> fields) {
    std::string line = std::to_string(getpid()) + "\t" + escape(kind);
    for (const auto& [k, v] : fields)
        line += "\t" + escape(k) + "=" + escape(v);
    line += "\n";
    const auto file = sandbox::root() / "journal.log";
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    // O_APPEND places the whole line at the end even with other processes appending.
    const char* p = line.data();
    size_t left = line.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        p += n;
        left -= static_cast<size_t>(n);
    }
    ::close(fd);
}

std::vector<Entry> readAll() {
    std::vector<Entry> entries;
    std::ifstream in(sandbox::root() / "journal.log", std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        // A line without its end is one another process is still appending: read it next time.
        if (in.eof())
            break;
        const auto parts = splitTabs(line);
        if (parts.size() < 2)
            continue;
        Entry e;
        e.pid = std::strtol(std::string(parts[0]).c_str(), nullptr, 10);
        e.kind = unescape(parts[1]);
        for (size_t i = 2; i < parts.size(); ++i) {
            const size_t eq = parts[i].find('=');
            if (eq == std::string_view::npos)
                e.fields.emplace_back(unescape(parts[i]), std::string());
            else
                e.fields.emplace_back(unescape(parts[i].substr(0, eq)), unescape(parts[i].substr(eq + 1)));
        }
        entries.push_back(std::move(e));
    }
    return entries;
}

} // namespace pal::journal

namespace pal::effects {

bool underTest() {
    const char* v = std::getenv("DV_PAL_TEST");
    return v && v[0] == '1';
}

bool launchDetached(const std::vector<std::string>& argv) {
    if (underTest() || argv.empty())
        return !argv.empty();
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0)
        return false;
    // Reap it when it ends so it never lingers as a zombie.
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

} // namespace pal::effects
