// The kernel's use of the host: start and stop, memory, and the files it opens by key and
// guise, with the text header written at the top of every file it writes and skipped when
// one is read. Every operation answers a status (FileStatus).
#pragma once

#include "win/types.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <list>
#include <string>
#include <string_view>
#include <vector>

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
    struct OpenFile {
        int identifier = 0;
        int guise = 0;
        int format = 0;
        Mode mode = Mode::reading;
        std::string name; // as written into headers
        std::string key;
        std::filesystem::path native; // the file itself, for deletion
        std::FILE* file = nullptr;
    };

    int openRecord(int guise, int format, Mode mode, std::string name, std::string key,
                   const std::filesystem::path& native, const char* fileMode, int failure, OpenFile*& record);
    void discard(OpenFile& record, bool deleteFile);
    OpenFile* find(int identifier);
    int skipHeader(OpenFile& record);
    int writeStandardHeader(OpenFile& record, std::string_view headerText);
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
