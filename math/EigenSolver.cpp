#include "math/EigenSolver.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tensim {

namespace {

// Magnitude of X with the sign of Y; Y >= 0, including -0, counts as positive.
double Sign(double X, double Y)
{
    return Y >= 0 ? std::fabs(X) : -std::fabs(X);
}

// (Ar + i Ai) / (Br + i Bi), scaled against overflow.
void ComplexDivide(double Ar, double Ai, double Br, double Bi, double& Cr, double& Ci)
{
    double s = std::fabs(Br) + std::fabs(Bi);
    const double ars = Ar / s, ais = Ai / s, brs = Br / s, bis = Bi / s;
    s = brs * brs + bis * bis;
    Cr = (ars * brs + ais * bis) / s;
    Ci = (ais * brs - ars * bis) / s;
}

// Exchanges columns J and M in rows Lb..Last and rows J and M in columns
// First..Ub: the permutation step of the balancing.
void ExchangeRowAndColumn(TMatrix& A, int J, int M, int Lb, int Last, int First, int Ub)
{
    if (J == M) return;
    for (int i = Lb; i <= Last; ++i)
        std::swap(A[i][J], A[i][M]);
    for (int i = First; i <= Ub; ++i)
        std::swap(A[J][i], A[M][i]);
}

} // namespace

void BalanceMatrix(TMatrix& A, int Lb, int Ub, int& Low, int& High, TVector& Scale)
{
    constexpr double radix = 2.0;
    constexpr double b2 = radix * radix;
    int k = Lb, l = Ub;

    // Push rows that isolate an eigenvalue down.
    bool found = true;
    while (found) {
        found = false;
        for (int j = l; j >= Lb; --j) {
            bool isolated = true;
            for (int i = Lb; i <= l && isolated; ++i)
                if (i != j && A[j][i] != 0) isolated = false;
            if (!isolated) continue;
            Scale[l] = j;
            ExchangeRowAndColumn(A, j, l, Lb, l, k, Ub);
            if (l == Lb) {
                Low = k;
                High = l;
                return;
            }
            --l;
            found = true;
            break;
        }
    }

    // Push columns that isolate an eigenvalue left.
    found = true;
    while (found) {
        found = false;
        for (int j = k; j <= l; ++j) {
            bool isolated = true;
            for (int i = k; i <= l && isolated; ++i)
                if (i != j && A[i][j] != 0) isolated = false;
            if (!isolated) continue;
            Scale[k] = j;
            ExchangeRowAndColumn(A, j, k, Lb, l, k, Ub);
            ++k;
            found = true;
            break;
        }
    }

    // Balance the submatrix in rows k..l by powers of the radix.
    for (int i = k; i <= l; ++i)
        Scale[i] = 1.0;
    bool noconv = true;
    while (noconv) {
        noconv = false;
        for (int i = k; i <= l; ++i) {
            double c = 0, r = 0;
            for (int j = k; j <= l; ++j) {
                if (j == i) continue;
                c = c + std::fabs(A[j][i]);
                r = r + std::fabs(A[i][j]);
            }
            if (c == 0 || r == 0) continue;
            double g = r / radix;
            double f = 1.0;
            const double s = c + r;
            while (c < g) {
                f = f * radix;
                c = c * b2;
            }
            g = r * radix;
            // An entry near the top of the range can push c to infinity,
            // where dividing never brings it back below g.
            while (c >= g && std::isfinite(c)) {
                f = f / radix;
                c = c / b2;
            }
            if ((c + r) / f < 0.95 * s) {
                g = 1.0 / f;
                Scale[i] = Scale[i] * f;
                noconv = true;
                for (int j = k; j <= Ub; ++j)
                    A[i][j] = A[i][j] * g;
                for (int j = Lb; j <= l; ++j)
                    A[j][i] = A[j][i] * f;
            }
        }
    }
    Low = k;
    High = l;
}

