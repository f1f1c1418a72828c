// The fixture of the connecting side's tests: a main window connected to a
// stand-in server of scripted replies, with files it serves on request and
// the checks that a session goes on and that a run ends done.
#pragma once
#include <gtest/gtest.h>
#include <initializer_list>
#include <map>
#include <memory>
#include "SharingTestSupport.h"

namespace apptest
{
class SharingClientTest : public ::testing::Test
{
protected:
    static int ItemImage(SExListCtrl& list, int row)
    {
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        list.SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    }

    void SetUp() override
    {
        StartSockets();
        settings.SetText("Folder", root.Path());
        settings.SetNumber("ServerPort", sharingPort);
        server.Script("101", {"=1", Z("") + Z("A|B|") + Z("10") + std::string(2048, '\x7F')});
        server.Script("100", {"=1", Packed("A\\|A\\B\\|A\\B\\E\\|D\\|<b>&\\")});
        window.reset(new AppWindow);
        ASSERT_TRUE(App().Connect("Kitchen", "127.0.0.1", "", server.Port()));
    }

    PWndApp& App() { return window->App(); }

    // Every size asked is 3 and every file sends `sent`, each reply after the
    // delay; the paths are queued and the downloads begun.
    bool Download(const std::string& sent, std::initializer_list<const char*> paths, int delay = 0)
    {
        server.SetDelay(delay);
        server.Script("105", {"=3"});
        server.Script("106", {"=Ok", sent});
        for (const char* path : paths)
            App().GetDownloadQueue().Add(path);
        return App().ResumeDownloads();
    }

    // A server of distinct files "A\\NN.mp3": "105" gives a file's size (as
    // told in `sizes` when it is there), "106" its bytes from the offset, and
    // `browse` the other requests; the hold runs first on the server's
    // thread, as a busy server's would. Files under "B\\" are not queued.
    void Serve(int count, const std::function<void(const std::string& name, const std::string& text)>& hold = nullptr)
    {
        for (int i = 0; i < count; ++i)
            files[(i < 10 ? "A\\0" : "A\\") + std::to_string(i) + ".mp3"] = PatternText(1000 + 97 * i, i);
        server.SetResponder([this, hold](const std::string& name, const std::string& text) {
            if (hold)
                hold(name, text);
            if (name != "105" && name != "106")
                return browse ? browse(name, text) : std::vector<std::string>{"=0"};
            const size_t cut = text.rfind('|');
            const std::string path = name == "106" ? text.substr(0, cut) : text;
            const auto told = sizes.find(path);
            if (name == "105")
                return std::vector<std::string>{"=" + (told != sizes.end() ? told->second : std::to_string(files[path].size()))};
            const size_t offset = std::stoul(text.substr(cut + 1));
            return offset < files[path].size() ? std::vector<std::string>{"=Ok", files[path].substr(offset)}
                                               : std::vector<std::string>{"="};
        });
        for (const auto& file : files)
            if (file.first.rfind("B\\", 0) != 0)
                App().GetDownloadQueue().Add(file.first.c_str());
    }

    // Six files, one of 2 MiB sent slowly: the server's thread answers
    // nothing else meanwhile, as it waits for each transfer. A folder view
    // holds one song named after the folder; "103" lists B's files.
    void ServeWithALargeFile(bool withB)
    {
        files["A\\02 large.mp3"] = PatternText(2 * 1024 * 1024, 99);
        if (withB)
            files["B\\b1.mp3"] = PatternText(3000, 1), files["B\\b2.mp3"] = PatternText(5000, 2);
        browse = [](const std::string& name, const std::string& text) -> std::vector<std::string> {
            if (name == "102")
                return {"=1", Z(text) + Z(text + "\\" + text + "1.mp30") + U32(0) + U32(0) + U32(0) + std::string(1, '\0')};
            return {Z(name == "103" && text == "B" ? "B\\b1.mp3|B\\b2.mp3" : "")};
        };
        server.SetPace(8);
        Serve(5);
        ASSERT_EQ(6, App().GetDownloadQueue().GetCount());
        ASSERT_TRUE(App().ResumeDownloads());
        const std::string large = root.Path() + "{Kitchen}\\A\\02 large.mp3";
        ASSERT_TRUE(PumpUntil([&] { return FileSizeOf(large) > 0; }));
    }

    // The request failed, and nothing else: the session, its queue and its run go on.
    void ExpectTheSessionGoesOn(int rows)
    {
        EXPECT_FALSE(App().IsLocal());
        EXPECT_EQ(rows, App().GetDownloadQueue().GetCount());
        EXPECT_TRUE(App().GetDownloadThread().IsRunning());
    }

    // The run ends with every row of the files done, its target holding its file exactly.
    void ExpectAllDone()
    {
        PWndNet& queue = App().GetDownloadQueue();
        ASSERT_TRUE(PumpUntil([&] { return !App().GetDownloadThread().IsRunning(); }, 60000));
        PumpUntil([] { return false; }, 300);
        for (int row = 0; row < queue.GetCount(); ++row)
            if (files.count(queue.GetPath(row).GetText()) > 0)
            {
                EXPECT_EQ(PWndNet::STATE_DONE, queue.GetState(row)) << queue.GetPath(row).GetText();
                EXPECT_EQ(PWndNet::STATE_DONE, ItemImage(queue.GetList(), row)) << queue.GetPath(row).GetText();
            }
        for (const auto& file : files)
            EXPECT_TRUE(ReadFileText(root.Path() + "{Kitchen}\\" + file.first) == file.second) << file.first;
    }

    SettingsKey settings;
    const int sharingPort = FreePort();
    TempFolder root;
    ScriptedServer server;
    std::map<std::string, std::string> files, sizes;
    std::function<std::vector<std::string>(const std::string& name, const std::string& text)> browse;
    Questions questions;
    std::unique_ptr<AppWindow> window;
};
}
