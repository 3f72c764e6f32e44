// The find-command search: every command the kernel knows that a person may be offered, tested
// against a search text through its caption and, when asked, through its synonyms, in the
// order of their names. A pure function of the text, the registered commands, the number of
// settings profiles, the find-by-synonyms option and the tag files.
#pragma once

#include "pal/visibility.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

struct FoundCommand {
    int id = 0;
    // The command's name, or for an add-on command a second line, a line feed and the name.
    std::wstring text;
};

// Search tags by command id, already in searchable form; several entries of one id are joined
// with ";".
using CommandTagsMap = std::map<int, std::wstring>;

// What one search tests every command against.
struct MatchCommandContext {
    const std::size_t& profileCount;
    const bool& findBySynonyms;
    const int& filterNumber;
    const std::wstring& filter;
    std::vector<FoundCommand>& result;
};

// Every offered command that `filter` (already in searchable form) finds, sorted by name. An
// empty filter finds every one.
std::vector<FoundCommand> FillCommandList(const std::wstring& filter);
// Appends the command to the context's result when it is offered and the filter finds it.
void MatchCommand(MatchCommandContext& context, int id, const std::wstring& caption);
// Adds the lines of one tag file ("name-or-id tags...") to the table; a file that does not
// open leaves it as it was.
void LoadCommandTags(CommandTagsMap& table, const std::wstring& path);
// The tags of a command, or null.
const std::wstring* FindCommandTags(const CommandTagsMap& table, int id);
// The order of the result: by name, code unit by code unit; nameless results last, by id.
bool FoundCommandLess(const FoundCommand& a, const FoundCommand& b);
// A caption as the result shows it: single "&" dropped, "&&" kept as it stands.
std::wstring RemoveSingleAmpersands(const std::wstring& caption);

DV_EXPORTS_END
