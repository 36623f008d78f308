#include "ktplatform.h"
#include "ptypeer.h"

#include <QDir>
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
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
