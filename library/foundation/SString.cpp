#include "SString.h"
#include <cstdlib>
#include <cstring>
SString::SString() : m_data(nullptr), m_length(0), m_capacity(0), m_wide(nullptr), m_value(0) {}
SString::SString(const char* text) : m_data(nullptr), m_length(0), m_capacity(0), m_wide(nullptr), m_value(0) {}
SString::SString(const wchar_t* text) : m_data(nullptr), m_length(0), m_capacity(0), m_wide(nullptr), m_value(0) {}
SString::SString(const SString& other) : m_data(nullptr), m_length(0), m_capacity(0), m_wide(nullptr), m_value(0) {}
SString::~SString() {}
SString& SString::operator=(const SString& other) { return *this; }
SString& SString::operator=(const char* text) { return *this; }
SString& SString::operator=(char c) { return *this; }
SString& SString::operator=(const wchar_t* text) { return *this; }
void SString::Assign(const char* text, int count) {}
SString& SString::SetText(const char* text, int count) { return *this; }
void SString::Reserve(int n, bool keep) {}
void SString::SetLength(int n, char fill) {}
void SString::FreeBuffer() {}
char SString::GetAt(int i) const { return 0; }
void SString::SetAt(int i, char c) {}
void SString::Truncate(int i) {}
int SString::CountChar(char c) const { return 0; }
int SString::GetLineCount() const { return 0; }
int SString::Compare(const char* text) const { return 0; }
int SString::CompareNoCase(const char* text) const { return 0; }
bool SString::operator==(const char* text) const { return 0; }
bool SString::operator!=(const char* text) const { return 0; }
bool SString::CheckStart(int& start, bool allowEnd) const { return 0; }
int SString::ClampCount(int& count, int start) const { return 0; }
int SString::FindChar(char c, int start, int count) const { return 0; }
int SString::FindCharNot(char c, int start, int count) const { return 0; }
int SString::ReverseFindChar(char c, int start) const { return 0; }
int SString::Find(const char* text, int start, int count, bool after) const { return 0; }
int SString::FindNoCase(const char* text, int start, int count) const { return 0; }
int SString::Delete(int start, int count) { return 0; }
void SString::InsertChar(char c, int index, int n) {}
void SString::Insert(const char* text, int index, int n) {}
void SString::ReplaceRange(const char* text, int start, int count) {}
int SString::ReplaceChar(char oldChar, char newChar, int start, int count) { return 0; }
void SString::MakeUpper() {}
void SString::MakeLower() {}
SString SString::ToUpper() const { return SString(); }
SString SString::ToLower() const { return SString(); }
SString SString::operator+(const char* text) const { return SString(); }
SString& SString::operator+=(const char* text) { return *this; }
SString& SString::operator+=(char c) { return *this; }
int SString::TrimRight(int n, bool spacesOnly) { return 0; }
int SString::TrimLeft(int n, bool spacesOnly) { return 0; }
void SString::Trim(int right, int left, bool spacesOnly) {}
SString SString::StripBlanks(bool tabsToo) const { return SString(); }
void SString::RemoveLeadingNumber() {}
SString SString::Left(int n) const { return SString(); }
SString SString::Right(int n) const { return SString(); }
SString SString::Mid(int start, int count) const { return SString(); }
SString SString::Substring(int start, int end) const { return SString(); }
SString SString::GetAfterChar(char c) const { return SString(); }
SString SString::GetBeforeChar(char c) const { return SString(); }
SString SString::GetBeforeCharOrAll(char c) const { return SString(); }
SString SString::GetLine(int pos, int* next) const { return SString(); }
SString SString::GetWord(int pos, int* next, bool keepBlanks) const { return SString(); }
bool SString::IsIpAddress() const { return 0; }
unsigned long long SString::ToColor() const { return 0; }
wchar_t* SString::GetWide() { return nullptr; }
wchar_t* SString::AllocWide() const { return nullptr; }
void SString::UrlDecode(bool plusToSpace) {}
void SString::UrlEncode(bool spaceToPlus) {}
void SString::Base64Decode() {}
void SString::Base64Encode() {}
SString& SString::Format(const char* format, ...) { return *this; }
int SString::FormatV(const char* format, va_list args) { return 0; }
SString& SString::SetInt(int value) { return *this; }
SString& SString::SetUInt(unsigned value) { return *this; }
SString& SString::SetUInt64(unsigned long long value) { return *this; }
SString& SString::FormatThousands(int value) { return *this; }
SString& SString::FormatDouble(double value) { return *this; }
void SString::Init() {}
void SString::ReplaceBuffer(int, bool) {}
SString IntToString(int) { return SString(); }
SString UIntToString(unsigned) { return SString(); }
SString IntToGroupedString(int) { return SString(); }
int FormatToBuffer(char*, const char*, ...) { return 0; }
int SString::Replace(const char*, const char*, int, int, bool) { return 0; }
