#include "SClipboard.h"
#include "SPlatform.h"
#include <cstring>
#include "SGuards.h"
#include "SLibrary.h"

namespace
{
// The clipboard opened for the guard's lifetime. It is opened with the library's hidden
// window as owner: a clipboard emptied without an owner refuses new data.
class ClipboardSession
{
public:
    ClipboardSession() : open(OpenClipboard(GetLibraryWindow()) != 0) {}
    ~ClipboardSession()
    {
        if (open)
            CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    bool IsOpen() const { return open; }

private:
    bool open;
};

HGLOBAL Allocate(SIZE_T size)
{
    return GlobalAlloc(GMEM_MOVEABLE, size);
}
}

bool SClipboard::SetText(const char* text)
{
    if (!text)
        text = "";
    const size_t size = strlen(text) + 1;
    SGlobalGuard block(Allocate(size));
    {
        SGlobalLockGuard lock(block.Get());
        if (!lock.Get())
            return false;
        memcpy(lock.Get(), text, size);
    }
    ClipboardSession session;
    if (!session.IsOpen() || !EmptyClipboard() || !SetClipboardData(CF_TEXT, block.Get()))
        return false;
    block.Release();
    return true;
}

SString SClipboard::GetText()
{
    SString result("");
    ClipboardSession session;
    if (!session.IsOpen())
        return result;
    HANDLE data = GetClipboardData(CF_TEXT);
    SGlobalLockGuard lock(data);
    if (!lock.Get())
        return result;
    // Never read past the block, even when its text lacks the NUL.
    const char* text = static_cast<const char*>(lock.Get());
    const SIZE_T size = lock.GetSize();
    const void* end = memchr(text, 0, size);
    const SIZE_T length = end ? static_cast<const char*>(end) - text : size;
    result.Assign(text, static_cast<int>(length));
    return result;
}

bool SClipboard::SetData(SVirtualFile* stream, int count)
{
    if (!stream)
        return false;
    const int rest = stream->GetRemaining();
    if (count == -1)
        count = rest;
    if (count <= 0 || count > rest)
        return false;
    ClipboardSession session;
    if (!session.IsOpen() || !EmptyClipboard())
        return false;
    SGlobalGuard block(Allocate(static_cast<SIZE_T>(count) + 5));
    {
        SGlobalLockGuard lock(block.Get());
        if (!lock.Get())
            return false;
        unsigned char* bytes = static_cast<unsigned char*>(lock.Get());
        const uint32_t length = static_cast<uint32_t>(count);
        for (int i = 0; i < 4; i++)
            bytes[i] = static_cast<unsigned char>(length >> (8 * i));
        if (stream->Read(bytes + 4, count) != count)
            return false;
        bytes[4 + count] = 0;
    }
    // On success the clipboard owns the block.
    if (!SetClipboardData(BlockFormat, block.Get()))
        return false;
    block.Release();
    return true;
}

int SClipboard::GetData(SVirtualFile* stream)
{
    if (!stream)
        return 0;
    ClipboardSession session;
    if (!session.IsOpen() || !IsClipboardFormatAvailable(BlockFormat))
        return 0;
    SGlobalLockGuard lock(GetClipboardData(BlockFormat));
    if (!lock.Get())
        return 0;
    const SIZE_T size = lock.GetSize();
    if (size < 4)
        return 0;
    const unsigned char* bytes = static_cast<const unsigned char*>(lock.Get());
    const uint32_t length = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
    // A length field that claims more than the block holds is refused.
    if (length > size - 4 || length > 0x7FFFFFFF)
        return 0;
    return stream->Write(bytes + 4, static_cast<int>(length));
}
