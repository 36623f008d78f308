// The user-calibration page end to end: KTUserCalibration on the shared probe port, talking
// through the real serial link to krn4-sim. The simulated probe reads M·D·XYZ (D its sensor
// error, M the active channel's matrix) of a display with sRGB primaries, so the references
// come from the sRGB standard and the loop is closed by the probe's own readings afterwards.
#include "calibrationlogic.h"
#include "ktdownloadcoef.h"
#include "ktmemerychinfo.h"
#include "ktusercalibration.h"
#include "measurementmodel.h"
#include "pagelog.h"
#include "pagetest.h"
#include "replyreader.h"
#include "simprocess.h"
#include "ui_ktdownloadcoef.h"
#include "ui_ktmemerychinfo.h"
#include "ui_ktusercalibration.h"

#include <QDir>
#include <QFocusEvent>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace PageTest;

namespace {
struct Colour
{
    int r, g, b;
    QString text() const { return QString("%1,%2,%3").arg(r).arg(g).arg(b); }
    // True XYZ at 100 cd/m² white: the IEC 61966-2-1 sRGB matrix on the 2.2-power drive.
    Eigen::Vector3d xyz() const
    {
        Eigen::Matrix3d m;
        m << 41.24, 35.76, 18.05, 21.26, 71.52, 7.22, 1.93, 11.92, 95.05;
        const auto lin = [](int v) { return std::pow(v / 255.0, 2.2); };
        return m * Eigen::Vector3d(lin(r), lin(g), lin(b));
    }
};
const Colour Red{255, 0, 0}, Green{0, 255, 0}, Blue{0, 0, 255}, White{255, 255, 255}, Unused{128, 200, 60};
} // namespace
Q_DECLARE_METATYPE(QVector<Colour>)

class TestUserCalibration : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void factoryChannelIsLeftForChannel01();
    void closedLoopMatchesTheReference_data();
    void closedLoopMatchesTheReference();
    void failedDownloadRestoresTheChannel_data();
    void failedDownloadRestoresTheChannel();
    void exportThenImportReproducesTheTables();
    void mesTimesOutOfRange_data();
    void mesTimesOutOfRange();
    void overviewAndCopy();

private:
    QString hub(const QString &command)
    {
        QString reply;
        m_hub->SendCommand(command, 5000, &reply);
        return reply;
    }
    void control(const QString &line) { QVERIFY2(m_sim->control(line).startsWith("OK"), qPrintable(line)); }
    void calibrate(const QVector<Colour> &groups, int computed, const QString &sensor);
    QString download();

    QTemporaryDir m_settings;
    SimProcess *m_sim = nullptr;
    ktPublicConfig *m_hub = nullptr;
    KTUserCalibration *m_page = nullptr;
    QString m_lastWhiteX;
};

void TestUserCalibration::initTestCase()
{
    isolateUserSettings(m_settings.path());
    PAGETEST_START_SIM(m_sim);
    const QString failed = resetProbe(*m_sim, srgbDisplayLines());
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    m_hub = new ktPublicConfig;
    m_page = new KTUserCalibration(m_hub);
    m_page->show();
}

void TestUserCalibration::cleanupTestCase()
{
    delete m_hub;
    delete m_sim;
}

void TestUserCalibration::factoryChannelIsLeftForChannel01()
{
    QVERIFY(hub("MCH,00").contains("OK00"));
    m_page->UpdateWidget(); // the first tick with the port open resets the page and reads
    QTRY_VERIFY_WITH_TIMEOUT(m_page->form()->pbDownload->isEnabled(), 5000);
    QCOMPARE(m_page->form()->cb_memorychannnel->currentText(), QString("MCH01"));
    QCOMPARE(hub("STR,3"), QString("OK00,1"));
    QCOMPARE(m_page->form()->gb_para->title(), QString("Para (Read MCH01)"));
    QVERIFY(m_page->form()->gb_error->isHidden() && m_page->form()->groupBox_Setting->isHidden());
    // Later work goes to channel 5.
    m_page->form()->cb_memorychannnel->setCurrentIndex(4);
    QCOMPARE(hub("STR,3"), QString("OK00,5"));
    m_page->form()->cb_mode->setCurrentIndex(0); // XYZ
    QCOMPARE(hub("STR,5"), QString("OK00,7"));
    QCOMPARE(m_page->form()->lbX_ref1->text(), QString("X:"));
    m_page->form()->le_mestimes->setText("2");
}

