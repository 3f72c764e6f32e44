#include "DravikKernel/Settings.h"

#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/ProfileManager.h"
#include "RegistryTree.h"

#include "pal/path.h"

#include <cwchar>
#include <functional>
#include <mutex>
#include <string>

namespace {

using NativeSettings::Settings;

// One registry value of a record: how it is read from and written to its text form.
struct Binding {
    const wchar_t* name;
    std::function<std::wstring(const Settings&, const DVOptions&)> get;
    std::function<void(Settings&, DVOptions&, const std::wstring&)> set;
};

std::wstring number(double v) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%.17g", v);
    return text;
}

double toDouble(const std::wstring& text, double fallback) {
    wchar_t* end = nullptr;
    const double v = std::wcstod(text.c_str(), &end);
    return end && end != text.c_str() && *end == 0 ? v : fallback;
}

int toInt(const std::wstring& text, int fallback) {
    return static_cast<int>(toDouble(text, fallback));
}

#define DV_TEXT(field)                                                                                       \
    [](const Settings& s, const DVOptions&) { return s.field; },                                             \
        [](Settings& s, DVOptions&, const std::wstring& v) { s.field = v; }
#define DV_NUMBER(record, field, type)                                                                       \
    [](const Settings& s, const DVOptions& o) {                                                              \
        (void)s;                                                                                             \
        (void)o;                                                                                             \
        return number(record.field);                                                                         \
    },                                                                                                       \
        [](Settings& s, DVOptions& o, const std::wstring& v) {                                               \
            (void)s;                                                                                         \
            (void)o;                                                                                         \
            record.field = static_cast<type>(toDouble(v, record.field));                                     \
        }

const std::vector<Binding>& bindings() {
    static const std::vector<Binding> table = {
        {L"Prototype0", DV_TEXT(files.prototypes[0])},
        {L"Prototype1", DV_TEXT(files.prototypes[1])},
        {L"Prototype2", DV_TEXT(files.prototypes[2])},
        {L"Prototype3", DV_TEXT(files.prototypes[3])},
        {L"Prototype4", DV_TEXT(files.prototypes[4])},
        {L"Prototype5", DV_TEXT(files.prototypes[5])},
        {L"TemplateFolder", DV_TEXT(templateFolder)},
        {L"FontFolder", DV_TEXT(fontFolder)},
        {L"PaperWidth", DV_NUMBER(s, paper.width, double)},
        {L"PaperHeight", DV_NUMBER(s, paper.height, double)},
        {L"FontHeight", DV_NUMBER(s, page.fontHeight, double)},
        {L"LineSpacing", DV_NUMBER(s, page.lineSpacing, double)},
        {L"AutoSave", DV_NUMBER(s, autoSave, bool)},
        {L"AutoSaveMinutes", DV_NUMBER(s, autoSaveMinutes, int)},
        {L"StartPage", DV_NUMBER(s, startPage, int)},
        {L"HalftoneStretching", DV_NUMBER(s, halftoneStretching, bool)},
        {L"CloseStartPage", DV_NUMBER(s, closeStartPage, bool)},
        {L"StartPageDisplayOption", DV_NUMBER(s, startPageDisplayOption, bool)},
        {L"BackstageCommand", DV_NUMBER(s, backstageCommand, bool)},
        {L"ToolTipsShowNames", DV_NUMBER(s, toolTipsShowNames, bool)},
        {L"Diagnostics", DV_NUMBER(s, diagnostics, bool)},
        {L"ServerMode", DV_NUMBER(s, serverMode, bool)},
        {L"ReopenDocuments", DV_NUMBER(s, reopenDocuments, bool)},
        {L"PdmUpdate", DV_NUMBER(s, pdmUpdate, int)},
        {L"PdmNomenclatureData", DV_NUMBER(s, pdmNomenclatureData, bool)},
        {L"UpdateProductStructuresOnSave", DV_NUMBER(s, updateProductStructuresOnSave, bool)},
        {L"PdmText", DV_TEXT(pdmText)},
        {L"FramelessAutoMenu", DV_NUMBER(s, framelessBars.autoMenu, int)},
        {L"FramelessSelectionFilter", DV_NUMBER(s, framelessBars.selectionFilter, int)},
        {L"FramelessSplit", DV_NUMBER(s, framelessBars.split, int)},
        {L"FramelessView", DV_NUMBER(s, framelessBars.view, int)},
        {L"FramelessEditInPlace", DV_NUMBER(s, framelessBars.editInPlace, int)},
        {L"FramelessFeaTaskModel", DV_NUMBER(s, framelessBars.feaTaskModel, int)},
        {L"FramelessDrawingView", DV_NUMBER(s, framelessBars.drawingView, int)},
        {L"HideExpandButtons", DV_NUMBER(s, hideExpandButtons, bool)},
        {L"Options\\FindBySynonyms", DV_NUMBER(o, findBySynonyms, int)},
        {L"Options\\ToolTips", DV_NUMBER(o, toolTips, int)},
        {L"Options\\ExtendedToolTips", DV_NUMBER(o, extendedToolTips, int)},
        {L"Options\\DrawingTabMode", DV_NUMBER(o, drawingTabMode, int)},
        {L"Options\\FormFactorFolder", [](const Settings&, const DVOptions& o) { return o.formFactorFolder; },
         [](Settings&, DVOptions& o, const std::wstring& v) { o.formFactorFolder = v; }},
    };
    return table;
}

