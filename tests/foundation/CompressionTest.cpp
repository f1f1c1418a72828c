#include <gtest/gtest.h>
#include <zlib.h>
#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>
#include "SFile.h"
#include "SMemory.h"
#include "StreamsTestFolder.h"

namespace
{
// Text-like bytes that compress, with some noise so that blocks differ.
std::string MakeText(int size, unsigned seed = 7)
{
    static const char* words[] = {"music ", "folder ", "cover ", "album ", "track\r\n", "01 ", "jazz ", "é "};
    std::mt19937 random(seed);
    std::string text;
    while (static_cast<int>(text.size()) < size)
        text += words[random() % 8];
    text.resize(size);
    return text;
}

std::string MakeNoise(int size, unsigned seed = 11)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

std::string Content(SMemory& memory)
{
    return std::string(reinterpret_cast<const char*>(memory.GetData()), memory.GetSize());
}

void Fill(SMemory& memory, const std::string& bytes)
{
    memory.Close();
    memory.Write(bytes.data(), static_cast<int>(bytes.size()));
    memory.SeekToStart();
}

uint32_t U32At(const std::string& bytes, size_t offset)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data()) + offset;
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void PutU32(std::string& bytes, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        bytes += static_cast<char>(value >> (8 * i));
}

// One block as raw size, packed size and the zlib bytes of the given data.
std::string PackedBlock(const std::string& raw, uint32_t announcedRaw)
{
    uLongf size = compressBound(raw.size());
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(raw.data()), raw.size());
    packed.resize(size);
    std::string block;
    PutU32(block, announcedRaw);
    PutU32(block, static_cast<uint32_t>(size));
    return block + packed;
}

// Raw sizes of the blocks of a packed stream.
std::vector<uint32_t> RawSizes(const std::string& packed)
{
    std::vector<uint32_t> sizes;
    const uint32_t count = U32At(packed, 0);
    size_t offset = 4;
    for (uint32_t i = 0; i < count; i++)
    {
        sizes.push_back(U32At(packed, offset));
        offset += 8 + U32At(packed, offset + 4);
    }
    EXPECT_EQ(packed.size(), offset) << "nothing follows the last block";
    return sizes;
}

bool UncompressBytes(const std::string& packed, SMemory* target)
{
    SMemory source;
    Fill(source, packed);
    return source.Uncompress(target);
}

// A stream that takes only so many bytes in all, then writes short.
class SLimitedMemory : public SMemory
{
public:
    explicit SLimitedMemory(int room) : m_room(room) {}
    int Write(const void* data, int n) override
    {
        const int taken = std::max(0, std::min(n, m_room));
        m_room -= taken;
        return taken > 0 ? SMemory::Write(data, taken) : 0;
    }

private:
    int m_room;
};

std::vector<int> g_perMille;

bool RecordProgress(int perMille, uint32_t userValue)
{
    g_perMille.push_back(perMille);
    return userValue != 99;
}
} // namespace

// --- Block format ---

TEST(CompressionTest, RoundTripKeepsEveryBlockSize)
{
    for (int size : {1, 99999, 100000, 100001, 250000})
    {
        const std::string text = MakeText(size);
        SMemory source;
        Fill(source, text);
        SMemory packed;
        ASSERT_TRUE(source.Compress(&packed)) << size;
        SMemory unpacked;
        ASSERT_TRUE(packed.Uncompress(&unpacked)) << size;
        EXPECT_EQ(text, Content(unpacked)) << size;
    }
}

TEST(CompressionTest, BlocksHoldAHundredThousandBytesAndTheRest)
{
    SMemory source;
    Fill(source, MakeText(250000));
    SMemory packed;
    ASSERT_TRUE(source.Compress(&packed));
    const std::string bytes = Content(packed);
    EXPECT_EQ(3u, U32At(bytes, 0));
    EXPECT_EQ((std::vector<uint32_t>{100000, 100000, 50000}), RawSizes(bytes));

    for (int size : {1, 100000, 100001})
    {
        Fill(source, MakeText(size));
        SMemory one;
        ASSERT_TRUE(source.Compress(&one));
        const std::vector<uint32_t> expected =
            size <= 100000 ? std::vector<uint32_t>{static_cast<uint32_t>(size)} : std::vector<uint32_t>{100000, 1};
        EXPECT_EQ(expected, RawSizes(Content(one))) << size;
    }
}

