#include "FakeBrowser.h"

HRESULT STDMETHODCALLTYPE FakeBrowser::Navigate(BSTR address, VARIANT* flagsArgument, VARIANT*, VARIANT*, VARIANT*)
{
    navigateCalls++;
    url = address ? address : L"";
    flagsType = flagsArgument ? V_VT(flagsArgument) : static_cast<VARTYPE>(VT_EMPTY);
    flags = flagsArgument && (flagsType == VT_INT || flagsType == VT_I4) ? V_I4(flagsArgument) : -1;
    return S_OK;
}

bool FakeBrowser::FireBeforeNavigate(const wchar_t* address, VARIANT_BOOL* cancel)
{
    VARIANT inner;
    VariantInit(&inner);
    V_VT(&inner) = VT_BSTR;
    V_BSTR(&inner) = SysAllocString(address);
    VARIANT arguments[7];
    for (VARIANT& v : arguments)
        VariantInit(&v);
    // Last first: Cancel, Headers, PostData, TargetFrameName, Flags, URL, pDisp.
    V_VT(&arguments[0]) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&arguments[0]) = cancel;
    V_VT(&arguments[5]) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&arguments[5]) = &inner;
    const HRESULT hr = Events().Fire(250, arguments, 7);
    VariantClear(&inner);
    return hr == S_OK;
}

HRESULT FakeBrowser::FireProgress(int progress, int maximum)
{
    VARIANT arguments[2];
    VariantInit(&arguments[0]);
    VariantInit(&arguments[1]);
    V_VT(&arguments[1]) = VT_I4;
    V_I4(&arguments[1]) = progress;
    V_VT(&arguments[0]) = VT_I4;
    V_I4(&arguments[0]) = maximum;
    return Events().Fire(108, arguments, 2);
}
