// A child process holding a file (dvpal_file_holder), for tests of who holds a file: started
// with the file's native path, ready once it said so, ended when the object goes.
#pragma once

#include "win/system.h"

#include <filesystem>
#include <string>

namespace pal::test {

class FileHolderProcess {
public:
    // `how` is "open" or "lock". started() is false when the child could not hold the file.
    FileHolderProcess(const std::filesystem::path& file, const char* how) {
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE inRead = nullptr, outWrite = nullptr;
        if (!CreatePipe(&inRead, &input_, &inherit, 0) || !CreatePipe(&output_, &outWrite, &inherit, 0))
            return;
        SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = inRead;
        si.hStdOutput = outWrite;
        si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        std::wstring line = L"dvpal_file_holder.exe \"" + std::wstring(file.wstring()) + L"\" " +
                            std::wstring(how, how + std::char_traits<char>::length(how));
        PROCESS_INFORMATION pi{};
        const BOOL created =
            CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
        CloseHandle(inRead);
        CloseHandle(outWrite);
        if (!created)
            return;
        process_ = pi.hProcess;
        CloseHandle(pi.hThread);
        pid_ = pi.dwProcessId;
        // The child says "ready" once it holds the file; it says nothing when it could not.
        std::string said;
        char c = 0;
        DWORD n = 0;
        while (said.size() < 6 && ReadFile(output_, &c, 1, &n, nullptr) && n == 1)
            said += c;
        ready_ = said == "ready\n";
    }

    ~FileHolderProcess() {
        if (input_ != nullptr)
            CloseHandle(input_);
        if (process_ != nullptr) {
            WaitForSingleObject(process_, INFINITE);
            CloseHandle(process_);
        }
        if (output_ != nullptr)
            CloseHandle(output_);
    }
    FileHolderProcess(const FileHolderProcess&) = delete;
    FileHolderProcess& operator=(const FileHolderProcess&) = delete;

    bool started() const { return ready_; }
    DWORD pid() const { return pid_; }

private:
    HANDLE input_ = nullptr;
    HANDLE output_ = nullptr;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    bool ready_ = false;
};

} // namespace pal::test
