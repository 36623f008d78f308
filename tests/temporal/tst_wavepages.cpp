// The waveform and response-time pages end to end: each page samples through the real serial
// link from krn4-sim, whose display is set through its control channel to a known modulation
// or gray-to-gray transition, so the expected figures follow from the signal, not from our code.
#include "customplotdrawpoint.h"
#include "ktwaveform.h"
#include "ktwaveformjwa.h"
#include "ktwaveresponsetime.h"
#include "pagelog.h"
#include "pagetest.h"
#include "simprocess.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace PageTest;

class TestWavePages : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { delete m_sim; }
    void init();
    void cleanup();

    void spectrumOfKnownSignals_data();
    void spectrumOfKnownSignals();
    void onlyBinsUpTo200HzCompete();
    void decimationRule_data();
    void decimationRule();
    void threeChannelPageExportsAndKeepsACurve();
    void responseTimesOfExponentialEdges_data();
    void responseTimesOfExponentialEdges();
    void flatRecordGivesZeroDurations();
    void thresholdsOutOfRangeAreRefused_data();
    void thresholdsOutOfRangeAreRefused();
    void storedCsvShowsTheSameTransitions();

private:
    void control(const QString &line) { QVERIFY2(m_sim->control(line).startsWith("OK"), qPrintable(line)); }
    template <class Page> void set(Page *page, const char *name, const QString &text)
    {
        if (auto *cb = page->template findChild<QComboBox *>(QLatin1String(name)))
            cb->setCurrentText(text);
        else
            page->template findChild<QLineEdit *>(QLatin1String(name))->setText(text);
    }
    // One record on the response-time page: Measure, wait for the first record, Stop.
    void measureResponse(ktWaveResponseTime *page, const QString &n, const QString &d);

    QTemporaryDir m_dir;
    SimProcess *m_sim = nullptr;
    ktPublicConfig *m_hub = nullptr;
};

void TestWavePages::initTestCase()
{
    PAGETEST_START_SIM(m_sim);
}

void TestWavePages::init()
{
    isolateUserSettings(m_dir.path());
    const QString failed = resetProbe(
        *m_sim, {"fault clear", "modulation off", "transition off", "display reset", "show 255,255,255"});
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    m_hub = new ktPublicConfig;
}

void TestWavePages::cleanup()
{
    delete m_hub; // the pages are its children
    m_hub = nullptr;
    probePort()->close();
}

void TestWavePages::spectrumOfKnownSignals_data()
{
    QTest::addColumn<QString>("modulation");
    QTest::addColumn<QString>("n");
    QTest::addColumn<QString>("d");
    QTest::addColumn<double>("hz"); // expected detected frequency (0: no peak at all)
    QTest::addColumn<double>("hzTol");
    QTest::addColumn<double>("db"); // expected peak level (NaN: not checked)
    QTest::addColumn<double>("dbTol");
    // A sine of depth m (amplitude over mean) on a bin has |X_k| / |X_0| = m / 2, 20·log10(0.05) =
    // −26.021 dB for 10 %. Each sample is the mean over its d/3072 s, which scales the line by
    // sinc(f·d/3072): −0.006 dB at d = 1, −0.088 dB at d = 4. 0.01 dB leaves room for the
    // replies' 7 digits only.
    auto sine = [](double depth, double hz, int d) {
        const double x = M_PI * hz * d / 3072.0;
        return 20.0 * std::log10(depth / 2.0 * std::sin(x) / x);
    };
    QTest::newRow("60 Hz 10 % sine") << "60 0.1 sine"
                                     << "1024"
                                     << "1" << 60.0 << 0.5 << sine(0.1, 60, 1) << 0.01;
    QTest::newRow("60 Hz sine decimated by 4") << "60 0.1 sine"
                                               << "1024"
                                               << "4" << 60.0 << 0.5 << sine(0.1, 60, 4) << 0.01;
    // 100 Hz lies between bins (0.75 Hz apart): the neighbour refinement brings it back.
    QTest::newRow("100 Hz PWM") << "100 1 pwm 0.5"
                                << "4096"
                                << "1" << 100.0 << 0.25 << qQNaN() << 0.0;
    QTest::newRow("constant level") << "off"
                                    << "1024"
                                    << "1" << 0.0 << 0.0 << -1000.0 << 0.0;
}

