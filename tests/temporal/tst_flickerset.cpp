// The Measure tab end to end: ktFlickerSet on the shared probe port, talking through the real
// serial link to krn4-sim (its pseudo-terminal), as an operator would use it; the simulator's
// fault injection plays lost, unreadable and refused replies and the unplugged device. The
// display the simulated probe looks at is set to sRGB primaries with a D65 white, so expected
// colours come from the colour standards, not from our own output.
#include "ktcolorimetry.h"
#include "ktdominantwave.h"
#include "ktflickerset.h"
#include "kthorseshoe.h"
#include "ktresources.h"
#include "measurementmodel.h"
#include "pagetest.h"
#include "simprocess.h"
#include "trendchart.h"
#include "ui_ktflickerset.h"
#include "workerthread.h"

#include <QClipboard>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

using namespace PageTest;

class TestFlickerSet : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { delete m_sim; }
    void init();
    void cleanup();

    void colourModesAgreeWithTheColorimetry_data();
    void colourModesAgreeWithTheColorimetry();
    void flickerSeriesFillTheFlickerTable_data();
    void flickerSeriesFillTheFlickerTable();
    void zeroCalibrationShowsItsMessages();
    void memoryChannelSelectionSendsMchAndRereadsName();
    void deleteCopyAndSaveAsReadTheModel();
    void seriesCount_data();
    void seriesCount();
    void seriesThatFallsShortSaysWhy_data();
    void seriesThatFallsShortSaysWhy();
    void failedReadingsAddNoRowAndAreNotShownAsCurrent();
    void modeSwitchAsksWhileRowsExist();
    void choicesSurviveLanguageSwitchAndRestart();

private:
    void control(const QString &line) { QVERIFY2(m_sim->control(line).startsWith("OK"), qPrintable(line)); }
    void measureOnce(int expectedRow);
    bool runSeries(const QString &count, int timeoutMs = 20000);
    QString cell(int r, int c, bool colour = true) const
    {
        return m_page->tableModel(colour)->cellText(r, c);
    }
    QString logText() const { return m_page->logView()->toPlainText(); }

    QTemporaryDir m_settings;
    SimProcess *m_sim = nullptr;
    ktPublicConfig *m_hub = nullptr;
    ktFlickerSet *m_page = nullptr;
};

void TestFlickerSet::initTestCase()
{
    PAGETEST_START_SIM(m_sim);
}