void ReduceToHessenberg(TMatrix& A, int Lb, int Ub, int Low, int High, TIntVector& Pivots)
{
    for (int m = Low + 1; m <= High - 1; ++m) {
        const int mm1 = m - 1;
        double x = 0.0;
        int i = m;
        for (int j = m; j <= High; ++j) {
            if (std::fabs(A[j][mm1]) > std::fabs(x)) {
                x = A[j][mm1];
                i = j;
            }
        }
        Pivots[m] = i;
        if (i != m) {
            for (int j = mm1; j <= Ub; ++j)
                std::swap(A[i][j], A[m][j]);
            for (int j = Lb; j <= High; ++j)
                std::swap(A[j][i], A[j][m]);
        }
        if (x == 0.0) continue;
        for (i = m + 1; i <= High; ++i) {
            double y = A[i][mm1];
            if (y == 0.0) continue;
            y = y / x;
            A[i][mm1] = y;
            for (int j = m; j <= Ub; ++j)
                A[i][j] = A[i][j] - y * A[m][j];
            for (int j = Lb; j <= High; ++j)
                A[j][m] = A[j][m] + y * A[j][i];
        }
    }
}

void AccumulateTransforms(const TMatrix& A, int Lb, int Ub, int Low, int High,
                          const TIntVector& Pivots, TMatrix& V)
{
    for (int j = Lb; j <= Ub; ++j) {
        for (int i = Lb; i <= Ub; ++i)
            V[i][j] = 0.0;
        V[j][j] = 1.0;
    }
    for (int mp = High - 1; mp >= Low + 1; --mp) {
        for (int i = mp + 1; i <= High; ++i)
            V[i][mp] = A[i][mp - 1];
        const int i = Pivots[mp];
        if (i == mp) continue;
        for (int j = mp; j <= High; ++j) {
            V[mp][j] = V[i][j];
            V[i][j] = 0.0;
        }
        V[i][mp] = 1.0;
    }
}

