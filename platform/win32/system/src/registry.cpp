// The registry functions over the SQLite store.
#include "win/system/registry.h"

#include "pal/detail/registry_control.h"
#include "pal/handles.h"
#include "pal/registry.h"
#include "pal/sandbox.h"
#include "pal/text.h"
#include "registry_store.h"

#include <clocale>
#include <cstring>
#include <cwctype>
#include <locale.h>
#include <optional>
#include <set>
#include <vector>

namespace {

using pal::reg::DbError;
using pal::reg::Query;
using pal::reg::Store;

constexpr REGSAM kDelete = 0x00010000;
constexpr REGSAM kWriteDac = 0x00040000;
constexpr REGSAM kWriteOwner = 0x00080000;
constexpr REGSAM kWriteRights =
    KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | kDelete | kWriteDac | kWriteOwner;
constexpr DWORD kGenericRead = 0x80000000;
constexpr DWORD kGenericWrite = 0x40000000;
constexpr DWORD kGenericAll = 0x10000000;
constexpr size_t kMaxKeyNameLength = 255;

// Names are compared by their upper case in one fixed locale, so every process folds alike
// whatever locale it runs in.
std::string fold(std::wstring_view name) {
    static const locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    std::wstring upper(name);
    for (auto& c : upper)
        c = utf8 ? static_cast<wchar_t>(::towupper_l(static_cast<wint_t>(c), utf8))
                 : (c < 128 ? static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))) : c);
    return pal::text::toUtf8(upper);
}

REGSAM normalise(REGSAM access) {
    if (access & (kGenericAll | MAXIMUM_ALLOWED))
        access |= KEY_ALL_ACCESS;
    if (access & kGenericRead)
        access |= KEY_READ;
    if (access & kGenericWrite)
        access |= KEY_WRITE;
    return access;
}

class KeyObject : public pal::KernelObject {
public:
    KeyObject(std::int64_t id, REGSAM access, std::uint64_t generation)
        : id(id), access(access), generation(generation) {}
    pal::ObjectKind kind() const override { return pal::ObjectKind::Other; }
    const std::int64_t id;
    const REGSAM access;
    const std::uint64_t generation;
};

struct Key {
    std::int64_t id = 0;
    REGSAM access = 0;
};

Key resolve(Store& store, HKEY h) {
    if (h == HKEY_CLASSES_ROOT)
        return {pal::reg::kClassesRoot, KEY_ALL_ACCESS};
    if (h == HKEY_CURRENT_USER)
        return {pal::reg::kCurrentUser, KEY_ALL_ACCESS};
    if (h == HKEY_LOCAL_MACHINE)
        return {pal::reg::kLocalMachine, KEY_ALL_ACCESS};
    if (h == HKEY_USERS)
        return {pal::reg::kUsers, KEY_ALL_ACCESS};
    auto key = pal::handles::getAs<KeyObject>(h);
    if (!key || key->generation != store.generation())
        throw DbError{static_cast<LONG>(ERROR_INVALID_HANDLE)};
    return {key->id, key->access};
}

void require(const Key& key, REGSAM right) {
    if (!(key.access & right))
        throw DbError{static_cast<LONG>(ERROR_ACCESS_DENIED)};
}

HKEY newHandle(Store& store, std::int64_t id, REGSAM access) {
    return reinterpret_cast<HKEY>(
        pal::handles::insert(std::make_shared<KeyObject>(id, access, store.generation())));
}

// Whether a key is read-only; ERROR_KEY_DELETED when it is gone.
bool readOnly(Store& store, std::int64_t id) {
    Query q = store.query("SELECT readonly FROM keys WHERE id = ?");
    if (!q.bind(1, id).step())
        throw DbError{static_cast<LONG>(ERROR_KEY_DELETED)};
    return q.integer(0) != 0;
}

bool alive(Store& store, std::int64_t id) {
    Query q = store.query("SELECT 1 FROM keys WHERE id = ?");
    return q.bind(1, id).step();
}

void requireWritable(Store& store, std::int64_t id) {
    if (readOnly(store, id))
        throw DbError{static_cast<LONG>(ERROR_ACCESS_DENIED)};
}