void TestFlickerSet::init()
{
    isolateUserSettings(m_settings.path());
    const QString failed =
        resetProbe(*m_sim, {"fault clear", "modulation off", "display reset", "display peak 100",
                            "display primaries 0.64,0.33,0.30,0.60,0.15,0.06", "display white 0.3127,0.3290",
                            "show 255,255,255"});
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    m_hub = new ktPublicConfig;
    m_page = new ktFlickerSet(m_hub);
    PortHolder::instance()->setSyncText("NTSC:59.94[Hz]");
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

void TestFlickerSet::measureOnce(int expectedRow)
{
    m_page->form()->rb_Single->setChecked(true);
    m_page->on_pbMeasure_clicked();
    const bool colour = FlickerLogic::isColourMode(m_page->mode());
    QTRY_COMPARE_WITH_TIMEOUT(colour ? m_page->brightRow() : m_page->flickerRow(), expectedRow, 10000);
}

bool TestFlickerSet::runSeries(const QString &count, int timeoutMs)
{
    m_page->form()->rb_Cont->setChecked(true);
    m_page->form()->le_Count->setText(count);
    QSignalSpy done(m_page, &ktFlickerSet::Signal_SeriesFinished);
    m_page->on_pbMeasure_clicked();
    return done.count() == 1 || done.wait(timeoutMs);
}

void TestFlickerSet::colourModesAgreeWithTheColorimetry_data()
{
    // "column=value/tolerance" from the standards for the sRGB display at 100 cd/m²: D65 white x 0.3127,
    // y 0.3290, X 95.047, Z 108.883 (IEC 61966-2-1), 6504 K (CIE 15; our 380-780 nm table reads a couple
    // of kelvin higher); dominant wavelengths of the red and green primaries about 611 and 549 nm.
    const QString white = "3=0.3127/0.0006 4=0.3290/0.0006 5=100/0.5 0=95.047/0.5 2=108.883/0.8 8=6504/40";
    QTest::addColumn<QStringList>("row"); // mode, colour, MDS sent, expected
    QTest::newRow("xyLv white") << QStringList{"xyLv", "255,255,255", "MDS,0", white};
    QTest::newRow("XYZ white") << QStringList{"XYZ", "255,255,255", "MDS,7", white};
    QTest::newRow("Tcp,duv white") << QStringList{"Tcp", "255,255,255", "MDS,1", white};
    QTest::newRow("Tcp,duv warm gray") << QStringList{"Tcp", "255,200,150", "MDS,1", ""};
    QTest::newRow("dominant wave red") << QStringList{"Wave", "255,0,0", "MDS,0", "10=611.3/2"};
    QTest::newRow("dominant wave green") << QStringList{"Wave", "0,255,0", "MDS,0", "10=549.1/2"};
}

void TestFlickerSet::colourModesAgreeWithTheColorimetry()
{
    QFETCH(QStringList, row);
    const QString mode = row.at(0);
    control("show " + row.at(1));
    Ui::ktFlickerSetForm *f = m_page->form();
    if (mode != "xyLv")
        (mode == "XYZ" ? f->rb_ColorXYZ : mode == "Tcp" ? f->rb_Tcpduv : f->rb_DominantWave)->click();
    measureOnce(1);
    QVERIFY(m_sim->control("received 5").contains(row.at(2)));
    for (const QString &e : row.at(3).split(' ', Qt::SkipEmptyParts)) {
        const QString c = cell(0, e.section('=', 0, 0).toInt());
        QVERIFY2(std::fabs(c.toDouble() - e.section('=', 1).section('/', 0, 0).toDouble()) <
                     e.section('/', 1).toDouble(),
                 qPrintable(e + " " + c));
    }
    // The derived columns agree with the conversions from the row's own X, Y, Z and x, y.
    const KtColorimetry::TcpResult r =
        KtColorimetry::calcTcpDuv(cell(0, 0).toDouble(), cell(0, 1).toDouble(), cell(0, 2).toDouble());
    const KtDominantWave::WaveTexts w = KtDominantWave::calcDominantWave(cell(0, 3), cell(0, 4));
    QCOMPARE(
        QStringList({cell(0, 5), cell(0, 6), cell(0, 7), cell(0, 8), cell(0, 9), cell(0, 10), cell(0, 11)}),
        QStringList({cell(0, 1), QString::number(r.uPrime, 'f', 4), QString::number(r.vPrime, 'f', 4),
                     FlickerLogic::fixedOrDash(QString::number(r.Tcp), 0),
                     FlickerLogic::fixedOrDash(QString::number(r.Duv), 4),
                     FlickerLogic::fixedOrDash(w.waveLength, 2), FlickerLogic::fixedOrDash(w.purity, 2)}));
    QCOMPARE(cell(0, 13) + cell(0, 16), QString("NTSC:59.94[Hz]Single-Frame"));
    QCOMPARE(m_page->horseShoe()->list(1).size(), 1);
    // "Current Data" of the mode.
    const QMap<QString, QList<int>> current{
        {"xyLv", {3, 4, 5}}, {"XYZ", {0, 1, 2}}, {"Tcp", {5, 8, 9}}, {"Wave", {5, 10, 11}}};
    const QList<QLineEdit *> fields{f->le_FlickerX, f->le_FlickerY, f->le_FlickerZ};
    for (int i = 0; i < 3; ++i)
        QCOMPARE(fields.at(i)->text(), cell(0, current[mode].at(i)) + (mode == "Wave" && i == 2 ? "%" : ""));
    QCOMPARE(f->lb_FlickerX->text(), QString(mode == "XYZ" ? "X:" : mode == "xyLv" ? "x:" : "Lv:"));
}

void TestFlickerSet::flickerSeriesFillTheFlickerTable_data()
{
    // A 10 % sine modulation (depth (Lmax-Lmin)/(Lmax+Lmin)) is 20 % FMA, peak to peak over
    // mean; a 30 Hz sine of 10 % amplitude reads about -25.6 dB by the JEITA method.
    QTest::addColumn<QString>("mode");
    QTest::addColumn<double>("expected");
    QTest::newRow("FMA") << "FMA" << 20.0;
    QTest::newRow("JEITA") << "JEITA" << -25.6;
    QTest::newRow("JEITA outside range") << "OK04" << -25.6; // the value stays, with the text
}

void TestFlickerSet::flickerSeriesFillTheFlickerTable()
{
    QFETCH(QString, mode);
    QFETCH(double, expected);
    const bool jeita = mode != "FMA";
    control("modulation 30 0.1 sine");
    if (mode == "OK04")
        control("fault okstatus 4 1");
    (jeita ? m_page->form()->rb_MeasureJEITA : m_page->form()->rb_FMA)->click();
    QVERIFY(m_sim->control("received 3").contains(jeita ? "MDS,8" : "MDS,6"));
    QVERIFY(runSeries("2", 15000));
    QCOMPARE(m_page->flickerRow(), 2);
    QCOMPARE(m_page->tableModel(false)->columnCount(), jeita ? 64 : 4);
    for (int r = 0; r < 2; ++r) {
        QVERIFY2(std::fabs(cell(r, 0, false).toDouble() - expected) < 1.0, qPrintable(cell(r, 0, false)));
        // The 30 Hz column carries the line itself; 6 and 65 Hz are filled too.
        if (jeita)
            QVERIFY(std::fabs(cell(r, 25, false).toDouble() - expected) < 1.0 &&
                    !cell(r, 1, false).isEmpty() && !cell(r, 60, false).isEmpty());
    }
    if (jeita)
        QCOMPARE(cell(0, 61, false), QString(mode == "OK04" ? "Outside of measurement range!" : ""));
    QCOMPARE(m_page->form()->le_FlickerValue->text(), cell(1, 0, false));
    QCOMPARE(m_page->form()->lb_FlickerValue->text(), QString(jeita ? "JEITA:" : "FMA:"));
    QCOMPARE(m_page->trend()->pointCount(), 2);
    QVERIFY(probePort()->isOpen() && !m_hub->busyFlag());
}

void TestFlickerSet::zeroCalibrationShowsItsMessages()
{
    control("show 0,0,0");
    for (const char *result : {"Zero calibration succeed!", "Zero calibration failed!"}) {
        ModalCloser closer;
        closer.until = [](const QString &t) { return t != QLatin1String("Zero calibration in progress..."); };
        closer.arm();
        m_page->on_pb0Cal_clicked();
        QCOMPARE(closer.texts, QStringList({"Zero calibration in progress...", result}));
        control("fault garbage 1"); // the next reply is unreadable
    }
    // With the port closed nothing is sent and the page says so.
    probePort()->close();
    m_page->on_pb0Cal_clicked();
    QVERIFY(logText().contains("Serial port is not opened!"));
}

void TestFlickerSet::memoryChannelSelectionSendsMchAndRereadsName()
{
    QComboBox *box = m_page->form()->cb_memorychannnel;
    box->setCurrentIndex(7);
    const QString received = m_sim->control("received 3");
    QVERIFY2(received.contains("MCH,07") && received.contains("CMR,11"), qPrintable(received));
    QVERIFY(m_sim->control("state").contains("channel=7"));
    QVERIFY(!logText().contains("failed"));
    // Reading back selects the probe's channel without sending "MCH," again.
    box->setCurrentIndex(3);
    box->blockSignals(true);
    box->setCurrentIndex(0);
    box->blockSignals(false);
    m_page->on_pbreadmemorych_clicked();
    QCOMPARE(box->currentText(), QString("MCH03"));
    QVERIFY(!m_page->form()->le_devicemodel->text().isEmpty());
    QVERIFY(!m_sim->control("received 4").contains("MCH,"));
}

void TestFlickerSet::deleteCopyAndSaveAsReadTheModel()
{
    const QStringList colours{"255,255,255", "255,0,0", "10,20,200"};
    for (int i = 0; i < 3; ++i) {
        control("show " + colours.at(i));
        measureOnce(i + 1);
    }
    const QString lastX = cell(2, 3);
    QItemSelectionModel *selection = m_page->form()->twMeasureBright->selectionModel();
    selection->select(selection->model()->index(1, 4), QItemSelectionModel::ClearAndSelect);
    selection->select(selection->model()->index(1, 3), QItemSelectionModel::Select);
    m_page->slot_twMeasureBright_Copy();
    QCOMPARE(QApplication::clipboard()->text(), cell(1, 3) + "\t" + cell(1, 4) + "\n");
    ModalCloser closer;
    closer.arm();
    m_page->slot_twMeasureBright_DeleteRow();
    QCOMPARE(closer.text, QString("Are you sure to delete data of this line?"));
    QCOMPARE(m_page->brightRow(), 2);
    QCOMPARE(cell(1, 3), lastX);
    QCOMPARE(m_page->trend()->pointCount(), 2);

    // Save As of a name without extension writes "<name>.csv".
    QTemporaryDir dir;
    m_page->askSavePath = [&](const QString &) { return dir.filePath("measure"); };
    ModalCloser saved;
    saved.arm();
    m_page->on_pbSaveAs_clicked();
    QCOMPARE(saved.text, QString("Save successfully!"));
    QFile f(dir.filePath("measure.csv"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.first(), " ," + FlickerLogic::brightHeaders().join(',') + ",");
    for (int r = 0; r < 2; ++r) {
        const QStringList fields = lines.at(r + 1).split(',');
        QCOMPARE(fields.size(), 1 + 19 + 1);
        QCOMPARE(fields.first(), QString::number(r + 1));
        // Full precision of u', v', Tcp, duv in the file; the table shows them rounded.
        const QStringList cells = m_page->tableModel(true)->rowTexts(r);
        QCOMPARE(fields.mid(1, 6) + fields.mid(11, 9), cells.mid(0, 6) + cells.mid(10));
        QCOMPARE(FlickerLogic::fixedOrDash(fields.at(9), 0), cells.at(8)); // "nan" in the file is "--"
    }
}

void TestFlickerSet::seriesCount_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("busyMs"); // the GUI thread kept away from its events after the start
    QTest::newRow("0 refused") << "0" << 0 << 0;
    QTest::newRow("1 refused") << "1" << 0 << 0;
    QTest::newRow("2 runs two cycles") << "2" << 2 << 0;
    QTest::newRow("21 grow the table") << "21" << 21 << 0;
    QTest::newRow("300 queued while busy") << "300" << 300 << 1500;
}

void TestFlickerSet::seriesCount()
{
    QFETCH(QString, count);
    QFETCH(int, rows);
    QFETCH(int, busyMs);
    m_page->form()->rb_Cont->setChecked(true);
    m_page->form()->le_Count->setText(count);
    ModalCloser closer;
    if (rows == 0)
        closer.arm();
    QSignalSpy added(m_page, &ktFlickerSet::Signal_RowAdded);
    QSignalSpy done(m_page, &ktFlickerSet::Signal_SeriesFinished);
    m_page->on_pbMeasure_clicked();
    if (rows == 0) {
        QCOMPARE(closer.text, QString("The number of cycles should be greater than 2!"));
        QVERIFY(!m_page->seriesRunning() && probePort()->isOpen() && !m_hub->busyFlag());
        QTest::qWait(100);
        QCOMPARE(m_page->brightRow(), 0);
        return;
    }
    QVERIFY(m_page->seriesRunning() && m_hub->busyFlag() &&
            !probePort()->isOpen()); // the worker has the device
    QVERIFY(!m_page->form()->pbMeasure->isEnabled() && m_page->form()->pbStop->isEnabled());
    // Results that come while the GUI thread is busy wait for it; none is lost.
    QThread::msleep(busyMs);
    QCOMPARE(m_page->brightRow(), 0);
    QVERIFY(done.wait(20000));
    QCOMPARE(m_page->brightRow(), rows);
    QCOMPARE(m_page->tableModel(true)->rowCount(), std::max(rows, 20));
    QCOMPARE(m_page->tableModel(true)->headerData(rows - 1, Qt::Vertical).toString(), count);
    QCOMPARE(added.count(), rows);
    for (int i = 0; i < added.count(); ++i)
        QCOMPARE(added.at(i).at(0).toInt(), i + 1);
    QCOMPARE(m_page->trend()->pointCount(), rows);
    QCOMPARE(m_page->form()->le_Count->text(), count);
    QCOMPARE(m_page->seriesStatus(), count + " / " + count);
    QVERIFY(probePort()->isOpen() && !m_hub->busyFlag());
    QVERIFY(m_page->form()->pbMeasure->isEnabled() && !m_page->form()->pbStop->isEnabled());
    QVERIFY(cell(rows - 1, 12).toInt() >= 0 && !cell(rows - 1, 12).isEmpty()); // measured Δt
}

void TestFlickerSet::seriesThatFallsShortSaysWhy_data()
{
    QTest::addColumn<QStringList>("row"); // how it ends; what the status says after "n of N readings; "
    QTest::newRow("stopped") << QStringList{"stop", "stopped"};
    QTest::newRow("unplugged") << QStringList{"unplug", "ended early: the probe was unplugged"};
    QTest::newRow("reply lost") << QStringList{"noreply", "1 timed out"};
    QTest::newRow("device gone before the start") << QStringList{"gone", "the probe could not be opened"};
    QTest::newRow("page closed") << QStringList{"close", ""};
}

void TestFlickerSet::seriesThatFallsShortSaysWhy()
{
    QFETCH(QStringList, row);
    const QString how = row.first();
    QSignalSpy closed(m_page, &ktPublicConfig::Signal_SendClosePort);
    m_page->form()->le_InterValSec->setText("20"); // 20 ms between cycles: about 20 s in all
    if (how == "noreply") {
        // A reply never comes: the worker waits for it (5 s) and goes on. (The mode goes out first,
        // so that the lost reply is a measurement's.)
        m_page->form()->rb_ColorXYZ->click();
        m_page->form()->rb_Color->click();
        control("fault noreply 1");
        QVERIFY(runSeries("3", 12000));
        QCOMPARE(m_page->worker()->timeouts(), 1);
    } else if (how == "gone") {
        // The device vanishes between the page closing the shared port and the worker opening it.
        probePort()->setPortName(m_settings.filePath("gone"));
        QVERIFY(runSeries("5", 5000));
    } else {
        m_page->form()->rb_Cont->setChecked(true);
        m_page->form()->le_Count->setText("1000");
        m_page->on_pbMeasure_clicked();
        QTRY_VERIFY_WITH_TIMEOUT(m_page->brightRow() >= 3, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(m_page->seriesStatus().endsWith(" / 1000"), 1000); // the progress
        if (how == "close") {
            QVERIFY(m_hub->busyFlag());
            delete m_page;
            m_page = nullptr;
            QVERIFY(probePort()->isOpen() && !m_hub->busyFlag()); // the port given back
            return;
        }
        QSignalSpy done(m_page, &ktFlickerSet::Signal_SeriesFinished);
        if (how == "unplug")
            control("unplug");
        else
            m_page->form()->pbStop->click();
        QVERIFY(done.count() == 1 || done.wait(8000));
    }
    const int rows = m_page->brightRow();
    const int count = m_page->form()->le_Count->text().toInt();
    QVERIFY(!m_page->seriesRunning() && !m_hub->busyFlag() && m_page->form()->pbMeasure->isEnabled());
    QVERIFY(m_page->remainingCount() == 0 && rows < count);
    const QString status = QString("%1 of %2 readings; %3").arg(rows).arg(count).arg(row.last());
    QCOMPARE(m_page->seriesStatus(), status);
    QVERIFY(logText().contains(status));
    // A loss the operator did not ask for is also shown in the message box; a stop is not.
    QCOMPARE(m_page->messageDialog()->isVisible() && m_page->messageDialog()->message() == status,
             how != "stop");
    // Every row up to the end is filled and numbered; nothing arrives afterwards.
    for (int r = 0; r < rows; ++r)
        QVERIFY(m_page->tableModel(true)->headerData(r, Qt::Vertical) == QString::number(r + 1) &&
                !cell(r, 5).isEmpty());
    QTest::qWait(300);
    QCOMPARE(m_page->brightRow(), rows);
    if (how == "unplug" || how == "gone") {
        // The device is gone: the shared port stays closed and the page says so.
        QVERIFY(!probePort()->isOpen());
        QCOMPARE(closed.count(), 1);
        QVERIFY(logText().contains("Serial port is not opened!"));
        if (how == "unplug")
            control("replug");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_sim->linkPath()), 5000);
    } else {
        QVERIFY(probePort()->isOpen()); // and it works for the page's own requests
        measureOnce(rows + 1);
    }
}

