#include "PLibraryScan.h"
#include <algorithm>
#include <cstring>
#include <vector>
#include "PFolderTree.h"
#include "SGuards.h"

namespace
{
struct Node
{
    SString path;
    int parent;
    unsigned int counts[3];
    PLibraryTree::_SFolder* recorded;
};

const struct
{
    const char* extension;
    PLibraryScan::Kind kind;
} KINDS[] = {{"mp3", PLibraryScan::KIND_SONG},  {"wma", PLibraryScan::KIND_SONG},  {"mpg", PLibraryScan::KIND_VIDEO},
             {"mpeg", PLibraryScan::KIND_VIDEO}, {"avi", PLibraryScan::KIND_VIDEO}, {"wmv", PLibraryScan::KIND_VIDEO},
             {"wax", PLibraryScan::KIND_RADIO}, {"wvx", PLibraryScan::KIND_RADIO}};
}

PLibraryScan::Kind PLibraryScan::GetKind(const char* fileName)
{
    const char* dot = fileName ? std::strrchr(fileName, '.') : nullptr;
    if (!dot)
        return KIND_NONE;
    for (const auto& entry : KINDS)
        if (SString::CompareTextNoCase(dot + 1, entry.extension) == 0)
            return entry.kind;
    return KIND_NONE;
}

// Through the wide calls: a sub-folder whose name the code page lacks or gives
// as a look-alike of another (which would count that one twice), or whose own
// listing would pass the system's limit, cannot be reached and is not counted.
void PLibraryScan::ListFolder(const SString& folder, SArrayString* subFolders, unsigned int counts[3])
{
    const std::wstring wide = PFolderTree::ToWide(folder);
    WIN32_FIND_DATAW data;
    SFindGuard find(FindFirstFileW((wide + L"*").c_str(), &data));
    if (!find.IsValid())
        return;
    do
    {
        SString name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            if (PLibraryTree::IsRecorded(wide, data, &name))
            {
                subFolders->Add(name.GetText());
                if (m_recorded)
                    PLibraryTree::AddFound(m_recorded, name, data);
            }
            continue;
        }
        PFolderTree::ToCodePage(data.cFileName, &name);
        const Kind kind = GetKind(name.GetText());
        if (kind != KIND_NONE)
            ++counts[kind];
    } while (FindNextFileW(find.Get(), &data));
    if (m_recorded)
        m_recorded->read = true;
}

void PLibraryScan::Run(const char* root, SArrayString* folders, SArray<unsigned int>* songs,
                       SArray<unsigned int>* videos, SArray<unsigned int>* radios, PLibraryTree* tree)
{
    folders->DeleteAndRemoveAll();
    songs->RemoveAll();
    videos->RemoveAll();
    radios->RemoveAll();
    // Breadth first: every folder comes after its parent, so one backward pass
    // adds each folder's counts into its parent's.
    std::vector<Node> nodes;
    nodes.push_back(Node{SString(root ? root : ""), -1, {0, 0, 0}, tree ? &tree->Reset(root ? root : "") : nullptr});
    SArrayString names;
    for (size_t i = 0; i < nodes.size(); ++i)
    {
        names.DeleteAndRemoveAll();
        m_recorded = nodes[i].recorded;
        ListFolder(nodes[i].path, &names, nodes[i].counts);
        // Recorded in the order listed, as the names are.
        const bool recorded = m_recorded && m_recorded->folders.size() == static_cast<size_t>(names.GetCount());
        for (int n = 0; n < names.GetCount(); ++n)
            nodes.push_back(Node{nodes[i].path + names.GetAt(n).GetText() + "\\", static_cast<int>(i), {0, 0, 0},
                                 recorded ? m_recorded->folders[static_cast<size_t>(n)].get() : nullptr});
    }
    m_recorded = nullptr;
    for (size_t i = nodes.size(); i-- > 1;)
        for (int k = 0; k < 3; ++k)
            nodes[nodes[i].parent].counts[k] += nodes[i].counts[k];
    std::vector<int> order(nodes.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::sort(order.begin(), order.end(), [&nodes](int a, int b) {
        return SString::CompareTextNoCase(nodes[a].path.GetText(), nodes[b].path.GetText()) < 0;
    });
    folders->AddFlags(SArrayString::NoCase);
    for (const int i : order)
    {
        folders->Add(nodes[i].path.GetText());
        songs->Add(nodes[i].counts[KIND_SONG]);
        videos->Add(nodes[i].counts[KIND_VIDEO]);
        radios->Add(nodes[i].counts[KIND_RADIO]);
    }
}
