// What the dialog tests share: the DEMO description, streams from text and back,
// a stream that refuses to write past a limit, and an initialised designer.
#pragma once
#include <string>
#include "SDialogCtrl.h"
#include "SMemory.h"

// A dialog with one button, exactly as the writer writes it.
inline const std::string& DemoText()
{
    static const std::string text =
        "KLV DIALOG EDITOR 1.0.0.0\r\n\r\n"
        "[DIALOG]\r\nID=0\r\nNAME=DEMO\r\nCAPTION=Demo dialog\r\nFONT=, 0, 0\r\n"
        "POSITION=0 0 300 90\r\nSTYLE=WS_VISIBLE WS_BORDER WS_CAPTION WS_SYSMENU \r\nEXSTYLE=\r\n"
        "BACKCOLOR=#FF000000\r\nTEXTCOLOR=#FF000000\r\nTRANSPARENT=0\r\nISLOCKED=0\r\n"
        "DIALOG_STATUSBARTEXT=One | Two | Three\r\n\r\n"
        "[BUTTON]\r\nID=1\r\nNAME=OK\r\nCAPTION=OK\r\nFONT=Tahoma, 8, 1\r\nPOSITION=100 50 100 25\r\n"
        "STYLE=WS_VISIBLE BS_LEFT BS_RIGHT BS_CENTER \r\nEXSTYLE=\r\nBACKCOLOR=#FF000000\r\n"
        "TEXTCOLOR=#004080\r\nTRANSPARENT=0\r\nISLOCKED=0\r\nTABENABLED=1\r\nTABGROUP=1\r\n\r\n";
    return text;
}

inline void Fill(SMemory& stream, const std::string& bytes)
{
    stream.SetSize(0);
    stream.SeekToStart();
    if (!bytes.empty())
        stream.Write(bytes.data(), static_cast<int>(bytes.size()));
    stream.SeekToStart();
}

inline std::string Bytes(SMemory& stream)
{
    return stream.GetSize() ? std::string(reinterpret_cast<char*>(stream.GetData()), stream.GetSize()) : "";
}

// Reads bytes into the designer; the stream lives only for the call.
inline bool ReadText(SDialogCtrl& designer, const std::string& bytes)
{
    SMemory stream;
    Fill(stream, bytes);
    return designer.ReadDescription(&stream);
}

// The designer's layout as text; "" when the writer refuses.
inline std::string WriteText(const SDialogCtrl& designer)
{
    SMemory stream;
    return designer.WriteDescription(&stream) ? Bytes(stream) : "";
}

// A stream whose writes stop short after a number of bytes, like a full disk.
class ShortStream : public SMemory
{
public:
    explicit ShortStream(int limit) : limit(limit) {}
    int Write(const void* data, int n) override
    {
        const int room = limit - GetPosition();
        return SMemory::Write(data, n < room ? n : (room > 0 ? room : 0));
    }
    int WriteLine(const char* text) override { return Write(text, static_cast<int>(strlen(text))); }

private:
    int limit;
};

// A designer without a window, ready as its users initialise it, with a client
// area the size a WM_SIZE would give it.
class TestDesigner : public SDialogCtrl
{
public:
    TestDesigner()
    {
        Initialize(true);
        WindowProc(WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600));
    }
};

inline void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A top-level window that counts the SWM_CHANGED its children send it.
class ChangeCounter : public SWnd
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SWM_CHANGED)
            changes++;
        return SWnd::WindowProc(message, wParam, lParam);
    }
    int changes = 0;
};

// Adds a control record to the designer as the reader would.
inline SDialogCtrl::_SCtrl* AddRecord(SDialogCtrl& designer, int type, int id, const char* name,
                                      RECT rect = {10, 10, 160, 160})
{
    SDialogCtrl::_SCtrl record;
    record.SetType(static_cast<short>(type));
    record.SetId(static_cast<short>(id));
    record.SetName(name);
    record.SetPosition(static_cast<short>(rect.left), static_cast<short>(rect.top),
                       static_cast<short>(rect.right - rect.left), static_cast<short>(rect.bottom - rect.top));
    return designer.AddElement(&record, false, true, true);
}
