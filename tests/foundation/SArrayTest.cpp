#include <gtest/gtest.h>
#include "SPlatform.h"
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>
#include "SArray.h"

namespace
{
template <class T>
struct ArrayProbe : SArray<T>
{
    int Capacity() const { return this->m_capacity; }
};

template <class T>
std::vector<T> Contents(const SArray<T>& a)
{
    std::vector<T> v;
    for (int i = 0; i < a.GetCount(); i++)
        v.push_back(a.GetAt(i));
    return v;
}

template <class T>
void Fill(SArray<T>& a, std::initializer_list<T> values)
{
    for (T v : values)
        a.Add(v);
}

struct Counted
{
    explicit Counted(int* counter) : m_counter(counter) {}
    virtual ~Counted() { ++*m_counter; }
    int* m_counter;
};

struct Derived : Counted
{
    explicit Derived(int* counter, int* derived) : Counted(counter), m_derived(derived) {}
    ~Derived() override { ++*m_derived; }
    int* m_derived;
};

// Counts the release hook and orders by absolute value.
struct HookedArray : SArray<Counted*>
{
    int released = 0;
    void OnDeleteElement(Counted** elem, int index, int extra) override { released++; }
};

struct AbsArray : SArray<int>
{
    int CompareElements(const int* a, const int* b, unsigned options, int extra) const override
    {
        const int x = std::abs(*a), y = std::abs(*b);
        return x == y ? 0 : (x < y ? -1 : 1);
    }
};
} // namespace

// ---- Size ------------------------------------------------------------------------------

TEST(SArraySize, CapacityIsTheMultipleOf64AboveTheCount)
{
    ArrayProbe<int> a;
    EXPECT_EQ(0, a.Capacity());
    a.SetSize(0, false);
    EXPECT_EQ(64, a.Capacity());
    a.SetSize(63, true);
    EXPECT_EQ(64, a.Capacity());
    a.SetSize(64, true);
    EXPECT_EQ(128, a.Capacity());
    a.SetSize(-5, true);
    EXPECT_EQ(0, a.GetCount());
    EXPECT_EQ(64, a.Capacity());
}

TEST(SArraySize, ShrinkingKeepsTheFirstElements)
{
    ArrayProbe<int> a;
    for (int i = 0; i < 130; i++)
        a.Add(i);
    EXPECT_EQ(192, a.Capacity());
    a.SetCount(10);
    EXPECT_EQ(64, a.Capacity());
    EXPECT_EQ(10, a.GetCount());
    EXPECT_EQ(9, a.GetLast());
    EXPECT_EQ(0, a.GetFirst());
}

TEST(SArraySize, NewSlotsOfPointerArraysStartNull)
{
    SArray<void*> a;
    a.SetCount(3);
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(nullptr, a.GetAt(i));
    a.SetAt(-1, (void*)&a);
    a.SetCount(1);
    a.SetCount(5);
    EXPECT_EQ((void*)&a, a.GetAt(0));
    for (int i = 1; i < 5; i++)
        EXPECT_EQ(nullptr, a.GetAt(i)) << i;
    a.SetSize(4, false);
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(nullptr, a.GetAt(i)) << i;
}

TEST(SArraySize, RemoveAllKeepsSixtyFourSlots)
{
    ArrayProbe<int> a;
    Fill(a, {1, 2, 3});
    a.RemoveAll();
    EXPECT_EQ(0, a.GetCount());
    EXPECT_EQ(64, a.Capacity());
}

TEST(SArraySize, FreeMemoryClearsTheOptionWord)
{
    ArrayProbe<int> a;
    a.AddFlags(1).AddFlags(0x100);
    EXPECT_EQ(0x101u, a.GetFlags());
    a.Add(5);
    a.FreeMemory();
    EXPECT_EQ(0u, a.GetFlags());
    EXPECT_EQ(0, a.GetCount());
    EXPECT_EQ(0, a.Capacity());
    a.FreeMemory();
    EXPECT_EQ(0, a.Capacity());
}

