// Texts of a control by key: lines made of a key, '=' and the text, filled in
// English or French by the control that owns the table.
#pragma once
#include "SArrayString.h"

class SLanguageTable : public SArrayString
{
public:
    SLanguageTable() {}
    ~SLanguageTable() override {}

    // Appends one line "key=text"; a key holding '=' could never be found again and
    // is refused (false, no line added).
    bool AddEntry(const char* key, const char* text);
    // The text after the first '=' of the first line whose key matches exactly
    // (case counts); "" when no line matches.
    SString GetText(const char* key) const;
};
