// The colour-gamut dialog end to end against krn4-sim: the simulated display shows full red,
// green and blue through sRGB primaries, the dialog measures them through the real serial
// link and compares the triangle with the reference gamuts. Expected ratios are the published
// areas (REFERENCES), not our own output. With KT_GRAB_DIR set, the diagrams are also saved as
// PNG for a person to look at.
#include "gamutcalc.h"
#include "ktcolorgamut.h"
#include "ktcolorgamuthoseshose.h"
#include "kthorseshoe.h"
#include "ktresources.h"
#include "ktsettings.h"
#include "pagelog.h"
#include "pagetest.h"
#include "simprocess.h"
#include "ui_ktcolorgamut.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace PageTest;

class TestColorGamut : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void srgbPrimariesGiveSrgbHundredPercent();
    void collinearPointsGiveZero();
    void exportHasExactlyTheLayout();
    void exportBeforeAnyMeasurementHasEmptyCells();
    void groupBoxesStayChecked();
    void remeasuredGroupKeepsOnlyItsLatestPoint();
    void closedPortIsRefusedWithAMessage();
    void failedGroupIsMarkedAndCalculateRefused();
    void canonicalReplyIsRead_data();
    void canonicalReplyIsRead();

private:
    void measure(int group, const QString &colour);
    double percent(QLineEdit *field) const;
    QString control(const QString &line) { return m_sim->control(line); }

    SimProcess *m_sim = nullptr;
    ktPublicConfig *m_hub = nullptr;
    ktColorGamut *m_dialog = nullptr;
};

void TestColorGamut::initTestCase()
{
    ktInitResources();
    PAGETEST_START_SIM(m_sim);
}

void TestColorGamut::cleanupTestCase()
{
    delete m_sim;
}

void TestColorGamut::init()
{
    control("fault clear");
    control("display reset");
    control("display primaries 0.64,0.33,0.30,0.60,0.15,0.06");
    control("display white 0.3127,0.3290");
    control("display peak 100");
    QVERIFY(openProbePort(m_sim->linkPath()));
    m_hub = new ktPublicConfig;
    m_dialog = new ktColorGamut(m_hub);
}

void TestColorGamut::cleanup()
{
    delete m_dialog;
    m_dialog = nullptr;
    delete m_hub;
    m_hub = nullptr;
    probePort()->close();
}

void TestColorGamut::measure(int group, const QString &colour)
{
    control("show " + colour);
    QPushButton *buttons[] = {m_dialog->form()->pbmes1, m_dialog->form()->pbmes2, m_dialog->form()->pbmes3,
                              m_dialog->form()->pbmes4};
    buttons[group - 1]->click(); // blocking: two readings 50 ms apart
}

double TestColorGamut::percent(QLineEdit *field) const
{
    const QString t = field->text();
    // Exactly one decimal and "%".
    return t.endsWith('%') && t.indexOf('.') == t.size() - 3 ? t.chopped(1).toDouble() : -1;
}

void TestColorGamut::srgbPrimariesGiveSrgbHundredPercent()
{
    measure(1, "255,0,0");
    measure(2, "0,255,0");
    measure(3, "0,0,255");
    Ui::ktColorGamutForm *f = m_dialog->form();
    const auto near = [](QLineEdit *field, double expected, double tolerance) {
        return std::fabs(field->text().toDouble() - expected) < tolerance;
    };
    QVERIFY(near(f->le_MFlickerX1, 0.64, 0.001) && near(f->le_MFlickerY2, 0.60, 0.001));
    QVERIFY2(near(f->le_MFlickerZ2, 71.52, 0.5), qPrintable(f->le_MFlickerZ2->text()));
    QVERIFY(m_sim->control("received 10").contains("MDS,0"));
    QVERIFY(!m_dialog->diagram()->showTriangle());
    f->pbCalcu->click();
    // sRGB area 0.112050 against NTSC 0.158200, DCI-P3 0.152000, BT.2020 0.211866.
    const QList<QPair<QLineEdit *, double>> areas = {
        {f->le_sRGB, 0.112050}, {f->le_NTSC, 0.158200}, {f->le_DCI_P3, 0.152000}, {f->le_BT2020, 0.211866}};
    for (const auto &a : areas)
        QVERIFY2(std::fabs(percent(a.first) - 0.112050 / a.second * 100) <= 0.5, qPrintable(a.first->text()));
    QVERIFY(m_dialog->diagram()->showTriangle());
    QCOMPARE(m_dialog->diagram()->points().size(), 3);
    m_dialog->resize(1100, 720);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    const QImage gamut = m_dialog->diagram()->grab().toImage();
    // The measured triangle is drawn in yellow: some pure yellow pixels exist.
    int yellow = 0;
    for (int y = 0; y < gamut.height(); ++y)
        for (int x = 0; x < gamut.width(); ++x)
            yellow += gamut.pixelColor(x, y) == QColor(Qt::yellow);
    QVERIFY(yellow > 50);

    ktHorseShoe shoe;
    shoe.resize(640, 640);
    shoe.addData(QPointF(0.64, 0.33), 1);
    shoe.addData(QPointF(0.30, 0.60), 2);
    shoe.addData(QPointF(0.15, 0.06), 3);
    shoe.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shoe));
    const QImage standalone = shoe.grab().toImage();
    const QString dir = qEnvironmentVariable("KT_GRAB_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        m_dialog->grab().save(dir + "/colorgamut-dialog.png");
        gamut.save(dir + "/colorgamut-diagram.png");
        standalone.save(dir + "/horseshoe.png");
    }
    // The next measurement hides the triangle again.
    measure(4, "255,255,255");
    QVERIFY(!m_dialog->diagram()->showTriangle());
    QCOMPARE(m_dialog->diagram()->points().size(), 3);
}

