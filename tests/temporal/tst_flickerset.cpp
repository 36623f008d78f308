// The Measure tab end to end: ktFlickerSet on the shared probe port, talking through the real
// serial link to krn4-sim (its pseudo-terminal), as an operator would use it. The display the
// simulated probe looks at is set to sRGB primaries with a D65 white, so expected colours come
// from the colour standards, not from our own output.
#include "flickerlogic.h"
#include "ktcolorimetry.h"
#include "ktdominantwave.h"
#include "ktflickerset.h"
#include "kthorseshoe.h"
#include "pagetest.h"
#include "trendchart.h"
#include "simprocess.h"
#include "ui_ktflickerset.h"
#include "workerthread.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace PageTest;

class TestFlickerSet : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void singleXyLvRowMatchesTheDisplay();
    void colourModesAgreeWithTheColorimetry_data();
    void colourModesAgreeWithTheColorimetry();
    void fmaSeriesFillsTheFlickerTable();
    void jeitaSeriesFillsTheFlickerTable();
    void zeroCalibrationShowsItsMessages();
    void memoryChannelSelectionSendsMchAndRereadsName();
    void saveAsWritesTheTable();
    void seriesCount_data();
    void seriesCount();
    void twentyFirstResultGrowsTheTable();
    void stopInTheMiddleReopensThePort();
    void unreadableReplyLogsFormatErrorAndAddsNoRow();
    void unplugDuringSeriesEndsItCleanly();

private:
    QString control(const QString &line);
    void selectMode(QRadioButton *button);
    void measureOnce(int expectedRow);
    QString cell(QTableWidget *t, int row, int col) const;
    QString logText() const;

    SimProcess *m_sim = nullptr;
    ktPublicConfig *m_hub = nullptr;
    ktFlickerSet *m_page = nullptr;
};

void TestFlickerSet::initTestCase()
{
    if (SimProcess::binary().isEmpty())
        QSKIP("KT_SIM_BIN is not set; run through ctest");
    m_sim = new SimProcess;
    QVERIFY2(m_sim->start(), qPrintable(m_sim->errorText()));
}

void TestFlickerSet::cleanupTestCase()
{
    delete m_sim;
}

QString TestFlickerSet::control(const QString &line)
{
    const QString reply = m_sim->control(line);
    if (!reply.startsWith(QLatin1String("OK")))
        qWarning() << "sim control" << line << "->" << reply;
    return reply;
}

void TestFlickerSet::init()
{
    control("fault clear");
    control("modulation off");
    control("display reset");
    control("display primaries 0.64,0.33,0.30,0.60,0.15,0.06");
    control("display white 0.3127,0.3290");
    control("display peak 100");
    control("show 255,255,255");
    QVERIFY2(openProbePort(m_sim->linkPath()), qPrintable(probePort()->errorString()));
    m_hub = new ktPublicConfig;
    m_page = new ktFlickerSet(m_hub);
    PortHolder::instance()->setSyncText("NTSC:59.94[Hz]");
    PortHolder::instance()->setSpeedText("Fast");
    PortHolder::instance()->setAverageText("1");
    PortHolder::instance()->setIntegrationText("Single-Frame");
}

void TestFlickerSet::cleanup()
{
    delete m_page;
    m_page = nullptr;
    delete m_hub;
    m_hub = nullptr;
    probePort()->close();
}

void TestFlickerSet::selectMode(QRadioButton *button)
{
    button->click(); // the button group reports the click: MeasureModeFun sends "MDS,"
}

void TestFlickerSet::measureOnce(int expectedRow)
{
    m_page->form()->rb_Single->setChecked(true);
    m_page->on_pbMeasure_clicked();
    const bool colour = FlickerLogic::isColourMode(m_page->mode());
    if (colour)
        QTRY_COMPARE_WITH_TIMEOUT(m_page->brightRow(), expectedRow, 5000);
    else
        QTRY_COMPARE_WITH_TIMEOUT(m_page->flickerRow(), expectedRow, 5000);
}

