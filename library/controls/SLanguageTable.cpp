#include "SLanguageTable.h"
#include <cstring>

bool SLanguageTable::AddEntry(const char* key, const char* text)
{
    if (key && strchr(key, '='))
        return false;
    SString line(key ? key : "");
    line += "=";
    line += text ? text : "";
    Add(line.GetText());
    return true;
}

SString SLanguageTable::GetText(const char* key) const
{
    if (!key)
        return SString("");
    const int keyLength = static_cast<int>(strlen(key));
    for (int i = 0; i < GetCount(); i++)
    {
        const SString* line = SArray<SString*>::GetAt(i);
        if (!line)
            continue;
        const int equal = line->FindChar('=');
        if (equal == keyLength && strncmp(line->GetText(), key, keyLength) == 0)
            return line->Mid(equal + 1);
    }
    return SString("");
}
