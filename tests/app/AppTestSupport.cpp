#include "AppTestSupport.h"
#include <cstdlib>
#include <shlobj.h>
#include "MessagePump.h"
#include "PSettings.h"
#include "SClipboard.h"
#include "SLibrary.h"
#include "SMemory.h"
#include "SRegistry.h"
#include "TestProcess.h"

namespace apptest
{
void Pump(int ms)
{
    const DWORD start = GetTickCount();
    do
    {
        testsupport::PumpUntilIdle();
        Sleep(5);
    } while (static_cast<int>(GetTickCount() - start) < ms);
}

SettingsKey::SettingsKey()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, PSettings::KEY);
}

SettingsKey::~SettingsKey()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, PSettings::KEY);
}

void SettingsKey::SetText(const char* name, const std::string& text) const
{
    SRegistry().SetString(HKEY_CURRENT_USER, PSettings::KEY, name, text.c_str());
}

void SettingsKey::SetNumber(const char* name, DWORD value) const
{
    SRegistry().SetInt(HKEY_CURRENT_USER, PSettings::KEY, name, value);
}

std::string SettingsKey::GetText(const char* name) const
{
    return SRegistry().GetString(HKEY_CURRENT_USER, PSettings::KEY, name).GetText();
}

int SettingsKey::GetNumber(const char* name) const
{
    return SRegistry().GetInt(HKEY_CURRENT_USER, PSettings::KEY, name);
}

bool SettingsKey::Has(const char* name) const
{
    return RegGetValueA(HKEY_CURRENT_USER, PSettings::KEY, name, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

bool TempFolder::WriteFile(const std::string& relative, const std::string& text) const
{
    const std::string path = Path() + relative;
    const size_t slash = path.find_last_of('\\');
    SHCreateDirectoryExA(nullptr, path.substr(0, slash).c_str(), nullptr);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return written == text.size();
}

std::string ReadWhole(const std::string& path)
{
    SMemory content;
    if (!content.LoadFromFile(path.c_str()))
        return "<missing>";
    return std::string(reinterpret_cast<const char*>(content.GetData()), content.GetSize());
}

std::string FileUrl(const std::string& path)
{
    std::string url = "file:///";
    for (const char c : path)
        url += c == '\\' ? std::string("/") : c == ' ' ? std::string("%20") : std::string(1, c);
    return url;
}

std::string ProgramPath()
{
    return std::string(GetProgramFolder().GetText()) + "..\\app\\KLV Sonavel.exe";
}

RunningProgram::~RunningProgram()
{
    if (!m_info.hProcess)
        return;
    if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT)
    {
        HWND window = MainWindow();
        if (window)
            PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(m_info.hProcess, 20000) == WAIT_TIMEOUT)
            TerminateProcess(m_info.hProcess, 1);
    }
    CloseHandle(m_info.hProcess);
    CloseHandle(m_info.hThread);
}

bool RunningProgram::Start(const std::string& arguments, const std::string& program)
{
    // A handle left by an earlier run must not pass for this one's.
    SClipboard().SetText("");
    return testsupport::StartProcess(program.empty() ? ProgramPath() : program, arguments, &m_info);
}

namespace
{
struct WindowSearch
{
    DWORD processId;
    HWND main;
    int otherVisible;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId)
        return TRUE;
    char title[64] = {};
    GetWindowTextA(window, title, sizeof(title));
    if (std::string(title) == "KLV Sonavel" && (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION))
        search->main = window;
    else if (IsWindowVisible(window))
        ++search->otherVisible;
    return TRUE;
}

WindowSearch Search(DWORD processId)
{
    WindowSearch search = {processId, nullptr, 0};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search;
}
}

HWND RunningProgram::MainWindow() const
{
    return Search(m_info.dwProcessId).main;
}

int RunningProgram::CountOtherVisibleWindows() const
{
    return Search(m_info.dwProcessId).otherVisible;
}

HWND RunningProgram::WaitReady(DWORD timeout)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeout)
    {
        if (WaitForSingleObject(m_info.hProcess, 0) != WAIT_TIMEOUT)
            return nullptr;
        const WindowSearch search = Search(m_info.dwProcessId);
        const std::string handle =
            std::to_string(static_cast<unsigned long long>(reinterpret_cast<LONG_PTR>(search.main)));
        if (search.main && search.otherVisible == 0 && SClipboard().GetText() == handle.c_str())
        {
            Sleep(300);  // WinMain shows the window after its creation returned
            return search.main;
        }
        Sleep(50);
    }
    return nullptr;
}

int RunningProgram::WaitExit(DWORD timeout)
{
    if (WaitForSingleObject(m_info.hProcess, timeout) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_info.hProcess, &code);
    return static_cast<int>(code);
}

RegisteredPlayer::RegisteredPlayer()
    : m_fake(new FakeMediaPlayer),
      m_registration(new FakeClassRegistration(CLSID_WindowsMediaPlayer, static_cast<IWMPPlayer4*>(m_fake)))
{
}

RegisteredPlayer::~RegisteredPlayer()
{
    m_registration.reset();
    m_fake->Release();
}

void RegisteredPlayer::EndMedia()
{
    m_fake->FirePlayState(wmppsMediaEnded);
    Pump(50);
}

AppWindow::AppWindow() : m_app(new PWndApp())
{
    // The splash's fixed wait tells a test nothing; the real program keeps it.
    PWndApp::SetSplashTime(0);
    m_app->Create("KLV Sonavel test", WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr);
    PWndApp::SetSplashTime(2000);
    Pump(50);
}

AppWindow::~AppWindow()
{
    Destroy();
}

void AppWindow::Destroy()
{
    if (!m_app)
        return;
    m_app->DestroyWindow();
    m_app.reset();
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
    {
    }
}

namespace
{
std::vector<std::string> g_texts, g_captions;
int g_answer = IDOK;

int RecordQuestion(HWND, const char* text, const char* caption, UINT)
{
    g_texts.push_back(text ? text : "");
    g_captions.push_back(caption ? caption : "");
    return g_answer;
}
}

QuestionRecorder::QuestionRecorder(int answer)
{
    Clear();
    g_answer = answer;
    PWndApp::SetQuestionFunction(RecordQuestion);
}

QuestionRecorder::~QuestionRecorder()
{
    PWndApp::SetQuestionFunction(nullptr);
}

const std::vector<std::string>& QuestionRecorder::Texts() const
{
    return g_texts;
}

const std::vector<std::string>& QuestionRecorder::Captions() const
{
    return g_captions;
}

void QuestionRecorder::Clear()
{
    g_texts.clear();
    g_captions.clear();
}

std::string BandedPicture(int format)
{
    SImage picture;
    if (!picture.Create(300, 200, format == SImage::FORMAT_JPEG ? PixelFormat24bppRGB : PixelFormat32bppARGB) ||
        !picture.Clear(RGB(255, 0, 0)))
        return "";
    const Gdiplus::Rect green(50, 0, 100, 200), blue(150, 0, 100, 200);
    picture.FillRectangle(&green, 0xFF00FF00);
    picture.FillRectangle(&blue, 0xFF0000FF);
    SMemory bytes;
    if (!picture.Save(format, &bytes))
        return "";
    return std::string(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetSize());
}

bool NearColor(Gdiplus::ARGB pixel, Gdiplus::ARGB expected)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((expected >> shift) & 0xFF)) > 8)
            return false;
    return true;
}
}
