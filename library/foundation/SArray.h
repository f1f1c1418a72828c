// The library's growable array: capacity in steps of 64 elements, an option word
// for comparisons, and eight virtual operations a derived class can specialise.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <type_traits>
#include <typeinfo>
#include "SString.h"

template <class T>
class SArray
{
public:
    // Option bits passed to every comparison.
    enum : unsigned
    {
        Descending = 1,
        NoCase = 0x10000
    };

    SArray() : m_capacity(0), m_count(0), m_data(nullptr), m_options(0) {}
    // A copy owns its own buffer (the elements are copied as plain values).
    SArray(const SArray& other) : SArray() { CopyPlain(other); }
    virtual ~SArray() { SArray::FreeMemory(); }

    // Slot 1: resize to the other's count, copy count, options and the elements as values.
    virtual SArray& operator=(const SArray& other)
    {
        if (this != &other)
            CopyPlain(other);
        return *this;
    }
    // Slot 2: frees the buffer and clears capacity, count and options.
    virtual void FreeMemory()
    {
        delete[] m_data;
        m_data = nullptr;
        m_capacity = 0;
        m_count = 0;
        m_options = 0;
    }
    // Slot 3: stores one element; every insertion goes through it.
    virtual void CopyElement(T* dst, const T* src, int index, int extra) { *dst = *src; }
    // Slot 4: called for each non-null element before the array deletes or releases it.
    virtual void OnDeleteElement(T* elem, int index, int extra) {}
    // Slot 5: < 0, 0, > 0, or -2 when not handled (the default comparison is then used).
    virtual int CompareElements(const T* a, const T* b, unsigned options, int extra) const
    {
        return -2;
    }
    // Slot 6 and 7: the text form of an element; none by default.
    virtual void ElementFromText(T* dst, const SString& text, int index, int extra) {}
    virtual SString ElementToText(const T* elem, int index, int extra) const { return SString(""); }

    // Size and access.
    int GetCount() const { return m_count; }
    void SetSize(int count, bool keep);
    void SetCount(int count) { SetSize(count, true); }
    void RemoveAll() { SetSize(0, false); }
    // No range check: callers check first.
    T GetAt(int i) const { return m_data[i]; }
    T GetFirst() const { return m_data[0]; }
    T GetLast() const { return m_data[m_count - 1]; }
    T* GetPtr(int i) const { return (i >= 0 && i < m_count) ? m_data + i : nullptr; }
    void SetAt(int i, T value);
    bool Swap(int i, int j);
    unsigned GetFlags() const { return m_options; }
    SArray& AddFlags(unsigned bits)
    {
        m_options |= bits;
        return *this;
    }

    // Insertion and removal.
    int Add(T value);
    int InsertAt(T value, int index = -1, int n = 1);
    int Append(const SArray* other);
    // Appends, ascending, each number 0 .. count - 1 that other does not hold
    // (a null other holds nothing); returns how many were appended.
    int AppendDifference(const SArray* other, int count);
    void RemoveAt(int index, int count = 1);
    void RemoveLast()
    {
        if (m_count > 0)
            RemoveAt(m_count - 1, 1);
    }

    // For arrays of object pointers: destroy the pointed objects (slot set to null).
    void DeleteAt(int index, int count = 1);
    void DeleteAndRemoveAt(int index, int count = 1);
    void DeleteAll() { DeleteAt(0, -1); }
    void DeleteAndRemoveAll()
    {
        DeleteAll();
        RemoveAll();
    }
    // For arrays of plain memory blocks taken with malloc: free them without a destructor.
    void FreeAll();

    // Comparison, search and order.
    int Compare(const T* a, const T* b, unsigned options, int extra) const;
    int Find(T value, int start = 0, int end = -1, int extra = 0) const;
    int FindSorted(T value, int start = 0, int end = -1, int extra = 0) const;
    int FindInsertPosition(T value, int start = 0, int end = -1, int extra = 0) const;
    int InsertSorted(T value, int start = 0, int end = -1, int extra = 0);
    void Sort(int start = 0, int end = -1) { SortRange(start, end, 0); }
    void SortRange(int start, int end, int extra);

protected:
    int m_capacity;
    int m_count;
    T* m_data;
    unsigned m_options;

private:
    void CopyPlain(const SArray& other);
    bool ClampRange(int index, int& count) const;
    int SearchLow(const T& value, int start, int end, int extra, bool& found) const;
    template <bool plain, class Less>
    void QuickSort(int start, int end, const Less& less);
    static int DefaultCompare(const T& a, const T& b);
    bool UsesDefaultOrder() const;
};

