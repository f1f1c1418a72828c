#include "PFolderCovers.h"
#include <cstring>
#include "PWndThumbs.h"
#include "SImage.h"

namespace
{
const char* Text(const SString& text)
{
    return text.GetText() ? text.GetText() : "";
}
}

struct PFolderCovers::_SItem
{
    SString folder;
    // Whether the listings name a picture of its own to try.
    bool own = false;
    // 0 waiting, 1 in hand, 2 made (with made false: the default stands in).
    std::atomic<int> state{0};
    bool made = false;
    _SBitmap thumbnail;
    SGdiObjectGuard<HBITMAP> icon;
    unsigned char pixels[PIXELS_SIZE];
};

class PFolderCovers::_PWorker : public SThread
{
public:
    explicit _PWorker(PFolderCovers& owner) : m_owner(owner) {}
    ~_PWorker() override { Stop(); }
    bool Run() override
    {
        m_owner.RunJobs();
        return false;
    }

private:
    PFolderCovers& m_owner;
};

PFolderCovers::PFolderCovers(const PLibraryFiles::_SCovers& covers, Form form)
    : m_callerCovers(covers), m_covers(covers), m_form(form), m_next(0), m_stopping(false),
      m_madeEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr))
{
    // The workers never touch the default pictures: a folder whose own
    // picture fails gets the default's forms made here.
    m_covers.picture = nullptr;
    m_covers.smallPicture = nullptr;
}

PFolderCovers::~PFolderCovers()
{
    m_stopping = true;
    m_workers.clear();
}

void PFolderCovers::Start(SDisk& disk, const SString& parent, const SArrayString& folders, int threads)
{
    m_beside.List(disk, parent, "*.*");
    if (m_covers.names && m_covers.names->GetCount() > 0)
    {
        m_inRoot.List(disk, m_covers.root, "*.*");
        m_covers.inRoot = &m_inRoot;
    }
    int own = 0;
    for (int i = 0; i < folders.GetCount(); ++i)
    {
        std::unique_ptr<_SItem> item(new _SItem());
        item->folder = folders.GetAt(i);
        item->own = PLibraryFiles::MayHaveOwnCover(Text(item->folder), m_covers, m_beside);
        own += item->own ? 1 : 0;
        m_items.push_back(std::move(item));
    }
    MakeDefault();
    // The caller makes covers too while it waits for none.
    const int wanted = threads < own - 1 ? threads : own - 1;
    for (int i = 0; i < wanted; ++i)
    {
        std::unique_ptr<_PWorker> worker(new _PWorker(*this));
        if (!worker->Start(false))
            break;
        m_workers.push_back(std::move(worker));
    }
}

// The forms every folder without a picture of its own shows, made as the
// cover look-up makes them for one.
void PFolderCovers::MakeDefault()
{
    m_default.reset(new _SItem());
    const bool small = m_form == FORM_PIXELS;
    SImage cover;
    cover.CopyFrom(small ? m_callerCovers.smallPicture : m_callerCovers.picture);
    PLibraryFiles::SizeCover(&cover, small);
    if (small)
    {
        if (cover.GetPixelsSize(PixelFormat32bppARGB) != PIXELS_SIZE || !cover.GetPixels(m_default->pixels, PixelFormat32bppARGB))
            memset(m_default->pixels, 0xFF, PIXELS_SIZE);
        return;
    }
    m_default->thumbnail = std::make_shared<SGdiObjectGuard<HBITMAP>>(PWndThumbs::MakeBitmap(cover));
    cover.Resize(16, 16);
    m_default->icon.Reset(cover.GetHBITMAP());
}

void PFolderCovers::Make(_SItem& item) const
{
    SImage cover;
    item.made = PLibraryFiles::LoadOwnCover(&cover, Text(item.folder), m_covers, &m_beside);
    if (!item.made)
        return;
    if (m_form == FORM_PIXELS)
    {
        PLibraryFiles::SizeCover(&cover, true);
        if (cover.GetPixelsSize(PixelFormat32bppARGB) != PIXELS_SIZE || !cover.GetPixels(item.pixels, PixelFormat32bppARGB))
            memset(item.pixels, 0xFF, PIXELS_SIZE);
        return;
    }
    PLibraryFiles::SizeCover(&cover, false);
    item.thumbnail = std::make_shared<SGdiObjectGuard<HBITMAP>>(PWndThumbs::MakeBitmap(cover));
    cover.Resize(16, 16);
    item.icon.Reset(cover.GetHBITMAP());
}

void PFolderCovers::RunJobs()
{
    const int count = static_cast<int>(m_items.size());
    for (int i = m_next++; i < count && !m_stopping; i = m_next++)
    {
        _SItem& item = *m_items[static_cast<size_t>(i)];
        int waiting = 0;
        if (!item.own || !item.state.compare_exchange_strong(waiting, 1))
            continue;
        Make(item);
        item.state = 2;
        SetEvent(m_madeEvent.Get());
    }
}

const PFolderCovers::_SItem& PFolderCovers::Take(int i)
{
    _SItem& item = *m_items[static_cast<size_t>(i)];
    int waiting = 0;
    if (!item.own)
        return *m_default;
    if (item.state.compare_exchange_strong(waiting, 1))
    {
        Make(item);
        item.state = 2;
    }
    // A short wait at most: a cover made just after the check sets the event
    // after its state.
    while (item.state != 2)
        WaitForSingleObject(m_madeEvent.Get(), 5);
    return item.made ? item : *m_default;
}

PFolderCovers::_SBitmap PFolderCovers::GetThumbnail(int i)
{
    return Take(i).thumbnail;
}

HBITMAP PFolderCovers::GetIcon(int i)
{
    return Take(i).icon.Get();
}

const unsigned char* PFolderCovers::GetPixels(int i)
{
    return Take(i).pixels;
}
