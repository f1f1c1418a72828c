// A stream whose bytes live in one contiguous heap buffer: the library's general
// byte container (downloads, settings files, resources, the sharing blocks).
#pragma once
#include "SVirtualFile.h"

class SMemory : public SVirtualFile
{
public:
    SMemory();
    // Loads that resource of the program's own module.
    SMemory(const char* type, int id);
    ~SMemory() override;

    bool IsOpen() const override { return m_data != nullptr; }
    void Close() override;
    bool GetCrc32(uint32_t* out) override;
    int Write(const void* data, int n) override;
    int WriteLine(const char* text) override;
    SString ReadText(int n = -1) override;
    int Read(void* data, int n) override;
    SString ReadLine(bool keepBlanks = true, int maximum = -1, bool* lineEnd = nullptr) override;
    SString ReadString() override;
    int Seek(int position) override;
    int GetPosition() const override { return m_position; }
    bool SetSize(int size) override;
    int GetSize() const override { return m_size; }
    bool IsEnd() const override { return m_position == m_size; }
    int Find(const void* bytes, int n) override;

    unsigned char* GetData() { return m_data; }
    // Where the next read or write happens.
    unsigned char* GetCurrentPointer() { return m_data ? m_data + m_position : nullptr; }
    // Size n (negative counts as 0) in a buffer of the multiple of 1024 above it; the position stays.
    void Resize(int n, bool keep);
    // A buffer of n bytes of undefined content, position 0.
    int Allocate(int n);
    bool LoadFromFile(const char* path);
    bool SaveToFile(const char* path);
    bool LoadFromResource(const char* type, int id, HMODULE module);
    // The same with the resource named first, by text or by MAKEINTRESOURCEA of its id.
    bool LoadFromResource(const char* name, const char* type, HMODULE module);
    bool RemoveRange(int offset, int count);
    bool InsertRange(int offset, int count);

private:
    // Unpacking appends to a memory stream in place.
    friend class SVirtualFile;

    // Takes a buffer of the given capacity, keeping the first keep bytes; false when memory is short.
    bool Reallocate(int capacity, int keep);
    // Size for writing up to end; at least doubles the capacity, so that
    // appending piece by piece does not copy the whole content every 1024 bytes.
    bool GrowForWrite(long long end);

    unsigned char* m_data;
    int m_size;
    int m_capacity;
    int m_position;
};
