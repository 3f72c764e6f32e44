#include "partconv/kernel_files.h"

#include "pal/path.h"
#include "pal/text.h"
#include "partconv/file_names.h"
#include "win/base.h"

#include <cstring>
#include <new>

namespace partconv {
namespace {

constexpr int skipLineLength = 287;
constexpr std::string_view placeholderName = "unicode filename";
constexpr std::string_view xmlHeader = "<?xml version=\"1.0\" ?>\n";
constexpr int xmlGuise = 10;

// Fixed texts of the FRU=, APPL= and SITE= lines.
constexpr std::string_view makerName = "Dravik";
constexpr std::string_view applicationName = "PartConv 18.0.21.0";
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

void KernelFiles::closeAll() {
    for (OpenFile& f : files_)
        std::fclose(f.file);
    files_.clear();
    slots_.fill(false);
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

int KernelFiles::openRecord(int guise, int format, Mode mode, std::string name, std::string key,
                            const std::filesystem::path& native, const char* fileMode, int failure,
                            OpenFile*& record) {
    std::FILE* file = std::fopen(native.c_str(), fileMode);
    if (!file)
        return failure;
    int slot = 0;
    while (slots_[slot])
        ++slot;
    try {
        files_.push_back(
            OpenFile{slot + 1, guise, format, mode, std::move(name), std::move(key), native, file});
    } catch (const std::bad_alloc&) {
        std::fclose(file);
        return statusTooManyFiles;
    }
    slots_[slot] = true;
    record = &files_.back();
    return statusOk;
}

// A file whose header could not be read or written is closed again, so that a failed open
// leaves neither an identifier in use nor a half-written file behind.
void KernelFiles::discard(OpenFile& record, bool deleteFile) {
    std::fclose(record.file);
    if (deleteFile) {
        std::error_code ec;
        std::filesystem::remove(record.native, ec);
    }
    slots_[record.identifier - 1] = false;
    files_.remove_if([&](const OpenFile& f) { return &f == &record; });
}

KernelFiles::OpenFile* KernelFiles::find(int identifier) {
    for (OpenFile& f : files_)
        if (f.identifier == identifier)
            return &f;
    return nullptr;
}

int KernelFiles::openRead(int guise, int format, std::string_view key, int skip, int* identifier) {
    if (startCount_ <= 0)
        return statusRefused;
    if (openCount() >= maxOpenFiles)
        return statusTooManyFiles;
    auto name = narrowFileName(guise, format, key, pal::path::fromNative(pal::folders::programDir()));
    if (!name)
        return statusNameTooLong;
    const auto native = pal::path::toNative(pal::text::fromUtf8(*name));
    OpenFile* record = nullptr;
    if (const int s = openRecord(guise, format, Mode::reading, *name, std::string(key), native,
                                 format == formatBinary ? "rb" : "r", statusNotReadable, record))
        return s;
    if (skip == 1) {
        if (const int s = skipHeader(*record)) {
            discard(*record, false);
            return s;
        }
    }
    if (identifier)
        *identifier = record->identifier;
    return statusOk;
}

int KernelFiles::openWrite(int guise, int format, std::string_view key, std::string_view headerText,
                           int* identifier) {
    if (startCount_ <= 0)
        return statusRefused;
    if (openCount() >= maxOpenFiles)
        return statusTooManyFiles;
    auto name = narrowFileName(guise, format, key, pal::path::fromNative(pal::folders::programDir()));
    if (!name)
        return statusNameTooLong;
    const auto native = pal::path::toNative(pal::text::fromUtf8(*name));
    OpenFile* record = nullptr;
    if (const int s = openRecord(guise, format, Mode::writing, *name, std::string(key), native, "wb",
                                 statusNotWritable, record))
        return s;
    if (const int s = writeStandardHeader(*record, headerText)) {
        discard(*record, true);
        return s;
    }
    if (identifier)
        *identifier = record->identifier;
    return statusOk;
}

int KernelFiles::openReadWide(int guise, int format, std::wstring_view key, int skip, int* identifier) {
    if (startCount_ <= 0)
        return statusRefused;
    if (openCount() >= maxOpenFiles)
        return statusTooManyFiles;
    const auto name = wideReadFileName(guise, key);
    if (!name)
        return statusNameTooLong;
    OpenFile* record = nullptr;
    if (const int s = openRecord(guise, format, Mode::reading, std::string(placeholderName),
                                 std::string(placeholderName), pal::path::toNative(*name),
                                 format == formatBinary ? "rb" : "r", statusNotReadable, record))
        return s;
    if (skip == 1) {
        if (const int s = skipHeader(*record)) {
            discard(*record, false);
            return s;
        }
    }
    if (identifier)
        *identifier = record->identifier;
    return statusOk;
}

int KernelFiles::openWriteWide(int guise, int format, std::wstring_view key, std::string_view headerText,
                               int* identifier) {
    if (startCount_ <= 0)
        return statusRefused;
    if (openCount() >= maxOpenFiles)
        return statusTooManyFiles;
    const auto name = wideWriteFileName(guise, format, key);
    if (!name)
        return statusNameTooLong;
    OpenFile* record = nullptr;
    if (const int s = openRecord(guise, format, Mode::writing, std::string(placeholderName),
                                 std::string(placeholderName), pal::path::toNative(*name), "wb",
                                 statusTooManyFiles, record))
        return s;
    const int s = guise == xmlGuise ? writeText(*record, std::string(xmlHeader))
                                    : writeStandardHeader(*record, headerText);
    if (s) {
        discard(*record, true);
        return s;
    }
    if (identifier)
        *identifier = record->identifier;
    return statusOk;
}

int KernelFiles::writeText(OpenFile& record, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), record.file) == text.size() ? statusOk
                                                                                : statusWriteFailed;
}

int KernelFiles::writeStandardHeader(OpenFile& record, std::string_view headerText) {
    const auto part2 = headerTextLines(headerText);
    if (!part2)
        return statusWriteFailed;
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
    h.append("FORMAT=").append(formatName(record.format)).append(";\n");
    h.append("GUISE=").append(guiseHeaderName(record.guise)).append(";\n");
    h.append("KEY=").append(record.key).append(";\n");
    h.append("FILE=").append(rememberedName_.empty() ? record.name : rememberedName_).append(";\n");
    h.append("DATE=").append(headerDate(now)).append(";\n");
    h += "**PART2;\n";
    h += *part2;
    h += "**PART3;\n";
    h += endLine_;
    return writeText(record, h);
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
    const auto readLine = [&] { return std::fgets(line, skipLineLength + 1, record.file) != nullptr; };
    const auto failure = [&] { return std::feof(record.file) ? statusEndOfFile : statusReadFailed; };
    if (!readLine())
        return failure();
    if (line1_ != line) {
        std::rewind(record.file);
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
    const bool remove = record->mode == Mode::writing && action == closeDelete;
    const std::filesystem::path native = record->native;
    slots_[record->identifier - 1] = false;
    const bool closed = std::fclose(record->file) == 0;
    files_.remove_if([&](const OpenFile& f) { return &f == record; });
    bool removed = true;
    if (remove) {
        std::error_code ec;
        removed = std::filesystem::remove(native, ec);
    }
    return closed && removed ? statusOk : statusCloseFailed;
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
    std::FILE* f = record->file;
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
    std::FILE* f = record->file;
    if (record->format != formatText)
        return std::fwrite(data, 1, static_cast<std::size_t>(length), f) == static_cast<std::size_t>(length)
                   ? statusOk
                   : statusWriteFailed;
    if (length == 1)
        return std::fputc(data[0], f) == EOF ? statusWriteFailed : statusOk;
    if (!growLineBuffer(static_cast<std::size_t>(length) + 1))
        return statusRefused;
    std::memcpy(lineBuffer_.data(), data, static_cast<std::size_t>(length));
    lineBuffer_[static_cast<std::size_t>(length)] = '\0';
    return std::fputs(lineBuffer_.data(), f) < 0 ? statusWriteFailed : statusOk;
}

} // namespace partconv