// Enters the references, measures the groups through the page and downloads into channel 5.
void TestUserCalibration::calibrate(const QVector<Colour> &groups, int computed, const QString &sensor)
{
    control("sensor error " + sensor);
    auto *ui = m_page->form();
    ui->cb_datagroupcount->setCurrentText(QString::number(groups.size()));
    ui->cb_CalcuGroupCount->setCurrentText(QString::number(computed));
    for (int g = 1; g <= groups.size(); ++g) {
        const Eigen::Vector3d ref = groups[g - 1].xyz();
        for (int r = 0; r < 3; ++r)
            m_page->refField(g, r)->setText(QString::number(ref[r], 'g', 8));
        control("show " + groups[g - 1].text());
        m_page->findChild<QPushButton *>(QString("pbmes%1").arg(g))->click();
        QVERIFY(m_page->mesField(g, 1)->text().toDouble() > 0.0);
    }
}

QString TestUserCalibration::download()
{
    ModalCloser closer;
    closer.arm(3000);
    m_page->form()->pbDownload->click();
    return closer.seen ? closer.text : QString("no message");
}

void TestUserCalibration::closedLoopMatchesTheReference_data()
{
    QTest::addColumn<QVector<Colour>>("groups");
    QTest::addColumn<double>("tolXy");
    QTest::addColumn<double>("tolLv");    // relative
    QTest::addColumn<double>("tolOther"); // x, y of the unused colour (Lv: ten times this)
    QTest::addColumn<QString>("sensor");
    QTest::newRow("four groups, Tricorr") << QVector<Colour>{Red, Green, Blue, White} << 2e-4 << 2e-3 << 5e-4
                                          << "1.06,0.03,-0.02,0.015,0.97,0.01,-0.01,0.04,1.09";
    QTest::newRow("three groups, least squares") << QVector<Colour>{Red, Green, Blue} << 1e-3 << 1e-2 << 1e-3
                                                 << "0.95,0.02,0.01,-0.02,1.04,0.03,0.02,-0.01,0.92";
    QTest::newRow("five groups, least squares")
        << QVector<Colour>{Red, Green, Blue, White, {200, 100, 50}} << 1e-3 << 1e-2 << 1e-3
        << "1.1,-0.03,0,0.02,0.99,-0.02,0,0.05,1.03";
    QTest::newRow("one group, diagonal")
        << QVector<Colour>{White} << 2e-4 << 2e-3 << -1.0 << "1.04,0.02,0,0.01,0.98,0.01,0,0.03,1.06";
}

