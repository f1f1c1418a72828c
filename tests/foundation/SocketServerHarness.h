// A recording SSocketServer run in its own SThread, as the application runs
// it, with a few requests that exercise its replies. Clients run on the test
// thread.
#pragma once
#include "SSocketClient.h"
#include "SSocketServer.h"
#include "SThread.h"
#include "SocketTestSupport.h"
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Requests understood by the recording server (name: text):
// Each text request is recorded with the first 64 characters of its text.
//   "echo": the text back as a string packet ("echo failed N" is recorded when
//           SendText refuses it); "patient": the same with a 30 s time-out
//   "data": a sized transfer of N bytes (N the text), byte i = i % 251
//   "file": path|offset, the file from the offset (the text "refused" when SendFile fails)
//   "count": "clients peers"
//   "close": the server closes
class RecordingServer : public SSocketServer
{
public:
    std::mutex lock;
    std::condition_variable changed;
    std::vector<std::string> events;
    std::atomic<int> acceptAnswer{0};
    std::atomic<int> maxClients{1000};
    std::atomic<int> cancelAfter{0}; // OnSendProgress answers -1 once sent reaches this
    std::atomic<int> lastSendResult{-1};
    std::atomic<int> maxProgress{0};
    std::atomic<bool> quiet{false}; // text requests are not recorded (floods)

    void Record(const std::string& event)
    {
        std::lock_guard<std::mutex> guard(lock);
        events.push_back(event);
        changed.notify_all();
    }

    int Queued(int client) const { return GetQueuedBytes(client); }

    void OnClosed() override { Record("closed"); }
    int OnAccept(int client, const char* address, uint32_t value) override
    {
        Record("accept " + std::to_string(client) + " " + address + " " + std::to_string(value));
        if (GetClientCount() >= maxClients)
            return 1;
        return acceptAnswer;
    }
    void OnConnected(int client, const char* address, uint32_t value) override
    {
        Record("connected " + std::to_string(client) + " " + address + " " + std::to_string(value));
    }
    void OnDisconnected(int client) override { Record("disconnected " + std::to_string(client)); }
    void OnReceiveData(int client, const char* name, const void* data, int size) override
    {
        Record("data " + std::to_string(client) + " " + name + " " + std::to_string(size));
    }
    void OnReceiveText(int client, const char* name, const char* text) override
    {
        if (!quiet)
            Record("text " + std::to_string(client) + " " + name + " " + std::string(text).substr(0, 64));
        if (std::strcmp(name, "echo") == 0 || std::strcmp(name, "patient") == 0)
        {
            if (!SendText(client, text, name[0] == 'p' ? 30000 : kSocketDefaultTimeout))
                Record("echo failed " + std::to_string(client));
        }
        else if (std::strcmp(name, "data") == 0)
        {
            const int n = std::atoi(text);
            std::vector<unsigned char> bytes(n > 0 ? n : 0);
            for (int i = 0; i < n; i++)
                bytes[i] = static_cast<unsigned char>(i % 251);
            lastSendResult = SendData(client, bytes.data(), n, 77) ? 1 : 0;
        }
        else if (std::strcmp(name, "file") == 0)
        {
            const char* bar = std::strchr(text, '|');
            const std::string path(text, bar ? bar - text : std::strlen(text));
            lastSendResult = SendFile(client, path.c_str(), bar ? std::atoi(bar + 1) : 0, 88) ? 1 : 0;
            if (!lastSendResult)
                SendText(client, "refused");
        }
        else if (std::strcmp(name, "count") == 0)
            SendText(client, (std::to_string(GetClientCount()) + " " + std::to_string(GetPeerCount())).c_str());
        else if (std::strcmp(name, "close") == 0)
            Close();
    }
    void OnSendStart(int client, int size, uint32_t tag) override
    {
        Record("start " + std::to_string(client) + " " + std::to_string(size) + " " + std::to_string(tag));
    }
    int OnSendProgress(int client, int sent, int size, uint32_t tag) override
    {
        if (sent > maxProgress)
            maxProgress = sent;
        return cancelAfter > 0 && sent >= cancelAfter ? -1 : 0;
    }
    void OnSendEnd(int client, int sent, int size, uint32_t tag) override
    {
        Record("end " + std::to_string(client) + " " + std::to_string(sent) + " " + std::to_string(size) + " " +
               std::to_string(tag));
    }

    // Waits (on the test thread) until the event has been recorded.
    bool WaitFor(const std::string& event, int timeout = 5000)
    {
        std::unique_lock<std::mutex> guard(lock);
        return changed.wait_for(guard, std::chrono::milliseconds(timeout), [&] {
            for (const std::string& e : events)
                if (e == event)
                    return true;
            return false;
        });
    }
    bool Has(const std::string& event)
    {
        std::lock_guard<std::mutex> guard(lock);
        for (const std::string& e : events)
            if (e == event)
                return true;
        return false;
    }
    int CountStartingWith(const std::string& prefix)
    {
        std::lock_guard<std::mutex> guard(lock);
        int n = 0;
        for (const std::string& e : events)
            if (e.compare(0, prefix.size(), prefix) == 0)
                n++;
        return n;
    }
};

