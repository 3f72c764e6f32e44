#include "DravikUI/ImageLists.h"

#include "xtp/ImageManager.h"

#include <string>
#include <string_view>

namespace Dravik::UI {
namespace {

struct ListIcon {
    UINT command;
    std::string_view body; // the shapes of a 16 by 16 picture
};

// Flat shapes in two inks: a slate for outlines and an accent for what sets a pane apart.
#define DV_INK "#3d5670"
#define DV_ACCENT "#2f80d0"
#define DV_WARN "#e0a020"

const ListIcon kPaneIcons[] = {
    // bird's eye view: an eye
    {782, R"(<path d="M1 8 Q8 1 15 8 Q8 15 1 8Z" fill="none" stroke=")" DV_INK R"(" stroke-width="1.5"/>)"
          R"(<circle cx="8" cy="8" r="2.5" fill=")" DV_ACCENT R"("/>)"},
    // documents browser: a folder
    {783, R"(<path d="M1 3h5l2 2h7v9H1z" fill=")" DV_ACCENT R"("/><path d="M1 6h14" stroke="#ffffff"/>)"},
    // model tree: a trunk with three branches
    {785, R"(<path d="M4 2v11M4 5h5M4 9h5M4 13h5" stroke=")" DV_INK R"(" stroke-width="1.5" fill="none"/>)"
          R"(<rect x="9" y="3" width="5" height="4" fill=")" DV_ACCENT R"("/><rect x="9" y="7.5" width="5" )"
          R"(height="3" fill=")" DV_ACCENT R"("/><rect x="9" y="11.5" width="5" height="3" fill=")" DV_ACCENT
          R"("/>)"},
    // variables: x equals
    {786, R"(<path d="M2 4l6 8M8 4l-6 8" stroke=")" DV_ACCENT R"(" stroke-width="2"/>)"
          R"(<path d="M10 6h5M10 10h5" stroke=")" DV_INK R"(" stroke-width="1.5"/>)"},
    // product structure: a box over two boxes
    {793,
     R"(<rect x="5" y="1" width="6" height="4" fill=")" DV_ACCENT
     R"("/><path d="M8 5v3M3 8h10M3 8v3M13 8v3" )"
     R"(stroke=")" DV_INK R"(" fill="none"/><rect x="1" y="11" width="5" height="4" fill=")" DV_INK R"("/>)"
     R"(<rect x="10" y="11" width="5" height="4" fill=")" DV_INK R"("/>)"},
    // materials: a shaded ball
    {794,
     R"(<circle cx="8" cy="8" r="6.5" fill=")" DV_ACCENT R"("/><circle cx="6" cy="6" r="2" fill="#ffffff" )"
     R"(opacity="0.7"/>)"},
    // model elements: a cube
    {795, R"(<path d="M8 1l6 3v8l-6 3-6-3V4z" fill=")" DV_ACCENT R"("/><path d="M2 4l6 3 6-3M8 7v8" )"
          R"(stroke="#ffffff" fill="none"/>)"},
    // assembly structure: stacked blocks
    {796,
     R"(<rect x="1" y="10" width="14" height="5" fill=")" DV_INK R"("/><rect x="3" y="5" width="10" )"
     R"(height="4" fill=")" DV_ACCENT R"("/><rect x="5" y="1" width="6" height="3" fill=")" DV_INK R"("/>)"},
    // find command: a magnifier
    {799, R"(<circle cx="6.5" cy="6.5" r="4.5" fill="none" stroke=")" DV_INK R"(" stroke-width="2"/>)"
          R"(<path d="M10 10l5 5" stroke=")" DV_ACCENT R"(" stroke-width="2.5"/>)"},
    // properties: a sheet of rows
    {811, R"(<rect x="2" y="1" width="12" height="14" fill="none" stroke=")" DV_INK R"("/>)"
          R"(<path d="M4 4h3M4 8h3M4 12h3" stroke=")" DV_INK
          R"("/><path d="M8 4h4M8 8h4M8 12h4" stroke=")" DV_ACCENT R"(" stroke-width="1.5"/>)"},
    // macros: a play mark on a page
    {812, R"(<rect x="1" y="2" width="14" height="12" rx="1" fill=")" DV_INK R"("/>)"
          R"(<path d="M6 5v6l5-3z" fill="#ffffff"/>)"},
    // weld tree: two plates and a bead
    {813, R"(<path d="M1 12h6l1-4 1 4h6" stroke=")" DV_INK R"(" stroke-width="2" fill="none"/>)"
          R"(<path d="M5 12q3-9 6 0z" fill=")" DV_WARN R"("/>)"},
    // annotations: a speech bubble
    {815, R"(<path d="M1 2h14v9H7l-4 3v-3H1z" fill=")" DV_ACCENT
          R"("/><path d="M4 5h8M4 8h5" stroke="#ffffff"/>)"},
    // model configurations: a list with a tick
    {816, R"(<rect x="1" y="2" width="9" height="12" fill="none" stroke=")" DV_INK R"("/>)"
          R"(<path d="M3 5h5M3 8h5M3 11h5" stroke=")" DV_INK R"("/><path d="M9 9l2 3 4-6" stroke=")" DV_ACCENT
          R"(" stroke-width="2" fill="none"/>)"},
    // layers: three sheets
    {817, R"(<path d="M8 2l7 3-7 3-7-3z" fill=")" DV_ACCENT R"("/><path d="M1 8l7 3 7-3M1 11l7 3 7-3" )"
          R"(stroke=")" DV_INK R"(" stroke-width="1.5" fill="none"/>)"},
    // quality management: a badge with a tick
    {818, R"(<circle cx="8" cy="7" r="6" fill=")" DV_ACCENT R"("/><path d="M5 7l2 2 4-4" stroke="#ffffff" )"
          R"(stroke-width="1.5" fill="none"/><path d="M5 12l-1 3 4-1 4 1-1-3" fill=")" DV_INK R"("/>)"},
    // CAM: a cutter over a part
    {820,
     R"(<rect x="6" y="1" width="4" height="8" fill=")" DV_INK R"("/><path d="M6 9h4l-2 3z" fill=")" DV_INK
     R"("/><rect x="1" y="12" width="14" height="3" fill=")" DV_ACCENT R"("/>)"},
    // form factors: a square, a circle and a triangle
    {821, R"(<rect x="1" y="1" width="6" height="6" fill=")" DV_ACCENT
          R"("/><circle cx="12" cy="4" r="3" fill=")" DV_INK R"("/><path d="M8 15l4-6 3 6z" fill=")" DV_ACCENT
          R"("/><rect x="1" y="9" width="6" height="6" )"
          R"(fill="none" stroke=")" DV_INK R"("/>)"},
    // background tasks: a clock
    {822, R"(<circle cx="8" cy="8" r="6.5" fill="none" stroke=")" DV_INK R"(" stroke-width="1.5"/>)"
          R"(<path d="M8 4v4l3 2" stroke=")" DV_ACCENT R"(" stroke-width="1.5" fill="none"/>)"},
    // technical requirements: a clipboard
    {823,
     R"(<rect x="2" y="2" width="12" height="13" rx="1" fill=")" DV_INK R"("/><rect x="5" y="1" width="6" )"
     R"(height="3" fill=")" DV_ACCENT R"("/><path d="M4 7h8M4 10h8M4 13h5" stroke="#ffffff"/>)"},
    // generation queue: waiting rows and an arrow
    {824, R"(<path d="M1 3h9M1 8h9M1 13h9" stroke=")" DV_INK R"(" stroke-width="2"/>)"
          R"(<path d="M12 3v8h-2l3.5 4 3.5-4h-2V3z" fill=")" DV_ACCENT R"("/>)"},
    // errors: a warning sign
    {4153, R"(<path d="M8 1l7 14H1z" fill=")" DV_WARN R"("/><path d="M8 6v4M8 12v1.5" stroke="#ffffff" )"
           R"(stroke-width="1.6"/>)"},
    // tasks: a list of ticks
    {4172, R"(<path d="M1 4l1.5 1.5L5 3M1 9l1.5 1.5L5 8M1 14l1.5 1.5L5 13" stroke=")" DV_ACCENT
           R"(" stroke-width="1.4" fill="none"/><path d="M7 4h8M7 9h8M7 14h8" stroke=")" DV_INK
           R"(" stroke-width="1.5"/>)"},
    // NC programs: a spindle over a path
    {4226, R"(<rect x="3" y="1" width="10" height="4" fill=")" DV_INK
           R"("/><path d="M7 5h2v5l-1 2-1-2z" fill=")" DV_INK
           R"("/><path d="M1 14q4-3 7 0t7 0" stroke=")" DV_ACCENT R"(" stroke-width="1.6" fill="none"/>)"},
    // structure elements: an I-beam
    {40778, R"(<path d="M2 2h12v3H9.5v6H14v3H2v-3h4.5V5H2z" fill=")" DV_ACCENT R"("/>)"},
};

#undef DV_INK
#undef DV_ACCENT
#undef DV_WARN

std::string picture(std::string_view body) {
    std::string svg =
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">)";
    svg += body;
    svg += "</svg>";
    return svg;
}

} // namespace

bool LoadImageListResource(UINT resourceId, CXTPImageManager& images) {
    if (resourceId != kPaneIconsResource)
        return false;
    for (const ListIcon& icon : kPaneIcons) {
        const std::string svg = picture(icon.body);
        images.SetVectorIcon(CXTPImageManagerVectorImageHandle::CreateSvgHandle(svg.data(), svg.size()),
                             icon.command);
    }
    return true;
}

std::vector<UINT> GetImageListCommands(UINT resourceId) {
    std::vector<UINT> commands;
    if (resourceId == kPaneIconsResource)
        for (const ListIcon& icon : kPaneIcons)
            commands.push_back(icon.command);
    return commands;
}

} // namespace Dravik::UI
