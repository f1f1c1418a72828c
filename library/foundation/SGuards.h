// Scope guards: every Win32 handle, GDI object, DC, registry key and COM
// pointer the library holds internally is owned by one of these, so early
// returns never leak.
#pragma once
#include "SPlatform.h"
#include <ws2tcpip.h>
#include <objbase.h>
#include <wininet.h>

// A kernel handle closed with CloseHandle (null and INVALID_HANDLE_VALUE are "none").
class SHandleGuard
{
public:
    explicit SHandleGuard(HANDLE h = nullptr) : handle(h) {}
    ~SHandleGuard() { Reset(); }
    SHandleGuard(const SHandleGuard&) = delete;
    SHandleGuard& operator=(const SHandleGuard&) = delete;

    HANDLE Get() const { return handle; }
    bool IsValid() const { return handle && handle != INVALID_HANDLE_VALUE; }
    HANDLE Release() { HANDLE h = handle; handle = nullptr; return h; }
    void Reset(HANDLE h = nullptr)
    {
        if (IsValid())
            CloseHandle(handle);
        handle = h;
    }

private:
    HANDLE handle;
};

// A FindFirstFile search handle.
class SFindGuard
{
public:
    explicit SFindGuard(HANDLE h = INVALID_HANDLE_VALUE) : handle(h) {}
    ~SFindGuard() { if (handle != INVALID_HANDLE_VALUE) FindClose(handle); }
    SFindGuard(const SFindGuard&) = delete;
    SFindGuard& operator=(const SFindGuard&) = delete;
    HANDLE Get() const { return handle; }
    bool IsValid() const { return handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle;
};

// An open registry key.
class SRegKeyGuard
{
public:
    explicit SRegKeyGuard(HKEY k = nullptr) : key(k) {}
    ~SRegKeyGuard() { Reset(); }
    SRegKeyGuard(const SRegKeyGuard&) = delete;
    SRegKeyGuard& operator=(const SRegKeyGuard&) = delete;
    HKEY Get() const { return key; }
    HKEY* Out() { Reset(); return &key; }
    void Reset()
    {
        if (key)
            RegCloseKey(key);
        key = nullptr;
    }

private:
    HKEY key;
};

// A GDI object (pen, brush, font, bitmap, region) deleted with DeleteObject.
template <class T>
class SGdiObjectGuard
{
public:
    explicit SGdiObjectGuard(T object = nullptr) : handle(object) {}
    ~SGdiObjectGuard() { Reset(); }
    SGdiObjectGuard(const SGdiObjectGuard&) = delete;
    SGdiObjectGuard& operator=(const SGdiObjectGuard&) = delete;
    T Get() const { return handle; }
    T Release() { T h = handle; handle = nullptr; return h; }
    void Reset(T object = nullptr)
    {
        if (handle)
            DeleteObject(handle);
        handle = object;
    }

private:
    T handle;
};

// Selects an object into a DC and puts the previous one back on exit.
class SSelectGuard
{
public:
    SSelectGuard(HDC dc, HGDIOBJ object) : dc(dc), previous(object ? SelectObject(dc, object) : nullptr) {}
    ~SSelectGuard() { if (previous) SelectObject(dc, previous); }
    SSelectGuard(const SSelectGuard&) = delete;
    SSelectGuard& operator=(const SSelectGuard&) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};

// A window DC from GetDC, released with ReleaseDC.
class SWindowDCGuard
{
public:
    explicit SWindowDCGuard(HWND wnd) : wnd(wnd), dc(GetDC(wnd)) {}
    ~SWindowDCGuard() { if (dc) ReleaseDC(wnd, dc); }
    SWindowDCGuard(const SWindowDCGuard&) = delete;
    SWindowDCGuard& operator=(const SWindowDCGuard&) = delete;
    HDC Get() const { return dc; }

private:
    HWND wnd;
    HDC dc;
};

// A memory DC from CreateCompatibleDC, deleted with DeleteDC.
class SMemoryDCGuard
{
public:
    explicit SMemoryDCGuard(HDC compatible) : dc(CreateCompatibleDC(compatible)) {}
    ~SMemoryDCGuard() { if (dc) DeleteDC(dc); }
    SMemoryDCGuard(const SMemoryDCGuard&) = delete;
    SMemoryDCGuard& operator=(const SMemoryDCGuard&) = delete;
    HDC Get() const { return dc; }

private:
    HDC dc;
};

// A movable global memory block (clipboard data); freed unless released.
class SGlobalGuard
{
public:
    explicit SGlobalGuard(HGLOBAL block = nullptr) : block(block) {}
    ~SGlobalGuard() { if (block) GlobalFree(block); }
    SGlobalGuard(const SGlobalGuard&) = delete;
    SGlobalGuard& operator=(const SGlobalGuard&) = delete;
    HGLOBAL Get() const { return block; }
    HGLOBAL Release() { HGLOBAL b = block; block = nullptr; return b; }

private:
    HGLOBAL block;
};

// A lock on a global memory block for the guard's lifetime.
class SGlobalLockGuard
{
public:
    explicit SGlobalLockGuard(HGLOBAL block) : block(block), data(block ? GlobalLock(block) : nullptr) {}
    ~SGlobalLockGuard() { if (data) GlobalUnlock(block); }
    SGlobalLockGuard(const SGlobalLockGuard&) = delete;
    SGlobalLockGuard& operator=(const SGlobalLockGuard&) = delete;
    void* Get() const { return data; }
    SIZE_T GetSize() const { return block ? GlobalSize(block) : 0; }

private:
    HGLOBAL block;
    void* data;
};

// A module from LoadLibrary, freed with FreeLibrary.
class SModuleGuard
{
public:
    explicit SModuleGuard(HMODULE module = nullptr) : module(module) {}
    ~SModuleGuard() { Reset(); }
    SModuleGuard(const SModuleGuard&) = delete;
    SModuleGuard& operator=(const SModuleGuard&) = delete;
    HMODULE Get() const { return module; }
    void Reset(HMODULE m = nullptr)
    {
        if (module)
            FreeLibrary(module);
        module = m;
    }

private:
    HMODULE module;
};

// A socket closed with closesocket.
class SSocketGuard
{
public:
    explicit SSocketGuard(SOCKET s = INVALID_SOCKET) : sock(s) {}
    ~SSocketGuard() { Reset(); }
    SSocketGuard(const SSocketGuard&) = delete;
    SSocketGuard& operator=(const SSocketGuard&) = delete;
    SOCKET Get() const { return sock; }
    SOCKET Release() { SOCKET s = sock; sock = INVALID_SOCKET; return s; }
    void Reset(SOCKET s = INVALID_SOCKET)
    {
        if (sock != INVALID_SOCKET)
            closesocket(sock);
        sock = s;
    }

private:
    SOCKET sock;
};

// A COM interface pointer released on exit.
template <class T>
class SComPtr
{
public:
    SComPtr() : ptr(nullptr) {}
    explicit SComPtr(T* p) : ptr(p) {}
    SComPtr(const SComPtr& other) : ptr(other.ptr) { if (ptr) ptr->AddRef(); }
    ~SComPtr() { Reset(); }
    SComPtr& operator=(const SComPtr& other)
    {
        if (other.ptr)
            other.ptr->AddRef();
        Reset();
        ptr = other.ptr;
        return *this;
    }
    T* Get() const { return ptr; }
    T* operator->() const { return ptr; }
    T** Out() { Reset(); return &ptr; }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    explicit operator bool() const { return ptr != nullptr; }
    T* Detach() { T* p = ptr; ptr = nullptr; return p; }
    void Reset()
    {
        if (ptr)
            ptr->Release();
        ptr = nullptr;
    }

private:
    T* ptr;
};

// Holds a critical section for the guard's lifetime.
class SLockGuard
{
public:
    explicit SLockGuard(CRITICAL_SECTION& section) : section(section) { EnterCriticalSection(&section); }
    ~SLockGuard() { LeaveCriticalSection(&section); }
    SLockGuard(const SLockGuard&) = delete;
    SLockGuard& operator=(const SLockGuard&) = delete;

private:
    CRITICAL_SECTION& section;
};

// Owns a critical section for its lifetime (the lock of a shared list).
class SCriticalSection
{
public:
    SCriticalSection() { InitializeCriticalSection(&section); }
    ~SCriticalSection() { DeleteCriticalSection(&section); }
    SCriticalSection(const SCriticalSection&) = delete;
    SCriticalSection& operator=(const SCriticalSection&) = delete;
    CRITICAL_SECTION& Get() { return section; }

private:
    CRITICAL_SECTION section;
};

// A WinINet handle (session or request) closed with InternetCloseHandle.
class SInternetGuard
{
public:
    explicit SInternetGuard(HINTERNET h = nullptr) : handle(h) {}
    ~SInternetGuard() { Reset(); }
    SInternetGuard(const SInternetGuard&) = delete;
    SInternetGuard& operator=(const SInternetGuard&) = delete;
    HINTERNET Get() const { return handle; }
    void Reset(HINTERNET h = nullptr)
    {
        if (handle)
            InternetCloseHandle(handle);
        handle = h;
    }

private:
    HINTERNET handle;
};

// A resolver result list freed with freeaddrinfo.
class SAddrInfoGuard
{
public:
    explicit SAddrInfoGuard(addrinfo* list) : list(list) {}
    ~SAddrInfoGuard() { if (list) freeaddrinfo(list); }
    SAddrInfoGuard(const SAddrInfoGuard&) = delete;
    SAddrInfoGuard& operator=(const SAddrInfoGuard&) = delete;

private:
    addrinfo* list;
};
