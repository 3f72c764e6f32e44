// Reads the golden tables of tests/fixtures: one row a line, fields split at a separator,
// lines starting with '#' skipped.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace dvapp::test {

using FixtureRow = std::vector<std::string>;

inline std::vector<FixtureRow> readFixtureTable(const std::string& name, char separator = ' ') {
    std::ifstream in(std::string(DVAPP_FIXTURES) + "/" + name);
    std::vector<FixtureRow> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        FixtureRow row;
        std::istringstream fields(line);
        std::string field;
        while (std::getline(fields, field, separator))
            row.push_back(field);
        rows.push_back(row);
    }
    return rows;
}

// A row's fields joined back with the separator, for messages that name the row.
inline std::string joinFixtureRow(const FixtureRow& row, char separator = ' ') {
    std::string text;
    for (const std::string& field : row)
        text += (text.empty() ? "" : std::string(1, separator)) + field;
    return text;
}

} // namespace dvapp::test
