// The kernel's native settings and options: process-wide records that the shell reads and
// writes in place. They are a profile item of their own (section "Settings"): they load from
// and save into the current settings profile with every other item, so a switch of profile
// changes them. Options are kept in the sub-key "Options" of the same section.
#pragma once

#include "pal/visibility.h"

#include <map>
#include <string>

DV_EXPORTS_BEGIN

namespace NativeSettings {

// The prototype documents new documents are made from, by kind: 0 drawing, 1 3D part,
// 2 fragment, 3 assembly drawing, 4 3D assembly, 5 sheet-metal part.
struct Files {
    static constexpr int kKinds = 6;
    // The bundled prototypes unless the settings name others.
    std::wstring prototypes[kKinds] = {L"drawing.grb",    L"part.grb",       L"fragment.grb",
                                       L"2dassembly.grb", L"3dassembly.grb", L"sheetpart.grb"};
    // The full path of the prototype of `kind`: a relative name lies in the template folder.
    // Empty for a kind outside the range or without a prototype.
    std::wstring GetPrototypeName(int kind) const;
};

// The sheet of a new page, in millimetres.
struct Paper {
    double width = 210;
    double height = 297;
};

struct PageProperties {
    double fontHeight = 3.5; // millimetres
    double lineSpacing = 1.0;
};

struct Settings {
    Files files;
    Paper paper;
    PageProperties page;
    std::wstring templateFolder; // relative to the program folder unless absolute
    std::wstring fontFolder;
    std::wstring colorBooksFolder; // empty: "ColorBooks" in the program folder
    bool autoSave = true;
    int autoSaveMinutes = 10;
    int startPage = 0; // 0 start page, 1 PDM work mix, 2 both
    bool halftoneStretching = false;
    bool closeStartPage = false;
    bool startPageDisplayOption = false;
    bool backstageCommand = false; // the command control in place of the backstage tab
    bool toolTipsShowNames = true;
    bool diagnostics = false;
    bool serverMode = false;
    int recentFileCount = 10; // entries of the recent-file list; 0 keeps no list
    // The documents open at the end of a session open again at the next start.
    bool reopenDocuments = true;
    int pdmUpdate = 0;
    // Documents opened out of the PDM system carry the nomenclature data of their objects.
    bool pdmNomenclatureData = true;
    // A save into the PDM system brings every product structure of the document up to date.
    bool updateProductStructuresOnSave = false;
    // Set while a print request given on the command line is carried out.
    bool directPrint = false;
    // The docking panes cannot be moved.
    bool lockDockingPanes = false;
    std::wstring pdmText; // the PDM system the settings name; empty when they name none
    // Where the frameless tool bars stand over the views: -1 off (for the view bar -2 too),
    // 2 with popups opening to the left; other values are the bars' own places.
    struct FramelessBars {
        int autoMenu = 1;
        int selectionFilter = 1;
        int split = 1;
        int view = 1;
        int editInPlace = 1;
        int feaTaskModel = 1;
        int drawingView = 1;
    } framelessBars;
    bool hideExpandButtons = false; // tool bars show no expand button
    std::map<int, double> doubles;  // numbered numeric parameters

    double DoubleParameter(int id, double fallback = 0) const;
    void SetDoubleParameter(int id, double value) { doubles[id] = value; }
};

} // namespace NativeSettings

struct DVOptions {
    int findBySynonyms = 0;
    int toolTips = -1;        // -1 unset: the views show tool tips
    int extendedToolTips = 1; // the command bars' tips are command cards
    int drawingTabMode = 1;
    std::wstring formFactorFolder;
};

// Read and written in place; a change is kept by SaveSettings or the profiles' SaveState.
NativeSettings::Settings& GetSettings();
DVOptions& GetOptions();

// Loads both records from the current settings profile (defaults where a value is missing);
// false when the profile holds no settings yet.
bool LoadSettings();
bool SaveSettings();

DV_EXPORTS_END
