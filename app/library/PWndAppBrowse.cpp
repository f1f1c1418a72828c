// Walking the local library: the current folder and its sub-folders, the
// selected folder's covers, files and page, its cover pictures, and the
// counts of the whole tree.
#include "PWndApp.h"
#include "PBookPicturePool.h"
#include "PFolderCovers.h"
#include "PFolderNames.h"
#include "PLibraryFiles.h"

namespace
{
SString WithoutSeparator(const char* folder)
{
    SString text(folder ? folder : "");
    while (text.GetLength() > 0 && (text.GetAt(text.GetLength() - 1) == '\\' || text.GetAt(text.GetLength() - 1) == '/'))
        text.Truncate(text.GetLength() - 1);
    return text;
}

// A cover into a list sized once for all of them, at the list's icon size.
void PutCover(const SImageList& list, int index, const SImage& cover)
{
    const SIZE icon = list.GetIconSize();
    SImage sized;
    const bool fits = cover.GetWidth() == icon.cx && cover.GetHeight() == icon.cy;
    if (!fits && (!sized.CopyFrom(&cover) || !sized.Resize(icon.cx, icon.cy)))
        return;
    SGdiObjectGuard<HBITMAP> bitmap((fits ? cover : sized).GetHBITMAP());
    ImageList_Replace(list.GetHandle(), index, bitmap.Get(), nullptr);
}
}

void PWndApp::HoldRedraw(SWnd& window, bool hold)
{
    window.SetRedraw(!hold);
    if (!hold)
        window.InvalidateRect(nullptr, true);
}

bool PWndApp::OpenFolder(const char* name, const char* select, bool fromThumbs)
{
    SString candidate(TextOf(m_currentFolder.GetPath()));
    candidate += name ? name : "";
    return EnterFolder(candidate, select, fromThumbs);
}

// Home, folder links, the thumbnails, the play window and the book window
// name a folder by its full path.
bool PWndApp::OpenFolderPath(const char* folder, const char* select, bool fromThumbs)
{
    return EnterFolder(SString(folder ? folder : ""), select, fromThumbs);
}

// The current folder is never left empty nor outside the root, and the lists
// always show its sub-folders: a folder that cannot be entered keeps the
// current one while that still exists, and one that is missing or above the
// root opens the root. The root is entered even without sub-folders; a
// current folder that has lost all of its own gives way to the root.
bool PWndApp::EnterFolder(const SString& candidate, const char* select, bool fromThumbs)
{
    SPath target;
    if (!m_disk.FolderExists(TextOf(candidate)) || target.SetFolder(TextOf(candidate)) == 0 ||
        !m_rootFolder.Contains(&target, false))
    {
        OpenRootInstead(fromThumbs);
        return false;
    }
    SArrayString names;
    if (ListSubFolders(target.GetPath(), &names) == 0 && !target.IsSameFolder(&m_rootFolder))
    {
        if (m_rootFolder.Contains(&m_currentFolder, false) && !target.IsSameFolder(&m_currentFolder) &&
            m_disk.FolderExists(TextOf(m_currentFolder.GetPath())))
            m_pageBrowser.ShowWindow(SW_HIDE);
        else
            OpenRootInstead(fromThumbs);
        return false;
    }
    m_currentFolder.Copy(target);
    ShowEnteredFolder(names, select, fromThumbs);
    return true;
}

// The lists are refilled even at the root: folders may have gone since they
// were listed. A root without sub-folders shows empty lists.
void PWndApp::OpenRootInstead(bool fromThumbs)
{
    SArrayString names;
    ListSubFolders(m_rootFolder.GetPath(), &names);
    m_currentFolder.Copy(m_rootFolder);
    ShowEnteredFolder(names, "", fromThumbs);
    m_pageBrowser.ShowWindow(SW_HIDE);
}

void PWndApp::ShowEnteredFolder(const SArrayString& names, const char* select, bool fromThumbs)
{
    FillFolderList(names);
    m_thumbs.InvalidateRect(nullptr, true);
    if (fromThumbs)
        m_thumbs.SetFocus();
    else if (select && *select)
        m_folderList.SelectItemByText(select, true);
    ShowFolder();
    m_statusBar.SetText(0, TextOf(m_currentFolder.GetPath()));
    if (!fromThumbs)
        m_folderList.SetFocus();
    UpdateInfoText();
}

// The link's parts below the root it was written under, put under the root:
// the linked folder opens in its parent with itself selected.
bool PWndApp::OpenFolderLink(const SPath& link)
{
    const int start = m_rootFolder.GetComponentCount() - 1;
    const SString below = link.JoinComponents(start < 0 ? 0 : start, -1, false, '\\');
    const SPath target((m_rootFolder.GetPath() + below.GetText()).GetText());
    return OpenFolderPath(target.GetFullFolder().GetText(), target.GetTitle().GetText(), false);
}

