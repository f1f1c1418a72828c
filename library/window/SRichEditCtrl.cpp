#include "SRichEditCtrl.h"
#include <richedit.h>
#include "SNativeCtrl.h"
#include "SVirtualFile.h"

namespace
{
// A failed read answers an error, which ends the load and reaches dwError.
DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* got)
{
    SVirtualFile* stream = reinterpret_cast<SVirtualFile*>(cookie);
    const int n = stream->Read(buffer, wanted);
    *got = n < 0 ? 0 : n;
    return n < 0 ? 1 : 0;
}

LONG ToTwips(LONG pixels, int dotsPerInch)
{
    return dotsPerInch > 0 ? MulDiv(pixels, 1440, dotsPerInch) : pixels;
}
} // namespace

SRichEditCtrl::SRichEditCtrl()
{
    SetTypeId(STYPE_RICHEDIT);
}

SRichEditCtrl::~SRichEditCtrl() = default;

bool SRichEditCtrl::Create(const char* text, DWORD style, DWORD exStyle, const RECT* rect,
                           HWND parent, UINT_PTR id, LPARAM param)
{
    return SNativeCtrl::Create(this, "RichEdit20A", text, style, ES_MULTILINE, exStyle, rect, parent,
                               id, param);
}

bool SRichEditCtrl::LoadStream(SVirtualFile* stream, bool rtf)
{
    if (!stream || !m_handle)
        return false;
    const int position = stream->GetPosition();
    stream->Seek(0);
    SetWindowText("");
    EDITSTREAM edit = {};
    edit.dwCookie = reinterpret_cast<DWORD_PTR>(stream);
    edit.pfnCallback = ReadStream;
    RichEditStreamIn(rtf ? SF_RTF : SF_TEXT, &edit);
    stream->Seek(position);
    return edit.dwError == 0;
}

void SRichEditCtrl::PrintInto(HDC dc)
{
    RECT client = {};
    GetClientRect(&client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    RECT area = {};
    SendMessage(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    HDC screen = ::GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    FORMATRANGE range = {};
    range.hdc = dc;
    range.hdcTarget = dc;
    range.rc = {ToTwips(area.left, dpi), ToTwips(area.top, dpi), ToTwips(area.right, dpi),
                ToTwips(area.bottom, dpi)};
    range.rcPage = range.rc;
    range.chrg.cpMin = 0;
    range.chrg.cpMax = -1;
    RichEditFormatRange(false, reinterpret_cast<LPARAM>(&range));
    RichEditFormatRange(false, 0); // frees the control's cached data
}

LRESULT SRichEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PRINTCLIENT && wParam)
        PrintInto(reinterpret_cast<HDC>(wParam));
    return SNativeCtrl::RelayAndHandle(this, SWM_RICHEDIT_MOUSE, message, wParam, lParam);
}
