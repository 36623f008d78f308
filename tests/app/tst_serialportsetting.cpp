#include "ktmessagedlg.h"
#include "ktplatform.h"
#include "ktserialportsetting.h"
#include "ptypeer.h"
#include "testhelpers.h"

#include <QtTest>
#include <QtWidgets>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace TestHelpers;

// The port dialog on a real pty and QSerialPort: closing the peer's side is an unplug, a new
// pty under the same link name the replug.
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
        QVERIFY(probePort()->isOpen() && isGreen(lightOf(&dialog)) && dialog.autoReopen());
        QCOMPARE(countInLog("Open serial port succeed"), opensBefore + 1);

        peer.close(); // unplug: the port reports a resource error and is closed
        QTRY_VERIFY_WITH_TIMEOUT(!probePort()->isOpen(), 3000);
        QVERIFY(isRed(lightOf(&dialog)) && dialog.autoReopen());

        // Let the list refresh see the port gone before it comes back.
        QTRY_VERIFY_WITH_TIMEOUT(!KtPlatform::availablePorts().contains("KRN4-PLUG"), 1000);
        QTest::qWait(1100);
        QVERIFY(peer.open(link("KRN4-PLUG")));
        QTRY_VERIFY_WITH_TIMEOUT(probePort()->isOpen(), 3000);
        QVERIFY(isGreen(lightOf(&dialog)));
        QCOMPARE(countInLog("Open serial port succeed"), opensBefore + 2);
        // The reopened port carries data again.
        QVERIFY(probePort()->write("VER\r") == 4 && probePort()->waitForBytesWritten(1000));
        QCOMPARE(peer.readUntil('\r', 2000), QByteArray("VER\r"));

        // Closed by hand, it is not reopened when the device comes back.
        button(&dialog, "pbcloseport")->click();
        QVERIFY(!probePort()->isOpen() && !dialog.autoReopen() && isRed(lightOf(&dialog)));

        peer.close();
        QTest::qWait(1100);
        QVERIFY(peer.open(link("KRN4-PLUG")));
        QTest::qWait(2200); // two list refreshes: a reopen would have happened by now
        QVERIFY(!probePort()->isOpen());
    }

    // A series closes the port, sets the busy flag and its worker holds the device: no reopen (it
    // logged "locking the device" every second). A reopen that keeps failing logs once.
    void noReopenWhileASeriesHoldsThePort()
    {
        PtyPeer peer;
        QVERIFY(peer.open(link("KRN4-SERIES")));
        ktSerialPortSetting dialog;
        bool busy = false;
        dialog.setReopenSuspended([&busy] { return busy; });
        dialog.openPort("KRN4-SERIES");
        QVERIFY(probePort()->isOpen());
        busy = true;
        probePort()->close();
        QSerialPort worker;
        worker.setPortName(link("KRN4-SERIES"));
        QVERIFY(worker.open(QIODevice::ReadWrite));
        const int failures = countInLog("Open serial port failed");
        QTest::qWait(2200);
        QVERIFY(!probePort()->isOpen() && countInLog("Open serial port failed") == failures);
        busy = false; // the flag cleared while the device is still held elsewhere
        QTest::qWait(3300);
        QVERIFY(!probePort()->isOpen() && countInLog("Open serial port failed") == failures + 1);
        worker.close(); // the series is over: the port comes back by itself
        QTRY_VERIFY_WITH_TIMEOUT(probePort()->isOpen(), 3000);
    }

    // With another port selected, the message names the port that is open.
    void openOnAnOpenPortOnlyLogs()
    {
        PtyPeer peer, other;
        QVERIFY(peer.open(link("KRN4-TWICE")) && other.open(link("KRN4-OTHER")));
        ktSerialPortSetting dialog;
        dialog.openPort("KRN4-TWICE");
        QVERIFY(probePort()->isOpen());
        const int opens = countInLog("Open serial port succeed");
        const int already = countInLog("Port is open status now: " + link("KRN4-TWICE") + "!");
        QVERIFY(dialog.selectPort("KRN4-OTHER"));
        button(&dialog, "pbopenport")->click();
        QCOMPARE(countInLog("Open serial port succeed"), opens);
        QCOMPARE(countInLog("Port is open status now: " + link("KRN4-TWICE") + "!"), already + 1);
        QCOMPARE(countInLog("Port is open status now: " + link("KRN4-OTHER")), 0);
    }

    void openFailureIsReportedInRed()
    {
        PtyPeer peer;
        QVERIFY(peer.open(link("KRN4-GONE")));
        ktSerialPortSetting dialog;
        QVERIFY(dialog.selectPort("KRN4-GONE"));
        peer.close(); // gone before the operator presses "Open Port" (list not refreshed yet)
        const int failures = countInLog("KRN4-GONE error: "); // the path depends on the link being gone
        button(&dialog, "pbopenport")->click();
        QVERIFY(!probePort()->isOpen() && !dialog.autoReopen() && isRed(lightOf(&dialog)));
        QCOMPARE(countInLog("KRN4-GONE error: "), failures + 1);
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
            // (A pty forces 8N1 in its own settings: the configured value is what can be checked.)
            QCOMPARE(probePort()->parity(), QSerialPort::OddParity);

            ModalCloser closer;
            closer.arm();
            button(&dialog, "pbsave")->click();
            QVERIFY(closer.seen);
            QCOMPARE(dialog.messageDialog()->message(), QString("Save successfully!"));
            QTest::qWait(1100);
            QVERIFY(!probePort()->isOpen()); // saving closes the port until it is opened by hand
        }
        QSettings ini(KtSettings::configIniPath(), QSettings::IniFormat);
        QStringList stored;
        for (const char *key :
             {"DVXCom", "TestMethods", "BaudRate", "Databits", "Stopbits", "FactoryCalibrationVisible"})
            stored << ini.value(QString("sysConfig/") + key).toString();
        QCOMPARE(stored, QStringList({"KRN4-SAVE", "3", "115200", "8", "1", "false"}));
        ktSerialPortSetting again;
        QStringList shown;
        for (const char *box : {"cbDVXCom", "cbTestMethods", "cbBaudRate"})
            shown << again.findChild<QComboBox *>(box)->currentText();
        QCOMPARE(shown, QStringList({"KRN4-SAVE", "Odd", "115200"}));
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

    // An unlisted baud rate leaves no selection; the gray light is the black one with a border.
    void unknownBaudRateAndGrayLight()
    {
        QSettings ini(KtSettings::configIniPath(), QSettings::IniFormat);
        ini.setValue("sysConfig/BaudRate", 12345);
        ini.setValue("sysConfig/TestMethods", 2);
        ini.sync();
        ktSerialPortSetting dialog;
        QCOMPARE(dialog.findChild<QComboBox *>("cbBaudRate")->currentIndex(), -1);
        QCOMPARE(dialog.findChild<QComboBox *>("cbTestMethods")->currentText(), QString("Even"));
        QCOMPARE(ktSerialPortSetting::lightStyle("GRAY"),
                 "border-width: 1px;\nborder-style: solid; \nborder-color: black;\n" +
                     ktSerialPortSetting::lightStyle("BLACK"));
    }
};

QTEST_MAIN(TestSerialPortSetting)
#include "tst_serialportsetting.moc"
