#include "PQueueMenu.h"
#include "PWndApp.h"
#include "PSettings.h"

bool PQueueMenu::Fill(const PWndApp& owner, HWND window)
{
    SArrayString names;
    if (owner.GetQueueNames(&names) == 0)
        return false;
    if (GetHandle())
        RemoveAll();
    else
        Create(window);
    SetNoImage(true);
    for (int i = 0; i < names.GetCount(); ++i)
        InsertItem(ID_FIRST_ENTRY + i, TextOf(names.GetAt(i)));
    CheckItem(ID_FIRST_ENTRY + owner.GetQueueIndex(), true);
    return true;
}

void PQueueMenu::PlayChosen(PWndApp* owner, LPARAM command)
{
    if (command >= ID_FIRST_ENTRY && owner)
        owner->PlayFrom(static_cast<int>(command) - ID_FIRST_ENTRY, false);
}
