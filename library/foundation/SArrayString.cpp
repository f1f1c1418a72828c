#include "SArrayString.h"

SArrayString::SArrayString(const SArrayString& other) : SArray<SString*>() { Assign(other); }
SArrayString::~SArrayString() { DeleteAndRemoveAll(); }
SArrayString& SArrayString::operator=(const SArrayString& other) { return *this; }
SArray<SString*>& SArrayString::operator=(const SArray<SString*>& other) { return *this; }
void SArrayString::FreeMemory() { SArray<SString*>::FreeMemory(); }
void SArrayString::CopyElement(SString** dst, SString* const* src, int index, int extra) {}
int SArrayString::CompareElements(SString* const* a, SString* const* b, unsigned options, int extra) const { return 0; }
void SArrayString::ElementFromText(SString** dst, const SString& text, int index, int extra) {}
SString SArrayString::ElementToText(SString* const* elem, int index, int extra) const { return SString(); }
SArrayString& SArrayString::Assign(const SArrayString& other) { return *this; }
int SArrayString::Add(const char* text) { return -1; }
void SArrayString::SetAt(int i, const char* text) {}
SString SArrayString::GetAt(int i) const { return SString(); }
int SArrayString::InsertAt(const char* text, int index, int n) { return -1; }
int SArrayString::Find(const char* text, int start, int end) const { return -1; }
int SArrayString::FindSorted(const char* text, int start, int end) const { return -1; }
int SArrayString::InsertSorted(const char* text, int start, int end) { return -1; }
SString SArrayString::Join(const char* separator, int start, int count) const { return SString(); }
int SArrayString::MatchAll(const char* pattern, SArray<int>* indexes, char star, char single) const { return 0; }
bool SArrayString::Match(const char* text, const char* pattern, char star, char single) { return false; }
