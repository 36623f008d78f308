#include "ktmessagedlg.h"
#include "ktplatform.h"
#include "ktserialportsetting.h"
#include "ptypeer.h"
#include "testhelpers.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace TestHelpers;

// The port dialog against a real pseudo-terminal opened with the real QSerialPort. Closing the
// peer's master side is what an unplugged USB adapter looks like to the port; opening a new
// pty under the same link name is the replug.
class TestSerialPortSetting : public QObject
{
    Q_OBJECT

    QString link(const QString &name) const { return KtPlatform::virtualPortDir() + "/" + name; }

    static QPushButton *button(QWidget *dialog, const char *name)
    {
        return dialog->findChild<QPushButton *>(QString::fromLatin1(name));
    }
    static QString lightOf(QWidget *dialog)
    {
        return dialog->findChild<QPushButton *>(QStringLiteral("pbportstatus"))->styleSheet();
    }
    // Switches this thread's power to ignore file permissions (held when running as root).
    static void overridePermissions(bool on)
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct caps[2] = {};
        if (::syscall(SYS_capget, &header, caps) != 0)
            return;
        const __u32 bit = 1u << CAP_DAC_OVERRIDE;
        caps[0].effective = on ? caps[0].effective | (caps[0].permitted & bit) : caps[0].effective & ~bit;
        ::syscall(SYS_capset, &header, caps);
    }

