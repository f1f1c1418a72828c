// The book window: the library's catalogue page in a browser of its own, whose
// links become actions of the main window: a folder link opens the folder, a
// media file plays or joins the queue, an album plays its folder.
#pragma once
#include "SBrowserCtrl.h"
#include "SKeyboard.h"
#include "SPath.h"
#include "PWndSecondary.h"

class PWndBook : public PWndSecondary
{
public:
    PWndBook();
    ~PWndBook() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The browser goes to the address, which the status bar shows.
    bool Navigate(const char* address);
    SBrowserCtrl& GetBrowser() { return m_browser; }

private:
    void OnCreated();
    // -1 when the address was turned into an action (PWndBookLinks.cpp).
    LRESULT OnBeforeNavigate(const char* address);
    void PlayMedia(const SString& file);
    void PlayAlbum(const SString& address);

    SKeyboard m_keyboard;
    SBrowserCtrl m_browser;
};
