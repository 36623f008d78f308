// The factory-calibration page end to end against krn4-sim through the real serial link. The
// simulated probe reads D·XYZ in raw mode (D its sensor error) and M·D·XYZ otherwise, so a
// raw-mode calibration downloaded into channel 00 must make the probe read the display's true
// values; the references come from the sRGB standard, not from our own output.
#include "ktfactorycalibration.h"
#include "pagelog.h"
#include "pagetest.h"
#include "replyreader.h"
#include "simprocess.h"
#include "ui_ktfactorycalibration.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace PageTest;

namespace {
// True XYZ at 100 cd/m² white: the IEC 61966-2-1 sRGB matrix on the 2.2-power drive.
Eigen::Vector3d srgb(int r, int g, int b)
{
    Eigen::Matrix3d m;
    m << 41.24, 35.76, 18.05, 21.26, 71.52, 7.22, 1.93, 11.92, 95.05;
    const auto lin = [](int v) { return std::pow(v / 255.0, 2.2); };
    return m * Eigen::Vector3d(lin(r), lin(g), lin(b));
}
const QStringList Patches{"255,0,0", "0,255,0", "0,0,255", "255,255,255", "200,100,50"};
Eigen::Vector3d truth(const QString &patch)
{
    const QStringList c = patch.split(',');
    return srgb(c[0].toInt(), c[1].toInt(), c[2].toInt());
}
} // namespace

class TestFactoryCalibration : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void closedLoopIntoChannel00_data();
    void closedLoopIntoChannel00();
    void resultFileRoundTrip();
    void eraseNeedsTwoConfirmations_data();
    void eraseNeedsTwoConfirmations();

private:
    QString hub(const QString &command)
    {
        QString reply;
        m_hub->SendCommand(command, 5000, &reply);
        return reply;
    }
    QString control(const QString &line) { return m_sim->control(line); }
    // The commands the probe received since the last "received clear".
    QStringList received() { return control("received 200").section("last=", 1).split('|'); }

    QTemporaryDir m_settings;
    SimProcess *m_sim = nullptr;
    ktPublicConfig *m_hub = nullptr;
    KTFactoryCalibration *m_page = nullptr;
};

void TestFactoryCalibration::initTestCase()
{
    isolateUserSettings(m_settings.path());
    PAGETEST_START_SIM(m_sim);
    const QString failed = resetProbe(*m_sim, srgbDisplayLines());
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    m_hub = new ktPublicConfig;
    m_page = new KTFactoryCalibration(m_hub);
    m_page->show();
    m_page->UpdateWidget(); // the first tick with the port open resets the page and reads
    QTRY_VERIFY_WITH_TIMEOUT(m_page->form()->pbRead->isEnabled(), 5000);
    QCOMPARE(m_page->form()->cb_memorychannnel->count(), 100);
    QCOMPARE(m_page->form()->cb_memorychannnel->itemText(0), QString("ALL00"));
    QCOMPARE(m_page->form()->cb_memorychannnel->itemText(10), QString("MCH10"));
}

void TestFactoryCalibration::cleanupTestCase()
{
    delete m_hub;
    delete m_sim;
}

void TestFactoryCalibration::closedLoopIntoChannel00_data()
{
    QTest::addColumn<int>("groups");
    QTest::addColumn<bool>("regen");
    QTest::addColumn<QString>("sensor");
    QTest::newRow("three groups, raw") << 3 << false << "0.95,0.02,0.01,-0.02,1.04,0.03,0.02,-0.01,0.92";
    QTest::newRow("four groups, raw, no Tricorr")
        << 4 << false << "1.06,0.03,-0.02,0.015,0.97,0.01,-0.01,0.04,1.09";
    QTest::newRow("five groups, re-generation") << 5 << true << "1.1,-0.03,0,0.02,0.99,-0.02,0,0.05,1.03";
    QTest::newRow("one group, diagonal") << 1 << false << "1.04,0,0,0,0.98,0,0,0,1.06";
}

