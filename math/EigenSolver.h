#pragma once
// Eigenvalues and eigenvectors of a real square matrix by the classical
// EISPACK sequence BALANC, ELMHES, ELTRAN, HQR2, BALBAK, working on rows and
// columns Lb..Ub of arrays that have indices up to Ub.

#include "math/Matrices.h"

namespace tensim {

// Destroys A. Fills Lambda_Re, Lambda_Im at Lb..Ub (a complex pair takes two
// consecutive positions, positive imaginary part first) and the eigenvectors
// as columns of V (for a pair: real part, then imaginary part). Returns 0 on
// success, -k when the iteration budget ran out while seeking eigenvalue k;
// V is then not usable. All three output arrays must hold Ub + 1 rows.
int RealEigenSystem(TMatrix& A, int Lb, int Ub, TVector& Lambda_Re, TVector& Lambda_Im, TMatrix& V);

// The five stages, in calling order.
void BalanceMatrix(TMatrix& A, int Lb, int Ub, int& Low, int& High, TVector& Scale);
void ReduceToHessenberg(TMatrix& A, int Lb, int Ub, int Low, int High, TIntVector& Pivots);
void AccumulateTransforms(const TMatrix& A, int Lb, int Ub, int Low, int High,
                          const TIntVector& Pivots, TMatrix& V);
int HessenbergQR(TMatrix& A, int Lb, int Ub, int Low, int High, TVector& Lambda_Re,
                 TVector& Lambda_Im, TMatrix& V);
// M is the last column of V to treat.
void BalanceBack(TMatrix& V, int Lb, int Ub, int Low, int High, const TVector& Scale, int M);

} // namespace tensim
