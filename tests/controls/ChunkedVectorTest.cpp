#include "controls/ChunkedVector.h"

#include "controls/Chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace tensim {
namespace {

// Random inserts anywhere, read back against a plain vector.
TEST(ChunkedVector, InsertsAnywhereAsAVectorDoes)
{
    std::mt19937 random(31);
    TChunkedVector<int> chunked;
    std::vector<int> plain;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 6000; ++i) {
            const size_t at = random() % (plain.size() + 1);
            chunked.Insert(at, i);
            plain.insert(plain.begin() + static_cast<std::ptrdiff_t>(at), i);
            if (i % 997 == 0) {
                const size_t probe = random() % plain.size();
                ASSERT_EQ(chunked.At(probe), plain[probe]);
            }
        }
        ASSERT_EQ(chunked.Size(), plain.size());
        for (size_t i = 0; i < plain.size(); ++i)
            ASSERT_EQ(chunked.At(i), plain[i]) << i;
        // Backwards too: the remembered chunk must not get in the way.
        for (size_t i = plain.size(); i-- > 0;)
            ASSERT_EQ(chunked.At(i), plain[i]) << i;
        std::vector<int> visited;
        chunked.ForEach([&](int v) { visited.push_back(v); });
        ASSERT_EQ(visited, plain);
        size_t start = 0;
        for (size_t c = 0; c < chunked.ChunkCount(); ++c) {
            EXPECT_EQ(chunked.ChunkStart(c), start);
            EXPECT_LE(chunked.Chunk(c).size(), 2 * TChunkedVector<int>::ChunkSize);
            start += chunked.Chunk(c).size();
        }
        EXPECT_THROW(chunked.At(plain.size()), std::out_of_range);
        chunked.Clear();
        plain.clear();
        EXPECT_EQ(chunked.Size(), 0u);
    }
}

// The place of a new point by the scan back from the end, as a reference.
int ScanBack(const std::vector<double>& Xs, TChartListOrder Order, double X)
{
    const int n = static_cast<int>(Xs.size());
    if (Order == loNone || n == 0) return n;
    auto staysBefore = [&](double v) { return Order == loAscending ? v <= X : v >= X; };
    for (int i = n - 1; i >= 0; --i)
        if (staysBefore(Xs[i])) return i + 1;
    return 0;
}

// Many points, in and out of order, with repeated values, orders changed
// midway and values that are not numbers: every point lands where the scan
// back from the end puts it, and equal values keep their arrival order.
TEST(ChunkedVector, LongSeriesPlacePointsAsTheScanDoes)
{
    std::mt19937 random(32);
    std::uniform_int_distribution<int> pick(0, 400);
    for (TChartListOrder order : {loAscending, loDescending}) {
        TLineSeries series;
        series.XValues.Order = order;
        std::vector<double> xs, ys;
        for (int i = 0; i < 12000; ++i) {
            if (i == 6000) series.XValues.Order = loNone;
            if (i == 6500) series.XValues.Order = order;
            double x = pick(random) / 8.0;
            if (i % 1500 == 7) x = std::nan("");
            const int expected = ScanBack(xs, series.XValues.Order, x);
            ASSERT_EQ(series.AddPoint(x, i), expected) << i;
            xs.insert(xs.begin() + expected, x);
            ys.insert(ys.begin() + expected, i);
        }
        for (int i = 0; i < series.Count(); ++i) {
            const double x = series.XValues.Value(i);
            ASSERT_TRUE(x == xs[i] || (std::isnan(x) && std::isnan(xs[i]))) << i;
            ASSERT_EQ(series.YValues.Value(i), ys[i]) << i;
        }
    }
}

} // namespace
} // namespace tensim
