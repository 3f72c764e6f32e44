// Media of data objects as bytes: what a data object hands out, checked against what was asked,
// and the rendering of a whole object into a slot of the clipboard store.
#pragma once

#include "win/ole.h"

#include <cstdint>
#include <optional>
#include <string>

namespace pal::ole {

// The bytes of a medium that the object returned for a request of `asked` media: nullopt when
// the medium is not one that was asked for, not global memory or a stream, or its handle or
// stream is bad (an object that lies about its media gets nowhere).
std::optional<std::string> bytesOfMedium(const STGMEDIUM& medium, DWORD asked);

// Asks `object` for `format` in global memory or a stream and returns the bytes, checked as
// the format requires; nullopt when the object fails, lies or gives an unsound block.
std::optional<std::string> renderFormat(IDataObject* object, const FORMATETC& format);

// Renders every content format the object offers in global memory or a stream into `slot`;
// the number of formats stored, or -1 when the object cannot list its formats.
int renderInto(std::int64_t slot, IDataObject* object);

// A data object that reads `slot` of the clipboard store as it is at each call (the clipboard
// when the slot is 0, with its text conversion). One reference.
IDataObject* newStoredDataObject(std::int64_t slot);

} // namespace pal::ole
