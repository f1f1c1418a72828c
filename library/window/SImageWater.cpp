// SImageWater: a damped wave on two height maps, rendered as refraction.
#include "SImageWater.h"
#include <cstdlib>

SImageWater::SImageWater()
    : m_width(0), m_height(0), m_lit(true), m_page(0), m_damping(5), m_calm(true)
{
}

SImageWater::~SImageWater() = default;

bool SImageWater::Create(int width, int height)
{
    m_mapA.clear();
    m_mapB.clear();
    m_width = m_height = 0;
    if (width < 1 || height < 1)
        return false;
    const size_t cells = static_cast<size_t>(width) * height;
    m_mapA.assign(cells, 0);
    m_mapB.assign(cells, 0);
    m_width = width;
    m_height = height;
    m_calm = true;
    m_page = 0;
    return true;
}

bool SImageWater::IsCalm() const
{
    return m_mapA.empty() || m_calm;
}

int SImageWater::GetHeightAt(int x, int y, bool mapB) const
{
    if (m_mapA.empty() || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    return (mapB ? m_mapB : m_mapA)[static_cast<size_t>(y) * m_width + x];
}

void SImageWater::Disturb(int x, int y, int radius, int depth, bool intoMapB)
{
    if (m_mapA.empty())
        return;
    // A random place needs room for the whole circle inside the border: a
    // surface no wider than the circle has none, and rand() % 0 would fault.
    if (x < 0)
    {
        const int span = m_width - 2 * radius - 1;
        if (span <= 0)
            return;
        x = rand() % span + radius + 1;
    }
    if (y < 0)
    {
        const int span = m_height - 2 * radius - 1;
        if (span <= 0)
            return;
        y = rand() % span + radius + 1;
    }
    std::vector<int>& map = intoMapB ? m_mapB : m_mapA;
    for (int dy = -radius; dy < radius; dy++)
    {
        const int row = y + dy;
        if (row < 1 || row > m_height - 2)
            continue;
        for (int dx = -radius; dx < radius; dx++)
        {
            const int column = x + dx;
            if (column < 1 || column > m_width - 2 || dx * dx + dy * dy >= radius * radius)
                continue;
            map[static_cast<size_t>(row) * m_width + column] += depth;
        }
    }
    m_calm = false;
}

void SImageWater::Animate(const DWORD* source, DWORD* destination)
{
    if (m_mapA.empty() || !source || !destination)
        return;
    Render(source, destination);
    StepWaves();
    m_page = 1 - m_page;
}

namespace
{
DWORD SubtractFromColor(DWORD color, int amount)
{
    DWORD result = 0;
    for (int shift = 0; shift < 24; shift += 8)
    {
        int channel = static_cast<int>((color >> shift) & 0xFF) - amount;
        channel = channel < 0 ? 0 : (channel > 255 ? 255 : channel);
        result |= static_cast<DWORD>(channel) << shift;
    }
    return result;
}
} // namespace

void SImageWater::Render(const DWORD* source, DWORD* destination) const
{
    const int w = m_width, h = m_height;
    const long long cells = static_cast<long long>(w) * h;
    for (int y = 1; y < h - 1; y++)
    {
        for (int x = 1; x < w - 1; x++)
        {
            const long long i = static_cast<long long>(y) * w + x;
            const int dx = m_mapA[i] - m_mapA[i + 1];
            const int dy = m_mapA[i] - m_mapA[i + w];
            const long long j = i + static_cast<long long>(dy >> 3) * w + (dx >> 3);
            if (j < 1 || j >= cells)
                continue;
            destination[i] = m_lit ? SubtractFromColor(source[j], dx) : source[j];
        }
    }
    for (int x = 0; x < w; x++)
    {
        destination[x] = source[x];
        destination[cells - w + x] = source[cells - w + x];
    }
    for (int y = 0; y < h; y++)
    {
        destination[static_cast<long long>(y) * w] = source[static_cast<long long>(y) * w];
        destination[static_cast<long long>(y) * w + w - 1] = source[static_cast<long long>(y) * w + w - 1];
    }
}

void SImageWater::StepWaves()
{
    const std::vector<int>& n = m_page == 1 ? m_mapA : m_mapB;
    std::vector<int>& t = m_page == 1 ? m_mapB : m_mapA;
    const int w = m_width;
    m_calm = true;
    for (int y = 1; y < m_height - 1; y++)
    {
        for (int x = 1; x < w - 1; x++)
        {
            const size_t i = static_cast<size_t>(y) * w + x;
            const int s = n[i - w - 1] + n[i - w] + n[i - w + 1] + n[i - 1] + n[i + 1] +
                          n[i + w - 1] + n[i + w] + n[i + w + 1];
            const int v = (s >> 2) - t[i];
            t[i] = v - (v >> m_damping);
            if (t[i] != 0)
                m_calm = false;
        }
    }
}
