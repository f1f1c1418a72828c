// Pictures made at run time: a splash at start, a window framed by a nine-slice
// skin, the water effect on a generated picture, a right-click menu whose items
// carry pictures, and a tray icon. Everything is drawn by the program itself.
#include "SPlatform.h"
#include <mmsystem.h>
#include <vector>
#include "SImage.h"
#include "SImageList.h"
#include "SImageWater.h"
#include "SLibrary.h"
#include "SMenu.h"
#include "SSplash.h"
#include "STrayIcon.h"
#include "SWnd.h"

namespace
{
const int WATER_WIDTH = 320;
const int WATER_HEIGHT = 200;
const UINT_PTR WATER_TIMER = 1;

enum Command
{
    CMD_RIPPLE = 1001,
    CMD_SPLASH = 1002,
    CMD_TRAY = 1003,
    CMD_LIGHT = 1004,
    CMD_EXIT = 1005
};

Gdiplus::ARGB Opaque(int r, int g, int b)
{
    return 0xFF000000u | (static_cast<DWORD>(r & 255) << 16) | (static_cast<DWORD>(g & 255) << 8) |
           static_cast<DWORD>(b & 255);
}

// A sunset gradient crossed by stripes, as ARGB pixels row by row.
std::vector<Gdiplus::ARGB> MakeScene(int width, int height)
{
    std::vector<Gdiplus::ARGB> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; y++)
    {
        for (int x = 0; x < width; x++)
        {
            const bool stripe = ((x + y) / 16) % 2 == 0;
            const int r = 255 - y * 160 / height, g = 80 + x * 120 / width;
            const int b = 60 + y * 190 / height;
            const Gdiplus::ARGB shade = stripe ? Opaque(r, g, b) : Opaque(r / 2, g / 2, b);
            pixels[static_cast<size_t>(y) * width + x] = shade;
        }
    }
    return pixels;
}

// A 48 x 48 frame: dark rim, lighter corners, pale centre; margins (16, 16, 32, 32).
void MakeSkin(SImage& skin)
{
    std::vector<Gdiplus::ARGB> pixels(48 * 48);
    for (int y = 0; y < 48; y++)
    {
        for (int x = 0; x < 48; x++)
        {
            const bool rimX = x < 16 || x >= 32, rimY = y < 16 || y >= 32;
            Gdiplus::ARGB c = Opaque(236, 240, 248);
            if (rimX && rimY)
                c = Opaque(40, 90, 160);
            else if (rimX || rimY)
                c = ((x + y) % 8 < 4) ? Opaque(30, 50, 90) : Opaque(50, 70, 120);
            pixels[y * 48 + x] = c;
        }
    }
    LoadImageFromPixelArray(&skin, pixels.data(), 48, 48);
}

// Four 16 x 16 cells side by side, one colour each, for the menu's pictures.
void MakeIcons(SImageList& list)
{
    const Gdiplus::ARGB colors[] = {Opaque(0, 120, 255), Opaque(255, 170, 0), Opaque(0, 170, 80),
                                    Opaque(200, 30, 30)};
    std::vector<Gdiplus::ARGB> strip(64 * 16);
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 64; x++)
            strip[y * 64 + x] = (x % 16 < 2 || x % 16 > 13 || y < 2 || y > 13) ? Opaque(20, 20, 20)
                                                                                : colors[x / 16];
    SImage image;
    LoadImageFromPixelArray(&image, strip.data(), 64, 16);
    list.CreateFromStrip(&image, 16, 16);
}

