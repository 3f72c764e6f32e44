// Uniform data transfer: formats and media, streams over global memory, format enumerators,
// the data object interface, and the OLE clipboard.
#pragma once

#include "pal/visibility.h"
#include "win/com.h"
#include "win/global_memory.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

using CLIPFORMAT = WORD;

struct IStorage;
struct IAdviseSink;
struct IEnumSTATDATA;
struct DVTARGETDEVICE;

constexpr DWORD TYMED_NULL = 0;
constexpr DWORD TYMED_HGLOBAL = 1;
constexpr DWORD TYMED_FILE = 2;
constexpr DWORD TYMED_ISTREAM = 4;
constexpr DWORD TYMED_ISTORAGE = 8;
constexpr DWORD TYMED_GDI = 16;
constexpr DWORD TYMED_MFPICT = 32;
constexpr DWORD TYMED_ENHMF = 64;

constexpr DWORD DVASPECT_CONTENT = 1;
constexpr DWORD DVASPECT_THUMBNAIL = 2;
constexpr DWORD DVASPECT_ICON = 4;
constexpr DWORD DVASPECT_DOCPRINT = 8;

constexpr DWORD DATADIR_GET = 1;
constexpr DWORD DATADIR_SET = 2;

constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = static_cast<HRESULT>(0x80040003);
constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x80040064);
constexpr HRESULT DV_E_LINDEX = static_cast<HRESULT>(0x80040068);
constexpr HRESULT DV_E_TYMED = static_cast<HRESULT>(0x80040069);
constexpr HRESULT DV_E_DVASPECT = static_cast<HRESULT>(0x8004006B);
constexpr HRESULT CLIPBRD_E_CANT_OPEN = static_cast<HRESULT>(0x800401D0);
constexpr HRESULT CLIPBRD_E_CANT_EMPTY = static_cast<HRESULT>(0x800401D1);
constexpr HRESULT CLIPBRD_E_CANT_SET = static_cast<HRESULT>(0x800401D2);
constexpr HRESULT CLIPBRD_E_BAD_DATA = static_cast<HRESULT>(0x800401D3);
constexpr HRESULT CLIPBRD_E_CANT_CLOSE = static_cast<HRESULT>(0x800401D4);
constexpr HRESULT STG_E_INVALIDFUNCTION = static_cast<HRESULT>(0x80030001);
constexpr HRESULT STG_E_INVALIDPOINTER = static_cast<HRESULT>(0x80030009);
constexpr HRESULT STG_E_INVALIDPARAMETER = static_cast<HRESULT>(0x80030057);
constexpr HRESULT STG_E_MEDIUMFULL = static_cast<HRESULT>(0x80030070);

struct FORMATETC {
    CLIPFORMAT cfFormat;
    DVTARGETDEVICE* ptd;
    DWORD dwAspect;
    LONG lindex;
    DWORD tymed;
};
using LPFORMATETC = FORMATETC*;

struct IStream;

struct STGMEDIUM {
    DWORD tymed;
    union {
        HBITMAP hBitmap;
        HANDLE hMetaFilePict;
        HANDLE hEnhMetaFile;
        HGLOBAL hGlobal;
        LPOLESTR lpszFileName;
        IStream* pstm;
        IStorage* pstg;
    };
    IUnknown* pUnkForRelease;
};
using LPSTGMEDIUM = STGMEDIUM*;

// Frees what the medium holds (global memory, a stream's reference, a file name), or hands it
// to pUnkForRelease when one is set; the medium is then empty.
void ReleaseStgMedium(LPSTGMEDIUM medium);

constexpr DWORD STGTY_STREAM = 2;
constexpr DWORD STREAM_SEEK_SET = 0;
constexpr DWORD STREAM_SEEK_CUR = 1;
constexpr DWORD STREAM_SEEK_END = 2;
constexpr DWORD STATFLAG_DEFAULT = 0;
constexpr DWORD STATFLAG_NONAME = 1;

struct STATSTG {
    LPOLESTR pwcsName;
    DWORD type;
    ULARGE_INTEGER cbSize;
    FILETIME mtime;
    FILETIME ctime;
    FILETIME atime;
    DWORD grfMode;
    DWORD grfLocksSupported;
    CLSID clsid;
    DWORD grfStateBits;
    DWORD reserved;
};

