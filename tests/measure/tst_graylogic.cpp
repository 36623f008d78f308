// Gray-level lists, colour tasks, reply rows, the gamma fit and both CSV layouts, without a
// window. Expected values are written out by hand or come from the power law itself.
#include "graylogic.h"

#include <QtTest>

#include <cmath>

using namespace GrayLogic;

class TestGrayLogic : public QObject
{
    Q_OBJECT
private slots:
    void toneLevels_data();
    void toneLevels();
    void gammaLevels_data();
    void gammaLevels();
    void colourText_data();
    void colourText();
    void selectionColoursInOrder();
    void replyRow_data();
    void replyRow();
    void fit_data();
    void fit();
    void csvLayouts();
};

void TestGrayLogic::toneLevels_data()
{
    QTest::addColumn<int>("tones");
    QTest::addColumn<int>("lower");
    QTest::addColumn<int>("upper");
    QTest::addColumn<QString>("levels");
    QTest::newRow("16 full") << 16 << 0 << 255
                             << "0,15,31,47,63,79,95,111,127,143,159,175,191,207,223,239,255";
    QTest::newRow("16 in 100..200") << 16 << 100 << 200 << "0,111,127,143,159,175,191";
}

void TestGrayLogic::toneLevels()
{
    QFETCH(int, tones);
    QFETCH(int, lower);
    QFETCH(int, upper);
    QFETCH(QString, levels);
    QCOMPARE(GrayLogic::toneLevels(tones, lower, upper).join(','), levels);
}

void TestGrayLogic::gammaLevels_data()
{
    QTest::addColumn<int>("tones");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("second");
    QTest::newRow("16") << 16 << 17 << 15;
    QTest::newRow("256: no repeated 0") << 256 << 256 << 1;
}

void TestGrayLogic::gammaLevels()
{
    QFETCH(int, tones);
    QFETCH(int, count);
    QFETCH(int, second);
    const QVector<int> l = GrayLogic::gammaLevels(tones);
    QCOMPARE(l.size(), count);
    QCOMPARE(l.first(), 0);
    QCOMPARE(l.at(1), second);
    QCOMPARE(l.last(), 255);
    QVERIFY(std::is_sorted(l.begin(), l.end()) && std::adjacent_find(l.begin(), l.end()) == l.end());
    QCOMPARE(gammaTasks(tones, FlagWhite | FlagBlue).size(), 2);
}

void TestGrayLogic::colourText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("over range") << "256,0,0" << false;
    QTest::newRow("two numbers") << "1,2" << false;
    QTest::newRow("negative") << "-1,0,0" << false;
    QTest::newRow("limits") << "0,255,0" << true;
}

void TestGrayLogic::colourText()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(parseColour(text), valid);
}

void TestGrayLogic::selectionColoursInOrder()
{
    QStringList shown;
    for (const Task &t : selectionTasks({FlagBlue | FlagWhite, "16", {"0", "255"}}))
        shown += t.colours;
    QCOMPARE(shown, QStringList({"0,0,0", "255,255,255", "0,0,0", "0,0,255"}));
    // Custom excludes the colours: one task with the listed colours as they are.
    const QVector<Task> custom = selectionTasks({FlagCustom | FlagRed, "16", {"12,34,56", "1,2,3"}});
    QCOMPARE(custom.size(), 1);
    QCOMPARE(custom.first().colours, QStringList({"12,34,56", "1,2,3"}));
}

void TestGrayLogic::replyRow_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("xyz"); // X, Y, Z, x, y
    // X = x/y*Lv = 0.3127/0.3290*100, Z = (1-x-y)/y*Lv = 0.3583/0.3290*100
    QTest::newRow("D65 at 100") << "OK00,P1,0,0.3127,0.3290,100.0000,0.1978,0.4683" << true
                                << "95.0456,100.0000,108.906,0.3127,0.3290";
    QTest::newRow("dark") << "OK00,P1,0,0.3127,0.3290,0.0000,0.1978,0.4683" << true << "0.0,0.0,0.0,0.0,0.0";
    QTest::newRow("four fields") << "OK00,P1,0,0.3127,0.3290,100.0000,0.1978" << false << "";
    QTest::newRow("flicker reply") << "OK00,-25.65,1;2;3" << false << "";
}

