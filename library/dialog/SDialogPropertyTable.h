// The properties the designer's pane shows for each element type, in their order,
// and the style-bit choices some of them stand for. Filling the pane and applying
// an edited value both read this one table.
#pragma once
#include "SPlatform.h"

// Where an item's value comes from, and so how an edit is stored back.
enum SDialogPropertySource
{
    DPROP_FONT,       // FONT, always into the first group
    DPROP_BORDER,     // the common border group
    DPROP_STYLE,      // "1" when every bit of the mask is set in the style; edits toggle
    DPROP_EXSTYLE,    // the same with the extended style
    DPROP_STORED,     // the stored type key
    DPROP_STOREDINT,  // the stored type key read as an integer, "%d"
    DPROP_BACKCOLOR,  // the element's colours: the only items a mixed selection shares
    DPROP_TEXTCOLOR,
    DPROP_CHOICE      // a choice computed from style bits; edits clear the mask and set the choice
};

// The choice lists of the pane; the first five are built for every fill.
enum SDialogChoiceList
{
    DLIST_HANCHORS, DLIST_VANCHORS, DLIST_ALIGN, DLIST_VALIGN, DLIST_DRAWMODES, DLIST_COMBO,
    DLIST_EXLIST, DLIST_LISTSEL, DLIST_EDGES, DLIST_TAB, DLIST_LEVELS, DLIST_NONE
};
const int DIALOG_SHARED_CHOICE_LISTS = 5;

// One choice over style bits: shown when all test bits are set (0: never, it is
// the fallback), stored as its bits.
struct SDialogStyleChoice
{
    const char* name;
    DWORD test;
    DWORD bits;
};

struct SDialogStyleChoices
{
    DWORD mask;
    const SDialogStyleChoice* choices;
    int count;
    const char* fallback;  // shown when no choice's test bits are all set
};

struct SDialogPropertyRow
{
    const char* group;  // null: the current group
    const char* key;
    int kind;
    int source;
    DWORD mask;
    int list;
    const SDialogStyleChoices* choices;
};

// The rows of a type, in order; null and 0 outside 0..30.
const SDialogPropertyRow* GetDialogPropertyRows(int type, int* count);
// The row of a key among the type's rows; null when the type does not show it.
const SDialogPropertyRow* FindDialogPropertyRow(int type, const char* key);
// The value names of a fixed list; null for the level list, which the layout makes.
const char* const* GetDialogChoiceNames(int list, int* count);
// The choice a style word shows.
const char* GetStyleChoice(const SDialogStyleChoices& choices, DWORD style);
// The style word with the mask cleared and the bits of the named choice set
// (none for a name that is no choice).
DWORD ApplyStyleChoice(const SDialogStyleChoices& choices, DWORD style, const char* name);
