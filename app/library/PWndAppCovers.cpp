// Covers kept beside the media: a picture of the user's own, or one found by
// the web image search, made the folder's 150 x 150 PNG cover.
#include "PWndApp.h"
#include "PWndGoogle.h"
#include "SFile.h"
#include "SMemory.h"

namespace
{
// The folder's path without its closing separator, and ".png", lower-cased.
SString CoverFileOf(const SString& folder)
{
    SString file(folder);
    while (file.GetLength() > 0 && (file.GetAt(file.GetLength() - 1) == '\\' || file.GetAt(file.GetLength() - 1) == '/'))
        file.Truncate(file.GetLength() - 1);
    file += ".png";
    file.MakeLower();
    return file;
}
}

bool PWndApp::MakeCover(const char* folder)
{
    const int selection = m_folderList.GetSelection();
    const int top = m_folderList.GetTopIndex();
    if (!folder || !m_disk.FolderExists(folder))
        return false;
    const SString cover = CoverFileOf(folder);
    if (!ConfirmCoverReplace(cover))
        return false;
    SString chosen;
    if (!ChooseFile("Images|*.png;*.jpg;*.jpeg;*.gif;*.bmp", &chosen))
        return false;
    SImage picture;
    SFile file;
    if (!file.Open(TextOf(chosen), false, false, true) || !picture.Load(&file))
        return false;
    file.Close();
    if (!PWndGoogle::CropToSquare(&picture, PWndGoogle::COVER_SIZE) || !WriteCover(picture, cover))
        return false;
    RefreshAfterCover(selection, top);
    return true;
}

bool PWndApp::DownloadCover(const char* name)
{
    const int selection = m_folderList.GetSelection();
    const int top = m_folderList.GetTopIndex();
    const SString cover = CoverFileOf(m_currentFolder.GetPath() + TextOf(GetSelectedFolderName()));
    if (!ConfirmCoverReplace(cover))
        return false;
    PWndGoogle search;
    if (!search.CreatePopup("Web...", nullptr, m_handle, 0, false))
        return false;
    search.SetSearchText(name);
    if (RunModal(search) != 0 || !search.GetChosenImage().IsLoaded() || !WriteCover(search.GetChosenImage(), cover))
        return false;
    search.DestroyWindow();
    RefreshAfterCover(selection, top);
    return true;
}

bool PWndApp::ConfirmCoverReplace(const SString& file)
{
    return !m_disk.FileExists(TextOf(file)) ||
           Ask("Do you wish to delete the existing file?", "Confirmation", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// Encoded whole first, then put in the old cover's place only once written.
bool PWndApp::WriteCover(const SImage& picture, const SString& file)
{
    SMemory encoded;
    return picture.Save(SImage::FORMAT_PNG, &encoded) &&
           SFile::SaveReplacing(TextOf(file), encoded.GetData(), encoded.GetSize());
}

// The current folder read again with the folder list as it was, so that the
// new cover shows at once.
void PWndApp::RefreshAfterCover(int selection, int top)
{
    const SString current = m_currentFolder.GetPath();
    OpenFolderPath(TextOf(current), "", false);
    m_folderList.SetTopIndex(top);
    if (selection >= 0)
        m_folderList.SetSelection(selection);
    ShowFolder();
    m_folderList.SetFocus();
}
