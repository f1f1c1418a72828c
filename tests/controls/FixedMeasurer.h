// A measurer of fixed sizes for the rich-text view's layout: 10 pixels a
// character (12 in bold), runs 20 high, lines 16 high; a run wider than its box
// wraps into as many rows as it needs.
#pragma once
#include "SMediaCtrl.h"

class FixedMeasurer : public SMediaCtrl::_SMeasurer
{
public:
    float lastBox = 0;

    float GetLineHeight(const LOGFONTA&) override { return 16.5f; }

    bool Measure(const char*, int length, const LOGFONTA& font, int, float boxWidth, float& width,
                 float& height) override
    {
        lastBox = boxWidth;
        width = static_cast<float>(length * (font.lfWeight >= FW_BOLD ? 12 : 10));
        height = 20.5f;
        if (width > boxWidth && boxWidth > 0)
        {
            const int rows = static_cast<int>((width + boxWidth - 1) / boxWidth);
            width = boxWidth;
            height *= rows;
        }
        return true;
    }
};
