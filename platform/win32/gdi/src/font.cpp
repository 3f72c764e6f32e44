// Logical fonts: the private font configuration, the one Pango context, building fonts from
// LOGFONTW and their metrics, the stock fonts, the system's fonts and the installed families.
#include "font.h"

#include "pal/text.h"
#include "win/error.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <map>
#include <tuple>
#include <vector>

namespace pal::gdi {

namespace {

// The layer reads the system's fonts only (never a user's own configuration or fonts), with
// fixed rendering settings, so text looks and measures the same for every user of a machine
// and on every machine with the same fonts. The generic families resolve to DejaVu (Debian's
// fonts-dejavu-core), which covers Latin, Greek and Cyrillic.
constexpr const char* kFontConfig = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts</dir>
  <dir>/usr/local/share/fonts</dir>
  <cachedir>/var/cache/fontconfig</cachedir>
  <cachedir prefix="xdg">fontconfig</cachedir>
  <alias binding="same"><family>sans-serif</family><prefer><family>DejaVu Sans</family></prefer></alias>
  <alias binding="same"><family>serif</family><prefer><family>DejaVu Serif</family></prefer></alias>
  <alias binding="same"><family>monospace</family><prefer><family>DejaVu Sans Mono</family></prefer></alias>
  <match target="font">
    <edit name="antialias" mode="assign"><bool>true</bool></edit>
    <edit name="hinting" mode="assign"><bool>true</bool></edit>
    <edit name="hintstyle" mode="assign"><const>hintslight</const></edit>
    <edit name="rgba" mode="assign"><const>none</const></edit>
    <edit name="embeddedbitmap" mode="assign"><bool>false</bool></edit>
  </match>
</fontconfig>
)";

struct Engine {
    PangoFontMap* map = nullptr;
    PangoContext* context = nullptr;
    struct Family {
        std::wstring name;
        PangoFontFamily* family;
        // What the family's faces offer, looked up when the families are first enumerated.
        bool cyrillic = false;
        bool outline = false; // some face is scalable
        bool bitmap = false;  // some face is a bitmap font
        bool checked = false;
    };
    std::vector<Family> families; // sorted by name
};

Engine& engine() {
    static Engine* e = [] {
        auto* out = new Engine;
        FcConfig* config = FcConfigCreate();
        if (!FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kFontConfig), FcTrue) ||
            !FcConfigBuildFonts(config)) {
            FcConfigDestroy(config);
            config = nullptr;
        }
        out->map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
        if (config && PANGO_IS_FC_FONT_MAP(out->map)) {
            pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(out->map), config);
            FcConfigDestroy(config); // the map holds its own reference
        }
        out->context = pango_font_map_create_context(out->map);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        pango_cairo_context_set_font_options(out->context, options);
        cairo_font_options_destroy(options);
        pango_cairo_context_set_resolution(out->context, 96);
        pango_context_set_round_glyph_positions(out->context, TRUE);

        PangoFontFamily** list = nullptr;
        int count = 0;
        pango_font_map_list_families(out->map, &list, &count);
        for (int i = 0; i < count; ++i)
            out->families.push_back({text::fromUtf8(pango_font_family_get_name(list[i])), list[i]});
        g_free(list);
        std::sort(out->families.begin(), out->families.end(),
                  [](const auto& a, const auto& b) { return text::compareNoCase(a.name, b.name) < 0; });
        return out;
    }();
    return *e;
}

const Engine::Family* installed(std::wstring_view face) {
    for (const auto& f : engine().families)
        if (text::equalsNoCase(f.name, face))
            return &f;
    return nullptr;
}

