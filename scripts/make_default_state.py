#!/usr/bin/env python3
"""Writes app/DefaultState.xml, the main-window state a first main frame starts from.

The tool bars and the ribbon tabs follow the default tool-bar table (app/src/DefaultToolBarTable.cpp),
read from its source so that the two cannot drift apart; the menu bar and the Home and PDM tabs are
this script's own. The edition masks of the table become "modes" value sets. Run it again after
changing the table: app/tests/default_state_test.cpp compares the file with the table.
"""
import pathlib
import re
import uuid
from xml.sax.saxutils import quoteattr

ROOT = pathlib.Path(__file__).resolve().parent.parent
TABLE = ROOT / "app/src/DefaultToolBarTable.cpp"
OUT = ROOT / "app/DefaultState.xml"

MODE_BITS = [(1, "viewer"), (2, "2d"), (4, "se"), (8, "3d"), (16, "gs"), (32, "gs3d"), (128, "alder"),
             (256, "birch"), (512, "alderAdministrator")]
ALL = sum(bit for bit, _ in MODE_BITS)
HOME_GUID = "{84F3EAA9-60FB-4DF4-AE1D-3F08A30223AE}"
PDM_GUID = "{29A47DB0-83AC-47B8-ACC9-EF364D9CD873}"
GROUP_NAMESPACE = uuid.UUID("5f0c2a61-0d7e-4a0b-9a55-6d2f1f3e7c11")
# The File button's menu: its pages (by the state of the page they show) and commands.
BACKSTAGE = [
    '<backstageTab id="1065" caption="New" state="newDocument"/>',
    '<backstageCommand id="1001" caption="Open..."/>',
    '<backstageTab id="57601" caption="Recent" state="recentFileList"/>',
    '<separator/>',
    '<backstageCommand id="1029" caption="Save"/>',
    '<backstageCommand id="1093" caption="Save as..."/>',
    '<backstageCommand id="1201" caption="Save all"/>',
    '<separator/>',
    '<backstageTab id="57607" caption="Print" state="printDialog"/>',
    '<backstageTab id="57608" caption="Export" state="export"/>',
    '<backstageTab id="57610" caption="Export to PDM" state="exportToOrsa"/>',
    '<separator/>',
    '<backstageCommand id="1200" caption="Close"/>',
    '<backstageCommand id="1019" caption="Exit"/>',
]


def modes(mask):
    """The shorter of the two value-set forms of a mask, or None for every mode."""
    mask &= ALL
    if mask == ALL:
        return None
    named = [name for bit, name in MODE_BITS if mask & bit]
    excluded = ["!" + name for bit, name in MODE_BITS if not mask & bit]
    return ",".join(named if len(named) <= len(excluded) else excluded)


def attrs(**values):
    return "".join(f" {name}={quoteattr(str(value))}" for name, value in values.items() if value is not None)


def read_table():
    text = TABLE.read_text()
    guids = {}
    for name, a, b, c, rest in re.findall(
            r"constexpr GUID (\w+) =\s*\{\s*0x([0-9A-F]+), 0x([0-9A-F]+), 0x([0-9A-F]+), \{([^}]*)\}", text):
        tail = [int(x, 16) for x in rest.split(",")]
        guids[name] = "{%s-%s-%s-%02X%02X-%s}" % (a, b, c, tail[0], tail[1], "".join("%02X" % x for x in tail[2:]))
    bars = []
    for caption, _sid, guid, bar_id, _second, kind, mask, entries in re.findall(
            r'\{L"([^"]+)",\s*(\d+),\s*&(\w+),\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+),\s*\{(.*?)kEnd\}', text, re.S):
        if caption == "DVEndDefaultTB":
            break
        bars.append({
            "caption": caption, "guid": guids.get(guid), "id": int(bar_id), "kind": int(kind), "mask": int(mask),
            "entries": [(int(i), int(m)) for i, m in re.findall(r"\{(\d+),\s*(\d+)\}", entries)],
        })
    return bars


def control_lines(entries, outer_mask, indent):
    lines = []
    for command, mask in entries:
        tag = "separator" if command == 0 else "button"
        ident = None if command == 0 else command
        lines.append(f"{indent}<{tag}{attrs(id=ident, modes=modes(mask) if mask != outer_mask else None)}/>")
    return lines


