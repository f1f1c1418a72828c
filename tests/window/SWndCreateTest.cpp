#include <gtest/gtest.h>
#include "SGlobals.h"
#include "SGuards.h"
#include "SWnd.h"

namespace
{
int RegistryCount()
{
    SLockGuard lock(GetWindowRegistryLock());
    return GetWindowRegistry().GetCount();
}

// A window that refuses its creation.
class RefusingWnd : public SWnd
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SWM_CREATED)
            return 1;
        return SWnd::WindowProc(message, wParam, lParam);
    }
};

// Records the creation parameter and the destruction.
class RecordingWnd : public SWnd
{
public:
    LPARAM createdWith = -1;
    int destroyed = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SWM_CREATED)
            createdWith = lParam;
        if (message == WM_DESTROY)
            destroyed++;
        return SWnd::WindowProc(message, wParam, lParam);
    }
};

bool HasClass(HWND handle, const char* name)
{
    char buffer[64] = {};
    GetClassNameA(handle, buffer, sizeof(buffer));
    return lstrcmpA(buffer, name) == 0;
}
} // namespace

TEST(SWndCreate, CreateUsesPlainClassAndRegistersTheObject)
{
    const int before = RegistryCount();
    RecordingWnd wnd;
    RECT r = {10, 20, 210, 120};
    ASSERT_TRUE(wnd.Create("Plain", WS_OVERLAPPEDWINDOW, 0, &r, nullptr, 0, 77));
    EXPECT_TRUE(HasClass(wnd.GetHandle(), "CLASS_SWND"));
    EXPECT_EQ(77, wnd.createdWith);
    EXPECT_EQ(&wnd, SWnd::FromHandle(wnd.GetHandle()));
    EXPECT_EQ(before + 1, RegistryCount());
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(1, wnd.destroyed);
    EXPECT_EQ(nullptr, wnd.GetHandle());
    EXPECT_EQ(before, RegistryCount());
}

TEST(SWndCreate, NoCloseFlagUsesSecondClass)
{
    SWnd wnd;
    ASSERT_TRUE(wnd.Create("NoClose", WS_OVERLAPPED, 0, nullptr, nullptr, 0, 0, nullptr, true));
    EXPECT_TRUE(HasClass(wnd.GetHandle(), "CLASS_SWND2"));
    EXPECT_TRUE(GetClassLongPtrA(wnd.GetHandle(), GCL_STYLE) & CS_NOCLOSE);
}

TEST(SWndCreate, RefusedCreationLeavesNoWindowAndNoEntry)
{
    const int before = RegistryCount();
    RefusingWnd wnd;
    EXPECT_FALSE(wnd.Create("Refused", WS_OVERLAPPED, 0, nullptr, nullptr));
    EXPECT_EQ(nullptr, wnd.GetHandle());
    EXPECT_EQ(before, RegistryCount());
}
