#include "recording_tool.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace simplemapi::test {

void writeRecordingTool(const fs::path& folder, const std::string& name, const fs::path& record,
                        int exitCode) {
    if (record.string().find('\'') != std::string::npos)
        throw std::invalid_argument("record path cannot be quoted: " + record.string());
    fs::create_directories(folder);
    const fs::path tool = folder / name;
    // Each run: the argument count, then each argument, all NUL-terminated.
    std::ofstream(tool) << "#!/bin/sh\nprintf '%s\\0' \"$#\" \"$@\" >> '" << record.string() << "'\nexit "
                        << exitCode << "\n";
    fs::permissions(tool, fs::perms::owner_all);
}

std::vector<ToolRun> recordedRuns(const fs::path& record) {
    std::ifstream in(record, std::ios::binary);
    std::vector<std::string> fields;
    for (std::string field; std::getline(in, field, '\0');)
        fields.push_back(field);
    std::vector<ToolRun> runs;
    for (size_t i = 0; i < fields.size();) {
        const size_t count = std::stoul(fields[i++]);
        if (i + count > fields.size())
            throw std::runtime_error("truncated record " + record.string());
        runs.emplace_back(fields.begin() + static_cast<long>(i),
                          fields.begin() + static_cast<long>(i + count));
        i += count;
    }
    return runs;
}

} // namespace simplemapi::test
