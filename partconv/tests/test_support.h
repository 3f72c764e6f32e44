// Helpers shared by the converter's tests: partition files as the tests make them and part
// files taken apart into header lines and content.
#pragma once

#include "pskernel/content.h"
#include "win/types.h"

#include <string>
#include <vector>

namespace partconv::testing {

// A fixed date for the DATE= line: 7 October 2025.
SYSTEMTIME fixedDate();

// A hand-made partition header naming `fileName` on its FILE= line.
std::string partitionHeader(const std::string& fileName);

pskernel::content::Item body(const std::string& geometry, std::uint8_t type = 1);
pskernel::content::Item assembly(std::vector<std::uint32_t> targets);

struct PartFile {
    std::vector<std::string> headerLines; // each without its line feed, up to the end line
    std::string content;
    std::vector<pskernel::content::Item> parts;
    bool decoded = false;
};
PartFile splitPartFile(const std::string& bytes);

} // namespace partconv::testing