std::vector<std::wstring> splitPath(LPCWSTR subKey) {
    std::vector<std::wstring> parts;
    if (!subKey)
        return parts;
    if (subKey[0] == L'\\')
        throw DbError{static_cast<LONG>(ERROR_BAD_PATHNAME)};
    std::wstring_view rest(subKey);
    while (!rest.empty()) {
        const size_t s = rest.find(L'\\');
        const std::wstring_view part = rest.substr(0, s);
        rest = s == std::wstring_view::npos ? std::wstring_view() : rest.substr(s + 1);
        if (part.size() > kMaxKeyNameLength)
            throw DbError{static_cast<LONG>(ERROR_INVALID_PARAMETER)};
        if (!part.empty())
            parts.emplace_back(part);
    }
    return parts;
}

struct Child {
    std::int64_t id;
    bool readOnly;
};

std::optional<Child> findChild(Store& store, std::int64_t parent, const std::string& folded) {
    Query q = store.query("SELECT id, readonly FROM keys WHERE parent = ? AND folded = ?");
    if (!q.bind(1, parent).bind(2, folded).step())
        return std::nullopt;
    return Child{q.integer(0), q.integer(1) != 0};
}

// The key at `parts` below `start` (which must exist).
std::int64_t walk(Store& store, std::int64_t start, const std::vector<std::wstring>& parts) {
    if (!alive(store, start))
        throw DbError{static_cast<LONG>(ERROR_KEY_DELETED)};
    std::int64_t id = start;
    for (const auto& part : parts) {
        const auto child = findChild(store, id, fold(part));
        if (!child)
            throw DbError{static_cast<LONG>(ERROR_FILE_NOT_FOUND)};
        id = child->id;
    }
    return id;
}

std::int64_t nowFileTime() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return static_cast<std::int64_t>((std::uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime);
}

FILETIME toFileTime(std::int64_t v) {
    return FILETIME{static_cast<DWORD>(v), static_cast<DWORD>(static_cast<std::uint64_t>(v) >> 32)};
}

void touch(Store& store, std::int64_t id) {
    Query q = store.query("UPDATE keys SET modified = ? WHERE id = ?");
    q.bind(1, nowFileTime()).bind(2, id).step();
}

std::int64_t createChild(Store& store, std::int64_t parent, const std::wstring& name,
                         const std::wstring& keyClass) {
    Query q = store.query("INSERT INTO keys(parent, name, folded, class, modified) VALUES(?, ?, ?, ?, ?)");
    q.bind(1, parent)
        .bind(2, pal::text::toUtf8(name))
        .bind(3, fold(name))
        .bind(4, pal::text::toUtf8(keyClass));
    q.bind(5, nowFileTime()).step();
    touch(store, parent);
    Query last = store.query("SELECT last_insert_rowid()");
    last.step();
    return last.integer(0);
}

// ---------------------------------------------------------------------------------------------
// Values: stored in the platform's byte form, handed out in the caller's.

bool isString(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ || type == REG_LINK;
}

std::string toStored(DWORD type, const BYTE* data, DWORD cb) {
    if (!data || cb == 0)
        return {};
    if (!isString(type))
        return std::string(reinterpret_cast<const char*>(data), cb);
    std::wstring text(cb / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data, text.size() * sizeof(wchar_t));
    return pal::text::toUtf16leBytes(text);
}

std::wstring storedText(const std::string& stored) {
    return pal::text::fromUtf16leBytes(stored);
}

std::string callerBytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

std::string toCaller(DWORD type, const std::string& stored) {
    return isString(type) ? callerBytes(storedText(stored)) : stored;
}

LONG deliver(const std::string& bytes, DWORD type, LPDWORD lpType, void* data, LPDWORD cbData) {
    if (lpType)
        *lpType = type;
    const auto need = static_cast<DWORD>(bytes.size());
    if (data) {
        if (*cbData < need) {
            *cbData = need;
            return ERROR_MORE_DATA;
        }
        std::memcpy(data, bytes.data(), bytes.size());
    }
    if (cbData)
        *cbData = need;
    return ERROR_SUCCESS;
}

struct Value {
    DWORD type;
    std::string stored;
};

std::optional<Value> readValue(Store& store, std::int64_t key, LPCWSTR name) {
    Query q = store.query("SELECT type, data FROM vals WHERE key = ? AND folded = ?");
    if (!q.bind(1, key).bind(2, fold(name ? name : L"")).step())
        return std::nullopt;
    return Value{static_cast<DWORD>(q.integer(0)), q.blob(1)};
}