inline constexpr IID IID_ISequentialStream = {
    0x0c733a30, 0x2a1c, 0x11ce, {0xad, 0xe5, 0x00, 0xaa, 0x00, 0x44, 0x77, 0x3d}};
inline constexpr IID IID_IStream = {0x0000000c, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IEnumFORMATETC = {0x00000103, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IDataObject = {0x0000010e, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct ISequentialStream : IUnknown {
    virtual HRESULT Read(void* buffer, ULONG bytes, ULONG* read) = 0;
    virtual HRESULT Write(const void* buffer, ULONG bytes, ULONG* written) = 0;

protected:
    ~ISequentialStream() = default;
};

struct IStream : ISequentialStream {
    virtual HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) = 0;
    virtual HRESULT SetSize(ULARGE_INTEGER newSize) = 0;
    virtual HRESULT CopyTo(IStream* to, ULARGE_INTEGER bytes, ULARGE_INTEGER* read,
                           ULARGE_INTEGER* written) = 0;
    virtual HRESULT Commit(DWORD flags) = 0;
    virtual HRESULT Revert() = 0;
    virtual HRESULT LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER bytes, DWORD lockType) = 0;
    virtual HRESULT UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER bytes, DWORD lockType) = 0;
    virtual HRESULT Stat(STATSTG* stat, DWORD flags) = 0;
    virtual HRESULT Clone(IStream** clone) = 0;

protected:
    ~IStream() = default;
};
using LPSTREAM = IStream*;

// A stream over a global memory block (a new one when `memory` is null); the stream's size
// starts at the block's size. With `deleteOnRelease` the block goes with the last stream.
HRESULT CreateStreamOnHGlobal(HGLOBAL memory, BOOL deleteOnRelease, LPSTREAM* stream);
// The block under a stream made by CreateStreamOnHGlobal; E_INVALIDARG for any other stream.
HRESULT GetHGlobalFromStream(LPSTREAM stream, HGLOBAL* memory);

struct IEnumFORMATETC : IUnknown {
    virtual HRESULT Next(ULONG count, FORMATETC* formats, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumFORMATETC** clone) = 0;

protected:
    ~IEnumFORMATETC() = default;
};
using LPENUMFORMATETC = IEnumFORMATETC*;

// An enumerator over a copy of `formats`.
HRESULT SHCreateStdEnumFmtEtc(UINT count, const FORMATETC* formats, IEnumFORMATETC** enumerator);

struct IDataObject : IUnknown {
    virtual HRESULT GetData(FORMATETC* format, STGMEDIUM* medium) = 0;
    virtual HRESULT GetDataHere(FORMATETC* format, STGMEDIUM* medium) = 0;
    virtual HRESULT QueryGetData(FORMATETC* format) = 0;
    virtual HRESULT GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) = 0;
    virtual HRESULT SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) = 0;
    virtual HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) = 0;
    virtual HRESULT DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) = 0;
    virtual HRESULT DUnadvise(DWORD connection) = 0;
    virtual HRESULT EnumDAdvise(IEnumSTATDATA** enumerator) = 0;

protected:
    ~IDataObject() = default;
};
using LPDATAOBJECT = IDataObject*;

// OLE on the calling thread: initialises its apartment (as CoInitialize does) and enables the
// OLE clipboard and drag and drop there.
HRESULT OleInitialize(LPVOID reserved);
void OleUninitialize();

// The OLE clipboard. OleSetClipboard empties the clipboard and renders every format the object
// offers in global memory or a stream onto it at once, so that any program of the sandbox can
// read them; the object is kept until the clipboard changes or OleFlushClipboard. A null object
// empties the clipboard. OleGetClipboard gives an object that reads the clipboard as it is.
HRESULT OleSetClipboard(LPDATAOBJECT object);
HRESULT OleGetClipboard(LPDATAOBJECT* object);
HRESULT OleFlushClipboard();
HRESULT OleIsCurrentClipboard(LPDATAOBJECT object);

DV_EXPORTS_END
