// Stand-ins for desktop tools (xdg-email, xdg-open) that only record how they were run.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace simplemapi::test {

using ToolRun = std::vector<std::string>; // the arguments after the program name

// Writes an executable `folder`/`name` that appends its arguments to `record` and exits with
// `exitCode`. It uses only shell built-ins, so it works with any PATH.
void writeRecordingTool(const std::filesystem::path& folder, const std::string& name,
                        const std::filesystem::path& record, int exitCode = 0);

// Every recorded run, oldest first; none when the tool never ran.
std::vector<ToolRun> recordedRuns(const std::filesystem::path& record);

} // namespace simplemapi::test