Value requireValue(Store& store, std::int64_t key, LPCWSTR name) {
    auto v = readValue(store, key, name);
    if (!v)
        throw DbError{static_cast<LONG>(alive(store, key) ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED)};
    return std::move(*v);
}

// Copies a name into a caller's buffer counted in characters with the terminator.
LONG copyName(const std::string& utf8, LPWSTR buffer, LPDWORD cch) {
    const std::wstring w = pal::text::fromUtf8(utf8);
    if (w.size() >= *cch)
        return ERROR_MORE_DATA;
    std::copy(w.begin(), w.end(), buffer);
    buffer[w.size()] = L'\0';
    *cch = static_cast<DWORD>(w.size());
    return ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------------------------
// Trees.

std::vector<std::int64_t> descendants(Store& store, std::int64_t id) {
    Query q = store.query("WITH RECURSIVE t(id) AS (SELECT id FROM keys WHERE parent = ?1 "
                          "UNION ALL SELECT k.id FROM keys k JOIN t ON k.parent = t.id) SELECT id FROM t");
    q.bind(1, id);
    std::vector<std::int64_t> ids;
    while (q.step())
        ids.push_back(q.integer(0));
    return ids;
}

void deleteValuesOf(Store& store, std::int64_t id) {
    Query q = store.query("DELETE FROM vals WHERE key = ?");
    q.bind(1, id).step();
}

void deleteKey(Store& store, std::int64_t id) {
    deleteValuesOf(store, id);
    Query q = store.query("DELETE FROM keys WHERE id = ?");
    q.bind(1, id).step();
}

std::int64_t parentOf(Store& store, std::int64_t id) {
    Query q = store.query("SELECT parent FROM keys WHERE id = ?");
    return q.bind(1, id).step() ? q.integer(0) : 0;
}

bool isRoot(std::int64_t id) {
    return id >= pal::reg::kClassesRoot && id <= pal::reg::kUsers;
}

// Deletes everything below `id` and, with `self`, the key itself. Nothing goes when a key that
// would be deleted (or written, for the key's own values) is read-only.
void deleteTree(Store& store, std::int64_t id, bool self) {
    const auto below = descendants(store, id);
    requireWritable(store, id);
    for (auto d : below)
        requireWritable(store, d);
    for (auto it = below.rbegin(); it != below.rend(); ++it)
        deleteKey(store, *it);
    if (self) {
        const std::int64_t parent = parentOf(store, id);
        deleteKey(store, id);
        touch(store, parent);
    } else {
        deleteValuesOf(store, id);
        touch(store, id);
    }
}

void upsertValue(Store& store, std::int64_t key, const std::string& name, const std::string& folded,
                 DWORD type, const std::string& stored) {
    Query q =
        store.query("INSERT INTO vals(key, name, folded, type, data) VALUES(?, ?, ?, ?, ?) "
                    "ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data");
    q.bind(1, key)
        .bind(2, name)
        .bind(3, folded)
        .bind(4, static_cast<std::int64_t>(type))
        .bindBlob(5, stored)
        .step();
}

void copyTree(Store& store, std::int64_t from, std::int64_t to, const std::set<std::int64_t>& source) {
    struct Row {
        std::string name, folded;
        DWORD type;
        std::string data;
    };
    std::vector<Row> values;
    {
        Query q = store.query("SELECT name, folded, type, data FROM vals WHERE key = ? ORDER BY rowid");
        q.bind(1, from);
        while (q.step())
            values.push_back({q.text(0), q.text(1), static_cast<DWORD>(q.integer(2)), q.blob(3)});
    }
    struct Sub {
        std::int64_t id;
        std::string name, keyClass;
    };
    std::vector<Sub> subs;
    {
        Query q = store.query("SELECT id, name, class FROM keys WHERE parent = ? ORDER BY folded");
        q.bind(1, from);
        while (q.step())
            if (source.count(q.integer(0)))
                subs.push_back({q.integer(0), q.text(1), q.text(2)});
    }
    if (!values.empty() || !subs.empty())
        requireWritable(store, to);
    for (const auto& v : values)
        upsertValue(store, to, v.name, v.folded, v.type, v.data);
    if (!values.empty())
        touch(store, to);
    for (const auto& s : subs) {
        const std::wstring name = pal::text::fromUtf8(s.name);
        const auto existing = findChild(store, to, fold(name));
        const std::int64_t target =
            existing ? existing->id : createChild(store, to, name, pal::text::fromUtf8(s.keyClass));
        copyTree(store, s.id, target, source);
    }
}

// Runs one API call under the store's lock, turning database failures into return codes.
template <class F> LSTATUS guarded(F&& body) {
    try {
        Store& store = Store::instance();
        auto lock = store.lock();
        return body(store);
    } catch (const DbError& e) {
        return e.code;
    } catch (const pal::sandbox::Error&) {
        return ERROR_BADDB;
    } catch (const std::bad_alloc&) {
        return ERROR_OUTOFMEMORY;
    }
}

LSTATUS openKey(HKEY key, LPCWSTR subKey, REGSAM access, PHKEY result) {
    return guarded([&](Store& store) -> LSTATUS {
        const Key base = resolve(store, key);
        const auto parts = splitPath(subKey);
        Store::Transaction tx(store, false);
        const std::int64_t id = walk(store, base.id, parts);
        const REGSAM rights = normalise(access);
        if ((rights & kWriteRights) && readOnly(store, id))
            return ERROR_ACCESS_DENIED;
        tx.commit();
        *result = newHandle(store, id, rights);
        return ERROR_SUCCESS;
    });
}

} // namespace

LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR keyClass, DWORD, REGSAM access,
                        const LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    return guarded([&](Store& store) -> LSTATUS {
        const Key base = resolve(store, key);
        const auto parts = splitPath(subKey);
        const REGSAM rights = normalise(access);
        // In a store that can only be read, an existing key still opens (programs read their
        // settings through this call); only making one is denied.
        Store::Transaction tx(store, !store.readOnly());
        std::int64_t id = base.id;
        bool ro = readOnly(store, id);
        bool created = false;
        for (const auto& part : parts) {
            if (const auto child = findChild(store, id, fold(part))) {
                id = child->id;
                ro = child->readOnly;
                continue;
            }
            if (ro || store.readOnly())
                return ERROR_ACCESS_DENIED;
            id = createChild(store, id, part, keyClass ? keyClass : L"");
            ro = false;
            created = true;
        }
        if (!created && ro && (rights & kWriteRights))
            return ERROR_ACCESS_DENIED;
        tx.commit();
        *result = newHandle(store, id, rights);
        if (disposition)
            *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        return ERROR_SUCCESS;
    });
}

LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM access, PHKEY result) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    return openKey(key, subKey, access, result);
}

LSTATUS RegCloseKey(HKEY key) {
    if (key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE ||
        key == HKEY_USERS)
        return ERROR_SUCCESS;
    if (!pal::handles::getAs<KeyObject>(key))
        return ERROR_INVALID_HANDLE;
    pal::handles::close(key);
    return ERROR_SUCCESS;
}

LSTATUS RegFlushKey(HKEY key) {
    // Every call commits with synchronous FULL, and a batch (pal/registry.h) with its end; there
    // is nothing left to flush.
    return guarded([&](Store& store) -> LSTATUS {
        resolve(store, key);
        return ERROR_SUCCESS;
    });
}

LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD cbData) {
    if (data && !cbData)
        return ERROR_INVALID_PARAMETER;
    return guarded([&](Store& store) -> LSTATUS {
        const Key k = resolve(store, key);
        require(k, KEY_QUERY_VALUE);
        const Value v = requireValue(store, k.id, valueName);
        return deliver(toCaller(v.type, v.stored), v.type, type, data, cbData);
    });
}