void TestWavePages::spectrumOfKnownSignals()
{
    QFETCH(QString, modulation);
    QFETCH(QString, n);
    QFETCH(QString, d);
    QFETCH(double, hz);
    QFETCH(double, hzTol);
    QFETCH(double, db);
    QFETCH(double, dbTol);
    control("modulation " + modulation);
    auto *page = new ktWaveForm(m_hub);
    set(page, "cb_SamplingNumber", n);
    set(page, "le_DecimationInterval", d);
    page->on_pb_Measure_clicked();
    QCOMPARE(page->waveform().size(), n.toInt());
    const WaveLogic::Spectrum &s = page->spectrumResult();
    if (hz == 0.0) {
        QCOMPARE(s.peakIndex, -1);
        QCOMPARE(page->findChild<QLineEdit *>("le_FlickerMax")->text(), QStringLiteral("-1000"));
    } else {
        QVERIFY2(std::abs(s.detectedHz - hz) <= hzTol, qPrintable(QString::number(s.detectedHz)));
    }
    if (!std::isnan(db))
        QVERIFY2(std::abs(s.peakDb - db) <= dbTol, qPrintable(QString::number(s.peakDb)));
}

void TestWavePages::onlyBinsUpTo200HzCompete()
{
    // 250 Hz with 64 samples: bins 48 Hz apart; the strongest line is at 240 Hz, but only 48,
    // 96, 144 and 192 Hz compete, and of those the nearest to 250 Hz leaks the most.
    control("modulation 250 0.3 sine");
    auto *page = new ktWaveForm(m_hub);
    set(page, "cb_SamplingNumber", "64");
    set(page, "le_DecimationInterval", "1");
    page->on_pb_Measure_clicked();
    const WaveLogic::Spectrum &s = page->spectrumResult();
    QCOMPARE(s.freq.size(), 31);
    for (int i = 0; i < s.freq.size(); ++i)
        QCOMPARE(s.freq.at(i), 48.0 * (i + 1));
    QCOMPARE(s.peakIndex, 3);
    QVERIFY(s.db.at(4) > s.peakDb);
}

void TestWavePages::decimationRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("0") << "0" << false;
    QTest::newRow("101") << "101" << false;
    QTest::newRow("text") << "ab" << false;
    QTest::newRow("100") << "100" << true;
}

void TestWavePages::decimationRule()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    auto *page = new ktWaveForm(m_hub);
    ModalCloser closer;
    closer.arm(accepted ? 0 : 500); // a refusal shows its box inside setText: one look is enough
    set(page, "le_DecimationInterval", text);
    QTest::qWait(50); // the closer's last look, before it goes out of scope
    QTRY_VERIFY_WITH_TIMEOUT(closer.seen || accepted, 5000);
    QCOMPARE(closer.seen, !accepted);
    if (!accepted)
        QCOMPARE(closer.text, QStringLiteral("Over range,decimation interval range is 1-100!"));
    QCOMPARE(page->findChild<QLineEdit *>("le_DecimationInterval")->text(),
             accepted ? text : QStringLiteral("1"));
}

