// SImage: lifetime, settings, reading and writing pictures.
#include "SImage.h"
#include <cwchar>
#include <memory>
#include <vector>
#include "SGuards.h"
#include "SMemory.h"

using namespace Gdiplus;

SImage::SImage()
{
    m_bitmap = nullptr;
    Init();
}

SImage::SImage(int width, int height, PixelFormat format)
{
    m_bitmap = nullptr;
    Init();
    Create(width, height, format);
}

SImage::~SImage()
{
    Release();
}

void SImage::Init()
{
    Release();
    m_name = "";
    m_backgroundColor = COLOR_NONE;
    m_transparentColor = COLOR_NONE;
    m_drawMode = DRAW_TOPLEFT;
}

bool SImage::Create(int width, int height, PixelFormat format)
{
    Release();
    if (width < 1 || height < 1)
        return false;
    return Replace(new Bitmap(width, height, format));
}

void SImage::Release()
{
    delete m_bitmap;
    m_bitmap = nullptr;
}

// Takes the bitmap when GDI+ made it whole and it has a size; else deletes it
// and keeps the picture held so far: an edit that cannot be made loses nothing.
// The reading operations that must fail empty release the picture first.
bool SImage::Replace(Bitmap* bitmap)
{
    if (!bitmap)
        return false;
    if (bitmap->GetLastStatus() != Ok || bitmap->GetWidth() == 0 || bitmap->GetHeight() == 0)
    {
        delete bitmap;
        return false;
    }
    Release();
    m_bitmap = bitmap;
    return true;
}

int SImage::GetWidth() const
{
    return m_bitmap ? static_cast<int>(m_bitmap->GetWidth()) : 0;
}

int SImage::GetHeight() const
{
    return m_bitmap ? static_cast<int>(m_bitmap->GetHeight()) : 0;
}

PixelFormat SImage::GetPixelFormat() const
{
    return m_bitmap ? m_bitmap->GetPixelFormat() : PixelFormatUndefined;
}

namespace
{
int PixelFormatBits(PixelFormat format)
{
    switch (format)
    {
    case PixelFormat1bppIndexed: return 1;
    case PixelFormat4bppIndexed: return 4;
    case PixelFormat8bppIndexed: return 8;
    case PixelFormat16bppGrayScale:
    case PixelFormat16bppRGB555:
    case PixelFormat16bppRGB565:
    case PixelFormat16bppARGB1555: return 16;
    case PixelFormat24bppRGB: return 24;
    case PixelFormat32bppRGB:
    case PixelFormat32bppARGB:
    case PixelFormat32bppPARGB: return 32;
    case PixelFormat48bppRGB: return 48;
    case PixelFormat64bppARGB:
    case PixelFormat64bppPARGB: return 64;
    default: return 0;
    }
}

const WCHAR* MimeTypeOf(int format)
{
    switch (format)
    {
    case SImage::FORMAT_JPEG: return L"image/jpeg";
    case SImage::FORMAT_PNG: return L"image/png";
    case SImage::FORMAT_GIF: return L"image/gif";
    default: return L"image/bmp";
    }
}
} // namespace

int SImage::GetBitsPerPixel() const
{
    return m_bitmap ? PixelFormatBits(m_bitmap->GetPixelFormat()) : 0;
}

int SImage::SetDrawMode(int mode)
{
    const int previous = m_drawMode;
    m_drawMode = (mode >= DRAW_TOPLEFT && mode <= DRAW_FIT) ? mode : DRAW_TOPLEFT;
    return previous;
}

bool SImage::Load(SVirtualFile* stream, int count)
{
    Release();
    if (!stream)
        return false;
    const int remaining = stream->GetSize() - stream->GetPosition();
    if (count < 0 || count > remaining)
        count = remaining;
    if (count <= 0)
        return false;
    return DecodeStream(stream, count);
}