def groups_of(entries):
    groups, current = [], []
    for entry in entries:
        if entry[0] == 0:
            if current:
                groups.append(current)
            current = []
        else:
            current.append(entry)
    if current:
        groups.append(current)
    return groups


# A ribbon group made from a tool bar is named by the first of these commands that it holds.
GROUP_CAPTIONS = [
    (1065, "New"), (1001, "File"), (1029, "File"), (1115, "History"), (1340, "Snaps"), (1270, "Snaps to lines"),
    (1794, "More snaps"), (1830, "Sketch"), (2941, "Constraints"), (2882, "Corners"), (1640, "Lines"),
    (1646, "Circles"), (1651, "Outlines"), (1658, "Curves and text"), (1825, "Dimensions"),
    (2040, "Angles and radii"), (1162, "Bodies"), (2852, "View"), (2853, "Camera"), (1713, "Element"),
    (2041, "Photo"), (1124, "Operations"), (1918, "Sheet metal"), (3166, "Bends"), (2116, "Cables"),
    (1437, "Workplane"), (1454, "Workplane position"), (1175, "Sketch plane"), (1165, "Arrange"),
    (2010, "Animation"), (2900, "Editing in place"), (8091, "Properties"), (1202, "Bars"), (2031, "Colour"),
    (1757, "Variables"), (2872, "Find"), (8045, "Controls"), (1583, "Variables table"), (1965, "Automation"),
    (8190, "Geometry links"), (8205, "Fragments"), (8216, "Updates"), (1279, "Table"), (1285, "Rows"),
    (1903, "Columns"), (1280, "Cells"), (1289, "Format"), (1094, "BOM"), (1664, "Template"), (1669, "Records"),
    (1667, "Fields"), (1692, "Hidden records"), (1709, "Updates"), (8029, "Editing"), (8251, "Report"),
    (8174, "PDM"), (8076, "Task"), (1521, "Results"), (1528, "Labels"), (1532, "Windows"), (2948, "Symmetry"),
    (1205, "Help"), (2815, "Laws"), (8206, "Paths"), (1594, "Database"), (1592, "Data"), (2087, "Insert"),
    (2093, "Delete"), (8254, "Reset"), (2012, "Order"), (1419, "Photo view"), (1413, "Rendering"),
    (1758, "Output"), (8150, "Local explosion"), (8153, "Scenario"),
]


def caption_of(entries):
    ids = {command for command, _ in entries}
    for command, caption in GROUP_CAPTIONS:
        if command in ids:
            return caption
    raise SystemExit(f"no caption for the ribbon group of {sorted(ids)}: add one to GROUP_CAPTIONS")


def tab_lines(guid, caption, mask, groups, since=None):
    lines = [f"      <ribbonTab{attrs(guid=guid, caption=caption, modes=modes(mask))}>"]
    for index, (group_caption, entries) in enumerate(groups):
        group_mask = 0
        for _, entry_mask in entries:
            group_mask |= entry_mask
        group_guid = "{%s}" % str(uuid.uuid5(GROUP_NAMESPACE, f"{guid}/{index}")).upper()
        group_modes = modes(group_mask) if group_mask & ALL != mask & ALL else None
        title = group_caption if group_caption is not None else caption_of(entries)
        lines.append(f"        <ribbonGroup{attrs(guid=group_guid, caption=title, modes=group_modes)}>")
        lines += control_lines(entries, group_mask, "          ")
        lines.append("        </ribbonGroup>")
    lines.append("      </ribbonTab>")
    return lines


def popup(caption, entries, mask=ALL):
    return (caption, entries, mask)