void TestGrayLogic::replyRow()
{
    QFETCH(QString, reply);
    QFETCH(bool, read);
    QFETCH(QString, xyz);
    Point p;
    QCOMPARE(readPoint(reply, &p), read);
    if (read)
        QCOMPARE(QStringList({p.X, p.Y, p.Z, p.x, p.y}).join(','), xyz);
}

void TestGrayLogic::fit_data()
{
    QTest::addColumn<double>("gamma");
    QTest::addColumn<int>("tones");
    QTest::addColumn<double>("leak"); // cd/m² added at levels at or below 5 % (not fitted)
    QTest::newRow("2.2, 16 tones") << 2.2 << 16 << 0.0;
    QTest::newRow("2.4, 256 tones") << 2.4 << 256 << 0.0;
    QTest::newRow("1.8, leak in the shadows") << 1.8 << 256 << 3.0;
    QTest::newRow("one usable level") << 2.2 << 2 << 0.0;
}

void TestGrayLogic::fit()
{
    QFETCH(double, gamma);
    QFETCH(int, tones);
    QFETCH(double, leak);
    Series s;
    for (int g : GrayLogic::gammaLevels(tones)) {
        s.levels << g;
        s.lum << 180.0 * std::pow(g / 255.0, gamma) + (g <= 12 ? leak : 0.0);
    }
    const double fitted = fitGamma(s);
    if (tones == 2)
        QVERIFY(std::isnan(fitted)); // only 127 lies inside the fitted range
    else
        QVERIFY2(std::fabs(fitted - gamma) < 1e-9, qPrintable(QString::number(fitted, 'g', 12)));
}

void TestGrayLogic::csvLayouts()
{
    MeasurementModel model;
    model.setColumns(grayColumns());
    Point p;
    QVERIFY(readPoint("OK00,P1,0,0.3127,0.3290,100.0000,0.1978,0.4683", &p));
    const qint64 stamp = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)).toMSecsSinceEpoch();
    model.append(pointRecord("12,34,56", p, 42, stamp));
    QString text;
    QTextStream out(&text);
    writeTableCsv(out, model);
    out.flush();
    const QStringList lines = text.split('\n');
    QCOMPARE(lines.at(0), QString::fromUtf8(" ,RGB,X,Y,Z,x,y,Lv,u',v',Tcp,duv,λd,Pe,Δt,Date,Time,"));
    const QStringList f = lines.at(1).split(',');
    // number; colour in three fields; X..Lv; six recomputed; Δt; date; blank + time; trailing.
    QCOMPARE(f.mid(0, 10), QStringList({"1", "12", "34", "56", "95.0456", "100.0000", "108.906", "0.3127",
                                        "0.3290", "100.0000"}));
    QCOMPARE(f.mid(16), QStringList({"42", "2026/03/04", "", "05:06:07", ""}));
    QVERIFY(std::fabs(f.at(10).toDouble() - 4 * 95.0456 / (95.0456 + 1500 + 3 * 108.906)) < 1e-5); // u'
    QVERIFY(std::fabs(f.at(12).toDouble() - 6504) < 5);                                            // D65 Tcp

    // The gamma export: levels with normalised luminance and drift, the table, the fit.
    std::array<Series, SeriesCount> series;
    for (int g : GrayLogic::gammaLevels(16)) {
        series[SeriesRed].levels << g;
        series[SeriesRed].lum << 40 * std::pow(g / 255.0, 2.2);
        series[SeriesRed].x << 0.64 - g * 1e-4;
        series[SeriesRed].y << 0.33;
    }
    MeasurementModel gammaModel;
    gammaModel.setColumns(gammaColumns());
    text.clear();
    writeGammaCsv(out, series, gammaModel, "2026/03/04");
    out.flush();
    const QStringList g = text.split('\n');
    QCOMPARE(g.at(0), QString("Date,2026/03/04"));
    QCOMPARE(g.at(1), QString::fromUtf8("Tone,Red,R_Δx,R_Δy,R_Δz"));
    QCOMPARE(g.at(3), QString("15,%1,%2,0,%3")
                          .arg(std::pow(15 / 255.0, 2.2), 0, 'g', 6)
                          .arg(0.024, 0, 'g', 6)
                          .arg(-0.024, 0, 'g', 6));
    QCOMPARE(g.at(18), QString("255,1,0,0,0"));
    QVERIFY(g.at(19).startsWith(" ,Tone,"));
    QCOMPARE(g.at(20), QString("Fitted Gamma,Red,2.2"));
}

QTEST_GUILESS_MAIN(TestGrayLogic)
#include "tst_graylogic.moc"
