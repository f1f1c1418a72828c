// The download queue window: one row per queued file with its state and
// percent; it shares the play window's place and comes with downloads. The
// download thread changes rows only through SetState and SetPercent, which
// store under the queue's lock and post the change to the window.
#pragma once
#include "SArray.h"
#include "SArrayString.h"
#include "SExListCtrl.h"
#include "SGuards.h"
#include "SImageList.h"
#include "SWnd.h"

class PWndApp;

class PWndNet : public SWnd
{
public:
    enum
    {
        STATE_QUEUED = 0,
        STATE_FAILED = 1,
        STATE_DONE = 2
    };
    static const UINT WM_ROWSTATE = WM_USER + 1;
    static const UINT WM_ROWPERCENT = WM_USER + 2;
    static const int HEIGHT = 64;

    PWndNet() : m_owner(nullptr) { m_paths.AddFlags(0x10000); }
    ~PWndNet() override {}

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }
    // A hidden child of the main window at its place, anchored to the right.
    bool Create(HWND parent, const RECT& rect);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // False for a path already listed (no case) or a row the list refuses.
    bool Add(const char* path);
    int GetNextQueued();
    SString GetPath(int row);
    int GetCount();
    int GetState(int row);
    int GetPercent(int row);
    // Ignored outside the list or for an unchanged value; the percent is
    // capped at 100. A change is posted to the window.
    void SetState(int row, int state);
    void SetPercent(int row, int percent);
    // The same for the row of a path, wherever rows moved meanwhile (the
    // row where it was is looked at first).
    void SetStateOf(const char* path, int state, int row = -1);
    void SetPercentOf(const char* path, int percent, int row = -1);
    void ResetFailed();
    // Rows leave the queue: those at 100 %, the selected ones, or all.
    void RemoveFinished();
    void RemoveSelected();
    void Clear();
    SExListCtrl& GetList() { return m_list; }

private:
    bool OnCreated();
    void Layout();
    void ShowRow(int row);
    void RemoveRow(int row);
    void StoreState(int row, int state);
    void StorePercent(int row, int percent);
    int FindRow(const char* path, int row) const;

    PWndApp* m_owner;
    SImageList m_icons;
    SExListCtrl m_list;
    SCriticalSection m_lock;
    SArrayString m_paths;
    SArray<int> m_percents;
    SArray<int> m_states;
};
