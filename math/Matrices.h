#pragma once
// Dynamic vectors and matrices indexed from 0, as the eigen solver uses them.
// An empty array is the absent value.

#include <cstdint>
#include <utility>
#include <vector>

namespace tensim {

using TVector = std::vector<double>;
using TIntVector = std::vector<int32_t>;
using TMatrix = std::vector<TVector>; // rows of columns: A[row][column]

// Ub < 0 leaves the array empty; otherwise indices 0..Ub, all 0.
void AllocVector(TVector& V, int Ub);
void AllocIntVector(TIntVector& V, int Ub);
// Either bound < 0 leaves the matrix empty; otherwise rows 0..Ub1 of
// columns 0..Ub2, all 0.
void AllocMatrix(TMatrix& A, int Ub1, int Ub2);

// Exchanges columns J1 and J2 in rows Lb..Ub.
void SwapColumns(int J1, int J2, TMatrix& A, int Lb, int Ub);

// kept for the published interface; the program does not use it
inline void SwapReals(double& X, double& Y)
{
    std::swap(X, Y);
}

} // namespace tensim
