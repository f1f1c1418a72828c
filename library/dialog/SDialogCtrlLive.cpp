#include "SDialogCtrl.h"
#include "SDrawing.h"
#include "SMemory.h"

SWnd* SDialogCtrl::CreatePreview(_SCtrl* element)
{
    return m_handle ? CreateControl(nullptr, m_handle, element, &m_resource, false) : nullptr;
}

bool SDialogCtrl::RemakeLiveControl(_SCtrl* element)
{
    if (!element || m_noPreviews)
        return false;
    SWnd* made = CreatePreview(element);
    // A control that cannot be made leaves the old one in place.
    if (!made)
        return false;
    element->SetLiveControl(made);
    made->MoveWindow(0, 0, element->GetWidth(), element->GetHeight(), false);
    const SString& face = element->GetFontName();
    element->SetFontHandle(face.GetLength() > 0
                               ? CreateFontWithStyle(face.GetText(), element->GetFontSize(), element->GetFontStyle())
                               : nullptr);
    if (element->GetFontHandle())
        made->SetFont(element->GetFontHandle(), false);
    return true;
}

bool SDialogCtrl::TestRun()
{
    SMemory description;
    if (!WriteDescription(&description))
        return false;
    description.SeekToStart();
    SWndDialog dialog;
    const bool built = dialog.CreateFromDescription(&description, m_handle, &m_resource, true, 0);
    if (built)
        dialog.DoModal();
    dialog.DestroyWindow();
    return built;
}
