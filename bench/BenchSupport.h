#pragma once
// Timing a component against its floor in one run: the two are timed
// alternately, call by call, so that both see the same machine, and the
// medians and their ratio are reported.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
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

} // namespace tensim
