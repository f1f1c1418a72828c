// The main window showing a remote library: folder listings, folder views
// with covers and pages, notes, and the welcome page built from the tree.
#include "PWndApp.h"
#include <cstdlib>
#include "PLibraryFiles.h"
#include "PPeerPath.h"
#include "PRemoteBlocks.h"
#include "SLibrary.h"
#include "SMemory.h"

namespace
{
// Names and addresses from a peer go into the page as text.
SString EscapeHtml(const SString& text)
{
    SString out("");
    for (int i = 0; i < text.GetLength(); ++i)
    {
        const char c = text.GetAt(i);
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

// A path as the views give it (under "c:\", with a name or ".." added) as
// the request names it: the folder part below "c:\", ".." resolved.
SString RemoteRequestPath(const char* path)
{
    SString text(path ? path : "");
    if (text.GetLength() == 0)
        return text;
    if (text.GetLength() < 3 || text.GetAt(1) != ':')
        text = SString("c:\\") + TextOf(text);
    SPath folder;
    folder.SetFolder(TextOf(text));
    return folder.IsValid() ? folder.GetFolder() : SString("");
}

// One text of a "|"-joined list per entry; empty entries are skipped.
void SplitEntries(const SString& text, SArrayString* out)
{
    SArrayString tokens;
    PSettings::SplitTokens(TextOf(text), '|', &tokens);
    for (int i = 0; i < tokens.GetCount(); ++i)
        if (tokens.GetAt(i).GetLength() > 0)
            out->Add(TextOf(tokens.GetAt(i)));
}

bool LoadPictureBytes(SImage* image, const unsigned char* bytes, int size)
{
    if (size <= 0)
        return false;
    SMemory memory;
    memory.Write(bytes, size);
    memory.SeekToStart();
    return image->Load(&memory);
}
}

bool PWndApp::OpenRemoteFolder(const char* path)
{
    const SString folder = RemoteRequestPath(path);
    int size = 0;
    unsigned char* block = m_client.RequestBlock("101", TextOf(folder), &size);
    const bool parsed = block && ParseRemoteFolders(block, size);
    std::free(block);
    if (!parsed)
    {
        ReportRemoteFailure(folder, "could not be opened");
        return false;
    }
    ShowRemoteFolder();
    return true;
}

bool PWndApp::ReadRemoteFolders(const unsigned char* block, int size, PRemoteBlocks::_SFolders* folders)
{
    return PRemoteBlocks::ParseFolders(block, size, folders) && PPeerPath::IsAcceptedText(TextOf(folders->folder), true);
}

bool PWndApp::ParseRemoteFolders(const unsigned char* block, int size)
{
    PRemoteBlocks::_SFolders folders;
    if (!ReadRemoteFolders(block, size, &folders))
        return false;
    ShowRemoteFolders(folders);
    return true;
}

// In one pass, as the local list is filled: every picture goes into the image
// list at once, and the list draws once, after the last item.
void PWndApp::ShowRemoteFolders(const PRemoteBlocks::_SFolders& folders)
{
    const int count = folders.names.GetCount();
    HoldRedraw(m_folderList, true);
    m_folderList.RemoveAll();
    m_folderCovers.RemoveAll();
    m_folderCovers.AddImage(&m_smallPicture);
    if (!m_folderCovers.AddPixels(folders.pictures, count))
        for (int i = 0; i < count; ++i)
            m_folderCovers.AddImage(&m_smallPicture);
    for (int i = 0; i < count; ++i)
        m_folderList.AddItem(TextOf(folders.names.GetAt(i)), -1, i + 1, folders.flags.GetAt(i) != '0' ? 0 : -1);
    HoldRedraw(m_folderList, false);
    m_shownRemoteItem = -1;
    m_remoteFolder.SetFolder(TextOf(SString("c:\\") + TextOf(folders.folder)));
    ShowRemoteStatus();
}

void PWndApp::ShowRemoteStatus()
{
    const SString status = SString("<") + TextOf(m_client.GetName()) + ">\\\\" + TextOf(m_remoteFolder.GetFolder());
    m_statusBar.SetText(0, TextOf(status));
}

// A request failed and the session stays: the views are as they were, and the
// status bar says why.
void PWndApp::ReportRemoteFailure(const SString& folder, const char* what)
{
    if (IsLocal())
        return;
    SString text = SString("<") + TextOf(m_client.GetName()) + ">\\\\" + TextOf(folder) + " " + what + ": ";
    switch (m_client.GetLastFailure())
    {
    case PSocketClient::FAILURE_LATE:
        text += "the server did not answer in time. It may be busy sending a file: try again in a moment.";
        break;
    case PSocketClient::FAILURE_REFUSED:
        text += "the server refused it. It may have been moved or removed.";
        break;
    default:
        text += "the server's reply could not be read.";
        break;
    }
    m_statusBar.SetText(0, TextOf(text));
}

bool PWndApp::ShowRemoteFolder()
{
    const int selection = m_folderList.GetSelection();
    const SString name = GetSelectedFolderName();
    if (name.GetLength() == 0)
    {
        for (int id : {26, 27, 28})
            m_toolBar.EnableButton(id, false);
        ShowNoFolder();
        m_thumbs.ShowWindow(SW_HIDE);
        m_secondBrowser.ShowWindow(SW_SHOW);
        m_shownRemoteItem = -1;
        return false;
    }
    const SString folder = m_remoteFolder.GetFolder() + TextOf(name);
    int size = 0;
    unsigned char* block = m_client.RequestBlock("102", TextOf(folder), &size);
    const bool shown = block && ParseRemoteFolderView(block, size);
    std::free(block);
    if (shown)
    {
        m_shownRemoteItem = selection;
        ShowRemoteStatus();
        return true;
    }
    // The panes still show the folder they showed: so does the highlight.
    if (!IsLocal())
        m_folderList.SetSelection(m_shownRemoteItem);
    ReportRemoteFailure(folder + "\\", "could not be shown");
    return false;
}

// The page's base names the peer's root; here it is our own, so that the
// page's pictures and links resolve (links to folders are cancelled).
void PWndApp::ShowRemotePage(SMemory& page, bool mht)
{
    SString text;
    text.Assign(reinterpret_cast<const char*>(page.GetData()), page.GetSize());
    const SString base = SString("<base href=\"") + TextOf(m_rootFolder.GetPath()) + "\">";
    text.Replace("<base href=\"KLV Sonavel\">", TextOf(base), 0, -1, false);
    m_innerSplitter.ShowWindow(SW_HIDE);
    m_fileList.ShowWindow(SW_HIDE);
    m_notesEditor.ShowWindow(SW_HIDE);
    m_pageBrowser.ShowWindow(SW_SHOW);
    SMemory html;
    html.Write(TextOf(text), text.GetLength());
    html.SeekToStart();
    m_pageBrowser.ShowHtml(&html, nullptr, mht ? "mht" : "htm");
}

void PWndApp::ShowRemotePictures(const PRemoteBlocks::_SFolderView& view, const SPath& shown)
{
    SImage cover;
    if (LoadPictureBytes(&cover, view.cover, view.coverSize))
    {
        cover.ConvertFormat(PixelFormat32bppARGB);
        SetWaterSource(cover);
    }
    SImage parent;
    const bool hasParent = LoadPictureBytes(&parent, view.parentCover, view.parentCoverSize);
    m_coverPane.SetBackgroundImage(cover.GetBitmap(), COLOR_NONE, 11);
    m_captionPane.SetWindowText(TextOf(shown.GetLastFolderName(true)));
    m_coverPane.ShowWindow(SW_SHOW);
    m_captionPane.ShowWindow(SW_SHOW);
    if (!hasParent)
    {
        m_picturePane.ShowWindow(SW_HIDE);
        m_greyPane.ShowWindow(SW_HIDE);
        return;
    }
    parent.ConvertFormat(PixelFormat32bppARGB);
    parent.ToGrayscale();
    parent.SetAlpha(96);
    m_picturePane.SetBackgroundImage(parent.GetBitmap(), COLOR_NONE, 11);
    m_greyPane.SetWindowText(TextOf(SPath(TextOf(shown.GetParent())).GetLastFolderName(true)));
    m_picturePane.ShowWindow(SW_SHOW);
    m_greyPane.ShowWindow(SW_SHOW);
}

bool PWndApp::ParseRemoteFolderView(const unsigned char* block, int size)
{
    PRemoteBlocks::_SFolderView view;
    SMemory unpacked;
    // A page that cannot be unpacked refuses the whole view.
    if (!PRemoteBlocks::ParseFolderView(block, size, &view) || !PPeerPath::IsAcceptedText(TextOf(view.folder), true) ||
        (view.page && !PRemoteBlocks::Unpack(view.page, view.pageSize, &unpacked)))
        return false;
    m_secondBrowser.ShowWindow(SW_HIDE);
    SPath shown;
    shown.SetFolder(TextOf(SString("c:\\") + TextOf(view.folder)));
    ShowRemotePictures(view, shown);
    m_fileList.RemoveAll();
    m_notesEditor.Close(true);
    m_filePaths.DeleteAndRemoveAll();
    SArrayString entries;
    SplitEntries(view.files, &entries);
    HoldRedraw(m_fileList, true);
    for (int i = 0; i < entries.GetCount(); ++i)
    {
        const SString entry = entries.GetAt(i);
        const bool noted = entry.GetAt(entry.GetLength() - 1) == '1';
        const SPath path(TextOf(SString("c:\\") + TextOf(entry.Left(entry.GetLength() - 1))));
        m_fileList.AddItem(TextOf(path.GetTitle()), -1, PLibraryFiles::GetMediaImage(path.GetExtension(false, true)),
                           noted ? 4 : -1);
        m_filePaths.Add(TextOf(path.GetFolder() + TextOf(path.GetFileName())));
    }
    HoldRedraw(m_fileList, false);
    if (view.page)
        ShowRemotePage(unpacked, view.mht);
    else
    {
        m_pageBrowser.SetUrl("");
        m_pageBrowser.ShowWindow(SW_HIDE);
        m_innerSplitter.ShowWindow(SW_SHOW);
        m_fileList.ShowWindow(SW_SHOW);
        m_notesEditor.ShowWindow(SW_SHOW);
    }
    m_toolBar.EnableButton(26, true);
    m_toolBar.EnableButton(27, false);
    m_toolBar.EnableButton(28, false);
    return true;
}

bool PWndApp::LoadRemoteNotes()
{
    const SString folder = GetSelectedFolderName();
    const SString title = GetSelectedFileTitle();
    SString path = m_remoteFolder.GetFolder() + TextOf(folder);
    path += title.GetLength() > 0 ? TextOf(SString("\\") + TextOf(title) + ".txt") : ".txt";
    SString text;
    if (folder.GetLength() == 0 || !m_client.RequestText("107", TextOf(path), &text))
    {
        // Most files have no notes: only a reply that did not come is told.
        if (folder.GetLength() > 0 && m_client.GetLastFailure() == PSocketClient::FAILURE_LATE)
            ReportRemoteFailure(path, "could not be read");
        m_notesEditor.Close(true);
        return false;
    }
    SMemory notes;
    notes.Write(TextOf(text), text.GetLength());
    notes.SeekToStart();
    m_notesEditor.New(TextOf(path));
    return m_notesEditor.LoadFromStream(&notes, TextOf(path));
}

bool PWndApp::ReceiveRemoteTree(SVirtualFile* stream)
{
    int size = 0;
    unsigned char* block = stream ? m_client.RequestBlock("100", "", &size) : nullptr;
    if (!block)
        return false;
    const bool unpacked = PRemoteBlocks::Unpack(block, size, stream);
    std::free(block);
    stream->SeekToStart();
    return unpacked;
}

// Top-level folders are headings; the folders below them nest in lists.
bool PWndApp::BuildRemoteWelcomePage(SVirtualFile* stream, const char* pictureAddress)
{
    SMemory tree;
    if (!stream || !ReceiveRemoteTree(&tree))
        return false;
    SArrayString folders;
    SplitEntries(tree.ReadText(-1), &folders);
    stream->WriteLine("<html><head>");
    SMemory style;
    if (style.LoadFromResource("BINARY", 185, GetInstance()))
        stream->Write(style.GetData(), style.GetSize());
    stream->WriteLine("</head>");
    stream->WriteLine("<body link=#808080 alink=#808080 vlink=#808080 leftmargin=6 topmargin=6 rightmargin=6 "
                      "bottommargin=6 marginwidth=6 marginheight=6><font class=t1>");
    stream->WriteLine(TextOf(SString("<center><font class=t2>") + TextOf(EscapeHtml(m_client.GetName())) +
                             "</font><br>"));
    SString port;
    port.SetInt(m_client.GetPort());
    stream->WriteLine(TextOf(SString("IP: ") + TextOf(EscapeHtml(m_client.GetHost())) + " - Port: " +
                             TextOf(port) + "</center><br><br>"));
    const SString picture = EscapeHtml(pictureAddress ? pictureAddress : "");
    int previous = 0;
    for (int i = 0; i < folders.GetCount(); ++i)
        previous = WriteWelcomeFolder(stream, folders.GetAt(i), previous, picture);
    for (int level = 0; level < previous; ++level)
        stream->WriteLine("</ul>");
    stream->WriteLine("</p>");
    stream->WriteLine("</font></body></html>");
    stream->SeekToStart();
    return true;
}

int PWndApp::WriteWelcomeFolder(SVirtualFile* stream, const SString& folder, int previous, const SString& picture)
{
    // A peer's entry without a separator counts as a top folder, never as depth -1.
    const int depth = folder.CountChar('\\') > 0 ? folder.CountChar('\\') - 1 : 0;
    SString name = folder;
    while (name.GetLength() > 0 && name.GetAt(name.GetLength() - 1) == '\\')
        name.Truncate(name.GetLength() - 1);
    name = EscapeHtml(name.Mid(name.ReverseFindChar('\\') + 1));
    for (int level = depth; level < previous; ++level)
        stream->WriteLine("</ul>");
    if (depth <= 0)
    {
        if (previous > 0)
            stream->WriteLine("</p>");
        stream->WriteLine(TextOf(SString("<font class=t3><img src=\"") + TextOf(picture) + "\" align=absmiddle> " +
                                 TextOf(name) + "</font><br>"));
        stream->WriteLine("<table border=0 cellpadding=0 cellspacing=0 width=100%><tr height=4><td></tr><tr "
                          "height=5><td bgcolor=#1381ff></tr></table><br>");
        stream->WriteLine("<p class=txt>");
        return 0;
    }
    if (previous < depth)
        stream->WriteLine("<ul>");
    stream->WriteLine(TextOf(SString("<li>") + TextOf(name) + "<br>"));
    return depth;
}
