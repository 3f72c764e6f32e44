#include "partconv/frustrum.h"

#include "partconv/delta_store.h"

namespace partconv {
namespace {

KernelFiles* bound = nullptr;

void setStatus(int* status, int value) {
    if (status)
        *status = value;
}

void fruStart(int* status) {
    setStatus(status, bound ? bound->start() : statusRefused);
}
void fruAbort(int* status) {
    setStatus(status, bound ? bound->abort() : statusRefused);
}
void fruStop(int* status) {
    setStatus(status, bound ? bound->stop() : statusRefused);
}

void fruAllocate(const size_t* size, char** pointer, int* status) {
    setStatus(status, bound && size ? bound->allocate(*size, pointer) : statusRefused);
}

void fruRelease(const size_t* size, char* const* pointer, int* status) {
    setStatus(status, bound && size && pointer ? bound->release(*size, *pointer) : statusRefused);
}

// A negative length is no name at all.
std::string_view text(const char* data, const int* length) {
    return data && length && *length > 0 ? std::string_view(data, static_cast<std::size_t>(*length))
                                         : std::string_view();
}

void fruOpenRead(const int* guise, const int* format, const char* name, const int* nameLength,
                 const int* skip, int* identifier, int* status) {
    setStatus(status, bound && guise && format && skip
                          ? bound->openRead(*guise, *format, text(name, nameLength), *skip, identifier)
                          : statusRefused);
}

void fruOpenWrite(const int* guise, const int* format, const char* name, const int* nameLength,
                  const char* header, const int* headerLength, int* identifier, int* status) {
    setStatus(status, bound && guise && format ? bound->openWrite(*guise, *format, text(name, nameLength),
                                                                  text(header, headerLength), identifier)
                                               : statusRefused);
}

void fruClose(const int* guise, const int* identifier, const int* action, int* status) {
    setStatus(status, bound && guise && identifier && action ? bound->close(*guise, *identifier, *action)
                                                             : statusRefused);
}

void fruRead(const int* guise, const int* identifier, const int* maxLength, char* buffer, int* lengthRead,
             int* status) {
    setStatus(status, bound && guise && identifier && maxLength
                          ? bound->read(*guise, *identifier, *maxLength, buffer, lengthRead)
                          : statusRefused);
}

void fruWrite(const int* guise, const int* identifier, const int* length, const char* data, int* status) {
    setStatus(status, bound && guise && identifier && length
                          ? bound->write(*guise, *identifier, *length, data)
                          : statusRefused);
}

int fruOpenReadWide(int guise, int format, const wchar_t* name, int skip, int* identifier) {
    return bound ? bound->openReadWide(guise, format, name ? name : L"", skip, identifier) : statusRefused;
}

int fruOpenWriteWide(int guise, int format, const wchar_t* name, const char* header, int* identifier) {
    return bound ? bound->openWriteWide(guise, format, name ? name : L"", header ? header : "", identifier)
                 : statusRefused;
}

} // namespace

void bindKernelFiles(KernelFiles* files) {
    bound = files;
}

PK_SESSION_frustrum_t frustrumRecord() {
    PK_SESSION_frustrum_t f{};
    f.start = fruStart;
    f.abort = fruAbort;
    f.stop = fruStop;
    f.allocate = fruAllocate;
    f.release = fruRelease;
    f.open_read = fruOpenRead;
    f.open_write = fruOpenWrite;
    f.close = fruClose;
    f.read = fruRead;
    f.write = fruWrite;
    f.open_read_wide = fruOpenReadWide;
    f.open_write_wide = fruOpenWriteWide;
    return f;
}

PK_DELTA_frustrum_t deltaRecord() {
    return PK_DELTA_frustrum_t{FRU_delta_open_for_write, FRU_delta_open_for_read, FRU_delta_close,
                               FRU_delta_write,          FRU_delta_read,          FRU_delta_delete};
}

} // namespace partconv
