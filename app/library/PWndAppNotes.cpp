// The plain-text notes of the selected folder or file, kept beside the media.
#include "PWndApp.h"
#include "SFile.h"
#include "SMemory.h"

// The selected folder's "folder.txt", or with one file selected the text file
// named after that file; "" unless exactly one folder and at most one file
// are selected.
SString PWndApp::GetNotePath(int* fileIndex) const
{
    const int folder = m_folderList.GetSelection();
    SArray<int> files;
    const int fileCount = m_fileList.GetSelectedItems(&files);
    if (folder < 0 || fileCount > 1)
        return SString("");
    SString path = m_currentFolder.GetPath() + TextOf(m_folderList.GetItemText(folder)) + "\\";
    if (fileIndex)
        *fileIndex = fileCount == 1 ? files.GetAt(0) : -1;
    if (fileCount == 1)
        return path + TextOf(m_fileList.GetItemText(files.GetAt(0))) + ".txt";
    return path + "folder.txt";
}

// A missing note starts an empty one; a note that exists but cannot be read
// leaves the editor without a document, so that nothing typed can replace it.
bool PWndApp::LoadNotes()
{
    const SString path = GetNotePath(nullptr);
    if (path.GetLength() == 0)
    {
        m_notesEditor.Close(true);
        return false;
    }
    if (!m_disk.FileExists(TextOf(path)))
    {
        m_notesEditor.New(TextOf(path));
        return true;
    }
    SFile file;
    if (file.Open(TextOf(path), false, false, true) && m_notesEditor.LoadFromStream(&file, TextOf(path)))
        return true;
    m_notesEditor.Close(true);
    m_statusBar.SetText(0, TextOf(SString("Cannot read the notes ") + TextOf(path)));
    return false;
}

// The note is replaced only by a complete new one; on failure it keeps its
// text and the file list its mark.
bool PWndApp::SaveNotes()
{
    int fileIndex = -1;
    const SString path = GetNotePath(&fileIndex);
    if (path.GetLength() == 0 || !m_notesEditor.IsOpen())
        return false;
    const bool hasText = m_notesEditor.HasText();
    if (hasText)
    {
        SMemory text;
        if (!m_notesEditor.SaveToStream(&text, TextOf(path)) ||
            !SFile::SaveReplacing(TextOf(path), text.GetData(), text.GetSize()))
            return false;
    }
    else if (!m_disk.DeleteFile(TextOf(path)) && m_disk.FileExists(TextOf(path)))
    {
        return false;
    }
    const int mark = hasText ? 4 : -1;
    if (fileIndex >= 0 && m_fileList.GetItemSecondImage(fileIndex) != mark)
    {
        m_fileList.SetItemSecondImage(fileIndex, mark);
        m_fileList.InvalidateRect(nullptr, true);
    }
    return true;
}