template <class T>
void SArray<T>::SetSize(int count, bool keep)
{
    if (count < 0)
        count = 0;
    const int capacity = count + 64 - (count % 64);
    if (capacity != m_capacity)
    {
        // New slots start zeroed (null for pointer arrays).
        T* data = new T[capacity]();
        if (keep && m_data)
        {
            const int n = count < m_count ? count : m_count;
            for (int i = 0; i < n; i++)
                data[i] = m_data[i];
        }
        delete[] m_data;
        m_data = data;
        m_capacity = capacity;
    }
    else
    {
        // Same buffer: slots that are not kept read as empty (null for pointers).
        for (int i = keep ? m_count : 0; i < count; i++)
            m_data[i] = T();
    }
    m_count = count;
}

template <class T>
void SArray<T>::SetAt(int i, T value)
{
    if (i == -1)
    {
        for (int k = 0; k < m_count; k++)
            m_data[k] = value;
    }
    else if (i >= 0 && i < m_count)
        m_data[i] = value;
}

template <class T>
bool SArray<T>::Swap(int i, int j)
{
    if (i < 0 || j < 0 || i >= m_count || j >= m_count || i == j)
        return false;
    T t = m_data[i];
    m_data[i] = m_data[j];
    m_data[j] = t;
    return true;
}

template <class T>
int SArray<T>::Add(T value)
{
    SetCount(m_count + 1);
    const int index = m_count - 1;
    CopyElement(m_data + index, &value, index, 0);
    return index;
}

template <class T>
int SArray<T>::InsertAt(T value, int index, int n)
{
    if (index < 0 || index > m_count)
        index = m_count;
    if (n < 1)
        n = 1;
    const int old = m_count;
    SetCount(old + n);
    for (int i = old - 1; i >= index; i--)
        m_data[i + n] = m_data[i];
    for (int i = index; i < index + n; i++)
    {
        m_data[i] = T();
        CopyElement(m_data + i, &value, i, 0);
    }
    return index;
}

template <class T>
int SArray<T>::Append(const SArray* other)
{
    if (!other)
        return 0;
    // Read the count first: other may be this array.
    const int n = other->m_count;
    for (int i = 0; i < n; i++)
        Add(other->m_data[i]);
    return n;
}

template <class T>
int SArray<T>::AppendDifference(const SArray* other, int count)
{
    static_assert(std::is_arithmetic<T>::value, "the difference is made of numbers");
    // Decide before adding anything: other may be this array.
    SArray missing;
    for (int i = 0; i < count; i++)
        if (!other || other->Find(static_cast<T>(i)) < 0)
            missing.Add(static_cast<T>(i));
    return Append(&missing);
}

template <class T>
bool SArray<T>::ClampRange(int index, int& count) const
{
    if (index < 0 || index >= m_count)
        return false;
    if (count < 0 || count > m_count - index)
        count = m_count - index;
    return count >= 1;
}

template <class T>
void SArray<T>::RemoveAt(int index, int count)
{
    if (!ClampRange(index, count))
        return;
    for (int i = index + count; i < m_count; i++)
        m_data[i - count] = m_data[i];
    SetCount(m_count - count);
}

template <class T>
void SArray<T>::DeleteAt(int index, int count)
{
    if (!ClampRange(index, count))
        return;
    for (int i = index; i < index + count; i++)
    {
        if (m_data[i])
        {
            OnDeleteElement(m_data + i, i, 0);
            delete m_data[i];
            m_data[i] = nullptr;
        }
    }
}

template <class T>
void SArray<T>::DeleteAndRemoveAt(int index, int count)
{
    DeleteAt(index, count);
    RemoveAt(index, count);
}

template <class T>
void SArray<T>::FreeAll()
{
    for (int i = 0; i < m_count; i++)
    {
        if (m_data[i])
        {
            OnDeleteElement(m_data + i, i, 0);
            std::free((void*)m_data[i]);
            m_data[i] = nullptr;
        }
    }
}

template <class T>
int SArray<T>::DefaultCompare(const T& a, const T& b)
{
    // Pointers and handles compare as unsigned pointer-sized addresses; numbers by their type.
    if constexpr (std::is_pointer<T>::value)
    {
        const uintptr_t x = reinterpret_cast<uintptr_t>(a), y = reinterpret_cast<uintptr_t>(b);
        return x == y ? 0 : (x < y ? -1 : 1);
    }
    else
    {
        static_assert(std::is_arithmetic<T>::value, "this element type has no default order");
        return a == b ? 0 : (a < b ? -1 : 1);
    }
}

