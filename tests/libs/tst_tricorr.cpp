// The calibration-matrix module through its four exported functions. Reference: the
// four-colour matrix method of Ohno and Hardis (1997) and its synthetic check: a colorimeter
// that reads A·XYZ must get A⁻¹ back, and after correction the x, y of all four colours and
// the luminance of white equal the reference.
#include "tricorr.h"

#include <QtTest>

#include <cmath>
#include <random>

using Eigen::Matrix3d;
using Eigen::MatrixXd;
using Eigen::Vector3d;

Q_DECLARE_METATYPE(Eigen::MatrixXd)

namespace {

// sRGB primaries (IEC 61966-2-1) with their luminances, and white as their sum.
MatrixXd srgbReference()
{
    const double xy[3][2] = {{0.64, 0.33}, {0.30, 0.60}, {0.15, 0.06}};
    const double Y[3] = {21.26, 71.52, 7.22};
    MatrixXd R(3, 4);
    for (int j = 0; j < 3; ++j) {
        const double x = xy[j][0], y = xy[j][1];
        R.col(j) = Vector3d(x / y * Y[j], Y[j], (1 - x - y) / y * Y[j]);
    }
    R.col(3) = R.col(0) + R.col(1) + R.col(2);
    return R;
}

Matrix3d colorimeterResponse()
{
    Matrix3d A;
    A << 1.02, 0.03, -0.01, 0.01, 0.98, 0.02, -0.02, 0.01, 1.05;
    return A;
}

// Columns X, Y, Z → columns x, y, Lv.
MatrixXd toxyLv(const MatrixXd &m)
{
    MatrixXd out(3, m.cols());
    for (int j = 0; j < m.cols(); ++j) {
        const double s = m.col(j).sum();
        out.col(j) = Vector3d(m(0, j) / s, m(1, j) / s, m(1, j));
    }
    return out;
}

} // namespace

class TestTricorr : public QObject
{
    Q_OBJECT

private slots:
    void recoversInverseResponse_data();
    void recoversInverseResponse();
    void reproducesAllFourChromaticitiesUnderNoise();
    void errorUnits();
    void degenerateInput_data();
    void degenerateInput();
    void errorOfUnusableMatrix();
};

void TestTricorr::recoversInverseResponse_data()
{
    QTest::addColumn<bool>("xyLv");
    QTest::addColumn<double>("scale");
    QTest::addColumn<bool>("fifth"); // a fifth group: the first four make the matrix, E covers all
    QTest::newRow("XYZ") << false << 1.0 << false;
    QTest::newRow("xyLv") << true << 1.0 << false;
    // Luminances of a dim and a bright display: the method does not care about the unit.
    QTest::newRow("XYZ dim, five groups") << false << 0.01 << true;
    QTest::newRow("xyLv bright") << true << 50.0 << false;
}

void TestTricorr::recoversInverseResponse()
{
    QFETCH(bool, xyLv);
    QFETCH(double, scale);
    QFETCH(bool, fifth);
    MatrixXd R = srgbReference() * scale;
    if (fifth) {
        R.conservativeResize(3, 5);
        R.col(4) = Vector3d(30, 40, 20) * scale;
    }
    const Matrix3d A = colorimeterResponse();
    const MatrixXd S = A * R;
    MatrixXd W, E(1, 1); // outputs of the wrong size are resized
    const int rc = xyLv ? TricorrMatrix_xyLv(toxyLv(R), toxyLv(S), &W) : TricorrMatrix_XYZ(R, S, &W);
    QCOMPARE(rc, 0);
    const double deviation = (W - A.inverse()).cwiseAbs().maxCoeff();
    QVERIFY2(deviation < 1e-9, qPrintable(QString::number(deviation)));
    const int rcE = xyLv ? TricorrError_xyLv(W, toxyLv(R), toxyLv(S), &E) : TricorrError_XYZ(W, R, S, &E);
    QCOMPARE(rcE, 0);
    QCOMPARE(E.rows(), 3);
    QCOMPARE(E.cols(), R.cols());
    QVERIFY2(E.cwiseAbs().maxCoeff() < 1e-8, qPrintable(QString::number(E.cwiseAbs().maxCoeff())));
}

// The defining property of the method, independent of how it is computed: whatever the
// measured values, the corrected x, y of red, green, blue and white and the corrected Y of
// white equal the reference. Only the Y of the primaries may differ.
void TestTricorr::reproducesAllFourChromaticitiesUnderNoise()
{
    std::mt19937 gen(1997);
    std::normal_distribution<double> noise(0.0, 0.03);
    const MatrixXd R = srgbReference();
    for (int trial = 0; trial < 50; ++trial) {
        MatrixXd S = colorimeterResponse() * R;
        for (int k = 0; k < S.size(); ++k)
            S(k) *= 1 + noise(gen);
        for (bool xyLv : {false, true}) {
            MatrixXd W(3, 3), E(3, 4);
            if (xyLv) {
                QCOMPARE(TricorrMatrix_xyLv(toxyLv(R), toxyLv(S), &W), 0);
                QCOMPARE(TricorrError_xyLv(W, toxyLv(R), toxyLv(S), &E), 0);
            } else {
                QCOMPARE(TricorrMatrix_XYZ(R, S, &W), 0);
                QCOMPARE(TricorrError_XYZ(W, R, S, &E), 0);
            }
            // E rows are in 0.0001 of x and y and in % of Y.
            QVERIFY(E.topRows(2).cwiseAbs().maxCoeff() < 1e-8);
            QVERIFY(std::abs(E(2, 3)) < 1e-8);
            // With 3 % noise the primaries' luminances are off by a few percent.
            QVERIFY(E.block(2, 0, 1, 3).cwiseAbs().maxCoeff() > 0.01);
        }
    }
}

