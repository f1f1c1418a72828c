// A parent window that records what a rich-text view tells it, and a view on
// it laid out by the fixed measurer, painted into memory for pixel reads.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "FixedMeasurer.h"
#include "SGuards.h"
#include "SMediaCtrl.h"

class MediaParentWnd : public SWnd
{
public:
    std::vector<std::string> links;
    std::vector<SMouseNotify> mice;
    int clicks = 0;
    LRESULT linkAnswer = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SWM_MEDIA_LINK)
        {
            links.push_back(reinterpret_cast<const char*>(lParam));
            return linkAnswer;
        }
        if (message == SWM_MEDIA_CLICK)
            clicks++;
        if (message == SWM_MEDIA_MOUSE)
            mice.push_back(*reinterpret_cast<const SMouseNotify*>(lParam));
        return SWnd::WindowProc(message, wParam, lParam);
    }
};

class MediaViewTest : public ::testing::Test
{
protected:
    // A 200 x 100 view without margins, its text at the top left.
    void CreateView(const char* text, bool tags = true)
    {
        RECT r = {40, 40, 440, 340};
        ASSERT_TRUE(parent.Create("Media", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
        view.SetMeasurer(&measurer);
        view.SetTags(tags);
        RECT child = {10, 10, 210, 110};
        ASSERT_TRUE(view.CreateChild(text, WS_VISIBLE, 0, &child, parent.GetHandle()));
        view.SetAlignment(0);
        view.SetMargins(0, 0, 0, 0);
    }

    // The view printed into a memory bitmap; returns the colour at (x, y).
    COLORREF PixelAfterPaint(int x, int y)
    {
        SWindowDCGuard screen(nullptr);
        SMemoryDCGuard memory(screen.Get());
        SGdiObjectGuard<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), 200, 100));
        SSelectGuard select(memory.Get(), bitmap.Get());
        view.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
        return GetPixel(memory.Get(), x, y);
    }

    MediaParentWnd parent;
    SMediaCtrl view;
    FixedMeasurer measurer;
};