PangoFontDescription* describe(const std::wstring& family, const LOGFONTW& log, double em) {
    PangoFontDescription* d = pango_font_description_new();
    pango_font_description_set_family(d, text::toUtf8(family).c_str());
    const LONG weight = log.lfWeight <= 0 ? FW_NORMAL : std::clamp<LONG>(log.lfWeight, 100, 1000);
    pango_font_description_set_weight(d, static_cast<PangoWeight>(weight));
    pango_font_description_set_style(d, log.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_font_description_set_absolute_size(d, em * PANGO_SCALE);
    return d;
}

std::pair<double, double> measureRatios(const std::wstring& family, const LOGFONTW& log);

// Ascent and descent of a family's font as fractions of its character height (text mutex held).
std::pair<double, double> verticalRatios(const std::wstring& family, const LOGFONTW& log) {
    // One lookup per family and style: creating fonts is frequent, loading one is not cheap.
    static std::map<std::tuple<std::wstring, LONG, bool>, std::pair<double, double>> known;
    const auto key = std::make_tuple(family, log.lfWeight, log.lfItalic != 0);
    if (auto it = known.find(key); it != known.end())
        return it->second;
    return known[key] = measureRatios(family, log);
}

std::pair<double, double> measureRatios(const std::wstring& family, const LOGFONTW& log) {
    constexpr double kReference = 1000;
    PangoFontDescription* d = describe(family, log, kReference);
    PangoFont* font = pango_font_map_load_font(engine().map, engine().context, d);
    pango_font_description_free(d);
    if (!font)
        return {0.928, 0.236};
    PangoFontMetrics* m = pango_font_get_metrics(font, nullptr);
    const double ascent = pango_font_metrics_get_ascent(m) / double(PANGO_SCALE) / kReference;
    const double descent = pango_font_metrics_get_descent(m) / double(PANGO_SCALE) / kReference;
    pango_font_metrics_unref(m);
    g_object_unref(font);
    if (ascent <= 0 || descent < 0)
        return {0.928, 0.236};
    return {ascent, descent};
}

constexpr double kDefaultCell = 16; // a height of 0 asks for the default size

} // namespace

void prepareFace(Font& font, const LOGFONTW& log);

std::recursive_mutex& textMutex() {
    static std::recursive_mutex m;
    return m;
}

Font::~Font() {
    std::lock_guard lock(textMutex());
    if (layout)
        g_object_unref(layout);
    if (description)
        pango_font_description_free(description);
}

std::shared_ptr<Font> makeFont(const LOGFONTW& log) {
    auto font = std::make_shared<Font>();
    font->log = log;
    font->log.lfFaceName[LF_FACESIZE - 1] = 0;
    return font;
}

Font& prepare(Font& font) {
    std::lock_guard lock(textMutex());
    if (font.layout)
        return font;
    const LOGFONTW& log = font.log;
    prepareFace(font, log);
    return font;
}

void prepareFace(Font& f, const LOGFONTW& log) {
    Font* font = &f;
    const std::wstring face(font->log.lfFaceName);
    const auto* family = face.empty() ? nullptr : installed(face);
    font->family = family ? family->name : std::wstring(fallbackFamily);

    const auto [ascent, descent] = verticalRatios(font->family, log);
    // A positive height is the cell (ascent plus descent), a negative one the character height.
    const double requested =
        log.lfHeight == 0 ? kDefaultCell : std::min(std::abs(double(log.lfHeight)), 16384.0);
    TEXTMETRICW& tm = font->metrics;
    if (log.lfHeight >= 0) {
        font->emPixels = requested / (ascent + descent);
        tm.tmHeight = static_cast<LONG>(std::lround(requested));
        tm.tmAscent = static_cast<LONG>(std::lround(ascent * font->emPixels));
        tm.tmDescent = tm.tmHeight - tm.tmAscent;
    } else {
        font->emPixels = requested;
        tm.tmAscent = static_cast<LONG>(std::lround(ascent * requested));
        tm.tmDescent = static_cast<LONG>(std::lround(descent * requested));
        tm.tmHeight = tm.tmAscent + tm.tmDescent;
    }
    tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - static_cast<LONG>(std::lround(font->emPixels)));
    font->description = describe(font->family, log, font->emPixels);
    font->layout = pango_layout_new(engine().context);
    pango_layout_set_font_description(font->layout, font->description);
    pango_layout_set_single_paragraph_mode(font->layout, TRUE);
    if (log.lfUnderline || log.lfStrikeOut) {
        PangoAttrList* attrs = pango_attr_list_new();
        if (log.lfUnderline)
            pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (log.lfStrikeOut)
            pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
        pango_layout_set_attributes(font->layout, attrs);
        pango_attr_list_unref(attrs);
    }

    tm.tmExternalLeading = 0;
    tm.tmAveCharWidth = runWidth(*font, L"x");
    tm.tmMaxCharWidth = std::max(runWidth(*font, L"W"), runWidth(*font, L"\u0428")); // W and Ш
    tm.tmWeight = log.lfWeight <= 0 ? FW_NORMAL : log.lfWeight;
    tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFFFC;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = log.lfItalic ? 1 : 0;
    tm.tmUnderlined = log.lfUnderline ? 1 : 0;
    tm.tmStruckOut = log.lfStrikeOut ? 1 : 0;
    const bool monospace = family ? pango_font_family_is_monospace(family->family)
                                  : false; // the fallback family is proportional
    // The bit is set for variable pitch, as the platform has it.
    tm.tmPitchAndFamily = static_cast<BYTE>((monospace ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE |
                                            (log.lfPitchAndFamily & 0xF0));
    tm.tmCharSet = log.lfCharSet;
}