void TestUserCalibration::closedLoopMatchesTheReference()
{
    QFETCH(QVector<Colour>, groups);
    QFETCH(double, tolXy);
    QFETCH(double, tolLv);
    QFETCH(double, tolOther);
    QFETCH(QString, sensor);
    calibrate(groups, groups.size(), sensor);
    const QString message = download();
    QCOMPARE(message, QString("Download color matrix parameter succeed!"));
    QCOMPARE(hub("STR,3"), QString("OK00,5"));
    // The white reference comes from group 4 (group 1 when alone); three groups write none.
    const QString whiteX = hub("CMR,14");
    if (groups.size() != 3)
        QVERIFY2(std::abs(whiteX.mid(5).toDouble() - 0.3127) < 1e-4, qPrintable(whiteX));
    else
        QCOMPARE(whiteX, m_lastWhiteX);
    m_lastWhiteX = whiteX;
    QVector<Colour> check = groups;
    if (tolOther > 0)
        check << Unused;
    for (const Colour &c : check) {
        control("show " + c.text());
        ReplyReader::Xyz r;
        QVERIFY(ReplyReader::readXyzFields(hub("MES"), &r));
        const double sum = r.X.value + r.Y.value + r.Z.value;
        const Eigen::Vector3d ref = c.xyz();
        const double tol = &c == &check.last() && tolOther > 0 ? tolOther : tolXy;
        const double lvTol = tol == tolOther ? 10 * tolOther : tolLv;
        QVERIFY2(std::abs(r.X.value / sum - ref.x() / ref.sum()) < tol, qPrintable(c.text()));
        QVERIFY2(std::abs(r.Y.value / sum - ref.y() / ref.sum()) < tol, qPrintable(c.text()));
        QVERIFY2(std::abs(r.Y.value / ref.y() - 1) < lvTol, qPrintable(c.text()));
    }
    // The download left its record under "Datas".
    const QStringList records =
        QDir(qEnvironmentVariable("KT_DATA_ROOT") + "/Datas").entryList({"*_MCH05.ini"});
    QVERIFY(!records.isEmpty());
}

void TestUserCalibration::failedDownloadRestoresTheChannel_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("CMW refused at element 5") << "refuse CMW,5, 1"
                                              << "Solidify color matrix parameter 5 failed!";
    QTest::newRow("read-back times out") << "mute CMR,0 1 1"
                                         << "Read back color matrix parameter 0 failed!";
}

void TestUserCalibration::failedDownloadRestoresTheChannel()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    calibrate({Red, Green, Blue, White}, 4, "1.02,0.05,0,0,0.96,0.02,0.03,0,1.05");
    control(fault);
    const QString text = download();
    control("fault clear");
    QVERIFY2(text.startsWith(message) && text.contains("written back and read back"), qPrintable(text));
    const std::array<QString, 9> before = m_page->matrixBefore();
    for (int i = 0; i < 9; ++i)
        QCOMPARE(hub(QString("CMR,%1").arg(i)), "OK00," + before[size_t(i)]);
    QVERIFY(m_page->logView()->toPlainText().contains(message));
    // Nothing is generated from a group whose readings all failed.
    control("fault error");
    m_page->form()->pbmes2->click();
    control("fault clear");
    QCOMPARE(download(), Calibration::problemText(Calibration::Problem::NotMeasured));
}

void TestUserCalibration::exportThenImportReproducesTheTables()
{
    const auto texts = [this] {
        QStringList t;
        for (int g = 1; g <= 5; ++g)
            for (int r = 0; r < 3; ++r)
                t << m_page->refField(g, r)->text() << m_page->mesField(g, r)->text();
        return t;
    };
    auto *ui = m_page->form();
    ui->cb_datagroupcount->setCurrentText("5");
    const QStringList before = texts();
    const QString path = m_settings.filePath("tables.userRef");
    m_page->askSavePath = [&](const QString &) { return path; };
    m_page->askOpenPath = [&](const QString &) { return path; };
    ModalCloser exported;
    exported.arm();
    ui->pbExportRef->click();
    QCOMPARE(exported.text, QString("Export data file succeed!"));
    for (int g = 1; g <= 5; ++g)
        for (int r = 0; r < 3; ++r)
            m_page->refField(g, r)->setText("0.0");
    ModalCloser imported;
    imported.arm();
    ui->pbImportRef->click();
    QCOMPARE(imported.text, QString("Import data file succeed!"));
    QCOMPARE(texts(), before);
    // A bad value anywhere: the message names it and no field changes.
    QFile f(path);
    QVERIFY(f.open(QIODevice::Append));
    f.write("[MatrixMesData]\nZ5=12a\n");
    f.close();
    m_page->refField(1, 0)->setText("7");
    ModalCloser refused;
    refused.arm();
    ui->pbImportRef->click();
    QCOMPARE(refused.text, QString("Import data file failed!"));
    QCOMPARE(m_page->refField(1, 0)->text(), QString("7"));
    QVERIFY(m_page->logView()->toPlainText().contains("data 12a error!"));
    // One group shows the white group's values in group 1, and gives them back to group 4.
    const QString white = m_page->refField(4, 1)->text();
    ui->cb_datagroupcount->setCurrentText("1");
    QCOMPARE(m_page->refField(1, 1)->text(), white);
    QVERIFY(ui->gb_ref2->isHidden());
    ui->cb_datagroupcount->setCurrentText("4");
    QCOMPARE(m_page->refField(4, 1)->text(), white);
    QCOMPARE(m_page->refField(1, 0)->text(), QString("7"));
}

