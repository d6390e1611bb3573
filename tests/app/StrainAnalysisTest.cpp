#include "app/StrainAnalysis.h"

#include "math/FloatFormat.h"
#include "math/Scalars.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>

namespace tensim {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
const double Pi = std::acos(-1.0);

TEntries Mul(const TEntries& A, const TEntries& B)
{
    return {A[0] * B[0] + A[1] * B[2], A[0] * B[1] + A[1] * B[3], A[2] * B[0] + A[3] * B[2],
            A[2] * B[1] + A[3] * B[3]};
}

// exp by scaling and squaring of a 30-term Taylor series.
TEntries Exp(TEntries G)
{
    int halvings = 0;
    while (std::max({std::fabs(G[0]), std::fabs(G[1]), std::fabs(G[2]), std::fabs(G[3])}) > 0.25)
        G = {G[0] / 2, G[1] / 2, G[2] / 2, G[3] / 2}, ++halvings;
    TEntries sum{1, 0, 0, 1}, term{1, 0, 0, 1};
    for (int n = 1; n <= 30; ++n) {
        term = Mul(term, G);
        for (int i = 0; i < 4; ++i)
            sum[i] += (term[i] /= n);
    }
    for (int i = 0; i < halvings; ++i)
        sum = Mul(sum, sum);
    return sum;
}

double Discriminant(const TEntries& L) // (l11 - l22)^2 + 4 l12 l21
{
    return (L[0] - L[3]) * (L[0] - L[3]) + 4 * L[1] * L[2];
}

TEST(StrainAnalysis, PrincipalLogInvertsExp)
{
    const TEntries table[] = {{1, 0.5, 0, 1},   {2, 0, 0, 0.5},  {0.866, -0.5, 0.5, 0.866},
                              {3, 0, 0, 3},     {1, 1e-9, 0, 1}, {-1, 0.3, -0.4, -1.2},
                              {1e-8, 0, 0, 1e8}};
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> entry(-2, 2);
    for (int n = 0; n < 3000; ++n) {
        const TEntries L =
            n < 7 ? table[n] : TEntries{entry(gen), entry(gen), entry(gen), entry(gen)};
        const std::optional<TEntries> G = PrincipalLog(L);
        const double d = Discriminant(L);
        ASSERT_EQ(G.has_value(), d < 0 || L[0] + L[3] > std::sqrt(d))
            << n; // no real eigenvalue <= 0
        if (!G) continue;
        const TEntries E = Exp(*G);
        const double scale =
            std::max({std::fabs(L[0]), std::fabs(L[1]), std::fabs(L[2]), std::fabs(L[3])});
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(E[i] / scale, L[i] / scale, 1e-9) << n << " " << i;
        EXPECT_LT(-Discriminant(*G), 4 * Pi * Pi) << n; // eigenvalues' imaginary parts in (-pi, pi)
    }
    EXPECT_EQ(*PrincipalLog({1, 0.5, 0, 1}), (TEntries{0, 0.5, 0, 0}));
    const TEntries big = *PrincipalLog({2e300, 1e300, 0, 1e300});
    EXPECT_NEAR(big[0], std::log(2e300), 1e-12 * big[0]);
    EXPECT_NEAR(big[1], std::log(2.0), 1e-15);
    for (const TEntries& L : {TEntries{0, 0, 0, 0}, {-1, 0, 0, -1}, {1, 0, 0, 0}, {1, NaN, 0, 1}})
        EXPECT_FALSE(PrincipalLog(L));
}

TEST(Vorticity, KnownFlows)
{
    using K = TVorticityKind;
    const double c = 0.8660, s = 0.5;
    const struct {
        TEntries L;
        K Kind;
        double Wk;
    } rows[] = {{{1, 0.5, 0, 1}, K::Finite, 1},
                {{2, 0, 0, 0.5}, K::Finite, 0},
                {{1.2, 0.5, 0, 1 / 1.2}, K::Finite, 0.80640},
                {{1.5, 0, 0, 1.2}, K::Finite, 0},
                {{2, 1, 0, 2}, K::Finite, 1},
                {{1, 1e-300, 0, 1}, K::Finite, 1},
                {{1e308, 1e308, 0, 1e308}, K::Finite, 1},
                {{c, -s, s, c}, K::Infinite, 0},
                {{-1, 0, 0, -1}, K::Infinite, 0},
                {{0, -2, 2, 0}, K::Infinite, 0},
                {{1, 0, 0, 1}, K::Undefined, 0},
                {{2, 0, 0, 2}, K::Undefined, 0},
                {{1, 0.3, 0, -0.5}, K::Undefined, 0},
                {{0, 0, 0, 0}, K::Undefined, 0},
                {{1, NaN, 0, 1}, K::Undefined, 0}};
    for (const auto& r : rows) {
        const TVorticity v = KinematicVorticity(r.L);
        EXPECT_EQ(v.Kind, r.Kind) << r.L[0] << " " << r.L[1];
        if (r.Kind == K::Finite) {
            EXPECT_NEAR(v.Value, r.Wk, 5e-5) << r.L[0] << " " << r.L[1];
        }
    }
}

TEST(Vorticity, RandomFlowsMatchTheMohrCircleAndTheLogarithm)
{
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> entry(-2, 2);
    for (int n = 0; n < 5000; ++n) {
        const TEntries L{entry(gen), entry(gen), entry(gen), entry(gen)};
        const std::optional<TEntries> G = PrincipalLog(L);
        if (!G) continue;
        const TVorticity v = KinematicVorticity(L);
        ASSERT_EQ(v.Kind, TVorticityKind::Finite) << n;
        // The flow Mohr circle from A = (-e21, e11) to B = (e12, e22): |Cx| / r.
        const double r = std::hypot(L[1] + L[2], L[0] - L[3]) / 2;
        EXPECT_NEAR(v.Value, std::fabs(L[1] - L[2]) / 2 / r, 1e-12 * (1 + v.Value)) << n;
        const TEntries& g = *G; // 2 D:D with D = dev((G + G^T) / 2)
        const double dd = (g[0] - g[3]) * (g[0] - g[3]) + (g[1] + g[2]) * (g[1] + g[2]);
        EXPECT_NEAR(v.Value, std::fabs(g[2] - g[1]) / std::sqrt(dd), 1e-8 * (1 + v.Value)) << n;
        EXPECT_EQ(v.Value > 1, Discriminant(L) < 0) << n;
    }
}

TEST(StrainAnalysis, ReadoutAndItsTexts)
{
    // Simple shear of 1: B = (2, 1; 1, 1), Rs = l1 / l2 = (3 + sqrt 5) / 2, 2 theta = atan2(2, 1).
    const TStrainReadout shear = StrainReadout(TStrainEllipse(3, 4, 1, 1, 0, 1, 2));
    EXPECT_NEAR(shear.AxialRatio, (3 + std::sqrt(5.0)) / 2, 1e-12);
    EXPECT_NEAR(shear.InclinationDegrees.value_or(NaN), std::atan2(2, 1) / 2 * 180 / Pi, 1e-10);
    EXPECT_DOUBLE_EQ(StrainReadout(TStrainEllipse(0, 0, -2, 0.5, 1, 0.25, 1)).AreaRatio, 1);
    EXPECT_FALSE(StrainReadout(TStrainEllipse(0, 0, 0.6, -0.8, 0.8, 0.6, 1)).InclinationDegrees);

    const std::string separator = FormatSettings().DecimalSeparator;
    FormatSettings().DecimalSeparator = ",";
    using K = TVorticityKind;
    const struct {
        TStrainReadout R;
        TVorticity V;
        TReadoutTexts T;
    } rows[] = {
        {{1, std::nullopt, 1},
         {K::Undefined, 0},
         {"Rs = 1,0000", "θ = —", "|det F| = 1,0000", "Wk = —"}},
        {{2.61803, 31.71747, 0.99996},
         {K::Finite, 0.80644},
         {"Rs = 2,6180", "θ = 31,72°", "|det F| = 1,0000", "Wk = 0,8064"}},
        {{1e200, -45.5, 0.5},
         {K::Infinite, 0},
         {"Rs = 1,0000E+200", "θ = -45,50°", "|det F| = 0,5000", "Wk = ∞"}},
        {{NaN, 90, INFINITY},
         {K::Finite, 1234567.891},
         {"Rs = —", "θ = 90,00°", "|det F| = ∞", "Wk = 1,2346E+6"}},
    };
    for (const auto& r : rows) {
        const TReadoutTexts t = ReadoutTexts(r.R, r.V);
        EXPECT_EQ(t.AxialRatio + t.Inclination + t.AreaRatio + t.Vorticity,
                  r.T.AxialRatio + r.T.Inclination + r.T.AreaRatio + r.T.Vorticity);
    }
    FormatSettings().DecimalSeparator = separator;
}

TEST(Markers, SeededPopulation)
{
    const std::vector<TMarker> a = SeededMarkers(7, 40), b = SeededMarkers(7, 40);
    ASSERT_EQ(a.size(), 40u);
    EXPECT_NE(SeededMarkers(8, 40)[0].Long, a[0].Long);
    EXPECT_TRUE(SeededMarkers(7, 0).empty() && SeededMarkers(7, -3).empty());
    EXPECT_EQ(SeededMarkers(7, INT_MAX).size(), size_t(MaxMarkers));
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_TRUE(a[i].X == b[i].X && a[i].Y == b[i].Y && a[i].Long == b[i].Long &&
                    a[i].OrientationDegrees == b[i].OrientationDegrees);
        EXPECT_LT(std::hypot(a[i].X, a[i].Y), 1);
        EXPECT_GE(a[i].Short * 54, 2.0); // px in the finite panel
        for (size_t j = 0; j < i; ++j)
            EXPECT_GT(std::hypot(a[i].X - a[j].X, a[i].Y - a[j].Y), 0.1);
    }
    double rf = 0, phi = 0;
    for (const TMarker& m : SeededMarkers(1, MaxMarkers)) {
        ASSERT_TRUE(m.Long / m.Short >= 1 - 1e-12 && m.Long / m.Short <= 2.5 + 1e-12);
        ASSERT_TRUE(m.OrientationDegrees > -90 && m.OrientationDegrees <= 90);
        rf += m.Long / m.Short / MaxMarkers, phi += m.OrientationDegrees / MaxMarkers;
    }
    EXPECT_NEAR(rf, 1.75, 0.02); // uniform over the ranges
    EXPECT_NEAR(phi, 0, 2);
}

