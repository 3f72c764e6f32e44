#include "DravikKernel/DocumentFile.h"

#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/Objects.h"

#include "pal/atomic_file.h"
#include "pal/path.h"
#include "pal/text.h"
#include "win/error.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace fs = std::filesystem;

namespace Dravik::grb {
namespace {

static_assert(std::endian::native == std::endian::little, "the file's numbers are read as the machine's");

constexpr char kMagic[8] = {'D', 'V', 'G', 'R', 'B', '\x1a', '\r', '\n'};
constexpr std::size_t kHeaderSize = 24;
// Larger files are not documents this program writes; reading one would only exhaust memory.
constexpr std::uintmax_t kMaxFileSize = std::uintmax_t(1) << 30;
constexpr double kMaxPageSide = 100000.0; // millimetres

// A descriptor closed with its holder.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_;
};

// Drawings are read from regular files only. The file is opened without waiting, as a FIFO,
// device or socket under a drawing's name would hold the reader until someone wrote to it; such
// a file fails at once, with EISDIR for a folder and EINVAL for the rest.
FileDescriptor openRegularFile(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return FileDescriptor(-1);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        return FileDescriptor(fd);
    const int error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    errno = error;
    return FileDescriptor(-1);
}

// Reads `count` bytes, fewer only where the file ends; false on a read error.
bool readUpTo(int fd, char* to, std::size_t count, std::size_t& got) {
    got = 0;
    while (got < count) {
        const ssize_t n = ::read(fd, to + got, count - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

std::uint32_t checksum(std::string_view bytes) {
    uLong c = ::crc32(0L, Z_NULL, 0);
    // zlib takes lengths of 32 bits; a document is far below, but the loop keeps it honest.
    while (!bytes.empty()) {
        const uInt n = static_cast<uInt>(std::min<std::size_t>(bytes.size(), 1u << 30));
        c = ::crc32(c, reinterpret_cast<const Bytef*>(bytes.data()), n);
        bytes.remove_prefix(n);
    }
    return static_cast<std::uint32_t>(c);
}

class Writer {
public:
    std::string out;
    void u8(std::uint8_t v) { out.push_back(static_cast<char>(v)); }
    void u32(std::uint32_t v) { le(v, 4); }
    void u64(std::uint64_t v) { le(v, 8); }
    void f64(double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u64(bits);
    }
    void str(const std::wstring& s) {
        if (s.empty())
            return u32(0);
        const std::string utf8 = pal::text::toUtf8(s);
        u32(static_cast<std::uint32_t>(utf8.size()));
        out += utf8;
    }

private:
    void le(std::uint64_t v, int n) {
        // The file is little-endian, as this machine is: the bytes of the value are the bytes
        // of the file.
        char b[8];
        std::memcpy(b, &v, sizeof b);
        out.append(b, n);
    }
};

// Every read checks what is left first; the first failure sticks and all later reads give zero.
class Reader {
public:
    explicit Reader(std::string_view bytes) : b_(bytes) {}
    bool ok() const { return ok_; }
    std::size_t left() const { return b_.size() - pos_; }
    bool fail() { return ok_ = false; }

    std::uint8_t u8() { return take(1) ? static_cast<std::uint8_t>(b_[pos_ - 1]) : 0; }
    std::uint32_t u32() { return static_cast<std::uint32_t>(le(4)); }
    std::uint64_t u64() { return le(8); }
    double f64() {
        const std::uint64_t bits = u64();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v))
            fail();
        return v;
    }
    std::wstring str() {
        const std::uint32_t n = u32();
        if (!take(n) || n == 0)
            return {};
        return pal::text::fromUtf8(b_.substr(pos_ - n, n));
    }
    std::string raw(std::size_t n) {
        if (!take(n))
            return {};
        return std::string(b_.substr(pos_ - n, n));
    }
    std::string bytes() {
        const std::uint32_t n = u32();
        if (!take(n))
            return {};
        return std::string(b_.substr(pos_ - n, n));
    }
    // A count of records of at least `minSize` bytes each that the rest of the bytes can hold.
    std::uint32_t count(std::size_t minSize) {
        const std::uint32_t n = u32();
        if (ok_ && n > left() / minSize)
            fail();
        return ok_ ? n : 0;
    }

private:
    bool take(std::size_t n) {
        if (!ok_ || n > left())
            return fail();
        pos_ += n;
        return true;
    }
    std::uint64_t le(int n) {
        if (!take(n))
            return 0;
        std::uint64_t v = 0;
        std::memcpy(&v, b_.data() + pos_ - n, n);
        return v;
    }
    std::string_view b_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

bool coordsFit(ElementKind kind, std::size_t n) {
    switch (kind) {
    case ElementKind::Line:
    case ElementKind::SheetFrame:
        return n == 4;
    case ElementKind::Circle:
    case ElementKind::Text:
        return n == 3;
    case ElementKind::Arc:
        return n == 5;
    case ElementKind::Polyline:
        return n >= 4 && n % 2 == 0;
    case ElementKind::TitleBlock:
        return n == 2;
    }
    return false;
}

// The properties section: its byte count and CRC-32, then the seven texts. Its own checksum
// lets it be trusted without reading the body around it.
constexpr std::size_t kBodyLead = 16;                 // kind, flags, current page
constexpr std::uint32_t kMaxPropertiesSize = 1 << 20; // texts a person typed, not data

void writeProperties(Writer& w, const CDVPropertySet& p) {
    Writer section;
    for (const std::wstring* s : {&p.GetAuthor(), &p.GetCompany(), &p.GetComments(), &p.GetTitle(),
                                  &p.GetSubject(), &p.GetCategory(), &p.GetKeywords()})
        section.str(*s);
    w.u32(static_cast<std::uint32_t>(section.out.size()));
    w.u32(checksum(section.out));
    w.out += section.out;
}

// Reads the section at the reader's place; false (and nothing set) when it is not sound.
bool readProperties(Reader& r, CDVPropertySet& out) {
    const std::uint32_t size = r.u32();
    const std::uint32_t sum = r.u32();
    if (!r.ok() || size > r.left() || size > kMaxPropertiesSize)
        return r.fail();
    const std::string section = r.raw(size);
    if (checksum(section) != sum)
        return r.fail();
    Reader s(section);
    CDVPropertySet p;
    p.SetAuthor(s.str());
    p.SetCompany(s.str());
    p.SetComments(s.str());
    p.SetTitle(s.str());
    p.SetSubject(s.str());
    p.SetCategory(s.str());
    p.SetKeywords(s.str());
    if (!s.ok() || s.left() != 0)
        return r.fail();
    out = std::move(p);
    return true;
}

std::wstring fileName(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

} // namespace

void writeObjects(Writer& w, const DVDocument& c) {
    const auto objects = c.GetObjects();
    w.u32(static_cast<std::uint32_t>(objects.size()));
    for (const DVContainerObject* o : objects) {
        w.u32(static_cast<std::uint32_t>(o->GetTypeCode()));
        w.u64(static_cast<std::uint64_t>(o->GetId()));
        w.str(o->name);
        if (const auto* layer = dynamic_cast<const LAYER*>(o)) {
            w.u32(layer->color);
            for (std::uint8_t b : layer->states)
                w.u8(b);
            w.f64(layer->lineWidth);
        } else if (const auto* point = dynamic_cast<const FIXING_POINT*>(o)) {
            w.u32(point->page);
            w.u32(point->type);
            w.u64(static_cast<std::uint64_t>(point->projection));
            w.str(point->comment);
            w.f64(point->x);
            w.f64(point->y);
            w.f64(point->angle);
            w.u8(point->visible ? 1 : 0);
        } else if (const auto* system = dynamic_cast<const CoordinateSystem3D*>(o)) {
            w.u32(system->page);
        }
    }
}

// Ids are unique and not negative, pages exist, layer names are names; anything else is damage.
std::vector<std::shared_ptr<DVContainerObject>> readObjects(Reader& r, std::size_t pageCount) {
    std::vector<std::shared_ptr<DVContainerObject>> objects;
    std::set<std::int64_t> ids;
    const std::uint32_t count = r.count(16);
    for (std::uint32_t i = 0; i < count && r.ok(); ++i) {
        const std::uint32_t type = r.u32();
        const auto id = static_cast<std::int64_t>(r.u64());
        const std::wstring name = r.str();
        std::shared_ptr<DVContainerObject> object;
        std::uint32_t page = 0;
        if (type == kObjectTypeLayer) {
            auto layer = std::make_shared<LAYER>();
            layer->color = r.u32();
            for (std::uint8_t& b : layer->states)
                b = r.u8();
            layer->lineWidth = r.f64();
            if (!IsValidLayerName(name) || layer->lineWidth < 0)
                r.fail();
            object = layer;
        } else if (type == kObjectTypeLCS) {
            auto point = std::make_shared<FIXING_POINT>();
            point->page = page = r.u32();
            point->type = r.u32();
            point->projection = static_cast<std::int64_t>(r.u64());
            point->comment = r.str();
            point->x = r.f64();
            point->y = r.f64();
            point->angle = r.f64();
            point->visible = r.u8() != 0;
            object = point;
        } else if (type == kObjectTypeCS3D) {
            auto system = std::make_shared<CoordinateSystem3D>();
            system->page = page = r.u32();
            object = system;
        } else {
            r.fail();
            break;
        }
        if (id < 0 || !ids.insert(id).second || page >= pageCount)
            r.fail();
        object->name = name;
        object->SetId(id);
        objects.push_back(std::move(object));
    }
    return objects;
}

std::string Encode(const DravikDocument2& document) {
    const DVDocument& c = *document.Cont2D();
    Writer w;
    w.out.reserve(64 + c.GetElements().size() * 64);
    w.u32(static_cast<std::uint32_t>(document.GetKind()));
    w.u64(document.GetFlags());
    w.u32(static_cast<std::uint32_t>(c.GetCurrentPage()));
    writeProperties(w, document.GetProperties());
    w.u32(static_cast<std::uint32_t>(c.GetPages().size()));
    for (const Page& p : c.GetPages()) {
        w.u32(static_cast<std::uint32_t>(p.kind));
        w.f64(p.width);
        w.f64(p.height);
        w.str(p.name);
    }
    w.u32(static_cast<std::uint32_t>(c.GetVariables().size()));
    for (const Variable& v : c.GetVariables()) {
        w.u8(static_cast<std::uint8_t>(v.type));
        w.str(v.name);
        w.str(v.expression);
        w.f64(v.value);
    }
    w.u32(static_cast<std::uint32_t>(c.GetElements().size()));
    for (const Element& e : c.GetElements()) {
        w.u8(static_cast<std::uint8_t>(e.kind));
        w.u32(e.page);
        w.u32(e.color);
        w.str(e.name);
        w.u32(static_cast<std::uint32_t>(e.coords.size()));
        for (double d : e.coords)
            w.f64(d);
        w.str(e.text);
    }
    w.u32(static_cast<std::uint32_t>(document.GetPictures().size()));
    for (const auto& [name, png] : document.GetPictures()) {
        w.str(name);
        w.u32(static_cast<std::uint32_t>(png.size()));
        w.out += png;
    }
    writeObjects(w, c);

    Writer header;
    header.out.append(kMagic, sizeof kMagic);
    header.u32(kFormatVersion);
    header.u32(checksum(w.out));
    header.u64(w.out.size());
    return header.out + w.out;
}

bool Decode(std::string_view bytes, DravikDocument2& document, std::wstring* error) {
    auto failed = [&](const wchar_t* why) {
        if (error)
            *error = why;
        return false;
    };
    if (bytes.empty())
        return failed(L"the file is empty");
    if (bytes.size() < sizeof kMagic || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        return failed(L"the file is not a document of this program");
    if (bytes.size() < kHeaderSize)
        return failed(L"the file is cut short");
    Reader head(bytes.substr(sizeof kMagic, kHeaderSize - sizeof kMagic));
    const std::uint32_t version = head.u32();
    const std::uint32_t sum = head.u32();
    const std::uint64_t length = head.u64();
    if (version == 0)
        return failed(L"the file is damaged");
    if (version > kFormatVersion)
        return failed(L"the file was written by a newer version of the program");
    const std::string_view body = bytes.substr(kHeaderSize);
    if (length > body.size())
        return failed(L"the file is cut short");
    if (length < body.size())
        return failed(L"the file is damaged");
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // The fuzz build reads past the checksum, so that mutated bodies reach the parser.
    if (checksum(body) != sum)
        return failed(L"the file is damaged");
#else
    (void)sum;
#endif

    Reader r(body);
    const std::uint32_t kind = r.u32();
    const std::uint64_t flags = r.u64();
    const std::uint32_t current = r.u32();
    CDVPropertySet properties;
    if (version >= 2)
        readProperties(r, properties);
    std::vector<Page> pages(r.count(24));
    for (Page& p : pages) {
        const std::uint32_t pageKind = r.u32();
        p.kind = static_cast<PageKind>(pageKind);
        p.width = r.f64();
        p.height = r.f64();
        p.name = r.str();
        if (pageKind != 1 && pageKind != 2)
            r.fail();
        if (!(p.width > 0 && p.width <= kMaxPageSide && p.height > 0 && p.height <= kMaxPageSide))
            r.fail();
    }
    std::vector<Variable> vars(r.count(17));
    std::set<std::wstring> names;
    for (Variable& v : vars) {
        const std::uint8_t type = r.u8();
        v.type = static_cast<VarType>(type);
        v.name = r.str();
        v.expression = r.str();
        v.value = r.f64();
        if (type > 1 || v.name.empty() || !names.insert(v.name).second)
            r.fail();
    }
    std::vector<Element> elements(r.count(21));
    for (Element& e : elements) {
        const std::uint8_t k = r.u8();
        e.kind = static_cast<ElementKind>(k);
        e.page = r.u32();
        e.color = r.u32();
        e.name = r.str();
        e.coords.resize(r.count(8));
        for (double& d : e.coords)
            d = r.f64();
        e.text = r.str();
        if (k < 1 || k > 7 || !coordsFit(e.kind, e.coords.size()) || e.page >= pages.size())
            r.fail();
        if (!r.ok())
            break;
    }
    std::vector<std::pair<std::wstring, std::string>> pictures(r.count(8));
    std::set<std::wstring> pictureNames;
    for (auto& [name, png] : pictures) {
        name = r.str();
        png = r.bytes();
        if (name.empty() || !pictureNames.insert(name).second)
            r.fail();
    }
    std::vector<std::shared_ptr<DVContainerObject>> objects;
    if (version >= 3)
        objects = readObjects(r, pages.size());
    if (!r.ok() || r.left() != 0 || !IsKnownDocumentKind(kind) || pages.empty() || current >= pages.size())
        return failed(L"the file is damaged");

    document.SetKind(static_cast<DocumentKind>(kind));
    document.SetFlag(~std::uint64_t(0), false);
    document.SetFlag(flags);
    document.Cont2D()->LoadContent(std::move(pages), std::move(vars), std::move(elements));
    document.Cont2D()->LoadObjects(std::move(objects));
    document.Cont2D()->SetCurrentPage(static_cast<int>(current));
    document.SetPictures(std::move(pictures));
    document.SetProperties(std::move(properties));
    return true;
}

std::unique_ptr<CDvw32Doc> LoadFile(const std::wstring& path, std::wstring* error) {
    auto failed = [&](const std::wstring& why) {
        if (error)
            *error = L"Cannot open " + fileName(path) + L": " + why + L".";
        return nullptr;
    };
    const fs::path p = pal::path::toNative(path);
    const FileDescriptor file = openRegularFile(p);
    if (!file)
        return failed(errno == EINVAL || errno == EISDIR ? L"it is not a file" : L"the file cannot be read");
    struct stat st {};
    if (::fstat(file.get(), &st) != 0)
        return failed(L"the file cannot be read");
    const auto size = static_cast<std::uintmax_t>(st.st_size);
    if (size > kMaxFileSize)
        return failed(L"the file is too large to be a document");
    std::string bytes(static_cast<std::size_t>(size), '\0');
    std::size_t got = 0;
    if (!readUpTo(file.get(), bytes.data(), bytes.size(), got) || got != bytes.size())
        return failed(L"the file cannot be read");
    auto document = std::make_unique<CDvw32Doc>();
    std::wstring why;
    if (!Decode(bytes, *document, &why))
        return failed(why);
    document->SetPathName(path);
    // A file the user may not write is opened read-only, so that saving goes elsewhere.
    document->SetReadOnly(::access(p.c_str(), W_OK) != 0);
    return document;
}

bool SaveFile(const DravikDocument2& document, const std::wstring& path, std::wstring* error) {
    const pal::WriteOutcome outcome = pal::writeFileAtomically(pal::path::toNative(path), Encode(document));
    if (!outcome && error)
        *error = L"Cannot save " + fileName(path) + L": " + pal::text::fromUtf8(outcome.message) + L".";
    return outcome.ok;
}

bool IsLockedElsewhere(const std::wstring& path, int ownLock, std::wstring* error) {
    const fs::path native = pal::path::toNative(path);
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat target {};
    struct stat own {};
    const bool ours = ownLock >= 0 && ::fstat(fd, &target) == 0 && ::fstat(ownLock, &own) == 0 &&
                      target.st_dev == own.st_dev && target.st_ino == own.st_ino;
    bool locked = false;
    if (!ours) {
        // A shared lock is refused only while someone holds the exclusive one; it is let go at once.
        locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        if (!locked)
            ::flock(fd, LOCK_UN);
    }
    ::close(fd);
    if (locked && error) {
        // The application names the programs that hold it, when it can tell.
        std::wstring holders;
        if (DravikServerAppProxy* shell = DravikServerAppProxy::Instance())
            for (const auto& [application, program] : shell->GetFileLockers(path.c_str()))
                holders += (holders.empty() ? L"" : L", ") + application +
                           (program.empty() ? std::wstring() : L" (" + program + L")");
        *error = L"Cannot save " + fileName(path) + L": the file is locked by " +
                 (holders.empty() ? std::wstring(L"another program") : holders) + L".";
    }
    return locked;
}

} // namespace Dravik::grb

HRESULT ReadDocumentFileInfo(const wchar_t* path, DocumentFileInfo* info) {
    constexpr HRESULT kNotFound = static_cast<HRESULT>(0x80030002),
                      kNoFolder = static_cast<HRESULT>(0x80030003),
                      kDenied = static_cast<HRESULT>(0x80030005),
                      kReadFault = static_cast<HRESULT>(0x8003001E),
                      kNotDocument = static_cast<HRESULT>(0x800300FB),
                      kNewerVersion = static_cast<HRESULT>(0x80030105),
                      kDamaged = static_cast<HRESULT>(0x80030109);
    if (!path || !*path)
        return kNotFound;
    const std::string name = pal::path::toNative(path).string();
    const Dravik::grb::FileDescriptor file = Dravik::grb::openRegularFile(name);
    if (!file) {
        switch (errno) {
        case EACCES:
        case EPERM:
            return kDenied;
        case ENOTDIR:
            return kNoFolder;
        case ENOENT: {
            std::error_code ec;
            const auto parent = fs::path(name).parent_path();
            return parent.empty() || fs::is_directory(parent, ec) ? kNotFound : kNoFolder;
        }
        default:
            return kReadFault;
        }
    }
    char head[Dravik::grb::kHeaderSize + 16];
    std::size_t got = 0;
    if (!Dravik::grb::readUpTo(file.get(), head, sizeof head, got))
        return kReadFault;
    if (got < Dravik::grb::kHeaderSize + 16 ||
        std::memcmp(head, Dravik::grb::kMagic, sizeof Dravik::grb::kMagic) != 0)
        return kNotDocument;
    Dravik::grb::Reader r(
        std::string_view(head + sizeof Dravik::grb::kMagic, sizeof head - sizeof Dravik::grb::kMagic));
    DocumentFileInfo read;
    read.version = r.u32();
    r.u32();
    r.u64();
    const std::uint32_t kind = r.u32();
    read.flags = r.u64();
    // The magic says it is a document: what is wrong with it is worth telling apart.
    if (read.version > Dravik::grb::kFormatVersion)
        return kNewerVersion;
    if (read.version == 0 || !Dravik::IsKnownDocumentKind(kind))
        return kDamaged;
    read.kind = static_cast<Dravik::DocumentKind>(kind);
    if (info)
        *info = read;
    return S_OK;
}

namespace {

// The header and the properties section only: the browser shows these for every drawing of a
// folder, so the body is never read for them.
CDVPropertySet readPropertiesOf(const wchar_t* path) {
    using namespace Dravik::grb;
    if (path == nullptr || *path == 0)
        return {};
    const FileDescriptor file = openRegularFile(pal::path::toNative(path));
    constexpr std::size_t lead = kHeaderSize + kBodyLead + 8;
    std::string head(lead, '\0');
    std::size_t got = 0;
    if (!file || !readUpTo(file.get(), head.data(), head.size(), got) || got != head.size())
        return {};
    if (std::memcmp(head.data(), kMagic, sizeof kMagic) != 0)
        return {};
    Reader r(std::string_view(head).substr(sizeof kMagic));
    const std::uint32_t version = r.u32();
    r.u32();
    const std::uint64_t length = r.u64();
    const std::uint32_t kind = r.u32();
    if (version < 2 || version > kFormatVersion || !Dravik::IsKnownDocumentKind(kind))
        return {};
    r.u64();
    r.u32();
    const std::uint32_t size = r.u32();
    if (!r.ok() || size > kMaxPropertiesSize || kBodyLead + 8 + size > length)
        return {};
    std::string section(lead + size, '\0');
    std::memcpy(section.data(), head.data(), lead);
    if (size > 0 && (!readUpTo(file.get(), section.data() + lead, size, got) || got != size))
        return {};
    Reader s(std::string_view(section).substr(kHeaderSize + kBodyLead));
    CDVPropertySet out;
    readProperties(s, out);
    return out;
}

} // namespace

CDVPropertySet Dravik::DravikDocument2::ReadProperties(const wchar_t* path) {
    return readPropertiesOf(path);
}