MENU = [
    popup("&File", [(1065, ALL), (1064, 941), (2044, ALL), (2043, ALL), (1120, 941), (1072, ALL), (0, ALL),
                    (1001, ALL), (1029, ALL), (1093, ALL), (2054, ALL), (1265, ALL), (1201, ALL), (1200, ALL),
                    (0, ALL), (1765, ALL), (1657, ALL), (1133, ALL), (0, ALL), (1045, ALL), (0, ALL), (1019, ALL)]),
    popup("&View", [(800, ALL), (801, ALL), (802, ALL), (803, ALL), (804, ALL), (805, ALL), (807, ALL), (0, ALL),
                    (782, ALL), (783, ALL), (784, ALL), (785, 941), (786, ALL), (793, 941), (794, 941), (795, 941),
                    (796, 941), (811, ALL), (812, 941), (813, 941), (816, 941), (821, 941), (823, ALL), (0, ALL),
                    (903, ALL), (1254, ALL), (2814, ALL), (2851, ALL)]),
    popup("&Library", [(1119, ALL), (1109, ALL), (1249, ALL), (1139, ALL), (1127, ALL), (0, ALL), (1243, ALL),
                       (1244, ALL), (9101, ALL), (2003, ALL)]),
    popup("&Tools", [(1111, ALL), (1061, ALL), (1060, ALL), (0, ALL), (1258, ALL), (1047, ALL), (1220, 941),
                     (1708, ALL), (0, ALL), (1965, ALL), (2935, ALL)]),
    popup("&Window", [(2046, ALL), (1059, ALL), (0, ALL), (1062, ALL), (1092, ALL), (1063, ALL), (0, ALL),
                      (1204, ALL), (1068, ALL)]),
    popup("&Help", [(57670, ALL), (1206, ALL), (1763, 575), (1205, ALL), (1996, ALL), (0, ALL), (1048, ALL),
                    (2110, ALL), (0, ALL), (57664, ALL)]),
]

HOME = [
    ("Document", [(1065, ALL), (1064, 941), (1072, ALL), (1001, ALL), (1029, ALL), (1201, ALL)]),
    ("Window", [(2046, ALL), (1062, ALL), (1092, ALL), (1063, ALL), (1204, ALL), (1068, ALL)]),
    ("Settings", [(1111, ALL), (1061, ALL), (1258, ALL), (1047, ALL), (1220, 941)]),
    ("Help", [(57670, ALL), (1206, ALL), (1048, ALL), (2110, ALL), (57664, ALL)]),
]

PDM = [
    ("Documents", [(9101, ALL), (2003, ALL), (1765, ALL), (1657, ALL), (1133, ALL)]),
    ("Panes", [(787, ALL), (788, ALL), (789, ALL), (791, ALL), (814, ALL), (798, ALL), (819, ALL), (825, ALL)]),
]


def main():
    bars = read_table()
    lines = ['<?xml version="1.0" encoding="utf-8"?>',
             "<!-- Generated by scripts/make_default_state.py from the default tool-bar table: edit the script",
             "     or the table, then run the script again. -->",
             '<state>',
             '  <mainWindow version="18.0.21.0">',
             '    <menuBar caption="Menu bar">']
    for caption, entries, mask in MENU:
        lines.append(f"      <popup{attrs(id=0, caption=caption, modes=modes(mask))}>")
        lines += control_lines(entries, ALL, "        ")
        lines.append("      </popup>")
    lines.append("    </menuBar>")
    lines.append("    <ribbonBar>")
    lines += tab_lines(HOME_GUID, "Home", ALL, HOME)
    for bar in bars:
        if bar["kind"] != 1 or bar["caption"] == "Startup":
            continue
        lines += tab_lines(bar["guid"], bar["caption"], bar["mask"], [(None, g) for g in groups_of(bar["entries"])])
    lines += tab_lines(PDM_GUID, "PDM", ALL, PDM)
    lines.append('      <quickAccess><button id="1001"/><button id="1029"/><button id="1201"/><popup id="0" state="ribbonTabsPopup"/></quickAccess>')
    lines.append("      <backstage>")
    lines += ["        " + entry for entry in BACKSTAGE]
    lines.append("      </backstage>")
    lines.append("    </ribbonBar>")
    for bar in bars:
        lines.append(f"    <toolBar{attrs(id=bar['id'], guid=bar['guid'], caption=bar['caption'], kind=bar['kind'], modes=modes(bar['mask']))}>")
        if bar["kind"] == 1:
            lines.append('      <button id="1075"/>')
            lines.append("      <separator/>")
        lines += control_lines(bar["entries"], bar["mask"], "      ")
        lines.append("    </toolBar>")
    lines.append("  </mainWindow>")
    lines.append("</state>")
    OUT.write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
