#include "PRemoteBlocks.h"
#include <cstring>
#include "SMemory.h"
#include "SSocketTransport.h"

bool PRemoteBlocks::ReadText(const unsigned char* data, int size, int* at, SString* out)
{
    if (!data || *at < 0 || *at >= size)
        return false;
    const void* zero = std::memchr(data + *at, 0, static_cast<size_t>(size - *at));
    if (!zero)
        return false;
    const int length = static_cast<int>(static_cast<const unsigned char*>(zero) - (data + *at));
    out->Assign(reinterpret_cast<const char*>(data + *at), length);
    *at += length + 1;
    return true;
}

bool PRemoteBlocks::ReadSize(const unsigned char* data, int size, int* at, int* out)
{
    if (*at < 0 || size - *at < 4)
        return false;
    const uint32_t value = LoadU32(data + *at);
    *at += 4;
    if (value > static_cast<uint32_t>(size - *at))
        return false;
    *out = static_cast<int>(value);
    return true;
}

bool PRemoteBlocks::ParseFolders(const unsigned char* data, int size, _SFolders* out)
{
    int at = 0;
    SString folder, names, flags;
    if (!ReadText(data, size, &at, &folder) || !ReadText(data, size, &at, &names) ||
        !ReadText(data, size, &at, &flags))
        return false;
    SArrayString list;
    for (int start = 0;;)
    {
        const int end = names.FindChar('|', start);
        if (end < 0)
            break; // what follows the last "|" is not a name
        list.Add(names.Substring(start, end).GetText());
        start = end + 1;
    }
    const int count = list.GetCount();
    if (flags.GetLength() != count || static_cast<long long>(count) * PICTURE_BYTES != size - at)
        return false;
    out->folder = folder;
    out->names = list;
    out->flags = flags;
    out->pictures = data + at;
    return true;
}

bool PRemoteBlocks::ParseFolderView(const unsigned char* data, int size, _SFolderView* out)
{
    _SFolderView view;
    int at = 0;
    if (!ReadText(data, size, &at, &view.folder) || !ReadText(data, size, &at, &view.files) ||
        !ReadSize(data, size, &at, &view.coverSize))
        return false;
    view.cover = data + at;
    at += view.coverSize;
    if (!ReadSize(data, size, &at, &view.parentCoverSize))
        return false;
    view.parentCover = data + at;
    at += view.parentCoverSize;
    // The page's size counts the packed page after the kind byte; a size
    // whose top bit is set reads as "no page" and must then bring no bytes.
    if (size - at < 5)
        return false;
    const uint32_t pageSize = LoadU32(data + at);
    view.mht = data[at + 4] != 0;
    at += 5;
    if (pageSize >= 1 && pageSize <= 0x7FFFFFFFu)
    {
        if (pageSize > static_cast<uint32_t>(size - at))
            return false;
        view.page = data + at;
        view.pageSize = static_cast<int>(pageSize);
        at += view.pageSize;
    }
    if (at != size)
        return false;
    *out = view;
    return true;
}

bool PRemoteBlocks::ParseFileList(const unsigned char* data, int size, SArrayString* out)
{
    int at = 0;
    SString text;
    if (!ReadText(data, size, &at, &text) || at != size)
        return false;
    for (int start = 0; start <= text.GetLength();)
    {
        int end = text.FindChar('|', start);
        if (end < 0)
            end = text.GetLength();
        if (end > start)
            out->Add(text.Substring(start, end).GetText());
        start = end + 1;
    }
    return true;
}

bool PRemoteBlocks::Unpack(const unsigned char* data, int size, SVirtualFile* out, int cap)
{
    if (!data || size < 4 || !out)
        return false;
    // The sizes are read first: a block that would unpack past the cap is
    // refused before any memory is taken for it.
    const uint32_t blocks = LoadU32(data);
    long long total = 0;
    int at = 4;
    for (uint32_t i = 0; i < blocks; i++)
    {
        if (size - at < 8)
            return false;
        const uint32_t raw = LoadU32(data + at);
        const uint32_t packed = LoadU32(data + at + 4);
        at += 8;
        if (packed > static_cast<uint32_t>(size - at))
            return false;
        at += static_cast<int>(packed);
        total += raw;
        if (total > cap)
            return false;
    }
    if (blocks == 0 || at != size)
        return false;
    SMemory packed;
    if (packed.Write(data, size) != size)
        return false;
    packed.SeekToStart();
    return packed.Uncompress(out);
}
