#include "drawing/StrainEllipse.h"
#include "math/Vectors.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tensim;

void BM_MatrixEigenvectors(benchmark::State& state)
{
    const TTransformMatrix m = MakeTensor2D(0.5, 1, 0.2, -0.5);
    for (auto _ : state)
        benchmark::DoNotOptimize(MatrixEigenvectors(m));
}
BENCHMARK(BM_MatrixEigenvectors);

void BM_StrainIncrement(benchmark::State& state)
{
    const TTransformMatrix m = MakeTensor2D(1, 0.01, 0, 1);
    for (auto _ : state) {
        TStrainEllipse e;
        for (int i = 0; i < 100; ++i)
            e.Accumulate(m);
        benchmark::DoNotOptimize(e.AxialRatio());
    }
}
BENCHMARK(BM_StrainIncrement);

} // namespace
