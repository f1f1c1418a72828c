#include "PSharedLibrary.h"
#include <memory>
#include <new>
#include "PBookPicturePool.h"
#include "PFolderCovers.h"
#include "PFolderNames.h"
#include "PPeerPath.h"
#include "SFile.h"
#include "SGuards.h"
#include "SPath.h"
#include "SSocketTransport.h"

namespace
{
const char* Text(const SString& text)
{
    return text.GetText() ? text.GetText() : "";
}

void WriteU32(SMemory* out, uint32_t value)
{
    unsigned char bytes[4];
    StoreU32(bytes, value);
    out->Write(bytes, 4);
}

void WriteZeroTerminated(SMemory* out, const SString& text)
{
    out->Write(Text(text), text.GetLength());
    out->Write("", 1);
}

// A page of ".htm" names its base for the peer's own root.
void RenameBase(SString* page)
{
    const int start = page->Find("<base href=\"");
    const int end = start < 0 ? -1 : page->Find("\r\n", start);
    if (end >= 0)
        page->ReplaceRange("<base href=\"KLV Sonavel\">\r\n", start, end - start);
}
}

PSharedLibrary::PSharedLibrary() : m_tree(new PLibraryTree())
{
    m_picture.LoadResource(MAKEINTRESOURCEA(130), "BINARY");
    m_smallPicture.CopyFrom(&m_picture);
    m_smallPicture.Resize(16, 16);
    m_covers.names = &m_coverNames;
    m_covers.picture = &m_picture;
    m_covers.smallPicture = &m_smallPicture;
}

void PSharedLibrary::Update(const SString& root, const SArrayString& coverNames, const PSettings::_SServer& server,
                            const std::shared_ptr<const PLibraryTree>& tree)
{
    // Expanding costs a look at every part: done again only for another root,
    // or while it has no long form (a folder missing when sharing started may
    // be made later).
    if (m_root.GetLength() == 0 || root != Text(m_rootText))
    {
        SPath folder;
        folder.SetFolder(m_disk.ExpandLongPath(Text(root)).GetText());
        m_root = folder.IsValid() ? folder.GetPath() : SString("");
        m_rootText = root;
        if (tree && tree->GetRoot().CompareNoCase(Text(root)) == 0)
            m_tree.reset(new PLibraryTree(*tree));
        else
            m_tree->Reset(m_root);
        m_tree->SetRoot(m_root);
    }
    m_coverNames = coverNames;
    m_server = server;
    m_covers.root = m_root;
}

SString PSharedLibrary::Resolve(const char* relative, bool folder)
{
    return PPeerPath::Resolve(m_disk, m_root, relative, folder);
}

// What the listings find must lie inside the root and be no link: the
// root's own extras sit beside it, outside.
bool PSharedLibrary::IsServed(const SString& path)
{
    const SPath root(Text(m_root));
    const SPath entry(Text(path));
    return root.Contains(&entry, false) && !root.IsSameFolder(&entry) && !m_disk.IsReparsePoint(Text(path));
}

bool PSharedLibrary::BuildTree(SMemory* out)
{
    SArrayString relative;
    if (m_root.GetLength() > 0)
        m_tree->ListServed(&relative);
    if (relative.GetCount() == 0)
        return false;
    // Joined once: a text grown piece by piece is copied again at each piece.
    const SString text = relative.Join("|");
    SMemory raw;
    raw.Write(Text(text), text.GetLength());
    raw.SeekToStart();
    return raw.Compress(out);
}

