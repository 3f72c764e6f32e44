// Creates the named mutex given as argument and tells by its exit code what it found:
// 0 new, 1 existing and free, 2 existing and owned by another process, 3 failure.
#include "win/user.h"

#include "pal/text.h"

int main(int argc, char** argv) {
    if (argc != 2)
        return 3;
    HANDLE m = CreateMutexW(nullptr, FALSE, pal::text::fromUtf8(argv[1]).c_str());
    if (!m)
        return 3;
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        return 0;
    const DWORD r = WaitForSingleObject(m, 0);
    if (r == WAIT_OBJECT_0)
        ReleaseMutex(m);
    return r == WAIT_TIMEOUT ? 2 : 1;
}
