#pragma once
// The measures of the strain chapter beside the window's arithmetic: the
// readout of the finite state and of the flow's vorticity, populations of
// elliptical markers and their Rf/phi points, and the fields of lengthening
// and shortening of material lines. Plain C++, no Qt.

#include "drawing/StrainEllipse.h"
#include "math/World.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tensim {

// A 2x2 matrix by its entries (1,1), (1,2), (2,1), (2,2).
using TEntries = std::array<double, 4>;

// ---- the readout

// The principal logarithm G of L: exp(G) = L, the eigenvalues of G with
// imaginary parts in (-pi, pi). None when L has a real eigenvalue <= 0 (or
// an entry that is not finite, or, its entries spread over the whole range
// of a double, a logarithm beyond that range).
std::optional<TEntries> PrincipalLog(const TEntries& L);

// The kinematic vorticity number of the flow whose increment is L, from
// G = log L: Wk = |G21 - G12| / sqrt(2 D:D), D the deviatoric part of
// (G + G^T)/2. Undefined also for an entry that is not finite; Wk > 1
// exactly when L's eigenvalues are complex.
enum class TVorticityKind {
    Undefined, // L a positive multiple of I, or no principal logarithm
    Infinite,  // L a positive multiple of a rotation by an angle other than 0
    Finite,
};
struct TVorticity {
    TVorticityKind Kind = TVorticityKind::Undefined;
    double Value = 0; // when Finite
};
TVorticity KinematicVorticity(const TEntries& L);

// The finite state as the readout shows it.
struct TStrainReadout {
    double AxialRatio = 1;                    // Rs, the strain ellipse's
    std::optional<double> InclinationDegrees; // theta, none while Rs = 1
    double AreaRatio = 1;                     // |det F|
};
TStrainReadout StrainReadout(const TStrainEllipse& Strain);

// The readout's four lines, numbers with the locale's decimal separator:
// "Rs = 1,0000", "θ = —" or "θ = 26,57°", "|det F| = 1,0000", and
// "Wk = —", "Wk = ∞" or "Wk = 0,8064". UTF-8. A number of magnitude 1e6 or
// more is written in scientific notation with as many decimals
// ("Rs = 1,2346E+12"), NaN as "—" and an infinity as "∞".
struct TReadoutTexts {
    std::string AxialRatio, Inclination, AreaRatio, Vorticity;
};
TReadoutTexts ReadoutTexts(const TStrainReadout& Readout, const TVorticity& Vorticity);

// ---- marker populations

// An elliptical marker in the undeformed state: centre, long and short
// semi-axes (Long >= Short > 0), and the long axis's inclination in degrees
// counter-clockwise from the x axis.
struct TMarker {
    double X = 0, Y = 0;
    double Long = 1, Short = 1;
    double OrientationDegrees = 0;
};

constexpr int DefaultMarkerCount = 40;
constexpr uint32_t DefaultMarkerSeed = 1;
// A marker file holds at most this many markers.
constexpr int MaxMarkers = 10000;

// The seeded population: Count markers whose axial ratios lie in [1, 2.5]
// and orientations in (-90, 90], their centres spread over the unit circle,
// small enough to be told apart in the finite panel. The same seed gives
// the same population on every machine (no std distributions): axial ratios
// and orientations bit for bit, centres as far as the platform's sqrt, sin
// and cos agree. A Count of 0 or less gives none; Count is capped at
// MaxMarkers.
std::vector<TMarker> SeededMarkers(uint32_t Seed, int Count = DefaultMarkerCount);

// The marker as a strain state: the circle of radius Long about its centre
// under the symmetric tensor that shortens the direction across the long
// axis to Short / Long (the identity, exactly, for a circle).
TStrainEllipse MarkerStrain(const TMarker& Marker);

// A marker's (or the strain ellipse's) axial ratio Rf and the inclination
// phi of its long axis, in degrees in (-90, 90], from its strain state.
struct TRfPhi {
    double Rf = 1;
    double PhiDegrees = 0;
};
TRfPhi RfPhi(const TStrainEllipse& Strain);