namespace {

// Back-substitution into the upper triangle of A for the eigenvectors of
// the quasi-triangular form, then back-transformation into V.
void BackSubstitute(TMatrix& A, int Lb, int Ub, int Low, int High, const TVector& Lambda_Re,
                    const TVector& Lambda_Im, TMatrix& V, double norm)
{
    double p, q, r = 0, s = 0, t, w, x, y, zz = 0;
    for (int en = Ub; en >= Lb; --en) {
        p = Lambda_Re[en];
        q = Lambda_Im[en];
        const int na = en - 1;
        if (q == 0) {
            // Real vector.
            int m = en;
            A[en][en] = 1.0;
            for (int i = en - 1; i >= Lb; --i) {
                w = A[i][i] - p;
                r = 0.0;
                for (int j = m; j <= en; ++j)
                    r = r + A[i][j] * A[j][en];
                if (Lambda_Im[i] < 0.0) {
                    zz = w;
                    s = r;
                    continue;
                }
                m = i;
                if (Lambda_Im[i] == 0.0) {
                    t = w;
                    if (t == 0.0) {
                        const double tst1 = norm;
                        t = tst1;
                        do {
                            t = 0.01 * t;
                        } while (norm + t > tst1);
                    }
                    A[i][en] = -r / t;
                } else {
                    // Solve the real 2x2 system of a complex diagonal block.
                    x = A[i][i + 1];
                    y = A[i + 1][i];
                    q = (Lambda_Re[i] - p) * (Lambda_Re[i] - p) + Lambda_Im[i] * Lambda_Im[i];
                    t = (x * s - zz * r) / q;
                    A[i][en] = t;
                    if (std::fabs(x) > std::fabs(zz))
                        A[i + 1][en] = (-r - w * t) / x;
                    else
                        A[i + 1][en] = (-s - y * t) / zz;
                }
                // Overflow control.
                t = std::fabs(A[i][en]);
                if (t == 0.0) continue;
                if (t + 1.0 / t > t) continue;
                for (int j = i; j <= en; ++j)
                    A[j][en] = A[j][en] / t;
            }
        } else if (q < 0) {
            // Complex vector, at the second position of its pair; the last
            // component is chosen imaginary so the vector matrix is triangular.
            int m = na;
            if (std::fabs(A[en][na]) > std::fabs(A[na][en])) {
                A[na][na] = q / A[en][na];
                A[na][en] = -(A[en][en] - p) / A[en][na];
            } else {
                ComplexDivide(0.0, -A[na][en], A[na][na] - p, q, A[na][na], A[na][en]);
            }
            A[en][na] = 0.0;
            A[en][en] = 1.0;
            double ra, sa;
            for (int i = na - 1; i >= Lb; --i) {
                w = A[i][i] - p;
                ra = 0.0;
                sa = 0.0;
                for (int j = m; j <= en; ++j) {
                    ra = ra + A[i][j] * A[j][na];
                    sa = sa + A[i][j] * A[j][en];
                }
                if (Lambda_Im[i] < 0.0) {
                    zz = w;
                    r = ra;
                    s = sa;
                    continue;
                }
                m = i;
                if (Lambda_Im[i] == 0.0) {
                    ComplexDivide(-ra, -sa, w, q, A[i][na], A[i][en]);
                } else {
                    // Solve the complex 2x2 system.
                    x = A[i][i + 1];
                    y = A[i + 1][i];
                    double vr = (Lambda_Re[i] - p) * (Lambda_Re[i] - p) +
                                Lambda_Im[i] * Lambda_Im[i] - q * q;
                    const double vi = (Lambda_Re[i] - p) * 2.0 * q;
                    if (vr == 0.0 && vi == 0.0) {
                        const double tst1 = norm * (std::fabs(w) + std::fabs(q) + std::fabs(x) +
                                                    std::fabs(y) + std::fabs(zz));
                        vr = tst1;
                        do {
                            vr = 0.01 * vr;
                        } while (tst1 + vr > tst1);
                    }
                    ComplexDivide(x * r - zz * ra + q * sa, x * s - zz * sa - q * ra, vr, vi,
                                  A[i][na], A[i][en]);
                    if (std::fabs(x) > std::fabs(zz) + std::fabs(q)) {
                        A[i + 1][na] = (-ra - w * A[i][na] + q * A[i][en]) / x;
                        A[i + 1][en] = (-sa - w * A[i][en] - q * A[i][na]) / x;
                    } else {
                        ComplexDivide(-r - y * A[i][na], -s - y * A[i][en], zz, q, A[i + 1][na],
                                      A[i + 1][en]);
                    }
                }
                // Overflow control.
                t = std::max(std::fabs(A[i][na]), std::fabs(A[i][en]));
                if (t == 0.0) continue;
                if (t + 1.0 / t > t) continue;
                for (int j = i; j <= en; ++j) {
                    A[j][na] = A[j][na] / t;
                    A[j][en] = A[j][en] / t;
                }
            }
        }
        // q > 0: first position of a complex pair, handled with the second.
    }

    // Vectors of isolated roots.
    for (int i = Lb; i <= Ub; ++i) {
        if (i >= Low && i <= High) continue;
        for (int j = i; j <= Ub; ++j)
            V[i][j] = A[i][j];
    }

    // Multiply by the transformation matrix to give the vectors of the
    // original matrix.
    for (int j = Ub; j >= Low; --j) {
        const int m = std::min(j, High);
        for (int i = Low; i <= High; ++i) {
            zz = 0.0;
            for (int k = Low; k <= m; ++k)
                zz = zz + V[i][k] * A[k][j];
            V[i][j] = zz;
        }
    }
}

} // namespace

