#include "SVirtualFile.h"
#include "SMemory.h"
#include <zlib.h>
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <typeinfo>

namespace
{
// Raw bytes per block, and room for one packed block (a tenth more plus 12).
const int kBlockSize = 100000;
const int kPackedRoom = kBlockSize + kBlockSize / 10 + 12;

// The CRC-32 table of the reflected polynomial 0xEDB88320, extended to eight
// slices so that eight bytes are folded per step; slice 0 is the standard table.
const uint32_t kPolynomial = 0xEDB88320u;
const int kSlices = 8;

struct SCrc32Tables
{
    uint32_t slice[kSlices][256];
    // x^(2^k) modulo the polynomial, for moving a register over runs of zero bytes.
    uint32_t powers[32];
};

// The product of two polynomials modulo the CRC polynomial, in reflected bit order.
constexpr uint32_t MultiplyModulo(uint32_t a, uint32_t b)
{
    uint32_t m = 1u << 31;
    uint32_t product = 0;
    while (m)
    {
        if (a & m)
            product ^= b;
        m >>= 1;
        b = (b & 1) ? (b >> 1) ^ kPolynomial : b >> 1;
    }
    return product;
}

constexpr SCrc32Tables MakeCrc32Tables()
{
    SCrc32Tables tables{};
    for (uint32_t i = 0; i < 256; i++)
    {
        uint32_t crc = i;
        for (int bit = 0; bit < 8; bit++)
            crc = (crc & 1) ? (crc >> 1) ^ kPolynomial : crc >> 1;
        tables.slice[0][i] = crc;
    }
    for (int k = 1; k < kSlices; k++)
        for (int i = 0; i < 256; i++)
        {
            const uint32_t previous = tables.slice[k - 1][i];
            tables.slice[k][i] = (previous >> 8) ^ tables.slice[0][previous & 0xFF];
        }
    tables.powers[0] = 1u << 30; // x^1
    for (int k = 1; k < 32; k++)
        tables.powers[k] = MultiplyModulo(tables.powers[k - 1], tables.powers[k - 1]);
    return tables;
}

constexpr SCrc32Tables kCrc32Tables = MakeCrc32Tables();

// x^(8n): a register multiplied by it is moved across n zero bytes.
uint32_t PowerForZeros(size_t n)
{
    uint32_t power = 1u << 31; // x^0
    for (int k = 3; n; n >>= 1, k++)
        if (n & 1)
            power = MultiplyModulo(kCrc32Tables.powers[k & 31], power);
    return power;
}

uint32_t LoadLittleEndian32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Eight bytes folded into a register.
inline uint32_t Fold8(const uint32_t (*t)[256], uint32_t crc, const unsigned char* p)
{
    const uint32_t low = LoadLittleEndian32(p) ^ crc;
    const uint32_t high = LoadLittleEndian32(p + 4);
    return t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
           t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
}

std::unique_ptr<unsigned char[]> NewBuffer(int size)
{
    return std::unique_ptr<unsigned char[]>(new (std::nothrow) unsigned char[size]);
}

// The working room of the block format: one raw block and its packed form.
struct BlockBuffers
{
    std::unique_ptr<unsigned char[]> raw = NewBuffer(kBlockSize);
    std::unique_ptr<unsigned char[]> packed = NewBuffer(kPackedRoom);
    bool IsValid() const { return raw && packed; }
};
} // namespace

SVirtualFile::SVirtualFile()
    : m_compressProgress(nullptr), m_uncompressProgress(nullptr), m_crcTable(kCrc32Tables.slice[0]),
      m_isMemory(false)
{
}

SVirtualFile::~SVirtualFile()
{
}