TEST(Markers, RfPhiOfDeformedMarkers)
{
    std::vector<TMarker> markers = SeededMarkers(3, 200);
    markers.push_back({0, 0, 2, 1, -90});
    for (int i = 0; i < 5; ++i)
        markers.push_back({0.1 * i, 0, 0.3, 0.3, 20.0 * i}); // circles
    std::vector<TStrainEllipse> strains;
    std::vector<TRfPhi> before;
    for (const TMarker& m : markers) {
        before.push_back(RfPhi(MarkerStrain(m)));
        strains.push_back(MarkerStrain(m));
        EXPECT_NEAR(before.back().Rf, m.Long / m.Short, 1e-12);
        // Inclination takes an axis within sqrt(1e-6 / (1 - q^2)) of the vertical as vertical.
        const double q = m.Short / m.Long,
                     snap = q == 1 ? 90 : RadToDeg(std::sqrt(1e-6 / (1 - q * q)));
        EXPECT_NEAR(std::remainder(before.back().PhiDegrees - m.OrientationDegrees, 180), 0,
                    1e-9 + snap);
    }
    EXPECT_EQ(before[200].PhiDegrees, 90);
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
    for (size_t i = 0; i < markers.size(); ++i) {
        const TMarker& m = markers[i];
        const TRfPhi p = RfPhi(strains[i]);
        if (m.Long == m.Short) {
            EXPECT_NEAR(p.Rf, ellipse.AxialRatio(), 1e-12 * p.Rf);
            EXPECT_EQ(p.PhiDegrees, RadToDeg(ellipse.Inclination()));
        }
        // B = F S S^T F^T with S = R diag(1, q) R^T.
        const double t = m.OrientationDegrees * Pi / 180, c = std::cos(t), s = std::sin(t);
        const double q = m.Short / m.Long;
        const TEntries A =
            Mul(F, {c * c + q * s * s, (1 - q) * c * s, (1 - q) * c * s, s * s + q * c * c});
        const TEntries B = Mul(A, {A[0], A[2], A[1], A[3]});
        const double h = (B[0] + B[3]) / 2, g = std::hypot((B[0] - B[3]) / 2, B[1]);
        EXPECT_NEAR(p.Rf, std::sqrt((h + g) / (h - g)), 1e-9 * p.Rf) << i;
        const double phi = std::atan2(2 * B[1], B[0] - B[3]) / 2 * 180 / Pi;
        EXPECT_NEAR(std::remainder(p.PhiDegrees - phi, 180), 0, 1e-7) << i;
        const TWorldPoint polar = PolarRfPhi(p);
        EXPECT_NEAR(polar.X, std::log(p.Rf) * std::cos(p.PhiDegrees * Pi / 90), 1e-12) << i;
        EXPECT_NEAR(polar.Y, std::log(p.Rf) * std::sin(p.PhiDegrees * Pi / 90), 1e-12) << i;
        const TRfPhi restored = RfPhi(MarkerStrain(m));
        EXPECT_TRUE(restored.Rf == before[i].Rf && restored.PhiDegrees == before[i].PhiDegrees);
    }
}

