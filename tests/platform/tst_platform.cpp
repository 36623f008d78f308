#include "ktplatform.h"
#include "ptypeer.h"

#include <QDir>
#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

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
        QCOMPARE(KtPlatform::devicePath("KRN4-PLATFORM"), link);
        QCOMPARE(KtPlatform::portNameFromPath(link), QString("KRN4-PLATFORM"));
        QFile::remove(link);
        QVERIFY(!KtPlatform::availablePorts().contains("KRN4-PLATFORM"));
        // A regular file, and a link to one: no terminal, no port.
        QFile plain(KtPlatform::virtualPortDir() + "/KRN4-FILE");
        QFile::remove(KtPlatform::virtualPortDir() + "/KRN4-LINK");
        QVERIFY(plain.open(QIODevice::WriteOnly) && plain.link(KtPlatform::virtualPortDir() + "/KRN4-LINK"));
        QVERIFY(!KtPlatform::availablePorts().contains("KRN4-FILE") &&
                !KtPlatform::isVirtualPort("KRN4-LINK"));
    }

    // Without KT_VIRTUAL_PORT_DIR the folder is the user's own (whoever can put a link there
    // decides which "ports" are listed and opened); one that others can write is refused.
    void defaultPortFolderIsPrivate()
    {
        const QByteArray saved[] = {qgetenv("KT_VIRTUAL_PORT_DIR"), qgetenv("XDG_RUNTIME_DIR"),
                                    qgetenv("TMPDIR")};
        qunsetenv("KT_VIRTUAL_PORT_DIR");
        for (const char *base : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
            QTemporaryDir folder;
            qunsetenv("XDG_RUNTIME_DIR");
            qputenv(base, folder.path().toLocal8Bit());
            const QString dir = KtPlatform::virtualPortDir();
            const QString name =
                base == QLatin1String("TMPDIR") ? QString("krn4-ports-%1").arg(::getuid()) : "krn4-ports";
            struct stat st = {};
            QCOMPARE(dir, folder.path() + '/' + name);
            QVERIFY(::stat(dir.toLocal8Bit(), &st) == 0 && st.st_uid == ::getuid() &&
                    (st.st_mode & 0777) == 0700);
            ::chmod(dir.toLocal8Bit(), 0777);
            QVERIFY(KtPlatform::virtualPortDir().isEmpty() &&
                    KtPlatform::virtualPortDirProblem().contains(dir));
            ::chmod(dir.toLocal8Bit(), 0700);
            QVERIFY(::getuid() != 0 || (::chown(dir.toLocal8Bit(), 65534, gid_t(-1)) == 0 &&
                                        KtPlatform::virtualPortDir().isEmpty()));
        }
        qputenv("KT_VIRTUAL_PORT_DIR", saved[0]);
        qputenv("XDG_RUNTIME_DIR", saved[1]);
        qputenv("TMPDIR", saved[2]);
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
        QCOMPARE(KtPlatform::programLogPath(QDate(2026, 3, 7)), KtPlatform::documentsDir() + "/2026-03-07");
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

    // The custom gray-level list is edited like notepad on Windows: the call returns only
    // after the editor has ended, so the caller reloads what the operator saved.
    void editorIsWaitedForAndSeesTheFile()
    {
        qputenv("KT_TEXT_EDITOR", "sh -c true"); // a program with its options
        QCOMPARE(KtPlatform::textEditorCommand(), (QStringList{"sh", "-c", "true"}));
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

    void missingDocumentIsNotOpened() { QVERIFY(!KtPlatform::openDocument("/nonexistent/KRN4-100-cn.pdf")); }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
