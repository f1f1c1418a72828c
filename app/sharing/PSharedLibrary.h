// What the sharing server reads of the library, on the server's own thread: a
// copy of the root, the cover names and the server settings (taken under the
// main window's lock), a disk object and default pictures of its own. Builds
// the reply blocks of the requests from paths that passed the peer path check.
#pragma once
#include <memory>
#include "SArrayString.h"
#include "SDisk.h"
#include "SImage.h"
#include "SMemory.h"
#include "SString.h"
#include "PLibraryFiles.h"
#include "PLibraryTree.h"
#include "PSettings.h"

class PFolderNames;

class PSharedLibrary
{
public:
    // A page larger than this is not sent.
    static const int MAX_PAGE = 64 * 1024 * 1024;
    // "107" answers with one text packet.
    static const int MAX_NOTES = 4095;

    PSharedLibrary();
    virtual ~PSharedLibrary() {}

    // Takes the copy; the root is used in its long form. The folders a scan
    // of the same root read are the start of the server's own: its first
    // answers need not read the library whole.
    void Update(const SString& root, const SArrayString& coverNames, const PSettings::_SServer& server,
                const std::shared_ptr<const PLibraryTree>& tree = nullptr);
    const PSettings::_SServer& GetServer() const { return m_server; }
    const SString& GetRoot() const { return m_root; }

    // The full path of a folder or file a peer names; "" when refused.
    SString ResolveFolder(const char* relative) { return Resolve(relative, true); }
    SString ResolveFile(const char* relative) { return Resolve(relative, false); }
    // The same with the file's size as its entry gives it (-1 when it has
    // none) and its last write time: the sender's own open then tells
    // whether it can be read.
    SString ResolveFile(const char* relative, long long* size, unsigned long long* written = nullptr);

    // "100": every non-hidden folder below the root, packed; false when none.
    // The folders are kept between requests, each read again only once its
    // write time moved.
    bool BuildTree(SMemory* out);
    // "101": the listing of the folder's sub-folders; false when refused.
    bool BuildFolders(const char* argument, SMemory* out);
    // "102": the folder's files, covers and page; false when refused.
    bool BuildFolderView(const char* argument, SMemory* out);
    // "103": the files to download below the folder, "|"-joined with its
    // zero; only the zero for a refused folder.
    void BuildFileList(const char* argument, SMemory* out);
    // "105": the size of a file; -1 when refused or unreadable. *path gets
    // its full path, and a file of at most `most` bytes is read whole into
    // *whole (left empty when it cannot be, or when it was written during
    // the read), with its last write time in *written (left as it was for a
    // file not read).
    long long GetFileSize(const char* argument, SString* path = nullptr, SMemory* whole = nullptr, int most = 0,
                          unsigned long long* written = nullptr);
    // "107": at most MAX_NOTES bytes of the file as text; false when refused.
    bool ReadNotes(const char* argument, SString* out);

protected:
    // Reads a small file whole for its size request (tests stand in for a
    // writer that comes meanwhile).
    virtual void ReadWhole(HANDLE file, int size, SMemory* out) const;

private:
    static unsigned long long Join(const FILETIME& time);
    SString Resolve(const char* relative, bool folder);
    bool IsServed(const SString& path);
    void AppendCover(const SString& folder, SMemory* out);
    SString ListFolderFiles(const SString& folder);
    void AppendPage(const SString& folder, SMemory* out);

    SDisk m_disk;
    SString m_rootText, m_root;
    SArrayString m_coverNames;
    PSettings::_SServer m_server;
    SImage m_picture, m_smallPicture;
    PLibraryFiles::_SCovers m_covers;
    std::unique_ptr<PLibraryTree> m_tree;
};