// Long runs are cut into four lanes folded side by side, whose registers are then
// joined (the register over A then B is that over A moved across B, XOR that of B
// alone); the result is the same as folding byte after byte.
uint32_t SVirtualFile::UpdateCrc32(uint32_t crc, const void* data, size_t n) const
{
    const unsigned char* p = static_cast<const unsigned char*>(data);
    const uint32_t(*t)[256] = reinterpret_cast<const uint32_t(*)[256]>(m_crcTable);
    if (n >= 4096)
    {
        const size_t lane = (n / 4) & ~static_cast<size_t>(7);
        uint32_t c1 = 0;
        uint32_t c2 = 0;
        uint32_t c3 = 0;
        for (size_t i = 0; i < lane; i += 8)
        {
            crc = Fold8(t, crc, p + i);
            c1 = Fold8(t, c1, p + lane + i);
            c2 = Fold8(t, c2, p + 2 * lane + i);
            c3 = Fold8(t, c3, p + 3 * lane + i);
        }
        const uint32_t across = PowerForZeros(lane);
        crc = MultiplyModulo(across, crc) ^ c1;
        crc = MultiplyModulo(across, crc) ^ c2;
        crc = MultiplyModulo(across, crc) ^ c3;
        p += 4 * lane;
        n -= 4 * lane;
    }
    for (; n >= 8; p += 8, n -= 8)
        crc = Fold8(t, crc, p);
    while (n--)
        crc = t[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    return crc;
}

int SVirtualFile::WriteBytes(const void* data, int n)
{
    return Write(data, n);
}

int SVirtualFile::WriteText(const char* text, int length)
{
    if (!text)
        return 0;
    if (length < 0)
        length = static_cast<int>(strlen(text));
    return Write(text, length);
}

int SVirtualFile::ReadBytes(void* data, int n)
{
    return Read(data, n);
}

int SVirtualFile::GetRemaining() const
{
    const int size = GetSize();
    const int position = GetPosition();
    if (size < 0 || position < 0)
        return -1;
    return size - position;
}

int SVirtualFile::SeekToStart()
{
    return Seek(0);
}

int SVirtualFile::SeekToEnd()
{
    return Seek(GetSize());
}

int SVirtualFile::Skip(int n)
{
    const long long target = static_cast<long long>(GetPosition()) + n;
    return Seek(target < INT_MIN || target > INT_MAX ? -1 : static_cast<int>(target));
}

int SVirtualFile::SkipBack(int n)
{
    const long long target = static_cast<long long>(GetPosition()) - n;
    return Seek(target < INT_MIN || target > INT_MAX ? -1 : static_cast<int>(target));
}

SVirtualFile* SVirtualFile::GetIfOpen()
{
    return IsOpen() ? this : nullptr;
}

int SVirtualFile::WriteStringWithNull(const char* text)
{
    if (!text)
        return 0;
    return WriteText(text, static_cast<int>(strlen(text)) + 1);
}

int SVirtualFile::Fill(unsigned char value, int count)
{
    unsigned char buffer[100];
    memset(buffer, value, sizeof(buffer));
    int total = 0;
    while (count > 0)
    {
        const int piece = std::min(count, static_cast<int>(sizeof(buffer)));
        const int written = Write(buffer, piece);
        if (written > 0)
            total += written;
        if (written != piece)
            break;
        count -= piece;
    }
    return total;
}

int SVirtualFile::CopyFrom(SVirtualFile* source, int count)
{
    // Copying a stream onto itself would write into the buffer being read.
    if (!source || source == this)
        return 0;
    int n = source->GetRemaining();
    if (n < 0)
    {
        // More remains than an int counts: only a given count can be copied.
        if (count < 0)
            return 0;
        n = count;
    }
    else if (count >= 0 && count < n)
        n = count;
    if (n <= 0)
        return 0;
    const int pieceSize = 1000;
    unsigned char buffer[pieceSize];
    SMemory* memory = source->IsMemory() ? static_cast<SMemory*>(source) : nullptr;
    int total = 0;
    while (n > 0)
    {
        const int piece = std::min(n, pieceSize);
        // A memory source is written straight from its buffer.
        const unsigned char* data = buffer;
        int available = piece;
        if (memory)
            data = memory->GetCurrentPointer();
        else
            available = source->Read(buffer, piece);
        if (available <= 0)
            break;
        const int written = Write(data, available);
        if (written > 0)
        {
            total += written;
            if (memory)
                memory->Skip(written);
        }
        // Stop at the first short transfer rather than run on as if it were whole.
        if (written != piece || available != piece)
            break;
        n -= piece;
    }
    return total;
}

bool SVirtualFile::WriteUInt32(SVirtualFile* target, uint32_t value)
{
    const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                    static_cast<unsigned char>(value >> 16),
                                    static_cast<unsigned char>(value >> 24)};
    return target->WriteBytes(bytes, 4) == 4;
}

bool SVirtualFile::ReadUInt32(uint32_t* value)
{
    unsigned char bytes[4];
    if (ReadBytes(bytes, 4) != 4)
        return false;
    *value = LoadLittleEndian32(bytes);
    return true;
}

