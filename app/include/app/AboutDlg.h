// The About box: the program's version and build, who it is registered to, the PDM system's
// state, and the way to the maker's web site and support.
#pragma once

#include "DravikKernel/DravikDialog.h"
#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

class CAboutDlg : public CDravikDialog {
public:
    static constexpr UINT IDD = 183;
    static constexpr UINT kOwnerText = 1034;
    static constexpr UINT kVersionText = 1647;
    static constexpr UINT kLinkText = 1258;
    static constexpr UINT kLink = 5555;
    static constexpr UINT kSupportButton = 10;
    static constexpr UINT kStatisticsButton = 1156;
    static constexpr UINT kTexts[] = {1324, 3324, 3325, 3326};

    explicit CAboutDlg(CWnd* parent = nullptr);

    // The owner, and the organisation on a line of its own when there is one; each cut to 255
    // characters.
    static std::wstring OwnerText(std::wstring owner, std::wstring organisation);
    // "<program>", "<version>", "<system>" and "<year>" replaced wherever they stand.
    static std::wstring ReplacePlaceholders(std::wstring text, const std::wstring& program);
    // The version line, the build date and the PDM system's lines, with CR LF line breaks.
    static std::wstring VersionText();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

DV_EXPORTS_END