void TestFactoryCalibration::closedLoopIntoChannel00()
{
    QFETCH(int, groups);
    QFETCH(bool, regen);
    QFETCH(QString, sensor);
    auto *ui = m_page->form();
    QVERIFY(control("sensor error " + sensor).startsWith("OK"));
    for (int g = 1; g <= 5; ++g) // no confirmation for the channel change below
        for (int r = 0; r < 3; ++r)
            m_page->mesField(g, r)->setText("0.0");
    ui->cb_memorychannnel->setCurrentIndex(5);
    control("received clear");
    ui->cb_memorychannnel->setCurrentIndex(0);
    QVERIFY(received().contains("MCH,00"));
    QCOMPARE(hub("STR,3"), QString("OK00,0"));
    ui->cb_mode->setCurrentIndex(0); // XYZ
    ui->le_mestimes->setText("2");
    ui->chb_ReGen->setChecked(regen);
    ui->cb_datagroupcount->setCurrentText(QString::number(groups));
    ui->cb_CalcuGroupCount->setCurrentText(QString::number(std::min(groups, 3)));
    const QStringList used = groups == 1 ? QStringList{"255,255,255"} : Patches.mid(0, groups);
    for (int g = 1; g <= groups; ++g) {
        const Eigen::Vector3d ref = truth(used[g - 1]);
        for (int r = 0; r < 3; ++r)
            m_page->refField(g, r)->setText(QString::number(ref[r], 'g', 8));
        QVERIFY(control("show " + used[g - 1]).startsWith("OK"));
        control("received clear");
        m_page->findChild<QPushButton *>(QString("pbmes%1").arg(g))->click();
        const QStringList one =
            regen ? QStringList{"MES", "MES"} : QStringList{"RAW", "FCS,0", "MES", "RAW", "FCS,0", "MES"};
        QCOMPARE(received(), one);
    }
    ui->cb_CalcuGroupCount->setCurrentText(QString::number(groups));
    QVERIFY(m_page->on_pbGenerate_clicked());
    const QStringList gains{"1.02", "0", "0.98", "1", "1.1", "0.9", "1", "1.05"};
    for (int k = 1; k <= 8; ++k)
        m_page->gainField(k)->setText(gains[k - 1]);
    control("received clear");
    ModalCloser closer;
    closer.arm(3000);
    ui->pbDownload->click();
    QCOMPARE(closer.text, QString("Download color matrix parameter succeed!"));
    const QStringList sent = received();
    for (int i = 0; i < sent.size(); ++i)
        if (sent[i].startsWith("CMW,") || sent[i].startsWith("RGU "))
            QVERIFY2(i > 0 && sent[i - 1] == "FCS,0", qPrintable(sent[i]));
    QVERIFY(sent.contains("RGU 1.02;1;0.98;1;1.1;0.9;1;1.05;"));
    QCOMPARE(hub("RGM"), QString("OK00,1.02;1;0.98;1;1.1;0.9;1;1.05"));
    QCOMPARE(m_page->mesField(1, 0)->text(), QString("0.0"));
    // Normal mode on channel 00: the probe now reads the display's true values.
    QVERIFY(hub("FCS,1").contains("OK00"));
    const QStringList check = QStringList(used) << "128,200,60";
    for (const QString &patch : check) {
        QVERIFY(control("show " + patch).startsWith("OK"));
        ReplyReader::Xyz r;
        QVERIFY(ReplyReader::readXyzFields(hub("MES"), &r));
        const Eigen::Vector3d ref = truth(patch), got(r.X.value, r.Y.value, r.Z.value);
        const bool offDiagonalLeft = groups == 1 && patch != "255,255,255";
        const double tol = offDiagonalLeft ? 2e-2 : 1e-3; // one group only fixes the white
        QVERIFY2(std::abs(got.x() / got.sum() - ref.x() / ref.sum()) < tol, qPrintable(patch));
        QVERIFY2(std::abs(got.y() / got.sum() - ref.y() / ref.sum()) < tol, qPrintable(patch));
        QVERIFY2(std::abs(got.y() / ref.y() - 1) < 10 * tol, qPrintable(patch));
    }
}

