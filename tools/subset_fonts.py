#!/usr/bin/python3
"""Makes the window's font: Liberation Sans Regular and Bold from Debian's
fonts-liberation2, cut down to printable ASCII (every caption and key name the
window shows) and renamed, since the SIL Open Font License keeps the name
"Liberation" for the unmodified fonts.

    tools/subset_fonts.py [<source-dir> [<out-dir>]]

Needs python3-fonttools. The output depends only on the source files, so
running it again gives the committed files byte for byte.
"""
import sys
from pathlib import Path

from fontTools import subset
from fontTools.ttLib import TTFont

FAMILY = "Trelvane Sans"
STYLES = ("Regular", "Bold")


def make(source: Path, out: Path, style: str) -> None:
    font = TTFont(source / f"LiberationSans-{style}.ttf", recalcTimestamp=False)
    options = subset.Options()
    options.name_IDs = ["*"]  # keep the copyright, licence and vendor records
    options.name_languages = ["*"]
    options.glyph_names = False
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=range(0x20, 0x7F))
    subsetter.subset(font)

    full = FAMILY if style == "Regular" else f"{FAMILY} {style}"
    postscript = full.replace(" ", "") if style == "Regular" else f"{FAMILY.replace(' ', '')}-{style}"
    renamed = {1: FAMILY, 3: f"{full} (subset of Liberation Sans 2)", 4: full, 6: postscript}
    name = font["name"]
    for record in name.names:
        if record.nameID in renamed:
            record.string = renamed[record.nameID]
    font.save(out / f"TrelvaneSans-{style}.ttf")


def main() -> None:
    source = Path(sys.argv[1] if len(sys.argv) > 1 else "/usr/share/fonts/truetype/liberation2")
    out = Path(sys.argv[2] if len(sys.argv) > 2 else Path(__file__).resolve().parent.parent / "assets" / "fonts")
    for style in STYLES:
        make(source, out, style)


if __name__ == "__main__":
    main()
