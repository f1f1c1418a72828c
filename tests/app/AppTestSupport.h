// What the app tests share: the settings key reset around a test, temporary
// library folders, the real program started as a child process, and a main
// window built in the test's own process.
#pragma once
#include "SPlatform.h"
#include <memory>
#include <string>
#include <vector>
#include "FakeMediaPlayer.h"
#include "PWndApp.h"
#include "TestFolder.h"

namespace apptest
{
// Runs the thread's pending messages for about ms milliseconds.
void Pump(int ms);

// The settings key, emptied when made and removed again afterwards.
class SettingsKey
{
public:
    SettingsKey();
    ~SettingsKey();
    void SetText(const char* name, const std::string& text) const;
    void SetNumber(const char* name, DWORD value) const;
    std::string GetText(const char* name) const;
    int GetNumber(const char* name) const;
    bool Has(const char* name) const;
};

// A fresh folder under the temporary folder, removed with everything in it.
class TempFolder : public testsupport::TestFolder
{
public:
    TempFolder() : TestFolder("sonavel app ") {}
    bool WriteFile(const std::string& relative, const std::string& text) const;
};

// A file's whole content, "<missing>" when it cannot be read.
std::string ReadWhole(const std::string& path);

// A local path as a browser reports it: "file:///", forward slashes, blanks escaped.
std::string FileUrl(const std::string& path);

// The program file built beside the suite.
std::string ProgramPath();

// KLV Sonavel started as a child process.
class RunningProgram
{
public:
    ~RunningProgram();
    // The program built beside the suite, or a copy of it named by path.
    bool Start(const std::string& arguments, const std::string& program = "");
    // The program's main window, once start-up has finished (its handle on the
    // clipboard and its taskbar strip hidden again); null after the time-out.
    HWND WaitReady(DWORD timeout = 60000);
    // The exit code, or -1 when the process did not end in time.
    int WaitExit(DWORD timeout = 60000);
    DWORD ProcessId() const { return m_info.dwProcessId; }
    HWND MainWindow() const;
    // Visible top-level windows of the process other than the main window.
    int CountOtherVisibleWindows() const;

private:
    PROCESS_INFORMATION m_info = {};
};

// The player's stand-in, handed out for the media player's class id while it
// lives: it opens every file, reports the position it is given and ends a file
// on command. Made before the main window, so that it outlives the window.
class RegisteredPlayer
{
public:
    RegisteredPlayer();
    ~RegisteredPlayer();
    FakeMediaPlayer& Fake() { return *m_fake; }
    // Ends the open file as the control does, and runs what that causes.
    void EndMedia();

private:
    FakeMediaPlayer* m_fake;
    std::unique_ptr<FakeClassRegistration> m_registration;
};

// While it lives, the main window's questions and messages are answered
// without a box: each text is kept and the given answer returned.
class QuestionRecorder
{
public:
    explicit QuestionRecorder(int answer = IDOK);
    ~QuestionRecorder();
    // The texts asked so far, and the captions.
    const std::vector<std::string>& Texts() const;
    const std::vector<std::string>& Captions() const;
    void Clear();
};

// A 300 x 200 picture in four upright bands: red for x below 50, green to 150,
// blue to 250, red again; its centred square is half green, half blue.
// format as SImage::SaveFormat.
std::string BandedPicture(int format);

// Within a few steps on each channel: JPEG and stretching keep a flat colour
// only nearly.
bool NearColor(Gdiplus::ARGB pixel, Gdiplus::ARGB expected);

// A main window made in this process, as WinMain makes it (not shown).
class AppWindow
{
public:
    AppWindow();
    ~AppWindow();
    PWndApp& App() { return *m_app; }
    HWND Handle() const { return m_app->GetHandle(); }
    // Destroys the window; its WM_QUIT is taken off the queue again.
    void Destroy();

private:
    std::unique_ptr<PWndApp> m_app;
};
}
