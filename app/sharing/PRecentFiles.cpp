#include "PRecentFiles.h"

void PRecentFiles::Keep(int client, const SString& path, unsigned long long written, std::unique_ptr<SMemory> bytes)
{
    Take(client, path, -1, 0);
    if (!bytes)
        return;
    if (m_files.size() >= static_cast<size_t>(MOST_FILES))
        m_files.pop_front();
    m_files.push_back(_PFile{client, path, written, std::move(bytes)});
}

std::unique_ptr<SMemory> PRecentFiles::Take(int client, const SString& path, long long size,
                                            unsigned long long written)
{
    for (auto file = m_files.begin(); file != m_files.end(); ++file)
        if (file->client == client && file->path == path.GetText())
        {
            std::unique_ptr<SMemory> bytes = std::move(file->bytes);
            const bool same = file->written == written;
            m_files.erase(file);
            return same && bytes && bytes->GetSize() == size ? std::move(bytes) : nullptr;
        }
    return nullptr;
}

void PRecentFiles::Forget(int client)
{
    for (auto file = m_files.begin(); file != m_files.end();)
        file = client < 0 || file->client == client ? m_files.erase(file) : file + 1;
}
