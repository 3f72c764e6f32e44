#include "test_support.h"

#include "partconv/file_names.h"

namespace partconv::testing {

SYSTEMTIME fixedDate() {
    SYSTEMTIME t{};
    t.wYear = 2025;
    t.wMonth = 10;
    t.wDay = 7;
    t.wHour = 23;
    t.wMinute = 59;
    return t;
}

std::string partitionHeader(const std::string& fileName) {
    return headerLine1() + headerLine2() + "**PART1;\nMC=x86;\nFILE=" + fileName +
           ";\nDATE=1-jan-2020;\n**PART2;\nSCH=test;\n**PART3;\n" + headerEndLine();
}

pskernel::content::Item body(const std::string& geometry, std::uint8_t type) {
    pskernel::content::Item item;
    item.kind = pskernel::content::Kind::body;
    item.bodyType = type;
    item.geometry = geometry;
    return item;
}

pskernel::content::Item assembly(std::vector<std::uint32_t> targets) {
    pskernel::content::Item item;
    item.kind = pskernel::content::Kind::assembly;
    for (std::uint32_t t : targets) {
        pskernel::content::Instance instance;
        instance.target = t;
        for (std::size_t i = 0; i < pskernel::content::transformValues; ++i)
            instance.transform[i] = t + i * 0.5;
        item.instances.push_back(instance);
    }
    return item;
}

PartFile splitPartFile(const std::string& bytes) {
    PartFile file;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t end = bytes.find('\n', at);
        if (end == std::string::npos)
            break;
        file.headerLines.push_back(bytes.substr(at, end - at));
        at = end + 1;
        if (file.headerLines.back().starts_with("**END_OF_HEADER"))
            break;
    }
    file.content = bytes.substr(at);
    file.decoded = pskernel::content::decodePart(file.content, file.parts);
    return file;
}

} // namespace partconv::testing
