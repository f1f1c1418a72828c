// The cover thumbnails of the current folder's sub-folders, in a scrolling
// grid; its pictures and mouse handling come with the thumbnail strip.
#pragma once
#include "SWnd.h"

class PWndApp;

class PWndThumbs : public SWnd
{
public:
    PWndThumbs() : m_owner(nullptr) {}
    ~PWndThumbs() override {}

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }
    // A hidden child (id 1008) anchored to the right and bottom.
    bool Create(HWND parent, const RECT& rect, UINT_PTR id);
    // Forgets every thumbnail.
    void Clear() {}

private:
    PWndApp* m_owner;
};