TEST(MarkerFile, GoodAndBadFiles)
{
    std::string many = "\n";
    for (int i = 0; i <= MaxMarkers; ++i)
        many += "1,2,3,2,45\n";
    const std::string count =
        "Línea 1: se esperaban 5 valores (x, y, semieje mayor, semieje menor, orientación)";
    const struct {
        std::string Text;
        size_t Count;
        int BadLine;
        std::string Error;
    } rows[] = {
        {"# x y\n\n \t \n0\t0\t1\t.5\t+120\r\n1 , 2 ,3, 1 , -90\r\n", 2, 0, ""},
        {"\xEF\xBB\xBF"
         "0,0,0.5,1,30",
         1, 0, ""},
        {many.substr(0, many.size() - 11), size_t(MaxMarkers), 0, ""},
        {"0,0,1,0.5", 0, 1, count},
        {"0,0,1,5,0,5,30", 0, 1, count}, // decimal commas
        {"0,0,1,0.5,30,", 0, 1, count},
        {"\n0,0,1,abc,3", 0, 2, "Línea 2: «abc» no es un número"},
        {"0,0,1,1,-inf", 0, 1, "Línea 1: «-inf» no es un número"},
        {std::string("0,0,1,1\0,0", 10), 0, 1, "Línea 1: «1?» no es un número"},
        {"0,0,1,1,\n", 0, 1, "Línea 1: «» no es un número"},
        {"0,0,1,1,5\n0,0,1,-1,5", 0, 2, "Línea 2: los semiejes deben ser positivos"},
        {"1e7,0,1,1,0", 0, 1, "Línea 1: las coordenadas deben estar entre -1000000 y 1000000"},
        {"0,0,2e6,1,0", 0, 1, "Línea 1: los semiejes no pueden superar 1000000"},
        {"0,0,1e5,1,0", 0, 1, "Línea 1: el semieje mayor no puede superar 10000 veces el menor"},
        {std::string(100000, '9') + ",0,1,1,0", 0, 1,
         "Línea 1: «999999999999999999999999…» está fuera del intervalo admitido"},
        {"# only\n\n", 0, 0, "El archivo no contiene marcadores."},
        {many, 0, MaxMarkers + 2, "El archivo tiene más de 10000 marcadores."},
    };
    for (const auto& r : rows) {
        const TMarkerFile f = ParseMarkerFile(r.Text);
        EXPECT_EQ(f.Markers.size(), r.Count) << r.Text.substr(0, 40);
        EXPECT_EQ(f.BadLine, r.BadLine) << r.Text.substr(0, 40);
        EXPECT_EQ(f.Error, r.Error) << r.Text.substr(0, 40);
    }
    const std::vector<TMarker> m = ParseMarkerFile(rows[0].Text).Markers;
    const TMarker swapped = ParseMarkerFile(rows[1].Text).Markers[0]; // short > long
    for (const TMarker& k : {m[0], swapped})
        EXPECT_TRUE(k.X == 0 && k.Long == 1 && k.Short == 0.5 && k.OrientationDegrees == -60);
    EXPECT_TRUE(m[1].X == 1 && m[1].Y == 2 && m[1].Long == 3 && m[1].OrientationDegrees == 90);
}

