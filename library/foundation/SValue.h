// A small record of the library: two words, three integers, a real and three
// texts, held by pointer in SArray<SValue*> (the named values of a thread).
#pragma once
#include <cstdint>
#include "SString.h"

class SValue
{
public:
    SValue();
    virtual ~SValue();

    // Empties the texts and zeroes the integers and the real; the words stay.
    void Reset();

    uint32_t word;
    SString text;
    SString secondText;
    int32_t number;
    uint32_t secondWord;
    int32_t secondNumber;
    int32_t thirdNumber;
    double real;
    SString thirdText;
};