int HessenbergQR(TMatrix& A, int Lb, int Ub, int Low, int High, TVector& Lambda_Re,
                 TVector& Lambda_Im, TMatrix& V)
{
    // Store roots isolated by the balancing and compute the matrix norm.
    double norm = 0.0;
    for (int i = Lb; i <= Ub; ++i) {
        for (int j = std::max(i - 1, Lb); j <= Ub; ++j)
            norm = norm + std::fabs(A[i][j]);
        if (i >= Low && i <= High) continue;
        Lambda_Re[i] = A[i][i];
        Lambda_Im[i] = 0.0;
    }

    int en = High;
    double t = 0.0;
    int itn = 30 * (Ub - Lb + 1);
    double p = 0, q = 0, r = 0, s, w, x, y, zz;

    while (en >= Low) {
        int its = 0;
        const int na = en - 1;
        const int enm2 = na - 1;
        for (;;) {
            // Look for a single small subdiagonal element.
            int l = en;
            for (; l > Low; --l) {
                s = std::fabs(A[l - 1][l - 1]) + std::fabs(A[l][l]);
                if (s == 0.0) s = norm;
                const double tst1 = s;
                const double tst2 = tst1 + std::fabs(A[l][l - 1]);
                if (tst2 == tst1) break;
            }

            x = A[en][en];
            if (l == en) {
                // One root found.
                A[en][en] = x + t;
                Lambda_Re[en] = A[en][en];
                Lambda_Im[en] = 0.0;
                en = na;
                break;
            }
            y = A[na][na];
            w = A[en][na] * A[na][en];
            if (l == na) {
                // Two roots found.
                p = (y - x) / 2.0;
                q = p * p + w;
                zz = std::sqrt(std::fabs(q));
                A[en][en] = x + t;
                x = A[en][en];
                A[na][na] = y + t;
                if (q >= 0.0) {
                    // Real pair.
                    zz = p + Sign(zz, p);
                    Lambda_Re[na] = x + zz;
                    Lambda_Re[en] = Lambda_Re[na];
                    if (zz != 0.0) Lambda_Re[en] = x - w / zz;
                    Lambda_Im[na] = 0.0;
                    Lambda_Im[en] = 0.0;
                    x = A[en][na];
                    s = std::fabs(x) + std::fabs(zz);
                    p = x / s;
                    q = zz / s;
                    r = std::sqrt(p * p + q * q);
                    p = p / r;
                    q = q / r;
                    for (int j = na; j <= Ub; ++j) {
                        zz = A[na][j];
                        A[na][j] = q * zz + p * A[en][j];
                        A[en][j] = q * A[en][j] - p * zz;
                    }
                    for (int i = Lb; i <= en; ++i) {
                        zz = A[i][na];
                        A[i][na] = q * zz + p * A[i][en];
                        A[i][en] = q * A[i][en] - p * zz;
                    }
                    for (int i = Low; i <= High; ++i) {
                        zz = V[i][na];
                        V[i][na] = q * zz + p * V[i][en];
                        V[i][en] = q * V[i][en] - p * zz;
                    }
                } else {
                    // Complex pair.
                    Lambda_Re[na] = x + p;
                    Lambda_Re[en] = x + p;
                    Lambda_Im[na] = zz;
                    Lambda_Im[en] = -zz;
                }
                en = enm2;
                break;
            }

            if (itn == 0) return -en;

            if (its == 10 || its == 20) {
                // Exceptional shift.
                t = t + x;
                for (int i = Low; i <= en; ++i)
                    A[i][i] = A[i][i] - x;
                s = std::fabs(A[en][na]) + std::fabs(A[na][enm2]);
                x = 0.75 * s;
                y = x;
                w = -0.4375 * s * s;
            }
            ++its;
            --itn;

            // Look for two consecutive small subdiagonal elements.
            int m = enm2;
            for (; m >= l; --m) {
                zz = A[m][m];
                r = x - zz;
                s = y - zz;
                p = (r * s - w) / A[m + 1][m] + A[m][m + 1];
                q = A[m + 1][m + 1] - zz - r - s;
                r = A[m + 2][m + 1];
                s = std::fabs(p) + std::fabs(q) + std::fabs(r);
                p = p / s;
                q = q / s;
                r = r / s;
                if (m == l) break;
                const double tst1 = std::fabs(p) * (std::fabs(A[m - 1][m - 1]) + std::fabs(zz) +
                                                    std::fabs(A[m + 1][m + 1]));
                const double tst2 = tst1 + std::fabs(A[m][m - 1]) * (std::fabs(q) + std::fabs(r));
                if (tst2 == tst1) break;
            }

            for (int i = m + 2; i <= en; ++i) {
                A[i][i - 2] = 0.0;
                if (i != m + 2) A[i][i - 3] = 0.0;
            }

            // Double QR step on rows l..en and columns m..en.
            for (int k = m; k <= na; ++k) {
                const bool notlast = k != na;
                if (k != m) {
                    p = A[k][k - 1];
                    q = A[k + 1][k - 1];
                    r = notlast ? A[k + 2][k - 1] : 0.0;
                    x = std::fabs(p) + std::fabs(q) + std::fabs(r);
                    if (x == 0.0) continue;
                    p = p / x;
                    q = q / x;
                    r = r / x;
                }
                s = Sign(std::sqrt(p * p + q * q + r * r), p);
                if (k != m)
                    A[k][k - 1] = -s * x;
                else if (l != m)
                    A[k][k - 1] = -A[k][k - 1];
                p = p + s;
                x = p / s;
                y = q / s;
                zz = r / s;
                q = q / p;
                r = r / p;
                const int last = std::min(en, k + 3);
                if (!notlast) {
                    for (int j = k; j <= Ub; ++j) {
                        p = A[k][j] + q * A[k + 1][j];
                        A[k][j] = A[k][j] - p * x;
                        A[k + 1][j] = A[k + 1][j] - p * y;
                    }
                    for (int i = Lb; i <= last; ++i) {
                        p = x * A[i][k] + y * A[i][k + 1];
                        A[i][k] = A[i][k] - p;
                        A[i][k + 1] = A[i][k + 1] - p * q;
                    }
                    for (int i = Low; i <= High; ++i) {
                        p = x * V[i][k] + y * V[i][k + 1];
                        V[i][k] = V[i][k] - p;
                        V[i][k + 1] = V[i][k + 1] - p * q;
                    }
                } else {
                    for (int j = k; j <= Ub; ++j) {
                        p = A[k][j] + q * A[k + 1][j] + r * A[k + 2][j];
                        A[k][j] = A[k][j] - p * x;
                        A[k + 1][j] = A[k + 1][j] - p * y;
                        A[k + 2][j] = A[k + 2][j] - p * zz;
                    }
                    for (int i = Lb; i <= last; ++i) {
                        p = x * A[i][k] + y * A[i][k + 1] + zz * A[i][k + 2];
                        A[i][k] = A[i][k] - p;
                        A[i][k + 1] = A[i][k + 1] - p * q;
                        A[i][k + 2] = A[i][k + 2] - p * r;
                    }
                    for (int i = Low; i <= High; ++i) {
                        p = x * V[i][k] + y * V[i][k + 1] + zz * V[i][k + 2];
                        V[i][k] = V[i][k] - p;
                        V[i][k + 1] = V[i][k + 1] - p * q;
                        V[i][k + 2] = V[i][k + 2] - p * r;
                    }
                }
            }
        }
    }

    if (norm == 0.0) return 0;
    BackSubstitute(A, Lb, Ub, Low, High, Lambda_Re, Lambda_Im, V, norm);
    return 0;
}

