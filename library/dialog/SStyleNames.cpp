#include "SStyleNames.h"
#include "SDialogFormat.h"

namespace
{
typedef SStyleNames::_SName Name;

const Name COMMON[] = {{"WS_VISIBLE", 0x10000000}, {"WS_DISABLED", 0x08000000}};

const Name NAMES_DIALOG[] = {{"WS_BORDER", 0x00800000}, {"WS_CAPTION", 0x00C00000},
                       {"WS_SYSMENU", 0x00080000}, {"WS_MAXIMIZEBOX", 0x00010000},
                       {"WS_MINIMIZEBOX", 0x00020000}, {"WS_SIZEBOX", 0x00040000}};
const Name NAMES_DIALOG_EX[] = {{"WS_EX_CLIENTEDGE", 0x200}, {"WS_EX_STATICEDGE", 0x20000},
                          {"WS_EX_TOOLWINDOW", 0x80}, {"WS_EX_TOPMOST", 0x8}};
const Name NAMES_BORDER[] = {{"WS_BORDER", 0x00800000}};
const Name NAMES_EDGES[] = {{"WS_EX_CLIENTEDGE", 0x200}, {"WS_EX_STATICEDGE", 0x20000}};
const Name NAMES_STATIC_EDGE[] = {{"WS_EX_STATICEDGE", 0x20000}};
const Name NAMES_BUTTON[] = {{"BS_LEFT", 0x100}, {"BS_RIGHT", 0x200}, {"BS_CENTER", 0x300},
                       {"BS_TOP", 0x400}, {"BS_BOTTOM", 0x800}, {"BS_VCENTER", 0xC00},
                       {"BS_FLAT", 0x8000}, {"BS_MULTILINE", 0x2000}, {"BS_DEFPUSHBUTTON", 0x1}};
const Name NAMES_COMBO[] = {{"WS_VSCROLL", 0x00200000}, {"CBS_SIMPLE", 1}, {"CBS_DROPDOWN", 2},
                      {"CBS_DROPDOWNLIST", 3}, {"CBS_AUTOHSCROLL", 0x40},
                      {"CBS_DISABLENOSCROLL", 0x800}, {"CBS_NOINTEGRALHEIGHT", 0x400},
                      {"CBS_SORT", 0x100}};
const Name NAMES_EDIT[] = {{"WS_BORDER", 0x00800000}, {"WS_HSCROLL", 0x00100000},
                     {"WS_VSCROLL", 0x00200000}, {"ES_LEFT", 0}, {"ES_CENTER", 1}, {"ES_RIGHT", 2},
                     {"ES_AUTOHSCROLL", 0x80}, {"ES_AUTOVSCROLL", 0x40}, {"ES_READONLY", 0x800},
                     {"ES_NOHIDESEL", 0x100}, {"ES_LOWERCASE", 0x10}, {"ES_UPPERCASE", 8},
                     {"ES_MULTILINE", 4}, {"ES_PASSWORD", 0x20}, {"ES_NUMBER", 0x2000}};
const Name NAMES_EXLIST[] = {{"WS_BORDER", 0x00800000}, {"LVS_ICON", 0}, {"LVS_REPORT", 1},
                       {"LVS_SMALLICON", 2}, {"LVS_LIST", 3}, {"LVS_EDITLABELS", 0x200},
                       {"LVS_AUTOARRANGE", 0x100}, {"LVS_SINGLESEL", 4}, {"LVS_NOLABELWRAP", 0x80},
                       {"LVS_NOSCROLL", 0x2000}, {"LVS_SHOWSELALWAYS", 8},
                       {"LVS_SORTASCENDING", 0x10}, {"LVS_SORTDESCENDING", 0x20},
                       {"LVS_NOCOLUMNHEADER", 0x4000}};
const Name NAMES_GROUP[] = {{"BS_LEFT", 0x100}, {"BS_RIGHT", 0x200}, {"BS_CENTER", 0x300}};
const Name NAMES_LIST[] = {{"WS_BORDER", 0x00800000}, {"WS_HSCROLL", 0x00100000},
                     {"WS_VSCROLL", 0x00200000}, {"LBS_MULTIPLESEL", 8}, {"LBS_EXTENDEDSEL", 0x800},
                     {"LBS_NOSEL", 0x4000}, {"LBS_DISABLENOSCROLL", 0x1000},
                     {"LBS_NOINTEGRALHEIGHT", 0x100}, {"LBS_SORT", 2}};
const Name NAMES_PROGRESS[] = {{"PBS_VERTICAL", 4}, {"PBS_SMOOTH", 1}, {"PBS_MARQUEE", 8}};
const Name NAMES_RICHEDIT[] = {{"WS_HSCROLL", 0x00100000}, {"WS_VSCROLL", 0x00200000}, {"ES_LEFT", 0},
                         {"ES_RIGHT", 2}, {"ES_CENTER", 1}, {"ES_AUTOHSCROLL", 0x80},
                         {"ES_AUTOVSCROLL", 0x40}, {"ES_READONLY", 0x800}, {"ES_NOHIDESEL", 0x100},
                         {"ES_WANTRETURN", 0x1000}, {"ES_SUNKEN", 0x4000}};
const Name NAMES_SCROLL[] = {{"SBS_VERT", 1}};
const Name NAMES_SLIDER[] = {{"WS_BORDER", 0x00800000}, {"TBS_TOOLTIPS", 0x100}, {"TBS_VERT", 2}};
const Name NAMES_TAB[] = {{"TCS_BUTTONS", 0x100}, {"TCS_FLATBUTTONS", 8, true},
                    {"TCS_FOCUSNEVER", 0x8000}, {"TCS_FOCUSONBUTTONDOWN", 0x1000, true},
                    {"TCS_TOOLTIPS", 0x4000}};
const Name NAMES_TOOLBAR[] = {{"WS_BORDER", 0x00800000}, {"TBSTYLE_TOOLTIPS", 0x100}};
const Name NAMES_TREE[] = {{"WS_BORDER", 0x00800000}, {"TVS_CHECKBOXES", 0x100},
                     {"TVS_DISABLEDRAGDROP", 0x10}, {"TVS_EDITLABELS", 8},
                     {"TVS_FULLROWSELECT", 0x1000}, {"TVS_HASBUTTONS", 1}, {"TVS_HASLINES", 2},
                     {"TVS_LINESATROOT", 4}, {"TVS_SHOWSELALWAYS", 0x20}, {"TVS_TRACKSELECT", 0x200}};

template <size_t S, size_t E>
SStyleNames Make(const Name (&style)[S], const Name (&exstyle)[E])
{
    return SStyleNames{style, static_cast<int>(S), exstyle, static_cast<int>(E)};
}

template <size_t S>
SStyleNames MakeStyleOnly(const Name (&style)[S])
{
    return SStyleNames{style, static_cast<int>(S), nullptr, 0};
}
} // namespace

