// The description window's files: the folder tree and the link index, the
// description texts, and the pages made from them.
#include "PDescriptionMarkup.h"
#include "PSettings.h"
#include "PWndApp.h"
#include "PWndDescription.h"
#include "SFile.h"
#include "SLibrary.h"
#include "SMemory.h"

namespace
{
bool EndsWithText(const SString& text, const char* end)
{
    return text.GetLength() >= 4 && text.Right(4).CompareNoCase(end) == 0;
}

// Writes the bytes beside the file, which is replaced only after a complete
// write; only the user's own texts wait for the disk.
bool SaveWhole(const SString& path, SMemory& bytes, bool durable)
{
    return SFile::SaveReplacing(TextOf(path), bytes.GetData(), bytes.GetSize(), durable);
}
}

SString PWndDescription::GetRootPath() const
{
    return m_owner ? m_owner->GetRootFolder().GetPath() : SString("");
}

bool PWndDescription::LoadTree()
{
    SetStatusText("Loading... 0");
    m_folderCount = 0;
    m_links.Clear();
    m_quietSelection = true;
    m_tree.DeleteAllItems();
    m_quietSelection = false;
    SetCursor(GetLibraryCursor(13));
    const SString root = GetRootPath();
    if (root.GetLength() > 0)
        FillTree(TVI_ROOT, root);
    SetCursor(nullptr);
    SetStatusText("Ready.");
    m_toolBar.EnableWindow(true);
    m_tree.EnableWindow(true);
    m_editor.EnableWindow(true);
    return true;
}

// The sub-folders that hold sub-folders of their own, in name order, each
// followed by its own; the index gets them in listing order level by level.
void PWndDescription::FillTree(HTREEITEM parent, const SString& folder)
{
    SArrayString found;
    m_disk.ListEntries(&found, TextOf(folder + "*.*"),
                       SDisk::kListFolders | SDisk::kListSkipHidden | SDisk::kListFoldersWithSubfolders, nullptr,
                       nullptr);
    if (found.GetCount() == 0)
        return;
    const SString root = GetRootPath();
    SArrayString names;
    for (int i = 0; i < found.GetCount(); ++i)
    {
        SString path = found.GetAt(i);
        const SString name = SPath(TextOf(path)).GetLastFolderName(true);
        path = path.Mid(root.GetLength());
        path.TrimRight(1);
        names.Add(TextOf(name));
        m_links.Add(TextOf(name), TextOf(path));
    }
    names.AddFlags(0x10000);
    names.Sort();
    for (int i = 0; i < names.GetCount(); ++i)
    {
        const SString name = names.GetAt(i);
        SetStatusText(TextOf(SString("Loading... ") + TextOf(IntToString(++m_folderCount))));
        HTREEITEM item = m_tree.InsertItem(TextOf(name), -1, -1, parent, TVI_LAST);
        FillTree(item, folder + TextOf(name) + "\\");
    }
}

bool PWndDescription::OpenDocument(HTREEITEM item)
{
    if (!item)
    {
        CloseDocument();
        return false;
    }
    const SString name = m_tree.GetItemPath(item) + ".txt";
    const SString path = GetRootPath() + TextOf(name);
    m_documentItem = item;
    SMemory text;
    bool loaded = false;
    if (!m_disk.FileExists(TextOf(path)))
        m_editor.New(TextOf(name));
    else if ((loaded = text.LoadFromFile(TextOf(path))))
        LoadText(text, name);
    else
    {
        // Never an empty document in place of a text that exists: leaving it
        // would write over or delete the text.
        m_editor.Close(true);
        m_documentItem = nullptr;
        SetStatusText(TextOf(SString("Cannot read ") + TextOf(name) + "."));
    }
    UpdateToolbar();
    return loaded;
}