void TestFlickerSet::failedReadingsAddNoRowAndAreNotShownAsCurrent()
{
    measureOnce(1);
    const QStringList faults{"fault garbage 1", "fault error 20 1"}, logged{"Format error!", "Mes failed!"};
    for (int i = 0; i < 2; ++i) {
        m_page->form()->le_FlickerX->setText("0.3127");
        control(faults.at(i));
        m_page->on_pbMeasure_clicked();
        QTRY_VERIFY_WITH_TIMEOUT(logText().contains(logged.at(i)), 10000);
        QCOMPARE(m_page->brightRow(), 1);
        QCOMPARE(m_page->form()->le_FlickerX->text(), QString("--"));
        // The operator asked for this reading: its failure is also in the message box.
        QTRY_VERIFY(m_page->messageDialog()->isVisible() &&
                    m_page->messageDialog()->message().startsWith(logged.at(i)));
        m_page->messageDialog()->hide();
    }
    measureOnce(2);
    QVERIFY(m_page->form()->le_FlickerX->text().startsWith("0.31"));
}

void TestFlickerSet::modeSwitchAsksWhileRowsExist()
{
    Ui::ktFlickerSetForm *f = m_page->form();
    measureOnce(1);
    for (bool accept : {false, true}) {
        ModalCloser closer;
        closer.accept = accept;
        closer.arm();
        f->rb_FMA->click();
        QVERIFY(closer.seen);
        // Cancel keeps the mode and the rows.
        QCOMPARE(f->rb_Color->isChecked(), !accept);
        QCOMPARE(m_page->mode(), accept ? FlickerLogic::Mode::Fma : FlickerLogic::Mode::XyLv);
        QCOMPARE(m_page->brightRow(), accept ? 0 : 1);
    }
}