// Shows the water refraction of the scene; each timer tick draws one step.
class WaterWnd : public SWnd
{
public:
    bool Open(HWND parent, int x, int y)
    {
        m_scene = MakeScene(WATER_WIDTH, WATER_HEIGHT);
        m_frame.assign(m_scene.begin(), m_scene.end());
        m_picture.Create(WATER_WIDTH, WATER_HEIGHT, PixelFormat32bppRGB);
        m_water.Create(WATER_WIDTH, WATER_HEIGHT);
        RECT r = {x, y, x + WATER_WIDTH, y + WATER_HEIGHT};
        if (!CreateChild("", WS_VISIBLE, 0, &r, parent))
            return false;
        SetTimer(WATER_TIMER, 30);
        return true;
    }
    void Ripple(int x, int y) { m_water.Disturb(x, y, 6, 400); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message)
        {
        case WM_TIMER:
            if (wParam == WATER_TIMER)
            {
                Animate();
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
            Ripple(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            break;
        case WM_ERASEBKGND:
        {
            HDC dc = reinterpret_cast<HDC>(lParam ? lParam : wParam);
            Gdiplus::Graphics graphics(dc);
            m_picture.DrawAt(&graphics, 0, 0);
            break;
        }
        default:
            break;
        }
        return SWnd::WindowProc(message, wParam, lParam);
    }

private:
    void Animate()
    {
        // A drop now and then keeps the surface moving.
        if (++m_ticks % 40 == 0)
            m_water.Disturb(-1, -1, 4, 300);
        m_water.Animate(reinterpret_cast<const DWORD*>(m_scene.data()),
                        reinterpret_cast<DWORD*>(m_frame.data()));
        m_picture.SetPixels(m_frame.data());
        InvalidateRect(nullptr, true);
    }

    std::vector<Gdiplus::ARGB> m_scene;
    std::vector<Gdiplus::ARGB> m_frame;
    SImage m_picture;
    SImageWater m_water;
    int m_ticks = 0;
};

class PicturesWnd : public SWnd
{
public:
    bool Open()
    {
        RECT r = {160, 120, 160 + WATER_WIDTH + 80, 120 + WATER_HEIGHT + 110};
        if (!Create("Pictures made at run time", WS_OVERLAPPEDWINDOW, 0, &r, nullptr))
            return false;
        SImage skin;
        MakeSkin(skin);
        const RECT margins = {16, 16, 32, 32};
        SetBackgroundImage(skin.GetBitmap(), COLOR_NONE, SImage::DRAW_TILE, &margins, false);
        if (!m_water.Open(GetHandle(), 40, 40))
            return false;
        MakeIcons(m_icons);
        BuildMenu();
        m_tray.Create(LoadIcon(nullptr, IDI_APPLICATION), "Pictures: double-click to show",
                      GetHandle());
        ShowWindow(SW_SHOW);
        return true;
    }
    void ShowSplash(int duration)
    {
        if (!m_splashPicture.IsLoaded())
        {
            const std::vector<Gdiplus::ARGB> scene = MakeScene(360, 140);
            LoadImageFromPixelArray(&m_splashPicture, scene.data(), 360, 140);
        }
        m_splash.SetImage(&m_splashPicture);
        m_splash.SetDuration(duration);
        m_splash.SetCloseOnClick(true);
        m_splash.Show(this);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message)
        {
        case WM_RBUTTONUP:
            m_menu.TrackAtCursor(TPM_RIGHTBUTTON);
            return 0;
        case WM_SIZE:
            RedrawWindow();
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            break;
        default:
            if (message == SWM_MENUCOMMAND)
            {
                RunCommand(static_cast<int>(lParam));
                return 0;
            }
            if (message == SWM_TRAY_MOUSE)
            {
                OnTrayMouse(reinterpret_cast<const SMouseNotify*>(lParam)->code);
                return 0;
            }
            break;
        }
        return SWnd::WindowProc(message, wParam, lParam);
    }

private:
    void BuildMenu()
    {
        m_menu.Create(GetHandle());
        m_menu.SetImageList(&m_icons);
        m_menu.InsertItem(CMD_RIPPLE, "Drop a stone", 0);
        m_menu.InsertItem(CMD_SPLASH, "Show the splash", 1);
        m_menu.InsertItem(CMD_TRAY, "Hide to the tray", 2);
        m_menu.InsertItem(CMD_LIGHT, "Lit water", -1);
        m_menu.CheckItem(CMD_LIGHT, true);
        m_menu.EnableItem(CMD_LIGHT, false);
        m_menu.InsertSeparator();
        m_menu.InsertItem(CMD_EXIT, "Exit", 3);
    }
    void RunCommand(int id)
    {
        switch (id)
        {
        case CMD_RIPPLE: m_water.Ripple(WATER_WIDTH / 2, WATER_HEIGHT / 2); break;
        case CMD_SPLASH: ShowSplash(2000); break;
        case CMD_TRAY: ShowWindow(SW_HIDE); break;
        case CMD_EXIT: Close(); break;
        default: break;
        }
    }
    void OnTrayMouse(int code)
    {
        if (code == (SMouseNotify::LEFT | SMouseNotify::DOUBLE))
        {
            ShowWindow(SW_SHOW);
            SetForegroundWindow();
        }
        else if (code == (SMouseNotify::RIGHT | SMouseNotify::UP))
        {
            POINT cursor = {};
            GetCursorPos(&cursor);
            m_menu.TrackEx(this, cursor.x, cursor.y, TPM_RIGHTBUTTON);
        }
    }

    WaterWnd m_water;
    SImageList m_icons;
    SMenu m_menu;
    STrayIcon m_tray;
    SImage m_splashPicture;
    SSplash m_splash;
};
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InitLibrary(instance, false);
    StartupGdiplus();
    {
        PicturesWnd window;
        if (window.Open())
        {
            window.ShowSplash(2500);
            bool blocking = true;
            RunMessageLoop(&blocking, nullptr, 0);
        }
    }
    ShutdownGdiplus();
    ShutdownLibrary(instance, false);
    return 0;
}
