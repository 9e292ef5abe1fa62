// The small dense services of the cap solvers: norms and maxima of cap
// vectors, the carry of a displacement and a load between the origin and a
// point, the bordered systems of a run with displacements given at a point,
// and the cap envelope. Cap vectors are 6 doubles (X vertical, Y, Z, then
// the rotations) in space and 3 (X, Y, rotation Z) in the plane; matrices are
// column-major.
#pragma once

#include "model/analysis_control.hpp"

namespace pilecap {

// ---------------------------------------------------- dense cap services

// MAX_ABS_TRANSLATION_ROTATION
// The largest magnitude among components 1-3 (translation) and among 4-6
// (rotation) of a cap vector.
void MAX_ABS_TRANSLATION_ROTATION(const double* v, double& translation, double& rotation);

// NEGATE_VECTOR6: destination := -source (a zero becomes a negative zero).
void NEGATE_VECTOR6(const double* source, double* destination);

// TRANSFER_ORIGIN_POINT
// Carries the cap displacement at the origin to the point r by rigid-body
// motion and the equivalent load at the origin to the point (forces kept,
// moments M - r x F); a load-controlled DOF (flag 1) takes its prescribed
// point load, and for a force DOF the load at the origin takes it as well.
//   in:     u        displacement at the origin (6)
//   in,out: f        load at the origin (6); forces of flagged DOFs replaced
//   in:     r        point (3)
//   out:    u_point, f_point  (6 each), written only when moved is 1
//   in:     given    prescribed point loads (6); flags (6): 1 load prescribed
//   out:    moved    0 when r is exactly the origin (nothing written), else 1
void TRANSFER_ORIGIN_POINT(const double* u, double* f, const double* r, double* u_point, double* f_point,
                           const double* given, const int* flags, int& moved);

// DOF_FLAG_CHARACTERS
// Marker characters of the point tables: an asterisk on the load of every
// load-controlled DOF (flag not 0) and on the displacement of every other.
//   Reads: UnitLabels characters 34 (blank) and 35 (asterisk)
void DOF_FLAG_CHARACTERS(const int* flags, char* load_marks, char* displacement_marks);

// UPDATE_CAP_ENVELOPE
// Folds one run's equivalent load and cap displacement at the origin into
// CapEnvelope; the run that finds AnalysisControl.first_run equal to 1
// starts the envelope afresh.
void UPDATE_CAP_ENVELOPE(const double* load, const double* displacement);

// ------------------------------------ loads and displacements at a point

constexpr int POINT_SYSTEM_ORDER = 12;

// BUILD_POINT_SYSTEM
// The 12 x 12 system of a run with displacements given at a point: the
// tangent k bordered by one rigid-body constraint row and column per DOF
// whose displacement is given (flag 0) and a unit diagonal for the others.
//   out: s (144, column-major); in: k (36), r (3) point, flags (6)
void BUILD_POINT_SYSTEM(double* s, const double* k, const double* r, const int* flags);

// POINT_SYSTEM_RESIDUAL
// Right-hand side b (residual, then the displacement misfits d - u_point of
// the given DOFs) and force target a (forces, then the given displacements).
//   out: b, a (12 each); in: residual, forces, d, u (6 each), r (3), flags (6)
void POINT_SYSTEM_RESIDUAL(double* b, double* a, const double* residual, const double* forces, const double* d,
                           const double* u, const double* r, const int* flags);

// MULTIPLY_12X12_BY_VECTOR: out := m v for a column-major 12 x 12 m; out
// must not share storage with m or v.
void MULTIPLY_12X12_BY_VECTOR(double* out, const double* m, const double* v);

// CAP_DISPLACEMENT_NORMS: Euclidean norms of components 1-3 and of 4-6.
void CAP_DISPLACEMENT_NORMS(const double* v, double& translation, double& rotation);

// ------------------------------------------ mixed control in 2D, vectors

constexpr int MIXED_SYSTEM_ORDER_2D = 6;

// BUILD_MIXED_SYSTEM_2D
// The 6 x 6 bordered system: k in rows and columns 1-3, and per DOF d a
// constraint row c_d (c_1 = (1, 0, -y_p), c_2 = (0, 1, x_p), c_3 = (0, 0, 1))
// in row 3 + d and its transpose in column 3 + d when flag d is 0
// (displacement prescribed), else a unit diagonal.
//   out: s (36); in: k (9), point (x_p, y_p), flags (3)
void BUILD_MIXED_SYSTEM_2D(double* s, const double* k, const double* point, const int* flags);

// MIXED_RESIDUAL_2D
// Right-hand side r (residual, then target - present point displacement of
// every displacement-controlled DOF) and its companion d (forces, then the
// targets); 0 in both for a load-controlled DOF.
//   out: r, d (6 each); in: residual, forces, targets, u (3 each), point, flags
void MIXED_RESIDUAL_2D(double* r, double* d, const double* residual, const double* forces, const double* targets,
                       const double* u, const double* point, const int* flags);

// MULTIPLY_MIXED_SYSTEM_2D: out := s v for the 6 x 6 s; out must not share
// storage with s or v.
void MULTIPLY_MIXED_SYSTEM_2D(double* out, const double* s, const double* v);

// LIMIT_COUPLING_TERMS_2D
// The first-iteration limit of a point run: each off-diagonal pair whose
// magnitude exceeds half the magnitude of the diagonal of its row is set to
// that half with its sign, row 1, then 2, then 3, each test seeing the
// values the earlier ones left.
//   in,out: k (9, column-major)
void LIMIT_COUPLING_TERMS_2D(double* k);

// TRANSFER_ORIGIN_POINT_2D
// Carries the displacement at the origin to the point by rigid-body motion
// and the load to (FX, FY, MZ - x_p FY + y_p FX); a DOF flagged 1 takes its
// prescribed point load, and for a force DOF the origin load takes it too.
//   in:     u (3); in,out: f (3); in: point (x_p, y_p)
//   out:    u_point, f_point (3 each, only when moved is 1)
//   in:     given (3 point loads), flags (3)
//   out:    moved  0 when the point is exactly the origin, else 1
void TRANSFER_ORIGIN_POINT_2D(const double* u, double* f, const double* point, double* u_point, double* f_point,
                              const double* given, const int* flags, int& moved);

// DOF_FLAG_CHARACTERS_2D: the asterisk on the load of every load-controlled
// DOF (flag not 0) and on the displacement of every other (UnitLabels
// characters 34 and 35).
void DOF_FLAG_CHARACTERS_2D(const int* flags, char* load_marks, char* displacement_marks);

// CAP_DISPLACEMENT_NORMS_2D: sqrt(a^2 + b^2) and |c| of (a, b, c).
void CAP_DISPLACEMENT_NORMS_2D(const double* v, double& translation, double& rotation);

// MAX_ABS_2D: max(|a|, |b|) (|b| only when strictly larger) and |c|.
void MAX_ABS_2D(const double* v, double& translation, double& rotation);

// UPDATE_CAP_ENVELOPE_2D
// Folds a run's load and displacement at the origin into components 1-3 of
// CapEnvelope; the run that finds AnalysisControl.first_run 1 starts afresh.
void UPDATE_CAP_ENVELOPE_2D(const double* load, const double* displacement);

// COPY_VECTOR3: destination := source (3 doubles).
void COPY_VECTOR3(const double* source, double* destination);

}  // namespace pilecap