void TestFactoryCalibration::resultFileRoundTrip()
{
    const auto texts = [this] {
        QStringList t;
        for (int i = 0; i < 9; ++i)
            t << m_page->matrixField(i)->text();
        for (int k = 1; k <= 8; ++k)
            t << m_page->gainField(k)->text();
        return t;
    };
    for (int i = 0; i < 9; ++i)
        m_page->matrixField(i)->setText(QString::number(-0.5 + i * 0.25, 'e', 7));
    for (int k = 1; k <= 8; ++k)
        m_page->gainField(k)->setText(QString::number(1 + k / 100.0));
    const QStringList before = texts();
    const QString path = m_settings.filePath("probe.factoryResult");
    m_page->askSavePath = [&](const QString &) { return path; };
    m_page->askOpenPath = [&](const QString &) { return path; };
    ModalCloser exported;
    exported.arm();
    m_page->form()->pbExportResult->click();
    QCOMPARE(exported.text, QString("Export data file succeed!"));
    QCOMPARE(m_page->dialogFilter(), QString("file (*.factoryResult)"));
    QSettings file(path, QSettings::IniFormat);
    QCOMPARE(file.value("VGData/_8").toString(), QString("1.08"));
    QCOMPARE(file.value("MatrixParaData/X1").toString(), before[0]);
    for (int k = 1; k <= 8; ++k)
        m_page->gainField(k)->setText("7");
    m_page->matrixField(4)->setText("7");
    ModalCloser imported;
    imported.arm();
    m_page->form()->pbImportResult->click();
    QCOMPARE(imported.text, QString("Import data file succeed!"));
    QCOMPARE(texts(), before);
    // A gain is checked like a matrix value: a bad one refuses the whole file.
    file.setValue("VGData/_3", "1.2x");
    file.sync();
    m_page->gainField(1)->setText("7");
    ModalCloser refused;
    refused.arm();
    m_page->form()->pbImportResult->click();
    QCOMPARE(refused.text, QString("Import data file failed!"));
    QCOMPARE(m_page->gainField(1)->text(), QString("7"));
    QVERIFY(m_page->logView()->toPlainText().contains("data 1.2x error!"));
}

void TestFactoryCalibration::eraseNeedsTwoConfirmations_data()
{
    QTest::addColumn<bool>("first");
    QTest::addColumn<bool>("second");
    QTest::newRow("refused at once") << false << true;
    QTest::newRow("refused the second time") << true << false;
    QTest::newRow("confirmed twice") << true << true; // last: the probe is erased
}

void TestFactoryCalibration::eraseNeedsTwoConfirmations()
{
    QFETCH(bool, first);
    QFETCH(bool, second);
    control("received clear");
    ModalCloser ask1, ask2;
    ask1.accept = first;
    ask2.accept = second;
    ask1.until = [](const QString &t) { return t == "All settings will be erased, are you sure?"; };
    ask2.until = [](const QString &t) { return t == "All settings will be erased, please confirm again!"; };
    ask1.arm();
    ask2.arm(first ? 500 : 30);
    m_page->form()->pbEraseFlash->click();
    QVERIFY(ask1.seen);
    QCOMPARE(ask2.seen, first);
    QCOMPARE(received().contains("CLR"), first && second);
    if (!(first && second))
        return;
    QVERIFY(m_page->logView()->toPlainText().contains("Erase flash succeed!"));
    // After the erase the probe answers RGM with ER84: the read still succeeds.
    QVERIFY(hub("RGM").startsWith("ER84"));
    m_page->logView()->clear();
    QVERIFY(m_page->on_pbRead_clicked());
    QVERIFY2(!m_page->logView()->toPlainText().contains("failed"),
             qPrintable(m_page->logView()->toPlainText()));
}

QTEST_MAIN(TestFactoryCalibration)
#include "tst_factorycalibration.moc"
