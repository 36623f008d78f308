#include "tricorr.h"

#include <cmath>
#include <limits>

namespace {

using Eigen::Matrix3d;
using Eigen::MatrixXd;
using Eigen::Vector3d;

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
// A 3×3 matrix counts as singular when |det| is below this fraction of the product of its
// column lengths (Hadamard's bound): scale-free, so luminances in any unit behave alike.
constexpr double singularRatio = 1e-10;

enum class Form
{
    XYZ,
    xyLv
};

// One colour as chromaticity x, y and luminance Y.
struct ColourxyY
{
    double x = notANumber;
    double y = notANumber;
    double Y = notANumber;
    bool valid = false;
};

ColourxyY columnxyY(const MatrixXd &m, int j, Form form)
{
    ColourxyY c;
    const double a = m(0, j);
    const double b = m(1, j);
    const double l = m(2, j);
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(l))
        return c;
    if (form == Form::xyLv) {
        c = {a, b, l, b > 0.0};
        return c;
    }
    const double sum = a + b + l;
    if (sum == 0.0)
        return c;
    c = {a / sum, b / sum, b, b / sum > 0.0};
    return c;
}

Vector3d columnXYZ(const MatrixXd &m, int j, Form form)
{
    if (form == Form::XYZ)
        return m.col(j).head<3>();
    const double x = m(0, j);
    const double y = m(1, j);
    const double Lv = m(2, j);
    if (y == 0.0)
        return Vector3d::Constant(notANumber);
    return Vector3d(x * Lv / y, Lv, (1.0 - x - y) * Lv / y);
}

bool nearlySingular(const Matrix3d &m)
{
    const double bound = m.col(0).norm() * m.col(1).norm() * m.col(2).norm();
    return !(bound > 0.0) || !(std::abs(m.determinant()) > singularRatio * bound);
}

// The primaries' tristimulus matrix (one column per primary) scaled so that the three add up
// to the white of column 3. False when the chromaticities are collinear or white is not a
// positive mixture of the primaries (columns in the wrong order, for example).
bool primaryMatrix(const MatrixXd &m, Form form, Matrix3d *out)
{
    ColourxyY c[4];
    for (int j = 0; j < 4; ++j) {
        c[j] = columnxyY(m, j, form);
        if (!c[j].valid)
            return false;
    }
    if (!(c[3].Y > 0.0))
        return false;
    Matrix3d chroma;
    for (int j = 0; j < 3; ++j)
        chroma.col(j) = Vector3d(c[j].x, c[j].y, 1.0 - c[j].x - c[j].y);
    if (nearlySingular(chroma))
        return false;
    const Vector3d white(c[3].x / c[3].y * c[3].Y, c[3].Y, (1.0 - c[3].x - c[3].y) / c[3].y * c[3].Y);
    const Vector3d k = chroma.partialPivLu().solve(white);
    if (!(k.minCoeff() > 0.0))
        return false;
    *out = chroma * k.asDiagonal();
    return out->allFinite() && !nearlySingular(*out);
}

bool shapeOk(const MatrixXd &R, const MatrixXd &S)
{
    return R.rows() == 3 && S.rows() == 3 && R.cols() >= 4 && S.cols() == R.cols();
}

int matrix(const MatrixXd &R, const MatrixXd &S, MatrixXd *W, Form form)
{
    if (!W)
        return -1;
    *W = MatrixXd::Zero(3, 3);
    if (!shapeOk(R, S))
        return -1;
    Matrix3d reference;
    Matrix3d measured;
    if (!primaryMatrix(R, form, &reference) || !primaryMatrix(S, form, &measured))
        return -1;
    const Matrix3d result = reference * measured.inverse();
    if (!result.allFinite())
        return -1;
    *W = result;
    return 0;
}

Vector3d chromaticityAndY(const Vector3d &XYZ)
{
    const double sum = XYZ.sum();
    if (sum == 0.0)
        return Vector3d(notANumber, notANumber, XYZ(1));
    return Vector3d(XYZ(0) / sum, XYZ(1) / sum, XYZ(1));
}

int error(const MatrixXd &W, const MatrixXd &R, const MatrixXd &S, MatrixXd *E, Form form)
{
    if (!E)
        return -1;
    const Eigen::Index n = R.rows() == 3 && R.cols() > 0 ? R.cols() : 4;
    *E = MatrixXd::Constant(3, n, notANumber);
    if (R.rows() != 3 || S.rows() != 3 || R.cols() == 0 || S.cols() != R.cols())
        return -1;
    if (W.rows() != 3 || W.cols() != 3 || !W.allFinite() || W.isZero(0.0))
        return -1;
    for (Eigen::Index j = 0; j < n; ++j) {
        const Vector3d corrected = chromaticityAndY(W * columnXYZ(S, int(j), form));
        const Vector3d reference = chromaticityAndY(columnXYZ(R, int(j), form));
        (*E)(0, j) = (corrected(0) - reference(0)) * 10000.0;
        (*E)(1, j) = (corrected(1) - reference(1)) * 10000.0;
        (*E)(2, j) = reference(2) != 0.0 ? (corrected(2) - reference(2)) / reference(2) * 100.0 : notANumber;
    }
    return 0;
}

} // namespace

int TricorrMatrix_XYZ(Eigen::MatrixXd R, Eigen::MatrixXd S, Eigen::MatrixXd *W)
{
    return matrix(R, S, W, Form::XYZ);
}

int TricorrMatrix_xyLv(Eigen::MatrixXd R, Eigen::MatrixXd S, Eigen::MatrixXd *W)
{
    return matrix(R, S, W, Form::xyLv);
}

int TricorrError_XYZ(Eigen::MatrixXd W, Eigen::MatrixXd R, Eigen::MatrixXd S, Eigen::MatrixXd *E)
{
    return error(W, R, S, E, Form::XYZ);
}

int TricorrError_xyLv(Eigen::MatrixXd W, Eigen::MatrixXd R, Eigen::MatrixXd S, Eigen::MatrixXd *E)
{
    return error(W, R, S, E, Form::xyLv);
}