LSTATUS RegGetValueW(HKEY key, LPCWSTR subKey, LPCWSTR valueName, DWORD flags, LPDWORD type, PVOID data,
                     LPDWORD cbData) {
    if ((data && !cbData) || ((flags & RRF_RT_ANY) == RRF_RT_REG_EXPAND_SZ && !(flags & RRF_NOEXPAND)) ||
        !(flags & RRF_RT_ANY))
        return ERROR_INVALID_PARAMETER;
    const DWORD capacity = cbData ? *cbData : 0;
    const LSTATUS status = guarded([&](Store& store) -> LSTATUS {
        const Key base = resolve(store, key);
        std::int64_t id = base.id;
        if (subKey && *subKey)
            id = walk(store, base.id, splitPath(subKey));
        else
            require(base, KEY_QUERY_VALUE);
        const Value v = requireValue(store, id, valueName);
        DWORD t = v.type;
        if (!isString(t)) {
            static const std::pair<DWORD, DWORD> kBits[] = {{REG_NONE, RRF_RT_REG_NONE},
                                                            {REG_BINARY, RRF_RT_REG_BINARY},
                                                            {REG_DWORD, RRF_RT_REG_DWORD},
                                                            {REG_QWORD, RRF_RT_REG_QWORD}};
            DWORD bit = 0;
            for (const auto& [tt, b] : kBits)
                if (tt == t)
                    bit = b;
            if (!(bit ? (flags & bit) : (flags & RRF_RT_ANY) == RRF_RT_ANY))
                return ERROR_UNSUPPORTED_TYPE;
            // Binary data read as a 32- or 64-bit number must have that number's width.
            const DWORD restriction = flags & RRF_RT_ANY;
            if (t == REG_BINARY && ((restriction == RRF_RT_DWORD && v.stored.size() != sizeof(DWORD)) ||
                                    (restriction == RRF_RT_QWORD && v.stored.size() != sizeof(ULONGLONG))))
                return ERROR_DATATYPE_MISMATCH;
            return deliver(v.stored, t, type, data, cbData);
        }
        std::wstring text = storedText(v.stored);
        if (t == REG_EXPAND_SZ && !(flags & RRF_NOEXPAND)) {
            const std::wstring source(text.c_str()); // up to the first terminator
            const DWORD n = ExpandEnvironmentStringsW(source.c_str(), nullptr, 0);
            std::wstring expanded(n, L'\0');
            ExpandEnvironmentStringsW(source.c_str(), expanded.data(), n);
            expanded.resize(n ? n - 1 : 0);
            text = expanded;
            t = REG_SZ;
        }
        const DWORD bit = t == REG_SZ          ? RRF_RT_REG_SZ
                          : t == REG_EXPAND_SZ ? RRF_RT_REG_EXPAND_SZ
                          : t == REG_MULTI_SZ  ? RRF_RT_REG_MULTI_SZ
                                               : 0;
        if (!(bit ? (flags & bit) : (flags & RRF_RT_ANY) == RRF_RT_ANY))
            return ERROR_UNSUPPORTED_TYPE;
        // Strings come back terminated, list strings with their closing empty string.
        if (t == REG_MULTI_SZ) {
            while (text.size() < 2 || text[text.size() - 1] != L'\0' || text[text.size() - 2] != L'\0')
                text.push_back(L'\0');
        } else if (text.empty() || text.back() != L'\0') {
            text.push_back(L'\0');
        }
        return deliver(callerBytes(text), t, type, data, cbData);
    });
    if (status != ERROR_SUCCESS && data && (flags & RRF_ZEROONFAILURE))
        std::memset(data, 0, capacity);
    return status;
}

LSTATUS RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD cbData) {
    if (!data && cbData)
        return ERROR_NOACCESS;
    return guarded([&](Store& store) -> LSTATUS {
        const Key k = resolve(store, key);
        require(k, KEY_SET_VALUE);
        const std::wstring name = valueName ? valueName : L"";
        const std::string stored = toStored(type, data, cbData);
        Store::Transaction tx(store, true);
        requireWritable(store, k.id);
        upsertValue(store, k.id, pal::text::toUtf8(name), fold(name), type, stored);
        touch(store, k.id);
        tx.commit();
        return ERROR_SUCCESS;
    });
}

LSTATUS RegDeleteValueW(HKEY key, LPCWSTR valueName) {
    return guarded([&](Store& store) -> LSTATUS {
        const Key k = resolve(store, key);
        require(k, KEY_SET_VALUE);
        Store::Transaction tx(store, true);
        requireWritable(store, k.id);
        Query q = store.query("DELETE FROM vals WHERE key = ? AND folded = ?");
        q.bind(1, k.id).bind(2, fold(valueName ? valueName : L"")).step();
        if (q.changes() == 0)
            return ERROR_FILE_NOT_FOUND;
        touch(store, k.id);
        tx.commit();
        return ERROR_SUCCESS;
    });
}

