#include "stylesheet.h"

namespace pal::html {

// Block elements, the usual heading scale (2, 1.5, 1.17, 1, 0.83, 0.67 em), paragraph and
// list spacing, tables with their cells' padding, links blue and underlined, and the
// elements that are never shown.
const char* const defaultStyleSheet = R"css(
html, address, blockquote, body, dd, div, dl, dt, fieldset, form, frame, frameset, h1, h2, h3, h4, h5, h6,
noframes, ol, p, ul, center, dir, hr, menu, pre, header, footer, nav, section, article, aside, main,
figure, figcaption, details, summary { display: block; }
head, script, style, title, meta, link, base, template, noscript { display: none; }
html { color: black; }
body { margin: 8px; line-height: normal; }
p, dl, pre, blockquote, figure { margin-top: 1em; margin-bottom: 1em; }
blockquote, figure { margin-left: 40px; margin-right: 40px; }
h1 { font-size: 2em; margin-top: 0.67em; margin-bottom: 0.67em; font-weight: bold; }
h2 { font-size: 1.5em; margin-top: 0.83em; margin-bottom: 0.83em; font-weight: bold; }
h3 { font-size: 1.17em; margin-top: 1em; margin-bottom: 1em; font-weight: bold; }
h4 { margin-top: 1.33em; margin-bottom: 1.33em; font-weight: bold; }
h5 { font-size: 0.83em; margin-top: 1.67em; margin-bottom: 1.67em; font-weight: bold; }
h6 { font-size: 0.67em; margin-top: 2.33em; margin-bottom: 2.33em; font-weight: bold; }
b, strong, th { font-weight: bold; }
i, em, cite, var, dfn, address { font-style: italic; }
u, ins { text-decoration: underline; }
s, strike, del { text-decoration: line-through; }
pre, tt, code, kbd, samp { font-family: monospace; }
pre { white-space: pre; }
big { font-size: 1.17em; }
small, sub, sup { font-size: 0.83em; }
sub { vertical-align: sub; }
sup { vertical-align: super; }
center { text-align: center; }
hr { border: 1px inset gray; margin-top: 0.5em; margin-bottom: 0.5em; height: 0; }
ul, ol, dir, menu { padding-left: 40px; margin-top: 1em; margin-bottom: 1em; }
ul ul, ul ol, ol ul, ol ol { margin-top: 0; margin-bottom: 0; }
ul { list-style-type: disc; }
ul ul, ol ul { list-style-type: circle; }
ul ul ul, ul ol ul, ol ul ul, ol ol ul { list-style-type: square; }
ol { list-style-type: decimal; }
li { display: list-item; }
dd { margin-left: 40px; }
a:link, a[href] { color: #0000ee; text-decoration: underline; cursor: pointer; }
img { display: inline-block; }
table { display: table; border-collapse: separate; border-spacing: 2px; }
thead { display: table-header-group; vertical-align: middle; }
tbody { display: table-row-group; vertical-align: middle; }
tfoot { display: table-footer-group; vertical-align: middle; }
tr { display: table-row; vertical-align: inherit; }
td, th { display: table-cell; vertical-align: inherit; padding: 1px; }
th { text-align: center; }
caption { display: table-caption; text-align: center; }
col { display: table-column; }
colgroup { display: table-column-group; }
table[border] td, table[border] th { border: 1px inset gray; }
table[border] { border: 1px outset gray; }
br { display: block; }
input, select, textarea, button { display: inline-block; }
)css";

} // namespace pal::html
