// The program's application object: start-up and shut-down of the shell.
#pragma once

#include "app/Dvw32App.h"
#include "pal/visibility.h"

#include <cstdint>
#include <functional>

DV_EXPORTS_BEGIN

class DravikApp : public CDvw32App {
    DECLARE_DYNAMIC(DravikApp)
public:
    DravikApp() = default;
    // The splash's thread is waited for: it draws with the program's shared caches, which must
    // not go at the program's end while it still does.
    ~DravikApp() override;

    using CDvw32App::InitInstance;
    BOOL InitInstance() override;
    // Runs its work once, however many roads lead here; later calls answer the first code.
    int ExitInstance() override;
    // Asked once start-up has shown the main windows (not when started by COM): true when
    // nobody is at a display. The program then closes its main windows at the first idle time,
    // after they have painted. Without a question, as under the tests, it never does.
    void SetUnattendedQuery(std::function<bool()> query) { m_unattendedQuery = std::move(query); }
    bool IsUnattended() const { return m_unattended; }
    BOOL OnIdle(LONG lCount) override;
    // Every open of the program, with the wait cursor and the macro manager made ready first.
    using CDvw32App::OpenDocumentFile;
    CDocument* OpenDocumentFile(LPCWSTR lpszFileName, BOOL bAddToMRU) override;

    // The loop and what runs in it, inside the crash guard.
    int Run() override;
    BOOL PumpMessage() override;
    int DoMessageBox(LPCWSTR lpszPrompt, UINT nType, UINT nIDPrompt) override;

    // What start-up chose.
    std::uint32_t GetEditionMask() const { return m_editionMask; }
    int GetBrandCode() const { return m_brandCode; }
    bool StartedSplash() const { return m_splashStarted; }
    bool IsStartPageEnabled() const { return m_startPage; }

protected:
    BOOL DoInitInstance();
    int DoExitInstance();
    void CloseKernelSession() override;

private:
    void LoadEditionModules();
    bool WantsStartPages() const override;
    // Closes the splash and waits for its thread to end.
    void EndSplash();

    std::uint32_t m_editionMask = 0;
    int m_brandCode = 0;
    bool m_splashStarted = false;
    CWinThread* m_splashThread = nullptr;
    bool m_startPage = true;
    std::function<bool()> m_unattendedQuery;
    bool m_unattended = false;
    bool m_closingUnattended = false;

    // What start-up took and shut-down gives back, each at most once.
    bool m_sessionOpened = false;
    bool m_oleInitialized = false;
    bool m_paintManagerHeld = false;
    bool m_exited = false;
    int m_exitCode = 0;
};

DV_EXPORTS_END