// Owns the server on its own thread, as the application's server thread does.
class ServerThread : public SThread
{
public:
    ServerThread(int port, const char* password) : m_port(port), m_password(password) {}
    ~ServerThread() override { Shutdown(); }

    bool Begin()
    {
        if (!Start(false))
            return false;
        std::unique_lock<std::mutex> guard(m_lock);
        m_changed.wait_for(guard, std::chrono::seconds(10), [&] { return m_ready; });
        return m_listening;
    }
    void Shutdown()
    {
        if (IsRunning())
            Stop();
    }
    RecordingServer* Server() { return m_server; }

    // Runs the call on the server's thread and waits for it.
    void Call(const std::function<void(RecordingServer&)>& call)
    {
        Work work{&call, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
        PostMessageA(GetWorkerWindow(), SWM_THREAD_CALL, 0, reinterpret_cast<LPARAM>(&work));
        WaitForSingleObject(work.done, 10000);
        CloseHandle(work.done);
    }

    bool Run() override
    {
        m_server = new RecordingServer;
        m_server->SetAccessKey(m_password.c_str());
        const bool listening = m_server->Listen(m_port);
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_listening = listening;
            m_ready = true;
        }
        m_changed.notify_all();
        return listening;
    }
    void OnWork(WPARAM wParam, LPARAM lParam) override
    {
        Work* work = reinterpret_cast<Work*>(lParam);
        (*work->call)(*m_server);
        SetEvent(work->done);
    }
    void OnLoopEnd() override
    {
        delete m_server;
        m_server = nullptr;
        loopEnds++;
    }

    std::atomic<int> loopEnds{0};

private:
    struct Work
    {
        const std::function<void(RecordingServer&)>* call;
        HANDLE done;
    };

    int m_port;
    std::string m_password;
    RecordingServer* m_server = nullptr;
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_ready = false;
    bool m_listening = false;
};

// Starts a server thread on a free port. The port is only known to be free
// when it is looked up; one taken by another program before the server binds
// it is replaced by another.
inline std::unique_ptr<ServerThread> StartServerThread(const char* password, int* port)
{
    for (int attempt = 0; attempt < 8; attempt++)
    {
        *port = FindFreePort();
        if (*port == 0)
            continue;
        std::unique_ptr<ServerThread> thread(new ServerThread(*port, password));
        if (thread->Begin())
            return thread;
    }
    return nullptr;
}

// A client that records its own events.
class RecordingClient : public SSocketClient
{
public:
    int disconnects = 0;
    int cancelAfter = 0; // OnTransferProgress answers -1 once received reaches this
    std::vector<std::string> events;

    void OnDisconnected() override { disconnects++; }
    void OnReceiveText(const char* name, const char* text) override
    {
        events.push_back(std::string("text ") + name + " " + text);
    }
    void OnReceiveData(const char* name, const void* data, int size) override
    {
        events.push_back(std::string("data ") + name + " " + std::to_string(size));
    }
    void OnTransferStart(int size, uint32_t tag) override
    {
        events.push_back("start " + std::to_string(size) + " " + std::to_string(tag));
    }
    int OnTransferProgress(int received, int size, uint32_t tag) override
    {
        return cancelAfter > 0 && received >= cancelAfter ? -1 : 0;
    }
    void OnTransferEnd(int received, int size, uint32_t tag) override
    {
        events.push_back("end " + std::to_string(received) + " " + std::to_string(size) + " " +
                         std::to_string(tag));
    }
};

// Dispatches the test thread's messages (the clients' socket notifications)
// until the condition holds.
inline bool PumpUntil(const std::function<bool()>& condition, int timeout = 5000)
{
    const DWORD start = GetTickCount();
    while (!condition())
    {
        if (GetTickCount() - start > static_cast<DWORD>(timeout))
            return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    }
    return true;
}

inline std::vector<unsigned char> PatternBytes(int n)
{
    std::vector<unsigned char> bytes(n);
    for (int i = 0; i < n; i++)
        bytes[i] = static_cast<unsigned char>(i % 251);
    return bytes;
}

// A file in the temp folder, removed again at the end.
class TempFile
{
public:
    TempFile(const std::vector<unsigned char>& bytes)
    {
        char folder[MAX_PATH];
        char name[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        GetTempFileNameA(folder, "sck", 0, name);
        path = name;
        FILE* file = std::fopen(name, "wb");
        if (file)
        {
            if (!bytes.empty())
                std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
    }
    ~TempFile() { DeleteFileA(path.c_str()); }
    std::string path;
};
