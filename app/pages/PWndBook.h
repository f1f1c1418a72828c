// The book window: the library's catalogue page in a browser of its own; its
// browser and links come with the book window.
#pragma once
#include "SWnd.h"

class PWndBook : public SWnd
{
public:
    PWndBook() {}
    ~PWndBook() override {}
    // Remembers the page it shows.
    bool Navigate(const char* page)
    {
        m_page = page ? page : "";
        return true;
    }
    const SString& GetPage() const { return m_page; }

private:
    SString m_page;
};