QString TestFlickerSet::cell(QTableWidget *t, int row, int col) const
{
    QTableWidgetItem *item = t->item(row, col);
    return item ? item->text() : QString();
}

QString TestFlickerSet::logText() const
{
    return m_page->logView()->toPlainText();
}

void TestFlickerSet::singleXyLvRowMatchesTheDisplay()
{
    measureOnce(1);
    QTableWidget *t = m_page->form()->twMeasureBright;
    // Full white of an sRGB display: the D65 white point at the peak luminance.
    QVERIFY2(std::fabs(cell(t, 0, 3).toDouble() - 0.3127) < 0.0006, qPrintable(cell(t, 0, 3)));
    QVERIFY2(std::fabs(cell(t, 0, 4).toDouble() - 0.3290) < 0.0006, qPrintable(cell(t, 0, 4)));
    QVERIFY2(std::fabs(cell(t, 0, 5).toDouble() - 100.0) < 0.5, qPrintable(cell(t, 0, 5)));
    QCOMPARE(cell(t, 0, 5), cell(t, 0, 1));
    // X and Z follow from x, y, Lv: 95.05 and 108.9 for D65 at 100 cd/m².
    QVERIFY2(std::fabs(cell(t, 0, 0).toDouble() - 95.05) < 0.5, qPrintable(cell(t, 0, 0)));
    QVERIFY2(std::fabs(cell(t, 0, 2).toDouble() - 108.9) < 0.8, qPrintable(cell(t, 0, 2)));
    // CIE 15: D65 is 6504 K (our 380-780 nm table reads a couple of kelvin higher).
    QVERIFY2(std::fabs(cell(t, 0, 8).toDouble() - 6504) < 40, qPrintable(cell(t, 0, 8)));
    QCOMPARE(cell(t, 0, 13), QString("NTSC:59.94[Hz]"));
    QCOMPARE(cell(t, 0, 16), QString("Single-Frame"));
    QVERIFY(QRegularExpression("^\\d{4}/\\d\\d/\\d\\d$").match(cell(t, 0, 17)).hasMatch());
    QVERIFY(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d$").match(cell(t, 0, 18)).hasMatch());
    QCOMPARE(t->verticalHeaderItem(0)->text(), QString("1"));
    QCOMPARE(m_page->form()->le_FlickerZ->text(), cell(t, 0, 5));
    QCOMPARE(m_page->horseShoe()->list(1).size(), 1);
    QVERIFY(m_sim->control("received 5").contains("MDS,0"));
}

void TestFlickerSet::colourModesAgreeWithTheColorimetry_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QString>("mds");
    QTest::newRow("XYZ white") << "XYZ"
                               << "255,255,255"
                               << "MDS,7";
    QTest::newRow("Tcp,duv white") << "Tcp"
                                   << "255,255,255"
                                   << "MDS,1";
    QTest::newRow("Tcp,duv warm gray") << "Tcp"
                                       << "255,200,150"
                                       << "MDS,1";
    QTest::newRow("dominant wave red") << "Wave"
                                       << "255,0,0"
                                       << "MDS,0";
    QTest::newRow("dominant wave green") << "Wave"
                                         << "0,255,0"
                                         << "MDS,0";
}