// Per sub-folder 16 x 16 ARGB pixels, rows from the top; 0xFF bytes when they
// can't be taken.
bool PSharedLibrary::BuildFolders(const char* argument, SMemory* out)
{
    const SString resolved = ResolveFolder(argument);
    SString folder;
    PLibraryTree::_SFolder* listed =
        resolved.GetLength() > 0 ? m_tree->Find(PPeerPath::MakeRelative(m_root, resolved), &folder) : nullptr;
    if (!listed)
        return false;
    SArrayString folders;
    SMemory names, flags;
    for (const std::unique_ptr<PLibraryTree::_SFolder>& sub : listed->folders)
    {
        const SString path = folder + Text(sub->name) + "\\";
        if (!m_tree->Check(sub.get(), path) || !PLibraryTree::IsServed(*sub))
            continue;
        folders.Add(Text(path));
        names.Write(Text(sub->name), sub->name.GetLength());
        names.Write("|", 1);
        flags.Write(m_tree->HasServedFolder(sub.get(), path) ? "1" : "0", 1);
    }
    PFolderCovers covers(m_covers, PFolderCovers::FORM_PIXELS);
    covers.Start(m_disk, folder, folders, PBookPicturePool::GetCoreCount());
    WriteZeroTerminated(out, argument);
    for (SMemory* part : {&names, &flags})
    {
        if (part->GetSize() > 0)
            out->Write(part->GetData(), part->GetSize());
        out->Write("", 1);
    }
    for (int i = 0; i < folders.GetCount(); ++i)
        out->Write(covers.GetPixels(i), PFolderCovers::PIXELS_SIZE);
    return true;
}

SString PSharedLibrary::ListFolderFiles(const SString& folder)
{
    SArrayString paths, entries;
    PLibraryFiles::ListMediaFiles(m_disk, &paths, Text(folder), false, true, true, false, false);
    PFolderNames notes;
    notes.List(m_disk, folder, "*.txt");
    for (int i = 0; i < paths.GetCount(); ++i)
    {
        const SString path = paths.GetAt(i);
        if (!IsServed(path))
            continue;
        const bool noted = notes.Has(SPath(Text(path)).GetTitle() + ".txt");
        entries.Add(Text(PPeerPath::MakeRelative(m_root, path) + (noted ? "1" : "0")));
    }
    return entries.Join("|");
}

// A cover as JPEG after its size; the root's own cover would lie outside it,
// so the root shows the default picture.
void PSharedLibrary::AppendCover(const SString& folder, SMemory* out)
{
    SImage cover;
    const SPath root(Text(m_root));
    const SPath path(Text(folder));
    if (root.IsSameFolder(&path))
    {
        cover.CopyFrom(&m_picture);
        cover.Resize(150, 150);
    }
    else
        PLibraryFiles::LoadFolderCover(&cover, Text(folder), false, m_covers);
    SMemory encoded;
    cover.Save(SImage::FORMAT_JPEG, &encoded);
    WriteU32(out, static_cast<uint32_t>(encoded.GetSize()));
    if (encoded.GetSize() > 0)
        out->Write(encoded.GetData(), encoded.GetSize());
}

void PSharedLibrary::AppendPage(const SString& folder, SMemory* out)
{
    const SPath path(Text(folder));
    const SPath root(Text(m_root));
    SString base = folder.Left(folder.GetLength() - 1);
    bool mht = true;
    SString page = base + ".mht";
    if (!m_disk.FileExists(Text(page)))
    {
        mht = false;
        page = base + ".htm";
    }
    SMemory text, packed;
    const long long size = m_disk.GetFileSize64(Text(page));
    // The root's page would lie beside it, outside.
    if (!root.IsSameFolder(&path) && size > 0 && size <= MAX_PAGE && !m_disk.IsReparsePoint(Text(page)) &&
        text.LoadFromFile(Text(page)))
    {
        if (!mht)
        {
            SString html;
            html.Assign(reinterpret_cast<const char*>(text.GetData()), text.GetSize());
            RenameBase(&html);
            text.Close();
            text.Write(Text(html), html.GetLength());
        }
        text.SeekToStart();
        if (!text.Compress(&packed))
            packed.Close();
    }
    WriteU32(out, static_cast<uint32_t>(packed.GetSize()));
    const unsigned char kind = mht ? 1 : 0;
    out->Write(&kind, 1);
    if (packed.GetSize() > 0)
        out->Write(packed.GetData(), packed.GetSize());
}

