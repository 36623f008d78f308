#include "ktplatform.h"
#include "ptypeer.h"

#include <QDir>
#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QDir().mkpath(KtPlatform::virtualPortDir()); }

    void liveVirtualPortIsListedUnderItsLinkName()
    {
        PtyPeer peer;
        const QString link = KtPlatform::virtualPortDir() + "/KRN4-PLATFORM";
        QVERIFY(peer.open(link));
        QVERIFY(KtPlatform::availablePorts().contains("KRN4-PLATFORM"));
        QVERIFY(KtPlatform::isVirtualPort("KRN4-PLATFORM"));
        QCOMPARE(KtPlatform::devicePath("KRN4-PLATFORM"), link);
        QCOMPARE(KtPlatform::portNameFromPath(link), QString("KRN4-PLATFORM"));
        QFile::remove(link);
        QVERIFY(!KtPlatform::availablePorts().contains("KRN4-PLATFORM"));
    }

    void hardwarePortsLiveUnderDev()
    {
        QCOMPARE(KtPlatform::devicePath("ttyUSB0"), QString("/dev/ttyUSB0"));
        QCOMPARE(KtPlatform::portNameFromPath("/dev/ttyUSB0"), QString("ttyUSB0"));
        QCOMPARE(KtPlatform::portNameFromStored(KtPlatform::storedPortValue("ttyACM3")), QString("ttyACM3"));
    }

    void dataRootFollowsTheEnvironment()
    {
        QCOMPARE(KtPlatform::appDir(), QDir::cleanPath(QString::fromLocal8Bit(qgetenv("KT_DATA_ROOT"))));
        QVERIFY(QDir(KtPlatform::appDir()).exists());
    }

    // On Linux an unplugged device reads as end of file, which QSerialPort reports as a
    // ReadError; it must still count as a vanished device, and a live line must not.
    void hungUpLineCountsAsAVanishedDevice()
    {
        PtyPeer peer;
        QVERIFY(peer.open(KtPlatform::virtualPortDir() + "/KRN4-HUP"));
        QSerialPort port;
        port.setPortName(KtPlatform::devicePath("KRN4-HUP"));
        QVERIFY(port.open(QIODevice::ReadWrite));
        QVERIFY(!KtPlatform::serialDeviceGone(&port, QSerialPort::ReadError));
        QVERIFY(KtPlatform::serialDeviceGone(&port, QSerialPort::ResourceError));
        QVERIFY(!KtPlatform::serialDeviceGone(&port, QSerialPort::WriteError));
        peer.close();
        QVERIFY(KtPlatform::serialDeviceGone(&port, QSerialPort::ReadError));
        port.close();
    }

    void programLogIsOneFilePerDayInTheDocumentsFolder()
    {
        const QString path = KtPlatform::programLogPath(QDate(2026, 3, 7));
        QCOMPARE(path, KtPlatform::documentsDir() + "/2026-03-07");
    }

    // The custom gray-level list is edited like notepad on Windows: the call returns only
    // after the editor has ended, so the caller reloads what the operator saved.
    void editorIsWaitedForAndSeesTheFile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString editor = dir.filePath("fake-editor.sh");
        QFile script(editor);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nsleep 0.3\nprintf '10\\n20\\n' >> \"$1\"\n");
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
        qputenv("KT_TEXT_EDITOR", editor.toLocal8Bit());

        const QString list = dir.filePath("sub/Custom_GaryScanning.txt");
        QVERIFY(KtPlatform::editTextFileAndWait(list));
        QFile result(list);
        QVERIFY(result.open(QIODevice::ReadOnly));
        QCOMPARE(result.readAll(), QByteArray("10\n20\n"));
        qunsetenv("KT_TEXT_EDITOR");
    }

    void editorFromTheEnvironmentKeepsItsOptions()
    {
        qputenv("KT_TEXT_EDITOR", "sh -c true");
        QCOMPARE(KtPlatform::textEditorCommand(), (QStringList{"sh", "-c", "true"}));
        qunsetenv("KT_TEXT_EDITOR");
    }

    void missingDocumentIsNotOpened() { QVERIFY(!KtPlatform::openDocument("/nonexistent/KRN4-100-cn.pdf")); }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
