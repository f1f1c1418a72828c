// The fixed texts and tables of the dialog description format: the header line,
// the element types' display names, the common keys, the value names of the
// type keys, and the number and line rules the reader and writer share.
#pragma once
#include "SPlatform.h"
#include "SString.h"

const char* const DIALOG_HEADER = "KLV DIALOG EDITOR 1.0.0.0";
const int DIALOG_TYPE_COUNT = 31;
const DWORD DIALOG_DEFAULT_COLOR = 0xFF000000;

// Element type indexes, as the records and the clipboard carry them.
enum SDialogTypeIndex
{
    DTYPE_DIALOG, DTYPE_BROWSER, DTYPE_BUTTON, DTYPE_CHECK, DTYPE_CODEEDITOR, DTYPE_COMBO,
    DTYPE_EDIT, DTYPE_EXTENDEDLIST, DTYPE_GROUP, DTYPE_GUI, DTYPE_IMAGEEDITOR, DTYPE_LABEL,
    DTYPE_LCD, DTYPE_LEVEL, DTYPE_LIST, DTYPE_MEDIA, DTYPE_MEDIAPLAYER, DTYPE_PANEL,
    DTYPE_PROGRESS, DTYPE_PROPERTY, DTYPE_RADIO, DTYPE_RICHEDIT, DTYPE_SCROLL, DTYPE_SLIDER,
    DTYPE_SOUNDEDITOR, DTYPE_SPLITTER, DTYPE_STATIC, DTYPE_TAB, DTYPE_TABDOC, DTYPE_TOOLBAR,
    DTYPE_TREE
};

// The display name of type 0 to 30 ("Extended List"); null outside.
const char* GetDialogTypeName(int index);

// The eleven keys of every section, in the order they are written.
enum SDialogCommonKey
{
    DKEY_ID, DKEY_NAME, DKEY_CAPTION, DKEY_FONT, DKEY_POSITION, DKEY_STYLE, DKEY_EXSTYLE,
    DKEY_BACKCOLOR, DKEY_TEXTCOLOR, DKEY_TRANSPARENT, DKEY_ISLOCKED, DKEY_COUNT
};
extern const char* const DIALOG_COMMON_KEYS[DKEY_COUNT];
// The common key's index, compared with case; -1 for a type key.
int FindCommonKey(const char* key);

// Names that type keys hold, with the numbers they stand for.
struct SDialogNamedValue
{
    const char* name;
    int value;
};
extern const SDialogNamedValue DIALOG_HALIGN_NAMES[7];
extern const SDialogNamedValue DIALOG_VALIGN_NAMES[7];
extern const SDialogNamedValue DIALOG_DRAWMODE_NAMES[12];
// Names without numbers of their own: the first reads for anything unknown.
extern const char* const DIALOG_ALIGN_NAMES[3];
extern const char* const DIALOG_VERTICAL_ALIGN_NAMES[3];
extern const char* const DIALOG_EDGE_NAMES[8];
// The number of the name in the table (compared with case); fallback when absent.
int FindNamedValue(const SDialogNamedValue* table, int count, const char* name, int fallback);

// Decimal with an optional sign, ending at the first character that is no digit;
// "" and "x" are 0. Wraps in 64 bits, so a caller's cut keeps the low bits.
long long ParseDialogNumber(const char* text);
// The text without any CR or LF: what one line of the format may hold.
SString RemoveLineBreaks(const char* text);
// Type-key text as the writer needs it: the pieces between CR and LF that hold a
// key before "=", each ended by CR LF; every other piece is dropped.
SString NormalizeTypeKeys(const char* text);