// Lines may end in CR, LF or CR LF; the editor reads CR LF.
void PWndDescription::LoadText(SMemory& bytes, const SString& name)
{
    const SString text = bytes.ReadText();
    SMemory lines;
    for (int pos = 0, next = 0; pos < text.GetLength(); pos = next)
    {
        lines.WriteText(TextOf(text.GetLine(pos, &next)));
        if (next > pos && (text.GetAt(next - 1) == '\n' || text.GetAt(next - 1) == '\r'))
            lines.WriteText("\r\n", 2);
    }
    lines.SeekToStart();
    m_editor.LoadFromStream(&lines, TextOf(name));
}

bool PWndDescription::SaveDocument()
{
    if (!m_handle || !m_editor.IsOpen() || !EndsWithText(m_editor.GetFileName(), ".txt"))
        return true;
    const SString path = GetRootPath() + TextOf(m_editor.GetFileName());
    if (WriteText(path))
        return true;
    if (m_owner)
        m_owner->AskQuestion(m_handle, "Cannot save the description.", "KLV Sonavel", MB_OK | MB_ICONERROR);
    return false;
}

// A text of one empty line is no text: its file is deleted.
bool PWndDescription::WriteText(const SString& path)
{
    if (!m_editor.HasText())
        return !m_disk.FileExists(TextOf(path)) || m_disk.DeleteFile(TextOf(path));
    SMemory text;
    return m_editor.SaveToStream(&text, TextOf(m_editor.GetFileName())) && SaveWhole(path, text, true);
}

bool PWndDescription::CloseDocument()
{
    if (!m_handle)
        return true;
    if (!SaveDocument())
        return false;
    m_editor.Close(true);
    m_documentItem = nullptr;
    UpdateToolbar();
    return true;
}

SString PWndDescription::ConvertLine(const SString& line) const
{
    return PDescriptionMarkup::ConvertLine(line, m_links);
}

bool PWndDescription::GeneratePage(HTREEITEM item)
{
    if (!item)
        return false;
    const SString root = GetRootPath();
    const SString folder = root + TextOf(m_tree.GetItemPath(item));
    const SString textFile = folder + ".txt";
    const SString pageFile = folder + ".htm";
    if (!m_disk.FileExists(TextOf(textFile)))
    {
        if (m_disk.FileExists(TextOf(pageFile)))
            m_disk.DeleteFile(TextOf(pageFile));
        return false;
    }
    SMemory text, style, page;
    if (!text.LoadFromFile(TextOf(textFile)) || !style.LoadFromResource("BINARY", STYLE_SHEET, GetInstance()))
        return false;
    return PDescriptionMarkup::WritePage(text.ReadText(), TextOf(root), style.ReadText(), m_links, &page) &&
           SaveWhole(pageFile, page, false);
}

bool PWndDescription::PreparePictureFolder()
{
    const SString folder = GetRootPath() + "Images\\";
    if (!m_disk.CreateFolder(TextOf(folder), true) && !m_disk.FolderExists(TextOf(folder)))
        return false;
    if (!m_disk.IsHidden(TextOf(folder)))
        m_disk.SetAttributes(TextOf(folder), m_disk.GetAttributes(TextOf(folder)) | SDisk::kHidden);
    SMemory icon;
    if (icon.LoadFromResource("BINARY", CHAPTER_ICON, GetInstance()))
        SaveWhole(folder + "icon.gif", icon, false);
    return true;
}

bool PWndDescription::GenerateAllPages()
{
    const bool focused = m_editor.HasFocus();
    EnableViews(false);
    RedrawWindow();
    if (!PreparePictureFolder())
    {
        EnableViews(true);
        return false;
    }
    SetCursor(GetLibraryCursor(13));
    const int count = m_links.GetCount();
    int i = 0;
    for (HTREEITEM item = m_tree.GetChild(TVI_ROOT); item; item = m_tree.GetNextInOrder(item), ++i)
    {
        const int percent = count > 0 ? static_cast<int>(static_cast<long long>(i) * 100 / count) : 0;
        SetStatusText(TextOf(SString("Building... ") + TextOf(IntToString(percent)) + "%"));
        GeneratePage(item);
    }
    SetCursor(nullptr);
    SetStatusText("Ready.");
    EnableViews(true);
    if (focused)
        m_editor.SetFocus();
    return true;
}
