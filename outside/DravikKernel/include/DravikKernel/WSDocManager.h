// The kernel's document manager for the application: MFC's document manager that also keeps, with
// the settings profile, where the person last opened and saved documents.
//
// The library's rules for it:
// - It is a profile item of the section "DocumentManager": the folder of the last document opened
//   or saved through it ("LastFolder") and the file-type choice of its dialogs ("FilterIndex")
//   load and save with the current profile, so a switch of profile brings back that profile's.
// - While m_bTrackFolders is set (it is from the start), every document opened through it moves
//   the last folder to that document's folder; the application clears the flag at shut-down, so
//   that closing the session changes nothing the next one starts from.
#pragma once

#include "DravikKernel/ProfileManager.h"
#include "afx/document.h"
#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

class CWSDocManager : public CDocManager, public DravikProfileItem {
public:
    CWSDocManager();
    ~CWSDocManager() override;

    CDocument* OpenDocumentFile(LPCWSTR lpszFileName, BOOL bAddToMRU = TRUE) override;

    int LoadState() override;
    int SaveState() override;
    unsigned GetVersion() const override { return 1; }

    const std::wstring& GetLastFolder() const { return m_lastFolder; }
    void SetLastFolder(const std::wstring& folder) { m_lastFolder = folder; }
    int GetFilterIndex() const { return m_filterIndex; }
    void SetFilterIndex(int index) { m_filterIndex = index; }

    BYTE m_bTrackFolders = TRUE;

private:
    std::wstring m_lastFolder;
    int m_filterIndex = 1;
};

DV_EXPORTS_END
