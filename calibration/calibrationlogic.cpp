#include "calibrationlogic.h"

#include "replyreader.h"
#include "tricorr.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>

#include <cmath>
#include <sstream>

namespace Calibration {

namespace {
const char Context[] = "Calibration"; // the namespace: lupdate files these texts under it

QString tr(const char *text)
{
    return QCoreApplication::translate(Context, text);
}

QString matrixDebugText(const Eigen::MatrixXd &m)
{
    std::ostringstream out;
    out << m.format(Eigen::IOFormat(Eigen::FullPrecision, 0, ", ", "\n", "[", "]"));
    return QString::fromStdString(out.str());
}

// Chromaticity x, y of a tristimulus column; 0 when the sum is 0.
std::pair<double, double> chromaticity(const Eigen::Vector3d &v)
{
    const double sum = v.sum();
    if (sum == 0.0)
        return {0.0, 0.0};
    return {v.x() / sum, v.y() / sum};
}
} // namespace

Eigen::Matrix3d toMatrix(const Values9 &v)
{
    Eigen::Matrix3d m;
    m << v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8];
    return m;
}

Values9 toValues(const Eigen::Matrix3d &m)
{
    Values9 v{};
    for (int i = 0; i < 9; ++i)
        v[size_t(i)] = m(i / 3, i % 3);
    return v;
}

int whiteGroup(int groupCount)
{
    return groupCount == 1 ? 1 : 4;
}

bool writesWhite(int groupCount)
{
    return groupCount != 3;
}

bool isGroupCount(int groupCount)
{
    return groupCount == 1 || groupCount == 3 || groupCount == 4 || groupCount == 5;
}

Method methodFor(int groupCount, int computedCount, bool tricorr)
{
    if (tricorr && computedCount == 4)
        return Method::Tricorr;
    return groupCount < 3 ? Method::Diagonal : Method::LeastSquares;
}

Eigen::Matrix3Xd toTristimulus(const Eigen::Matrix3Xd &t, Mode mode)
{
    if (mode == Mode::XYZ)
        return t;
    Eigen::Matrix3Xd out(3, t.cols());
    for (int j = 0; j < t.cols(); ++j) {
        const double x = t(0, j), y = t(1, j), lv = t(2, j);
        out(0, j) = y == 0.0 ? 0.0 : x * lv / y;
        out(1, j) = lv;
        out(2, j) = y == 0.0 ? 0.0 : (1.0 - x - y) * lv / y;
    }
    return out;
}

bool Average::add(const QString &reply, Mode mode)
{
    Triple v{};
    if (mode == Mode::xyLv) {
        ReplyReader::XyLv r;
        if (!ReplyReader::readPlain(reply, &r))
            return false;
        v = {{r.x.value, r.y.value, r.lv.value}};
    } else {
        ReplyReader::Xyz r;
        if (!ReplyReader::readXyzFields(reply, &r))
            return false;
        v = {{r.X.value, r.Y.value, r.Z.value}};
    }
    for (int i = 0; i < 3; ++i)
        m_sum[size_t(i)] += v[size_t(i)];
    ++m_count;
    return true;
}

Triple Average::mean() const
{
    if (m_count == 0)
        return {{0, 0, 0}};
    return {{m_sum[0] / m_count, m_sum[1] / m_count, m_sum[2] / m_count}};
}

bool isMesTimes(const QString &text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    // Digits only, no sign, blank or leading zero: exactly the texts "1" .. "50".
    return ok && n >= 1 && n <= 50 && text == QString::number(n);
}

QString measuredText(double v)
{
    return QString::number(v, 'g', 6);
}

QString errorText(double v)
{
    return QString::number(v, 'f', 4);
}

QString matrixText(double v)
{
    return QString::number(v, 'e', 7);
}

QString problemText(Problem p)
{
    switch (p) {
    case Problem::None:
        return QString();
    case Problem::XOutOfRange:
        return tr("Invalid calibration data, x should be in (0, 1)!");
    case Problem::YOutOfRange:
        return tr("Invalid calibration data, y should be in (0, 1)!");
    case Problem::LvNotPositive:
        return tr("Invalid calibration data, Lv should be positive!");
    case Problem::GroupOverflow:
        return tr("Input parameter is overflow!");
    case Problem::RefAllZero:
        return tr("Invalid calibration reference data, all the data are 0!");
    case Problem::MesAllZero:
        return tr("Invalid calibration measure data, all the data are 0!");
    case Problem::ResultAllZero:
        return tr("Invalid calibration result data, all the data are 0!");
    case Problem::NotMeasured:
        return tr("A group used for the calculation is not measured (all its readings failed), "
                  "please measure it again!");
    case Problem::NoResult:
        return tr("The groups do not determine a calibration matrix, please use distinct colors!");
    }
    return QString();
}

