#pragma once
// 3 x 2 affine matrices as GDI+ keeps them: a point (x, y) maps to
// (m11·x + m21·y + dx, m12·x + m22·y + dy). Prepending M makes M act first.
#include "platform/gdiplus/types.h"

namespace vs {

class GpMatrix {
 public:
  GpMatrix() = default;
  GpMatrix(double m11, double m12, double m21, double m22, double dx, double dy)
      : m{m11, m12, m21, m22, dx, dy} {}

  // This then other.
  GpMatrix Then(const GpMatrix& other) const;
  void Multiply(const GpMatrix& other, MatrixOrder order);
  GpPointF Apply(double x, double y) const;
  // A direction: the translation is left out.
  GpPointF ApplyVector(double x, double y) const;
  double Determinant() const { return m[0] * m[3] - m[1] * m[2]; }
  bool Invertible() const;

  double m[6] = {1, 0, 0, 1, 0, 0};
};

GpStatus GdipCreateMatrix(GpMatrix** matrix);
GpStatus GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy, GpMatrix** matrix);
GpStatus GdipCloneMatrix(GpMatrix* matrix, GpMatrix** clone);
GpStatus GdipDeleteMatrix(GpMatrix* matrix);
GpStatus GdipSetMatrixElements(GpMatrix* matrix, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);
GpStatus GdipGetMatrixElements(const GpMatrix* matrix, REAL* elements);  // six values
GpStatus GdipMultiplyMatrix(GpMatrix* matrix, GpMatrix* other, MatrixOrder order);
GpStatus GdipTranslateMatrix(GpMatrix* matrix, REAL dx, REAL dy, MatrixOrder order);
GpStatus GdipScaleMatrix(GpMatrix* matrix, REAL sx, REAL sy, MatrixOrder order);
// Degrees, clockwise on the y-down page.
GpStatus GdipRotateMatrix(GpMatrix* matrix, REAL angle, MatrixOrder order);
GpStatus GdipTransformMatrixPoints(GpMatrix* matrix, GpPointF* points, int count);

}  // namespace vs