TEST(CompressionTest, EachBlockIsAZlibStreamOfItsBytes)
{
    const std::string text = MakeNoise(150000);
    SMemory source;
    Fill(source, text);
    SMemory packed;
    ASSERT_TRUE(source.Compress(&packed));
    const std::string bytes = Content(packed);
    std::string unpacked;
    size_t offset = 4;
    for (int i = 0; i < 2; i++)
    {
        uLongf raw = U32At(bytes, offset);
        const uint32_t size = U32At(bytes, offset + 4);
        std::string block(raw, '\0');
        ASSERT_EQ(Z_OK, uncompress(reinterpret_cast<Bytef*>(&block[0]), &raw,
                                   reinterpret_cast<const Bytef*>(bytes.data() + offset + 8), size));
        unpacked += block;
        offset += 8 + size;
    }
    EXPECT_EQ(text, unpacked);
}

TEST(CompressionTest, EmptySourceFailsAndWritesNothing)
{
    SMemory empty;
    SMemory target;
    EXPECT_FALSE(empty.Compress(&target));
    EXPECT_EQ(0, target.GetSize());
    empty.Allocate(0);
    EXPECT_FALSE(empty.Compress(&target));
    EXPECT_FALSE(empty.Uncompress(&target));
    EXPECT_EQ(0, target.GetSize());
}

TEST(CompressionTest, NullTargetFails)
{
    SMemory source;
    Fill(source, "abc");
    EXPECT_FALSE(source.Compress(nullptr));
    EXPECT_FALSE(source.Uncompress(nullptr));
}

TEST(CompressionTest, TargetIsWrittenFromItsPosition)
{
    SMemory source;
    Fill(source, MakeText(1000));
    SMemory packed;
    packed.WriteText("head");
    ASSERT_TRUE(source.Compress(&packed));
    EXPECT_EQ(1u, U32At(Content(packed), 4));

    SMemory clean;
    ASSERT_TRUE(source.Compress(&clean));
    SMemory unpacked;
    unpacked.WriteText("xy");
    ASSERT_TRUE(clean.Uncompress(&unpacked));
    EXPECT_EQ("xy" + MakeText(1000), Content(unpacked));
}

TEST(CompressionTest, UnpackingOverwritesInsideTheTarget)
{
    SMemory source;
    Fill(source, "XYZ");
    SMemory packed;
    ASSERT_TRUE(source.Compress(&packed));
    SMemory target;
    target.WriteText("abcdefgh");
    target.Seek(2);
    ASSERT_TRUE(packed.Uncompress(&target));
    EXPECT_EQ("abXYZfgh", Content(target));
    EXPECT_EQ(5, target.GetPosition());
}

TEST(CompressionTest, FailedBlockLeavesTheBlocksBeforeIt)
{
    const std::string text = MakeText(250000);
    SMemory source;
    Fill(source, text);
    SMemory packed;
    ASSERT_TRUE(source.Compress(&packed));
    std::string bytes = Content(packed);
    bytes[bytes.size() - 3] = static_cast<char>(bytes[bytes.size() - 3] ^ 0xFF); // inside the last checksum
    SMemory target;
    target.WriteText("head");
    EXPECT_FALSE(UncompressBytes(bytes, &target));
    EXPECT_EQ("head" + text.substr(0, 200000), Content(target));
}

TEST(CompressionTest, FilesPackAndUnpackLikeMemory)
{
    StreamsTestFolder folder;
    const std::string text = MakeText(210000);
    folder.WriteFile("plain.txt", text);
    SFile plain(folder.Path("plain.txt").c_str(), false, false, true);
    SFile packed(folder.Path("packed.bin").c_str(), true, true, true);
    ASSERT_TRUE(plain.Compress(&packed));
    SFile unpacked(folder.Path("unpacked.txt").c_str(), true, true, true);
    ASSERT_TRUE(packed.Uncompress(&unpacked));
    unpacked.Close();
    EXPECT_EQ(text, folder.ReadFile("unpacked.txt"));
}

// --- Progress callbacks ---

