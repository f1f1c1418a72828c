// The number-format and date-name record that number and date texts read: separators,
// digits, weekday, month and season names, in the ANSI code page.
#pragma once
#include <cstdint>

struct SLanguageRecord
{
    uint32_t identity;          // 0, 1, 2 for the three records
    uint32_t secondWord;        // 0, 0, 1 for the three records
    uint32_t digits;            // digits after the decimal point
    char decimalSeparator;
    char thousandsSeparator;    // 0 = no grouping
    char weekdayNames[7][16];   // Sunday first, each NUL-terminated
    char monthNames[12][16];    // January first
    char seasonNames[4][16];    // spring first
};

// The three records, in a row. Before start-up they hold the built-in defaults: record 0
// '.' and ',' with English names, record 1 likewise with 2 digits, record 2 ',' and ' '
// with French names. Start-up (LoadLanguageRecords) refills them, record 0 from the
// user's regional settings.
SLanguageRecord* GetLanguageRecords();
// The current record (the language index is 0 for the life of the process).
SLanguageRecord* GetLanguageRecord();
