// For the tab strip, docking bar and image editor tests: a parent window that
// records what its controls ask and answers as told, and the memory DIB their
// paints are sent into.
#pragma once
#include <map>
#include <vector>
#include "MemoryDib.h"
#include "SWnd.h"

class AnsweringParent : public SWnd
{
public:
    struct Asked
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::map<UINT, LRESULT> answers;
    std::vector<Asked> asked;

    AnsweringParent(int width = 500, int height = 400)
    {
        const RECT r = {0, 0, width, height};
        Create("Docking", WS_POPUP | WS_VISIBLE, 0, &r, nullptr);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= SWM_CHANGED && message < SWM_CONTROL_BASE + 1000 && message != SWM_MENUCOMMAND)
        {
            asked.push_back({message, wParam, lParam});
            const auto answer = answers.find(message);
            if (answer != answers.end())
                return answer->second;
        }
        return SWnd::WindowProc(message, wParam, lParam);
    }
    int Count(UINT message) const
    {
        int n = 0;
        for (const Asked& a : asked)
            n += a.message == message;
        return n;
    }
};
