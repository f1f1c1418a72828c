// A list of texts: an array of SString pointers that owns its strings, orders them as
// text, stores them in Base64 form, and offers wildcard matching and joining.
#pragma once
#include "SArray.h"
#include "SString.h"

class SArrayString : public SArray<SString*>
{
public:
    SArrayString() {}
    SArrayString(const SArrayString& other);
    ~SArrayString() override;

    // Assignment copies the strings; the two arrays never share one.
    SArrayString& operator=(const SArrayString& other);
    SArray<SString*>& operator=(const SArray<SString*>& other) override;

    void FreeMemory() override;
    void CopyElement(SString** dst, SString* const* src, int index, int extra) override;
    int CompareElements(SString* const* a, SString* const* b, unsigned options,
                        int extra) const override;
    void ElementFromText(SString** dst, const SString& text, int index, int extra) override;
    SString ElementToText(SString* const* elem, int index, int extra) const override;
    // Deletes the own strings, then adds a copy of each of other's texts in order.
    virtual SArrayString& Assign(const SArrayString& other);

    int Add(const char* text);
    void SetAt(int i, const char* text);
    SString GetAt(int i) const;
    int InsertAt(const char* text, int index = -1, int n = 1);
    int Find(const char* text, int start = 0, int end = -1) const;
    int FindSorted(const char* text, int start = 0, int end = -1) const;
    int InsertSorted(const char* text, int start = 0, int end = -1);
    // The same under the given compare options instead of the array's option word.
    int InsertSorted(const char* text, int start, int end, unsigned options);
    SString Join(const char* separator, int start = 0, int count = -1) const;

    // Wildcard matching: star matches any run of characters, single exactly one.
    int MatchAll(const char* pattern, SArray<int>* indexes = nullptr, char star = '*',
                 char single = '?') const;
    static bool Match(const char* text, const char* pattern, char star = '*', char single = '?');
};
