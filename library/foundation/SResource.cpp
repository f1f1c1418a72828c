#include "SResource.h"
#include "SFile.h"

SResource::SResource() : m_pack(nullptr) {}

SResource::~SResource()
{
    Clear();
}

void SResource::Clear()
{
    delete m_pack;
    m_pack = nullptr;
    for (int i = 0; i < m_blocks.GetCount(); i++)
        delete[] m_blocks.GetAt(i);
    m_blocks.RemoveAll();
    m_names.DeleteAndRemoveAll();
    m_offsets.RemoveAll();
    m_sizes.RemoveAll();
    m_location.Set("");
}

int SResource::SetFolder(const char* folder)
{
    Clear();
    if (!folder || !m_location.SetFolder(folder))
        return 0;
    SArrayString files;
    const SString pattern = m_location.GetFullFolder() + "*";
    m_disk.List(&files, pattern.GetText(), false, false, true, false, true);
    for (int i = 0; i < files.GetCount(); i++)
    {
        const SString path = files.GetAt(i);
        const SPath file(path.GetText());
        AddEntry(file.GetFileName().GetText(), 0, m_disk.GetFileSize(path.GetText()));
    }
    return m_names.GetCount();
}

bool SResource::SetPackFile(const char* path)
{
    Clear();
    return path && m_location.Set(path) != 0 && !m_location.IsFolderPath();
}

void SResource::SetPackStream(SVirtualFile* stream)
{
    if (stream != m_pack)
        delete m_pack;
    m_pack = stream;
}

int SResource::AddEntry(const char* name, int offset, int size)
{
    if (!name || !*name || offset < 0 || size < 0)
        return -1;
    m_offsets.Add(offset);
    m_sizes.Add(size);
    return m_names.Add(name);
}

// Moves the source to the entry and copies it; a short copy fails.
bool SResource::CopyEntry(SVirtualFile* target, SVirtualFile* source, int offset, int size)
{
    if (source->Seek(offset) != offset)
        return false;
    return target->CopyFrom(source, size) == size;
}

bool SResource::Load(SVirtualFile* target, const char* name)
{
    if (!target || !name || (!m_location.IsValid() && !m_pack))
        return false;
    const int index = m_names.Find(name);
    if (index < 0)
        return false;
    const int offset = m_offsets.GetAt(index), size = m_sizes.GetAt(index);
    bool copied;
    if (m_pack)
        copied = CopyEntry(target, m_pack, offset, size);
    else if (!m_location.IsFolderPath())
    {
        SFile file;
        if (!file.Open(m_location.GetPath().GetText(), false, false, true, false))
            return false;
        copied = CopyEntry(target, &file, offset, size);
    }
    else
    {
        SFile file;
        const SString path = m_location.GetFullFolder() + name;
        if (!file.Open(path.GetText(), false, false, true, false))
            return false;
        copied = target->CopyFrom(&file, -1) == file.GetSize();
    }
    if (!copied)
        return false;
    target->SeekToStart();
    return true;
}
