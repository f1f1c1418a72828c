// What a type key's text stands for when a description is built into a dialog,
// and the plans made from lists: tool bar buttons, tab creation places, tab pages.
#pragma once
#include <vector>
#include "SPlatform.h"
#include "SArrayString.h"
#include "SDialogCtrl.h"

class SDialogValues
{
public:
    // One entry of a tool bar plan: a separator, or button n with its text.
    struct _SToolEntry
    {
        bool separator;
        int button;
        SString text;
    };
    // One page of a tab control: a tab number and the id of the control shown on it.
    struct _SPage
    {
        int tab;
        int id;
    };

    static const DWORD DEFAULT_COLOR = 0xFF000000;
    static const int TYPE_TAB = 27;

    explicit SDialogValues(const SDialogCtrl::_SCtrl* record) : m_record(record) {}

    // The record's keys through the conversions below; an absent key reads as "".
    SString Text(const char* key) const { return m_record->GetValue(key); }
    bool Flag(const char* key) const { return ToFlag(Text(key).GetText()); }
    int Int(const char* key) const { return ToInt(Text(key).GetText()); }
    double Real(const char* key) const { return ToReal(Text(key).GetText()); }
    DWORD Color(const char* key) const { return ToColor(Text(key).GetText()); }
    DWORD RawColor(const char* key) const { return ToRawColor(Text(key).GetText()); }
    int List(const char* key, SArrayString* items) const { return SplitList(Text(key).GetText(), items); }
    int DrawMode(const char* key) const;
    // The value compared exactly with the names; fallback for any other value.
    int Choice(const char* key, const SDialogNamedValue* names, int count, int fallback) const;

    // atoi rules: leading blanks, a sign, decimal digits; saturates at 32 bits; 0 without digits.
    static int ToInt(const char* text);
    static bool ToFlag(const char* text) { return ToInt(text) != 0; }
    static double ToReal(const char* text);
    // A 64-bit decimal whose low 32 bits are the colour.
    static DWORD ToRawColor(const char* text);
    // A type key's colour: "" and every value from 0xFF000000 up are the default;
    // 0xFE0000nn is system colour nn.
    static DWORD ToColor(const char* text);
    // Below 0xFE000000 a colour is itself; 0xFE0000nn is system colour nn.
    static DWORD ResolveSystemColor(DWORD color);
    // BACKCOLOR or TEXTCOLOR as applied: false when there is nothing to apply (the
    // default, and values above it that mean nothing); a background may be
    // transparent (0xFF000001).
    static bool ResolveCommonColor(DWORD stored, bool background, DWORD* color);
    // A colour reference as GDI+ takes it: red and blue exchanged, fully opaque.
    static DWORD ToArgb(DWORD color);
    // Split at "|", blanks around each item removed; "" gives no items.
    static int SplitList(const char* text, SArrayString* items);
    // A tab control's page names (TAB_CONTENT), the one reading that the designer's
    // menu, its page toggle and the built dialog share: split at "|" outside double
    // quotes, blanks around each name removed, and the quotes around a whole name
    // dropped; a quote left open is an ordinary character. Items may be null.
    static int SplitTabNames(const char* text, SArrayString* names);

    // The tool bar's buttons and separators for the list's tokens.
    static std::vector<_SToolEntry> PlanToolBar(const SArrayString& tokens);
    // Which record each place of the creation loop makes: tab controls are made
    // in the reverse of their order among themselves, the others in place.
    static std::vector<int> PlanCreationOrder(const std::vector<int>& types);
    // The page pairs of TAB_CHILDREN_PRIVATE whose tab number is below the tab
    // count; an odd last number pairs with 0.
    static std::vector<_SPage> ParsePages(const char* text, int tabCount);

private:
    const SDialogCtrl::_SCtrl* m_record;
};