// ---- Access ----------------------------------------------------------------------------

TEST(SArrayAccess, SetAtFillsAllWithMinusOneOnly)
{
    SArray<int> a;
    Fill(a, {1, 2, 3});
    a.SetAt(-1, 7);
    EXPECT_EQ((std::vector<int>{7, 7, 7}), Contents(a));
    a.SetAt(-2, 9);
    a.SetAt(3, 9);
    EXPECT_EQ((std::vector<int>{7, 7, 7}), Contents(a));
    a.SetAt(1, 0);
    EXPECT_EQ((std::vector<int>{7, 0, 7}), Contents(a));
}

TEST(SArrayAccess, EightByteInstancesFillToo)
{
    SArray<double> d;
    d.SetCount(3);
    d.SetAt(-1, 2.5);
    EXPECT_EQ((std::vector<double>{2.5, 2.5, 2.5}), Contents(d));
    SArray<unsigned long long> u;
    u.SetCount(2);
    u.SetAt(-1, 0x123456789ULL);
    EXPECT_EQ((std::vector<unsigned long long>{0x123456789ULL, 0x123456789ULL}), Contents(u));
}

TEST(SArrayAccess, RectanglesAndSmallTypes)
{
    SArray<tagRECT> r;
    RECT rc = {1, 2, 3, 4};
    r.Add(rc);
    r.InsertAt(RECT{5, 6, 7, 8}, 0, 1);
    EXPECT_EQ(5, r.GetAt(0).left);
    EXPECT_EQ(4, r.GetAt(1).bottom);
    SArray<bool> b;
    b.SetCount(2);
    b.SetAt(1, true);
    EXPECT_FALSE(b.GetAt(0));
    EXPECT_TRUE(b.GetAt(1));
    SArray<unsigned short> w;
    w.Add(65535);
    EXPECT_EQ(65535, w.GetLast());
}

TEST(SArrayAccess, GetPtrChecksRange)
{
    SArray<int> a;
    Fill(a, {4, 5});
    ASSERT_NE(nullptr, a.GetPtr(1));
    EXPECT_EQ(5, *a.GetPtr(1));
    EXPECT_EQ(nullptr, a.GetPtr(2));
    EXPECT_EQ(nullptr, a.GetPtr(-1));
}

TEST(SArrayAccess, SwapRejectsSameOrOutsideIndexes)
{
    SArray<int> a;
    Fill(a, {1, 2, 3});
    EXPECT_FALSE(a.Swap(2, 2));
    EXPECT_FALSE(a.Swap(0, 3));
    EXPECT_FALSE(a.Swap(-1, 0));
    EXPECT_TRUE(a.Swap(0, 2));
    EXPECT_EQ((std::vector<int>{3, 2, 1}), Contents(a));
}

// ---- Insertion and removal -------------------------------------------------------------

TEST(SArrayInsert, IndexOutsideMeansEndAndCountAtLeastOne)
{
    SArray<int> a;
    Fill(a, {1, 2, 3});
    EXPECT_EQ(3, a.InsertAt(9, 99, 0));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 9}), Contents(a));
    EXPECT_EQ(4, a.InsertAt(8, -1, 1));
    EXPECT_EQ(1, a.InsertAt(0, 1, 2));
    EXPECT_EQ((std::vector<int>{1, 0, 0, 2, 3, 9, 8}), Contents(a));
}

TEST(SArrayInsert, AcrossTheSixtyFourBoundary)
{
    SArray<int> a;
    for (int i = 0; i < 63; i++)
        a.Add(i);
    a.InsertAt(-1, 0, 3);
    EXPECT_EQ(66, a.GetCount());
    EXPECT_EQ(-1, a.GetAt(2));
    EXPECT_EQ(0, a.GetAt(3));
    EXPECT_EQ(62, a.GetLast());
}

TEST(SArrayInsert, AppendCopiesAllAndCountsThem)
{
    SArray<int> a, b;
    Fill(a, {1, 2});
    Fill(b, {3});
    EXPECT_EQ(1, a.Append(&b));
    EXPECT_EQ(0, a.Append(nullptr));
    EXPECT_EQ(3, a.Append(&a));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 1, 2, 3}), Contents(a));
}

