// The compact strip docked along the bottom of the screen: what plays, its
// times and place in the queue, a seek bar, and buttons for previous, next,
// pause, stop and showing or hiding the main window.
#pragma once
#include "SImage.h"
#include "SMediaCtrl.h"
#include "SPath.h"
#include "SSystem.h"
#include "SWnd.h"
#include "PProgressCtrl.h"
#include "PQueueMenu.h"

class PWndApp;
class SMediaPlayerCtrl;

class PWndTask : public SWnd
{
public:
    // The children, from the right edge leftwards.
    enum Child
    {
        CHILD_SHOW,
        CHILD_STOP,
        CHILD_PAUSE,
        CHILD_NEXT,
        CHILD_PREVIOUS,
        CHILD_SEEK,
        CHILD_QUEUE,
        CHILD_DURATION,
        CHILD_POSITION,
        CHILD_TITLE,
        CHILD_KIND,
        CHILD_FOLDER,
        CHILD_UPPER,
        CHILD_INFO,
        CHILD_COUNT
    };
    enum
    {
        ID_UPPER = 1001,
        ID_FOLDER = 1002,
        ID_TITLE = 1003,
        ID_QUEUE = 1004,
        ID_PREVIOUS = 1005,
        ID_NEXT = 1006,
        ID_PAUSE = 1007,
        ID_STOP = 1008,
        ID_SHOW = 1009
    };

    PWndTask();
    ~PWndTask() override {}

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }
    // A visible top-most tool window without parent.
    bool Create();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The children's places on a strip of width x height. The three media
    // labels share what the fixed parts leave of a work area wider than 734
    // pixels; on a narrower one they shrink to nothing and the info label to
    // what is left, so that no child has a negative width.
    static void ComputeLayout(int width, int height, RECT rects[CHILD_COUNT]);

    // Docking disables both button pairs until the next media.
    void SetDocked(bool docked);
    bool IsDocked() const { return m_docked; }
    void SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return m_textColor; }
    void SetInfoText(const char* text);
    SString GetInfoText() const;
    // What follows shows media only while docked; no player always clears.
    void SetMedia(const SMediaPlayerCtrl* player, int number, int count);
    void UpdatePosition(const SMediaPlayerCtrl* player);
    void SetQueueCount(int count);
    void EnablePrevNext(bool enable);
    void EnablePauseStop(bool enable);
    // The font's height + 2, at least 20.
    int GetHeight() const;

    const SMediaCtrl& GetLabel(Child child) const { return m_labels[child]; }
    PProgressCtrl& GetSeekBar() { return m_seekBar; }
    SMenu& GetQueueMenu() { return m_menu; }

private:
    void CreateChildren();
    void LoadPictures();
    void EnableButton(Child child, int picture, bool enable);
    const SImage& GetKindPicture(const SString& extension) const;
    void OnClick(int id);
    void ShowQueueMenu();

    SSystem m_system;
    PQueueMenu m_menu;
    // The labels and buttons by child; CHILD_SEEK's entry stays unused.
    SMediaCtrl m_labels[CHILD_COUNT];
    PProgressCtrl m_seekBar;
    SImage m_kindMp3, m_kindWma, m_kindOther, m_showHide;
    // Previous, next, pause, stop: normal, then half transparent for disabled.
    SImage m_buttons[4][2];
    SPath m_path;
    PWndApp* m_owner;
    bool m_docked;
    COLORREF m_textColor;
};
