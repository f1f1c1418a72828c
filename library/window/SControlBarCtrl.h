// The native rebar: bands that hold child windows such as tool bars; the tool
// bar commands of its bands go on to its own parent.
#pragma once
#include "SWnd.h"

struct _IMAGELIST;

class SControlBarCtrl : public SWnd
{
public:
    SControlBarCtrl();
    ~SControlBarCtrl() override;

    bool Create(DWORD style, DWORD exStyle, HWND parent, UINT_PTR id = 0);
    // width -1: no width of its own.
    bool InsertBand(SWnd* child, int index, int minWidth, int height, int width = -1,
                    bool lineBreak = false, const char* title = nullptr, UINT extraStyle = 0);
    bool DeleteBand(int i);
    int GetBandCount() const;
    bool ShowBand(int i, bool show);
    bool SetBarInfo(UINT mask, _IMAGELIST* imageList);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void DeleteAllBands();
};
