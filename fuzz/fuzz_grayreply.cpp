// The gray-scanning and gamma pages' handling of "MES,1" replies of any content: the input is
// cut into replies at "\n", the first byte before each picks its colour; every reply that reads
// (readPoint) becomes a table record (pointRecord) and a point of that colour's gamma series,
// and at the end both CSV exports and the gamma fit run. A point that reads has all five texts;
// a record has its texts and numbers; the gamma CSV ends with the "Fitted Gamma" line.

#include "graylogic.h"

#include <QTextStream>

#include <cstddef>
#include <cstdint>

using namespace GrayLogic;

namespace {
void check(bool property)
{
    if (!property)
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> replies = QByteArray(reinterpret_cast<const char *>(data), int(size)).split('\n');
    MeasurementModel gray, gamma;
    gray.setColumns(grayColumns());
    gamma.setColumns(gammaColumns());
    std::array<Series, SeriesCount> series;
    int level = 0;
    for (const QByteArray &raw : replies) {
        if (raw.isEmpty())
            continue;
        const int colour = quint8(raw.at(0)) % SeriesCount;
        const QString reply = QString::fromLatin1(raw.mid(1));
        Point p;
        if (!readPoint(reply, &p))
            continue;
        for (const QString *t : {&p.X, &p.Y, &p.Z, &p.x, &p.y})
            check(!t->isEmpty());
        const MeasurementModel::Record r =
            pointRecord(QString::number(level), p, 12, 1700000000000, {"a", "b"});
        check(r.texts.size() == 10 && r.numbers.size() == 7);
        gray.append(r);
        gamma.append(r);
        Series &s = series[size_t(colour)];
        s.levels << level;
        s.lum << p.lv;
        s.x << p.xValue;
        s.y << p.yValue;
        level = (level + 37) % 256;
    }
    for (const Series &s : series) {
        const QVector<double> n = normalised(s);
        check(n.size() == s.lum.size());
        const Drift d = drift(s);
        check(d.dx.size() == s.x.size() && d.dz.size() == s.x.size());
        (void)fitGamma(s);
    }
    QString text;
    QTextStream out(&text);
    writeTableCsv(out, gray);
    writeGammaCsv(out, series, gamma, QStringLiteral("2026/12/07"));
    out.flush();
    check(text.contains(QLatin1String("\nFitted Gamma")) && text.endsWith(QLatin1Char('\n')));
    return 0;
}
