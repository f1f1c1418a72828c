// A stream over a buffered standard I/O file: opened by name for reading, writing
// or both, or as a temporary file in the user's temp folder deleted on close.
#pragma once
#include <cstdio>
#include "SVirtualFile.h"

class SFile : public SVirtualFile
{
public:
    SFile();
    // Opens without sharing; the caller tests IsOpen.
    SFile(const char* path, bool write, bool create, bool read);
    ~SFile() override;

    // read+write+create "w+b", read+write "r+b", read "rb", write+create "wb", write "ab".
    bool Open(const char* path, bool write, bool create, bool read, bool shared = false);
    // A new empty file from SDisk::GetTempName, opened "w+b" and deleted by Close.
    bool OpenTemporary();
    // Writes the bytes to a file beside path and puts it in path's place only
    // once every byte is written and the file closed: on any failure the old
    // file stays as it was and the answer is false. Durable also waits for the
    // bytes to reach the disk first; files made again from others (pages,
    // pictures) may skip that wait, and are written in place where no file is yet.
    static bool SaveReplacing(const char* path, const void* data, int size, bool durable = true);

    bool IsOpen() const override { return m_file != nullptr; }
    void Close() override;
    bool GetCrc32(uint32_t* out) override;
    int Write(const void* data, int n) override;
    int WriteLine(const char* text) override;
    SString ReadText(int n = -1) override;
    int Read(void* data, int n) override;
    SString ReadLine(bool keepBlanks = true, int maximum = -1, bool* lineEnd = nullptr) override;
    SString ReadString() override;
    int Seek(int position) override;
    // Positions and sizes beyond what an int holds are refused with -1.
    int GetPosition() const override;
    bool SetSize(int size) override;
    int GetSize() const override;
    bool IsEnd() const override;
    int Find(const void* bytes, int n) override;
    // The same for files of any size: -1 when the size cannot be read, false
    // when the position cannot be set.
    long long GetSize64() const;
    long long GetPosition64() const;
    bool SeekTo64(long long position);

    const SString& GetName() const { return m_name; }
    const SString& GetTemporaryPath() const { return m_temporaryPath; }
    bool IsTemporary() const { return m_temporary; }

private:
    enum Direction
    {
        kNone,
        kReading,
        kWriting
    };
    // The C library needs a seek between a write and a read on the same stream.
    void Prepare(Direction direction);

    FILE* m_file;
    SString m_name;
    SString m_temporaryPath;
    bool m_temporary;
    mutable Direction m_direction;
};
