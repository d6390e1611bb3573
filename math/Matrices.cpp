#include "math/Matrices.h"

#include <cstddef>
#include <utility>

namespace tensim {

void AllocVector(TVector& V, int Ub)
{
    V.assign(Ub < 0 ? 0 : static_cast<std::size_t>(Ub) + 1, 0.0);
}

void AllocIntVector(TIntVector& V, int Ub)
{
    V.assign(Ub < 0 ? 0 : static_cast<std::size_t>(Ub) + 1, 0);
}

void AllocMatrix(TMatrix& A, int Ub1, int Ub2)
{
    if (Ub1 < 0 || Ub2 < 0) {
        A.clear();
        return;
    }
    A.assign(static_cast<std::size_t>(Ub1) + 1, TVector(static_cast<std::size_t>(Ub2) + 1, 0.0));
}

void SwapColumns(int J1, int J2, TMatrix& A, int Lb, int Ub)
{
    for (int k = Lb; k <= Ub; ++k)
        std::swap(A[k][J1], A[k][J2]);
}

} // namespace tensim
