#include <gtest/gtest.h>
#include "SDisk.h"
#include "SMemory.h"
#include "STreeCtrl.h"
#include "TraceWnd.h"

namespace
{
SString TempFolder()
{
    SDisk disk;
    SString temp = disk.GetTempFolder();
    if (temp.GetLength() > 0 && temp.GetAt(temp.GetLength() - 1) != '\\')
        temp += '\\';
    return temp;
}

class STreeCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = MakeRect(20, 20, 420, 420);
        ASSERT_TRUE(parent.Create("Trees", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
        RECT t = MakeRect(10, 10, 390, 390);
        ASSERT_TRUE(tree.Create(WS_VISIBLE | TVS_CHECKBOXES | TVS_HASBUTTONS, 0, &t, parent.GetHandle()));
    }
    TVITEMA Read(HTREEITEM item) const
    {
        TVITEMA record = {};
        record.mask = TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        record.hItem = item;
        tree.SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&record));
        return record;
    }
    // The items in depth-first order as "depth:text" joined by spaces.
    std::string Describe(HTREEITEM from = TVI_ROOT) const
    {
        std::string text;
        SArray<HTREEITEM> items;
        tree.GetDescendants(&items, from);
        for (int i = 0; i < items.GetCount(); i++)
            text += std::to_string(tree.GetDepth(items.GetAt(i))) + ":" +
                    tree.GetItemText(items.GetAt(i)).GetText() + " ";
        return text;
    }
    // The parent's pre-processor, told that the item was expanded.
    void NotifyExpanded(HTREEITEM item)
    {
        tree.SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        NMTREEVIEWA notify = {};
        notify.hdr.hwndFrom = tree.GetHandle();
        notify.hdr.code = TVN_ITEMEXPANDEDA;
        notify.action = TVE_EXPAND;
        notify.itemNew.hItem = item;
        notify.itemNew.state = TVIS_EXPANDED;
        parent.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
    }
    TraceWnd parent;
    STreeCtrl tree;
};
} // namespace

TEST_F(STreeCtrlTest, TheLoaderNestsByTabsReadsFieldsAndStopsAtADot)
{
    SMemory text;
    for (const char* line : {"Top", "\tChild", "\t\tName+7,3,4", "\tNext+1", "Second", ".", "After"})
        text.WriteLine(line);
    text.Seek(0);
    EXPECT_TRUE(tree.LoadFromStream(&text, true));
    EXPECT_EQ("0:Top 1:Child 2:Name 1:Next 0:Second ", Describe());
    HTREEITEM name = tree.GetChild(tree.GetChild(tree.GetChild(TVI_ROOT)));
    const TVITEMA record = Read(name);
    EXPECT_EQ(7, record.lParam);
    EXPECT_EQ(3, record.iImage);
    EXPECT_EQ(4, record.iSelectedImage);
    EXPECT_STREQ("Top\\Child\\Name", tree.GetItemPath(name).GetText());
    int depth = 2;
    HTREEITEM next = tree.GetNextInOrder(name, &depth);
    EXPECT_STREQ("Next", tree.GetItemText(next).GetText());
    EXPECT_EQ(1, depth);
    EXPECT_EQ(-1, tree.GetDepth(TVI_ROOT));
    EXPECT_FALSE(tree.LoadFromStream(nullptr, true));
    for (int length : {511, 512, 2000})
    {
        const std::string text(length, 'y');
        EXPECT_EQ(length, tree.GetItemText(tree.InsertItem(text.c_str())).GetLength()) << length;
    }
}

TEST_F(STreeCtrlTest, ChecksSpreadDownToDescendantsAndUpToAncestors)
{
    HTREEITEM top = tree.InsertItem("top");
    HTREEITEM a = tree.InsertItem("a", -1, -1, top);
    HTREEITEM b = tree.InsertItem("b", -1, -1, top);
    HTREEITEM leaf = tree.InsertItem("leaf", -1, -1, b);
    const struct { HTREEITEM item; bool checked; bool top, a, b, leaf; } steps[] = {
        {leaf, true, true, false, true, true},
        {a, true, true, true, true, true},
        {leaf, false, true, true, false, false},
        {a, false, false, false, false, false},
        {top, true, true, true, true, true},
    };
    for (const auto& s : steps)
    {
        tree.SetCheck(s.item, s.checked);
        tree.OnItemCheckChanged(s.item, s.checked);
        const std::string step = tree.GetItemText(s.item).GetText();
        EXPECT_EQ(s.top, tree.IsChecked(top)) << step;
        EXPECT_EQ(s.a, tree.IsChecked(a)) << step;
        EXPECT_EQ(s.b, tree.IsChecked(b)) << step;
        EXPECT_EQ(s.leaf, tree.IsChecked(leaf)) << step;
    }
}

TEST_F(STreeCtrlTest, AFolderIsFilledOnceAndAnEmptyFolderGetsNoPlaceholder)
{
    const SString temp = TempFolder();
    const SString root = temp + "sonavel_tree\\";
    const char* folders[] = {"", "B\\", "B\\Inner\\", "A\\", "Empty\\"};
    for (const char* folder : folders)
        CreateDirectoryA((root + folder).GetText(), nullptr);
    CloseHandle(CreateFileA((root + "B\\note.txt").GetText(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

    tree.SetFileSystemMode(true);
    tree.SetRootFolder(temp.GetText());
    HTREEITEM top = tree.AddFolderItem(root.GetText());
    ASSERT_NE(nullptr, top);
    EXPECT_EQ("1:* ", Describe(top));
    NotifyExpanded(top);
    EXPECT_EQ("1:A 1:B 2:* 1:Empty ", Describe(top));
    HTREEITEM b = tree.GetNextSibling(tree.GetChild(top));
    NotifyExpanded(b);
    NotifyExpanded(b);
    EXPECT_EQ("2:Inner 2:note.txt ", Describe(b));
    EXPECT_STREQ(root.GetText(), tree.GetItemPath(top).GetText());
    EXPECT_STREQ((root + "B\\note.txt").GetText(), tree.GetItemPath(tree.GetNextSibling(tree.GetChild(b))).GetText());

    DeleteFileA((root + "B\\note.txt").GetText());
    for (int i = 4; i >= 0; i--)
        RemoveDirectoryA((root + folders[i]).GetText());
}

TEST_F(STreeCtrlTest, WithARootFolderAPathEndsInASeparatorOnlyForAnExistingFolder)
{
    const SString temp = TempFolder();
    CreateDirectoryA((temp + "sonavel_music").GetText(), nullptr);
    tree.SetFileSystemMode(true);
    tree.SetRootFolder(temp.GetText());
    HTREEITEM music = tree.InsertItem("sonavel_music");
    HTREEITEM missing = tree.InsertItem("sonavel_missing");
    EXPECT_STREQ((temp + "sonavel_music\\").GetText(), tree.GetItemPath(music).GetText());
    EXPECT_STREQ((temp + "sonavel_missing").GetText(), tree.GetItemPath(missing).GetText());
    RemoveDirectoryA((temp + "sonavel_music").GetText());
}
