#pragma once
// Names of the resources that config.rc puts into the executable.

#define IDI_TRELVANE 1

// Preview pictures are stored by file name under these types: 1x and 2x.
#define RT_PREVIEW L"PREVIEW"
#define RT_PREVIEW2X L"PREVIEW2X"
// The window's font, under RT_RCDATA.
#define FONT_REGULAR L"TRELVANESANS-REGULAR.TTF"
#define FONT_BOLD L"TRELVANESANS-BOLD.TTF"
