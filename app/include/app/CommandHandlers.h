// The run and update functions of the shell's own named commands. The kernel runs a system
// command with one 64-bit argument and a document command with the active document; both
// answer non-zero when the command was handled. Handlers that need the main frame do nothing
// and answer 1 without one.
#pragma once

#include "pal/visibility.h"

#include <cstdint>
#include <string>

DV_EXPORTS_BEGIN

class CCmdUI;
class CDvw32Doc;

namespace dvapp::handlers {

// System commands.
int TechnicalSupport(std::int64_t);
int DocumentSaveAll(std::int64_t);
int Quit(std::int64_t); // also 57665
int WindowTileHorizontal(std::int64_t);
int WindowCascade(std::int64_t);
int WindowArrangeIcons(std::int64_t); // 57649
int WindowTileVertical(std::int64_t);
int WindowCloseAll(std::int64_t);
int NewMainWindow(std::int64_t);
int DocumentNew(std::int64_t); // also 57600
int DocumentNewAssembly(std::int64_t);
int DocumentNew3D(std::int64_t);
int DocumentNew3DAssembly(std::int64_t);
int DocumentNewSheetPart(std::int64_t);
int DocumentNewFrom(std::int64_t);
int DocumentOpen(std::int64_t); // also 57601
int Settings(std::int64_t);
int APIReference(std::int64_t);
int DocumentSetAccess(std::int64_t);
void UpdateDocumentSetAccess(CCmdUI* cmdUI);
int LibraryConfigurationNew(std::int64_t);
int LibraryConfigurationOpen(std::int64_t);
int WindowOpenLibraryOrsa(std::int64_t);
int ManageApplications(std::int64_t);
int EditMacros(std::int64_t);
int EditMaterials(std::int64_t);
int LibraryConfigurationSaveAll(std::int64_t);
int LibraryConfigurationCloseAll(std::int64_t);
void UpdateLibraryConfigurations(CCmdUI* cmdUI);
int FEAHelp(std::int64_t);
void UpdateFEAHelp(CCmdUI* cmdUI);
int DynamicsHelp(std::int64_t);
void UpdateDynamicsHelp(CCmdUI* cmdUI);
int LibraryConfigurationEdit(std::int64_t);
int WindowOpenLibrary(std::int64_t);
int OpenFolderWindow(std::int64_t);
int WindowOpenOrsa(std::int64_t);
int EnableAutoParameterization(std::int64_t);
int EnableAutoDimensions(std::int64_t);
void UpdateAutoDrawingCommand(CCmdUI* cmdUI);
int WindowStartPage(std::int64_t);
int DoNothing(std::int64_t); // 2085
int CheckForUpdates(std::int64_t);

// Document commands.
int WindowOpen(CDvw32Doc* document);
int ViewPhoto(CDvw32Doc* document);
int PhotoProperties(CDvw32Doc* document);
int DocumentClose(CDvw32Doc* document);
int DocumentSaveAsPrototype(CDvw32Doc* document);
int DocumentSaveAs(CDvw32Doc* document);
int DocumentSaveCopy(CDvw32Doc* document);
int DocumentSaveOrsa(CDvw32Doc* document);
int DocumentSaveOrsaAssembly(CDvw32Doc* document);
void UpdatePdmSave(CDvw32Doc* document, CCmdUI* cmdUI);
int DocumentSave(CDvw32Doc* document);
int CheckDocumentLinks(CDvw32Doc* document); // 1053
int SelectOrsaMaterial(CDvw32Doc* document);
void UpdateSelectOrsaMaterial(CDvw32Doc* document, CCmdUI* cmdUI);
int EditGlobalVariables(CDvw32Doc* document);

// The address that CheckForUpdates opens: the brand's home page, or the update page of the
// version, language and product.
std::wstring UpdatePageAddress(bool ostrel, const std::wstring& language, const std::wstring& product);

} // namespace dvapp::handlers

DV_EXPORTS_END