void TestTricorr::errorUnits()
{
    // Reference white D65-like at 100 cd/m²; the "corrected" reading (W = identity) is off by
    // +0.001 in x, -0.0005 in y and +1 % in Y: errors 10, -5 and 1 in the documented units.
    MatrixXd R = srgbReference();
    MatrixXd S = R;
    const double x = 0.3127, y = 0.3290, Y = 100;
    R.col(3) = Vector3d(x / y * Y, Y, (1 - x - y) / y * Y);
    const double xs = x + 0.001, ys = y - 0.0005, Ys = 101;
    S.col(3) = Vector3d(xs / ys * Ys, Ys, (1 - xs - ys) / ys * Ys);
    MatrixXd E(3, 4);
    QCOMPARE(TricorrError_XYZ(Matrix3d::Identity(), R, S, &E), 0);
    QVERIFY(std::abs(E(0, 3) - 10) < 1e-9);
    QVERIFY(std::abs(E(1, 3) + 5) < 1e-9);
    QVERIFY(std::abs(E(2, 3) - 1) < 1e-9);
    QVERIFY(E.leftCols(3).cwiseAbs().maxCoeff() < 1e-12);
}

void TestTricorr::degenerateInput_data()
{
    QTest::addColumn<MatrixXd>("R");
    QTest::addColumn<MatrixXd>("S");
    QTest::addColumn<bool>("xyLv");
    const MatrixXd good = srgbReference();
    const MatrixXd measured = colorimeterResponse() * good;

    QTest::newRow("measured all zero") << good << MatrixXd(MatrixXd::Zero(3, 4)) << false;
    MatrixXd collinear = good;
    // Green on the straight line between red and blue (chromaticity), any luminance.
    collinear.col(1) = 0.5 * (good.col(0) / good.col(0).sum() + good.col(2) / good.col(2).sum()) * 80;
    QTest::newRow("collinear primaries") << collinear << measured << false;
    QTest::newRow("collinear measured") << good << collinear << false;
    MatrixXd swapped = good;
    swapped.col(0).swap(swapped.col(3)); // white first: not a positive mix of the primaries
    QTest::newRow("white in the red column") << swapped << measured << false;
    QTest::newRow("three columns") << MatrixXd(good.leftCols(3)) << MatrixXd(measured.leftCols(3)) << false;
    QTest::newRow("sizes differ") << good << MatrixXd(measured.leftCols(3)) << false;
    MatrixXd withNan = measured;
    withNan(1, 2) = std::nan("");
    QTest::newRow("NaN") << good << withNan << false;
    MatrixXd yZero = toxyLv(good);
    yZero(1, 0) = 0;
    QTest::newRow("xyLv y = 0") << yZero << toxyLv(measured) << true;
    MatrixXd darkWhite = toxyLv(good);
    darkWhite(2, 3) = 0;
    QTest::newRow("xyLv white Lv = 0") << darkWhite << toxyLv(measured) << true;
}

void TestTricorr::degenerateInput()
{
    QFETCH(MatrixXd, R);
    QFETCH(MatrixXd, S);
    QFETCH(bool, xyLv);
    MatrixXd W = MatrixXd::Constant(3, 3, 7.0);
    const int rc = xyLv ? TricorrMatrix_xyLv(R, S, &W) : TricorrMatrix_XYZ(R, S, &W);
    QCOMPARE(rc, -1);
    QCOMPARE(W.rows(), 3);
    QCOMPARE(W.cols(), 3);
    QVERIFY(W.isZero(0.0));
    // The zero matrix goes on to the error function, as the page calls it: NaN, no crash.
    MatrixXd E(3, 4);
    const int rcE = xyLv ? TricorrError_xyLv(W, R, S, &E) : TricorrError_XYZ(W, R, S, &E);
    QCOMPARE(rcE, -1);
    QVERIFY(E.array().isNaN().all());
    QVERIFY(E.rows() == 3);
}

void TestTricorr::errorOfUnusableMatrix()
{
    const MatrixXd R = srgbReference();
    MatrixXd E(3, 4);
    QCOMPARE(TricorrError_XYZ(MatrixXd::Identity(2, 2), R, R, &E), -1);
    QVERIFY(E.array().isNaN().all());
    MatrixXd W = Matrix3d::Identity();
    W(1, 1) = INFINITY;
    QCOMPARE(TricorrError_XYZ(W, R, R, &E), -1);
    // A column whose reference Y is 0 gets NaN luminance error, the rest is filled.
    MatrixXd R2 = R;
    R2.col(2) = Vector3d(1, 0, 1);
    QCOMPARE(TricorrError_XYZ(Matrix3d::Identity(), R2, R2, &E), 0);
    QVERIFY(std::isnan(E(2, 2)));
    QCOMPARE(E(0, 2), 0.0);
    QCOMPARE(E(2, 0), 0.0);
    // Null outputs are refused.
    QCOMPARE(TricorrMatrix_XYZ(R, R, nullptr), -1);
    QCOMPARE(TricorrError_XYZ(Matrix3d::Identity(), R, R, nullptr), -1);
}

QTEST_APPLESS_MAIN(TestTricorr)
#include "tst_tricorr.moc"