Eigen::Matrix3Xd residualErrors(const Eigen::Matrix3d &W, const Eigen::Matrix3Xd &R,
                                const Eigen::Matrix3Xd &S, Mode mode)
{
    const Eigen::Matrix3Xd r = toTristimulus(R, mode), s = toTristimulus(S, mode);
    Eigen::Matrix3Xd e(3, r.cols());
    for (int j = 0; j < r.cols(); ++j) {
        const Eigen::Vector3d p = W * s.col(j);
        const auto [xp, yp] = chromaticity(p);
        const auto [xr, yr] = chromaticity(r.col(j));
        e(0, j) = (xp - xr) * 10000.0;
        e(1, j) = (yp - yr) * 10000.0;
        e(2, j) = (p.y() - r(1, j)) / r(1, j) * 100.0;
    }
    return e;
}

Generated generate(const Eigen::Matrix3Xd &R, const Eigen::Matrix3Xd &S, Mode mode, int groupCount,
                   int computedCount, const QVector<bool> &measured, Calculator calculator)
{
    Generated g;
    const bool factory = calculator == Calculator::Factory;
    const char *prefix = factory ? "Factory Calibration" : "UserCalibration Calibration";
    g.method = methodFor(groupCount, computedCount, !factory);
    if (groupCount > MaxGroups || computedCount > MaxGroups || groupCount < 1 || computedCount < 1 ||
        R.cols() < std::max(groupCount, computedCount) || S.cols() != R.cols()) {
        g.problem = Problem::GroupOverflow;
        return g;
    }
    // A group whose readings all failed holds zeros, not a measurement of its patch.
    for (int j = 0; j < computedCount && j < measured.size(); ++j) {
        if (!measured.at(j)) {
            g.problem = Problem::NotMeasured;
            return g;
        }
    }
    if (mode == Mode::xyLv) {
        const int columns = std::max(groupCount, computedCount);
        for (const Eigen::Matrix3Xd *t : {&R, &S}) {
            for (int j = 0; j < columns; ++j) {
                if (!(t->coeff(0, j) > 0.0 && t->coeff(0, j) < 1.0))
                    g.problem = Problem::XOutOfRange;
                else if (!(t->coeff(1, j) > 0.0 && t->coeff(1, j) < 1.0))
                    g.problem = Problem::YOutOfRange;
                else if (j < computedCount && !(t->coeff(2, j) > 0.0))
                    g.problem = Problem::LvNotPositive;
                if (g.problem != Problem::None)
                    return g;
            }
        }
    }
    const Eigen::Matrix3Xd r = R.leftCols(computedCount), s = S.leftCols(computedCount);
    if (r.isZero(0.0)) {
        g.problem = Problem::RefAllZero;
        return g;
    }
    if (s.isZero(0.0)) {
        g.problem = Problem::MesAllZero;
        return g;
    }
    qDebug().noquote() << prefix << "Ref:" << matrixDebugText(r);
    qDebug().noquote() << prefix << "Mes:" << matrixDebugText(s);

    Eigen::MatrixXd W(3, 3);
    W.setZero();
    if (g.method == Method::Tricorr) {
        if (mode == Mode::XYZ)
            TricorrMatrix_XYZ(r, s, &W);
        else
            TricorrMatrix_xyLv(r, s, &W);
        Eigen::MatrixXd E(3, computedCount);
        if (mode == Mode::XYZ)
            TricorrError_XYZ(W, r, s, &E);
        else
            TricorrError_xyLv(W, r, s, &E);
        g.errors = E.leftCols(std::min(groupCount, computedCount));
    } else {
        const Eigen::Matrix3Xd rt = toTristimulus(r, mode), st = toTristimulus(s, mode);
        if (g.method == Method::Diagonal) {
            for (int i = 0; i < 3; ++i)
                W(i, i) = st(i, 0) == 0.0 ? 0.0 : rt(i, 0) / st(i, 0);
        } else {
            // Groups that do not span three dimensions (one colour measured twice, a mixture of
            // two others) leave S·Sᵀ singular: no matrix follows from them.
            const Eigen::Matrix3d sst = st * st.transpose();
            if (std::abs(sst.determinant()) <= 1e-12 * std::pow(sst.norm(), 3)) {
                g.problem = Problem::NoResult;
                return g;
            }
            W = (rt * st.transpose()) * sst.inverse();
        }
    }
    g.weight = W;
    qDebug().noquote() << prefix << "Weight:" << matrixDebugText(W);
    if (!g.weight.allFinite()) {
        g.problem = Problem::NoResult;
        return g;
    }
    if (g.weight.isZero(0.0)) {
        g.problem = Problem::ResultAllZero;
        return g;
    }
    if (g.method != Method::Tricorr)
        g.errors = residualErrors(g.weight, R.leftCols(groupCount), S.leftCols(groupCount), mode);
    return g;
}