void TestFlickerSet::colourModesAgreeWithTheColorimetry()
{
    QFETCH(QString, mode);
    QFETCH(QString, colour);
    QFETCH(QString, mds);
    control("show " + colour);
    Ui::ktFlickerSetForm *f = m_page->form();
    selectMode(mode == "XYZ" ? f->rb_ColorXYZ : mode == "Tcp" ? f->rb_Tcpduv : f->rb_DominantWave);
    QVERIFY(m_sim->control("received 3").contains(mds));
    measureOnce(1);
    QTableWidget *t = f->twMeasureBright;
    const double X = cell(t, 0, 0).toDouble(), Y = cell(t, 0, 1).toDouble(), Z = cell(t, 0, 2).toDouble();
    QVERIFY(Y > 1.0);
    if (mode == "XYZ") {
        // sRGB white at 100 cd/m²: X 95.047, Y 100, Z 108.883 (IEC 61966-2-1).
        QVERIFY2(std::fabs(X - 95.047) < 0.5, qPrintable(cell(t, 0, 0)));
        QVERIFY2(std::fabs(Y - 100.0) < 0.5, qPrintable(cell(t, 0, 1)));
        QVERIFY2(std::fabs(Z - 108.883) < 0.8, qPrintable(cell(t, 0, 2)));
        QCOMPARE(f->lb_FlickerX->text(), QString("X:"));
        QCOMPARE(f->le_FlickerY->text(), cell(t, 0, 1));
    }
    const KtColorimetry::TcpResult r = KtColorimetry::calcTcpDuv(X, Y, Z);
    QCOMPARE(cell(t, 0, 6), QString::number(r.uPrime, 'f', 4));
    QCOMPARE(cell(t, 0, 7), QString::number(r.vPrime, 'f', 4));
    // Red lies outside the Planckian table: no Tcp and no Duv ("--").
    QCOMPARE(cell(t, 0, 8), FlickerLogic::fixedOrDash(QString::number(r.Tcp, 'f', 0), 0));
    QCOMPARE(cell(t, 0, 9), FlickerLogic::fixedOrDash(QString::number(r.Duv, 'f', 4), 4));
    const KtDominantWave::WaveTexts w = KtDominantWave::calcDominantWave(cell(t, 0, 3), cell(t, 0, 4));
    QCOMPARE(cell(t, 0, 10), FlickerLogic::fixedOrDash(w.waveLength, 2));
    QCOMPARE(cell(t, 0, 11), FlickerLogic::fixedOrDash(w.purity, 2));
    if (mode == "Wave") {
        // sRGB red and green primaries: dominant wavelengths about 611 nm and 549 nm.
        const double expected = colour == "255,0,0" ? 611.3 : 549.1;
        QVERIFY2(std::fabs(cell(t, 0, 10).toDouble() - expected) < 2.0, qPrintable(cell(t, 0, 10)));
        QVERIFY(f->le_FlickerZ->text().endsWith('%'));
    }
    if (mode == "Tcp") {
        QCOMPARE(f->le_FlickerY->text(), cell(t, 0, 8));
        QCOMPARE(f->le_FlickerZ->text(), cell(t, 0, 9));
    }
}

void TestFlickerSet::fmaSeriesFillsTheFlickerTable()
{
    // A 10 % sine modulation (depth (Lmax-Lmin)/(Lmax+Lmin)) is 20 % FMA, peak to peak over mean.
    control("modulation 30 0.1 sine");
    selectMode(m_page->form()->rb_FMA);
    QVERIFY(m_sim->control("received 3").contains("MDS,6"));
    m_page->form()->rb_Cont->setChecked(true);
    m_page->form()->le_Count->setText("3");
    QSignalSpy done(m_page, &ktFlickerSet::Signal_SeriesFinished);
    m_page->on_pbMeasure_clicked();
    QVERIFY(m_page->seriesRunning());
    QVERIFY(done.wait(15000));
    QCOMPARE(m_page->flickerRow(), 3);
    QTableWidget *t = m_page->form()->twMeasureFlicker;
    QCOMPARE(t->columnCount(), 4);
    for (int r = 0; r < 3; ++r)
        QVERIFY2(std::fabs(cell(t, r, 0).toDouble() - 20.0) < 1.0, qPrintable(cell(t, r, 0)));
    QCOMPARE(m_page->form()->le_FlickerValue->text(), cell(t, 2, 0));
    QVERIFY(probePort()->isOpen());
    QVERIFY(!m_hub->busyFlag());
}

