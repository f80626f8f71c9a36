#include "engine3d/matrix.h"

#include "core/portable_math.h"

#include <cmath>
#include <cstring>

void matrix_identity(float m[kMatrixSize]) {
    for (int i = 0; i < kMatrixSize; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

void matrix_copy(float dst[kMatrixSize], const float src[kMatrixSize]) {
    std::memmove(dst, src, sizeof(float) * kMatrixSize);
}

void matrix_multiply(float dst[kMatrixSize], const float a[kMatrixSize], const float b[kMatrixSize]) {
    float product[kMatrixSize];
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += double(a[row * 4 + k]) * b[k * 4 + col];
            product[row * 4 + col] = float(sum);
        }
    }
    matrix_copy(dst, product);
}

void matrix_rotate(float dst[kMatrixSize], const float src[kMatrixSize], float a, float b, float c) {
    const double ca = pmath::cos(a), sa = pmath::sin(a);
    const double cb = pmath::cos(b), sb = pmath::sin(b);
    const double cc = pmath::cos(c), sc = pmath::sin(c);
    float r[kMatrixSize];
    matrix_identity(r);
    r[0] = float(cb * cc);
    r[1] = float(-cb * sc);
    r[2] = float(-sb);
    r[4] = float(sc * ca - sa * sb * cc);
    r[5] = float(cc * ca + sa * sb * sc);
    r[6] = float(-sa * cb);
    r[8] = float(sa * sc + ca * sb * cc);
    r[9] = float(sa * cc - ca * sb * sc);
    r[10] = float(ca * cb);
    matrix_multiply(dst, src, r);
}

Vector3 matrix_transform_point(const float m[kMatrixSize], float x, float y, float z) {
    return Vector3{float(double(x) * m[0] + double(y) * m[4] + double(z) * m[8] + m[12]),
                   float(double(x) * m[1] + double(y) * m[5] + double(z) * m[9] + m[13]),
                   float(double(x) * m[2] + double(y) * m[6] + double(z) * m[10] + m[14])};
}

Vector3 matrix_rotate_vector(const float m[kMatrixSize], float x, float y, float z) {
    return Vector3{float(double(x) * m[0] + double(y) * m[4] + double(z) * m[8]),
                   float(double(x) * m[1] + double(y) * m[5] + double(z) * m[9]),
                   float(double(x) * m[2] + double(y) * m[6] + double(z) * m[10])};
}