private slots:
    void initTestCase()
    {
        ktInitResources();
        QDir().mkpath(KtPlatform::virtualPortDir());
    }

    void init()
    {
        probePort()->close();
        QFile::remove(KtSettings::configIniPath());
    }

    void unplugTurnsRedAndReplugReopens()
    {
        PtyPeer peer;
        QVERIFY(peer.open(link("KRN4-PLUG")));
        ktSerialPortSetting dialog;
        const int opensBefore = countInLog("Open serial port succeed");
        dialog.openPort("KRN4-PLUG");
        QVERIFY(probePort()->isOpen());
        QVERIFY(isGreen(lightOf(&dialog)));
        QVERIFY(dialog.autoReopen());
        QCOMPARE(countInLog("Open serial port succeed"), opensBefore + 1);

        peer.close(); // unplug: the port reports a resource error and is closed
        QTRY_VERIFY_WITH_TIMEOUT(!probePort()->isOpen(), 3000);
        QVERIFY(isRed(lightOf(&dialog)));
        QVERIFY(dialog.autoReopen());

        // Let the list refresh see the port gone before it comes back.
        QTRY_VERIFY_WITH_TIMEOUT(!KtPlatform::availablePorts().contains("KRN4-PLUG"), 1000);
        QTest::qWait(1100);
        QVERIFY(peer.open(link("KRN4-PLUG")));
        QTRY_VERIFY_WITH_TIMEOUT(probePort()->isOpen(), 3000);
        QVERIFY(isGreen(lightOf(&dialog)));
        QCOMPARE(countInLog("Open serial port succeed"), opensBefore + 2);

        // The reopened port carries data again.
        QVERIFY(probePort()->write("VER\r") == 4);
        QVERIFY(probePort()->waitForBytesWritten(1000));
        QCOMPARE(peer.readUntil('\r', 2000), QByteArray("VER\r"));
    }

    void closedByHandIsNotReopened()
    {
        PtyPeer peer;
        QVERIFY(peer.open(link("KRN4-HAND")));
        ktSerialPortSetting dialog;
        dialog.openPort("KRN4-HAND");
        QVERIFY(probePort()->isOpen());
        button(&dialog, "pbcloseport")->click();
        QVERIFY(!probePort()->isOpen());
        QVERIFY(!dialog.autoReopen());
        QVERIFY(isRed(lightOf(&dialog)));

        peer.close();
        QTest::qWait(1100);
        QVERIFY(peer.open(link("KRN4-HAND")));
        // Two list refreshes: enough for a reopen to have happened if it were going to.
        QTest::qWait(2200);
        QVERIFY(!probePort()->isOpen());
    }

    void openOnAnOpenPortOnlyLogs()
    {
        PtyPeer peer;
        QVERIFY(peer.open(link("KRN4-TWICE")));
        ktSerialPortSetting dialog;
        dialog.openPort("KRN4-TWICE");
        QVERIFY(probePort()->isOpen());
        const int opens = countInLog("Open serial port succeed");
        const int already = countInLog("Port is open status now: " + link("KRN4-TWICE") + "!");
        button(&dialog, "pbopenport")->click();
        QVERIFY(probePort()->isOpen());
        QCOMPARE(countInLog("Open serial port succeed"), opens);
        QCOMPARE(countInLog("Port is open status now: " + link("KRN4-TWICE") + "!"), already + 1);
    }

    void openFailureIsReportedInRed()
    {
        PtyPeer peer;
        QVERIFY(peer.open(link("KRN4-GONE")));
        ktSerialPortSetting dialog;
        QVERIFY(dialog.selectPort("KRN4-GONE"));
        peer.close(); // gone before the operator presses "Open Port" (list not refreshed yet)
        // (The logged path depends on whether the link is still there; the name is in it.)
        const QString failure = QStringLiteral("KRN4-GONE error: ");
        const int failures = countInLog(failure);
        button(&dialog, "pbopenport")->click();
        QVERIFY(!probePort()->isOpen());
        QVERIFY(!dialog.autoReopen());
        QVERIFY(isRed(lightOf(&dialog)));
        QCOMPARE(countInLog(failure), failures + 1);
        QVERIFY(programLog().contains("Open serial port failed: "));
    }

    void savedPortAndOddParityReadBack()
    {
        PtyPeer peer;
        QVERIFY(peer.open(link("KRN4-SAVE")));
        {
            ktSerialPortSetting dialog;
            QVERIFY(dialog.selectPort("KRN4-SAVE"));
            auto *parity = dialog.findChild<QComboBox *>("cbTestMethods");
            parity->setCurrentIndex(parity->findText("Odd"));
            button(&dialog, "pbopenport")->click();
            QVERIFY(probePort()->isOpen());
            // (A pseudo-terminal forces 8 bits without parity in its own terminal settings, so
            // the configured value is what can be checked here.)
            QCOMPARE(probePort()->parity(), QSerialPort::OddParity);

            ModalCloser closer;
            closer.arm();
            button(&dialog, "pbsave")->click();
            QVERIFY(closer.seen);
            QCOMPARE(dialog.messageDialog()->message(), QString("Save successfully!"));
            QVERIFY(!probePort()->isOpen()); // saving closes the port ...
            QTest::qWait(1100);
            QVERIFY(!probePort()->isOpen()); // ... and it stays closed until opened by hand
        }
        QSettings ini(KtSettings::configIniPath(), QSettings::IniFormat);
        QCOMPARE(ini.value("sysConfig/DVXCom").toString(), QString("KRN4-SAVE"));
        QCOMPARE(ini.value("sysConfig/TestMethods").toString(), QString("3"));
        QCOMPARE(ini.value("sysConfig/BaudRate").toString(), QString("115200"));
        QCOMPARE(ini.value("sysConfig/Databits").toString(), QString("8"));
        QCOMPARE(ini.value("sysConfig/Stopbits").toString(), QString("1"));
        QCOMPARE(ini.value("sysConfig/FactoryCalibrationVisible").toString(), QString("false"));

        ktSerialPortSetting again;
        QCOMPARE(again.findChild<QComboBox *>("cbDVXCom")->currentText(), QString("KRN4-SAVE"));
        QCOMPARE(again.findChild<QComboBox *>("cbTestMethods")->currentText(), QString("Odd"));
        QCOMPARE(again.findChild<QComboBox *>("cbBaudRate")->currentText(), QString("115200"));
    }

    // A folder the program may not write: Save says so instead of claiming success. (Root
    // ignores permission bits; that capability is switched off for this thread meanwhile.)
    void saveIntoReadOnlyFolderReportsFailure()
    {
        const QString folder = QFileInfo(KtSettings::configIniPath()).absolutePath();
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        overridePermissions(false);
        ktSerialPortSetting dialog;
        ModalCloser closer;
        closer.arm();
        button(&dialog, "pbsave")->click();
        overridePermissions(true);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(closer.seen);
        QVERIFY(dialog.messageDialog()->message().startsWith("Save failed!"));
        QVERIFY(!QFile::exists(KtSettings::configIniPath()));
    }

    void unknownBaudRateLeavesNoSelection()
    {
        QSettings ini(KtSettings::configIniPath(), QSettings::IniFormat);
        ini.setValue("sysConfig/BaudRate", 12345);
        ini.setValue("sysConfig/TestMethods", 2);
        ini.sync();
        ktSerialPortSetting dialog;
        QCOMPARE(dialog.findChild<QComboBox *>("cbBaudRate")->currentIndex(), -1);
        QCOMPARE(dialog.findChild<QComboBox *>("cbTestMethods")->currentText(), QString("Even"));
    }

    void lightStyles()
    {
        QVERIFY(isRed(ktSerialPortSetting::lightStyle("RED")));
        QVERIFY(isGreen(ktSerialPortSetting::lightStyle("GREEN")));
        QVERIFY(ktSerialPortSetting::lightStyle("GRAY").startsWith(
            "border-width: 1px;\nborder-style: solid; \nborder-color: black;\nbackground-color: "
            "qlineargradient("));
        QVERIFY(ktSerialPortSetting::lightStyle("GRAY").endsWith(ktSerialPortSetting::lightStyle("BLACK")));
    }
};

QTEST_MAIN(TestSerialPortSetting)
#include "tst_serialportsetting.moc"
