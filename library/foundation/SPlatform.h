// The one way into the Windows headers. winsock2.h must come before windows.h,
// which would otherwise pull in the old winsock.h. The target version is given
// once, on the compiler's command line, because the C runtime headers pick a
// default of their own as soon as any of them is included.
#pragma once
#if !defined(_WIN32_WINNT) || _WIN32_WINNT != 0x0601 || !defined(NOMINMAX)
#error "build with _WIN32_WINNT=0x0601 and NOMINMAX, as the project's CMake does"
#endif
#include <winsock2.h>
#include <windows.h>
