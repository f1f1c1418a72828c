#include "PWndApp.h"
#include <memory>
#include "PWndBook.h"
#include "PWndDescription.h"
#include "PWndHelp.h"

const char* const PWndApp::VERSION = "1.1.0";

namespace
{
int AskWithMessageBox(HWND owner, const char* text, const char* caption, UINT style)
{
    return MessageBoxA(owner, text, caption, style);
}

bool MailWithMapi(SNetwork& network, const char* subject, const char* attachment)
{
    return network.SendMail("", subject, "", attachment);
}

int RunWindowModally(SWnd* window)
{
    return window->DoModal();
}

bool ChooseWithOpenFileDialog(HWND owner, const char* filter, SString* chosen)
{
    SSelector selector(owner);
    SArrayString filters;
    filters.Add(filter);
    if (!selector.GetOpenFileName(&filters, SSelector::OPEN_FILE_FLAGS, nullptr, nullptr, 0))
        return false;
    *chosen = selector.GetFileName(0);
    return chosen->GetLength() > 0;
}

PWndApp::QuestionFunction s_question = AskWithMessageBox;
PWndApp::MailFunction s_mail = MailWithMapi;
PWndApp::ModalFunction s_modal = RunWindowModally;
PWndApp::FileChoiceFunction s_fileChoice = ChooseWithOpenFileDialog;
}

void PWndApp::SetModalFunction(ModalFunction function)
{
    s_modal = function ? function : RunWindowModally;
}

void PWndApp::SetFileChoiceFunction(FileChoiceFunction function)
{
    s_fileChoice = function ? function : ChooseWithOpenFileDialog;
}

int PWndApp::RunModal(SWnd& window)
{
    return s_modal(&window);
}

bool PWndApp::ChooseFile(const char* filter, SString* chosen) const
{
    return s_fileChoice(m_handle, filter, chosen);
}

void PWndApp::SetQuestionFunction(QuestionFunction function)
{
    s_question = function ? function : AskWithMessageBox;
}

void PWndApp::SetMailFunction(MailFunction function)
{
    s_mail = function ? function : MailWithMapi;
}

int PWndApp::AskQuestion(HWND owner, const char* text, const char* caption, UINT style)
{
    return s_question(owner, text, caption, style);
}

int PWndApp::Ask(const char* text, const char* caption, UINT style) const
{
    return AskQuestion(m_handle, text, caption, style);
}

bool PWndApp::Mail(const char* subject, const char* attachment)
{
    return s_mail(m_network, subject, attachment);
}

PWndApp::PWndApp()
    : m_repeat(false), m_shutdown(false), m_queueIndex(-1), m_remotePicture(""), m_shownRemoteItem(-1),
      m_remoteShown(false), m_disconnecting(false),
      m_lastDownloadStop(0), m_book(nullptr), m_description(nullptr), m_help(nullptr), m_autoHideAfterPlay(false),
      m_totalSongs(0), m_totalVideos(0), m_totalRadios(0), m_preferencesRequests(0)
{
}

PWndApp::~PWndApp()
{
    delete m_book;
    delete m_description;
    delete m_help;
    m_book = nullptr;
    m_description = nullptr;
    m_help = nullptr;
    // The worker threads end before the windows they report to.
    m_serverThread.Stop();
    m_downloadThread.Stop();
    // A window destroyed while connected leaves the welcome page's picture behind.
    if (m_remotePicture.GetLength() > 0)
        m_disk.DeleteFile(m_remotePicture.GetText());
    DestroyWindow();
}

LRESULT PWndApp::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        if (!OnCreated())
            return -1;
        break;
    case WM_SIZE:
        LayoutStatusBar();
        break;
    case WM_SETFOCUS:
        OnSetFocus();
        break;
    case WM_TIMER:
        if (wParam == WATER_TIMER)
            OnWaterTimer();
        else if (wParam == CATCHUP_TIMER)
            m_client.CatchUp(0);
        break;
    case WM_CLOSE:
        if (OnClose() != 0)
            return -1;
        break;
    case WM_QUERYENDSESSION:
        SavePlacements();
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    case SWM_TRAY_MOUSE:
        OnTrayMouse(reinterpret_cast<const SMouseNotify*>(lParam));
        break;
    case SWM_MENUCOMMAND:
    case SWM_TOOLBAR_COMMAND:
        OnCommand(static_cast<int>(lParam));
        break;
    case WM_KEYDOWN:
    case SWM_CHILDKEYDOWN:
        OnKey(wParam);
        break;
    case SWM_LIST_KEYDOWN:
    case SWM_LIST_MOUSE:
    case SWM_LIST_SELCHANGE:
    case SWM_LIST_DBLCLK:
        OnListNotify(message, wParam, lParam);
        break;
    case SWM_SLIDER_CHANGED:
        if (reinterpret_cast<SWnd*>(wParam) == &m_volumeSlider)
            m_player.SetVolume((50 - m_volumeSlider.GetPos()) * 100 / 50);
        break;
    case SWM_MEDIA_LINK:
        if (lParam)
            m_pageBrowser.Navigate(reinterpret_cast<const char*>(lParam), nullptr);
        return -1;
    case SWM_BROWSER_BEFORENAVIGATE:
        if (OnBeforeNavigate(reinterpret_cast<const char*>(lParam)) != 0)
            return -1;
        break;
    case SWM_CHANGED:
        if (reinterpret_cast<SWnd*>(wParam) == &m_notesEditor && IsLocal())
            SaveNotes();
        break;
    case SWM_REMOTECONTROL:
        OnRemoteControl(wParam, lParam);
        break;
    case PWM_COMMAND104:
    {
        const std::unique_ptr<char[]> text(reinterpret_cast<char*>(wParam));
        PlayFromPeer(text.get());
        break;
    }
    case PWM_SHARINGFAILED:
        OnSharingFailed(static_cast<int>(wParam));
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
