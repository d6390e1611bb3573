#include "app/StrainAnalysis.h"

#include "math/FloatFormat.h"
#include "math/Scalars.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <string_view>
#include <utility>

// Marks a message for Qt's translation tools, which read it off the source;
// the window translates it. This file is compiled without Qt.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(Context, Text) Text
#endif

namespace tensim {

namespace {

// ---- 2x2 arithmetic

// A D - B C to about one rounding (Kahan's product difference): the sign of
// a determinant decides whether eigenvalues are positive, and a plain
// difference of two close products can lose it.
double ProductDifference(double A, double D, double B, double C)
{
    const double bc = B * C;
    const double error = std::fma(-B, C, bc);
    return std::fma(A, D, -bc) + error;
}

double LargestMagnitude(const TEntries& M)
{
    double top = 0;
    for (double x : M)
        top = std::max(top, std::fabs(x));
    return top;
}

bool AllFinite(const TEntries& M)
{
    return std::all_of(M.begin(), M.end(), [](double x) { return std::isfinite(x); });
}

// cos and sin of an angle in degrees, exact at the multiples of 90.
std::pair<double, double> CosSinDegrees(double Degrees)
{
    const double r = std::fmod(Degrees, 360.0); // exact
    if (r == 0) return {1, 0};
    if (r == 90 || r == -270) return {0, 1};
    if (r == 180 || r == -180) return {-1, 0};
    if (r == 270 || r == -90) return {0, -1};
    const double t = DegToRad(r);
    return {std::cos(t), std::sin(t)};
}

// The principal logarithm of M as A I + B M. M has entries of magnitude
// below 1 with the largest at least 1/2, so that no square below over- or
// underflows. B > 0 whenever the logarithm exists.
struct TLogCoefficients {
    double A, B;
};

std::optional<TLogCoefficients> ScaledLogCoefficients(const TEntries& M)
{
    const double half = (M[0] + M[3]) / 2;
    const double diff = (M[0] - M[3]) / 2;
    // ((m11 - m22)/2)^2 + m12 m21: the eigenvalues are half +- sqrt(disc).
    const double disc = std::fma(diff, diff, M[1] * M[2]);
    if (disc < 0) {
        // A complex pair r e^(+-it), t in (0, pi): b = t / (r sin t), r sin t
        // being the imaginary part s.
        const double s = std::sqrt(-disc);
        const double t = std::atan2(s, half);
        const double b = t / s;
        return TLogCoefficients{std::log(std::hypot(half, s)) - b * half, b};
    }
    const double s = std::sqrt(disc);
    if (half <= 0) return std::nullopt; // l2 = half - s <= 0
    const double l1 = half + s;
    if (s == 0) return TLogCoefficients{std::log(l1) - 1, 1 / l1};
    // l2 from the determinant where half - s cancels.
    const double l2 = s < half / 2 ? half - s : ProductDifference(M[0], M[3], M[1], M[2]) / l1;
    if (!(l2 > 0)) return std::nullopt;
    // b = (ln l1 - ln l2) / (l1 - l2) = log1p((l1 - l2) / l2) / (l1 - l2),
    // which keeps its precision when l1 and l2 are close.
    const double gap = 2 * s;
    const double ratio = gap / l2;
    const double b =
        std::isfinite(ratio) ? std::log1p(ratio) / gap : (std::log(l1) - std::log(l2)) / gap;
    return TLogCoefficients{std::log(l1) - b * l1, b};
}

// L scaled by the power of two 2^-Exponent that brings its largest entry
// into [1/2, 1). Requires finite entries, not all 0.
struct TScaled {
    TEntries M;
    int Exponent;
};

TScaled ScaledToUnit(const TEntries& L)
{
    TScaled s;
    std::frexp(LargestMagnitude(L), &s.Exponent);
    for (int i = 0; i < 4; ++i)
        s.M[i] = std::ldexp(L[i], -s.Exponent);
    return s;
}

// log L = A I + B M for L = 2^Exponent M; none when L has an entry that is
// not finite or a real eigenvalue <= 0.
struct TScaledLog {
    TScaled Scaled;
    TLogCoefficients Log;
};

std::optional<TScaledLog> ScaledLog(const TEntries& L)
{
    if (!AllFinite(L) || LargestMagnitude(L) == 0) return std::nullopt;
    const TScaled s = ScaledToUnit(L);
    const std::optional<TLogCoefficients> c = ScaledLogCoefficients(s.M);
    if (!c) return std::nullopt;
    return TScaledLog{s, *c};
}

// ---- readout texts

// From this magnitude on the readout writes scientific notation with the
// same decimals: a fixed pattern writes up to 18 integer digits (Rs after a
// long run), and beyond them general notation without the decimals.
constexpr double LargeReadout = 1e6;

std::string ReadoutNumber(double Value, int Decimals)
{
    if (std::isnan(Value)) return "—";
    if (std::isinf(Value)) return Value > 0 ? "∞" : "-∞";
    const std::string pattern = "0." + std::string(Decimals, '0');
    if (std::fabs(Value) >= LargeReadout) return FormatFloat(pattern + "E+0", Value);
    return FormatFloat(pattern, Value);
}

// ---- marker populations

// splitmix64: a fixed sequence of 64-bit words from a seed, the same with
// every compiler and library.
class TSplitMix64 {
public:
    explicit TSplitMix64(uint64_t Seed) : FState(Seed) {}
    uint64_t Next()
    {
        uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1): the top 53 bits.
    double Uniform() { return static_cast<double>(Next() >> 11) * 0x1p-53; }

private:
    uint64_t FState;
};

// Seeded markers: the radius of the disc their centres fill, and the radius
// of the circle of the same area as each marker (about 4 px of the finite
// panel's 54 px per unit).
constexpr double MarkerDiscRadius = 0.85;
constexpr double MarkerEqualAreaRadius = 0.08;
constexpr double MinMarkerAxialRatio = 1, MaxMarkerAxialRatio = 2.5;
// The angle between successive seeds of a sunflower, pi (3 - sqrt 5).
constexpr double GoldenAngle = 2.39996322972865332;

// Orientation in degrees brought into (-90, 90]; exact.
double AxisDegrees(double Degrees)
{
    double r = std::fmod(Degrees, 180.0);
    if (r > 90) r -= 180;
    if (r <= -90) r += 180;
    return r;
}

// ---- marker files

// Bounds of a marker file's values: coordinates and semi-axes up to a
// million, and axial ratios up to ten thousand, so that nothing the window
// computes from a marker overflows or falls below the products' threshold.
constexpr double MaxMarkerCoordinate = 1e6;
constexpr double MaxMarkerSemiAxis = 1e6;
constexpr double MaxFileAxialRatio = 1e4;
// A value is quoted in an error up to this many characters.
constexpr size_t MaxQuotedChars = 24;

std::string_view TrimSpaces(std::string_view S)
{
    const size_t first = S.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return S.substr(first, S.find_last_not_of(' ') - first + 1);
}

// A field as an error message quotes it: printable ASCII, other bytes as
// '?', cut short with an ellipsis, so that the message stays valid UTF-8
// and readable whatever the file holds.
std::string Printable(std::string_view Field)
{
    std::string text;
    for (size_t i = 0; i < Field.size() && i < MaxQuotedChars; ++i) {
        const unsigned char c = static_cast<unsigned char>(Field[i]);
        text += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    if (Field.size() > MaxQuotedChars) text += "…";
    return text;
}

enum class TNumberRead { Ok, NotANumber, OutOfRange };

// A decimal number with "." as the point, independent of the process's
// locale; an optional leading "+"; the whole field, finite.
TNumberRead ReadNumber(std::string_view Field, double& Value)
{
    const char* begin = Field.data();
    const char* end = begin + Field.size();
    if (begin != end && *begin == '+') {
        ++begin;
        if (begin != end && (*begin == '-' || *begin == '+')) return TNumberRead::NotANumber;
    }
    if (begin == end) return TNumberRead::NotANumber;
    const auto [stop, error] = std::from_chars(begin, end, Value);
    if (error == std::errc::result_out_of_range && stop == end) return TNumberRead::OutOfRange;
    if (error != std::errc() || stop != end || !std::isfinite(Value))
        return TNumberRead::NotANumber;
    return TNumberRead::Ok;
}

// The marker of one line that is neither blank nor a comment, or the reason
// it gives none: a message of the marker file's and the field it quotes.
std::optional<TMarker> ReadMarkerLine(std::string_view Line, const char*& Reason,
                                      std::string& Field)
{
    std::string_view fields[5];
    size_t count = 0, at = 0;
    for (;;) {
        const size_t separator = Line.find_first_of(",\t", at);
        if (count < 5) fields[count] = TrimSpaces(Line.substr(at, separator - at));
        ++count;
        if (separator == std::string_view::npos) break;
        at = separator + 1;
    }
    if (count != 5) {
        Reason = QT_TRANSLATE_NOOP("tensim::TMarkerFile",
                                   "Línea %1: se esperaban 5 valores (x, y, semieje mayor, "
                                   "semieje menor, orientación)");
        return std::nullopt;
    }
    double v[5];
    for (int i = 0; i < 5; ++i) {
        const TNumberRead read = ReadNumber(fields[i], v[i]);
        if (read == TNumberRead::OutOfRange) {
            Reason = QT_TRANSLATE_NOOP("tensim::TMarkerFile",
                                       "Línea %1: «%2» está fuera del intervalo admitido");
            Field = Printable(fields[i]);
            return std::nullopt;
        }
        if (read != TNumberRead::Ok) {
            Reason = QT_TRANSLATE_NOOP("tensim::TMarkerFile", "Línea %1: «%2» no es un número");
            Field = Printable(fields[i]);
            return std::nullopt;
        }
    }
    const TCheckedMarker checked = CheckMarker({v[0], v[1], v[2], v[3], v[4]});
    if (checked.Error) {
        Reason = checked.Error;
        return std::nullopt;
    }
    return checked.Marker;
}

TMarkerFile FileError(int Line, const char* Message, const std::string& Field = {})
{
    TMarkerFile file;
    file.BadLine = Line;
    file.ErrorMessage = Message;
    file.ErrorField = Field;
    return file;
}

} // namespace

// ---- the readout

std::optional<TEntries> PrincipalLog(const TEntries& L)
{
    const std::optional<TScaledLog> log = ScaledLog(L);
    if (!log) return std::nullopt;
    // log(2^k M) = k ln 2 I + log M.
    const TEntries& m = log->Scaled.M;
    const double a = log->Log.A + log->Scaled.Exponent * 0.693147180559945309417;
    const double b = log->Log.B;
    const TEntries g{a + b * m[0], b * m[1], b * m[2], a + b * m[3]};
    // Entries spread over the whole range of a double can have a logarithm
    // beyond it.
    if (!AllFinite(g)) return std::nullopt;
    return g;
}

TVorticity KinematicVorticity(const TEntries& L)
{
    if (!AllFinite(L)) return {};
    const double l11 = L[0], l12 = L[1], l21 = L[2], l22 = L[3];
    // Neither stretching nor vorticity.
    if (l12 == 0 && l21 == 0 && l11 == l22 && l11 > 0) return {};
    // A rotation, 180 degrees included, with a change of size at most.
    if (l11 == l22 && l12 == -l21 && LargestMagnitude(L) != 0) return {TVorticityKind::Infinite, 0};
    if (!ScaledLog(L)) return {};
    // G = a I + b L with b > 0, so G's vorticity and the deviatoric part of
    // its stretching are b times L's, and their ratio is that of L's. It is
    // computed from L: G's diagonal entries a + b Lii cancel badly where a is
    // large. Entries beyond 2^1000 are scaled down so that no difference
    // below overflows; smaller ones stay as they are, keeping the tiniest.
    const double scale = LargestMagnitude(L) > 0x1p1000 ? 0.25 : 1;
    const double m11 = scale * l11, m12 = scale * l12, m21 = scale * l21, m22 = scale * l22;
    const double vorticity = std::fabs(m21 - m12);
    // sqrt(2 D:D) with D = dev((L + L^T)/2).
    const double stretching = std::hypot(m11 - m22, m12 + m21);
    // No stretching, or a number beyond the range of a double: infinite.
    const double wk = vorticity / stretching;
    if (!std::isfinite(wk)) return {TVorticityKind::Infinite, 0};
    return {TVorticityKind::Finite, wk};
}

TStrainReadout StrainReadout(const TStrainEllipse& Strain)
{
    TStrainReadout r;
    r.AxialRatio = Strain.AxialRatio();
    if (r.AxialRatio != 1) r.InclinationDegrees = RadToDeg(Strain.Inclination());
    const TTransformMatrix& F = Strain.Deformation;
    r.AreaRatio =
        std::fabs(ProductDifference(F.Elem[1][1], F.Elem[2][2], F.Elem[1][2], F.Elem[2][1]));
    return r;
}

TReadoutTexts ReadoutTexts(const TStrainReadout& Readout, const TVorticity& Vorticity)
{
    TReadoutTexts t;
    t.AxialRatio = "Rs = " + ReadoutNumber(Readout.AxialRatio, 4);
    t.Inclination = Readout.InclinationDegrees
                        ? "θ = " + ReadoutNumber(*Readout.InclinationDegrees, 2) + "°"
                        : "θ = —";
    t.AreaRatio = "|det F| = " + ReadoutNumber(Readout.AreaRatio, 4);
    switch (Vorticity.Kind) {
    case TVorticityKind::Undefined:
        t.Vorticity = "Wk = —";
        break;
    case TVorticityKind::Infinite:
        t.Vorticity = "Wk = ∞";
        break;
    case TVorticityKind::Finite:
        t.Vorticity = "Wk = " + ReadoutNumber(Vorticity.Value, 4);
        break;
    }
    return t;
}

// ---- marker populations

std::vector<TMarker> SeededMarkers(uint32_t Seed, int Count)
{
    std::vector<TMarker> markers;
    if (Count <= 0) return markers;
    Count = std::min(Count, MaxMarkers);
    markers.reserve(Count);
    TSplitMix64 random(Seed);
    // A sunflower layout, jittered by up to a quarter of the spacing of its
    // seeds: centres spread evenly over the disc without a visible pattern.
    const double spacing = MarkerDiscRadius * std::sqrt(static_cast<double>(PiExtended) / Count);
    for (int i = 0; i < Count; ++i) {
        TMarker m;
        const double rf =
            MinMarkerAxialRatio + (MaxMarkerAxialRatio - MinMarkerAxialRatio) * random.Uniform();
        m.OrientationDegrees = 90 - 180 * random.Uniform();
        const double jitterX = (random.Uniform() - 0.5) * spacing / 2;
        const double jitterY = (random.Uniform() - 0.5) * spacing / 2;
        const double radius = MarkerDiscRadius * std::sqrt((i + 0.5) / Count);
        m.X = radius * std::cos(i * GoldenAngle) + jitterX;
        m.Y = radius * std::sin(i * GoldenAngle) + jitterY;
        m.Long = MarkerEqualAreaRadius * std::sqrt(rf);
        m.Short = MarkerEqualAreaRadius / std::sqrt(rf);
        markers.push_back(m);
    }
    return markers;
}

TStrainEllipse MarkerStrain(const TMarker& Marker)
{
    const auto [c, s] = CosSinDegrees(Marker.OrientationDegrees);
    // S = I - k n n^T with n = (-s, c) across the long axis and k = 1 - q,
    // q = Short / Long: the long axis keeps its length, n shortens to q, and
    // a circle's S is the identity exactly.
    const double k = 1 - Marker.Short / Marker.Long;
    const double s12 = k * s * c;
    return TStrainEllipse(Marker.X, Marker.Y, 1 - k * s * s, s12, s12, 1 - k * c * c, Marker.Long);
}

TRfPhi RfPhi(const TStrainEllipse& Strain)
{
    return {Strain.AxialRatio(), RadToDeg(Strain.Inclination())};
}

TWorldPoint PolarRfPhi(const TRfPhi& Point)
{
    const double r = std::log(Point.Rf);
    const auto [c, s] = CosSinDegrees(2 * Point.PhiDegrees);
    return {r * c, r * s};
}

TCheckedMarker CheckMarker(TMarker M)
{
    const auto error = [](const char* Message) { return TCheckedMarker{{}, Message}; };
    // Negated, so that a NaN fails every check.
    if (!(std::fabs(M.X) <= MaxMarkerCoordinate && std::fabs(M.Y) <= MaxMarkerCoordinate))
        return error(QT_TRANSLATE_NOOP("tensim::TMarkerFile",
                                       "Línea %1: las coordenadas deben estar entre -1000000 y "
                                       "1000000"));
    if (!(M.Long > 0 && M.Short > 0))
        return error(
            QT_TRANSLATE_NOOP("tensim::TMarkerFile", "Línea %1: los semiejes deben ser positivos"));
    if (!(M.Long <= MaxMarkerSemiAxis && M.Short <= MaxMarkerSemiAxis))
        return error(QT_TRANSLATE_NOOP("tensim::TMarkerFile",
                                       "Línea %1: los semiejes no pueden superar 1000000"));
    if (M.Short > M.Long) {
        std::swap(M.Long, M.Short);
        M.OrientationDegrees += 90;
    }
    if (!(M.Long <= MaxFileAxialRatio * M.Short))
        return error(QT_TRANSLATE_NOOP("tensim::TMarkerFile",
                                       "Línea %1: el semieje mayor no puede superar 10000 veces el "
                                       "menor"));
    M.OrientationDegrees = AxisDegrees(M.OrientationDegrees);
    return {M, nullptr};
}

std::string TMarkerFile::Error() const
{
    return ErrorMessage ? MarkerFileError(ErrorMessage, BadLine, ErrorField) : std::string();
}

std::string MarkerFileError(std::string_view Message, int Line, std::string_view Field)
{
    // One pass, so that a field holding "%1" stays as it is.
    std::string text;
    for (size_t i = 0; i < Message.size(); ++i) {
        if (Message[i] == '%' && i + 1 < Message.size() && Message[i + 1] == '1') {
            text += std::to_string(Line);
            ++i;
        } else if (Message[i] == '%' && i + 1 < Message.size() && Message[i + 1] == '2') {
            text += Field;
            ++i;
        } else {
            text += Message[i];
        }
    }
    return text;
}

TMarkerFile ParseMarkerFile(const std::string& Text)
{
    std::vector<TMarker> markers;
    std::string_view rest(Text);
    // A byte-order mark, as some editors write, is not part of the first line.
    if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
    for (int line = 1;; ++line) {
        const size_t end = rest.find('\n');
        std::string_view text = rest.substr(0, end);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        const size_t first = text.find_first_not_of(" \t");
        if (first != std::string_view::npos && text[first] != '#') {
            const char* reason = nullptr;
            std::string field;
            const std::optional<TMarker> m = ReadMarkerLine(text, reason, field);
            if (!m) return FileError(line, reason, field);
            if (static_cast<int>(markers.size()) == MaxMarkers)
                return FileError(line, QT_TRANSLATE_NOOP("tensim::TMarkerFile",
                                                         "El archivo tiene más de 10000 "
                                                         "marcadores."));
            markers.push_back(*m);
        }
        if (end == std::string_view::npos) break;
        if (line == INT_MAX)
            return FileError(line, QT_TRANSLATE_NOOP("tensim::TMarkerFile",
                                                     "El archivo tiene demasiadas líneas."));
        rest.remove_prefix(end + 1);
    }
    if (markers.empty())
        return FileError(
            0, QT_TRANSLATE_NOOP("tensim::TMarkerFile", "El archivo no contiene marcadores."));
    TMarkerFile file;
    file.Markers = std::move(markers);
    return file;
}

// ---- the fields of lengthening and shortening

TWorldPoint MaterialLineDirection(int Line)
{
    const auto [c, s] = CosSinDegrees(5.0 * Line);
    return {c, s};
}

void TElongationHistory::Reset()
{
    FLines = {};
}

void TElongationHistory::Record(const TEntries& F)
{
    for (int k = 0; k < MaterialLineCount; ++k) {
        const TWorldPoint u = MaterialLineDirection(k);
        const double stretch = std::hypot(F[0] * u.X + F[1] * u.Y, F[2] * u.X + F[3] * u.Y);
        int step = 0;
        if (stretch > 1 + NeutralStretchTolerance) step = 1;
        if (stretch < 1 - NeutralStretchTolerance) step = -1;
        TLine& line = FLines[k];
        if (line.First == 0)
            line.First = static_cast<int8_t>(step);
        else if (step == -line.First)
            line.Reversed = true;
    }
}

TElongationField TElongationHistory::Field(int Line) const
{
    if (Line < 0 || Line >= MaterialLineCount) return TElongationField::Unchanged;
    const TLine& line = FLines[Line];
    if (line.First > 0)
        return line.Reversed ? TElongationField::LengthenedThenShortened
                             : TElongationField::Lengthened;
    if (line.First < 0)
        return line.Reversed ? TElongationField::ShortenedThenLengthened
                             : TElongationField::Shortened;
    return TElongationField::Unchanged;
}

TWorldSegment MaterialLine(int Line, const TEntries& F)
{
    const TWorldPoint u = MaterialLineDirection(Line);
    const double x = F[0] * u.X + F[1] * u.Y, y = F[2] * u.X + F[3] * u.Y;
    return {-x, -y, x, y};
}

std::vector<TWorldSegment> NoElongationLines(const TEntries& F)
{
    const double f11 = F[0], f12 = F[1], f21 = F[2], f22 = F[3];
    // C = F^T F - I: u^T C u = |F u|^2 - 1.
    const double c11 = std::fma(f11, f11, -1) + f21 * f21;
    const double c12 = f11 * f12 + f21 * f22;
    const double c22 = std::fma(f22, f22, -1) + f12 * f12;
    const TEntries c{c11, c12, c12, c22};
    if (!AllFinite(c) || LargestMagnitude(c) <= 1e-12) return {};
    const double det = ProductDifference(c11, c22, c12, c12);
    if (det > 0) return {};

    // C22 t^2 + 2 C12 t + C11 = 0 for t = tan of the direction, its roots
    // written as directions so that neither a vertical direction nor a
    // vanishing C11 or C22 needs a case: (C22, q) and (q, C11) with
    // q = -(C12 + sgn(C12) sqrt(-det C)), which does not cancel.
    std::vector<TWorldPoint> directions;
    if (det == 0) {
        // One line, C's null vector: the longer of its two forms.
        const TWorldPoint a{-c12, c11}, b{c22, -c12};
        directions.push_back(std::hypot(a.X, a.Y) >= std::hypot(b.X, b.Y) ? a : b);
    } else {
        const double q = -(c12 + std::copysign(std::sqrt(-det), c12));
        directions = {{c22, q}, {q, c11}};
    }
    std::vector<TWorldSegment> lines;
    for (const TWorldPoint& d : directions) {
        const double length = std::hypot(d.X, d.Y);
        const double ux = d.X / length, uy = d.Y / length;
        const double x = f11 * ux + f12 * uy, y = f21 * ux + f22 * uy;
        lines.push_back({-x, -y, x, y});
    }
    return lines;
}

} // namespace tensim