bool SImage::DecodeStream(SVirtualFile* stream, int count)
{
    SComPtr<IStream> com;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, com.Out())))
        return false;
    ULARGE_INTEGER size;
    size.QuadPart = static_cast<ULONGLONG>(count);
    if (FAILED(com->SetSize(size)))
        return false;
    ULONG written = 0;
    if (stream->IsMemory())
    {
        // Straight from the memory stream's buffer.
        SMemory* memory = static_cast<SMemory*>(stream);
        com->Write(memory->GetCurrentPointer(), static_cast<ULONG>(count), &written);
        memory->Skip(count);
    }
    else
    {
        // Read straight into the stream's memory: a picture file is held once,
        // and a file too large for the memory left fails instead of throwing.
        HGLOBAL global = nullptr;
        if (FAILED(GetHGlobalFromStream(com.Get(), &global)))
            return false;
        void* bytes = GlobalLock(global);
        if (!bytes)
            return false;
        const int read = stream->Read(bytes, count);
        GlobalUnlock(global);
        written = static_cast<ULONG>(read > 0 ? read : 0);
        size.QuadPart = written;
        if (written > 0 && FAILED(com->SetSize(size)))
            return false;
    }
    if (written == 0)
        return false;
    LARGE_INTEGER start = {};
    com->Seek(start, STREAM_SEEK_SET, nullptr);
    return Replace(Bitmap::FromStream(com.Get()));
}

bool SImage::LoadResource(const char* name, const char* type, HMODULE module)
{
    Release();
    SMemory memory;
    if (!name || !type || !memory.LoadFromResource(name, type, module))
        return false;
    memory.SeekToStart();
    return Load(&memory, -1);
}

namespace
{
// A device bitmap has no alpha: when every alpha byte is 0 the bits are opaque.
void MakeOpaqueWhenAlphaless(DWORD* pixels, size_t count)
{
    for (size_t i = 0; i < count; i++)
        if (pixels[i] & 0xFF000000)
            return;
    for (size_t i = 0; i < count; i++)
        pixels[i] |= 0xFF000000;
}
} // namespace

bool SImage::LoadBitmapHandle(HBITMAP handle)
{
    Release();
    if (!handle)
        return false;
    std::unique_ptr<Bitmap> made(Bitmap::FromHBITMAP(handle, nullptr));
    if (!made || made->GetLastStatus() != Ok)
        return false;
    if (made->GetPixelFormat() == PixelFormat24bppRGB)
        return Replace(made.release());
    const int width = static_cast<int>(made->GetWidth());
    const int height = static_cast<int>(made->GetHeight());
    if (width < 1 || height < 1)
        return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> bits(static_cast<size_t>(width) * height);
    SWindowDCGuard screen(nullptr);
    if (GetDIBits(screen.Get(), handle, 0, height, bits.data(), &info, DIB_RGB_COLORS) != height)
        return false;
    MakeOpaqueWhenAlphaless(bits.data(), bits.size());
    if (!Create(width, height, PixelFormat32bppARGB))
        return false;
    if (WritePixels(bits.data(), PixelFormat32bppARGB))
        return true;
    Release();
    return false;
}

bool SImage::CaptureFromDC(HDC dc, int x, int y, int width, int height)
{
    Release();
    if (width < 1 || height < 1)
        return false;
    SWindowDCGuard screen(nullptr);
    HDC source = dc ? dc : screen.Get();
    SGdiObjectGuard<HBITMAP> bitmap(CreateCompatibleBitmap(source, width, height));
    SMemoryDCGuard memory(source);
    if (!bitmap.Get() || !memory.Get())
        return false;
    {
        SSelectGuard select(memory.Get(), bitmap.Get());
        if (!BitBlt(memory.Get(), 0, 0, width, height, source, x, y, SRCCOPY))
            return false;
    }
    return LoadBitmapHandle(bitmap.Get());
}

