#include "partconv/kernel_files.h"

#include "pal/path.h"
#include "pal/text.h"
#include "partconv/file_names.h"
#include "win/base.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <random>
#include <system_error>
#include <unistd.h>

namespace partconv {
namespace {

constexpr int skipLineLength = 287;
constexpr std::string_view placeholderName = "unicode filename";
constexpr std::string_view xmlHeader = "<?xml version=\"1.0\" ?>\n";
constexpr int xmlGuise = 10;

// Fixed texts of the FRU=, APPL= and SITE= lines; the version is the build's.
constexpr std::string_view makerName = "Dravik";
constexpr std::string_view applicationName = "PartConv " DV_PARTCONV_VERSION;
constexpr std::string_view siteName = "unknown";

SYSTEMTIME systemUtc() {
    SYSTEMTIME t{};
    GetSystemTime(&t);
    return t;
}

std::string_view formatName(int format) {
    return format == formatBinary ? "binary" : format == formatText ? "text" : "unknown";
}

} // namespace

KernelFiles::KernelFiles() : clock_(systemUtc) {}

KernelFiles::~KernelFiles() {
    closeAll();
}

int KernelFiles::start() {
    if (startCount_ != 0) {
        ++startCount_;
        return statusOk;
    }
    slots_.fill(false);
    line1_ = headerLine1();
    line2_ = headerLine2();
    endLine_ = headerEndLine();
    startCount_ = 1;
    return statusOk;
}

int KernelFiles::abort() {
    return startCount_ > 0 ? statusOk : statusRefused;
}

int KernelFiles::stop() {
    if (startCount_ <= 0)
        return statusRefused;
    --startCount_;
    std::vector<char>().swap(lineBuffer_);
    if (startCount_ == 0)
        closeAll();
    return statusOk;
}

// A file still open for writing was never finished: its temporary goes, the file it named stays.
KernelFiles::OpenFile::~OpenFile() {
    if (mode == Mode::writing && file) {
        file.reset();
        std::error_code ec;
        std::filesystem::remove(temporary, ec);
    }
}

void KernelFiles::closeAll() {
    files_.clear();
    slots_.fill(false);
}

KernelFiles::FilePtr KernelFiles::createTemporary(const std::filesystem::path& target,
                                                  std::filesystem::path& temporary) {
    static std::mt19937 random{std::random_device{}()};
    // A hidden name, short enough whatever the length of the target's own.
    const std::string leaf = target.filename().string().substr(0, 64);
    for (int attempt = 0; attempt < 16; ++attempt) {
        char tag[16];
        std::snprintf(tag, sizeof tag, "%08x", static_cast<unsigned>(random()));
        temporary = target.parent_path() / ("." + leaf + "." + tag + ".tmp");
        // "x": never an existing file, and never through a link someone left under that name.
        if (FilePtr file{std::fopen(temporary.c_str(), "wbx")}) {
            std::error_code ec;
            const auto earlier = std::filesystem::status(target, ec);
            if (!ec && std::filesystem::is_regular_file(earlier))
                std::filesystem::permissions(temporary, earlier.permissions(), ec);
            return file;
        }
        if (errno != EEXIST)
            break;
    }
    temporary.clear();
    return nullptr;
}

int KernelFiles::allocate(std::size_t size, char** pointer) {
    if (startCount_ <= 0)
        return statusRefused;
    void* p = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (pointer)
        *pointer = static_cast<char*>(p);
    return p ? statusOk : statusNoMemory;
}

int KernelFiles::release(std::size_t, char* pointer) {
    if (startCount_ <= 0)
        return statusRefused;
    if (pointer)
        VirtualFree(pointer, 0, MEM_RELEASE);
    return statusOk;
}

KernelFiles::Opening KernelFiles::narrowOpening(int guise, int format, std::string_view key,
                                                Mode mode) const {
    Opening o(guise, format, mode);
    if (auto name = narrowFileName(guise, format, key, pal::path::fromNative(pal::folders::programDir()))) {
        o.native = pal::path::toNative(pal::text::fromUtf8(*name));
        o.name = std::move(*name);
    }
    o.key = key;
    return o;
}

// The kernel's wide names are not written into headers: the record holds a placeholder.
KernelFiles::Opening KernelFiles::wideOpening(int guise, int format, std::optional<std::wstring> name,
                                              Mode mode) const {
    Opening o(guise, format, mode);
    if (name)
        o.native = pal::path::toNative(*name);
    o.name = o.key = placeholderName;
    return o;
}

// The header is made before the file is opened, so that one that cannot be written leaves an
// earlier file of that name as it was. A file whose header could not be read or written is
// closed again (a half-written one deleted), so that a failed open leaves no identifier in use.
int KernelFiles::open(const Opening& o, int openFailure, int* identifier) {
    if (startCount_ <= 0)
        return statusRefused;
    if (openCount() >= maxOpenFiles)
        return statusTooManyFiles;
    if (!o.native)
        return statusNameTooLong;
    const bool writing = o.mode == Mode::writing;
    if (writing && !o.header)
        return statusWriteFailed;
    std::filesystem::path temporary;
    FilePtr file;
    if (writing) {
        // Only a file takes the place of a file: a folder of that name stays and the open fails.
        std::error_code ec;
        const auto st = std::filesystem::status(*o.native, ec);
        if (std::filesystem::exists(st) && !std::filesystem::is_regular_file(st))
            return openFailure;
        file = createTemporary(*o.native, temporary);
    } else {
        // Only a regular file of bounded size: opening a pipe would wait for a writer, and a
        // device or a growing file would never end.
        std::error_code ec;
        const auto st = std::filesystem::status(*o.native, ec);
        if (ec || !std::filesystem::is_regular_file(st) ||
            std::filesystem::file_size(*o.native, ec) > maxInputBytes || ec)
            return openFailure;
        file.reset(std::fopen(o.native->c_str(), o.format == formatBinary ? "rb" : "r"));
    }
    if (!file)
        return openFailure;
    int slot = 0;
    while (slots_[slot])
        ++slot;
    try {
        OpenFile& added = files_.emplace_back();
        added.identifier = slot + 1;
        added.guise = o.guise;
        added.format = o.format;
        added.mode = o.mode;
        added.native = *o.native;
        added.temporary = std::move(temporary);
        added.file = std::move(file);
    } catch (const std::bad_alloc&) {
        if (writing) {
            file.reset();
            std::error_code ec;
            std::filesystem::remove(temporary, ec);
        }
        return statusTooManyFiles;
    }
    slots_[slot] = true;
    OpenFile& record = files_.back();
    const int s = writing ? writeText(record, *o.header) : o.skipHeader ? skipHeader(record) : statusOk;
    if (s != statusOk) {
        closeRecord(record, writing);
        return s;
    }
    if (identifier)
        *identifier = record.identifier;
    return statusOk;
}

bool KernelFiles::closeRecord(OpenFile& record, bool deleteFile) {
    const std::filesystem::path native = record.native;
    const std::filesystem::path temporary = record.temporary;
    const bool writing = record.mode == Mode::writing;
    // A file any write of which failed is not whole and never takes the place of another.
    const bool whole = !writing || !std::ferror(record.file.get());
    slots_[record.identifier - 1] = false;
    // A part file that is to stay reaches the disk before it takes the old one's name, so that a
    // crash leaves the old file or the whole new one, never an empty one. A write that the buffer
    // held back fails here, when the disk is full or the file too large.
    std::FILE* file = record.file.release();
    const bool keep = writing && whole && !deleteFile;
    const bool synced = !keep || (std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0);
    const bool closed = std::fclose(file) == 0 && synced;
    files_.remove_if([&](const OpenFile& f) { return &f == &record; });
    std::error_code ec;
    if (!writing)
        return closed;
    if (!closed || deleteFile || !whole) {
        std::filesystem::remove(temporary, ec);
        return closed && whole && !ec;
    }
    std::filesystem::rename(temporary, native, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        return false;
    }
    // The new name itself is kept by the folder's sync.
    const int folder = ::open(native.parent_path().empty() ? "." : native.parent_path().c_str(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A file system that cannot sync a folder (EINVAL) keeps names by other means.
    const bool named = folder >= 0 && (::fsync(folder) == 0 || errno == EINVAL);
    if (folder >= 0)
        ::close(folder);
    return named;
}

KernelFiles::OpenFile* KernelFiles::find(int identifier) {
    for (OpenFile& f : files_)
        if (f.identifier == identifier)
            return &f;
    return nullptr;
}

int KernelFiles::openRead(int guise, int format, std::string_view key, int skip, int* identifier) {
    Opening o = narrowOpening(guise, format, key, Mode::reading);
    o.skipHeader = skip == 1;
    return open(o, statusNotReadable, identifier);
}

int KernelFiles::openWrite(int guise, int format, std::string_view key, std::string_view headerText,
                           int* identifier) {
    Opening o = narrowOpening(guise, format, key, Mode::writing);
    o.header = standardHeader(o, headerText);
    return open(o, statusNotWritable, identifier);
}

int KernelFiles::openReadWide(int guise, int format, std::wstring_view key, int skip, int* identifier) {
    Opening o = wideOpening(guise, format, wideReadFileName(guise, key), Mode::reading);
    o.skipHeader = skip == 1;
    return open(o, statusNotReadable, identifier);
}

int KernelFiles::openWriteWide(int guise, int format, std::wstring_view key, std::string_view headerText,
                               int* identifier) {
    Opening o = wideOpening(guise, format, wideWriteFileName(guise, format, key), Mode::writing);
    o.header = guise == xmlGuise ? std::optional<std::string>(xmlHeader) : standardHeader(o, headerText);
    // The wide writing open answers 10, not 3, for a file it cannot open.
    return open(o, statusTooManyFiles, identifier);
}

int KernelFiles::writeText(OpenFile& record, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), record.file.get()) == text.size() ? statusOk
                                                                                      : statusWriteFailed;
}

std::optional<std::string> KernelFiles::standardHeader(const Opening& o, std::string_view headerText) const {
    const auto part2 = headerTextLines(headerText);
    if (!part2)
        return std::nullopt;
    const SYSTEMTIME now = clock_();
    std::string h;
    h.reserve(1024);
    h += line1_;
    h += line2_;
    h += "**PART1;\n";
    h += "MC=x86;\n";
    h.append("MC_MODEL=").append(machineModel(processorType())).append(";\n");
    h += "MC_ID=unknown;\nOS=MS_WINDOWS;\nOS_RELEASE=unknown;\n";
    h.append("FRU=").append(makerName).append(";\n");
    h.append("APPL=").append(applicationName).append(";\n");
    h.append("SITE=").append(siteName).append(";\n");
    h += "USER=unknown;\n";
    h.append("FORMAT=").append(formatName(o.format)).append(";\n");
    h.append("GUISE=").append(guiseHeaderName(o.guise)).append(";\n");
    h.append("KEY=").append(o.key).append(";\n");
    h.append("FILE=").append(rememberedName_.empty() ? o.name : rememberedName_).append(";\n");
    h.append("DATE=").append(headerDate(now)).append(";\n");
    h += "**PART2;\n";
    h += *part2;
    h += "**PART3;\n";
    h += endLine_;
    return h;
}

bool KernelFiles::growLineBuffer(std::size_t size) {
    if (lineBuffer_.size() >= size)
        return true;
    try {
        lineBuffer_.resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// A file that does not begin with the first header line has no header and is read from its
// first byte.
int KernelFiles::skipHeader(OpenFile& record) {
    if (!growLineBuffer(skipLineLength + 1))
        return statusRefused;
    char* line = lineBuffer_.data();
    std::FILE* f = record.file.get();
    const auto readLine = [&] { return std::fgets(line, skipLineLength + 1, f) != nullptr; };
    const auto failure = [&] { return std::feof(f) ? statusEndOfFile : statusReadFailed; };
    if (!readLine())
        return failure();
    if (line1_ != line) {
        std::rewind(f);
        return statusOk;
    }
    for (;;) {
        if (!readLine())
            return failure();
        const std::string_view text(line);
        if (text.starts_with("**END_OF_HEADER"))
            return statusOk;
        if (const auto at = text.find("FILE="); at != std::string_view::npos) {
            std::string_view value = text.substr(at + 5);
            value = value.substr(0, value.find_first_of(";\n"));
            rememberedName_ = std::string(value.substr(0, maxNameLength));
        }
    }
}

int KernelFiles::close(int, int identifier, int action) {
    if (startCount_ <= 0)
        return statusRefused;
    OpenFile* record = find(identifier);
    if (!record)
        return statusCloseFailed;
    return closeRecord(*record, record->mode == Mode::writing && action == closeDelete) ? statusOk
                                                                                        : statusCloseFailed;
}

int KernelFiles::read(int guise, int identifier, int maxLength, char* buffer, int* lengthRead) {
    if (startCount_ <= 0)
        return statusRefused;
    OpenFile* record = find(identifier);
    if (!record || record->guise != guise || record->mode != Mode::reading)
        return statusRefused;
    if (lengthRead)
        *lengthRead = 0;
    if (maxLength < 0 || !buffer)
        return statusReadFailed;
    if (maxLength == 0)
        return statusOk;
    std::FILE* f = record->file.get();
    const auto failure = [&] { return std::feof(f) ? statusEndOfFile : statusReadFailed; };
    int got = 0;
    if (record->format != formatText) {
        got = static_cast<int>(std::fread(buffer, 1, static_cast<std::size_t>(maxLength), f));
        if (got == 0)
            return failure();
    } else if (maxLength == 1) {
        const int c = std::fgetc(f);
        if (c == EOF)
            return failure();
        buffer[0] = static_cast<char>(c);
        got = 1;
    } else {
        if (!growLineBuffer(static_cast<std::size_t>(maxLength) + 1))
            return statusRefused;
        if (!std::fgets(lineBuffer_.data(), maxLength + 1, f))
            return failure();
        got = static_cast<int>(std::strlen(lineBuffer_.data()));
        std::memcpy(buffer, lineBuffer_.data(), static_cast<std::size_t>(got));
    }
    // A file that grew past the limit after it was opened is refused as well.
    record->bytesRead += static_cast<std::uint64_t>(got);
    if (record->bytesRead > maxInputBytes)
        return statusReadFailed;
    if (lengthRead)
        *lengthRead = got;
    return statusOk;
}

int KernelFiles::write(int guise, int identifier, int length, const char* data) {
    if (startCount_ <= 0)
        return statusRefused;
    OpenFile* record = find(identifier);
    if (!record || record->guise != guise || record->mode != Mode::writing)
        return statusRefused;
    if (length < 0 || (length > 0 && !data))
        return statusWriteFailed;
    std::FILE* f = record->file.get();
    if (record->format != formatText)
        return std::fwrite(data, 1, static_cast<std::size_t>(length), f) == static_cast<std::size_t>(length)
                   ? statusOk
                   : statusWriteFailed;
    if (length == 1)
        return std::fputc(data[0], f) == EOF ? statusWriteFailed : statusOk;
    if (!growLineBuffer(static_cast<std::size_t>(length) + 1))
        return statusRefused;
    if (length > 0)
        std::memcpy(lineBuffer_.data(), data, static_cast<std::size_t>(length));
    lineBuffer_[static_cast<std::size_t>(length)] = '\0';
    return std::fputs(lineBuffer_.data(), f) < 0 ? statusWriteFailed : statusOk;
}

} // namespace partconv