void TestWavePages::threeChannelPageExportsAndKeepsACurve()
{
    control("modulation 60 0.1 sine");
    auto *page = new ktWaveFormJWA(m_hub);
    set(page, "cb_SamplingNumber", "256");
    page->findChild<QPushButton *>("pb_Measure")->click(); // the form's button, one sampling
    QCOMPARE(page->logView()->toPlainText().count("JWA,256,1"), 1);
    QCOMPARE(page->waveform().x.size(), 256);
    // D65 white: x 0.3127 throughout; Lv averages 200 cd/m² (the display's peak).
    QCOMPARE(page->statisticText("x-ave").left(5), QStringLiteral("0.312"));
    QVERIFY(std::abs(page->statisticText("lv-ave").toDouble() - 200.0) < 0.5);

    ModalCloser closer;
    closer.arm();
    page->findChild<QCheckBox *>("cb_Lv")->click(); // the only curve shown
    QTRY_VERIFY(closer.seen);
    QCOMPARE(closer.text, QStringLiteral("At least one curve must be checked to show!"));
    QVERIFY(page->findChild<QCheckBox *>("cb_Lv")->isChecked());

    const QString path = m_dir.filePath("jwa.csv");
    page->askSavePath = [path](const QString &) { return path; };
    ModalCloser done;
    done.arm();
    page->on_pb_Export_clicked();
    QTRY_VERIFY(done.seen);
    QCOMPARE(done.text, QStringLiteral("Export datas successfully!"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 257);
    QCOMPARE(lines.first(), QStringLiteral("NO.,Time,x,y,Lv,X,Y,Z"));
    QVERIFY2(lines.at(1).startsWith("1,0,0.312") && lines.at(1).contains(", ,x-ave,"),
             qPrintable(lines.at(1)));

    ModalCloser refused; // the same name again
    refused.arm();
    page->on_pb_Export_clicked();
    QTRY_VERIFY(refused.seen);
    QCOMPARE(refused.text, QStringLiteral("The file already exists,please rename this file!"));
}

void TestWavePages::measureResponse(ktWaveResponseTime *page, const QString &n, const QString &d)
{
    set(page, "cb_SamplingNumber", n);
    set(page, "le_Decimationinterval", d);
    set(page, "le_MesDelay", "0");
    page->on_pb_Measure_clicked();
    QTRY_VERIFY_WITH_TIMEOUT(!page->waveform().isEmpty(), 15000);
    page->on_pb_Measure_clicked(); // Stop
    QTRY_VERIFY(!page->measuring());
}

void TestWavePages::responseTimesOfExponentialEdges_data()
{
    QTest::addColumn<double>("riseMs");
    QTest::addColumn<double>("fallMs");
    QTest::addColumn<QString>("d");
    QTest::newRow("4 ms up, 8 ms down") << 4.0 << 8.0 << "1";
    QTest::newRow("10 ms up, 3 ms down, decimated by 2") << 10.0 << 3.0 << "2";
}

// A first-order step reaches 10 % at τ·ln(10/9) and 90 % at τ·ln 10: the 10–90 % time is τ·ln 9.
// Each point is the sample nearest its level, so a time is within one sample period of it.
void TestWavePages::responseTimesOfExponentialEdges()
{
    QFETCH(double, riseMs);
    QFETCH(double, fallMs);
    QFETCH(QString, d);
    control(QStringLiteral("transition 0,0,0 255,255,255 100 %1 %2").arg(riseMs).arg(fallMs));
    auto *page = new ktWaveResponseTime(m_hub);
    measureResponse(page, "4096", d);
    const QVector<WaveLogic::Transition> &found = page->transitionResults();
    QVERIFY2(found.size() >= 10, qPrintable(QString::number(found.size()))); // 1.3 s of 100 ms steps
    const double period = d.toInt() / 3072.0;
    for (const WaveLogic::Transition &e : found) {
        const bool rising = e.end.t > e.start.t;
        const double expected = (rising ? riseMs : fallMs) / 1000.0 * std::log(9.0);
        QVERIFY2(
            std::abs(e.duration - expected) <= period,
            qPrintable(
                QString("%1 %2 s, expected %3").arg(rising ? "rise" : "fall").arg(e.duration).arg(expected)));
    }
    QCOMPARE(page->markerCount(), 3 * found.size());
}

void TestWavePages::flatRecordGivesZeroDurations()
{
    control("show 128,128,128");
    auto *page = new ktWaveResponseTime(m_hub);
    measureResponse(page, "1024", "1");
    const QVector<WaveLogic::Transition> &found = page->transitionResults();
    QCOMPARE(found.size(), 1023); // every pair touches both levels
    for (const WaveLogic::Transition &e : found)
        QCOMPARE(e.duration, 0.0);
    QCOMPARE(page->markerCount(), 3 * ktWaveResponseTime::MaxMarked);
}

void TestWavePages::thresholdsOutOfRangeAreRefused_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("message");
    QTest::newRow("start 51") << "le_StartThreshold"
                              << "51"
                              << "10"
                              << "The start threshold range is 0 to 50!";
    QTest::newRow("end 49") << "le_EndThreshold"
                            << "49"
                            << "90"
                            << "The end threshold range is 50 to 100!";
}

void TestWavePages::thresholdsOutOfRangeAreRefused()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, kept);
    QFETCH(QString, message);
    auto *page = new ktWaveResponseTime(m_hub);
    auto *le = page->findChild<QLineEdit *>(field);
    le->setText(text); // as pasted or set by code: the range is checked when editing ends
    ModalCloser closer;
    closer.arm();
    emit le->editingFinished();
    QTRY_VERIFY(closer.seen);
    QCOMPARE(closer.text, message);
    QCOMPARE(le->text(), kept);
}

void TestWavePages::storedCsvShowsTheSameTransitions()
{
    control("transition 0,0,0 255,255,255 50 3 6");
    auto *page = new ktWaveResponseTime(m_hub);
    measureResponse(page, "2048", "1");
    const QString path = m_dir.filePath("response.csv");
    page->askSavePath = [path](const QString &) { return path; };
    ModalCloser done;
    done.arm();
    page->on_pb_Export_clicked();
    QTRY_VERIFY(done.seen);

    auto *reopened = new ktWaveResponseTime(m_hub);
    reopened->askOpenPath = [path](const QString &) { return path; };
    reopened->on_pb_Open_clicked();
    QCOMPARE(reopened->waveform().lv, page->waveform().lv);
    QCOMPARE(reopened->plot()->graph(0)->dataCount(), 2048);
    const auto &a = page->transitionResults(), &b = reopened->transitionResults();
    QVERIFY(a.size() >= 6);
    QCOMPARE(b.size(), a.size());
    for (int i = 0; i < a.size(); ++i) {
        QCOMPARE(b.at(i).start.index, a.at(i).start.index);
        QCOMPARE(b.at(i).end.index, a.at(i).end.index);
        QVERIFY(std::abs(b.at(i).duration - a.at(i).duration) < 1e-12);
    }
}

QTEST_MAIN(TestWavePages)
#include "tst_wavepages.moc"
