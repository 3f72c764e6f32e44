// The kernel's use of the host: start and stop, memory, and the files it opens by key and
// guise, with the text header written at the top of every file it writes and skipped when
// one is read. Every operation answers a status (FileStatus).
//
// A file the kernel writes is written to a temporary file beside it and put in its place only
// when it is closed whole: a failed, aborted or interrupted write leaves an earlier file of that
// name as it was. Files are read only when they are regular files of at most maxInputBytes, so
// that a device, a pipe or an endless file fails at once.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

DV_EXPORTS_BEGIN

namespace partconv {

enum FileStatus : int {
    statusOk = 0,
    statusNameTooLong = 1,
    statusNotReadable = 2,
    statusNotWritable = 3,
    statusEndOfFile = 4,
    statusTooManyFiles = 10,
    statusWriteFailed = 12,
    statusReadFailed = 13,
    statusCloseFailed = 14,
    statusNoMemory = 15,
    statusRefused = 99, // not started, no such file, guise or mode mismatch, no line buffer
};

inline constexpr int maxOpenFiles = 32;
inline constexpr int closeDelete = 2;
// The largest file the kernel is given to read: 1 GiB. The kernel holds a whole partition in
// memory, and no part the system makes comes near this.
inline constexpr std::uint64_t maxInputBytes = std::uint64_t{1} << 30;

class KernelFiles {
public:
    // The current UTC date and time, for the header's DATE= line.
    using Clock = std::function<SYSTEMTIME()>;

    KernelFiles();
    ~KernelFiles();
    KernelFiles(const KernelFiles&) = delete;
    KernelFiles& operator=(const KernelFiles&) = delete;

    void setClock(Clock clock) { clock_ = std::move(clock); }

    int start();
    int abort();
    int stop();
    int allocate(std::size_t size, char** pointer);
    int release(std::size_t size, char* pointer);

    int openRead(int guise, int format, std::string_view key, int skipHeader, int* identifier);
    int openWrite(int guise, int format, std::string_view key, std::string_view headerText, int* identifier);
    int openReadWide(int guise, int format, std::wstring_view key, int skipHeader, int* identifier);
    int openWriteWide(int guise, int format, std::wstring_view key, std::string_view headerText,
                      int* identifier);
    int close(int guise, int identifier, int action);
    int read(int guise, int identifier, int maxLength, char* buffer, int* lengthRead);
    int write(int guise, int identifier, int length, const char* data);

    int startCount() const { return startCount_; }
    int openCount() const { return static_cast<int>(files_.size()); }
    // The value of the last "FILE=" line met while skipping a header.
    const std::string& rememberedFileName() const { return rememberedName_; }

private:
    enum class Mode { reading = 1, writing = 2 };
    struct CloseFile {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    using FilePtr = std::unique_ptr<std::FILE, CloseFile>;
    struct OpenFile {
        int identifier = 0;
        int guise = 0;
        int format = 0;
        Mode mode = Mode::reading;
        std::filesystem::path native;    // the file the kernel named
        std::filesystem::path temporary; // writing: where the bytes go until the close
        FilePtr file;
        std::uint64_t bytesRead = 0;
        ~OpenFile();
        OpenFile() = default;
        OpenFile(const OpenFile&) = delete;
        OpenFile& operator=(const OpenFile&) = delete;
    };
    // One open, narrow or wide, for reading or for writing, once its names are built.
    struct Opening {
        Opening(int guise, int format, Mode mode) : guise(guise), format(format), mode(mode) {}
        int guise;
        int format;
        Mode mode;
        std::optional<std::filesystem::path> native; // nothing: the name is too long
        std::string name;                            // as written into headers
        std::string key;
        bool skipHeader = false;           // reading
        std::optional<std::string> header; // writing: the text put first; nothing: it cannot be made
    };

    Opening narrowOpening(int guise, int format, std::string_view key, Mode mode) const;
    Opening wideOpening(int guise, int format, std::optional<std::wstring> name, Mode mode) const;
    // `openFailure` is the status of a file that cannot be opened.
    int open(const Opening& opening, int openFailure, int* identifier);
    // Frees the identifier, closes the file and forgets the record. A file being written then
    // takes the place of the file it names, or is dropped when `deleteFile` is set; false when
    // the close, the replacement or the deletion failed.
    bool closeRecord(OpenFile& record, bool deleteFile);
    // A new empty file beside `target` for writing, with the permissions of an earlier `target`.
    static FilePtr createTemporary(const std::filesystem::path& target, std::filesystem::path& temporary);
    OpenFile* find(int identifier);
    int skipHeader(OpenFile& record);
    std::optional<std::string> standardHeader(const Opening& opening, std::string_view headerText) const;
    int writeText(OpenFile& record, const std::string& text);
    bool growLineBuffer(std::size_t size);
    void closeAll();

    int startCount_ = 0;
    std::list<OpenFile> files_;
    std::array<bool, maxOpenFiles> slots_{};
    std::vector<char> lineBuffer_;
    std::string rememberedName_;
    std::string line1_, line2_, endLine_;
    Clock clock_;
};

} // namespace partconv

DV_EXPORTS_END
