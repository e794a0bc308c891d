#ifndef ZENTROVA_GUI_WIN32_RESOURCE_IDS_H_
#define ZENTROVA_GUI_WIN32_RESOURCE_IDS_H_

// Resources of zentrova.exe (zentrova.rc.in); also read by the resource compiler, so only
// preprocessor definitions here.

// The program's icon comes first, so that Windows shows it for the executable.
#define IDI_ZENTROVA 1
#define IDI_GLYPH_OK 2
#define IDI_GLYPH_CLOSE 3

#endif  // ZENTROVA_GUI_WIN32_RESOURCE_IDS_H_