bool SImage::LoadFromImageList(HIMAGELIST list, int index)
{
    Release();
    int iconWidth = 0, iconHeight = 0;
    const int count = list ? ImageList_GetImageCount(list) : 0;
    if (!list || index < -1 || index >= count || !ImageList_GetIconSize(list, &iconWidth, &iconHeight))
        return false;
    IMAGEINFO info = {};
    if (!ImageList_GetImageInfo(list, index < 0 ? 0 : index, &info))
        return false;
    if (index < 0)
        return LoadBitmapHandle(info.hbmImage);
    SImage strip;
    if (!strip.LoadBitmapHandle(info.hbmImage))
        return false;
    const RECT& r = info.rcImage;
    return CopyFrom(&strip, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

bool SImage::CopyFrom(const SImage* source, int x, int y, int width, int height)
{
    if (!source || !source->m_bitmap)
    {
        if (source != this)
            Release();
        return false;
    }
    return CopyFromBitmap(source->m_bitmap, x, y, width, height);
}

bool SImage::CopyFromBitmap(Bitmap* source, int x, int y, int width, int height)
{
    if (!source)
    {
        Release();
        return false;
    }
    if (width < 0)
        width = static_cast<int>(source->GetWidth());
    if (height < 0)
        height = static_cast<int>(source->GetHeight());
    // The clone is made before the old bitmap goes: the source may be our own.
    Bitmap* clone = source->Clone(Rect(x, y, width, height), source->GetPixelFormat());
    return Replace(clone);
}

bool SImage::Save(int format, SVirtualFile* stream) const
{
    if (!m_bitmap || !stream)
        return false;
    CLSID encoder;
    if (FindImageEncoder(MimeTypeOf(format), &encoder) < 0)
        return false;
    SComPtr<IStream> com;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, com.Out())))
        return false;
    if (m_bitmap->Save(com.Get(), &encoder, nullptr) != Ok)
        return false;
    STATSTG stat = {};
    if (FAILED(com->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > 0x7FFFFFFF)
        return false;
    const int size = static_cast<int>(stat.cbSize.QuadPart);
    LARGE_INTEGER start = {};
    if (FAILED(com->Seek(start, STREAM_SEEK_SET, nullptr)))
        return false;
    ULONG read = 0;
    if (stream->IsMemory())
    {
        SMemory* memory = static_cast<SMemory*>(stream);
        const int position = memory->GetPosition();
        if (position + size > memory->GetSize())
            memory->Resize(position + size, true);
        if (memory->GetSize() < position + size)
            return false;
        if (FAILED(com->Read(memory->GetCurrentPointer(), static_cast<ULONG>(size), &read)))
            return false;
        memory->Seek(position + static_cast<int>(read));
    }
    else
    {
        std::vector<unsigned char> buffer(static_cast<size_t>(size));
        if (FAILED(com->Read(buffer.data(), static_cast<ULONG>(size), &read)))
            return false;
        if (stream->Write(buffer.data(), static_cast<int>(read)) != static_cast<int>(read))
            return false;
    }
    return static_cast<int>(read) == size;
}

HBITMAP SImage::GetHBITMAP() const
{
    HBITMAP handle = nullptr;
    if (!m_bitmap || m_bitmap->GetHBITMAP(Color(255, 0, 0, 0), &handle) != Ok)
        return nullptr;
    return handle;
}

HBITMAP SImage::ToBitmapHandle(bool fallback) const
{
    if (!m_bitmap)
        return nullptr;
    if (GetBitsPerPixel() == 32)
    {
        const int width = GetWidth(), height = GetHeight();
        Rect all(0, 0, width, height);
        BitmapData data;
        if (m_bitmap->LockBits(&all, ImageLockModeRead, m_bitmap->GetPixelFormat(), &data) == Ok)
        {
            std::vector<DWORD> rows(static_cast<size_t>(width) * height);
            for (int y = 0; y < height; y++)
                memcpy(&rows[static_cast<size_t>(y) * width],
                       static_cast<BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride,
                       static_cast<size_t>(width) * 4);
            m_bitmap->UnlockBits(&data);
            return CreateBitmap(width, height, 1, 32, rows.data());
        }
    }
    return fallback ? GetHBITMAP() : nullptr;
}

int FindImageEncoder(const WCHAR* mimeType, CLSID* clsid)
{
    UINT count = 0, size = 0;
    if (!mimeType || GetImageEncodersSize(&count, &size) != Ok || count == 0 || size == 0)
        return -1;
    std::vector<BYTE> buffer(size);
    ImageCodecInfo* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
    if (GetImageEncoders(count, size, codecs) != Ok)
        return -1;
    for (UINT i = 0; i < count; i++)
    {
        if (codecs[i].MimeType && wcscmp(codecs[i].MimeType, mimeType) == 0)
        {
            if (clsid)
                *clsid = codecs[i].Clsid;
            return static_cast<int>(i);
        }
    }
    return -1;
}