TEST(MarkerFile, MutatedFilesGiveMarkersOrAnError)
{
    const std::string good =
        "# markers\n0.1,0.2,1.5,1,30\r\n-0.3\t0.4\t2\t1\t-45\n\n0.5,0.5,1,1,90\n";
    const char bytes[] = ",\t\n\r #.-+e0159x\xff";
    std::mt19937 gen(13);
    int read = 0;
    for (int n = 0; n < 5000; ++n) {
        std::string text = good;
        for (int k = 1 + gen() % 4; k > 0; --k) {
            const size_t at = gen() % text.size();
            const char c = n % 7 == 0 ? '\0' : bytes[gen() % (sizeof bytes - 1)];
            const unsigned op = gen() % 3;
            op == 0   ? void(text.insert(at, 1, c))
            : op == 1 ? void(text.erase(at, 1))
                      : void(text[at] = c);
        }
        const TMarkerFile f = ParseMarkerFile(text);
        ASSERT_EQ(f.Markers.empty(), !f.Error.empty()) << text;
        ASSERT_EQ(f.Markers.empty(),
                  f.BadLine != 0 || f.Error == "El archivo no contiene marcadores.");
        read += !f.Markers.empty();
        for (const TMarker& m : f.Markers)
            ASSERT_TRUE(std::fabs(m.X) <= 1e6 && std::fabs(m.Y) <= 1e6 && m.Long >= m.Short &&
                        m.Short > 0 && m.Long <= 1e4 * m.Short && m.OrientationDegrees > -90 &&
                        m.OrientationDegrees <= 90)
                << text;
    }
    EXPECT_GT(read, 500);
}

