// The download queue window of a large folder: after adds, states, percents,
// clearing the finished, removing the selected and resuming the failed, the
// list shows each row's path, "N %" and state icon, and keeps the selection
// of the rows that stay.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "AppTestSupport.h"
#include "MessagePump.h"
#include "PWndNet.h"

namespace
{
struct Row
{
    std::string path;
    int state, percent;
    bool selected;
};

std::string Path(int i)
{
    return "Genre\\Album " + std::to_string(i / 10) + "\\" + std::to_string(i) + " Track.mp3";
}

// The rows as the list shows them, against the model.
void ExpectShown(PWndNet& queue, const std::vector<Row>& rows, const char* step)
{
    SCOPED_TRACE(step);
    testsupport::PumpUntilIdle();
    SExListCtrl& list = queue.GetList();
    ASSERT_EQ(static_cast<int>(rows.size()), queue.GetCount());
    ASSERT_EQ(static_cast<int>(rows.size()), list.GetItemCount());
    int wrong = 0;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i)
    {
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        list.SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        const bool selected = (list.SendMessage(LVM_GETITEMSTATE, i, LVIS_SELECTED) & LVIS_SELECTED) != 0;
        const Row& r = rows[static_cast<size_t>(i)];
        const bool same = list.GetItemText(i, 0) == r.path.c_str() &&
                          list.GetItemText(i, 1) == (std::to_string(r.percent) + " %").c_str() &&
                          item.iImage == r.state && selected == r.selected && queue.GetPath(i) == r.path.c_str();
        if (!same && ++wrong < 5)
            ADD_FAILURE() << i << ": " << list.GetItemText(i, 0).GetText() << " " << list.GetItemText(i, 1).GetText()
                          << " icon " << item.iImage << (selected ? " selected" : "");
    }
    EXPECT_EQ(0, wrong);
}

template <class Keep>
void Erase(std::vector<Row>* rows, Keep keep)
{
    std::vector<Row> kept;
    for (const Row& r : *rows)
        if (keep(r))
            kept.push_back(r);
    rows->swap(kept);
}
}

TEST(PWndNetRowsTest, ThousandRowsShowTheirPathsPercentsIconsAndSelection)
{
    HWND parent = CreateWindowExA(0, "STATIC", "queue", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 200, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    PWndNet queue;
    const RECT rect = {0, 0, 600, PWndNet::HEIGHT};
    ASSERT_TRUE(queue.Create(parent, rect));
    queue.ShowWindow(SW_SHOW);
    std::vector<Row> rows;
    SArrayString paths;
    for (int i = 0; i < 999; ++i)
    {
        paths.Add(Path(i).c_str());
        rows.push_back({Path(i), PWndNet::STATE_QUEUED, 0, false});
    }
    EXPECT_EQ(999, queue.Add(paths));
    EXPECT_TRUE(queue.Add(Path(999).c_str()));
    rows.push_back({Path(999), PWndNet::STATE_QUEUED, 0, false});
    EXPECT_FALSE(queue.Add(Path(5).c_str()));
    ExpectShown(queue, rows, "added");

    // Every fourth fails, every third stops half way, the rest are done.
    for (int i = 0; i < 1000; ++i)
    {
        Row& r = rows[static_cast<size_t>(i)];
        r.state = i % 4 == 3 ? PWndNet::STATE_FAILED : i % 3 == 1 ? PWndNet::STATE_QUEUED : PWndNet::STATE_DONE;
        r.percent = r.state == PWndNet::STATE_DONE ? 100 : i % 3 == 1 ? 50 : 0;
        queue.SetPercentOf(r.path.c_str(), r.percent == 100 ? 130 : r.percent, i);
        queue.SetStateOf(r.path.c_str(), r.state, i);
    }
    ExpectShown(queue, rows, "states and percents");
    // The last row done in the burst is scrolled into view when the rows are
    // next shown.
    const auto inView = [&queue] {
        const int top = static_cast<int>(queue.GetList().SendMessage(LVM_GETTOPINDEX));
        return top <= 998 && top + static_cast<int>(queue.GetList().SendMessage(LVM_GETCOUNTPERPAGE)) > 998;
    };
    for (const DWORD start = GetTickCount(); !inView() && GetTickCount() - start < 2000; Sleep(10))
        testsupport::PumpUntilIdle();
    EXPECT_TRUE(inView());

    for (int i = 0; i < 1000; i += 7)
    {
        rows[static_cast<size_t>(i)].selected = true;
        LVITEMA item = {};
        item.stateMask = item.state = LVIS_SELECTED;
        queue.GetList().SendMessage(LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
    }
    queue.RemoveFinished();
    Erase(&rows, [](const Row& r) { return r.state != PWndNet::STATE_DONE; });
    ExpectShown(queue, rows, "finished cleared");

    queue.RemoveSelected();
    Erase(&rows, [](const Row& r) { return !r.selected; });
    ExpectShown(queue, rows, "selected removed");

    queue.ResetFailed();
    for (Row& r : rows)
        r.state = PWndNet::STATE_QUEUED;
    ExpectShown(queue, rows, "failed resumed");
    EXPECT_EQ(0, queue.GetNextQueued());

    queue.Clear();
    ExpectShown(queue, {}, "cleared");
    queue.DestroyWindow();
    DestroyWindow(parent);
}