void TestUserCalibration::mesTimesOutOfRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << "0";
    QTest::newRow("51") << "51";
    QTest::newRow("empty") << "";
}

void TestUserCalibration::mesTimesOutOfRange()
{
    QFETCH(QString, text);
    QLineEdit *le = m_page->form()->le_mestimes;
    le->setText(text);
    ModalCloser closer;
    closer.arm();
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(le, &out);
    QVERIFY(closer.seen);
    QCOMPARE(closer.text, QString("Over range,mes times range is 1-50!"));
    QCOMPARE(le->text(), QString("10"));
}

void TestUserCalibration::overviewAndCopy()
{
    // Channel 00 gets a date of its own (factory mode), channel 5 a matrix of its own.
    for (const char *c : {"FCS,0", "MCH,00", "CMW,12,2020-01-02 03:04:05", "FCS,1", "MCH,05", "CMW,0,1.01"})
        QVERIFY2(hub(c).contains("OK00"), c);
    ktDownloadCoef copy(m_hub);
    const QDateTime shown(QDate(2025, 5, 6), QTime(7, 8, 9));
    copy.form()->dateTimeEdit->setDateTime(shown);
    for (const char *from : {"MCH00", "MCH05"}) {
        copy.form()->cb_memoryCH_from->setCurrentText(from);
        copy.form()->cb_memoryCH->setCurrentText(QString(from) == "MCH00" ? "MCH07" : "MCH08");
        copy.form()->le_memorychannelname->setText(QString("copy of ") + from);
        copy.on_pbDownload_clicked();
        QCOMPARE(copy.form()->textEdit_information->toPlainText(),
                 QString("Download color matrix parameter succeed!"));
    }
    QVERIFY(hub("MCH,07").contains("OK00"));
    QCOMPARE(hub("CMR,12"), QString("OK00,2020-01-02 03:04:05"));
    QVERIFY(hub("MCH,08").contains("OK00"));
    QCOMPARE(hub("CMR,12"), shown.toString("OK00,yyyy-MM-dd hh:mm:ss"));

    ktMemeryCHInfo info(m_hub);
    info.show();
    QTRY_COMPARE_WITH_TIMEOUT(info.model()->recordCount(), 100, 5000);
    QCOMPARE(info.model()->cellText(0, 1), QString("CH Name"));
    QCOMPARE(info.model()->cellText(7, 1), QString()); // a copy of channel 00's matrix
    QCOMPARE(info.model()->cellText(8, 1), QString("copy of MCH05"));
    QCOMPARE(info.model()->cellText(7, 5), QString("2020-01-02 03:04:05"));
    QTableView *table = info.form()->table_CHInfo;
    info.slot_table_CHInfo_MenuRequested(table->visualRect(info.model()->index(0, 1)).center());
    QVERIFY(!info.contextMenu()->isVisible() && info.currentRow() < 0);
    table->selectRow(8);
    ModalCloser ask, done;
    ask.until = [](const QString &t) { return t == "Override MCH08 with MCH00?"; };
    done.until = [](const QString &t) { return t == "Initialize channel ok!"; };
    ask.arm();
    done.arm(1500);
    info.slot_table_CHInfo_Init();
    QTRY_VERIFY(done.seen);
    QVERIFY(ask.seen);
    QTRY_COMPARE(info.model()->cellText(8, 5), QString("2020-01-02 03:04:05"));
}

QTEST_MAIN(TestUserCalibration)
#include "tst_usercalibration.moc"
