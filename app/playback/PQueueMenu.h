// The play queue as a popup menu, one item per entry with the playing one
// checked; the play window and the taskbar strip show it and play what is chosen.
#pragma once
#include "SMenu.h"

class PWndApp;

class PQueueMenu : public SMenu
{
public:
    // Queue items: this + the entry's index.
    enum
    {
        ID_FIRST_ENTRY = 1000
    };

    // The menu made for the window on first use, else emptied, then filled
    // from the queue; false, and left as it was, while the queue is empty.
    bool Fill(const PWndApp& owner, HWND window);
    // A queue item plays its entry; any other command is left alone.
    static void PlayChosen(PWndApp* owner, LPARAM command);
};
