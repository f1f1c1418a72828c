// The strip above the library that shows what plays: the cover of the file's
// folder, its artist, album and title, its place in the queue, its times and a
// seek bar. The labels lead the library view to the playing file; a button
// opens a menu of the queue.
#pragma once
#include "SImage.h"
#include "SMediaCtrl.h"
#include "SPath.h"
#include "SWnd.h"
#include "PProgressCtrl.h"
#include "PQueueMenu.h"

class PWndApp;
class SMediaPlayerCtrl;

class PWndPlay : public SWnd
{
public:
    // The views, in their order of creation.
    enum View
    {
        VIEW_COVER,
        VIEW_ARTIST,
        VIEW_ALBUM,
        VIEW_NUMBER,
        VIEW_SIZE,
        VIEW_QUEUE,
        VIEW_TITLE,
        VIEW_ELAPSED,
        VIEW_DURATION,
        VIEW_BAND,
        VIEW_COUNT
    };
    enum
    {
        ID_COVER = 1000,
        ID_QUEUE = 1001,
        ID_ARTIST = 1002,
        ID_ALBUM = 1003,
        ID_TITLE = 1004
    };

    PWndPlay() : m_owner(nullptr) {}
    ~PWndPlay() override {}

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }
    // A visible child of the main window at its place, anchored to the right.
    bool Create(HWND parent, const RECT& rect);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The playing file (or none), its entry number from 1 and the queue size.
    void SetMedia(const SMediaPlayerCtrl* player, int number, int count);
    void SetQueueCount(int count);
    void UpdatePosition(const SMediaPlayerCtrl* player);
    // The cover of the playing file's folder; none shows the default cover.
    void SetCover(const SImage* picture);
    void ShowWaiting();

    const SMediaCtrl& GetView(View view) const { return m_views[view]; }
    PProgressCtrl& GetSeekBar() { return m_seekBar; }
    const SPath& GetPath() const { return m_path; }
    SMenu& GetQueueMenu() { return m_menu; }

private:
    void CreateViews();
    void ShowPicture(const SImage& picture, bool hand);
    void OnLabelClick(int id);
    void OnViewMouse(const SWnd* view, const SMouseNotify* notify);
    void ShowQueueMenu(const SWnd* button, int x, int y);

    PQueueMenu m_menu;
    SMediaCtrl m_views[VIEW_COUNT];
    PProgressCtrl m_seekBar;
    SImage m_defaultCover, m_waiting, m_queuePicture;
    SPath m_path;
    PWndApp* m_owner;
};