#undef DV_TEXT
#undef DV_NUMBER

constexpr const wchar_t* kSection = L"Settings";
constexpr const wchar_t* kDoubles = L"Parameters";

class SettingsItem : public DravikProfileItem {
public:
    SettingsItem() : DravikProfileItem(kSection, L"Settings") {}
    int LoadState() override;
    int SaveState() override;
    unsigned GetVersion() const override { return 1; }
};

struct Records {
    std::mutex mutex;
    Settings settings;
    DVOptions options;
    SettingsItem item;
};

Records& records() {
    static Records* r = new Records;
    return *r;
}

std::wstring key() {
    return DravikProfileManager::GetApplicationKey() + L"\\" + DravikProfileManager::GetProfileSectionName() +
           L"\\" + kSection;
}

std::wstring textOf(const dvkernel::RegistryValue& value) {
    if (value.type != REG_SZ || value.data.size() < sizeof(wchar_t))
        return {};
    std::wstring text(reinterpret_cast<const wchar_t*>(value.data.data()),
                      value.data.size() / sizeof(wchar_t));
    if (const auto end = text.find(L'\0'); end != std::wstring::npos)
        text.resize(end);
    return text;
}

dvkernel::RegistryValue valueOf(const std::wstring& text) {
    const std::wstring terminated = text + L'\0';
    const auto* bytes = reinterpret_cast<const BYTE*>(terminated.data());
    return {REG_SZ, std::vector<BYTE>(bytes, bytes + terminated.size() * sizeof(wchar_t))};
}

int SettingsItem::LoadState() {
    const int result = DravikProfileItem::LoadState();
    Settings settings;
    DVOptions options;
    if (const auto tree = dvkernel::readRegistryTree(HKEY_CURRENT_USER, key())) {
        for (const Binding& b : bindings()) {
            const std::wstring name = b.name;
            const auto slash = name.find(L'\\');
            const dvkernel::RegistryTree* node = &*tree;
            if (slash != std::wstring::npos) {
                const auto sub = tree->keys.find(name.substr(0, slash));
                if (sub == tree->keys.end())
                    continue;
                node = &sub->second;
            }
            const auto found = node->values.find(slash == std::wstring::npos ? name : name.substr(slash + 1));
            if (found != node->values.end())
                b.set(settings, options, textOf(found->second));
        }
        if (const auto doubles = tree->keys.find(kDoubles); doubles != tree->keys.end())
            for (const auto& [id, value] : doubles->second.values)
                settings.doubles[toInt(id, 0)] = toDouble(textOf(value), 0);
    }
    // The application sees the new settings beside the ones they replace.
    if (DravikServerAppProxy* proxy = DravikServerAppProxy::Instance())
        proxy->OnChangeSettings(settings);
    std::lock_guard lock(records().mutex);
    records().settings = std::move(settings);
    records().options = std::move(options);
    return result;
}

int SettingsItem::SaveState() {
    dvkernel::RegistryTree tree;
    {
        std::lock_guard lock(records().mutex);
        for (const Binding& b : bindings()) {
            const std::wstring name = b.name;
            const auto slash = name.find(L'\\');
            auto& node = slash == std::wstring::npos ? tree : tree.keys[name.substr(0, slash)];
            node.values[slash == std::wstring::npos ? name : name.substr(slash + 1)] =
                valueOf(b.get(records().settings, records().options));
        }
        for (const auto& [id, value] : records().settings.doubles)
            tree.keys[kDoubles].values[std::to_wstring(id)] = valueOf(number(value));
    }
    // The parameters are replaced as a whole: one removed in memory must not come back.
    dvkernel::deleteRegistryTree(HKEY_CURRENT_USER, key() + L"\\" + kDoubles);
    if (!dvkernel::writeRegistryTree(HKEY_CURRENT_USER, key(), tree))
        return 1;
    return DravikProfileItem::SaveState();
}

} // namespace

namespace dvkernel {
void resetSettings() {
    std::lock_guard lock(records().mutex);
    records().settings = {};
    records().options = {};
}
} // namespace dvkernel

namespace NativeSettings {

std::wstring Files::GetPrototypeName(int kind) const {
    if (kind < 0 || kind >= kKinds || prototypes[kind].empty())
        return {};
    if (pal::path::isAbsolute(prototypes[kind]))
        return prototypes[kind];
    std::wstring folder = TemplateFolderToFullPath(GetSettings().templateFolder.c_str());
    // A drive path goes on with the platform's separator, a native folder with its own.
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/')
        folder += folder.front() == L'/' ? L'/' : L'\\';
    return folder + prototypes[kind];
}

double Settings::DoubleParameter(int id, double fallback) const {
    const auto found = doubles.find(id);
    return found == doubles.end() ? fallback : found->second;
}

} // namespace NativeSettings

NativeSettings::Settings& GetSettings() {
    return records().settings;
}

DVOptions& GetOptions() {
    return records().options;
}

bool LoadSettings() {
    return records().item.LoadState() != DravikProfileItem::NotFound;
}

bool SaveSettings() {
    return records().item.SaveState() == 0;
}
