#include "platform/gdiplus/matrix.h"

#include <cmath>
#include <numbers>

namespace vs {

GpMatrix GpMatrix::Then(const GpMatrix& b) const {
  const double* a = m;
  return {a[0] * b.m[0] + a[1] * b.m[2], a[0] * b.m[1] + a[1] * b.m[3],
          a[2] * b.m[0] + a[3] * b.m[2], a[2] * b.m[1] + a[3] * b.m[3],
          a[4] * b.m[0] + a[5] * b.m[2] + b.m[4], a[4] * b.m[1] + a[5] * b.m[3] + b.m[5]};
}

void GpMatrix::Multiply(const GpMatrix& other, MatrixOrder order) {
  *this = order == MatrixOrderPrepend ? other.Then(*this) : Then(other);
}

GpPointF GpMatrix::Apply(double x, double y) const {
  return {static_cast<REAL>(x * m[0] + y * m[2] + m[4]), static_cast<REAL>(x * m[1] + y * m[3] + m[5])};
}

GpPointF GpMatrix::ApplyVector(double x, double y) const {
  return {static_cast<REAL>(x * m[0] + y * m[2]), static_cast<REAL>(x * m[1] + y * m[3])};
}

bool GpMatrix::Invertible() const { return std::isfinite(Determinant()) && Determinant() != 0; }

GpStatus GdipCreateMatrix(GpMatrix** matrix) {
  if (!matrix) return InvalidParameter;
  *matrix = new GpMatrix();
  return Ok;
}

GpStatus GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy, GpMatrix** matrix) {
  if (!matrix) return InvalidParameter;
  *matrix = new GpMatrix(m11, m12, m21, m22, dx, dy);
  return Ok;
}

GpStatus GdipCloneMatrix(GpMatrix* matrix, GpMatrix** clone) {
  if (!matrix || !clone) return InvalidParameter;
  *clone = new GpMatrix(*matrix);
  return Ok;
}

GpStatus GdipDeleteMatrix(GpMatrix* matrix) {
  delete matrix;
  return Ok;
}

GpStatus GdipSetMatrixElements(GpMatrix* matrix, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy) {
  if (!matrix) return InvalidParameter;
  *matrix = GpMatrix(m11, m12, m21, m22, dx, dy);
  return Ok;
}

GpStatus GdipGetMatrixElements(const GpMatrix* matrix, REAL* elements) {
  if (!matrix || !elements) return InvalidParameter;
  for (int i = 0; i < 6; ++i) elements[i] = static_cast<REAL>(matrix->m[i]);
  return Ok;
}

GpStatus GdipMultiplyMatrix(GpMatrix* matrix, GpMatrix* other, MatrixOrder order) {
  if (!matrix || !other) return InvalidParameter;
  matrix->Multiply(*other, order);
  return Ok;
}

GpStatus GdipTranslateMatrix(GpMatrix* matrix, REAL dx, REAL dy, MatrixOrder order) {
  if (!matrix) return InvalidParameter;
  matrix->Multiply(GpMatrix(1, 0, 0, 1, dx, dy), order);
  return Ok;
}

GpStatus GdipScaleMatrix(GpMatrix* matrix, REAL sx, REAL sy, MatrixOrder order) {
  if (!matrix) return InvalidParameter;
  matrix->Multiply(GpMatrix(sx, 0, 0, sy, 0, 0), order);
  return Ok;
}

GpStatus GdipRotateMatrix(GpMatrix* matrix, REAL angle, MatrixOrder order) {
  if (!matrix) return InvalidParameter;
  double r = angle * std::numbers::pi / 180.0;
  double c = std::cos(r), s = std::sin(r);
  // Exact values for the quarter turns, so that 90° keeps axes exact.
  if (std::fmod(angle, 90.0f) == 0) {
    c = std::round(c);
    s = std::round(s);
  }
  matrix->Multiply(GpMatrix(c, s, -s, c, 0, 0), order);
  return Ok;
}

GpStatus GdipTransformMatrixPoints(GpMatrix* matrix, GpPointF* points, int count) {
  if (!matrix || !points || count <= 0) return InvalidParameter;
  for (int i = 0; i < count; ++i) points[i] = matrix->Apply(points[i].X, points[i].Y);
  return Ok;
}

}  // namespace vs
