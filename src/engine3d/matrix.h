// 4x4 matrices for row vectors: a point p = (x, y, z, 1) maps to p*M, so the translation lies
// in elements 12, 13, 14. Point transforms never read elements 3, 7, 11, 15.
#pragma once

#include "engine3d/world.h"

void matrix_identity(float m[kMatrixSize]);

void matrix_copy(float dst[kMatrixSize], const float src[kMatrixSize]);

// dst = a*b, through a temporary, so dst may be a or b.
void matrix_multiply(float dst[kMatrixSize], const float a[kMatrixSize], const float b[kMatrixSize]);

// dst = src*R(a, b, c) with the engine's rotation by three angles in radians; dst may be src.
void matrix_rotate(float dst[kMatrixSize], const float src[kMatrixSize], float a, float b, float c);

// The point (x, y, z, 1) times m.
Vector3 matrix_transform_point(const float m[kMatrixSize], float x, float y, float z);

// The direction (x, y, z) times the 3x3 part of m (no translation).
Vector3 matrix_rotate_vector(const float m[kMatrixSize], float x, float y, float z);
