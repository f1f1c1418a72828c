// The compact strip docked at the bottom of the screen that shows and
// controls playback; its views come with the taskbar strip.
#pragma once
#include "SWnd.h"

class PWndApp;

class PWndTask : public SWnd
{
public:
    PWndTask() : m_owner(nullptr) {}
    ~PWndTask() override {}

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }
    // A visible top-most tool window without parent.
    bool Create();
    void SetDocked(bool docked) { m_docked = docked; }
    bool IsDocked() const { return m_docked; }
    void SetTextColor(COLORREF color) { m_textColor = color; }
    COLORREF GetTextColor() const { return m_textColor; }
    void SetInfoText(const char* text) { m_infoText = text ? text : ""; }
    const SString& GetInfoText() const { return m_infoText; }
    // The font's height + 2, at least 20.
    int GetHeight() const;

private:
    PWndApp* m_owner;
    bool m_docked = false;
    COLORREF m_textColor = 0;
    SString m_infoText;
};