void TestFlickerSet::jeitaSeriesFillsTheFlickerTable()
{
    // A 30 Hz sine of 10 % amplitude reads about -25.6 dB by the JEITA method (REFERENCES).
    control("modulation 30 0.1 sine");
    selectMode(m_page->form()->rb_MeasureJEITA);
    QVERIFY(m_sim->control("received 3").contains("MDS,8"));
    m_page->form()->rb_Cont->setChecked(true);
    m_page->form()->le_Count->setText("2");
    QSignalSpy done(m_page, &ktFlickerSet::Signal_SeriesFinished);
    m_page->on_pbMeasure_clicked();
    QVERIFY(done.wait(15000));
    QCOMPARE(m_page->flickerRow(), 2);
    QTableWidget *t = m_page->form()->twMeasureFlicker;
    QCOMPARE(t->columnCount(), 64);
    QCOMPARE(t->horizontalHeaderItem(25)->text(), QString("30Hz"));
    for (int r = 0; r < 2; ++r) {
        QVERIFY2(std::fabs(cell(t, r, 0).toDouble() + 25.6) < 1.0, qPrintable(cell(t, r, 0)));
        // The 30 Hz column carries the line itself; 6 and 65 Hz are filled too.
        QVERIFY2(std::fabs(cell(t, r, 25).toDouble() + 25.6) < 1.0, qPrintable(cell(t, r, 25)));
        QVERIFY(!cell(t, r, 1).isEmpty());
        QVERIFY(!cell(t, r, 60).isEmpty());
    }
    // The probe port stayed with the page: a JEITA series runs on the GUI thread.
    QVERIFY(probePort()->isOpen());
}

void TestFlickerSet::zeroCalibrationShowsItsMessages()
{
    control("show 0,0,0");
    ModalCloser closer;
    closer.until = [](const QString &t) { return t != QLatin1String("Zero calibration in progress..."); };
    closer.arm();
    m_page->on_pb0Cal_clicked();
    QVERIFY(closer.seen);
    QCOMPARE(closer.texts.first(), QString("Zero calibration in progress..."));
    QCOMPARE(closer.text, QString("Zero calibration succeed!"));
    QVERIFY(m_sim->control("received 2").contains("ZRC"));

    // With the port closed nothing is sent and the page says so.
    probePort()->close();
    m_page->on_pb0Cal_clicked();
    QVERIFY(logText().contains("Serial port is not opened!"));
}

void TestFlickerSet::memoryChannelSelectionSendsMchAndRereadsName()
{
    m_page->form()->cb_memorychannnel->setCurrentIndex(7);
    const QString received = m_sim->control("received 3");
    QVERIFY2(received.contains("MCH,07"), qPrintable(received));
    QVERIFY2(received.contains("CMR,11"), qPrintable(received));
    QVERIFY(m_sim->control("state").contains("channel=7"));
    QVERIFY(!logText().contains("failed"));

    // Reading back selects the probe's channel without sending "MCH," again.
    m_page->form()->cb_memorychannnel->setCurrentIndex(3);
    m_page->form()->cb_memorychannnel->blockSignals(true);
    m_page->form()->cb_memorychannnel->setCurrentIndex(0);
    m_page->form()->cb_memorychannnel->blockSignals(false);
    m_page->on_pbreadmemorych_clicked();
    QCOMPARE(m_page->form()->cb_memorychannnel->currentText(), QString("MCH03"));
    QVERIFY(!m_page->form()->le_devicemodel->text().isEmpty());
    QVERIFY(!m_sim->control("received 4").contains("MCH,"));
}

void TestFlickerSet::saveAsWritesTheTable()
{
    measureOnce(1);
    control("show 255,0,0");
    measureOnce(2);
    control("show 10,20,200");
    measureOnce(3);
    QTemporaryDir dir;
    const QString path = dir.filePath("measure.csv");
    m_page->askSavePath = [&](const QString &) { return path; };
    ModalCloser closer;
    closer.arm();
    m_page->on_pbSaveAs_clicked();
    QVERIFY(closer.seen);
    QCOMPARE(closer.text, QString("Save successfully!"));

    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QStringList header = lines.first().split(',');
    QCOMPARE(header.takeFirst(), QString(" "));
    QCOMPARE(header.takeLast(), QString(""));
    QCOMPARE(header, FlickerLogic::brightHeaders());
    QTableWidget *t = m_page->form()->twMeasureBright;
    for (int r = 0; r < 3; ++r) {
        QStringList fields = lines.at(r + 1).split(',');
        QCOMPARE(fields.takeFirst(), QString::number(r + 1));
        QCOMPARE(fields.takeLast(), QString(""));
        QCOMPARE(fields.size(), 19);
        for (int c = 0; c < 19; ++c) {
            if (c >= 6 && c <= 9) {
                // Full precision in the file, the table shows it rounded.
                const int decimals = c == 8 ? 0 : 4;
                QCOMPARE(FlickerLogic::fixedOrDash(fields.at(c), decimals), cell(t, r, c)); // "nan" is "--"
            } else {
                QCOMPARE(fields.at(c), cell(t, r, c));
            }
        }
    }
}