bool SVirtualFile::Compress(SVirtualFile* target, uint32_t userValue)
{
    const int size = GetSize();
    if (!target || target == this || size <= 0)
        return false;
    BlockBuffers buffers;
    if (!buffers.IsValid())
        return false;
    unsigned char* const raw = buffers.raw.get();
    unsigned char* const packed = buffers.packed.get();
    const uint32_t blocks = static_cast<uint32_t>((static_cast<long long>(size) + kBlockSize - 1) / kBlockSize);
    if (!WriteUInt32(target, blocks))
        return false;
    SeekToStart();
    for (long long offset = 0; offset < size; offset += kBlockSize)
    {
        if (m_compressProgress &&
            !m_compressProgress(static_cast<int>(static_cast<double>(offset) / size * 1000), userValue))
            return false;
        const int rawSize = static_cast<int>(std::min<long long>(kBlockSize, size - offset));
        if (Read(raw, rawSize) != rawSize)
            return false;
        uLongf packedSize = kPackedRoom;
        if (compress(packed, &packedSize, raw, rawSize) != Z_OK)
            return false;
        const int packedCount = static_cast<int>(packedSize);
        if (!WriteUInt32(target, rawSize) || !WriteUInt32(target, packedCount) ||
            target->WriteBytes(packed, packedCount) != packedCount)
            return false;
    }
    return true;
}

// The input may come from a network peer: every count and size is checked
// before it is used, so nothing is read or written outside the two buffers.
bool SVirtualFile::Uncompress(SVirtualFile* target, uint32_t userValue)
{
    const int size = GetSize();
    if (!target || target == this || size <= 0)
        return false;
    BlockBuffers buffers;
    if (!buffers.IsValid())
        return false;
    unsigned char* const raw = buffers.raw.get();
    unsigned char* const packed = buffers.packed.get();
    SeekToStart();
    uint32_t blocks = 0;
    // Every block takes its two sizes and at least one packed byte.
    if (!ReadUInt32(&blocks) || blocks == 0 || blocks > static_cast<uint32_t>(size - 4) / 9)
        return false;
    for (uint32_t i = 0; i < blocks; i++)
    {
        if (m_uncompressProgress &&
            !m_uncompressProgress(static_cast<int>(static_cast<double>(i) / blocks * 1000), userValue))
            return false;
        uint32_t rawSize = 0;
        uint32_t packedSize = 0;
        if (!ReadUInt32(&rawSize) || !ReadUInt32(&packedSize))
            return false;
        const int remaining = GetRemaining();
        if (rawSize < 1 || rawSize > static_cast<uint32_t>(kBlockSize) || packedSize < 1 ||
            packedSize > static_cast<uint32_t>(kPackedRoom) || remaining < 0 ||
            packedSize > static_cast<uint32_t>(remaining))
            return false;
        // A memory stream hands its bytes out in place.
        const unsigned char* input = packed;
        if (IsMemory())
        {
            input = static_cast<SMemory*>(this)->GetCurrentPointer();
            Skip(static_cast<int>(packedSize));
        }
        else if (Read(packed, static_cast<int>(packedSize)) != static_cast<int>(packedSize))
            return false;
        if (!InflateInto(target, input, packedSize, rawSize, raw))
            return false;
    }
    return true;
}

// One block of exactly rawSize bytes, written to the target at its position. A plain
// memory stream that is appended to receives it straight into its buffer.
bool SVirtualFile::InflateInto(SVirtualFile* target, const unsigned char* packed, uint32_t packedSize,
                               uint32_t rawSize, unsigned char* raw)
{
    SMemory* memory = typeid(*target) == typeid(SMemory) ? static_cast<SMemory*>(target) : nullptr;
    if (memory && memory->IsEnd())
    {
        const int start = memory->m_position;
        if (!memory->GrowForWrite(static_cast<long long>(start) + rawSize))
            return false;
        uLongf inflated = rawSize;
        if (uncompress(memory->m_data + start, &inflated, packed, packedSize) != Z_OK || inflated != rawSize)
        {
            memory->m_size = start;
            return false;
        }
        memory->m_position = start + static_cast<int>(rawSize);
        return true;
    }
    uLongf inflated = rawSize;
    if (uncompress(raw, &inflated, packed, packedSize) != Z_OK || inflated != rawSize)
        return false;
    return target->WriteBytes(raw, static_cast<int>(rawSize)) == static_cast<int>(rawSize);
}

bool ReadResourceIntoFile(HMODULE module, const char* type, int id, SVirtualFile* file)
{
    return ReadResourceIntoFile(module, type, MAKEINTRESOURCEA(id), file);
}

bool ReadResourceIntoFile(HMODULE module, const char* type, const char* name, SVirtualFile* file)
{
    if (!file || !type || !name)
        return false;
    HRSRC info = FindResourceA(module, name, type);
    if (!info)
        return false;
    HGLOBAL resource = LoadResource(module, info);
    if (!resource)
        return false;
    const void* data = LockResource(resource);
    const DWORD size = SizeofResource(module, info);
    bool written = false;
    if (data && size <= static_cast<DWORD>(INT_MAX))
        written = file->Write(data, static_cast<int>(size)) == static_cast<int>(size);
    FreeResource(resource);
    return written;
}
