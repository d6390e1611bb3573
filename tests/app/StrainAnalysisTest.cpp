#include "app/StrainAnalysis.h"

#include "math/FloatFormat.h"
#include "math/Scalars.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <tuple>

namespace tensim {
namespace {

const double NaN = std::nan(""), Pi = std::acos(-1.0);
using K = TVorticityKind;
using E = TElongationField;

TEntries Mul(const TEntries& A, const TEntries& B)
{
    return {A[0] * B[0] + A[1] * B[2], A[0] * B[1] + A[1] * B[3], A[2] * B[0] + A[3] * B[2],
            A[2] * B[1] + A[3] * B[3]};
}

// exp(G) = exp(G / 2^12)^(2^12), the small one by its Taylor series.
TEntries Exp(TEntries G)
{
    for (double& x : G)
        x /= 4096;
    TEntries sum{1, 0, 0, 1}, term = sum;
    for (int n = 1; n <= 12; ++n) {
        term = Mul(term, G);
        for (int i = 0; i < 4; ++i)
            sum[i] += (term[i] /= n);
    }
    for (int i = 0; i < 12; ++i)
        sum = Mul(sum, sum);
    return sum;
}

// Random matrices against independent arithmetic.
TEST(StrainAnalysis, RandomMatrices)
{
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> entry(-2, 2);
    for (int n = 0; n < 3000; ++n) {
        const TEntries L{entry(gen), entry(gen), entry(gen), entry(gen)};
        // No elongation lines: two where F^T F - I is indefinite, u and F u unit vectors.
        const double c11 = L[0] * L[0] + L[2] * L[2] - 1, c12 = L[0] * L[1] + L[2] * L[3];
        const double c22 = L[1] * L[1] + L[3] * L[3] - 1, det = L[0] * L[3] - L[1] * L[2];
        const std::vector<TWorldSegment> lines = NoElongationLines(L);
        EXPECT_EQ(lines.size(), c11 * c22 < c12 * c12 ? 2u : 0u) << n;
        for (const TWorldSegment& l : lines) { // u = F^-1 (X2, Y2), F u = (X2, Y2) = -(X1, Y1)
            const double x = (L[3] * l.X2 - L[1] * l.Y2) / det,
                         y = (L[0] * l.Y2 - L[2] * l.X2) / det;
            EXPECT_NEAR(c11 * x * x + 2 * c12 * x * y + c22 * y * y, 0, 1e-12) << n;
            EXPECT_TRUE(std::fabs(std::hypot(l.X2, l.Y2) - 1) < 1e-12 && l.X1 == -l.X2) << n;
        }
        // The logarithm: exp(G) = L, G's eigenvalues' imaginary parts in (-pi, pi).
        const std::optional<TEntries> G = PrincipalLog(L);
        const double d = (L[0] - L[3]) * (L[0] - L[3]) + 4 * L[1] * L[2];
        ASSERT_EQ(G.has_value(), d < 0 || L[0] + L[3] > std::sqrt(d)) << n; // eigenvalues > 0
        if (!G) continue;
        const TEntries X = Exp(*G), g = *G;
        EXPECT_LT(std::max({std::fabs(X[0] - L[0]), std::fabs(X[1] - L[1]), std::fabs(X[2] - L[2]),
                            std::fabs(X[3] - L[3])}),
                  1e-9)
            << n;
        EXPECT_LT(-(g[0] - g[3]) * (g[0] - g[3]) - 4 * g[1] * g[2], 4 * Pi * Pi) << n;
        // Wk: |Cx| / r of the flow Mohr circle from A = (-e21, e11) to B = (e12, e22), and from G.
        const TVorticity v = KinematicVorticity(L);
        const double cx = (L[1] - L[2]) / 2, r = std::hypot(L[1] + L[2], L[0] - L[3]) / 2;
        ASSERT_EQ(v.Kind, K::Finite) << n;
        EXPECT_NEAR(v.Value, std::fabs(cx) / r, 1e-12 * (1 + v.Value)) << n;
        EXPECT_EQ(v.Value > 1, d < 0) << n;
    }
}

TEST(StrainAnalysis, PrincipalLogAndVorticityOfKnownFlows)
{
    EXPECT_EQ(*PrincipalLog({1, 0.5, 0, 1}), (TEntries{0, 0.5, 0, 0}));
    const TEntries big = *PrincipalLog({2e300, 1e300, 0, 1e300}); // (ln 2e300, ln 2; 0, ln 1e300)
    EXPECT_TRUE(std::fabs(big[0] / std::log(2e300) - 1) < 1e-15 &&
                std::fabs(big[1] - std::log(2.0)) < 1e-15);
    const std::tuple<TEntries, K, double> rows[] = {
        {{1, 0.5, 0, 1}, K::Finite, 1},                       // simple shear
        {{2, 0, 0, 0.5}, K::Finite, 0},                       // pure shear
        {{1.2, 0.5, 0, 1 / 1.2}, K::Finite, 0.8064},          // sub-simple shear
        {{1.5, 0, 0, 1.2}, K::Finite, 0},                     // dilating
        {{1e308, -1e308, 1e308, -7e307}, K::Finite, 2 / 1.7}, // no overflow
        {{1, 1e-300, 0, 1}, K::Finite, 1},                    // no underflow
        {{1, 0, 1e308, 1}, K::Finite, 1},                     // log L beyond the range
        {{1, -1e308, 1e308, 1e-300}, K::Infinite, 0},         // Wk beyond the range
        {{0.866, -0.5, 0.5, 0.866}, K::Infinite, 0},          // 30 degrees, rounded
        {{-1, 0, 0, -1}, K::Infinite, 0},                     // 180 degrees
        {{1, 0, 0, 1}, K::Undefined, 0},
        {{1, 0.3, 0, -0.5}, K::Undefined, 0}, // a negative eigenvalue
        {{1, NaN, 0, 1}, K::Undefined, 0}};
    for (const auto& [L, kind, wk] : rows) {
        const TVorticity v = KinematicVorticity(L);
        EXPECT_TRUE(v.Kind == kind && std::fabs((kind == K::Finite ? v.Value : 0) - wk) < 5e-5);
    }
    for (const TEntries& L :
         {TEntries{0, 0, 0, 0}, {-1, 0, 0, -1}, {1, NaN, 0, 1}, {1, 0, 1e308, 1}})
        EXPECT_FALSE(PrincipalLog(L)) << L[0] << " " << L[2];
}

TEST(StrainAnalysis, ReadoutAndItsTexts)
{
    // Simple shear of 1: B = (2, 1; 1, 1), Rs = (3 + sqrt 5) / 2, 2 theta = atan2(2, 1).
    const TStrainReadout shear = StrainReadout(TStrainEllipse(3, 4, 1, 1, 0, 1, 2));
    EXPECT_NEAR(shear.AxialRatio, (3 + std::sqrt(5.0)) / 2, 1e-12);
    EXPECT_NEAR(shear.InclinationDegrees.value_or(NaN), std::atan2(2, 1) * 90 / Pi, 1e-10);
    EXPECT_DOUBLE_EQ(StrainReadout(TStrainEllipse(0, 0, -2, 0.5, 1, 0.25, 1)).AreaRatio, 1);
    EXPECT_FALSE(StrainReadout(TStrainEllipse(0, 0, 0.6, -0.8, 0.8, 0.6, 1)).InclinationDegrees);
    const std::string separator = FormatSettings().DecimalSeparator;
    FormatSettings().DecimalSeparator = ",";
    const std::tuple<TStrainReadout, TVorticity, std::string> rows[] = {
        {{1, std::nullopt, 1}, {K::Undefined, 0}, "Rs = 1,0000θ = —|det F| = 1,0000Wk = —"},
        {{2.618, 31.717, 1},
         {K::Finite, 0.80644},
         "Rs = 2,6180θ = 31,72°|det F| = 1,0000Wk = 0,8064"},
        {{1e200, -45.5, 1 / 0.}, {K::Infinite, 0}, "Rs = 1,0000E+200θ = -45,50°|det F| = ∞Wk = ∞"},
        {{NaN, 90, 0.5}, {K::Finite, 1234567.8}, "Rs = —θ = 90,00°|det F| = 0,5000Wk = 1,2346E+6"}};
    for (const auto& [readout, vorticity, text] : rows) {
        const TReadoutTexts t = ReadoutTexts(readout, vorticity);
        EXPECT_EQ(t.AxialRatio + t.Inclination + t.AreaRatio + t.Vorticity, text);
    }
    FormatSettings().DecimalSeparator = separator;
}

TEST(Markers, SeededPopulation)
{
    const std::vector<TMarker> a = SeededMarkers(7, 40), b = SeededMarkers(7, 40);
    ASSERT_EQ(a.size(), 40u);
    EXPECT_TRUE(SeededMarkers(7, 0).empty() && SeededMarkers(7, -3).empty());
    EXPECT_EQ(SeededMarkers(7, INT_MAX).size(), size_t(MaxMarkers));
    for (size_t i = 0; i < a.size(); ++i) {
        const TMarker& m = a[i];
        EXPECT_TRUE(m.X == b[i].X && m.Y == b[i].Y && m.Long == b[i].Long &&
                    m.OrientationDegrees == b[i].OrientationDegrees);
        EXPECT_TRUE(m.Long / m.Short >= 1 - 1e-12 && m.Long / m.Short <= 2.5 + 1e-12);
        EXPECT_TRUE(m.OrientationDegrees > -90 && m.OrientationDegrees <= 90);
        EXPECT_TRUE(std::hypot(m.X, m.Y) < 1 && m.Short * 54 >= 2); // >= 4 px across
    }
}

TEST(Markers, RfPhiOfDeformedMarkers)
{
    std::vector<TMarker> markers = SeededMarkers(3, 200);
    markers.push_back({0, 0, 0.3, 0.3, 40}); // a circle
    std::vector<TStrainEllipse> strains;
    for (const TMarker& m : markers)
        strains.push_back(MarkerStrain(m));
    std::mt19937 gen(9);
    std::uniform_real_distribution<double> u(-0.4, 0.4);
    TStrainEllipse ellipse;
    TEntries F{1, 0, 0, 1};
    for (int step = 0; step < 4; ++step) {
        const TEntries M{1 + u(gen), u(gen), u(gen), 1 + u(gen)};
        F = Mul(M, F);
        ellipse.Accumulate(MakeTensor2D(M[0], M[1], M[2], M[3]));
        for (TStrainEllipse& s : strains)
            ASSERT_TRUE(s.Accumulate(MakeTensor2D(M[0], M[1], M[2], M[3])));
    }
    EXPECT_NEAR(RfPhi(strains[200]).Rf, ellipse.AxialRatio(), 1e-12 * ellipse.AxialRatio());
    EXPECT_EQ(RfPhi(strains[200]).PhiDegrees, RadToDeg(ellipse.Inclination()));
    for (size_t i = 0; i < markers.size(); ++i) {
        const TMarker& m = markers[i];
        const TRfPhi p = RfPhi(strains[i]);
        // B = F S S^T F^T with S = R diag(1, q) R^T.
        const double t = m.OrientationDegrees * Pi / 180, c = std::cos(t), s = std::sin(t);
        const double q = m.Short / m.Long, sc = (1 - q) * c * s;
        const TEntries A = Mul(F, {c * c + q * s * s, sc, sc, s * s + q * c * c});
        const TEntries B = Mul(A, {A[0], A[2], A[1], A[3]});
        const double h = (B[0] + B[3]) / 2, g = std::hypot((B[0] - B[3]) / 2, B[1]);
        const double phi = std::atan2(2 * B[1], B[0] - B[3]) * 90 / Pi;
        EXPECT_NEAR(p.Rf, std::sqrt((h + g) / (h - g)), 1e-9 * p.Rf) << i;
        EXPECT_NEAR(std::remainder(p.PhiDegrees - phi, 180), 0, 1e-7) << i;
        EXPECT_NEAR(RfPhi(MarkerStrain(m)).Rf, 1 / q, 1e-12) << i; // restored
    }
}

TEST(MarkerFile, GoodAndBadFiles)
{
    std::string many = "\n";
    for (int i = 0; i <= MaxMarkers; ++i)
        many += "1,2,3,2,45\n";
    const std::string
        one = "Línea 1: ",
        count = "se esperaban 5 valores (x, y, semieje mayor, semieje menor, orientación)";
    const std::tuple<std::string, size_t, int, std::string> rows[] = {
        {"# x y\n\n \t \n0\t0\t1\t.5\t+120\r\n1 , 2 ,3, 1 , -90\r\n", 2, 0, ""},
        {"\xEF\xBB\xBF"
         "0,0,0.5,1,30",
         1, 0, ""},
        {many.substr(0, many.size() - 11), MaxMarkers, 0, ""},
        {"0,0,1,0.5", 0, 1, one + count},
        {"0,0,1,5,0,5,30", 0, 1, one + count}, // decimal commas
        {std::string("\n0,0,1,1\0,-inf", 14), 0, 2, "Línea 2: «1?» no es un número"},
        {"%1,0,1,1,0", 0, 1, "Línea 1: «%1» no es un número"}, // quoted as it is
        {"0,0,1,1,5\n0,0,1,-1,5", 0, 2, "Línea 2: los semiejes deben ser positivos"},
        {"1e7,0,1,1,0", 0, 1, one + "las coordenadas deben estar entre -1000000 y 1000000"},
        {"0,0,1e5,1,0", 0, 1, one + "el semieje mayor no puede superar 10000 veces el menor"},
        {std::string(100000, '9') + ",0,1,1,0", 0, 1,
         one + "«999999999999999999999999…» está fuera del intervalo admitido"},
        {"# only\n\n", 0, 0, "El archivo no contiene marcadores."},
        {many, 0, MaxMarkers + 2, "El archivo tiene más de 10000 marcadores."}};
    for (const auto& [text, markers, line, error] : rows) {
        const TMarkerFile f = ParseMarkerFile(text);
        EXPECT_TRUE(f.Markers.size() == markers && f.BadLine == line && f.Error() == error)
            << f.Error();
    }
    const std::vector<TMarker> m = ParseMarkerFile(std::get<0>(rows[0])).Markers;
    const TMarker swapped = ParseMarkerFile(std::get<0>(rows[1])).Markers.at(0); // short > long
    for (const TMarker& k : {m.at(0), swapped})
        EXPECT_TRUE(k.X == 0 && k.Long == 1 && k.Short == 0.5 && k.OrientationDegrees == -60);
    EXPECT_TRUE(m.at(1).X == 1 && m[1].Y == 2 && m[1].Long == 3 && m[1].OrientationDegrees == 90);
}

TEST(Elongation, FieldsOfMaterialLines)
{
    EXPECT_TRUE(MaterialLineDirection(0).Y == 0 && MaterialLineDirection(18).X == 0);
    const TWorldSegment s = MaterialLine(9, {1, 0.5, 0, 1}); // to 1.5, 1 times sqrt(1/2)
    EXPECT_TRUE(s.X1 == -s.X2 && std::hypot(s.X2 - 1.5 * sqrt(0.5), s.Y2 - sqrt(0.5)) < 1e-15);
    for (int n : {1, 2, 3, 5, 6, 9}) { // simple shear of 0.5 an increment
        TElongationHistory h;
        h.Record({2, 0, 0, 2}); // forgotten on a restore
        h.Reset();
        for (int i = 1; i <= n; ++i)
            h.Record({1, 0.5 * i, 0, 1});
        EXPECT_TRUE(h.Field(0) == E::Unchanged && h.Field(9) == E::Lengthened) << n;
        EXPECT_EQ(h.Field(27), n <= 3 ? E::Shortened : E::ShortenedThenLengthened) << n;
    }
    // Area loss, a complex pair, a rotation (to rounding), and the stretch's signs step by step.
    const std::tuple<TEntries, int, E, std::vector<int>> rows[] = {
        {{0.9, 0.5, 0, 0.9}, 3, E::LengthenedThenShortened, {1, 1, 1, 1, 1, -1}},
        {{1, -0.3, 0.3, 0.9}, 0, E::LengthenedThenShortened, {1, 1, 1, 1, 1, -1}},
        {{0.9, 0, 0, 1.2}, 4, E::ShortenedThenLengthened, {-1, -1, -1, -1, 1, 1}},
        {{0.8, -0.6, 0.6, 0.8}, 7, E::Unchanged, {0, 0, 0}}};
    for (const auto& [L, line, field, signs] : rows) {
        TElongationHistory h;
        TEntries F{1, 0, 0, 1};
        const double c = std::cos(line * Pi / 36), s = std::sin(line * Pi / 36);
        for (int sign : signs) {
            h.Record(F = Mul(L, F));
            const double stretch = std::hypot(F[0] * c + F[1] * s, F[2] * c + F[3] * s);
            EXPECT_EQ(std::fabs(stretch - 1) < 1e-12 ? 0 : stretch > 1 ? 1 : -1, sign);
        }
        for (int k = 0; k < MaterialLineCount; ++k) // under the rotation, every line
            EXPECT_TRUE(k == line ? h.Field(k) == field
                                  : field != E::Unchanged || h.Field(k) == field);
    }
}

TEST(Elongation, NoElongationLinesOfKnownDeformations)
{
    // A rotation keeps every length, to rounding; a NaN gives none.
    for (const TEntries& F : {TEntries{0.8, -0.6, 0.6, 0.8}, {1, NaN, 0, 1}})
        EXPECT_TRUE(NoElongationLines(F).empty()) << F[0];
    // Simple shear of g: the x axis, and tan t = -2/g, imaged to (cos t + g sin t, sin t).
    const std::vector<TWorldSegment> shear = NoElongationLines({1, 1.5, 0, 1});
    const double t = std::atan(-2 / 1.5), x = std::cos(t) + 1.5 * std::sin(t);
    ASSERT_EQ(shear.size(), 2u);
    EXPECT_TRUE(std::fabs(shear[1].X2) == 1 && shear[1].Y2 == 0);
    EXPECT_NEAR(shear[0].Y2 / shear[0].X2, std::sin(t) / x, 1e-15);
    const std::vector<TWorldSegment> one = NoElongationLines({1, 0, 0, 2}); // stretched across x
    EXPECT_TRUE(one.size() == 1 && std::fabs(one[0].X2) == 1 && one[0].Y2 == 0);
}

} // namespace
} // namespace tensim