void TestFlickerSet::seriesCount_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("rows");
    QTest::newRow("0 refused") << "0" << 0;
    QTest::newRow("1 refused") << "1" << 0;
    QTest::newRow("2 runs two cycles") << "2" << 2;
}

void TestFlickerSet::seriesCount()
{
    QFETCH(QString, count);
    QFETCH(int, rows);
    m_page->form()->rb_Cont->setChecked(true);
    m_page->form()->le_Count->setText(count);
    ModalCloser closer;
    if (rows == 0)
        closer.arm();
    QSignalSpy done(m_page, &ktFlickerSet::Signal_SeriesFinished);
    m_page->on_pbMeasure_clicked();
    if (rows == 0) {
        QVERIFY(closer.seen);
        QCOMPARE(closer.text, QString("The number of cycles should be greater than 2!"));
        QVERIFY(!m_page->seriesRunning());
        QVERIFY(probePort()->isOpen());
        QVERIFY(!m_hub->busyFlag());
        QTest::qWait(100);
        QCOMPARE(m_page->brightRow(), 0);
        return;
    }
    QVERIFY(m_page->seriesRunning());
    QVERIFY(m_hub->busyFlag());
    QVERIFY(!probePort()->isOpen()); // the worker has the device
    QVERIFY(!m_page->form()->pbMeasure->isEnabled());
    QVERIFY(m_page->form()->pbStop->isEnabled());
    QVERIFY(done.wait(10000));
    QCOMPARE(m_page->brightRow(), rows);
    QCOMPARE(m_page->form()->le_Count->text(), count);
    QVERIFY(probePort()->isOpen());
    QVERIFY(!m_hub->busyFlag());
    QVERIFY(m_page->form()->pbMeasure->isEnabled());
    QVERIFY(!m_page->form()->pbStop->isEnabled());
    // Both rows carry a measured duration.
    QVERIFY(cell(m_page->form()->twMeasureBright, 1, 12).toInt() >= 0);
    QVERIFY(!cell(m_page->form()->twMeasureBright, 1, 12).isEmpty());
}

void TestFlickerSet::twentyFirstResultGrowsTheTable()
{
    m_page->form()->rb_Cont->setChecked(true);
    m_page->form()->le_Count->setText("21");
    QSignalSpy rows(m_page, &ktFlickerSet::Signal_RowAdded);
    QSignalSpy done(m_page, &ktFlickerSet::Signal_SeriesFinished);
    m_page->on_pbMeasure_clicked();
    QVERIFY(done.wait(20000));
    QTableWidget *t = m_page->form()->twMeasureBright;
    QCOMPARE(m_page->brightRow(), 21);
    QCOMPARE(t->rowCount(), 21);
    QCOMPARE(t->verticalHeaderItem(20)->text(), QString("21"));
    QCOMPARE(rows.count(), 21);
    for (int i = 0; i < rows.count(); ++i)
        QCOMPARE(rows.at(i).at(0).toInt(), i + 1);
    QCOMPARE(m_page->trend()->pointCount(), 21);

    // With KT_GRAB_DIR set, the page is saved as PNG for a person to look at.
    const QString grabDir = qEnvironmentVariable("KT_GRAB_DIR");
    if (!grabDir.isEmpty()) {
        QDir().mkpath(grabDir);
        m_page->resize(1296, 640);
        m_page->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_page));
        m_page->UpdateWidget();
        QTest::qWait(300);
        m_page->grab().save(grabDir + "/measure-tab.png");
        m_page->on_pbHorseShoe_clicked();
        QVERIFY(QTest::qWaitForWindowExposed(m_page->horseShoe()));
        m_page->horseShoe()->grab().save(grabDir + "/measure-horseshoe.png");
    }
}