int PWndApp::ListSubFolders(const SString& folder, SArrayString* names)
{
    SArrayString paths;
    m_disk.List(&paths, TextOf(folder + "*.*"), false, true, false, false, true);
    for (int i = 0; i < paths.GetCount(); ++i)
        names->Add(TextOf(SPath(TextOf(paths.GetAt(i))).GetLastFolderName(true)));
    names->AddFlags(0x10000);
    names->Sort();
    return names->GetCount();
}

// Each folder's cover is read once: whitened at 150 x 150 for its thumbnail,
// then shrunk to the folder list's 16 x 16 picture. The pictures beside the
// sub-folders are found in one listing of the current folder and made on
// workers; the default picture's forms once for all folders without one.
void PWndApp::FillFolderList(const SArrayString& names)
{
    m_thumbs.Clear();
    HoldRedraw(m_folderList, true);
    m_folderList.RemoveAll();
    m_folderCovers.RemoveAll();
    // Room for every cover at once: added one by one, the list grows a few
    // pictures at a time and copies all it holds each time.
    ImageList_SetImageCount(m_folderCovers.GetHandle(), names.GetCount() + 1);
    PutCover(m_folderCovers, 0, m_smallPicture);
    SArrayString folders;
    for (int i = 0; i < names.GetCount(); ++i)
        folders.Add(TextOf(m_currentFolder.GetPath() + TextOf(names.GetAt(i)) + "\\"));
    PFolderCovers covers(GetCovers(), PFolderCovers::FORM_LIST);
    covers.Start(m_disk, m_currentFolder.GetPath(), folders, PBookPicturePool::GetCoreCount());
    for (int i = 0; i < names.GetCount(); ++i)
    {
        const bool opens = PLibraryFiles::HasSubFolder(folders.GetAt(i), true);
        m_thumbs.AddThumbnail(covers.GetThumbnail(i), TextOf(names.GetAt(i)), !opens);
        ImageList_Replace(m_folderCovers.GetHandle(), i + 1, covers.GetIcon(i), nullptr);
        m_folderList.AddItem(TextOf(names.GetAt(i)), -1, i + 1, opens ? 0 : -1);
    }
    m_thumbs.UpdateScrollRange();
    HoldRedraw(m_folderList, false);
}

bool PWndApp::ShowFolder()
{
    const int selection = m_folderList.GetSelection();
    if (selection < 0)
    {
        ShowNoFolder();
        return false;
    }
    m_thumbs.ShowWindow(SW_HIDE);
    const SString name = m_folderList.GetItemText(selection);
    const SString folder = m_currentFolder.GetPath() + TextOf(name) + "\\";
    SImage cover;
    LoadFolderCover(&cover, TextOf(folder), false);
    cover.ConvertFormat(PixelFormat32bppARGB);
    m_coverPane.SetBackgroundImage(cover.GetBitmap(), COLOR_NONE, 11);
    m_captionPane.SetWindowText(TextOf(name));
    m_coverPane.ShowWindow(SW_SHOW);
    m_captionPane.ShowWindow(SW_SHOW);
    SetWaterSource(cover);
    ShowCurrentFolderPicture();
    FillFileList(folder);
    ShowFolderPage(folder);
    const bool files = m_fileList.GetCount() > 0;
    m_toolBar.EnableButton(3, files);
    m_toolBar.EnableButton(5, files);
    m_toolBar.EnableButton(4, true);
    m_toolBar.EnableButton(6, true);
    m_toolBar.EnableButton(7, false);
    return true;
}

void PWndApp::ShowNoFolder()
{
    m_toolBar.EnableButton(3, false);
    m_toolBar.EnableButton(5, false);
    m_toolBar.EnableButton(4, true);
    m_toolBar.EnableButton(6, true);
    m_toolBar.EnableButton(7, false);
    SWnd* panes[] = {&m_coverPane, &m_captionPane, &m_picturePane, &m_greyPane};
    for (SWnd* pane : panes)
    {
        pane->SetWindowText("");
        pane->ShowWindow(SW_HIDE);
    }
    m_fileList.RemoveAll();
    m_notesEditor.Close(true);
    m_filePaths.DeleteAndRemoveAll();
    m_pageBrowser.SetUrl("");
    m_innerSplitter.ShowWindow(SW_HIDE);
    m_fileList.ShowWindow(SW_HIDE);
    m_notesEditor.ShowWindow(SW_HIDE);
    m_pageBrowser.ShowWindow(SW_HIDE);
    m_thumbs.ShowWindow(SW_SHOW);
}

