#include "SDialogPropertyTable.h"
#include <cstring>
#include "SDialogFormat.h"

namespace
{
typedef SDialogPropertyRow Row;

constexpr Row Font()
{
    return {nullptr, "FONT", 6, DPROP_FONT, 0, DLIST_NONE, nullptr};
}
constexpr Row Border()
{
    return {nullptr, nullptr, 0, DPROP_BORDER, 0, DLIST_NONE, nullptr};
}
constexpr Row Style(const char* group, const char* key, DWORD mask)
{
    return {group, key, 1, DPROP_STYLE, mask, DLIST_NONE, nullptr};
}
constexpr Row ExStyle(const char* group, const char* key, DWORD mask)
{
    return {group, key, 1, DPROP_EXSTYLE, mask, DLIST_NONE, nullptr};
}
constexpr Row Stored(const char* group, const char* key, int kind, int list = DLIST_NONE)
{
    return {group, key, kind, DPROP_STORED, 0, list, nullptr};
}
constexpr Row StoredInt(const char* group, const char* key, int kind)
{
    return {group, key, kind, DPROP_STOREDINT, 0, DLIST_NONE, nullptr};
}
constexpr Row Back()
{
    return {"$COLOR", "BACKCOLOR", 2, DPROP_BACKCOLOR, 0, DLIST_NONE, nullptr};
}
constexpr Row Text()
{
    return {"$COLOR", "TEXTCOLOR", 2, DPROP_TEXTCOLOR, 0, DLIST_NONE, nullptr};
}
constexpr Row Choice(const char* group, const char* key, int list, const SDialogStyleChoices* choices)
{
    return {group, key, 7, DPROP_CHOICE, 0, list, choices};
}

const char* const S = "$STYLE";
const char* const V = "$VALUE";
const char* const C = "$COLOR";
const char* const R = "$RESOURCE";

// Style-bit choices: shown by the first whose test bits are all set.
const SDialogStyleChoice BUTTON_ALIGN[] = {{"_CENTER", 0x300, 0x300}, {"_RIGHT", 0x200, 0x200}, {"_LEFT", 0, 0x100}};
const SDialogStyleChoices BUTTON_ALIGN_CHOICES = {0x300, BUTTON_ALIGN, 3, "_LEFT"};
const SDialogStyleChoice BUTTON_VALIGN[] = {{"_MIDDLE", 0xC00, 0xC00}, {"_BOTTOM", 0x800, 0x800}, {"_TOP", 0, 0x400}};
const SDialogStyleChoices BUTTON_VALIGN_CHOICES = {0xC00, BUTTON_VALIGN, 3, "_TOP"};
const SDialogStyleChoice COMBO_TYPE[] = {{"_DROPDOWNLIST", 0x3, 0x3}, {"_DROPDOWN", 0x2, 0x2}, {"_SIMPLE", 0, 0x1}};
const SDialogStyleChoices COMBO_TYPE_CHOICES = {0x3, COMBO_TYPE, 3, "_SIMPLE"};
const SDialogStyleChoice EDIT_ALIGN[] = {{"_RIGHT", 0x2, 0x2}, {"_CENTER", 0x1, 0x1}, {"_LEFT", 0, 0}};
const SDialogStyleChoices EDIT_ALIGN_CHOICES = {0x3, EDIT_ALIGN, 3, "_LEFT"};
const SDialogStyleChoice EXLIST_TYPE[] = {
    {"_LIST", 0x3, 0x3}, {"_REPORT", 0x1, 0x1}, {"_SMALLICON", 0x2, 0x2}, {"_ICON", 0, 0}};
const SDialogStyleChoices EXLIST_TYPE_CHOICES = {0x3, EXLIST_TYPE, 4, "_ICON"};
// "_SINGLE" sets no bit: choosing it leaves the mask cleared.
const SDialogStyleChoice LIST_SELECTION[] = {
    {"_MULTIPLE", 0x8, 0x8}, {"_EXTENDED", 0x800, 0x800}, {"_NONE", 0x4000, 0x4000}};
const SDialogStyleChoices LIST_SELECTION_CHOICES = {0x4808, LIST_SELECTION, 3, "_SINGLE"};
const SDialogStyleChoice TAB_TYPE[] = {{"_FLATBUTTONS", 0x8, 0x108}, {"_BUTTONS", 0x100, 0x100}};
const SDialogStyleChoices TAB_TYPE_CHOICES = {0x108, TAB_TYPE, 2, "_STANDARD"};

const Row DIALOG_ROWS[] = {
    Font(), Style(S, "DIALOG_CAPTION", 0x00C00000), Style(S, "DIALOG_BUTTON", 0x00080000),
    Stored(S, "DIALOG_NOCLOSE", 1), Style(S, "DIALOG_MAXIMIZEBOX", 0x00010000),
    Style(S, "DIALOG_MINIMIZEBOX", 0x00020000), Style(S, "DIALOG_RESIZE", 0x00040000),
    ExStyle(S, "DIALOG_TOOLWINDOW", 0x80), Stored(S, "DIALOG_MAXIMIZED", 1), Stored(S, "DIALOG_MINIMIZED", 1),
    ExStyle(S, "DIALOG_TOPMOST", 0x8), Stored(S, "DIALOG_MINSIZE", 1), Stored(S, "DIALOG_MAXSIZE", 1),
    Stored(S, "DIALOG_DRAGFILES", 1), Stored(V, "DIALOG_STATUSBARTEXT", 3), Border(), Back(),
    Stored(R, "DIALOG_IMAGE", 7), Stored(R, "DIALOG_IMAGEDRAWMODE", 7, DLIST_DRAWMODES)};
const Row BROWSER_ROWS[] = {Stored(S, "BROWSER_DIALOGS", 1), Stored(V, "BROWSER_URL", 3),
                            Style("$BORDER", "BORDER", 0x00800000), Stored(R, "BROWSER_FILE", 7)};
const Row BUTTON_ROWS[] = {Font(), Style(S, "BUTTON_DEFAULT", 0x1), Style(S, "BUTTON_FLAT", 0x8000),
                           Style(S, "BUTTON_MULTILINE", 0x2000),
                           Choice(S, "BUTTON_ALIGN", DLIST_ALIGN, &BUTTON_ALIGN_CHOICES),
                           Choice(S, "BUTTON_VALIGN", DLIST_VALIGN, &BUTTON_VALIGN_CHOICES), Back()};
const Row CHECK_ROWS[] = {Font(), Stored(V, "CHECK_CHECKED", 1), Border(), Back()};
const Row CODEEDITOR_ROWS[] = {
    Font(), Stored(S, "CODEEDITOR_BR", 1), Stored(S, "CODEEDITOR_COMMENT", 1),
    Stored(S, "CODEEDITOR_FINDREPLACELOCAL", 1), Stored(S, "CODEEDITOR_INDENT", 1),
    Stored(S, "CODEEDITOR_SINGLELINE", 1), Stored(S, "CODEEDITOR_STRINGS", 1), Stored(S, "CODEEDITOR_UPPERWORDS", 1),
    Stored(V, "CODEEDITOR_BARWIDTH", 4), Stored(V, "CODEEDITOR_TABSIZE", 4), Border(),
    Stored(C, "CODEEDITOR_BACKCOLOR", 2), Stored(C, "CODEEDITOR_BACKFOCUSCOLOR", 2),
    Stored(C, "CODEEDITOR_BARCOLOR", 2), Stored(C, "CODEEDITOR_BARGRAYCOLOR", 2),
    Stored(C, "CODEEDITOR_BARCHECKCOLOR", 2), Stored(C, "CODEEDITOR_BARMARKCOLOR", 2),
    Stored(C, "CODEEDITOR_TEXTCOLOR", 2), Stored(C, "CODEEDITOR_TEXTKEYCOLOR", 2),
    Stored(C, "CODEEDITOR_TEXTSTRCOLOR", 2), Stored(C, "CODEEDITOR_TEXTUPCOLOR", 2),
    Stored(C, "CODEEDITOR_TEXTCOMMENTCOLOR", 2), Stored(R, "CODEEDITOR_FILE", 7)};
const Row COMBO_ROWS[] = {Font(), Choice(S, "COMBO_TYPE", DLIST_COMBO, &COMBO_TYPE_CHOICES),
                          Style(S, "COMBO_AUTOHSCROLL", 0x40), Style(S, "COMBO_DISABLENOSCROLL", 0x800),
                          Style(S, "COMBO_NOINTEGRALHEIGHT", 0x400), Style(S, "COMBO_SORT", 0x100),
                          Style(S, "COMBO_VSCROLL", 0x00200000), Stored(V, "COMBO_CONTENT", 3),
                          Stored(R, "COMBO_FILE", 7)};
const Row EDIT_ROWS[] = {
    Font(), Style(S, "EDIT_AUTOHSCROLL", 0x80), Style(S, "EDIT_AUTOVSCROLL", 0x40),
    Style(S, "EDIT_HSCROLL", 0x00100000), Style(S, "EDIT_VSCROLL", 0x00200000), Style(S, "EDIT_READONLY", 0x800),
    Style(S, "EDIT_NEVERHIDESELECTION", 0x100), Choice(S, "EDIT_ALIGN", DLIST_ALIGN, &EDIT_ALIGN_CHOICES),
    Style(S, "EDIT_LOWER", 0x10), Style(S, "EDIT_UPPER", 0x8), Style(S, "EDIT_MULTILINE", 0x4),
    Style(S, "EDIT_PASSWORD", 0x20), Style(S, "EDIT_NUMBER", 0x2000), Border(), Back(), Text(),
    Stored(R, "EDIT_TEXT", 7)};
const Row EXLIST_ROWS[] = {
    Font(), Choice(S, "EXLIST_TYPE", DLIST_EXLIST, &EXLIST_TYPE_CHOICES), Style(S, "EXLIST_EDITLABELS", 0x200),
    Style(S, "EXLIST_AUTOARRANGE", 0x100), Stored(S, "EXLIST_FULLROWSELECT", 1), Stored(S, "EXLIST_GRIDLINES", 1),
    Style(S, "EXLIST_SINGLESELECTION", 0x4), Style(S, "EXLIST_NOLABELWRAP", 0x80), Style(S, "EXLIST_NOSCROLL", 0x2000),
    Style(S, "EXLIST_NEVERHIDESELECTION", 0x8), Style(S, "EXLIST_SORTASCENDING", 0x10),
    Style(S, "EXLIST_SORTDESCENDING", 0x20), Style(S, "EXLIST_NOCOLUMNHEADER", 0x4000), Border()};
const Row GROUP_ROWS[] = {Font(), Choice(S, "GROUP_ALIGN", DLIST_ALIGN, &BUTTON_ALIGN_CHOICES), Back()};
const Row BORDER_ONLY_ROWS[] = {Border()};
const Row IMAGEEDITOR_ROWS[] = {Border(), Stored(R, "IMAGEEDITOR_FILE", 7)};
const Row LABEL_ROWS[] = {Font(), Stored(S, "LABEL_ALIGN", 7, DLIST_ALIGN), Stored(S, "LABEL_VALIGN", 7, DLIST_VALIGN),
                          Border(), Back(), Text(), Stored(R, "LABEL_TEXT", 7), Stored(R, "LABEL_IMAGE", 7),
                          Stored(R, "LABEL_IMAGEDRAWMODE", 7, DLIST_DRAWMODES)};
const Row LCD_ROWS[] = {Stored(V, "LCD_PIXELWIDTH", 4), Stored(V, "LCD_PIXELHEIGHT", 4), Stored(V, "LCD_CHARCOUNT", 4),
                        Stored(V, "LCD_LINECOUNT", 4), Stored(V, "LCD_SCROLL", 1), Stored(V, "LCD_SCROLLSPEED", 5),
                        Border(), Back(), Text(), Stored(C, "LCD_CELLCOLOR", 2), Stored(R, "LCD_TEXT", 7)};
const Row LEVEL_ROWS[] = {Stored(S, "LEVEL_HORIZONTAL", 1), Stored(S, "LEVEL_TICK", 1),
                          Stored(V, "LEVEL_CHANNELCOUNT", 4), Stored(V, "LEVEL_VALUE", 4),
                          Stored(V, "LEVEL_MINVALUE", 4), Stored(V, "LEVEL_MAXVALUE", 4), Border(),
                          Stored(C, "LEVEL_BACKCOLOR", 2), Stored(C, "LEVEL_LOWCOLOR", 2),
                          Stored(C, "LEVEL_HIGHCOLOR", 2)};
const Row LIST_ROWS[] = {Font(), Choice(S, "LIST_SELECTION", DLIST_LISTSEL, &LIST_SELECTION_CHOICES),
                         Style(S, "LIST_HSCROLL", 0x00100000), Style(S, "LIST_VSCROLL", 0x00200000),
                         Style(S, "LIST_DISABLENOSCROLL", 0x1000), Style(S, "LIST_NOINTEGRALHEIGHT", 0x100),
                         Style(S, "LIST_SORT", 0x2), Stored(V, "LIST_CONTENT", 3), Border(), Back(), Text(),
                         Stored(C, "LIST_SELBACKCOLOR", 2), Stored(C, "LIST_SELTEXTCOLOR", 2),
                         Stored(R, "LIST_FILE", 7)};
const Row MEDIA_ROWS[] = {
    Font(), Stored(S, "MEDIA_ALIGN", 7, DLIST_ALIGN), Stored(S, "MEDIA_VALIGN", 7, DLIST_VALIGN),
    Stored(S, "MEDIA_WRAPPING", 1), Stored(S, "MEDIA_TRIMMING", 1), Stored(S, "MEDIA_TAGS", 1),
    Stored(S, "MEDIA_BUTTON", 1), Stored(V, "MEDIA_LEFTMARGIN", 4), Stored(V, "MEDIA_TOPMARGIN", 4),
    Stored(V, "MEDIA_RIGHTMARGIN", 4), Stored(V, "MEDIA_BOTTOMMARGIN", 4), Stored(V, "MEDIA_AUTOSCROLLX", 4),
    Stored(V, "MEDIA_AUTOSCROLLY", 4), Stored(V, "MEDIA_AUTOSCROLLLOOP", 1), Stored(V, "MEDIA_CHECKED", 1),
    Border(), Back(), Text(), Stored(C, "MEDIA_LINKCOLOR", 2), Stored(R, "MEDIA_TEXT", 7),
    Stored(R, "MEDIA_IMAGE", 7), Stored(R, "MEDIA_IMAGEDRAWMODE", 7, DLIST_DRAWMODES)};
const Row MEDIAPLAYER_ROWS[] = {Stored(S, "MEDIAPLAYER_BUTTON", 1), Stored(S, "MEDIAPLAYER_MENU", 1),
                                Stored(V, "MEDIAPLAYER_LOOP", 1), Border()};
const Row PROGRESS_ROWS[] = {Style(S, "PROGRESS_VERTICAL", 0x4), Style(S, "PROGRESS_SMOOTH", 0x1),
                             Style(S, "PROGRESS_MARQUEE", 0x8), Stored(V, "PROGRESS_VALUE", 4),
                             Stored(V, "PROGRESS_MINVALUE", 4), Stored(V, "PROGRESS_MAXVALUE", 4)};
const Row PROPERTY_ROWS[] = {Stored(V, "FRENCH", 1), Border()};
const Row RADIO_ROWS[] = {Font(), Stored(V, "RADIO_CHECKED", 1), StoredInt(V, "RADIO_GROUP", 4), Border(), Back()};
const Row RICHEDIT_ROWS[] = {
    Font(), Style(S, "RICHEDIT_AUTOHSCROLL", 0x80), Style(S, "RICHEDIT_AUTOVSCROLL", 0x40),
    Style(S, "RICHEDIT_HSCROLL", 0x00100000), Style(S, "RICHEDIT_VSCROLL", 0x00200000),
    Style(S, "RICHEDIT_READONLY", 0x800), Style(S, "RICHEDIT_NEVERHIDESELECTION", 0x100),
    Style(S, "RICHEDIT_WANTRETURN", 0x1000), Choice(S, "RICHEDIT_ALIGN", DLIST_ALIGN, &EDIT_ALIGN_CHOICES),
    Style("$BORDER", "RICHEDIT_SUNKEN", 0x4000), ExStyle("$BORDER", "STATICEDGE", 0x00020000),
    Stored(R, "RICHEDIT_FILE", 7)};
const Row SCROLL_ROWS[] = {Style(S, "SCROLL_VERTICAL", 0x1), Stored(V, "SCROLL_VALUE", 4),
                           Stored(V, "SCROLL_MINVALUE", 4), Stored(V, "SCROLL_MAXVALUE", 4)};
const Row SLIDER_ROWS[] = {Style(S, "SLIDER_TOOLTIPS", 0x100), Style(S, "SLIDER_VERTICAL", 0x2),
                           Stored(V, "SLIDER_VALUE", 4), Stored(V, "SLIDER_MINVALUE", 4),
                           Stored(V, "SLIDER_MAXVALUE", 4), Border(), Back()};
const Row SOUNDEDITOR_ROWS[] = {
    Stored(S, "SOUNDEDITOR_POPUPMENU", 1), Border(), Stored(C, "SOUNDEDITOR_COLORBACKENABLED", 2),
    Stored(C, "SOUNDEDITOR_COLORBACKDISABLED", 2), Stored(C, "SOUNDEDITOR_COLORLINE", 2),
    Stored(C, "SOUNDEDITOR_COLORCARET", 2), Stored(C, "SOUNDEDITOR_COLORCARETPLAY", 2),
    Stored(C, "SOUNDEDITOR_COLORWAVEENABLED", 2), Stored(C, "SOUNDEDITOR_COLORWAVEDISABLED", 2),
    Stored(C, "SOUNDEDITOR_COLORPROGRESSBACK", 2), Stored(C, "SOUNDEDITOR_COLORPROGRESSSTART", 2),
    Stored(C, "SOUNDEDITOR_COLORPROGRESSEND", 2), Stored(R, "SOUNDEDITOR_FILE", 7),
    Stored("$LINK", "SOUNDEDITOR_LEVEL", 7, DLIST_LEVELS)};
const Row SPLITTER_ROWS[] = {Stored(V, "SPLITTER_COLCOUNT", 4), Stored(V, "SPLITTER_ROWCOUNT", 4),
                             Stored(V, "SPLITTER_WINDOWBACKCOLOR", 2), Border()};
const Row STATIC_ROWS[] = {Stored("$BORDER", "STATIC_EDGE", 7, DLIST_EDGES), Stored("$BORDER", "STATIC_LEFTBORDER", 1),
                           Stored("$BORDER", "STATIC_TOPBORDER", 1), Stored("$BORDER", "STATIC_RIGHTBORDER", 1),
                           Stored("$BORDER", "STATIC_BOTTOMBORDER", 1), Back(), Stored(R, "STATIC_IMAGE", 7),
                           Stored(R, "STATIC_IMAGEDRAWMODE", 7, DLIST_DRAWMODES)};
const Row TAB_ROWS[] = {Font(), Choice(S, "TAB_TYPE", DLIST_TAB, &TAB_TYPE_CHOICES), Style(S, "TAB_TOOLTIPS", 0x4000),
                        Style(S, "TAB_FOCUSONBUTTONDOWN", 0x1000), Style(S, "TAB_FOCUSNEVER", 0x8000),
                        Stored(V, "TAB_CONTENT", 3), Stored(V, "TAB_TIPCONTENT", 3), Stored(V, "TAB_SELECTION", 4)};
const Row TABDOC_ROWS[] = {Font(), StoredInt(S, "TABDOC_CLOSE", 1), StoredInt(S, "TABDOC_MOVE", 1),
                           Stored(V, "TABDOC_CONTENT", 3), Stored(V, "TABDOC_SELECTION", 4), Border(), Back(),
                           Stored(C, "TABDOC_BACKCOLOR", 2), Stored(C, "TABDOC_BACKSELCOLOR", 2),
                           Stored(C, "TABDOC_TEXTCOLOR", 2), Stored(C, "TABDOC_TEXTSELCOLOR", 2),
                           Stored(C, "TABDOC_WINDOWBACKCOLOR", 2)};
const Row TOOLBAR_ROWS[] = {Style(S, "TOOLBAR_TOOLTIPS", 0x100), Stored(S, "TOOLBAR_TRANSPARENT", 1),
                            Stored(V, "TOOLBAR_CONTENT", 3), Border()};
const Row TREE_ROWS[] = {
    Font(), Style(S, "TREE_CHECKBOXES", 0x100), Style(S, "TREE_DRAGDROP", 0x10), Style(S, "TREE_EDITLABELS", 0x8),
    Style(S, "TREE_FULLROWSELECT", 0x1000), Style(S, "TREE_HASBUTTONS", 0x1), Style(S, "TREE_HASLINES", 0x2),
    Style(S, "TREE_LINESATROOT", 0x4), Style(S, "TREE_NEVERHIDESELECTION", 0x20),
    Style(S, "TREE_HOTTRACKING", 0x200), Border(), Stored(R, "TREE_FILE", 7)};

struct TypeRows
{
    const Row* rows;
    int count;
};

template <int N>
constexpr TypeRows Rows(const Row (&rows)[N])
{
    return {rows, N};
}

const TypeRows TYPE_ROWS[DIALOG_TYPE_COUNT] = {
    Rows(DIALOG_ROWS), Rows(BROWSER_ROWS), Rows(BUTTON_ROWS), Rows(CHECK_ROWS), Rows(CODEEDITOR_ROWS),
    Rows(COMBO_ROWS), Rows(EDIT_ROWS), Rows(EXLIST_ROWS), Rows(GROUP_ROWS), Rows(BORDER_ONLY_ROWS),
    Rows(IMAGEEDITOR_ROWS), Rows(LABEL_ROWS), Rows(LCD_ROWS), Rows(LEVEL_ROWS), Rows(LIST_ROWS),
    Rows(MEDIA_ROWS), Rows(MEDIAPLAYER_ROWS), Rows(BORDER_ONLY_ROWS), Rows(PROGRESS_ROWS), Rows(PROPERTY_ROWS),
    Rows(RADIO_ROWS), Rows(RICHEDIT_ROWS), Rows(SCROLL_ROWS), Rows(SLIDER_ROWS), Rows(SOUNDEDITOR_ROWS),
    Rows(SPLITTER_ROWS), Rows(STATIC_ROWS), Rows(TAB_ROWS), Rows(TABDOC_ROWS), Rows(TOOLBAR_ROWS),
    Rows(TREE_ROWS)};

// The value names of the fixed choice lists, in the pane's order.
const char* const HANCHORS[] = {"_AUTOLEFT", "_AUTOCENTER", "_AUTORIGHT", "_AUTOWIDTH",
                                "_AUTOCENTERHALF", "_AUTORIGHTHALF", "_AUTOWIDTHHALF"};
const char* const VANCHORS[] = {"_AUTOTOP", "_AUTOMIDDLE", "_AUTOBOTTOM", "_AUTOHEIGHT",
                                "_AUTOMIDDLEHALF", "_AUTOBOTTOMHALF", "_AUTOHEIGHTHALF"};
const char* const DRAWMODES[] = {"_DRAWTOPLEFT", "_DRAWTOPCENTER", "_DRAWTOPRIGHT", "_DRAWMIDDLELEFT",
                                 "_DRAWMIDDLERIGHT", "_DRAWBOTTOMLEFT", "_DRAWBOTTOMCENTER",
                                 "_DRAWBOTTOMRIGHT", "_DRAWCENTER", "_DRAWSTRETCH", "_DRAWTILE", "_DRAWFIT"};
const char* const COMBO_TYPES[] = {"_SIMPLE", "_DROPDOWN", "_DROPDOWNLIST"};
const char* const EXLIST_TYPES[] = {"_ICON", "_SMALLICON", "_LIST", "_REPORT"};
const char* const LIST_SELECTIONS[] = {"_NONE", "_SINGLE", "_MULTIPLE", "_EXTENDED"};
const char* const TAB_TYPES[] = {"_STANDARD", "_BUTTONS", "_FLATBUTTONS"};

struct NameList
{
    const char* const* names;
    int count;
};

template <int N>
constexpr NameList Names(const char* const (&names)[N])
{
    return {names, N};
}

const NameList CHOICE_NAMES[DLIST_LEVELS] = {
    Names(HANCHORS), Names(VANCHORS), Names(DIALOG_ALIGN_NAMES), Names(DIALOG_VERTICAL_ALIGN_NAMES),
    Names(DRAWMODES), Names(COMBO_TYPES), Names(EXLIST_TYPES), Names(LIST_SELECTIONS),
    Names(DIALOG_EDGE_NAMES), Names(TAB_TYPES)};
} // namespace

