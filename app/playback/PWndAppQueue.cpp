// Filling the main window's play queue: the play commands, adding to the
// queue, and the play requests of sharing peers.
#include "PWndApp.h"
#include <cstdlib>
#include <vector>

namespace
{
// The extensions of the media kinds; nothing else is ever played for a peer.
const char* const MEDIA_EXTENSIONS[] = {"mp3", "wma", "wax", "mpg", "mpeg", "avi", "wmv", "wvx"};
}

bool PWndApp::IsMediaExtension(const SString& extension)
{
    for (const char* known : MEDIA_EXTENSIONS)
        if (extension == known)
            return true;
    return false;
}

bool PWndApp::PlayAll(bool allFolders, bool random)
{
    ClearQueue();
    const SString name = GetSelectedFolderName();
    const SString current = m_currentFolder.GetPath();
    if (name.GetLength() > 0)
        ListMediaFiles(&m_queue, TextOf(current + TextOf(name) + "\\"), allFolders, true, !allFolders, false, true);
    else if (allFolders)
        ListMediaFiles(&m_queue, TextOf(current), true, true, true, false, true);
    if (m_queue.GetCount() == 0)
        return false;
    if (random)
        Shuffle();
    else
        m_queue.Sort();
    return PlayFrom(0, false);
}

namespace
{
// The positions not yet drawn, as a tree of counts (a Fenwick tree): the k-th
// of them is found and taken out in log n steps, where removing it from a
// list of the rest would move all that follow. With every position there,
// node i counts the i & -i positions it covers.
std::vector<int> AllPositions(int count)
{
    std::vector<int> tree(count + 1, 0);
    for (int i = 1; i <= count; ++i)
        tree[i] = i & -i;
    return tree;
}

int TakePosition(std::vector<int>& tree, int k)
{
    const int count = static_cast<int>(tree.size()) - 1;
    int step = 1;
    while (step * 2 <= count)
        step *= 2;
    int at = 0;
    for (; step > 0; step /= 2)
        if (at + step <= count && tree[at + step] <= k)
        {
            at += step;
            k -= tree[at];
        }
    for (int i = at + 1; i <= count; i += i & -i)
        tree[i] -= 1;
    return at;
}
}

// rand() gives 32,768 values: more positions than that need two draws, or
// some could never be drawn.
int PWndApp::DrawPosition(int left)
{
    if (left <= 32768)
        return static_cast<int>(rand() / 32768.0 * left);
    const double high = rand();
    return static_cast<int>((high * 32768.0 + rand()) / (32768.0 * 32768.0) * left);
}

// Entry i takes the k-th of the entries not yet taken, in their order, k drawn
// by the runtime's rand(). Only the texts' pointers move.
void PWndApp::Shuffle()
{
    SArray<SString*>& entries = m_queue;
    const int count = entries.GetCount();
    std::vector<SString*> taken(count);
    for (int i = 0; i < count; ++i)
        taken[i] = entries.GetAt(i);
    std::vector<int> left = AllPositions(count);
    for (int i = 0; i < count; ++i)
        entries.SetAt(i, taken[TakePosition(left, DrawPosition(count - i))]);
}

// The file list shows playlists too, the queue does not: the selected file's
// place among the queued files is where playing starts.
bool PWndApp::PlayAt(int index, const char* folderName)
{
    ClearQueue();
    const SString name = folderName && *folderName ? SString(folderName) : GetSelectedFolderName();
    SString folder = m_currentFolder.GetPath();
    if (name.GetLength() > 0)
        folder = folder + TextOf(name) + "\\";
    ListMediaFiles(&m_queue, TextOf(folder), false, true, true, false, true);
    if (m_queue.GetCount() == 0)
        return false;
    int start = 0;
    if (index >= 0 && index < m_filePaths.GetCount())
    {
        const SString selected = m_filePaths.GetAt(index);
        while (start < m_queue.GetCount() && m_queue.GetAt(start).CompareNoCase(TextOf(selected)) < 0)
            ++start;
    }
    return PlayFrom(start, false);
}

bool PWndApp::PlaySelected()
{
    SArrayString selected;
    if (GetSelectedFilePaths(&selected) == 0 || selected.GetCount() == 0)
        return false;
    m_queue = selected;
    return PlayFrom(0, false);
}

bool PWndApp::AddToQueue(bool fromFolderList)
{
    SArrayString added;
    if (!fromFolderList)
    {
        GetSelectedFilePaths(&added);
        return AppendToQueue(added, true);
    }
    const SString name = GetSelectedFolderName();
    if (name.GetLength() == 0)
        return false;
    const SString folder = m_currentFolder.GetPath() + TextOf(name) + "\\";
    ListMediaFiles(&added, TextOf(folder), false, true, true, false, true);
    if (added.GetCount() == 0)
        ListMediaFiles(&added, TextOf(folder), true, true, false, false, true);
    return AppendToQueue(added, true);
}

bool PWndApp::AppendToQueue(const SArrayString& paths, bool startPaused)
{
    if (paths.GetCount() == 0)
        return false;
    const bool wasEmpty = m_queue.GetCount() == 0;
    for (int i = 0; i < paths.GetCount(); ++i)
        m_queue.Add(TextOf(paths.GetAt(i)));
    if (wasEmpty)
        return PlayFrom(0, startPaused);
    const int count = m_queue.GetCount();
    m_playWindow.SetQueueCount(count);
    m_taskStrip.SetQueueCount(count);
    m_toolBar.EnableButton(8, true);
    m_toolBar.EnableButton(9, true);
    m_taskStrip.EnablePrevNext(true);
    return true;
}

// A peer names files relative to the shared root; only media files inside the
// root are played, and a request with none leaves the queue as it was.
bool PWndApp::PlayFromPeer(const char* text)
{
    if (!m_server.allowPlay || !text)
        return false;
    SArrayString parts, paths;
    PSettings::SplitTokens(text, '|', &parts);
    for (int i = 0; i < parts.GetCount(); ++i)
    {
        const SPath path(TextOf(m_rootFolder.GetPath() + TextOf(parts.GetAt(i))));
        if (IsPeerPathAllowed(path))
            paths.Add(TextOf(path.GetPath()));
    }
    if (paths.GetCount() == 0)
        return false;
    m_queue = paths;
    return PlayFrom(0, false);
}

bool PWndApp::IsPeerPathAllowed(const SPath& path) const
{
    // A junction or link below the root would lead outside it, as the
    // server's other requests refuse. A file directly in the root has as many
    // parts as the root: the strict test would refuse it.
    return path.HasFileName() && IsMediaExtension(path.GetExtension(false, true)) && IsInLibrary(path);
}
