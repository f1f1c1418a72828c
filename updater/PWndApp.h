// The updater's window: a picture and a progress bar. A second after it opens
// it runs the update of the main program once, then closes.
#pragma once
#include "SPlatform.h"
#include "SNetwork.h"
#include "SProgressCtrl.h"
#include "SString.h"
#include "SWnd.h"

class PWndApp : public SWnd
{
public:
    static const UINT_PTR START_TIMER = 1000;
    static const int PROGRESS_RANGE = 1000;

    // The downloads of the update, shown on the window's progress bar.
    class _PNetwork : public SNetwork
    {
    public:
        explicit _PNetwork(PWndApp* window) : m_window(window) {}
        int OnProgress(int total, int done) override;

    private:
        PWndApp* m_window;
    };

    PWndApp();
    ~PWndApp() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The main program's file, and whether the French files are wanted.
    void SetProgram(const char* path, bool french);

private:
    void OnCreated();
    void RunUpdate();

    _PNetwork m_network;
    SProgressCtrl m_progress;
    SString m_programPath;
    unsigned char m_notFrench;
};
