// Text files as the maker's libraries read them: line by line or whole, in UTF-8 (with or
// without its byte-order mark) or UTF-16 little-endian with its mark.
#pragma once

#include "pal/visibility.h"

#include <cstddef>
#include <string>

DV_EXPORTS_BEGIN

namespace dvio {

class TextFileReadStream {
public:
    // A file larger than this does not open: no text the program reads is anywhere near it.
    static constexpr std::size_t kMaxFileSize = std::size_t(16) << 20;
    // ReadAll refuses a rest longer than this many characters.
    static constexpr std::size_t kMaxWholeText = std::size_t(1) << 20;

    // Opens and decodes the file. `protection` and `shareRead` are the sharing the caller
    // wants, which a file read whole at once does not need; `encoding` 0 finds the encoding
    // from the byte-order mark, and no other value is known. Bytes that are not UTF-8 read as
    // U+FFFD. False when the file is missing, unreadable, too large or the encoding unknown.
    bool Open(const std::wstring& path, int protection, int encoding, bool shareRead);
    bool IsOpen() const { return open_; }
    void Close();

    // The next line without its end (LF, CR LF or a lone CR); false at the end of the file.
    bool ReadString(std::wstring& line);
    // Everything not yet read; false when nothing is open or the rest is longer than
    // kMaxWholeText.
    bool ReadAll(std::wstring& text);

private:
    std::wstring text_;
    std::size_t pos_ = 0;
    bool open_ = false;
};

} // namespace dvio

DV_EXPORTS_END