bool PSharedLibrary::BuildFolderView(const char* argument, SMemory* out)
{
    const SString folder = ResolveFolder(argument);
    if (folder.GetLength() == 0)
        return false;
    WriteZeroTerminated(out, argument);
    WriteZeroTerminated(out, ListFolderFiles(folder));
    AppendCover(folder, out);
    const SPath path(Text(folder));
    const SPath parent(Text(path.GetParent()));
    const SPath root(Text(m_root));
    if (root.Contains(&parent, true))
        AppendCover(parent.GetPath(), out);
    else
        WriteU32(out, 0);
    AppendPage(folder, out);
    return true;
}

void PSharedLibrary::BuildFileList(const char* argument, SMemory* out)
{
    const SString folder = ResolveFolder(argument);
    SString list("");
    if (folder.GetLength() > 0)
    {
        SArrayString paths, relative;
        PLibraryFiles::ListMediaFiles(m_disk, &paths, Text(folder), true, true, false, true, false);
        for (int i = 0; i < paths.GetCount(); ++i)
            if (IsServed(paths.GetAt(i)))
                relative.Add(Text(PPeerPath::MakeRelative(m_root, paths.GetAt(i))));
        list = relative.Join("|");
    }
    WriteZeroTerminated(out, list);
}

unsigned long long PSharedLibrary::Join(const FILETIME& time)
{
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Read from the entry: an open more here cost as much again as a small
// file's whole transfer.
SString PSharedLibrary::ResolveFile(const char* relative, long long* size, unsigned long long* written)
{
    const SString path = ResolveFile(relative);
    WIN32_FILE_ATTRIBUTE_DATA data;
    const bool found = path.GetLength() > 0 && GetFileAttributesExA(Text(path), GetFileExInfoStandard, &data);
    *size = found ? static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) |
                                           data.nFileSizeLow)
                  : -1;
    if (written)
        *written = found ? Join(data.ftLastWriteTime) : 0;
    return path;
}

// The size of a file that opens: one that cannot be read answers -1.
long long PSharedLibrary::GetFileSize(const char* argument, SString* path, SMemory* whole, int most,
                                     unsigned long long* written)
{
    const SString full = ResolveFile(argument);
    if (path)
        *path = full;
    if (full.GetLength() == 0)
        return -1;
    const SHandleGuard file(CreateFileA(Text(full), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file.IsValid() || !GetFileSizeEx(file.Get(), &size))
        return -1;
    if (!whole || size.QuadPart <= 0 || size.QuadPart > most)
        return size.QuadPart;
    // A file written during the read may have given older bytes than its
    // time after it says: it is kept only when its time did not move.
    FILETIME before = {}, after = {};
    const bool timed = GetFileTime(file.Get(), nullptr, nullptr, &before);
    ReadWhole(file.Get(), static_cast<int>(size.QuadPart), whole);
    if (!timed || !GetFileTime(file.Get(), nullptr, nullptr, &after) || CompareFileTime(&before, &after) != 0)
        whole->Close();
    else if (written)
        *written = Join(after);
    return size.QuadPart;
}

// Left empty unless all `size` bytes are read.
void PSharedLibrary::ReadWhole(HANDLE file, int size, SMemory* out) const
{
    std::unique_ptr<unsigned char[]> bytes(new (std::nothrow) unsigned char[size]);
    DWORD read = 0;
    out->Close();
    if (bytes && ReadFile(file, bytes.get(), static_cast<DWORD>(size), &read, nullptr) &&
        read == static_cast<DWORD>(size))
        out->Write(bytes.get(), size);
}

bool PSharedLibrary::ReadNotes(const char* argument, SString* out)
{
    const SString path = ResolveFile(argument);
    SFile file;
    if (path.GetLength() == 0 || !file.Open(Text(path), false, false, true))
        return false;
    char buffer[MAX_NOTES];
    const int read = file.Read(buffer, MAX_NOTES);
    if (read < 0)
        return false;
    out->Assign(buffer, read);
    return true;
}
