// A rich edit on the native "RichEdit20A" class that loads its text from a library
// stream, as plain text or RTF, and prints itself into a given context.
#pragma once
#include "SWnd.h"

class SVirtualFile;

class SRichEditCtrl : public SWnd
{
public:
    SRichEditCtrl();
    ~SRichEditCtrl() override;

    bool Create(const char* text, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                UINT_PTR id = 0, LPARAM param = 0);
    // The whole stream from its start; its position is left where it was. False
    // for no stream, or when the control or the stream reports an error.
    bool LoadStream(SVirtualFile* stream, bool rtf);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PrintInto(HDC dc);
};
