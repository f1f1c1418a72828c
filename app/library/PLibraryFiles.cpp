#include "PLibraryFiles.h"
#include <map>
#include <string>
#include "PFolderNames.h"
#include "SFile.h"
#include "SGuards.h"
#include "SPath.h"

namespace
{
// The kinds by extension; the last of each is a radio (a stream play list).
const char* const SONG_EXTENSIONS[] = {"mp3", "wma", "wax"};
const char* const VIDEO_EXTENSIONS[] = {"mpg", "mpeg", "avi", "wmv", "wvx"};

const char* Text(const SString& text)
{
    return text.GetText() ? text.GetText() : "";
}

// The lower-cased text after the file name's last dot ("" without one).
SString LowerExtension(const SString& path)
{
    const int dot = path.ReverseFindChar('.');
    if (dot < 0 || path.FindChar('\\', dot) >= 0)
        return SString("");
    return path.Mid(dot + 1).ToLower();
}

bool IsWantedKind(const SString& extension, bool songs, bool videos, bool noRadios)
{
    for (int i = 0; songs && i < 3; ++i)
        if (!(noRadios && i == 2) && extension == SONG_EXTENSIONS[i])
            return true;
    for (int i = 0; videos && i < 5; ++i)
        if (!(noRadios && i == 4) && extension == VIDEO_EXTENSIONS[i])
            return true;
    return false;
}

SString WithoutSeparator(const char* folder)
{
    SString text(folder ? folder : "");
    while (text.GetLength() > 0 &&
           (text.GetAt(text.GetLength() - 1) == '\\' || text.GetAt(text.GetLength() - 1) == '/'))
        text.Truncate(text.GetLength() - 1);
    return text;
}

// 1 when made, 0 when there is no such file, -1 when the file is there but
// gave no picture (damaged, or memory ran short).
int LoadPicture(SImage* image, const SString& path)
{
    SFile file;
    if (!file.Open(Text(path), false, false, true))
        return 0;
    return image->Load(&file) ? 1 : -1;
}

bool IsNamedCover(const SArrayString* names, const SString& name)
{
    for (int i = 0; names && i < names->GetCount(); ++i)
        if (names->GetAt(i).CompareNoCase(Text(name)) == 0)
            return true;
    return false;
}
}

void PLibraryFiles::ListMediaFiles(SDisk& disk, SArrayString* result, const char* folder, bool recurse, bool songs,
                                   bool videos, bool extras, bool noRadios)
{
    SArrayString found;
    const SString base(folder ? folder : "");
    // One listing, the files kept by the kind their extension names: a listing
    // per kind would read the folder eight times.
    SArrayString files;
    // No folder is not the process's current folder.
    if (base.GetLength() == 0)
        return;
    if (songs || videos)
        disk.List(&files, Text(base + "*.*"), recurse, false, true, false, true);
    for (int i = 0; i < files.GetCount(); ++i)
        if (IsWantedKind(LowerExtension(files.GetAt(i)), songs, videos, noRadios))
            found.Add(Text(files.GetAt(i)));
    if (extras)
        AddFolderFiles(disk, &found, base, recurse);
    found.AddFlags(0x10000);
    found.Sort();
    for (int i = 0; i < found.GetCount(); ++i)
        result->Add(Text(found.GetAt(i)));
}

// The cover, description and page beside the folder and, when recursive,
// beside every folder below it. Each parent's files are listed once.
void PLibraryFiles::AddFolderFiles(SDisk& disk, SArrayString* found, const SString& folder, bool recurse)
{
    SArrayString folders;
    folders.Add(Text(folder));
    if (recurse)
        disk.List(&folders, Text(folder + "*.*"), true, true, false, false, true);
    std::map<std::string, PFolderNames> parents;
    for (int i = 0; i < folders.GetCount(); ++i)
    {
        const SString base = WithoutSeparator(Text(folders.GetAt(i)));
        const int cut = base.ReverseFindChar('\\');
        // A drive's root lies beside nothing: an empty parent would list the
        // process's current folder.
        if (cut < 0)
            continue;
        const SString parent = base.Left(cut + 1);
        const SString name = base.Mid(cut + 1);
        auto listed = parents.find(Text(parent));
        if (listed == parents.end())
        {
            listed = parents.emplace(Text(parent), PFolderNames()).first;
            listed->second.List(disk, parent, "*.*");
        }
        const PFolderNames& beside = listed->second;
        const char* const pairs[3][2] = {{".png", ".jpg"}, {".txt", nullptr}, {".mht", ".htm"}};
        for (const auto& pair : pairs)
        {
            if (beside.Has(name + pair[0]))
                found->Add(Text(base + pair[0]));
            else if (pair[1] && beside.Has(name + pair[1]))
                found->Add(Text(base + pair[1]));
        }
    }
}