LSTATUS RegDeleteKeyW(HKEY key, LPCWSTR subKey) {
    if (!subKey)
        return ERROR_INVALID_PARAMETER;
    return guarded([&](Store& store) -> LSTATUS {
        const Key base = resolve(store, key);
        const auto parts = splitPath(subKey);
        Store::Transaction tx(store, true);
        const std::int64_t id = walk(store, base.id, parts);
        if (isRoot(id) || readOnly(store, id))
            return ERROR_ACCESS_DENIED;
        Query children = store.query("SELECT 1 FROM keys WHERE parent = ? LIMIT 1");
        if (children.bind(1, id).step())
            return ERROR_ACCESS_DENIED;
        const std::int64_t parent = parentOf(store, id);
        deleteKey(store, id);
        touch(store, parent);
        tx.commit();
        return ERROR_SUCCESS;
    });
}

LSTATUS RegDeleteTreeW(HKEY key, LPCWSTR subKey) {
    return guarded([&](Store& store) -> LSTATUS {
        const Key base = resolve(store, key);
        const auto parts = splitPath(subKey);
        Store::Transaction tx(store, true);
        if (parts.empty())
            require(base, KEY_SET_VALUE); // the key's own values go through this handle
        const std::int64_t id = walk(store, base.id, parts);
        deleteTree(store, id, !parts.empty());
        tx.commit();
        return ERROR_SUCCESS;
    });
}

LSTATUS SHDeleteKeyW(HKEY key, LPCWSTR subKey) {
    return guarded([&](Store& store) -> LSTATUS {
        const Key base = resolve(store, key);
        const auto parts = splitPath(subKey);
        Store::Transaction tx(store, true);
        const std::int64_t id = walk(store, base.id, parts);
        if (isRoot(id))
            return ERROR_ACCESS_DENIED;
        deleteTree(store, id, true);
        tx.commit();
        return ERROR_SUCCESS;
    });
}

LSTATUS SHCopyKeyW(HKEY source, LPCWSTR subKey, HKEY destination, DWORD) {
    return guarded([&](Store& store) -> LSTATUS {
        const Key from = resolve(store, source);
        const Key to = resolve(store, destination);
        const auto parts = splitPath(subKey);
        Store::Transaction tx(store, true);
        const std::int64_t id = walk(store, from.id, parts);
        readOnly(store, to.id); // ERROR_KEY_DELETED for a deleted destination
        // The source tree as it stands now: a copy into its own subtree must not copy what it adds.
        const auto below = descendants(store, id);
        copyTree(store, id, to.id, std::set<std::int64_t>(below.begin(), below.end()));
        tx.commit();
        return ERROR_SUCCESS;
    });
}

LSTATUS RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD cchName, LPDWORD, LPWSTR keyClass,
                      LPDWORD cchClass, LPFILETIME lastWriteTime) {
    if (!name || !cchName)
        return ERROR_INVALID_PARAMETER;
    return guarded([&](Store& store) -> LSTATUS {
        const Key k = resolve(store, key);
        require(k, KEY_ENUMERATE_SUB_KEYS);
        Query q = store.query(
            "SELECT name, class, modified FROM keys WHERE parent = ? ORDER BY folded LIMIT 1 OFFSET ?");
        if (!q.bind(1, k.id).bind(2, static_cast<std::int64_t>(index)).step())
            return alive(store, k.id) ? ERROR_NO_MORE_ITEMS : ERROR_KEY_DELETED;
        if (const LONG rc = copyName(q.text(0), name, cchName); rc != ERROR_SUCCESS)
            return rc;
        if (keyClass && cchClass)
            if (const LONG rc = copyName(q.text(1), keyClass, cchClass); rc != ERROR_SUCCESS)
                return rc;
        if (lastWriteTime)
            *lastWriteTime = toFileTime(q.integer(2));
        return ERROR_SUCCESS;
    });
}