// Below the root, the current folder's own cover in grey with its name.
void PWndApp::ShowCurrentFolderPicture()
{
    if (m_currentFolder.GetComponentCount() <= m_rootFolder.GetComponentCount())
    {
        m_picturePane.ShowWindow(SW_HIDE);
        m_greyPane.ShowWindow(SW_HIDE);
        return;
    }
    SImage picture;
    LoadFolderCover(&picture, TextOf(m_currentFolder.GetPath()), false);
    picture.ConvertFormat(PixelFormat32bppARGB);
    picture.ToGrayscale();
    picture.SetAlpha(64);
    m_picturePane.SetBackgroundImage(picture.GetBitmap(), COLOR_NONE, 11);
    m_greyPane.SetWindowText(TextOf(m_currentFolder.GetLastFolderName(true)));
    m_picturePane.ShowWindow(SW_SHOW);
    m_greyPane.ShowWindow(SW_SHOW);
}

void PWndApp::FillFileList(const SString& folder)
{
    m_fileList.RemoveAll();
    m_notesEditor.Close(true);
    m_filePaths.DeleteAndRemoveAll();
    SArrayString paths;
    ListMediaFiles(&paths, TextOf(folder), false, true, true, false, false);
    PFolderNames notes;
    notes.List(m_disk, folder, "*.txt");
    HoldRedraw(m_fileList, true);
    for (int i = 0; i < paths.GetCount(); ++i)
    {
        const SPath path(TextOf(paths.GetAt(i)));
        const SString title = path.GetTitle();
        const bool noted = notes.Has(title + ".txt");
        m_fileList.AddItem(TextOf(title), -1, PLibraryFiles::GetMediaImage(path.GetExtension(false, true)), noted ? 4 : -1);
        m_filePaths.Add(TextOf(paths.GetAt(i)));
    }
    HoldRedraw(m_fileList, false);
}

void PWndApp::ShowFolderPage(const SString& folder)
{
    const SString base = WithoutSeparator(TextOf(folder));
    SString page = base + ".mht";
    if (!m_disk.FileExists(TextOf(page)))
        page = base + ".htm";
    const bool hasPage = m_disk.FileExists(TextOf(page));
    m_innerSplitter.ShowWindow(hasPage ? SW_HIDE : SW_SHOW);
    m_fileList.ShowWindow(hasPage ? SW_HIDE : SW_SHOW);
    m_notesEditor.ShowWindow(hasPage ? SW_HIDE : SW_SHOW);
    if (!hasPage)
    {
        m_pageBrowser.SetUrl("");
        m_pageBrowser.ShowWindow(SW_HIDE);
        return;
    }
    m_pageBrowser.ShowWindow(SW_SHOW);
    if (m_pageBrowser.GetCurrentUrl().CompareNoCase(TextOf(page)) != 0)
        m_pageBrowser.Navigate(TextOf(page), nullptr);
}

void PWndApp::ListMediaFiles(SArrayString* result, const char* folder, bool recurse, bool songs, bool videos,
                             bool extras, bool noRadios)
{
    PLibraryFiles::ListMediaFiles(m_disk, result, folder, recurse, songs, videos, extras, noRadios);
}

PLibraryFiles::_SCovers PWndApp::GetCovers() const
{
    PLibraryFiles::_SCovers covers;
    covers.root = m_rootFolder.GetPath();
    covers.names = &m_coverNames;
    covers.smallPicture = &m_smallPicture;
    covers.picture = &m_picture;
    return covers;
}

void PWndApp::LoadFolderCover(SImage* image, const char* folder, bool small, const PFolderNames* beside)
{
    PLibraryFiles::LoadFolderCover(image, folder, small, GetCovers(), beside);
}

void PWndApp::ScanLibrary()
{
    PLibraryScan scan;
    ScanLibrary(scan);
}

void PWndApp::ScanLibrary(PLibraryScan& scan)
{
    const std::shared_ptr<PLibraryTree> tree = std::make_shared<PLibraryTree>();
    scan.Run(TextOf(m_rootFolder.GetPath()), &m_statFolders, &m_statSongs, &m_statVideos, &m_statRadios, tree.get());
    {
        SLockGuard lock(m_sharingLock.Get());
        m_libraryTree = tree;
    }
    unsigned int totals[3] = {0, 0, 0};
    FindFolderCounts(m_rootFolder.GetPath(), totals);
    m_totalSongs = totals[0];
    m_totalVideos = totals[1];
    m_totalRadios = totals[2];
}

bool PWndApp::FindFolderCounts(const SString& folder, unsigned int counts[3]) const
{
    const int at = m_statFolders.FindSorted(TextOf(folder));
    if (at < 0)
        return false;
    counts[0] = m_statSongs.GetAt(at);
    counts[1] = m_statVideos.GetAt(at);
    counts[2] = m_statRadios.GetAt(at);
    return true;
}