TEST(SArrayInsert, AppendDifferenceAddsTheMissingNumbersInOrder)
{
    struct Case
    {
        std::vector<int> start, other;
        bool null;
        int count, added;
        std::vector<int> result;
    };
    const Case cases[] = {{{}, {1, 3}, false, 5, 3, {0, 2, 4}},
                          {{9}, {4, 0}, false, 3, 2, {9, 1, 2}},
                          {{}, {}, true, 3, 3, {0, 1, 2}},
                          {{7}, {1}, false, 0, 0, {7}},
                          {{}, {0, 1}, false, -2, 0, {}}};
    for (const Case& c : cases)
    {
        SArray<int> a, b;
        for (int v : c.start)
            a.Add(v);
        for (int v : c.other)
            b.Add(v);
        EXPECT_EQ(c.added, a.AppendDifference(c.null ? nullptr : &b, c.count)) << c.count;
        EXPECT_EQ(c.result, Contents(a)) << c.count;
    }
    // Against itself: the numbers it held before.
    SArray<int> self;
    Fill(self, {1});
    EXPECT_EQ(2, self.AppendDifference(&self, 3));
    EXPECT_EQ((std::vector<int>{1, 0, 2}), Contents(self));
}

TEST(SArrayRemove, RangeRules)
{
    SArray<int> a;
    Fill(a, {0, 1, 2, 3, 4});
    a.RemoveAt(5, 1);
    a.RemoveAt(-1, 1);
    a.RemoveAt(1, 0);
    EXPECT_EQ(5, a.GetCount());
    a.RemoveAt(1, 2);
    EXPECT_EQ((std::vector<int>{0, 3, 4}), Contents(a));
    a.RemoveAt(2, 100);
    EXPECT_EQ((std::vector<int>{0, 3}), Contents(a));
    SArray<int> b;
    Fill(b, {0, 1, 2, 3, 4});
    b.RemoveAt(1, -1);
    EXPECT_EQ((std::vector<int>{0}), Contents(b));
    b.RemoveLast();
    b.RemoveLast();
    EXPECT_EQ(0, b.GetCount());
}

TEST(SArrayRemove, DeleteDestroysThroughVirtualDestructorAndKeepsCount)
{
    int destroyed = 0, derived = 0;
    HookedArray a;
    a.Add(new Counted(&destroyed));
    a.Add(nullptr);
    a.Add(new Derived(&destroyed, &derived));
    a.Add(new Counted(&destroyed));
    a.DeleteAt(1, 2);
    EXPECT_EQ(1, destroyed);
    EXPECT_EQ(1, derived);
    EXPECT_EQ(1, a.released);
    EXPECT_EQ(4, a.GetCount());
    EXPECT_EQ(nullptr, a.GetAt(2));
    a.DeleteAndRemoveAt(0, 1);
    EXPECT_EQ(3, a.GetCount());
    EXPECT_EQ(2, destroyed);
    a.DeleteAndRemoveAll();
    EXPECT_EQ(3, destroyed);
    EXPECT_EQ(0, a.GetCount());
}

TEST(SArrayRemove, FreeAllReleasesPlainBlocks)
{
    SArray<void*> a;
    a.Add(std::malloc(16));
    a.Add(nullptr);
    a.Add(std::malloc(32));
    a.FreeAll();
    EXPECT_EQ(3, a.GetCount());
    EXPECT_EQ(nullptr, a.GetAt(0));
    EXPECT_EQ(nullptr, a.GetAt(2));
}

// ---- Copies ----------------------------------------------------------------------------

