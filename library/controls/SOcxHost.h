// What both ActiveX hosts hold and do alike: "atl.dll" with its
// AtlAxAttachControl, the control's connection point, the event sink and the
// advise cookie; the steps of creating, connecting, attaching and releasing.
#pragma once
#include "SPlatform.h"
#include <ole2.h>
#include <ocidl.h>
#include "SDll.h"
#include "SOcxEvents.h"

class SOcxHost
{
public:
    typedef HRESULT(WINAPI* AttachFunction)(IUnknown* control, HWND window, IUnknown** container);

    SOcxHost();
    ~SOcxHost();
    SOcxHost(const SOcxHost&) = delete;
    SOcxHost& operator=(const SOcxHost&) = delete;

    // Loads "atl.dll" and looks up AtlAxAttachControl; false when either fails.
    bool LoadAttachFunction();
    // CoCreateInstance in process of the class for the interface.
    static bool CreateControl(REFCLSID classId, REFIID iid, void** out);
    // Connects the sink (new, owned from here on, even on failure) to the
    // control's connection point for the event interface. A control without a
    // container or without that point fails: a host must not run deaf.
    bool Connect(IUnknown* control, REFIID events, SOcxEvents* sink);
    // AtlAxAttachControl of the control to the window; true on S_OK.
    bool Attach(IUnknown* control, HWND window);
    // Lets go of the attach's container, unadvises, drops the connection
    // point and deletes the sink.
    void Disconnect();
    // Forgets AtlAxAttachControl and frees "atl.dll".
    void Unload();

    SOcxEvents* GetSink() const { return m_sink; }
    bool IsConnected() const { return m_point != nullptr; }

private:
    SDll m_atl;
    AttachFunction m_attach;
    IConnectionPoint* m_point;
    SOcxEvents* m_sink;
    DWORD m_cookie;
    IUnknown* m_container;
};
