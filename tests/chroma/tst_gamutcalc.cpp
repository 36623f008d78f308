// Gamut arithmetic, the reference-gamut file and the export, without widgets. Reference areas
// and the sRGB/NTSC area ratio are the published figures (REFERENCES: shoelace areas of the
// ITU-R BT.470 M, IEC 61966-2-1, SMPTE RP 431-2 and ITU-R BT.2020 primaries).
#include "gamutcalc.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

using namespace GamutCalc;

class TestGamutCalc : public QObject
{
    Q_OBJECT
private slots:
    void area_data();
    void area();
    void ratio_data();
    void ratio();
    void missingFileReadsZeros();
    void defaultFileInstalledAndRead();
    void installKeepsOperatorFile();
    void partialFileLeavesZeros();
    void exportLayout();
    void exportEmptyCells();
    void exportToUnwritablePathFails();
    void geometry();
};

void TestGamutCalc::area_data()
{
    QTest::addColumn<QVector<double>>("p");
    QTest::addColumn<double>("expected");
    QTest::newRow("NTSC 1953") << QVector<double>{0.67, 0.33, 0.21, 0.71, 0.14, 0.08} << 0.158200;
    QTest::newRow("sRGB") << QVector<double>{0.64, 0.33, 0.30, 0.60, 0.15, 0.06} << 0.112050;
    QTest::newRow("DCI-P3") << QVector<double>{0.680, 0.320, 0.265, 0.690, 0.150, 0.060} << 0.152000;
    QTest::newRow("BT.2020") << QVector<double>{0.708, 0.292, 0.170, 0.797, 0.131, 0.046} << 0.211866;
    // Orientation must not matter: B, G, R gives the same area.
    QTest::newRow("sRGB reversed") << QVector<double>{0.15, 0.06, 0.30, 0.60, 0.64, 0.33} << 0.112050;
    QTest::newRow("collinear") << QVector<double>{0.1, 0.1, 0.3, 0.3, 0.6, 0.6} << 0.0;
    QTest::newRow("two equal points") << QVector<double>{0.3, 0.3, 0.3, 0.3, 0.6, 0.2} << 0.0;
}

void TestGamutCalc::area()
{
    QFETCH(QVector<double>, p);
    QFETCH(double, expected);
    const float a = triangleArea(p[0], p[1], p[2], p[3], p[4], p[5]);
    QVERIFY2(std::fabs(a - expected) < 2e-6, qPrintable(QString::number(a, 'g', 9)));
}

void TestGamutCalc::ratio_data()
{
    QTest::addColumn<double>("area");
    QTest::addColumn<double>("reference");
    QTest::addColumn<QString>("text");
    QTest::newRow("equal") << 0.11205 << 0.11205 << "100.0%";
    // sRGB against NTSC: 70.828 % by area (REFERENCES).
    QTest::newRow("sRGB/NTSC") << 0.11205 << 0.1582 << "70.8%";
    QTest::newRow("larger than reference") << 0.2118665 << 0.11205 << "189.1%";
    QTest::newRow("zero area") << 0.0 << 0.1582 << "0.0%";
    QTest::newRow("missing reference") << 0.1 << 0.0 << "--";
    QTest::newRow("reference too small") << 1e30 << 1e-300 << "--";
    QTest::newRow("area not a number") << std::nan("") << 0.1582 << "--";
    QTest::newRow("rounding 72.25") << 0.7225 << 1.0 << "72.3%";
}

void TestGamutCalc::ratio()
{
    QFETCH(double, area);
    QFETCH(double, reference);
    QFETCH(QString, text);
    QCOMPARE(ratioText(area, reference), text);
}

void TestGamutCalc::missingFileReadsZeros()
{
    QTemporaryDir dir;
    const References r = readReferences(dir.filePath("none.ini"));
    QCOMPARE(r.ntsc.gamut, 0.0);
    QCOMPARE(r.srgb.rx, 0.0);
    QCOMPARE(r.bt2020.by, 0.0);
    QVERIFY(!QFile::exists(dir.filePath("none.ini")));
}