TEST(CompressionTest, ProgressIsReportedBeforeEachBlock)
{
    SMemory source;
    Fill(source, MakeText(250000));
    source.m_compressProgress = RecordProgress;
    SMemory packed;
    g_perMille.clear();
    ASSERT_TRUE(source.Compress(&packed, 5));
    EXPECT_EQ((std::vector<int>{0, 400, 800}), g_perMille);

    packed.m_uncompressProgress = RecordProgress;
    SMemory unpacked;
    g_perMille.clear();
    ASSERT_TRUE(packed.Uncompress(&unpacked, 5));
    EXPECT_EQ((std::vector<int>{0, 333, 666}), g_perMille);
}

TEST(CompressionTest, CancelAtFirstCallLeavesOnlyTheBlockCount)
{
    SMemory source;
    Fill(source, MakeText(250000));
    source.m_compressProgress = RecordProgress;
    SMemory packed;
    EXPECT_FALSE(source.Compress(&packed, 99));
    EXPECT_EQ(4, packed.GetSize());
    EXPECT_EQ(3u, U32At(Content(packed), 0));
}

// --- Input that did not come from Compress ---

TEST(CompressionTest, EveryTruncationOfAValidStreamFails)
{
    // Three blocks that pack small, so that every prefix can be tried.
    std::string pattern;
    for (int i = 0; i < 250000; i++)
        pattern += static_cast<char>('a' + (i / 7) % 5);
    SMemory source;
    Fill(source, pattern);
    SMemory packed;
    ASSERT_TRUE(source.Compress(&packed));
    const std::string bytes = Content(packed);
    ASSERT_EQ(3u, RawSizes(bytes).size());
    for (size_t length = 1; length < bytes.size(); length++)
    {
        SMemory target;
        ASSERT_FALSE(UncompressBytes(bytes.substr(0, length), &target)) << length;
        ASSERT_LE(target.GetSize(), 200000) << length;
    }
    SMemory whole;
    EXPECT_TRUE(UncompressBytes(bytes, &whole));
    EXPECT_EQ(pattern, Content(whole));
}

TEST(CompressionTest, TruncationsOfTextAndNoiseFail)
{
    SMemory source;
    Fill(source, MakeText(150000) + MakeNoise(3000));
    SMemory packed;
    ASSERT_TRUE(source.Compress(&packed));
    const std::string bytes = Content(packed);
    for (size_t length = 1; length < bytes.size(); length += (length < 40 ? 1 : 97))
    {
        SMemory target;
        ASSERT_FALSE(UncompressBytes(bytes.substr(0, length), &target)) << length;
    }
}

TEST(CompressionTest, RandomBytesFail)
{
    std::mt19937 random(3);
    for (int i = 0; i < 2000; i++)
    {
        std::string bytes = MakeNoise(random() % 600, random());
        if (i % 2 && bytes.size() >= 12)
        {
            // A plausible header in front of the noise.
            bytes.replace(0, 12, std::string(12, '\0'));
            bytes[0] = 1;
            bytes[4] = static_cast<char>(random() % 200 + 1);
            bytes[8] = static_cast<char>(bytes.size() - 12);
        }
        SMemory target;
        ASSERT_FALSE(UncompressBytes(bytes, &target)) << i;
    }
}

TEST(CompressionTest, CorruptedBytesInsideABlockFail)
{
    SMemory source;
    Fill(source, MakeText(5000));
    SMemory packed;
    ASSERT_TRUE(source.Compress(&packed));
    const std::string bytes = Content(packed);
    for (size_t i = 12; i < bytes.size(); i++)
    {
        std::string corrupted = bytes;
        corrupted[i] = static_cast<char>(corrupted[i] ^ 0x5A);
        SMemory target;
        SMemory input;
        Fill(input, corrupted);
        // zlib's checksum catches a change of the output; a change of padding bits
        // may leave it whole, but never wrong.
        if (input.Uncompress(&target))
        {
            ASSERT_EQ(MakeText(5000), Content(target)) << i;
        }
    }
}

