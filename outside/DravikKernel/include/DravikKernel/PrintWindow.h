// The kernel's print preview for the ribbon's backstage: a child window that shows the page a
// document prints, fitted to the window, from the document or from a shared drawing context.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <memory>

DV_EXPORTS_BEGIN

class CDvw32Doc;
class CWnd;

namespace Dravik::Print {

// What a print request draws: the document, shared by whoever asked for the print.
class PrintDrawingContext {
public:
    explicit PrintDrawingContext(CDvw32Doc* document) : document_(document) {}
    CDvw32Doc* GetDocument() const { return document_; }

private:
    CDvw32Doc* document_;
};

// The preview window, made as a child of `parent` with the style and rectangle given; the
// caller owns and destroys it. A preview without a document says so. Null when it cannot be made.
CWnd* create_print_wnd(CDvw32Doc* document, CWnd* parent, DWORD style, const RECT& rect);
CWnd* create_print_wnd(const std::shared_ptr<PrintDrawingContext>& context, CWnd* parent, DWORD style,
                       const RECT& rect);

} // namespace Dravik::Print

DV_EXPORTS_END
