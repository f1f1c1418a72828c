// The download queue window: one row per queued file with its state and
// percent; it shares the play window's place and comes with downloads. The
// download thread changes rows only through SetState and SetPercent, which
// store under the queue's lock and post the change to the window. An index of
// the paths and a cursor to the next queued row keep large queues cheap.
#pragma once
#include <atomic>
#include <string>
#include <unordered_map>
#include <vector>
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
    static const DWORD SHOW_PERIOD = 50;
    static const UINT_PTR SHOW_TIMER = 1;

    PWndNet() : m_owner(nullptr), m_next(0), m_noticed(false), m_shown(0) {}
    ~PWndNet() override {}

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }
    // A hidden child of the main window at its place, anchored to the right.
    bool Create(HWND parent, const RECT& rect);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // False for a path already listed (no case).
    bool Add(const char* path);
    // The paths not listed yet, added in one batch; the number of rows added.
    int Add(const SArrayString& paths);
    // The first queued row after the given one (any with -1), or -1.
    int GetNextQueued(int after = -1);
    // The path of the first queued row that is none of those held (the rows
    // the caller has taken already); "" when there is none. Taken by path,
    // the row stays found whatever rows are removed meanwhile; *where gets
    // its row as it is now, a hint for SetStateOf and SetPercentOf.
    SString GetNextQueuedPath(const std::vector<SString>& held, int* where = nullptr);
    SString GetPath(int row);
    int GetCount();
    int GetState(int row);
    int GetPercent(int row);
    // Ignored outside the list or for an unchanged value; the percent is
    // capped at 100. A change is posted to the window.
    void SetState(int row, int state);
    void SetPercent(int row, int percent);
    // The same for the row of a path, wherever rows moved meanwhile (the
    // row where it was is looked at first). A percent not shown is only
    // stored: the row shows it when it is drawn next.
    void SetStateOf(const char* path, int state, int row = -1);
    void SetPercentOf(const char* path, int percent, int row = -1, bool show = true);
    void ResetFailed();
    // Rows leave the queue: the done ones, the selected ones, or all.
    void RemoveFinished();
    void RemoveSelected();
    void Clear();
    SExListCtrl& GetList() { return m_list; }

private:
    bool OnCreated();
    void Layout();
    bool Append(const char* path);
    // The list holds no rows (an owner-data list view): it asks for each
    // row's texts and icon as it draws them, and is told only their count.
    bool OnNotify(NMHDR* header);
    void DescribeRow(int row, int column, SString* text, int* icon);
    void ShowCount();
    void ShowRows();
    void ShowSelection();
    // Rows whose flag is set leave the arrays in one pass, then the list.
    void RemoveRows(const std::vector<bool>& gone);
    void CompactRows(const std::vector<bool>& gone);
    void RemoveItems(const std::vector<bool>& gone);
    void SetItemState(int row, UINT state);
    void IndexRows();
    void Notice(UINT message);
    void StoreState(int row, int state);
    void StorePercent(int row, int percent, bool show = true);
    int FindRow(const char* path, int row) const;

    PWndApp* m_owner;
    SImageList m_icons;
    SExListCtrl m_list;
    SCriticalSection m_lock;
    SArrayString m_paths;
    SArray<int> m_percents;
    SArray<int> m_states;
    // Row of each path, keyed without case; the same rows as m_paths.
    std::unordered_map<std::string, int> m_rows;
    // No row before it is queued.
    int m_next;
    // A notice of changes waits for the user's thread; the last row done
    // since it was handled, by its path (under the lock).
    std::atomic<bool> m_noticed;
    SString m_lastDone;
    DWORD m_shown; // when the rows were last shown
};