TEST(CompressionTest, SizesOutsideTheirBoundsFail)
{
    const std::string raw = MakeText(300);
    std::string header;
    PutU32(header, 1);
    SMemory target;
    EXPECT_FALSE(UncompressBytes(header + PackedBlock(raw, 0), &target)) << "raw size 0";
    EXPECT_FALSE(UncompressBytes(header + PackedBlock(raw, 100001), &target)) << "raw size above the block";
    EXPECT_FALSE(UncompressBytes(header + PackedBlock(raw, 299), &target)) << "inflates to more";
    EXPECT_FALSE(UncompressBytes(header + PackedBlock(raw, 301), &target)) << "inflates to less";
    EXPECT_EQ(0, target.GetSize());

    const std::string block = PackedBlock(raw, 300);
    const std::string zlibBytes = block.substr(8);
    std::string longer;
    PutU32(longer, 300);
    PutU32(longer, static_cast<uint32_t>(zlibBytes.size() + 1)); // one past the end
    EXPECT_FALSE(UncompressBytes(header + longer + zlibBytes, &target));
    std::string huge;
    PutU32(huge, 300);
    PutU32(huge, 110013); // above the packed room, though the bytes are there
    EXPECT_FALSE(UncompressBytes(header + huge + zlibBytes + std::string(110013, 'x'), &target));

    std::string none;
    PutU32(none, 0);
    EXPECT_FALSE(UncompressBytes(none + block, &target)) << "no blocks";
    std::string many;
    PutU32(many, 0xFFFFFFFF);
    EXPECT_FALSE(UncompressBytes(many + block, &target)) << "more blocks than bytes";
    EXPECT_EQ(0, target.GetSize());

    EXPECT_TRUE(UncompressBytes(header + block, &target));
    EXPECT_EQ(raw, Content(target));
}

TEST(CompressionTest, ShortWriteToTheTargetFails)
{
    SMemory source;
    Fill(source, MakeText(150000));
    SLimitedMemory packedRoom(20);
    EXPECT_FALSE(source.Compress(&packedRoom));

    SMemory packed;
    ASSERT_TRUE(source.Compress(&packed));
    SLimitedMemory rawRoom(120000);
    EXPECT_FALSE(packed.Uncompress(&rawRoom));
    EXPECT_EQ(120000, rawRoom.GetSize());
}

// --- CRC-32 ---

TEST(CompressionTest, Crc32OfTheNineDigits)
{
    SMemory memory;
    memory.WriteText("123456789");
    uint32_t crc = 0;
    ASSERT_TRUE(memory.GetCrc32(&crc));
    EXPECT_EQ(0xCBF43926u, crc);
    memory.Seek(4);
    crc = 0;
    ASSERT_TRUE(memory.GetCrc32(&crc));
    EXPECT_EQ(0xCBF43926u, crc);
    EXPECT_EQ(4, memory.GetPosition());
}

TEST(CompressionTest, Crc32OfAFileIsIndependentOfThePosition)
{
    StreamsTestFolder folder;
    folder.WriteFile("digits.txt", "123456789");
    SFile file(folder.Path("digits.txt").c_str(), false, false, true);
    file.Seek(6);
    uint32_t crc = 0;
    ASSERT_TRUE(file.GetCrc32(&crc));
    EXPECT_EQ(0xCBF43926u, crc);
    EXPECT_EQ(6, file.GetPosition());
    EXPECT_EQ("789", std::string(file.ReadText().GetText()));
}

TEST(CompressionTest, Crc32MatchesZlibForEveryLength)
{
    const std::string noise = MakeNoise(70000);
    for (int length : {0, 1, 2, 3, 7, 8, 9, 15, 16, 17, 31, 33, 63, 64, 65, 1000, 4095, 4096, 4097, 4103, 4111, 12345, 65536, 70000})
    {
        SMemory memory;
        memory.Allocate(0);
        memory.Write(noise.data(), length);
        uint32_t crc = 0;
        ASSERT_TRUE(memory.GetCrc32(&crc));
        const uint32_t expected =
            crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(noise.data()), length);
        EXPECT_EQ(expected, crc) << length;
    }
}

TEST(CompressionTest, Crc32OfNothingIsZeroAndOfAClosedStreamFails)
{
    SMemory memory;
    uint32_t crc = 1234;
    EXPECT_FALSE(memory.GetCrc32(&crc));
    EXPECT_EQ(1234u, crc);
    memory.Allocate(0);
    EXPECT_TRUE(memory.GetCrc32(&crc));
    EXPECT_EQ(0u, crc);
    SFile file;
    crc = 77;
    EXPECT_FALSE(file.GetCrc32(&crc));
    EXPECT_EQ(77u, crc);
}
