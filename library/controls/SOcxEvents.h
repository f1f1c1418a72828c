// The event sink of a hosted ActiveX control: a small IDispatch that the
// control calls through its connection point. Each host derives one that
// turns the events it knows into window messages.
#pragma once
#include "SPlatform.h"
#include <ole2.h>

class SOcxEvents : public IDispatch
{
public:
    SOcxEvents();
    virtual ~SOcxEvents();
    SOcxEvents(const SOcxEvents&) = delete;
    SOcxEvents& operator=(const SOcxEvents&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    // The count never deletes the object: its host does.
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // True, with the sink in out (not counted), for the host's event interface.
    virtual bool QueryEventInterface(REFIID iid, void** out);
    // One event; the base ignores it.
    virtual HRESULT OnEvent(DISPID id, DISPPARAMS* params);

    LONG GetReferenceCount() const { return m_references; }

    // Argument readers for the concrete sinks: the arguments of an event come
    // last to first; fromEnd 0 is the last. False when it is missing or of
    // another type.
    static bool GetIntArgument(const DISPPARAMS* params, UINT fromEnd, int* out);
    static bool GetBoolArgument(const DISPPARAMS* params, UINT fromEnd, bool* out);

private:
    volatile LONG m_references;
};
