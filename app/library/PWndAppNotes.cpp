// The plain-text notes of the selected folder or file, kept beside the media.
#include "PWndApp.h"
#include "SFile.h"

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

bool PWndApp::LoadNotes()
{
    const SString path = GetNotePath(nullptr);
    if (path.GetLength() == 0)
    {
        m_notesEditor.Close(true);
        return false;
    }
    SFile file;
    if (!file.Open(TextOf(path), false, false, true) || !m_notesEditor.LoadFromStream(&file, TextOf(path)))
        m_notesEditor.New(TextOf(path));
    return true;
}

bool PWndApp::SaveNotes()
{
    int fileIndex = -1;
    const SString path = GetNotePath(&fileIndex);
    if (path.GetLength() == 0)
        return false;
    const bool hasText = m_notesEditor.HasText();
    if (hasText)
    {
        SFile file;
        if (file.Open(TextOf(path), true, true, false))
            m_notesEditor.SaveToStream(&file, TextOf(path));
    }
    else
    {
        m_disk.DeleteFile(TextOf(path));
    }
    const int mark = hasText ? 4 : -1;
    if (fileIndex >= 0 && m_fileList.GetItemSecondImage(fileIndex) != mark)
    {
        m_fileList.SetItemSecondImage(fileIndex, mark);
        m_fileList.InvalidateRect(nullptr, true);
    }
    return true;
}
