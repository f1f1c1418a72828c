// How a parent turns the native WM_COMMAND and WM_NOTIFY notices of its library
// children into the library's control notifications: one translation per control
// type id. The native-only ones are built in; a control class that needs its own
// code (radio groups, tab pages, trees) registers its translation here.
#pragma once
#include "SPlatform.h"

class SWnd;

class SControlNotify
{
public:
    // A child's WM_COMMAND; code is the high 16 bits of wParam.
    typedef void (*CommandTranslator)(SWnd* parent, SWnd* child, int code);
    // A child's WM_NOTIFY; false stops the message with the result set.
    typedef bool (*NotifyTranslator)(SWnd* parent, SWnd* child, NMHDR* header, LRESULT& result);

    // Replaces both translations of a type id (null: none).
    static void Register(int typeId, CommandTranslator command, NotifyTranslator notify);
    static CommandTranslator GetCommandTranslator(int typeId);
    static NotifyTranslator GetNotifyTranslator(int typeId);

    // Called by the parent's pre-processor.
    static void TranslateCommand(SWnd* parent, WPARAM wParam, LPARAM lParam);
    static bool TranslateNotify(SWnd* parent, LPARAM lParam, LRESULT& result);

    // For translators: the cursor in the child's client coordinates, and a mouse
    // notification {code, cursor} sent to the parent with the child as wParam.
    static POINT GetCursorInClient(const SWnd* child);
    static LRESULT SendMouseNotify(SWnd* parent, UINT message, SWnd* child, int code);

    enum
    {
        TYPE_COUNT = 64
    };
};
