#include "access.h"

#include "url.h"

#include "pal/path.h"
#include "pal/sandbox.h"

namespace pal::html {

namespace {

bool inside(const std::filesystem::path& file, const std::filesystem::path& folder) {
    std::error_code ec;
    const std::filesystem::path root = std::filesystem::weakly_canonical(folder, ec);
    if (ec || root.empty())
        return false;
    auto f = file.begin();
    for (auto r = root.begin(); r != root.end(); ++r, ++f) {
        if (r->empty() && std::next(r) == root.end())
            break; // a trailing separator
        if (f == file.end() || *f != *r)
            return false;
    }
    return true;
}

} // namespace

std::filesystem::path readableFile(std::wstring_view url, Load& why) {
    why = Load::Outside;
    const std::filesystem::path named = fileOfUrl(url);
    if (named.empty())
        return {};
    std::error_code ec;
    const std::filesystem::path file = std::filesystem::weakly_canonical(named, ec);
    if (ec || !(inside(file, pal::sandbox::root()) || inside(file, pal::folders::programDir())))
        return {};
    why = Load::NotFound;
    if (!std::filesystem::is_regular_file(file, ec))
        return {};
    why = Load::Ok;
    return file;
}

} // namespace pal::html
