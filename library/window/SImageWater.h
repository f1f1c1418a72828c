// A water-ripple effect: two integer height maps advanced by a damped wave
// step, rendered as a refraction of a source picture into a pixel buffer.
#pragma once
#include "SPlatform.h"
#include <vector>

class SImageWater
{
public:
    SImageWater();
    virtual ~SImageWater();
    SImageWater(const SImageWater&) = delete;
    SImageWater& operator=(const SImageWater&) = delete;

    // Both maps zeroed; calm.
    bool Create(int width, int height);
    // Adds depth inside the circle of radius r around (x, y), cut to the interior;
    // a negative x or y picks one at random. intoMapB disturbs the second map.
    void Disturb(int x, int y, int radius, int depth, bool intoMapB = false);
    // Renders the source (width x height 32-bit pixels) refracted into the
    // destination, then advances the waves one step.
    void Animate(const DWORD* source, DWORD* destination);
    void Step(const DWORD* source, DWORD* destination) { Animate(source, destination); }
    bool IsCalm() const;

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // The height at (x, y) of map A (or B); 0 outside.
    int GetHeightAt(int x, int y, bool mapB = false) const;

private:
    void Render(const DWORD* source, DWORD* destination) const;
    void StepWaves();

    int m_width;
    int m_height;
    bool m_lit;
    int m_page;
    int m_damping;
    std::vector<int> m_mapA;
    std::vector<int> m_mapB;
    bool m_calm;
};
