#pragma once
// Timing a component against its floor in one run: the two are timed
// alternately, call by call, so that both see the same machine, and the
// medians and their ratio are reported.

#include "drawing/Canvas.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace tensim {

inline double Median(std::vector<double> Values)
{
    if (Values.empty()) return 0;
    std::nth_element(Values.begin(), Values.begin() + Values.size() / 2, Values.end());
    return Values[Values.size() / 2];
}

// Runs Component and Floor once per iteration, in turn, and reports their
// median times in microseconds and the ratio of the medians. The
// benchmark's own time is the component's.
template <class Component, class Floor>
void CompareWithFloor(benchmark::State& State, Component&& RunComponent, Floor&& RunFloor)
{
    using Clock = std::chrono::steady_clock;
    std::vector<double> component, floor;
    for (auto _ : State) {
        const auto t0 = Clock::now();
        RunComponent();
        const auto t1 = Clock::now();
        RunFloor();
        const auto t2 = Clock::now();
        const double c = std::chrono::duration<double>(t1 - t0).count();
        component.push_back(c);
        floor.push_back(std::chrono::duration<double>(t2 - t1).count());
        State.SetIterationTime(c);
    }
    const double c = Median(component), f = Median(floor);
    State.counters["us"] = c * 1e6;
    State.counters["floor_us"] = f * 1e6;
    State.counters["ratio"] = f > 0 ? c / f : 0;
}

// The floors' line: Bresenham straight on the bits, not-xor, without the
// end pixel, clipped by a test per pixel.
inline void FloorLine(QImage& Image, const TSegment& S, QRgb Colour)
{
    const int w = Image.width(), h = Image.height();
    const qsizetype stride = Image.bytesPerLine() / 4;
    auto* bits = reinterpret_cast<QRgb*>(Image.bits());
    const int dx = std::abs(S.X1 - S.X0), dy = std::abs(S.Y1 - S.Y0);
    const int sx = S.X0 < S.X1 ? 1 : -1, sy = S.Y0 < S.Y1 ? 1 : -1;
    int err = dx - dy, x = S.X0, y = S.Y0;
    while (x != S.X1 || y != S.Y1) {
        if (unsigned(x) < unsigned(w) && unsigned(y) < unsigned(h)) {
            QRgb& p = bits[y * stride + x];
            p = 0xFF000000u | (~(Colour ^ p) & 0x00FFFFFFu);
        }
        const int e2 = 2 * err;
        if (e2 > -dy) err -= dy, x += sx;
        if (e2 < dx) err += dx, y += sy;
    }
}

} // namespace tensim