bool PLibraryFiles::LoadFolderCover(SImage* image, const char* folder, bool small, const _SCovers& covers,
                                    const PFolderNames* beside)
{
    if (!image)
        return false;
    bool whole = true;
    if (!LoadOwnCover(image, folder, covers, beside, &whole))
        image->CopyFrom(small ? covers.smallPicture : covers.picture);
    return SizeCover(image, small) && whole;
}

bool PLibraryFiles::LoadOwnCover(SImage* image, const char* folder, const _SCovers& covers, const PFolderNames* beside,
                                 bool* whole)
{
    auto load = [&](const SString& path) {
        const int made = LoadPicture(image, path);
        if (whole && made < 0)
            *whole = false;
        return made > 0;
    };
    const SString base = WithoutSeparator(folder);
    const SString bare = base.Mid(base.ReverseFindChar('\\') + 1);
    // A drive's root ("D:") has no picture beside it: "D:.png" is a file of that drive's current folder.
    auto mayOpen = [&](const char* extension) {
        return base.ReverseFindChar('\\') >= 0 && (!beside || beside->Has(bare + extension));
    };
    if ((mayOpen(".png") && load(base + ".png")) || (mayOpen(".jpg") && load(base + ".jpg")))
        return true;
    const SString name = SPath(Text(base + "\\")).GetLastFolderName(true);
    if (name.GetLength() == 0 || !IsNamedCover(covers.names, name))
        return false;
    const SString inRoot = covers.root + Text(name);
    auto listed = [&](const char* extension) { return !covers.inRoot || covers.inRoot->Has(name + extension); };
    return (listed(".png") && load(inRoot + ".png")) || (listed(".jpg") && load(inRoot + ".jpg"));
}

bool PLibraryFiles::MayHaveOwnCover(const char* folder, const _SCovers& covers, const PFolderNames& beside)
{
    const SString base = WithoutSeparator(folder);
    const SString bare = base.Mid(base.ReverseFindChar('\\') + 1);
    if (base.ReverseFindChar('\\') >= 0 && (beside.Has(bare + ".png") || beside.Has(bare + ".jpg")))
        return true;
    const SString name = SPath(Text(base + "\\")).GetLastFolderName(true);
    if (name.GetLength() == 0 || !IsNamedCover(covers.names, name))
        return false;
    return !covers.inRoot || covers.inRoot->Has(name + ".png") || covers.inRoot->Has(name + ".jpg");
}

bool PLibraryFiles::SizeCover(SImage* image, bool small)
{
    const int side = small ? 16 : 150;
    image->Resize(side, side);
    bool whole = true;
    if (!small)
    {
        const bool converted = image->ConvertFormat(PixelFormat32bppARGB);
        whole = image->MakeOpaqueWhite() && converted;
    }
    return whole && image->GetWidth() == side && image->GetHeight() == side;
}

// One look at the folder, left at the first sub-folder: a listing of each
// sub-folder of a large folder is most of what showing it costs.
bool PLibraryFiles::HasSubFolder(const SString& folder, bool hidden, bool (*accept)(const SString&, void*),
                                 void* context)
{
    WIN32_FIND_DATAA data;
    SFindGuard find(FindFirstFileA(Text(folder + "*.*"), &data));
    if (!find.IsValid())
        return false;
    do
    {
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const bool dots = strcmp(data.cFileName, ".") == 0 || strcmp(data.cFileName, "..") == 0;
        if (!isFolder || dots || (!hidden && (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)))
            continue;
        if (!accept || accept(folder + data.cFileName + "\\", context))
            return true;
    } while (FindNextFileA(find.Get(), &data));
    return false;
}

int PLibraryFiles::GetMediaImage(const SString& extension)
{
    if (extension == "mp3" || extension == "wma")
        return 2;
    if (extension == "wax" || extension == "wvx")
        return 3;
    return 1;
}
