// The book's links: folder links open the folder in the main window, media
// files play or join the queue, albums play their folder; the browser follows
// any other address.
#include "PWndApp.h"
#include "PWndBook.h"
#include "PSettings.h"

LRESULT PWndBook::OnBeforeNavigate(const char* address)
{
    SString decoded;
    if (!m_owner)
        return 0;
    // A "file:" address that cannot be read safely is not followed at all.
    if (!PWndApp::AddressToPath(address, &decoded))
        return PWndApp::IsFileAddress(address) ? -1 : 0;
    const SPath path(TextOf(decoded));
    if (!path.IsValid())
        return 0;
    const SString extension = path.GetExtension(false, true);
    if (extension == "link")
        m_owner->OpenFolderLink(path);
    else if (PWndApp::IsMediaExtension(extension))
        PlayMedia(path.GetPath());
    else if (extension == "album")
        PlayAlbum(path.GetPath());
    else
        return 0;
    return -1;
}

// Only files of the library are queued: a file elsewhere, above all on
// another computer, is not even opened.
void PWndBook::PlayMedia(const SString& file)
{
    if (!m_owner->IsInLibrary(SPath(TextOf(file))))
        return;
    SArrayString paths;
    paths.Add(TextOf(file));
    if (!m_keyboard.IsCtrlDown())
        m_owner->ClearQueue();
    m_owner->AppendToQueue(paths, false);
}

void PWndBook::PlayAlbum(const SString& address)
{
    SString folder = address.Left(address.ReverseFindChar('.'));
    folder += "\\";
    SPath inside;
    if (inside.SetFolder(TextOf(folder)) == 0 || !m_owner->IsInLibrary(inside))
        return;
    SArrayString files;
    m_owner->ListMediaFiles(&files, TextOf(folder), false, true, true, false, false);
    m_owner->ClearQueue();
    if (files.GetCount() > 0)
        m_owner->AppendToQueue(files, false);
}
