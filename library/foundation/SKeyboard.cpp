#include "SKeyboard.h"
#include <cstdio>

namespace
{
struct KeyName
{
    int code;
    const char* name;
};

const KeyName NamedKeys[] = {
    {1, "LBUTTON"},    {2, "RBUTTON"},   {3, "CANCEL"},    {4, "MBUTTON"},   {8, "BACK"},
    {9, "TAB"},        {12, "CLEAR"},    {13, "RETURN"},   {16, "SHIFT"},    {17, "CONTROL"},
    {18, "MENU"},      {19, "PAUSE"},    {20, "CAPITAL"},  {27, "ESCAPE"},   {32, "SPACE"},
    {33, "PRIOR"},     {34, "NEXT"},     {35, "END"},      {36, "HOME"},     {37, "LEFT"},
    {38, "UP"},        {39, "RIGHT"},    {40, "DOWN"},     {41, "SELECT"},   {43, "EXECUTE"},
    {44, "SNAPSHOT"},  {45, "INSERT"},   {46, "DELETE"},   {47, "HELP"},     {91, "LWIN"},
    {92, "RWIN"},      {93, "APPS"},     {106, "MULTIPLY"}, {107, "ADD"},    {108, "SEPARATOR"},
    {109, "SUBTRACT"}, {110, "DECIMAL"}, {111, "DIVIDE"},  {144, "NUMLOCK"}, {145, "SCROLL"},
    {246, "ATTN"},     {247, "CRSEL"},   {248, "EXSEL"},   {249, "EREOF"},   {250, "PLAY"},
    {251, "ZOOM"},     {252, "NONAME"},  {253, "PA1"}};
}

SKeyboard::SKeyboard()
{
    m_keys.SetSize(256, false);
    m_keysBefore.SetSize(256, false);
    FillKeyNames();
}

SKeyboard::~SKeyboard() {}

SArrayString& SKeyboard::GetKeyNames()
{
    static SArrayString names;
    return names;
}

int SKeyboard::FillKeyNames()
{
    SArrayString& names = GetKeyNames();
    if (names.GetCount() > 0)
        return names.GetCount();
    for (int i = 0; i < 256; i++)
        names.Add("");
    for (const KeyName& key : NamedKeys)
        names.SetAt(key.code, key.name);
    char text[8];
    for (int c = '0'; c <= '9'; c++)
    {
        text[0] = static_cast<char>(c);
        text[1] = 0;
        names.SetAt(c, text);
    }
    for (int c = 'A'; c <= 'Z'; c++)
    {
        text[0] = static_cast<char>(c);
        text[1] = 0;
        names.SetAt(c, text);
    }
    for (int i = 0; i <= 9; i++)
    {
        snprintf(text, sizeof(text), "NUM%d", i);
        names.SetAt(VK_NUMPAD0 + i, text);
    }
    for (int i = 1; i <= 16; i++)
    {
        snprintf(text, sizeof(text), "F%d", i);
        names.SetAt(VK_F1 + i - 1, text);
    }
    return names.GetCount();
}

bool SKeyboard::IsKeyDown(int vk) const
{
    return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

int SKeyboard::GetModifiers() const
{
    return (IsCtrlDown() ? 2 : 0) + (IsShiftDown() ? 1 : 0);
}

void SKeyboard::PressKey(BYTE vk) const
{
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
}