template <class T>
int SArray<T>::Compare(const T* a, const T* b, unsigned options, int extra) const
{
    const int result = CompareElements(a, b, options, extra);
    if (result != -2)
        return result;
    const int order = DefaultCompare(*a, *b);
    return (options & Descending) ? -order : order;
}

template <class T>
int SArray<T>::Find(T value, int start, int end, int extra) const
{
    if (start < 0 || start >= m_count)
        return -1;
    if (end < 0 || end > m_count)
        end = m_count;
    for (int i = start; i < end; i++)
        if (Compare(m_data + i, &value, m_options, extra) == 0)
            return i;
    return -1;
}

// Halving search over [start, end); returns the index of an equal element (found set)
// or the last lower bound.
template <class T>
int SArray<T>::SearchLow(const T& value, int start, int end, int extra, bool& found) const
{
    found = false;
    if (start < 0)
        start = 0;
    if (end < 0 || end > m_count)
        end = m_count;
    int low = start, high = end - 1;
    while (low <= high)
    {
        const int middle = (low + high) / 2;
        const int c = Compare(&value, m_data + middle, m_options, extra);
        if (c == 0)
        {
            found = true;
            return middle;
        }
        if (c < 0)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return low;
}

template <class T>
int SArray<T>::FindSorted(T value, int start, int end, int extra) const
{
    bool found;
    const int index = SearchLow(value, start, end, extra, found);
    return found ? index : -1;
}

template <class T>
int SArray<T>::FindInsertPosition(T value, int start, int end, int extra) const
{
    bool found;
    const int low = SearchLow(value, start, end, extra, found);
    if (found)
        return low;
    if (low >= m_count)
        return m_count;
    return Compare(&value, m_data + low, m_options, extra) >= 0 ? low + 1 : low;
}

template <class T>
int SArray<T>::InsertSorted(T value, int start, int end, int extra)
{
    return InsertAt(value, FindInsertPosition(value, start, end, extra), 1);
}

// Quicksort: the middle element goes to start, the smaller ones gather after
// it and it is put between the two groups; the smaller side recurses and the
// larger one loops, so the stack stays shallow whatever the data. A plain
// comparison gets the pivot by value (it stays in place during the pass); a
// derived one gets the element in the array, as it always has.
template <class T>
template <bool plain, class Less>
void SArray<T>::QuickSort(int start, int end, const Less& less)
{
    T* const data = m_data;
    while (end - start >= 2)
    {
        const int middle = (start + end - 1) / 2;
        T t = data[start];
        data[start] = data[middle];
        data[middle] = t;
        int last = start;
        const T pivot = data[start];
        for (int i = start + 1; i < end; i++)
        {
            bool smaller;
            if constexpr (plain)
                smaller = less(data[i], pivot);
            else
                smaller = less(data[i], data[start]);
            if (smaller)
            {
                ++last;
                if (last != i)
                {
                    t = data[last];
                    data[last] = data[i];
                    data[i] = t;
                }
            }
        }
        t = data[start];
        data[start] = data[last];
        data[last] = t;
        if (last - start < end - last - 1)
        {
            QuickSort<plain>(start, last, less);
            start = last + 1;
        }
        else
        {
            QuickSort<plain>(last + 1, end, less);
            end = last;
        }
    }
}

// A plain array of numbers or pointers has no comparison of its own: it can
// be ordered without the virtual call, by the same steps and to the same result.
template <class T>
bool SArray<T>::UsesDefaultOrder() const
{
    if constexpr (std::is_arithmetic<T>::value || std::is_pointer<T>::value)
        return typeid(*this) == typeid(SArray<T>);
    else
        return false;
}

template <class T>
void SArray<T>::SortRange(int start, int end, int extra)
{
    if (m_count < 2 || start < 0 || start > m_count || end < -1 || end > m_count)
        return;
    if (end == -1)
        end = m_count;
    if constexpr (std::is_arithmetic<T>::value || std::is_pointer<T>::value)
    {
        if (UsesDefaultOrder())
        {
            if (m_options & Descending)
                QuickSort<true>(start, end, [](const T& a, const T& b) { return DefaultCompare(a, b) > 0; });
            else
                QuickSort<true>(start, end, [](const T& a, const T& b) { return DefaultCompare(a, b) < 0; });
            return;
        }
    }
    const unsigned options = m_options;
    QuickSort<false>(start, end,
                     [this, options, extra](const T& a, const T& b) { return Compare(&a, &b, options, extra) < 0; });
}

template <class T>
void SArray<T>::CopyPlain(const SArray& other)
{
    SetSize(other.m_count, false);
    m_options = other.m_options;
    for (int i = 0; i < other.m_count; i++)
        m_data[i] = other.m_data[i];
}
