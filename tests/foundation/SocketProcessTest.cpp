// The server and the client in two processes: the test executable starts
// itself again, with SONAVEL_SOCKET_SERVE_PORT set, to run only the serving
// case below.
#include "SocketServerHarness.h"
#include "SMemory.h"
#include <gtest/gtest.h>
#include <cstdlib>

namespace
{
const char* const kServeVariable = "SONAVEL_SOCKET_SERVE_PORT";

// Serves "echo" and "file" and ends the process's loop on "quit".
class ProcessServer : public SSocketServer
{
public:
    void OnReceiveText(int client, const char* name, const char* text) override
    {
        if (std::strcmp(name, "echo") == 0)
            SendText(client, text);
        else if (std::strcmp(name, "file") == 0)
            SendFile(client, text, 0, 0);
        else if (std::strcmp(name, "quit") == 0)
        {
            SendText(client, "bye");
            PostQuitMessage(0);
        }
    }
};

int ServePort()
{
    char value[32] = "";
    return GetEnvironmentVariableA(kServeVariable, value, sizeof(value)) > 0 ? std::atoi(value) : 0;
}

// Starts this program again as the server on the port; the process handle, or null.
HANDLE LaunchServer(int port)
{
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string command = "\"" + std::string(program) + "\" --gtest_filter=SocketProcessTest.ServeUntilAskedToQuit";
    SetEnvironmentVariableA(kServeVariable, std::to_string(port).c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                       &startup, &process);
    SetEnvironmentVariableA(kServeVariable, nullptr);
    if (!started)
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}
} // namespace

TEST(SocketProcessTest, ServeUntilAskedToQuit)
{
    const int port = ServePort();
    if (port == 0)
        GTEST_SKIP() << "runs only in the server process";
    SocketSession session;
    ProcessServer server;
    server.SetAccessKey("two processes");
    ASSERT_TRUE(server.Listen(port));
    // A client that never comes must not keep the process alive.
    const UINT_PTR timer = SetTimer(nullptr, 0, 30000, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
    {
        if (message.message == WM_TIMER && message.hwnd == nullptr)
            break;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    KillTimer(nullptr, timer);
}

TEST(SocketProcessTest, ClientTalksToServerInAnotherProcess)
{
    if (ServePort() != 0)
        GTEST_SKIP() << "the server process does not start another";
    SocketSession session;
    SHandleGuard processHandle;
    RecordingClient client;
    client.SetAccessKey("two processes");
    int connected = -1;
    // A server process that cannot listen on its port (taken meanwhile by
    // another program) ends at once; another port is tried then.
    for (int launch = 0; launch < 4 && connected != 0; launch++)
    {
        const int port = FindFreePort();
        processHandle.Reset(LaunchServer(port));
        ASSERT_TRUE(processHandle.IsValid());
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 20000 && WaitForSingleObject(processHandle.Get(), 0) == WAIT_TIMEOUT)
        {
            connected = client.Connect("127.0.0.1", port, false, 0x1000000);
            if (connected == 0)
                break;
            Sleep(50);
        }
        if (connected != 0 && WaitForSingleObject(processHandle.Get(), 0) == WAIT_TIMEOUT)
            TerminateProcess(processHandle.Get(), 1);
    }
    ASSERT_EQ(connected, 0);
    ASSERT_TRUE(client.SendMessage("echo", "across", -1));
    EXPECT_STREQ(client.ReceiveString().GetText(), "across");

    const std::vector<unsigned char> bytes = PatternBytes(100000);
    TempFile file(bytes);
    ASSERT_TRUE(client.SendMessage("file", file.path.c_str(), -1));
    SMemory memory;
    ASSERT_TRUE(client.ReceiveSizedToStream(&memory, 0));
    ASSERT_EQ(memory.GetSize(), 100000);
    EXPECT_EQ(std::vector<unsigned char>(memory.GetData(), memory.GetData() + 100000), bytes);

    ASSERT_TRUE(client.SendMessage("quit", "", -1));
    EXPECT_STREQ(client.ReceiveString().GetText(), "bye");
    EXPECT_EQ(WaitForSingleObject(processHandle.Get(), 20000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(processHandle.Get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
}