TEST(Elongation, FieldsOfMaterialLines)
{
    EXPECT_TRUE(MaterialLineDirection(0).Y == 0 && MaterialLineDirection(18).X == 0);
    const TWorldSegment s = MaterialLine(9, {1, 0.5, 0, 1});
    EXPECT_NEAR(s.X2, 1.5 * std::sqrt(0.5), 1e-15);
    EXPECT_TRUE(s.X1 == -s.X2 && s.Y1 == -s.Y2 && std::fabs(s.Y2 - std::sqrt(0.5)) < 1e-15);
    using E = TElongationField;
    for (int n : {1, 2, 3, 5, 6, 9}) { // simple shear of 0.5 an increment
        TElongationHistory h;
        h.Record({2, 0, 0, 2}); // forgotten on a restore
        h.Reset();
        for (int i = 1; i <= n; ++i)
            h.Record({1, 0.5 * i, 0, 1});
        EXPECT_EQ(h.Field(0), E::Unchanged) << n;
        EXPECT_EQ(h.Field(9), E::Lengthened) << n;
        EXPECT_EQ(h.Field(27), n <= 3 ? E::Shortened : E::ShortenedThenLengthened) << n;
    }
    const struct {
        TEntries L;
        int Line, Steps;
        E Field;
    } rows[] = {{{0.9, 0.5, 0, 0.9}, 3, 5, E::Lengthened},
                {{0.9, 0.5, 0, 0.9}, 3, 6, E::LengthenedThenShortened},  // area loss
                {{1, -0.3, 0.3, 0.9}, 0, 6, E::LengthenedThenShortened}, // complex pair
                {{0.9, 0, 0, 1.2}, 4, 6, E::ShortenedThenLengthened}};
    for (const auto& r : rows) {
        TElongationHistory h;
        TEntries F{1, 0, 0, 1};
        const double c = std::cos(r.Line * Pi / 36), s = std::sin(r.Line * Pi / 36);
        std::vector<bool> longer;
        for (int i = 0; i < r.Steps; ++i) {
            h.Record(F = Mul(r.L, F));
            longer.push_back(std::hypot(F[0] * c + F[1] * s, F[2] * c + F[3] * s) > 1);
        }
        EXPECT_EQ(h.Field(r.Line), r.Field) << r.L[0] << " " << r.Line;
        const bool reversed = std::count(longer.begin(), longer.end(), !longer[0]) > 0;
        EXPECT_EQ(r.Field, longer[0] ? (reversed ? E::LengthenedThenShortened : E::Lengthened)
                                     : (reversed ? E::ShortenedThenLengthened : E::Shortened));
    }
}

