// Settings profiles: named, stored copies of the state of every object that keeps settings.
//
// The library's rules for them:
// - Everything lives below the application key (HKEY_CURRENT_USER\<SetApplicationKey>). The
//   profiles section is "Profiles"; each profile is one sub-key of it, named by the profile. The
//   profile named "Current" (the default profile) holds the live settings; the others are stored
//   profiles. Inside a profile, each profile item owns the sub-key named by its section.
// - Each profile also has a data folder, "Profiles\<name>" in the user's application-data folder
//   of the product, with a folder per category. The profile's registry keys are kept there too, in
//   "Profile.<extension>", written through the atomic writer whenever the profile is saved
//   (SaveState), copied into or imported. A profile whose keys are missing from the registry
//   (a new user account, a reset registry) is restored from that file when the profiles are
//   loaded at session start; a damaged file is set aside as "Profile.<extension>.bad", logged,
//   and its profile starts from defaults (an empty key).
// - Importing a profile file makes (or, when asked, replaces) the stored profile named by the
//   file. A damaged file changes nothing and answers kInvalidHeader with a log line; the
//   person's file stays where it is. A file named like the default profile is refused
//   (kAccessDenied): the live settings change only through Copy or Apply.
// - Copying a profile replaces, category by category, what the target holds for the categories
//   the source has; the target's other categories stay.
// - The application's frame state follows the profile: the kernel calls the callback object's
//   LoadState (DravikServerAppProxy::LoadState) once when the session is finished
//   (GlobalContainer::FinishInitSession, the first main frame exists by then) and after every
//   switch of profile made through Apply. Plain copies (Copy) leave reloading to the caller.
#pragma once

#include "pal/visibility.h"

#include <functional>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class DravikProfileItem {
public:
    // Results of LoadState.
    enum LoadResult { Loaded = 0, NotFound = 1, VersionNote = 2 };

    // Registers the item with the profile manager; `name` is the category's display name.
    DravikProfileItem(const wchar_t* sectionName, const wchar_t* name);
    virtual ~DravikProfileItem();
    DravikProfileItem(const DravikProfileItem&) = delete;
    DravikProfileItem& operator=(const DravikProfileItem&) = delete;

    // The base reads the category's "~Summary": NotFound when the category has no key in the
    // current settings, VersionNote when its version is outside the supported range, else Loaded.
    virtual int LoadState();
    // The base writes the category's "~Summary" ("Name" and "Version"); 0 on success.
    virtual int SaveState();
    // The registry key paths that make up the item's state; `flags` selects optional parts
    // (each item gives them its own meaning).
    virtual void GetStateData(unsigned flags, std::vector<std::wstring>& keyPaths) const;
    virtual unsigned GetVersion() const { return 0; }
    virtual void GetSupportedVersionRange(unsigned& lowest, unsigned& highest) const;

    const std::wstring& GetName() const { return m_name; }
    const std::wstring& GetSectionName() const { return m_section; }
    // The item's registry section in the current settings, relative to the application key.
    std::wstring GetCurrentSection() const;

private:
    std::wstring m_section;
    std::wstring m_name;
};

class DravikProfileManager {
public:
    // Status codes of Import, those of structured storage.
    static constexpr long kImported = 0;
    static constexpr long kFileNotFound = static_cast<long>(0x80030002);
    static constexpr long kAccessDenied = static_cast<long>(0x80030005);
    static constexpr long kAlreadyExists = static_cast<long>(0x80030050);
    static constexpr long kInvalidHeader = static_cast<long>(0x800300FB);

    // The application key relative to HKEY_CURRENT_USER ("Software\<company>\<registry name>");
    // the application sets it as soon as it knows its own.
    static void SetApplicationKey(const wchar_t* key);
    static std::wstring GetApplicationKey();

    static std::wstring GetProfilesSectionName();
    static std::wstring GetDefaultProfileName();
    // The section of a profile relative to the application key; the default profile's for none.
    static std::wstring GetProfileSectionName(const wchar_t* profileName = nullptr);
    // The callback object's extension when there is one, else "dvenv".
    static std::wstring GetProfileFileExtension();
    // The profile a profile file would make: its name without folder and extension.
    static std::wstring GetProfileName(const wchar_t* filePath);
    static bool ProfileExists(const wchar_t* profileName);
    // The profiles in the order of their keys: the stored ones only, or with `storedOnly` false
    // the default profile too (a new name must differ from every one of those).
    static void GetProfiles(std::vector<std::wstring>& names, bool storedOnly);

    // The data folder of a profile section (none: the folder of all profiles) and a category in
    // it. Empty when the folder does not exist, unless `create` makes it.
    static std::wstring GetProfileSectionAppDataPath(const wchar_t* profileSection, const wchar_t* category,
                                                     bool trailingSeparator, bool create);

    // The name of the stored profile last applied; empty before any.
    static std::wstring GetCurrentProfileName();
    static void SetCurrentProfileName(const wchar_t* name);

    // Copies a profile (none: the default one) over another (none: the default one), registry
    // keys and data folders. False when the source does not exist or a write fails.
    static bool Copy(const wchar_t* source, const wchar_t* target);
    // Makes a stored profile the current settings: Copy over the default profile, every item
    // reloads, then the application (DravikServerAppProxy::LoadState).
    static bool Apply(const wchar_t* profileName);
    // Reads a profile file into the stored profile of its name; one of the status codes above.
    static long Import(const wchar_t* filePath, bool overwrite);
    // Writes a profile's keys as a profile file, through the atomic writer.
    static bool Export(const wchar_t* profileName, const wchar_t* filePath);
    // Every item saves its state into the current settings; then every profile is kept on disk.
    static void SaveState();
    // Calls `visit` for each registered item in the order of registration, until it answers false.
    static bool ForEachItem(const std::function<bool(DravikProfileItem&)>& visit);

    // Restores profiles whose registry keys are missing from their files on disk.
    static void LoadProfiles();
};

DV_EXPORTS_END