// The point of the polar Rf/phi plot: ln Rf at the angle 2 phi,
// (ln Rf cos 2phi, ln Rf sin 2phi).
TWorldPoint PolarRfPhi(const TRfPhi& Point);

// A marker file: one marker per line, "x, y, long, short, orientation"
// with a comma or a tab between the fields (spaces around a field allowed)
// and "." as the decimal point, read whatever the process's locale. Lines
// end in LF or CRLF; a leading UTF-8 byte-order mark is ignored. Blank lines
// and lines whose first non-blank character is '#' are skipped. Every value
// is finite; |x| and |y| at most 1e6; the semi-axes positive, at most 1e6,
// the long one at most 1e4 times the short one. A line whose short semi-axis
// exceeds its long one gives the same ellipse: the two are swapped and the
// orientation turned by 90 degrees. Orientations are brought into
// (-90, 90]. The first line that does not give a marker is reported by its
// number (from 1, every line counted) with a Spanish reason, and no marker
// is returned; so is a file of no marker (BadLine 0) or of more than
// MaxMarkers (BadLine the line of the marker beyond).
// A marker checked against the limits of a marker file and brought to the
// form the program keeps (the long semi-axis first, the orientation in
// (-90, 90]), or the marker file's message for its problem (as
// TMarkerFile::ErrorMessage, "%1" for the line). A NaN fails the checks.
struct TCheckedMarker {
    TMarker Marker;
    const char* Error = nullptr; // null when the marker is kept
};
TCheckedMarker CheckMarker(TMarker M);

struct TMarkerFile {
    std::vector<TMarker> Markers;
    int BadLine = 0; // 0 when the file was read
    // A Spanish message, marked for translation in the context
    // "tensim::TMarkerFile", with "%1" for BadLine and "%2" for ErrorField,
    // the value it quotes (printable ASCII); null when the file was read.
    const char* ErrorMessage = nullptr;
    std::string ErrorField;
    // The message filled in, UTF-8; empty when the file was read.
    std::string Error() const;
};
TMarkerFile ParseMarkerFile(const std::string& Text);

// Message with "%1" replaced by Line and "%2" by Field, as Error is made:
// the window fills in the translated message the same way.
std::string MarkerFileError(std::string_view Message, int Line, std::string_view Field);

// ---- the fields of lengthening and shortening

// 36 material lines through the centre, line k along 5k degrees.
constexpr int MaterialLineCount = 36;
// A stretch within this of 1 counts as neither shortened nor lengthened.
constexpr double NeutralStretchTolerance = 1e-12;

enum class TElongationField {
    Unchanged,               // within the tolerance of 1 at every step
    Shortened,               // shortened throughout
    ShortenedThenLengthened, // shortened first, lengthened at a later step
    Lengthened,              // lengthened throughout
    LengthenedThenShortened, // lengthened first, shortened at a later step
};

// The unit direction of material line Line (0..35) in the undeformed state,
// at 5 Line degrees: (cos, sin), exact at the multiples of 90.
TWorldPoint MaterialLineDirection(int Line);

// The history of the material lines since the last restore. A line's field
// is decided by its first step that is not neutral and by whether the
// opposite has happened at any step since.
class TElongationHistory {
public:
    // Every line unchanged, as after a restore.
    void Reset();
    // Records the stretch |F u| of every line under the finite tensor F
    // after an increment.
    void Record(const TEntries& F);
    // Unchanged for a Line outside 0..35.
    TElongationField Field(int Line) const;

private:
    struct TLine {
        int8_t First = 0; // -1 shortened, +1 lengthened, 0 none yet
        bool Reversed = false;
    };
    std::array<TLine, MaterialLineCount> FLines{};
};

// Material line Line under F: from -F u to F u.
TWorldSegment MaterialLine(int Line, const TEntries& F);

// The lines of no finite elongation in their deformed position: for each
// direction u with |F u| = 1, the segment from -F u to F u. None where no
// direction keeps its length, and none where every direction does (F a
// rotation, to rounding).
std::vector<TWorldSegment> NoElongationLines(const TEntries& F);

} // namespace tensim
