#include <QtTest>

#include <QSerialPort>

#include "bootloaderlink.h"
#include "bootloadersession.h"
#include "ktresources.h"
#include "simprocess.h"

#include <memory>

// The boot-loader exchange against krn4-sim's boot loader over the real serial link (its
// pseudo-terminal, QSerialPort, the line-speed switch), with the compiled-in loader image.
class TestBootLoader : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void upgrade_data();
    void upgrade();

private:
    QByteArray command(const QByteArray &text);
    std::unique_ptr<SimProcess> m_sim;
    QByteArray m_loader;
};

using Stage = BootLoaderSession::Stage;
using Problem = BootLoaderSession::Problem;
Q_DECLARE_METATYPE(Stage)
Q_DECLARE_METATYPE(Problem)

void TestBootLoader::initTestCase()
{
    if (SimProcess::binary().isEmpty())
        QSKIP("KT_SIM_BIN is not set");
    ktInitResources();
    QFile image(":/boot/Boot.dat");
    QVERIFY(image.open(QIODevice::ReadOnly));
    m_loader = image.readAll();
}

void TestBootLoader::init()
{
    m_sim = std::make_unique<SimProcess>(QStringList{"--firmware", "4.10"});
    QVERIFY2(m_sim->start(), qPrintable(m_sim->errorText()));
}

void TestBootLoader::cleanup()
{
    m_sim.reset();
}

QByteArray TestBootLoader::command(const QByteArray &text)
{
    QSerialPort port;
    port.setPortName(m_sim->linkPath());
    port.setBaudRate(115200);
    if (!port.open(QIODevice::ReadWrite))
        return "cannot open";
    port.write(text + '\r');
    QByteArray reply;
    while (!reply.endsWith('\r') && port.waitForReadyRead(3000))
        reply += port.readAll();
    return reply.trimmed();
}

void TestBootLoader::upgrade_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("fault");    // control line before the transfer
    QTest::addColumn<bool>("enterLoader"); // "UPD,1" first ("Auto"); else the probe is not there
    QTest::addColumn<bool>("damageLoader");
    QTest::addColumn<Stage>("stage");
    QTest::addColumn<Problem>("problem");
    QTest::addColumn<int>("stoppedAt"); // loader byte or block where it ended, -1 not checked
    // A multiple of 4096 is followed by one block of 0xFF only.
    QTest::newRow("4096 bytes in 2 blocks")
        << 4096 << "" << true << false << Stage::Done << Problem::None << 2;
    QTest::newRow("10000 bytes in 3 blocks")
        << 10000 << "" << true << false << Stage::Done << Problem::None << 3;
    QTest::newRow("missing loader echo")
        << 4096 << "fault boot echo 100" << true << false << Stage::Failed << Problem::LoaderEcho << 100;
    QTest::newRow("damaged loader image refused by the probe")
        << 4096 << "" << true << true << Stage::Failed << Problem::BlockCount << -1;
    QTest::newRow("block 2 not acknowledged")
        << 10000 << "fault boot ack 2" << true << false << Stage::Failed << Problem::BlockAck << 1;
    QTest::newRow("no answer after the restart")
        << 4096 << "fault boot restart" << true << false << Stage::Failed << Problem::NoRestartAnswer << -1;
    QTest::newRow("probe not in its boot loader")
        << 4096 << "" << false << false << Stage::Failed << Problem::NoSync << 0;
    QTest::newRow("255 blocks refused before anything is sent")
        << 255 * 4096 << "" << true << false << Stage::Failed << Problem::FirmwareTooLarge << 0;
}

void TestBootLoader::upgrade()
{
    QFETCH(int, size);
    QFETCH(QString, fault);
    QFETCH(bool, enterLoader);
    QFETCH(bool, damageLoader);
    QFETCH(Problem, problem);
    QFETCH(int, stoppedAt);
    QByteArray firmware(size, '\0');
    for (int i = 0; i < size; ++i)
        firmware[i] = char((i * 31 + 7) & 0xFF);
    firmware.replace(10, 17, QByteArray("KRN4FW:9.99.4242", 17)); // the version the probe reports
    QByteArray loader = m_loader;
    if (damageLoader)
        loader[40] = char(loader[40] ^ 0x01);
    if (!fault.isEmpty())
        QVERIFY(m_sim->control(fault).startsWith("OK"));
    if (enterLoader)
        QCOMPARE(command("UPD,1"), QByteArray("OK00"));

    BootLoaderSession session(loader, firmware);
    QList<int> progress;
    const BootLoaderLink::Result result =
        BootLoaderLink::run(session, m_sim->linkPath(), [&progress](int p) { progress << p; });
    QTEST(session.stage(), "stage");
    QCOMPARE(session.problem(), problem);
    if (problem == Problem::FirmwareTooLarge) {
        QVERIFY(!result.portOpened);
        QVERIFY(m_sim->control("state").contains("boot=1")); // still waiting for its first byte
        return;
    }
    QVERIFY(result.portOpened);
    if (stoppedAt >= 0)
        QCOMPARE(problem == Problem::None ? session.blocks() : session.position(), stoppedAt);
    if (problem == Problem::None || problem == Problem::NoRestartAnswer) {
        QCOMPARE(progress.last(), 100);
        QCOMPARE(command("VER,1"), QByteArray("OK00,9.99.4242"));
        // The probe holds the file byte for byte, the last block padded with 0xFF.
        const QByteArray held = firmware + QByteArray(session.blocks() * 4096 - size, char(0xFF));
        if (problem == Problem::None)
            QCOMPARE(m_sim->control("firmware"),
                     QString("OK bytes=%1 sha1=%2")
                         .arg(held.size())
                         .arg(QCryptographicHash::hash(held, QCryptographicHash::Sha1).toHex().constData()));
    } else if (problem == Problem::LoaderEcho) {
        // It stopped at the lost echo: the probe never got a block count.
        QCOMPARE(progress.last(), 100 * 50 / m_loader.size());
    }
}

QTEST_GUILESS_MAIN(TestBootLoader)
#include "tst_bootloader.moc"