TEST(SArrayCopy, CopyConstructionOwnsItsBuffer)
{
    SArray<int> a;
    a.AddFlags(1);
    Fill(a, {1, 2, 3});
    SArray<int> b(a);
    b.SetAt(0, 9);
    b.Add(4);
    EXPECT_EQ((std::vector<int>{1, 2, 3}), Contents(a));
    EXPECT_EQ((std::vector<int>{9, 2, 3, 4}), Contents(b));
    EXPECT_EQ(1u, b.GetFlags());
    SArray<int> empty;
    SArray<int> copy(empty);
    EXPECT_EQ(0, copy.GetCount());
}

TEST(SArrayCopy, AssignmentCopiesCountOptionsAndValues)
{
    SArray<int> a, b;
    Fill(a, {5, 6});
    a.AddFlags(0x10000);
    Fill(b, {1, 2, 3, 4});
    b = a;
    EXPECT_EQ((std::vector<int>{5, 6}), Contents(b));
    EXPECT_EQ(0x10000u, b.GetFlags());
    b = b;
    EXPECT_EQ((std::vector<int>{5, 6}), Contents(b));
}

// ---- Comparison and search -------------------------------------------------------------

TEST(SArrayFind, RangeRules)
{
    SArray<int> a;
    Fill(a, {4, 5, 6, 5});
    EXPECT_EQ(1, a.Find(5));
    EXPECT_EQ(3, a.Find(5, 2));
    EXPECT_EQ(3, a.Find(5, 2, -1));
    EXPECT_EQ(-1, a.Find(5, 2, 3));
    EXPECT_EQ(-1, a.Find(5, 4));
    EXPECT_EQ(-1, a.Find(5, -1));
    EXPECT_EQ(3, a.Find(5, 2, 99));
}

TEST(SArrayFind, DerivedComparisonIsUsed)
{
    AbsArray a;
    Fill(a, {3, -5, 7});
    EXPECT_EQ(1, a.Find(5));
    a.Sort();
    EXPECT_EQ((std::vector<int>{3, -5, 7}), Contents(a));
}

// The plain array sorts without the virtual call; a derived array that keeps
// the default comparison goes through it. Both must give the same bytes, also
// for values that compare equal but differ (-0.0 and 0.0) and for NaN.
TEST(SArraySort, PlainArrayOrdersLikeTheVirtualPath)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> values;
    for (int i = 0; i < 3000; i++)
        values.push_back(i % 7 == 0 ? -0.0 : i % 11 == 0 ? 0.0 : i % 97 == 0 ? nan : (i * 7919) % 1009 - 500);
    for (unsigned options : {0u, static_cast<unsigned>(SArray<double>::Descending)})
        for (int start : {0, 17})
        {
            SArray<double> plain;
            ArrayProbe<double> derived;
            for (double v : values)
            {
                plain.Add(v);
                derived.Add(v);
            }
            plain.AddFlags(options);
            derived.AddFlags(options);
            plain.SortRange(start, -1, 0);
            derived.SortRange(start, -1, 0);
            ASSERT_EQ(0, std::memcmp(plain.GetPtr(0), derived.GetPtr(0), values.size() * sizeof(double)));
            for (int i = start + 1; i < plain.GetCount(); i++)
            {
                const double a = plain.GetAt(i - 1), b = plain.GetAt(i);
                if (a == a && b == b)
                {
                    ASSERT_TRUE(options ? a >= b : a <= b);
                }
            }
        }
}

TEST(SArrayFind, SortedSearchAndInsertPosition)
{
    SArray<int> a;
    Fill(a, {1, 3, 7});
    EXPECT_EQ(2, a.FindInsertPosition(5));
    EXPECT_EQ(3, a.FindInsertPosition(9));
    EXPECT_EQ(1, a.FindInsertPosition(3));
    EXPECT_EQ(0, a.FindInsertPosition(0));
    EXPECT_EQ(2, a.FindSorted(7));
    EXPECT_EQ(-1, a.FindSorted(4));
    EXPECT_EQ(-1, a.FindSorted(7, 0, 2));
    SArray<int> empty;
    EXPECT_EQ(0, empty.FindInsertPosition(4));
    EXPECT_EQ(-1, empty.FindSorted(4));
}