void BalanceBack(TMatrix& V, int Lb, int Ub, int Low, int High, const TVector& Scale, int M)
{
    if (M < Lb) return;
    if (High != Low)
        for (int i = Low; i <= High; ++i)
            for (int j = Lb; j <= M; ++j)
                V[i][j] = V[i][j] * Scale[i];

    auto exchange = [&](int i) {
        const int k = static_cast<int>(std::nearbyint(Scale[i]));
        if (k == i) return;
        for (int j = Lb; j <= M; ++j)
            std::swap(V[i][j], V[k][j]);
    };
    for (int i = Low - 1; i >= Lb; --i)
        exchange(i);
    for (int i = High + 1; i <= Ub; ++i)
        exchange(i);
}

int RealEigenSystem(TMatrix& A, int Lb, int Ub, TVector& Lambda_Re, TVector& Lambda_Im, TMatrix& V)
{
    // Non-finite entries can neither be balanced nor converge: report the
    // failure at once instead of iterating on them.
    for (int i = Lb; i <= Ub; ++i)
        for (int j = Lb; j <= Ub; ++j)
            if (!std::isfinite(A[i][j])) return -Ub;

    TVector scale;
    TIntVector pivots;
    AllocVector(scale, Ub);
    AllocIntVector(pivots, Ub);

    int low = Lb, high = Ub;
    BalanceMatrix(A, Lb, Ub, low, high, scale);
    ReduceToHessenberg(A, Lb, Ub, low, high, pivots);
    AccumulateTransforms(A, Lb, Ub, low, high, pivots, V);
    const int code = HessenbergQR(A, Lb, Ub, low, high, Lambda_Re, Lambda_Im, V);
    if (code == 0) BalanceBack(V, Lb, Ub, low, high, scale, Ub);
    return code;
}

} // namespace tensim