void TestFlickerSet::choicesSurviveLanguageSwitchAndRestart()
{
    auto fields = [this] {
        Ui::ktFlickerSetForm *f = m_page->form();
        return QList<QLineEdit *>{f->le_Count, f->le_Delay, f->le_InterValMin, f->le_InterValSec,
                                  f->le_FlickerValue};
    };
    const QStringList values{"7", "3", "2", "250", "-25.61"};
    m_page->form()->rb_MeasureJEITA->click();
    m_page->form()->rb_Cont->click();
    for (int i = 0; i < values.size(); ++i) {
        fields().at(i)->setText(values.at(i));
        emit fields().at(i)->editingFinished();
    }
    // In Chinese the header and chart words are translated; the exported titles stay English.
    ktInitResources();
    QTranslator chinese;
    QVERIFY(chinese.load(":/Tintora/Resources/Translation_zh_CN.qm"));
    QCoreApplication::installTranslator(&chinese);
    QEvent change(QEvent::LanguageChange);
    QApplication::sendEvent(m_page, &change);
    for (int i = 0; i < values.size(); ++i)
        QCOMPARE(fields().at(i)->text(), values.at(i));
    QCOMPARE(m_page->form()->lb_FlickerValue->text(), QString("JEITA:"));
    const MeasurementModel *bright = m_page->tableModel(true);
    QCOMPARE(bright->headerData(17, Qt::Horizontal).toString(), QString::fromUtf8("\u65e5\u671f")); // Date
    QCOMPARE(bright->titles().at(17), QString("Date"));
    QCOMPARE(m_page->form()->widgetTrend->yAxis->label(), QString::fromUtf8("\u95ea\u70c1[dB]"));
    QCoreApplication::removeTranslator(&chinese);

    // The next start of the page comes back with the same choices (not the reading).
    delete m_page;
    m_page = new ktFlickerSet(m_hub);
    QCOMPARE(m_page->mode(), FlickerLogic::Mode::Jeita);
    QVERIFY(m_page->form()->rb_MeasureJEITA->isChecked() && m_page->form()->rb_Cont->isChecked());
    QCOMPARE(m_page->tableModel(false)->columnCount(), 64);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(fields().at(i)->text(), values.at(i));
}

QTEST_MAIN(TestFlickerSet)
#include "tst_flickerset.moc"
