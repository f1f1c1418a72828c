// What the benchmarks that build main windows in their own process share
// (their entry is ProgramBenchMain.cpp).
#pragma once
#include "SPlatform.h"
#include <cstdio>
#include <memory>
#include <string>
#include "MessagePump.h"
#include "PSettings.h"
#include "PWndApp.h"

using testsupport::PumpUntilIdle;

// The host's load averages as Wine shows its /proc, beside the figures: on a
// shared machine they tell how far to trust them.
inline std::string LoadText()
{
    char text[64] = "load unknown";
    if (FILE* file = std::fopen("Z:\\proc\\loadavg", "r"))
    {
        float one = 0, five = 0;
        if (std::fscanf(file, "%f %f", &one, &five) == 2)
            std::snprintf(text, sizeof(text), "load %.1f (5 min %.1f)", one, five);
        std::fclose(file);
    }
    return text;
}

// The main window over a library, made without a splash to wait for, and when
// shown, idle; at the end it is destroyed and the settings' folder put back.
class ProgramWindow
{
public:
    ProgramWindow(const std::string& root, bool shown) : m_previous(PSettings().GetText("Folder"))
    {
        PWndApp::SetSplashTime(0);
        PSettings().SetText("Folder", root.c_str());
        m_app.reset(new PWndApp());
        m_app->Create("KLV Sonavel bench", WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr);
        if (shown)
        {
            m_app->ShowWindow(SW_SHOW);
            PumpUntilIdle();
        }
    }
    ~ProgramWindow()
    {
        m_app->DestroyWindow();
        PumpUntilIdle();
        m_app.reset();
        PSettings().SetText("Folder", m_previous.GetText());
        PWndApp::SetSplashTime(2000);
    }
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;

    PWndApp& App() const { return *m_app; }

private:
    const SString m_previous;
    std::unique_ptr<PWndApp> m_app;
};