void TestGamutCalc::defaultFileInstalledAndRead()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("sysconfig/ColorGamut.ini");
    QVERIFY(installDefaultIni(path));
    const References r = readReferences(path);
    QCOMPARE(r.ntsc.rx, 0.67);
    QCOMPARE(r.ntsc.gy, 0.71);
    QCOMPARE(r.srgb.bx, 0.15);
    QCOMPARE(r.dcip3.gx, 0.265);
    QCOMPARE(r.bt2020.by, 0.046);
    // The stored areas are the exact triangle areas of the stored primaries.
    for (const Reference *ref : {&r.ntsc, &r.srgb, &r.dcip3, &r.bt2020}) {
        const double computed = std::fabs(ref->rx * ref->gy + ref->gx * ref->by + ref->bx * ref->ry -
                                          ref->rx * ref->by - ref->gx * ref->ry - ref->bx * ref->gy) /
                                2.0;
        QVERIFY2(std::fabs(computed - ref->gamut) < 1e-12, qPrintable(ref->name));
    }
    QCOMPARE(r.bt2020.gamut, 0.2118665);
}

void TestGamutCalc::installKeepsOperatorFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("ColorGamut.ini");
    {
        QSettings ini(path, QSettings::IniFormat);
        ini.setValue("ColorGamut/sRGB_Gamut", 0.5);
    }
    QVERIFY(installDefaultIni(path));
    const References r = readReferences(path);
    QCOMPARE(r.srgb.gamut, 0.5);
    QCOMPARE(r.ntsc.gamut, 0.0);
}

void TestGamutCalc::partialFileLeavesZeros()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("ColorGamut.ini");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[ColorGamut]\nDCI-P3_Rx=0.68\nDCI-P3_Gamut=0.152\nBT2020_Gamut=abc\n");
    f.close();
    const References r = readReferences(path);
    QCOMPARE(r.dcip3.rx, 0.68);
    QCOMPARE(r.dcip3.gamut, 0.152);
    QCOMPARE(r.dcip3.ry, 0.0);
    QCOMPARE(r.bt2020.gamut, 0.0);
}

void TestGamutCalc::exportLayout()
{
    ExportData d;
    d.x[0] = "0.64";
    d.x[1] = "0.3";
    d.x[2] = "0.15";
    d.y[0] = "0.33";
    d.y[1] = "0.6";
    d.y[2] = "0.06";
    d.lv[0] = "21.26";
    d.lv[1] = "71.52";
    d.lv[2] = "7.22";
    d.ntsc = "70.8%";
    d.srgb = "100.0%";
    d.dcip3 = "73.7%";
    d.bt2020 = "52.9%";
    QTemporaryDir dir;
    const QString path = dir.filePath("ColorGamutData.csv");
    QVERIFY(saveExport(path, d));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray(" ,R,G,B\n"
                                     "x,0.64,0.3,0.15\n"
                                     "y,0.33,0.6,0.06\n"
                                     "Lv,21.26,71.52,7.22\n"
                                     "\n\n"
                                     "NTSC:,70.8%\n"
                                     "sRGB:,100.0%\n"
                                     "DCI-P3:,73.7%\n"
                                     "BT.2020:,52.9%\n"));
}

void TestGamutCalc::exportEmptyCells()
{
    QString text;
    QTextStream out(&text);
    writeExport(out, ExportData{});
    out.flush();
    QCOMPARE(text, QString(" ,R,G,B\nx,,,\ny,,,\nLv,,,\n\n\nNTSC:,\nsRGB:,\nDCI-P3:,\nBT.2020:,\n"));
}

void TestGamutCalc::exportToUnwritablePathFails()
{
    QString error;
    QVERIFY(!saveExport("/proc/no-such-dir/x.csv", ExportData{}, &error));
    QVERIFY(!error.isEmpty());
}

void TestGamutCalc::geometry()
{
    const Geometry g = Geometry::forWidget(932, 930);
    QCOMPARE(g.width, 900.0);
    QCOMPARE(g.height, 900.0);
    QCOMPARE(g.sx(), 1000.0);
    QCOMPARE(g.map(0.0, 0.0), QPointF(22.0, 906.0));
    QCOMPARE(g.map(0.9, 0.9), QPointF(922.0, 6.0));
    QCOMPARE(g.map(0.3127, 0.329), QPointF(0.3127 * 1000 + 22, 900 - 329.0 + 6));
    QVERIFY(!g.isPlottable(g.map(0.0, 0.5)));
    QVERIFY(g.isPlottable(g.map(0.001, 0.5)));
}

QTEST_GUILESS_MAIN(TestGamutCalc)
#include "tst_gamutcalc.moc"