void TestColorGamut::collinearPointsGiveZero()
{
    // Yellow is a mix of the red and green primaries, so it lies on the line between them.
    measure(1, "255,0,0");
    measure(2, "255,255,0");
    measure(3, "0,255,0");
    Ui::ktColorGamutForm *f = m_dialog->form();
    f->pbCalcu->click();
    for (QLineEdit *le : {f->le_NTSC, f->le_sRGB, f->le_DCI_P3, f->le_BT2020})
        QCOMPARE(le->text(), QString("0.0%"));
}

void TestColorGamut::exportHasExactlyTheLayout()
{
    measure(1, "255,0,0");
    measure(2, "0,255,0");
    measure(3, "0,0,255");
    Ui::ktColorGamutForm *f = m_dialog->form();
    f->pbCalcu->click();
    QTemporaryDir dir;
    const QString path = dir.filePath("gamut.csv");
    QString proposed;
    m_dialog->askExportPath = [&](const QString &p) {
        proposed = p;
        return path;
    };
    ModalCloser closer;
    closer.arm();
    f->pbExport->click();
    QVERIFY(closer.seen);
    QCOMPARE(closer.text, QString("Export successfully!"));
    QVERIFY(proposed.endsWith("ColorGamutData.csv"));
    QCOMPARE(KtSettings::readSetting(KtSettings::Key::ColorGamutPath), dir.path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString expected =
        QString(" ,R,G,B\nx,%1,%2,%3\ny,%4,%5,%6\nLv,%7,%8,%9\n\n\n")
            .arg(f->le_MFlickerX1->text(), f->le_MFlickerX2->text(), f->le_MFlickerX3->text(),
                 f->le_MFlickerY1->text(), f->le_MFlickerY2->text(), f->le_MFlickerY3->text(),
                 f->le_MFlickerZ1->text(), f->le_MFlickerZ2->text(), f->le_MFlickerZ3->text()) +
        QString("NTSC:,%1\nsRGB:,%2\nDCI-P3:,%3\nBT.2020:,%4\n")
            .arg(f->le_NTSC->text(), f->le_sRGB->text(), f->le_DCI_P3->text(), f->le_BT2020->text());
    QCOMPARE(QString::fromUtf8(file.readAll()), expected);
    QVERIFY(expected.contains("sRGB:,10"));
}

void TestColorGamut::exportBeforeAnyMeasurementHasEmptyCells()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.csv");
    m_dialog->askExportPath = [&](const QString &) { return path; };
    ModalCloser closer;
    closer.arm();
    m_dialog->form()->pbExport->click();
    QVERIFY(closer.seen);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(),
             QByteArray(" ,R,G,B\nx,,,\ny,,,\nLv,,,\n\n\nNTSC:,\nsRGB:,\nDCI-P3:,\nBT.2020:,\n"));
    // A cancelled dialog writes nothing.
    QFile::remove(path);
    m_dialog->askExportPath = [](const QString &) { return QString(); };
    m_dialog->form()->pbExport->click();
    QVERIFY(!QFile::exists(path));
}

void TestColorGamut::groupBoxesStayChecked()
{
    Ui::ktColorGamutForm *f = m_dialog->form();
    for (QGroupBox *box : {f->gb_mes1, f->gb_mes2, f->gb_mes3, f->gb_mes4}) {
        QVERIFY(box->isChecked());
        box->show();
    }
    f->gb_mes3->setChecked(false);
    emit f->gb_mes3->clicked(false);
    QVERIFY(f->gb_mes3->isChecked());
    QVERIFY(f->pbmes3->isEnabled());
}