TEST(Elongation, NoElongationLines)
{
    const struct {
        TEntries F;
        size_t Count;
    } table[] = {{{1, 1.5, 0, 1}, 2}, {{2, 0, 0, 3}, 0},      {{0.8, -0.6, 0.6, 0.8}, 0},
                 {{2, 0, 0, 0.5}, 2}, {{0.5, 0, 0, 0.25}, 0}, {{1, 0, 0, 2}, 1},
                 {{1, NaN, 0, 1}, 0}};
    std::mt19937 gen(17);
    std::uniform_real_distribution<double> entry(-2, 2);
    for (int n = 0; n < 2000; ++n) {
        const TEntries F =
            n < 7 ? table[n].F : TEntries{entry(gen), entry(gen), entry(gen), entry(gen)};
        const std::vector<TWorldSegment> lines = NoElongationLines(F);
        const double c11 = F[0] * F[0] + F[2] * F[2] - 1, c12 = F[0] * F[1] + F[2] * F[3];
        const double c22 = F[1] * F[1] + F[3] * F[3] - 1, det = F[0] * F[3] - F[1] * F[2];
        EXPECT_EQ(lines.size(), n < 7 ? table[n].Count : c11 * c22 < c12 * c12 ? 2u : 0u) << n;
        for (const TWorldSegment& l : lines) { // u = F^-1 (X2, Y2)
            const double ux = (F[3] * l.X2 - F[1] * l.Y2) / det,
                         uy = (F[0] * l.Y2 - F[2] * l.X2) / det;
            EXPECT_NEAR(std::hypot(ux, uy), 1, 1e-12) << n;
            EXPECT_NEAR(std::hypot(l.X2, l.Y2), 1, 1e-12) << n;
            EXPECT_NEAR(c11 * ux * ux + 2 * c12 * ux * uy + c22 * uy * uy, 0, 1e-12) << n;
            EXPECT_TRUE(l.X1 == -l.X2 && l.Y1 == -l.Y2) << n;
        }
    }
    // Simple shear of g: the x axis, and tan t = -2/g, imaged to (cos t + g sin t, sin t).
    const std::vector<TWorldSegment> shear = NoElongationLines({1, 1.5, 0, 1});
    const double t = std::atan(-2 / 1.5), x = std::cos(t) + 1.5 * std::sin(t);
    EXPECT_TRUE(std::fabs(shear[1].X2) == 1 && shear[1].Y2 == 0);
    EXPECT_NEAR(std::fabs(shear[0].X2), std::fabs(x), 1e-15);
    EXPECT_NEAR(shear[0].Y2 / shear[0].X2, std::sin(t) / x, 1e-15);
    EXPECT_EQ(NoElongationLines({1, 0, 0, 2})[0].Y2, 0); // the one line of a stretch across x
}

} // namespace
} // namespace tensim
