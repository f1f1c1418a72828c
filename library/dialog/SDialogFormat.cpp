#include "SDialogFormat.h"
#include <cstring>
#include <string>

namespace
{
const char* const TYPE_NAMES[DIALOG_TYPE_COUNT] = {
    "Dialog", "Browser", "Button", "Check", "Code Editor", "Combo", "Edit", "Extended List",
    "Group", "Gui", "Image Editor", "Label", "Lcd", "Level", "List", "Media", "Media Player",
    "Panel", "Progress", "Property", "Radio", "Rich Edit", "Scroll", "Slider", "Sound Editor",
    "Splitter", "Static", "Tab", "Tab Doc", "Tool Bar", "Tree"};
}

const char* const DIALOG_COMMON_KEYS[DKEY_COUNT] = {
    "ID", "NAME", "CAPTION", "FONT", "POSITION", "STYLE", "EXSTYLE",
    "BACKCOLOR", "TEXTCOLOR", "TRANSPARENT", "ISLOCKED"};

const SDialogNamedValue DIALOG_HALIGN_NAMES[7] = {
    {"_AUTOLEFT", 0}, {"_AUTOCENTER", 1}, {"_AUTOCENTERHALF", 9}, {"_AUTORIGHT", 2},
    {"_AUTORIGHTHALF", 10}, {"_AUTOWIDTH", 4}, {"_AUTOWIDTHHALF", 12}};
const SDialogNamedValue DIALOG_VALIGN_NAMES[7] = {
    {"_AUTOTOP", 0}, {"_AUTOMIDDLE", 16}, {"_AUTOMIDDLEHALF", 144}, {"_AUTOBOTTOM", 32},
    {"_AUTOBOTTOMHALF", 160}, {"_AUTOHEIGHT", 64}, {"_AUTOHEIGHTHALF", 192}};
const SDialogNamedValue DIALOG_DRAWMODE_NAMES[12] = {
    {"_DRAWTOPLEFT", 0}, {"_DRAWTOPCENTER", 1}, {"_DRAWTOPRIGHT", 2}, {"_DRAWMIDDLELEFT", 3},
    {"_DRAWMIDDLERIGHT", 4}, {"_DRAWBOTTOMLEFT", 5}, {"_DRAWBOTTOMCENTER", 6},
    {"_DRAWBOTTOMRIGHT", 7}, {"_DRAWCENTER", 8}, {"_DRAWSTRETCH", 9}, {"_DRAWTILE", 10},
    {"_DRAWFIT", 11}};
const char* const DIALOG_ALIGN_NAMES[3] = {"_LEFT", "_CENTER", "_RIGHT"};
const char* const DIALOG_VERTICAL_ALIGN_NAMES[3] = {"_TOP", "_MIDDLE", "_BOTTOM"};
const char* const DIALOG_EDGE_NAMES[8] = {"_EDGEBUMP", "_EDGEETCHED", "_EDGERAISED", "_EDGESUNKEN",
                                          "_EDGERAISEDINNER", "_EDGERAISEDOUTER", "_EDGESUNKENINNER",
                                          "_EDGESUNKENOUTER"};

const char* GetDialogTypeName(int index)
{
    return index >= 0 && index < DIALOG_TYPE_COUNT ? TYPE_NAMES[index] : nullptr;
}

int FindCommonKey(const char* key)
{
    for (int i = 0; key && i < DKEY_COUNT; i++)
    {
        if (strcmp(key, DIALOG_COMMON_KEYS[i]) == 0)
            return i;
    }
    return -1;
}

int FindNamedValue(const SDialogNamedValue* table, int count, const char* name, int fallback)
{
    for (int i = 0; name && i < count; i++)
    {
        if (strcmp(name, table[i].name) == 0)
            return table[i].value;
    }
    return fallback;
}

long long ParseDialogNumber(const char* text)
{
    if (!text)
        return 0;
    while (*text == ' ' || *text == '\t')
        text++;
    bool negative = false;
    if (*text == '-' || *text == '+')
        negative = *text++ == '-';
    unsigned long long value = 0;
    for (; *text >= '0' && *text <= '9'; text++)
        value = value * 10 + static_cast<unsigned>(*text - '0');
    return static_cast<long long>(negative ? 0 - value : value);
}

SString RemoveLineBreaks(const char* text)
{
    SString result(text ? text : "");
    result.Replace("\r", "");
    result.Replace("\n", "");
    return result;
}

SString NormalizeTypeKeys(const char* text)
{
    // Gathered in one buffer that grows by doubling: a long text is copied once.
    std::string result;
    const char* piece = text ? text : "";
    while (*piece)
    {
        const size_t length = strcspn(piece, "\r\n");
        const char* equal = static_cast<const char*>(memchr(piece, '=', length));
        if (equal && equal > piece)
        {
            result.append(piece, length);
            result += "\r\n";
        }
        piece += length;
        if (*piece)
            piece++;
    }
    return SString().SetText(result.data(), static_cast<int>(result.size()));
}