void TestColorGamut::remeasuredGroupKeepsOnlyItsLatestPoint()
{
    measure(1, "255,0,0");
    const QPointF first = m_dialog->diagram()->points().value(0);
    measure(1, "0,0,255");
    QCOMPARE(m_dialog->diagram()->points().size(), 1);
    const QPointF latest = m_dialog->diagram()->points().value(0);
    QVERIFY(std::fabs(latest.x() - 0.15) < 0.001);
    QVERIFY(latest != first);
}

void TestColorGamut::closedPortIsRefusedWithAMessage()
{
    probePort()->close();
    ModalCloser closer;
    closer.arm();
    m_dialog->form()->pbmes1->click();
    QVERIFY(closer.seen);
    QCOMPARE(closer.text, QString("Serial port is not opened!"));
    QVERIFY(m_dialog->form()->le_MFlickerX1->text().isEmpty());
}

// A failed group is marked and keeps no number (a 0 there used to give NTSC 22.8 %), and
// Calculate names every group it still needs instead of computing a triangle through it.
void TestColorGamut::failedGroupIsMarkedAndCalculateRefused()
{
    Ui::ktColorGamutForm *f = m_dialog->form();
    measure(1, "255,0,0");
    measure(2, "0,255,0");
    control("fault error 20 4");
    measure(2, "0,255,0"); // fails after an earlier success
    PageLog *log = m_dialog->logView();
    QVERIFY(log->toPlainText().contains("Measurement is failed!"));
    QCOMPARE(m_dialog->groupState(2), ktColorGamut::GroupState::Failed);
    QVERIFY(f->le_MFlickerX2->text().isEmpty() && f->le_MFlickerZ2->text().isEmpty());
    QCOMPARE(f->le_MFlickerX2->placeholderText(), QString("failed"));
    QVERIFY(f->gb_mes2->styleSheet().contains("red"));
    QCOMPARE(m_dialog->diagram()->points().keys(), QList<int>({0})); // its old point is gone
    QVERIFY(f->pbmes2->isEnabled());

    control("fault clear");
    ModalCloser closer;
    closer.arm();
    f->pbCalcu->click();
    QVERIFY(closer.seen);
    QVERIFY2(closer.text.contains("Mes.2 failed") && closer.text.contains("Mes.3 has not been measured") &&
                 !closer.text.contains("Mes.1"),
             qPrintable(closer.text));
    QVERIFY(f->le_NTSC->text().isEmpty() && !m_dialog->diagram()->showTriangle());

    // The first garbled reply answers the display-mode command, the second the reading.
    control("fault garbage 2");
    measure(3, "0,0,255");
    QVERIFY(log->toPlainText().contains("Format error!"));
    QCOMPARE(m_dialog->groupState(3), ktColorGamut::GroupState::Failed);
    control("fault clear");
    measure(2, "0,255,0"); // measured again: the mark goes
    QCOMPARE(m_dialog->groupState(2), ktColorGamut::GroupState::Measured);
    QVERIFY(f->gb_mes2->styleSheet().isEmpty() && !f->le_MFlickerX2->text().isEmpty());
}

void TestColorGamut::canonicalReplyIsRead_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("lv");
    QTest::newRow("semicolons, 1/10000") << "OK00,P1,6400;3300;21.260" << true << 0.64 << 21.26;
    QTest::newRow("commas, 1/10000") << "OK00,P1,6400,3300,21.260" << true << 0.64 << 21.26;
    QTest::newRow("commas, decimals") << "OK00,P1,0.6400,0.3300,21.26" << true << 0.64 << 21.26;
    QTest::newRow("two fields") << "OK00,P1,6400;3300" << false << 0.0 << 0.0;
    QTest::newRow("letters") << "OK00,P1,ab;cd;ef" << false << 0.0 << 0.0;
}

void TestColorGamut::canonicalReplyIsRead()
{
    QFETCH(QString, reply);
    QFETCH(bool, ok);
    QFETCH(double, x);
    QFETCH(double, lv);
    double gx = 0, gy = 0, glv = 0;
    QCOMPARE(ktColorGamut::parseReading(reply, &gx, &gy, &glv), ok);
    if (ok) {
        QCOMPARE(gx, x);
        QCOMPARE(gy, 0.33);
        QCOMPARE(glv, lv);
    }
}

QTEST_MAIN(TestColorGamut)
#include "tst_colorgamut.moc"
