// Several document files opened together with common options: the PDM system's contexts are
// gathered for all of them at once, the 3D module takes its part, and then each file opens.
// Files dropped on a main frame and the drawings of a work session open this way.
#pragma once

#include "Compression/SharedPathName.h"
#include "DravikKernel/DocumentManager.h"

#include <vector>

// False when the 3D module refused the files (nothing opened then). A PDM failure is reported
// and the file opens without its PDM data. The documents that opened (or were open already),
// in list order, go to `documents` when given; a file that does not open is logged and left out.
bool OpenDocumentFiles(const std::vector<SharedPathName>& files, DocInitParams& options,
                       std::vector<CDvw32Doc*>* documents = nullptr);