Eigen::Matrix3d compose(const Eigen::Matrix3d &W, const Eigen::Matrix3d &M)
{
    return (M.transpose() * W.transpose()).transpose();
}

void appendCompositionLog(const QString &path, const Eigen::Matrix3d &M, const Eigen::Matrix3d &W)
{
    QFile f(path);
    if (!f.exists() || !f.open(QIODevice::ReadWrite | QIODevice::Append))
        return;
    std::ostringstream out;
    out << "mRead\n"
        << M << "\nmWeig\n"
        << W << "\nmReadT\n"
        << M.transpose() << "\nmWeigT\n"
        << W.transpose() << "\nmWeigF\n"
        << M.transpose() * W.transpose() << "\nmWeigFT\n"
        << compose(W, M) << "\n";
    f.write(QByteArray::fromStdString(out.str()));
}

// ---- writing a whole channel ----------------------------------------------------------------

namespace {
// Reads the extra parameters back: -1 when all hold, else the first one that did not.
int verifyExtra(const ChannelLink &link, const QVector<QPair<int, QString>> &extra, bool *differs,
                bool *unread)
{
    for (const auto &p : extra) {
        QString back;
        if (!link.read(p.first, &back)) {
            *unread = true;
            return p.first;
        }
        bool number = false;
        p.second.toDouble(&number);
        if (number ? !sameValue(p.second, back) : back != p.second) {
            *differs = true;
            return p.first;
        }
    }
    return -1;
}
} // namespace

Channel channelFromRecord(const ReplyReader::ChannelRecord &record)
{
    Channel c;
    c.channel = record.channel;
    for (size_t i = 0; i < 9; ++i)
        c.matrix[i] = record.matrix[i];
    c.name = record.name;
    c.date = record.date;
    c.x = record.x;
    c.y = record.y;
    c.lv = record.lv;
    return c;
}

ChannelParams channelParams(const Channel &c)
{
    const auto text = [](double v) { return QString::number(v, 'g', 10); };
    ChannelParams p;
    for (size_t i = 0; i < 9; ++i)
        p.matrix[i] = text(c.matrix[i]);
    p.extra = {{14, text(c.x)}, {15, text(c.y)}, {16, text(c.lv)}, {11, c.name}, {12, c.date}};
    return p;
}

WriteOutcome writeWholeChannel(const ChannelLink &link, const ChannelParams &wanted,
                               const ChannelParams &before)
{
    WriteOutcome o = writeChannel(link, wanted.matrix, before.matrix, wanted.extra);
    if (!o.ok() && o.failedParam < 9)
        return o; // stopped in the matrix, which is back: nothing else was written
    if (o.ok()) {
        o.failedParam = verifyExtra(link, wanted.extra, &o.readBackDiffers, &o.readBackFailed);
        if (o.failedParam < 0)
            return o;
    }
    // Some of the extra parameters may hold new values: the previous channel goes back whole.
    bool differs = false, unread = false;
    o.result = writeChannel(link, before.matrix, before.matrix, before.extra).ok() &&
                       verifyExtra(link, before.extra, &differs, &unread) < 0
                   ? WriteOutcome::Restored
                   : WriteOutcome::RestoreFailed;
    return o;
}

} // namespace Calibration