SStyleNames SStyleNames::ForType(int type)
{
    switch (type)
    {
    case DTYPE_DIALOG: return Make(NAMES_DIALOG, NAMES_DIALOG_EX);
    case DTYPE_BROWSER: return MakeStyleOnly(NAMES_BORDER);
    case DTYPE_BUTTON: return MakeStyleOnly(NAMES_BUTTON);
    case DTYPE_COMBO: return MakeStyleOnly(NAMES_COMBO);
    case DTYPE_EDIT: return Make(NAMES_EDIT, NAMES_EDGES);
    case DTYPE_EXTENDEDLIST: return Make(NAMES_EXLIST, NAMES_EDGES);
    case DTYPE_GROUP: return MakeStyleOnly(NAMES_GROUP);
    case DTYPE_LIST: return Make(NAMES_LIST, NAMES_EDGES);
    case DTYPE_PROGRESS: return MakeStyleOnly(NAMES_PROGRESS);
    case DTYPE_RICHEDIT: return Make(NAMES_RICHEDIT, NAMES_STATIC_EDGE);
    case DTYPE_SCROLL: return MakeStyleOnly(NAMES_SCROLL);
    case DTYPE_SLIDER: return Make(NAMES_SLIDER, NAMES_EDGES);
    case DTYPE_TAB: return MakeStyleOnly(NAMES_TAB);
    case DTYPE_TOOLBAR: return Make(NAMES_TOOLBAR, NAMES_EDGES);
    case DTYPE_TREE: return Make(NAMES_TREE, NAMES_EDGES);
    case DTYPE_STATIC: return SStyleNames{nullptr, 0, nullptr, 0};
    default:
        if (type > DTYPE_DIALOG && type < DIALOG_TYPE_COUNT)
            return Make(NAMES_BORDER, NAMES_EDGES);
        return SStyleNames{nullptr, 0, nullptr, 0};
    }
}

const SStyleNames::_SName* SStyleNames::GetCommon(int* count)
{
    if (count)
        *count = 2;
    return COMMON;
}
