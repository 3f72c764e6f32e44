// One title-block editor as a program: connect to DravikCad, run the main form, and end with 0,
// or with 1 after telling the person why DravikCad could not be reached or a call failed.
#pragma once

#include "Layouts.h"

namespace stamps {

int runProgram(const ProgramLayout& layout, int argc, char** argv);

} // namespace stamps
