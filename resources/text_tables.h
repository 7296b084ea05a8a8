// The texts and the main dialog's template in English and German, for a window without
// the Windows resource lookup. Generated at build time from the resource scripts
// (resources/generate/rc_tables.h).
#pragma once

#include <cstddef>

struct TextEntry {
    unsigned id;
    const wchar_t* english;
    const wchar_t* german;
};

struct DialogTemplate {
    const wchar_t* englishCaption;
    const wchar_t* germanCaption;
    int width, height; // dialog units
};

// One control of dialog 110, in template order (also the tab order); dialog units.
struct TemplateControl {
    int id;
    const char* kind; // "Button", "Static" or "Edit"
    const wchar_t* english;
    const wchar_t* german;
    int x, y, width, height;
    bool defaultButton, disabled, rightAligned, groupBox;
};

extern const TextEntry kTextTable[];
extern const std::size_t kTextTableSize;
extern const DialogTemplate kMainDialog;
extern const TemplateControl kDialogControls[];
extern const std::size_t kDialogControlCount;