LOGFONTW systemLogFont(LONG height, LONG weight) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::wcsncpy(lf.lfFaceName, fallbackFamily, LF_FACESIZE - 1);
    return lf;
}

std::shared_ptr<Object> makeStockFont(int index) {
    LOGFONTW lf;
    switch (index) {
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT:
        lf = systemLogFont(16);
        std::wcsncpy(lf.lfFaceName, L"DejaVu Sans Mono", LF_FACESIZE - 1);
        lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
        break;
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
        lf = systemLogFont(16, FW_BOLD);
        break;
    case ANSI_VAR_FONT:
    case DEFAULT_GUI_FONT:
        lf = systemLogFont(-11);
        break;
    default:
        return nullptr;
    }
    auto font = makeFont(lf);
    if (font)
        font->stock = true;
    return font;
}

std::shared_ptr<Font> fontOf(DeviceContext& dc) {
    auto f = std::dynamic_pointer_cast<Font>(dc.state().font);
    if (!f)
        f = std::dynamic_pointer_cast<Font>(stockObject(SYSTEM_FONT));
    if (f)
        prepare(*f);
    return f;
}

} // namespace pal::gdi

using namespace pal::gdi;

HFONT CreateFontIndirectW(const LOGFONTW* log) {
    if (!log) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto font = makeFont(*log);
    return font ? static_cast<HFONT>(table::insert(font)) : nullptr;
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCWSTR faceName) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = static_cast<BYTE>(italic);
    lf.lfUnderline = static_cast<BYTE>(underline);
    lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
    lf.lfCharSet = static_cast<BYTE>(charSet);
    lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
    lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    lf.lfQuality = static_cast<BYTE>(quality);
    lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (faceName)
        std::wcsncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

BOOL GetTextMetricsW(HDC handle, LPTEXTMETRICW metrics) {
    auto dc = dcOf(handle);
    if (!dc || !metrics)
        return FALSE;
    auto font = fontOf(*dc);
    if (!font)
        return FALSE;
    *metrics = font->metrics;
    return TRUE;
}

int GetTextFaceW(HDC handle, int count, LPWSTR buffer) {
    auto dc = dcOf(handle);
    if (!dc)
        return 0;
    auto font = fontOf(*dc);
    if (!font)
        return 0;
    const std::wstring& face = font->family; // the face drawn with, after any fallback
    if (!buffer)
        return static_cast<int>(face.size()) + 1;
    if (count <= 0)
        return 0;
    const size_t n = std::min<size_t>(face.size(), size_t(count) - 1);
    std::wmemcpy(buffer, face.data(), n);
    buffer[n] = 0;
    return static_cast<int>(n);
}

