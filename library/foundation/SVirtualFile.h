// The library's abstract byte stream: memory and file streams implement it, and
// every reader and writer of bytes takes one. Also packs streams in zlib blocks.
#pragma once
#include "SPlatform.h"
#include <cstdint>
#include "SString.h"

// Progress of Compress and Uncompress: per mille done and the caller's value; false cancels.
typedef bool (*SProgressCallback)(int perMille, uint32_t userValue);

class SVirtualFile
{
public:
    SVirtualFile();
    virtual ~SVirtualFile();

    virtual bool IsOpen() const = 0;
    virtual void Close() = 0;
    // CRC-32 of the whole content, whatever the position; false (out untouched) when not open.
    virtual bool GetCrc32(uint32_t* out) = 0;
    virtual int WriteBytes(const void* data, int n);
    // A negative length means strlen(text).
    virtual int WriteText(const char* text, int length = -1);
    // Writes n bytes at the position; returns the count written (0 for n < 1).
    virtual int Write(const void* data, int n) = 0;
    // The text, then CR LF; returns the bytes written including the two.
    virtual int WriteLine(const char* text) = 0;
    // The next n bytes (n < 0: all that remain), clamped to what remains.
    virtual SString ReadText(int n = -1) = 0;
    virtual int ReadBytes(void* data, int n);
    // Copies up to n bytes from the position; 0 when n < 1 or at the end.
    virtual int Read(void* data, int n) = 0;
    // One line ended by CR LF; maximum 0 returns "" at once, < 0 means no limit.
    virtual SString ReadLine(bool keepBlanks = true, int maximum = -1, bool* lineEnd = nullptr) = 0;
    // The bytes up to the next NUL (or the end); the position moves past the NUL.
    virtual SString ReadString() = 0;
    // A position outside 0..size moves to the end; returns the new position.
    virtual int Seek(int position) = 0;
    virtual int GetPosition() const = 0;
    virtual bool SetSize(int size) = 0;
    virtual int GetSize() const = 0;
    virtual int GetRemaining() const;
    virtual bool IsEnd() const = 0;
    // Position of the next occurrence from the position, which moves past it; -1 when none.
    virtual int Find(const void* bytes, int n) = 0;

    int SeekToStart();
    int SeekToEnd();
    int Skip(int n);
    int SkipBack(int n);
    SVirtualFile* GetIfOpen();
    bool IsMemory() const { return m_isMemory; }
    // The text and its terminating zero byte.
    int WriteStringWithNull(const char* text);
    int Fill(unsigned char value, int count);
    // Appends bytes read from the source's position (count < 0: all that remain).
    int CopyFrom(SVirtualFile* source, int count = -1);
    // Packs the whole stream into the target in 100000-byte zlib blocks.
    bool Compress(SVirtualFile* target, uint32_t userValue = 0);
    // Unpacks the whole stream, which holds the block format, into the target.
    bool Uncompress(SVirtualFile* target, uint32_t userValue = 0);

    // Set by an owner that wants to follow or cancel a long packing.
    SProgressCallback m_compressProgress;
    SProgressCallback m_uncompressProgress;

protected:
    // Carries a running CRC-32 register (start 0xFFFFFFFF, invert at the end) over n bytes.
    uint32_t UpdateCrc32(uint32_t crc, const void* data, size_t n) const;

    const uint32_t* m_crcTable;
    bool m_isMemory;

private:
    SVirtualFile(const SVirtualFile&) = delete;
    SVirtualFile& operator=(const SVirtualFile&) = delete;

    bool WriteUInt32(SVirtualFile* target, uint32_t value);
    static bool InflateInto(SVirtualFile* target, const unsigned char* packed, uint32_t packedSize, uint32_t rawSize,
                            unsigned char* raw);
    bool ReadUInt32(uint32_t* value);
};

// Finds, loads and locks a resource of the module and writes its bytes to the stream.
bool ReadResourceIntoFile(HMODULE module, const char* type, int id, SVirtualFile* file);
// The same for a resource named by text (or by MAKEINTRESOURCEA of its id).
bool ReadResourceIntoFile(HMODULE module, const char* type, const char* name, SVirtualFile* file);
