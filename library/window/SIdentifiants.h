// Display names of the library cursor numbers and of the system colours, for
// the places where a user picks one by name.
#pragma once
#include "SArray.h"
#include "SArrayString.h"

class SIdentifiants
{
public:
    SIdentifiants();
    virtual ~SIdentifiants() {}
    SIdentifiants(const SIdentifiants&) = delete;
    SIdentifiants& operator=(const SIdentifiants&) = delete;

    // Entry i of each name list goes with entry i of its number list.
    const SArray<int>& GetCursorNumbers() const { return m_cursorNumbers; }
    const SArrayString& GetCursorNames() const { return m_cursorNames; }
    const SArray<int>& GetColorIndexes() const { return m_colorIndexes; }
    const SArrayString& GetColorNames() const { return m_colorNames; }

    // The name of a system colour index or cursor number; "" when it has none.
    SString GetColorName(int index) const;
    SString GetCursorName(int number) const;

private:
    SArray<int> m_cursorNumbers;
    SArrayString m_cursorNames;
    SArray<int> m_colorIndexes;
    SArrayString m_colorNames;
};
