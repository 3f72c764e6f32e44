#include "Compression/TextFileReadStream.h"

#include "pal/path.h"
#include "pal/text.h"

#include <fstream>
#include <iterator>
#include <string_view>

namespace dvio {

bool TextFileReadStream::Open(const std::wstring& path, int, int encoding, bool) {
    Close();
    if (encoding != 0 || path.empty())
        return false;
    std::ifstream in(pal::path::toNative(path), std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::size_t>(size) > kMaxFileSize)
        return false;
    in.seekg(0, std::ios::beg);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (size > 0 && !in.read(bytes.data(), size))
        return false;
    std::string_view view(bytes);
    if (view.starts_with("\xFF\xFE")) {
        text_ = pal::text::fromUtf16leBytes(view.substr(2));
    } else {
        if (view.starts_with("\xEF\xBB\xBF"))
            view.remove_prefix(3);
        text_ = pal::text::fromUtf8(view);
    }
    pos_ = 0;
    open_ = true;
    return true;
}

void TextFileReadStream::Close() {
    text_.clear();
    pos_ = 0;
    open_ = false;
}

bool TextFileReadStream::ReadString(std::wstring& line) {
    if (!open_ || pos_ >= text_.size())
        return false;
    const std::size_t end = text_.find_first_of(L"\r\n", pos_);
    if (end == std::wstring::npos) {
        line.assign(text_, pos_);
        pos_ = text_.size();
        return true;
    }
    line.assign(text_, pos_, end - pos_);
    pos_ = end + (text_[end] == L'\r' && end + 1 < text_.size() && text_[end + 1] == L'\n' ? 2 : 1);
    return true;
}

bool TextFileReadStream::ReadAll(std::wstring& text) {
    if (!open_ || text_.size() - pos_ > kMaxWholeText)
        return false;
    text.assign(text_, pos_);
    pos_ = text_.size();
    return true;
}

} // namespace dvio
