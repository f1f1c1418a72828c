// STreeCtrl: file-system mode, item paths and the text loader.
#include "STreeCtrl.h"
#include <shellapi.h>
#include "SArrayString.h"
#include "SDisk.h"
#include "SLibrary.h"
#include "SPath.h"
#include "SStringParser.h"
#include "SVirtualFile.h"

namespace
{
const char* const PLACEHOLDER = "*";

// The system's small-icon index of a path; -1 when the shell knows nothing of it.
int GetShellIcon(const SString& path, UINT extra)
{
    SHFILEINFOA info = {};
    if (!SHGetFileInfoA(path.GetText(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON | extra))
        return -1;
    if (info.hIcon)
        DestroyIcon(info.hIcon);
    return info.iIcon;
}

SString AddSeparator(const SString& folder)
{
    SString result = folder;
    if (result.GetLength() > 0 && result.GetAt(result.GetLength() - 1) != '\\')
        result += '\\';
    return result;
}
} // namespace

void STreeCtrl::UseSystemImageList() const
{
    SHFILEINFOA info = {};
    HIMAGELIST list = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (list)
        SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
}

HTREEITEM STreeCtrl::AddFolderItem(const char* folder, HTREEITEM parent)
{
    UseSystemImageList();
    const SString path = AddSeparator(SString(folder));
    HTREEITEM item = AddPathItem(path, parent);
    if (item && HasContent(path))
        InsertItem(PLACEHOLDER, 0, 0, item);
    return item;
}

HTREEITEM STreeCtrl::AddPathItem(const SString& path, HTREEITEM parent) const
{
    SPath parsed(path.GetText());
    if (!parsed.IsValid())
        return nullptr;
    const int image = GetShellIcon(path, 0);
    const int selected = GetShellIcon(path, SHGFI_OPENICON);
    if (image == -1 || selected == -1)
        return nullptr;
    SString text = parsed.HasFileName() ? parsed.GetFileName() : parsed.GetLastFolderName(true);
    if (text.GetLength() == 0)
        text = parsed.GetRoot();
    return InsertItem(text.GetText(), image, selected, parent, TVI_LAST, 0);
}

void STreeCtrl::ListFolder(const SString& folder, SArrayString* folders, SArrayString* files) const
{
    SDisk disk;
    const SString base = AddSeparator(folder);
    if (folders)
        disk.List(folders, (base + "*.*").GetText(), false, true, false, false, false);
    if (files && m_showFiles)
        disk.List(files, (base + m_fileFilter.GetText()).GetText(), false, false, true, false, false);
}

bool STreeCtrl::HasContent(const SString& folder) const
{
    SArrayString folders, files;
    ListFolder(folder, &folders, &files);
    return folders.GetCount() > 0 || files.GetCount() > 0;
}

void STreeCtrl::FillFolder(HTREEITEM item, const SString& folder)
{
    SArrayString folders, files;
    ListFolder(folder, &folders, &files);
    // Folder listings come in directory order: show them by name.
    folders.Sort();
    files.Sort();
    SetRedraw(false);
    HCURSOR previous = ::SetCursor(GetLibraryCursor(13));
    for (int i = 0; i < folders.GetCount(); i++)
    {
        const SString path = folders.GetAt(i);
        HTREEITEM child = AddPathItem(path, item);
        if (child && HasContent(path))
            InsertItem(PLACEHOLDER, 0, 0, child);
    }
    for (int i = 0; i < files.GetCount(); i++)
        AddPathItem(files.GetAt(i), item);
    ::SetCursor(previous);
    SetRedraw(true);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void STreeCtrl::OnItemExpanding(HTREEITEM item, bool expanding)
{
    if (!m_fileSystem || !expanding || !item)
        return;
    HTREEITEM first = GetChild(item);
    if (first && GetItemText(first) == PLACEHOLDER)
    {
        DeleteItem(first);
        FillFolder(item, GetItemPath(item));
    }
    if (m_checkPropagation && (GetStyle() & TVS_CHECKBOXES) && IsChecked(item))
        SetSubtreeCheck(item, true);
}

SString STreeCtrl::GetItemPath(HTREEITEM item) const
{
    if (!item || item == TVI_ROOT)
        return SString("");
    SString join;
    for (HTREEITEM current = item; current; current = GetParentItem(current))
    {
        SString text = GetItemText(current);
        text += '\\';
        join = text + join.GetText();
    }
    if (!m_fileSystem)
    {
        join.Truncate(join.GetLength() - 1);
        return join;
    }
    if (join.GetLength() == 0)
        return m_rootFolder;
    SString path = m_rootFolder + join.GetText();
    path.Truncate(path.GetLength() - 1);
    SDisk disk;
    if (disk.FolderExists(path.GetText()))
        path += '\\';
    return path;
}

namespace
{
struct LoaderLevel
{
    HTREEITEM parent;
    int depth;
};

// "text+value,image,selected image" (a fourth and fifth field are accepted).
void SplitFields(SString& text, LPARAM& value, int& image, int& selected)
{
    const int plus = text.ReverseFindChar('+');
    if (plus < 0)
        return;
    SStringParser fields;
    const int count = fields.SplitText(SString(text.GetText() + plus + 1), ",", 0, '"');
    text.Truncate(plus);
    if (count > 0)
        value = fields.GetTokenInt(0);
    if (count > 1)
        image = fields.GetTokenInt(1);
    if (count > 2)
        selected = fields.GetTokenInt(2);
}
} // namespace

bool STreeCtrl::LoadFromStream(SVirtualFile* stream, bool withFields)
{
    if (!stream)
        return false;
    SArray<LoaderLevel> levels;
    levels.Add(LoaderLevel{TVI_ROOT, 0});
    HTREEITEM last = nullptr;
    while (!stream->IsEnd())
    {
        const SString line = stream->ReadLine();
        if (line == ".")
            break;
        int depth = 0;
        while (line.GetAt(depth) == '\t')
            depth++;
        SString text(line.GetText() ? line.GetText() + depth : "");
        LPARAM value = 0;
        int image = -1, selected = -1;
        if (withFields)
            SplitFields(text, value, image, selected);
        if (depth > levels.GetAt(levels.GetCount() - 1).depth && last)
            levels.Add(LoaderLevel{last, depth});
        while (levels.GetCount() >= 2 && depth < levels.GetAt(levels.GetCount() - 1).depth)
            levels.RemoveAt(levels.GetCount() - 1, 1);
        last = InsertItem(text.GetText(), image, selected, levels.GetAt(levels.GetCount() - 1).parent,
                          TVI_LAST, value);
    }
    return true;
}