TEST(SArrayFind, InsertSortedKeepsOrderBothWays)
{
    SArray<int> up;
    for (int v : {5, 1, 9, 3, 7, 3})
        up.InsertSorted(v);
    EXPECT_EQ((std::vector<int>{1, 3, 3, 5, 7, 9}), Contents(up));
    SArray<int> down;
    down.AddFlags(SArray<int>::Descending);
    for (int v : {5, 1, 9, 3, 7})
        down.InsertSorted(v);
    EXPECT_EQ((std::vector<int>{9, 7, 5, 3, 1}), Contents(down));
    EXPECT_EQ(3, down.FindSorted(3));
}

// ---- Sort ------------------------------------------------------------------------------

TEST(SArraySort, IntSignedAndDescending)
{
    SArray<int> a;
    Fill(a, {3, -1, 2});
    a.Sort();
    EXPECT_EQ((std::vector<int>{-1, 2, 3}), Contents(a));
    a.AddFlags(1);
    a.Sort();
    EXPECT_EQ((std::vector<int>{3, 2, -1}), Contents(a));
}

TEST(SArraySort, UnsignedPutsAllOnesLast)
{
    SArray<unsigned int> a;
    Fill(a, {3u, 0xFFFFFFFFu, 2u});
    a.Sort();
    EXPECT_EQ((std::vector<unsigned>{2u, 3u, 0xFFFFFFFFu}), Contents(a));
    SArray<unsigned long> b;
    Fill(b, {3ul, 0xFFFFFFFFul, 0x80000000ul});
    b.Sort();
    EXPECT_EQ((std::vector<unsigned long>{3ul, 0x80000000ul, 0xFFFFFFFFul}), Contents(b));
}

TEST(SArraySort, PointersAndHandlesCompareAsUnsignedAddresses)
{
    SArray<void*> p;
    void* high = (void*)~(uintptr_t)0;
    void* mid = (void*)((uintptr_t)1 << (sizeof(void*) * 8 - 1));
    Fill(p, {high, (void*)0x10, mid, (void*)nullptr});
    p.Sort();
    EXPECT_EQ((std::vector<void*>{nullptr, (void*)0x10, mid, high}), Contents(p));
    EXPECT_EQ(2, p.FindSorted(mid));
    SArray<HWND> h;
    Fill(h, {(HWND)high, (HWND)0x20, (HWND)mid});
    h.Sort();
    EXPECT_EQ((HWND)0x20, h.GetAt(0));
    EXPECT_EQ((HWND)high, h.GetLast());
    if (sizeof(void*) == 8)
    {
        // Addresses above 4 GB order by all their bits.
        SArray<void*> wide;
        Fill(wide, {(void*)(uintptr_t)0x100000001ULL, (void*)(uintptr_t)0xFFFFFFFFULL});
        wide.Sort();
        EXPECT_EQ((void*)(uintptr_t)0xFFFFFFFFULL, wide.GetAt(0));
    }
}

TEST(SArraySort, RangeOnly)
{
    SArray<int> a;
    Fill(a, {9, 4, 3, 2, 1, 0});
    a.Sort(1, 4);
    EXPECT_EQ((std::vector<int>{9, 2, 3, 4, 1, 0}), Contents(a));
    a.Sort(0, 7);
    a.Sort(-1, 3);
    a.Sort(5, 5);
    EXPECT_EQ((std::vector<int>{9, 2, 3, 4, 1, 0}), Contents(a));
}

TEST(SArraySort, MatchesStandardSortOnMixedData)
{
    std::srand(12345);
    SArray<int> a;
    std::vector<int> expected;
    for (int i = 0; i < 20000; i++)
    {
        const int v = (i % 7 == 0) ? 42 : (std::rand() - RAND_MAX / 2) * (i % 3 ? 1 : 65536);
        a.Add(v);
        expected.push_back(v);
    }
    for (int i = 0; i < 5000; i++)
    {
        a.Add(i); // an ascending tail
        expected.push_back(i);
    }
    a.Sort();
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, Contents(a));
}
