// Streams against zlib and the C library: CRC-32, block packing and unpacking,
// sequential file reading and writing. Rates in MB/s (higher is better).
#include "BenchRegistry.h"
#include "SPlatform.h"
#include <zlib.h>
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>
#include "SFile.h"
#include "SMemory.h"

namespace
{
const int kMiB = 1024 * 1024;
const int kBlock = 100000;
// Runs alternate between ours and the anchor, and the best of each counts, so
// that a busy machine slows both alike.
const int kRounds = 5;

double Rate(int bytes, double seconds)
{
    return seconds > 0 ? bytes / (seconds * kMiB) : 0;
}

// Text of the kind the sharing protocol packs: paths, names and numbers.
std::string MixedText(int size)
{
    static const char* words[] = {"Music\\", "Jazz\\", "Album ", "01 - ", "Track ", "cover.jpg", "|", "\r\n",
                                  "Live at ", "Sonata ", ".mp3", "1999 ", "Les ", "Quatre ", "Saisons ", "Vol. "};
    std::mt19937 random(17);
    std::string text;
    text.reserve(size + 32);
    while (static_cast<int>(text.size()) < size)
    {
        text += words[random() % 16];
        if (random() % 4 == 0)
            text += std::to_string(random() % 100000);
    }
    text.resize(size);
    return text;
}

std::string TempPath(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

// The best times of ours and of the anchor over alternating rounds, in seconds.
template <class F, class G>
void BestOfBoth(F ours, G anchor, double* oursSeconds, double* anchorSeconds)
{
    *oursSeconds = 1e30;
    *anchorSeconds = 1e30;
    for (int i = 0; i < kRounds; i++)
    {
        BenchClock first;
        ours();
        *oursSeconds = std::min(*oursSeconds, first.Seconds());
        BenchClock second;
        anchor();
        *anchorSeconds = std::min(*anchorSeconds, second.Seconds());
    }
}

// Packs like SVirtualFile::Compress, straight into a buffer; returns the packed size.
size_t PackDirectly(const std::string& text, std::vector<unsigned char>* out)
{
    std::vector<unsigned char> block(kBlock + kBlock / 10 + 12);
    const int size = static_cast<int>(text.size());
    const uint32_t count = (size + kBlock - 1) / kBlock;
    memcpy(out->data(), &count, 4);
    size_t used = 4;
    for (int offset = 0; offset < size; offset += kBlock)
    {
        const uint32_t raw = std::min(kBlock, size - offset);
        uLongf packedSize = block.size();
        compress(block.data(), &packedSize, reinterpret_cast<const Bytef*>(text.data()) + offset, raw);
        const uint32_t packed32 = packedSize;
        memcpy(&(*out)[used], &raw, 4);
        memcpy(&(*out)[used + 4], &packed32, 4);
        memcpy(&(*out)[used + 8], block.data(), packedSize);
        used += 8 + packedSize;
    }
    return used;
}

// Unpacks the block format straight into out, block by block.
void UnpackDirectly(const unsigned char* packed, size_t size, unsigned char* out)
{
    size_t in = 4;
    size_t done = 0;
    while (in < size)
    {
        uint32_t raw;
        uint32_t packedSize;
        memcpy(&raw, packed + in, 4);
        memcpy(&packedSize, packed + in + 4, 4);
        uLongf outSize = raw;
        uncompress(out + done, &outSize, packed + in + 8, packedSize);
        done += outSize;
        in += 8 + packedSize;
    }
}
} // namespace

BENCH_CASE(Crc32Of256MiB)
{
    const int size = 256 * kMiB;
    SMemory memory;
    memory.Allocate(size);
    std::mt19937 random(5);
    unsigned char* data = memory.GetData();
    for (int i = 0; i < size; i += 4)
    {
        const uint32_t value = random();
        memcpy(data + i, &value, 4);
    }
    uint32_t ours = 0;
    uLong theirs = 0;
    double oursSeconds;
    double zlibSeconds;
    BestOfBoth([&] { memory.GetCrc32(&ours); }, [&] { theirs = crc32(crc32(0, nullptr, 0), data, size); },
               &oursSeconds, &zlibSeconds);
    if (ours != theirs)
        std::printf("CRC MISMATCH: %08x against %08lx\n", ours, theirs);
    BenchRegistry::Report("CRC-32 of 256 MiB (SMemory::GetCrc32 / zlib crc32)", Rate(size, oursSeconds),
                          Rate(size, zlibSeconds), "MB/s");
}

BENCH_CASE(CompressAndUncompress64MiB)
{
    const int size = 64 * kMiB;
    const std::string text = MixedText(size);
    SMemory source;
    source.Write(text.data(), size);

    // Packing into a memory stream, against zlib's compress per block into one buffer.
    SMemory packed;
    std::vector<unsigned char> direct(compressBound(size) + 4 * kMiB);
    size_t directSize = 0;
    double ours;
    double anchor;
    BestOfBoth(
        [&] {
            packed.Allocate(0);
            source.Compress(&packed);
        },
        [&] { directSize = PackDirectly(text, &direct); }, &ours, &anchor);
    if (static_cast<size_t>(packed.GetSize()) != directSize ||
        memcmp(packed.GetData(), direct.data(), directSize) != 0)
        std::printf("PACKED BYTES DIFFER\n");
    BenchRegistry::Report("Compress 64 MiB of text (SVirtualFile / zlib)", Rate(size, ours), Rate(size, anchor),
                          "MB/s");

    // Unpacking into memory that is already there: the work around zlib alone.
    SMemory unpacked;
    unpacked.Allocate(size);
    std::vector<unsigned char> out(size);
    BestOfBoth(
        [&] {
            unpacked.SeekToStart();
            packed.Uncompress(&unpacked);
        },
        [&] { UnpackDirectly(direct.data(), directSize, out.data()); }, &ours, &anchor);
    if (unpacked.GetSize() != size || memcmp(unpacked.GetData(), text.data(), size) != 0)
        std::printf("ROUND TRIP MISMATCH\n");
    BenchRegistry::Report("Uncompress 64 MiB of text (SVirtualFile / zlib)", Rate(size, ours), Rate(size, anchor),
                          "MB/s");

    // Unpacking into a new stream, against zlib appending to a new std::vector: both
    // pay for fresh memory, which is dear under Wine.
    BestOfBoth(
        [&] {
            SMemory fresh;
            packed.Uncompress(&fresh);
        },
        [&] {
            std::vector<unsigned char> grown;
            std::vector<unsigned char> block(kBlock);
            size_t in = 4;
            while (in < directSize)
            {
                uint32_t raw;
                uint32_t packedSize;
                memcpy(&raw, &direct[in], 4);
                memcpy(&packedSize, &direct[in + 4], 4);
                uLongf outSize = raw;
                uncompress(block.data(), &outSize, &direct[in + 8], packedSize);
                grown.insert(grown.end(), block.begin(), block.begin() + outSize);
                in += 8 + packedSize;
            }
        },
        &ours, &anchor);
    BenchRegistry::Report("Uncompress 64 MiB into a new stream (/ std::vector)", Rate(size, ours),
                          Rate(size, anchor), "MB/s");
}

BENCH_CASE(FileWriteAndRead256MiB)
{
    const int size = 256 * kMiB;
    const int piece = 64 * 1024;
    std::vector<char> buffer(piece, 'x');
    const std::string oursPath = TempPath("sonavel-bench-sfile.bin");
    const std::string stdioPath = TempPath("sonavel-bench-stdio.bin");

    double ours;
    double anchor;
    BestOfBoth(
        [&] {
            SFile file(oursPath.c_str(), true, true, false);
            for (int done = 0; done < size; done += piece)
                file.Write(buffer.data(), piece);
        },
        [&] {
            FILE* file = fopen(stdioPath.c_str(), "wb");
            for (int done = 0; done < size; done += piece)
                fwrite(buffer.data(), 1, piece, file);
            fclose(file);
        },
        &ours, &anchor);
    BenchRegistry::Report("Write 256 MiB in 64 KiB pieces (SFile / fwrite)", Rate(size, ours), Rate(size, anchor),
                          "MB/s");

    int oursRead = 0;
    BestOfBoth(
        [&] {
            SFile file(oursPath.c_str(), false, false, true);
            oursRead = 0;
            int n;
            while ((n = file.Read(buffer.data(), piece)) > 0)
                oursRead += n;
        },
        [&] {
            FILE* file = fopen(stdioPath.c_str(), "rb");
            while (fread(buffer.data(), 1, piece, file) > 0)
            {
            }
            fclose(file);
        },
        &ours, &anchor);
    if (oursRead != size)
        std::printf("READ %d BYTES OF %d\n", oursRead, size);
    BenchRegistry::Report("Read 256 MiB in 64 KiB pieces (SFile / fread)", Rate(size, ours), Rate(size, anchor),
                          "MB/s");
    DeleteFileA(oursPath.c_str());
    DeleteFileA(stdioPath.c_str());
}
