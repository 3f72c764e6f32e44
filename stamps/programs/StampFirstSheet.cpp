// StampFirstSheet: the title-block editor of its layout, over DravikCad's active document.
#include "StampProgram.h"

int main(int argc, char** argv) {
    return stamps::runProgram(stamps::stampFirstSheet(), argc, argv);
}