const SDialogPropertyRow* GetDialogPropertyRows(int type, int* count)
{
    const bool known = type >= 0 && type < DIALOG_TYPE_COUNT;
    if (count)
        *count = known ? TYPE_ROWS[type].count : 0;
    return known ? TYPE_ROWS[type].rows : nullptr;
}

const SDialogPropertyRow* FindDialogPropertyRow(int type, const char* key)
{
    int count = 0;
    const SDialogPropertyRow* rows = GetDialogPropertyRows(type, &count);
    for (int i = 0; key && i < count; i++)
    {
        if (rows[i].key && strcmp(rows[i].key, key) == 0)
            return &rows[i];
    }
    return nullptr;
}

const char* const* GetDialogChoiceNames(int list, int* count)
{
    const bool fixed = list >= 0 && list < DLIST_LEVELS;
    if (count)
        *count = fixed ? CHOICE_NAMES[list].count : 0;
    return fixed ? CHOICE_NAMES[list].names : nullptr;
}

const char* GetStyleChoice(const SDialogStyleChoices& choices, DWORD style)
{
    for (int i = 0; i < choices.count; i++)
    {
        const DWORD test = choices.choices[i].test;
        if (test != 0 && (style & test) == test)
            return choices.choices[i].name;
    }
    return choices.fallback;
}

DWORD ApplyStyleChoice(const SDialogStyleChoices& choices, DWORD style, const char* name)
{
    style &= ~choices.mask;
    for (int i = 0; name && i < choices.count; i++)
    {
        if (strcmp(choices.choices[i].name, name) == 0)
            return style | choices.choices[i].bits;
    }
    return style;
}