int EnumFontFamiliesExW(HDC handle, const LOGFONTW* filter, FONTENUMPROCW proc, LPARAM param, DWORD) {
    if (!dcOf(handle) || !filter || !proc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    struct Listed {
        std::wstring name;
        bool cyrillic, outline, bitmap;
    };
    std::vector<Listed> families;
    {
        std::lock_guard lock(textMutex());
        FcConfig* config = pango_fc_font_map_get_config(PANGO_FC_FONT_MAP(engine().map));
        for (auto& f : engine().families) {
            if (!f.checked) {
                const std::string name = pal::text::toUtf8(f.name);
                FcPattern* pattern = FcPatternBuild(nullptr, FC_FAMILY, FcTypeString,
                                                    reinterpret_cast<const FcChar8*>(name.c_str()),
                                                    static_cast<char*>(nullptr));
                FcObjectSet* objects = FcObjectSetBuild(FC_SCALABLE, FC_CHARSET, static_cast<char*>(nullptr));
                if (FcFontSet* faces = FcFontList(config, pattern, objects)) {
                    for (int i = 0; i < faces->nfont; ++i) {
                        FcBool scalable = FcTrue;
                        FcPatternGetBool(faces->fonts[i], FC_SCALABLE, 0, &scalable);
                        (scalable ? f.outline : f.bitmap) = true;
                        FcCharSet* chars = nullptr;
                        if (FcPatternGetCharSet(faces->fonts[i], FC_CHARSET, 0, &chars) == FcResultMatch &&
                            FcCharSetHasChar(chars, 0x0416)) // Ж
                            f.cyrillic = true;
                    }
                    FcFontSetDestroy(faces);
                }
                FcObjectSetDestroy(objects);
                FcPatternDestroy(pattern);
                if (!f.outline && !f.bitmap)
                    f.outline = true;
                f.checked = true;
            }
            families.push_back({f.name, f.cyrillic, f.outline, f.bitmap});
        }
    }
    const std::wstring wanted(filter->lfFaceName, wcsnlen(filter->lfFaceName, LF_FACESIZE));
    int answer = 1;
    for (const Listed& family : families) {
        const std::wstring& name = family.name;
        if (!wanted.empty() && !pal::text::equalsNoCase(wanted, name))
            continue;
        std::vector<std::pair<BYTE, const wchar_t*>> sets{{ANSI_CHARSET, L"Western"}};
        if (family.cyrillic)
            sets.emplace_back(RUSSIAN_CHARSET, L"Cyrillic");
        std::vector<DWORD> types;
        if (family.outline)
            types.push_back(TRUETYPE_FONTTYPE);
        if (family.bitmap)
            types.push_back(RASTER_FONTTYPE);
        for (const DWORD type : types) {
            for (const auto& [charset, script] : sets) {
                if (filter->lfCharSet != DEFAULT_CHARSET && filter->lfCharSet != charset)
                    continue;
                LOGFONTW lf = systemLogFont(-12);
                std::wcsncpy(lf.lfFaceName, name.c_str(), LF_FACESIZE - 1);
                lf.lfCharSet = charset;
                auto font = makeFont(lf);
                prepare(*font);
                if (!font)
                    continue;
                ENUMLOGFONTEXW elf{};
                elf.elfLogFont = font->log;
                elf.elfLogFont.lfHeight = font->metrics.tmHeight;
                elf.elfLogFont.lfPitchAndFamily = static_cast<BYTE>(
                    ((font->metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) ? VARIABLE_PITCH : FIXED_PITCH) |
                    FF_SWISS);
                std::wcsncpy(elf.elfFullName, name.c_str(), LF_FULLFACESIZE - 1);
                std::wcsncpy(elf.elfStyle, L"Regular", LF_FACESIZE - 1);
                std::wcsncpy(elf.elfScript, script, LF_FACESIZE - 1);
                NEWTEXTMETRICEXW ntm{};
                static_cast<TEXTMETRICW&>(ntm.ntmTm) = font->metrics;
                ntm.ntmTm.ntmSizeEM = 2048;
                ntm.ntmTm.ntmCellHeight = static_cast<UINT>(font->metrics.tmHeight);
                ntm.ntmTm.ntmAvgWidth = static_cast<UINT>(font->metrics.tmAveCharWidth);
                if (type == RASTER_FONTTYPE)
                    ntm.ntmTm.tmPitchAndFamily &= static_cast<BYTE>(~(TMPF_VECTOR | TMPF_TRUETYPE));
                answer = proc(&elf.elfLogFont, &ntm.ntmTm, type, param);
                if (!answer)
                    return 0;
            }
        }
    }
    return answer;
}

BOOL SystemParametersInfoW(UINT action, UINT, PVOID pvParam, UINT) {
    if (!pvParam) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    switch (action) {
    case SPI_GETNONCLIENTMETRICS: {
        auto* m = static_cast<NONCLIENTMETRICSW*>(pvParam);
        const UINT full = sizeof(NONCLIENTMETRICSW);
        const UINT older = full - sizeof(int); // without iPaddedBorderWidth
        if (m->cbSize != full && m->cbSize != older) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        NONCLIENTMETRICSW out{};
        out.cbSize = m->cbSize;
        out.iBorderWidth = 1;
        out.iScrollWidth = out.iScrollHeight = 17;
        out.iCaptionWidth = out.iCaptionHeight = 22;
        out.lfCaptionFont = systemLogFont(-12);
        out.iSmCaptionWidth = out.iSmCaptionHeight = 22;
        out.lfSmCaptionFont = systemLogFont(-12);
        out.iMenuWidth = out.iMenuHeight = 19;
        out.lfMenuFont = systemLogFont(-12);
        out.lfStatusFont = systemLogFont(-12);
        out.lfMessageFont = systemLogFont(-12);
        out.iPaddedBorderWidth = 0;
        std::memcpy(m, &out, m->cbSize);
        return TRUE;
    }
    case SPI_GETICONTITLELOGFONT:
        *static_cast<LOGFONTW*>(pvParam) = systemLogFont(-12);
        return TRUE;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}
