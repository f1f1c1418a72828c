// The type id every window object carries: 0 for a plain window, else the id
// of its control class. Dispatch of native notifications and the dialog
// builder go by these numbers.
#pragma once

enum SControlTypeId
{
    STYPE_WND = 0,
    STYPE_BROWSER = 1,
    STYPE_BUTTON = 2,
    STYPE_CHECK = 4,
    STYPE_CODEEDIT = 6,
    STYPE_COMBO = 7,
    STYPE_CONTROLBAR = 8,
    STYPE_DIALOG = 9,
    STYPE_EDIT = 10,
    STYPE_EXLIST = 11,
    STYPE_GROUP = 12,
    STYPE_GUI = 14,
    STYPE_LABEL = 16,
    STYPE_LCD = 17,
    STYPE_LEVEL = 18,
    STYPE_LIST = 19,
    STYPE_MEDIA = 22,
    STYPE_MEDIAPLAYER = 23,
    STYPE_PAINT = 24,
    STYPE_PANEL = 25,
    STYPE_PROGRESS = 26,
    STYPE_PROPERTY = 28,
    STYPE_RADIO = 29,
    STYPE_RICHEDIT = 30,
    STYPE_SCROLL = 31,
    STYPE_SLIDER = 33,
    STYPE_SPLITTER = 34,
    STYPE_STATIC = 35,
    STYPE_STATUSBAR = 36,
    STYPE_TAB = 37,
    STYPE_TABDOC = 38,
    STYPE_TOOLBAR = 39,
    STYPE_TRAYICON = 40,
    STYPE_TREE = 41,
    STYPE_WAVE = 43
};
