// The seek bar of the play window and the taskbar strip: a progress bar drawn
// with three pictures (background, played part, the part under the mouse) that
// shows the time under the mouse and seeks the main window's player on a click.
#pragma once
#include "SImage.h"
#include "SProgressCtrl.h"

class PWndApp;

class PProgressCtrl : public SProgressCtrl
{
public:
    PProgressCtrl() : m_owner(nullptr), m_hover(-1), m_erased(false) {}
    ~PProgressCtrl() override {}

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    // The time under the mouse in seconds; -1 when the mouse is not over the bar.
    int GetHover() const { return m_hover; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int SecondsAt(LPARAM point) const;
    void SetHover(int seconds);
    void OnPaint();
    void PaintBar(HDC dc) const;

    PWndApp* m_owner;
    SImage m_background, m_played, m_hovered;
    int m_hover;
    bool m_erased;
};