void TestFlickerSet::stopInTheMiddleReopensThePort()
{
    m_page->form()->rb_Cont->setChecked(true);
    m_page->form()->le_Count->setText("1000");
    m_page->form()->le_InterValSec->setText("20"); // 20 ms between cycles: about 20 s in all
    QSignalSpy done(m_page, &ktFlickerSet::Signal_SeriesFinished);
    m_page->on_pbMeasure_clicked();
    QTRY_VERIFY_WITH_TIMEOUT(m_page->brightRow() >= 3, 10000);
    m_page->form()->pbStop->click();
    QCOMPARE(done.count(), 1);
    QVERIFY(!m_page->seriesRunning());
    QVERIFY(probePort()->isOpen());
    QVERIFY(!m_hub->busyFlag());
    QCOMPARE(m_page->remainingCount(), 0);
    QCOMPARE(m_page->form()->le_Count->text(), QString("1000"));
    const int rows = m_page->brightRow();
    QVERIFY2(rows < 1000, qPrintable(QString::number(rows)));
    // Every row up to the stop is filled and numbered; nothing arrives afterwards.
    QTableWidget *t = m_page->form()->twMeasureBright;
    for (int r = 0; r < rows; ++r) {
        QCOMPARE(t->verticalHeaderItem(r)->text(), QString::number(r + 1));
        QVERIFY(!cell(t, r, 5).isEmpty());
    }
    QTest::qWait(300);
    QCOMPARE(m_page->brightRow(), rows);
    // The shared port works again for the page's own requests.
    measureOnce(rows + 1);
}

void TestFlickerSet::unreadableReplyLogsFormatErrorAndAddsNoRow()
{
    measureOnce(1);
    control("fault garbage 1");
    m_page->on_pbMeasure_clicked();
    QTRY_VERIFY_WITH_TIMEOUT(logText().contains("Format error!"), 5000);
    QCOMPARE(m_page->brightRow(), 1);
    QCOMPARE(cell(m_page->form()->twMeasureBright, 1, 0), QString());
    // An error status is reported, not turned into a row.
    control("fault error 20 1");
    m_page->on_pbMeasure_clicked();
    QTRY_VERIFY_WITH_TIMEOUT(logText().contains("Mes failed!"), 5000);
    QCOMPARE(m_page->brightRow(), 1);
    measureOnce(2);
}

void TestFlickerSet::unplugDuringSeriesEndsItCleanly()
{
    m_page->form()->rb_Cont->setChecked(true);
    m_page->form()->le_Count->setText("1000");
    m_page->form()->le_InterValSec->setText("20"); // 20 ms between cycles: about 20 s in all
    QSignalSpy done(m_page, &ktFlickerSet::Signal_SeriesFinished);
    QSignalSpy closed(m_page, &ktPublicConfig::Signal_SendClosePort);
    m_page->on_pbMeasure_clicked();
    QTRY_VERIFY_WITH_TIMEOUT(m_page->brightRow() >= 3, 10000);
    control("unplug");
    QVERIFY(done.count() == 1 || done.wait(8000));
    const int rows = m_page->brightRow();
    QVERIFY(rows >= 3);
    QVERIFY(!m_page->seriesRunning());
    QVERIFY(!m_hub->busyFlag());
    // The device is gone: the shared port stays closed and the page says so.
    QVERIFY(!probePort()->isOpen());
    QCOMPARE(closed.count(), 1);
    QVERIFY(logText().contains("Serial port is not opened!"));
    QVERIFY(m_page->form()->pbMeasure->isEnabled());
    QTableWidget *t = m_page->form()->twMeasureBright;
    for (int r = 0; r < rows; ++r)
        QVERIFY(!cell(t, r, 5).isEmpty());
    control("replug");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_sim->linkPath()), 5000);
}

QTEST_MAIN(TestFlickerSet)
#include "tst_flickerset.moc"