LSTATUS RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, LPDWORD cchValueName, LPDWORD, LPDWORD type,
                      LPBYTE data, LPDWORD cbData) {
    if (!valueName || !cchValueName || (data && !cbData))
        return ERROR_INVALID_PARAMETER;
    return guarded([&](Store& store) -> LSTATUS {
        const Key k = resolve(store, key);
        require(k, KEY_QUERY_VALUE);
        Query q =
            store.query("SELECT name, type, data FROM vals WHERE key = ? ORDER BY rowid LIMIT 1 OFFSET ?");
        if (!q.bind(1, k.id).bind(2, static_cast<std::int64_t>(index)).step())
            return alive(store, k.id) ? ERROR_NO_MORE_ITEMS : ERROR_KEY_DELETED;
        if (const LONG rc = copyName(q.text(0), valueName, cchValueName); rc != ERROR_SUCCESS)
            return rc;
        const auto t = static_cast<DWORD>(q.integer(1));
        return deliver(toCaller(t, q.blob(2)), t, type, data, cbData);
    });
}

LSTATUS RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, LPDWORD cchClass, LPDWORD, LPDWORD subKeys,
                         LPDWORD maxSubKeyLen, LPDWORD maxClassLen, LPDWORD values, LPDWORD maxValueNameLen,
                         LPDWORD maxValueLen, LPDWORD securityDescriptor, LPFILETIME lastWriteTime) {
    return guarded([&](Store& store) -> LSTATUS {
        const Key k = resolve(store, key);
        require(k, KEY_QUERY_VALUE);
        Store::Transaction tx(store, false);
        Query self = store.query("SELECT class, modified FROM keys WHERE id = ?");
        if (!self.bind(1, k.id).step())
            return ERROR_KEY_DELETED;
        if (keyClass && cchClass) {
            if (const LONG rc = copyName(self.text(0), keyClass, cchClass); rc != ERROR_SUCCESS)
                return rc;
        } else if (cchClass) {
            *cchClass = static_cast<DWORD>(pal::text::fromUtf8(self.text(0)).size());
        }
        if (lastWriteTime)
            *lastWriteTime = toFileTime(self.integer(1));
        Query keys =
            store.query("SELECT count(*), coalesce(max(length(name)), 0), coalesce(max(length(class)), 0) "
                        "FROM keys WHERE parent = ?");
        keys.bind(1, k.id).step();
        if (subKeys)
            *subKeys = static_cast<DWORD>(keys.integer(0));
        if (maxSubKeyLen)
            *maxSubKeyLen = static_cast<DWORD>(keys.integer(1));
        if (maxClassLen)
            *maxClassLen = static_cast<DWORD>(keys.integer(2));
        // The longest value in the caller's form: strings at sizeof(wchar_t) a UTF-16 unit, an
        // upper bound (a surrogate pair is one character here).
        Query vals =
            store.query("SELECT count(*), coalesce(max(length(name)), 0), coalesce(max(CASE WHEN type IN "
                        "(1, 2, 6, 7) THEN length(data) / 2 * ? ELSE length(data) END), 0) FROM vals "
                        "WHERE key = ?");
        vals.bind(1, static_cast<std::int64_t>(sizeof(wchar_t))).bind(2, k.id).step();
        if (values)
            *values = static_cast<DWORD>(vals.integer(0));
        if (maxValueNameLen)
            *maxValueNameLen = static_cast<DWORD>(vals.integer(1));
        if (maxValueLen)
            *maxValueLen = static_cast<DWORD>(vals.integer(2));
        if (securityDescriptor)
            *securityDescriptor = 0;
        tx.commit();
        return ERROR_SUCCESS;
    });
}

LSTATUS pal::detail::setRegistryKeyReadOnly(HKEY key, LPCWSTR subKey, bool readOnly) {
    return guarded([&](Store& store) -> LSTATUS {
        const Key base = resolve(store, key);
        const auto parts = splitPath(subKey);
        Store::Transaction tx(store, true);
        const std::int64_t id = walk(store, base.id, parts);
        Query q = store.query("UPDATE keys SET readonly = ? WHERE id = ?");
        q.bind(1, readOnly ? 1 : 0).bind(2, id).step();
        tx.commit();
        return ERROR_SUCCESS;
    });
}

pal::reg::Batch::Batch() {
    open_ = guarded([](Store& store) -> LSTATUS {
                store.beginBatch();
                return ERROR_SUCCESS;
            }) == ERROR_SUCCESS;
}

pal::reg::Batch::~Batch() {
    commit();
}

bool pal::reg::Batch::commit() {
    if (!open_)
        return false;
    open_ = false;
    Store& store = Store::instance();
    const auto lock = store.lockAsIs();
    return store.endBatch();
}
