#include "ktmessagedlg.h"
#include "ktplatform.h"
#include "ktpublicconfig.h"
#include "ktserialportsetting.h"
#include "ktshellrules.h"
#include "ktshowrgb.h"
#include "ktradiance.h"
#include "kttintora.h"
#include "ktversioninfo.h"
#include "testhelpers.h"

#include <QtTest>
#include <QtWidgets>

using namespace TestHelpers;

class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_userSettings;
    int m_linkCounter = 0;

    static QString light(ktTintora &w) { return w.findChild<QPushButton *>("pbportstatus")->styleSheet(); }
    static QString portText(ktTintora &w) { return w.findChild<QLabel *>("le_port")->text(); }
    static QList<int> spins(ktTintora &w)
    {
        return {w.findChild<QSpinBox *>("sbR")->value(), w.findChild<QSpinBox *>("sbG")->value(),
                w.findChild<QSpinBox *>("sbB")->value()};
    }
    static QWidget *gammaPage() // a tab whose title is not one of the translated ones
    {
        auto *page = new QWidget;
        page->setWindowTitle("Gamma");
        return page;
    }

    // The measurement-mode dialog reads these at every new connection (in this order).
    const QList<QByteArray> modeSettingReads{"STR,1", "STR,28", "STR,17", "STR,7",
                                             "STR,8", "STR,31", "STR,3"};
    static QHash<QByteArray, QByteArray> probeReplies(const QByteArray &version, const QByteArray &type)
    {
        QHash<QByteArray, QByteArray> r{
            {"STR,1", "OK00,0"}, {"STR,28", "OK00,60.00Hz"}, {"STR,17", "OK00,100ms"}, {"STR,7", "OK00,1"},
            {"STR,8", "OK00,1"}, {"STR,31", "OK00,0"},       {"STR,3", "OK00,0"}};
        if (!version.isEmpty())
            r.insert("VER,1", "OK00," + version);
        if (!type.isEmpty())
            r.insert("TYP", "OK00," + type);
        r.insert("VID,1", "OK00,VID,5.00"); // the resync query after a time-out
        return r;
    }

    // Opens a pty through the window's own port dialog and lets the status poll see it.
    void connectWindow(ktTintora &w, PtyPeer &peer, const QString &name)
    {
        QVERIFY(peer.open(KtPlatform::virtualPortDir() + "/" + name));
        w.portDialog()->openPort(name);
        QVERIFY(probePort()->isOpen());
    }

private slots:
    void initTestCase()
    {
        ktInitResources();
        QDir().mkpath(KtPlatform::virtualPortDir());
        // Per-user settings (lang/value, the window's state) go to a throw-away folder.
        QVERIFY(m_userSettings.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_userSettings.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_userSettings.path());
    }

    void init()
    {
        probePort()->close();
        KtSettings::setLanguage("eng");
    }

    void startsWithTheSettingsFileAndARedLight()
    {
        QFile::remove(KtSettings::settingIniPath());
        ktTintora w;
        QVERIFY(QFile::exists(KtSettings::settingIniPath()) && isRed(light(w)));
        QCOMPARE(QStringList({portText(w), w.windowTitle(), w.findChild<QLabel *>("le_vertion")->text()}),
                 QStringList({"Not Open", "KT KRN-4", "1.1.0.34"}));
        QStringList menus;
        for (QAction *a : w.menuBar()->actions())
            menus << a->menu()->objectName() + "=" + a->text();
        QCOMPARE(menus,
                 QStringList({"menuPortSetting=Connect", "menuSetting=Setting",
                              "menuFirmwareUpgrade=FirmwareUpgrade", "menuExtralFunction=ExtralFunction",
                              "menuLanguage=Language", "menuAbout=About"}));
    }

    void capabilityCheck_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<bool>("waveform");
        QTest::addColumn<bool>("spectrum");
        QTest::newRow("5.00 P60") << QByteArray("5.00") << QByteArray("KRN4-P60") << true << true;
        QTest::newRow("4.10 100") << QByteArray("4.10") << QByteArray("KRN4-100") << false << false;
        QTest::newRow("no reply") << QByteArray() << QByteArray() << true << true;
    }
    // A port where nothing answers shows so (amber), skips the further queries until a reply.
    void capabilityCheck()
    {
        QFETCH(QByteArray, version);
        QFETCH(QByteArray, type);
        KtSettings::ensureSettingIni();
        KtSettings::writeSetting(KtSettings::Key::ExtendTab, "SPECTRUM"); // read once, when built
        ktTintora w;
        KtSettings::writeSetting(KtSettings::Key::ExtendTab, "");
        PtyPeer peer;
        ProbeResponder responder(&peer, probeReplies(version, type));
        const QString name = QString("KRN4-CAP%1").arg(++m_linkCounter);
        w.hub()->setBusyFlag(true); // the poll does nothing while a series holds the port
        connectWindow(w, peer, name);
        QTest::qWait(1300);
        QVERIFY(isRed(light(w)) && w.capabilityChecks() == 0);
        w.hub()->setBusyFlag(false);
        QTRY_COMPARE_WITH_TIMEOUT(w.capabilityChecks(), 1, 15000);
        QVERIFY(countInLog("Serial port is opened: " + name + "!") >= 1);
        QTEST(w.waveformPagesAllowed(), "waveform");
        QTEST(w.spectrumPageAllowed(), "spectrum");
        QTEST(w.findChild<ktSpectrum *>()->isEnabled(), "spectrum");
        if (version.isEmpty()) {
            QCOMPARE(responder.received, QList<QByteArray>({"VER,1"}));
            QVERIFY(w.probeSilent() && light(w).contains("stop:0 rgba(255, 176, 0, 255)"));
            QCOMPARE(portText(w), "no probe answers on " + name);
            QVERIFY(w.findChild<QPushButton *>("pbportstatus")->toolTip().contains(name));
            // The first reply clears the state; the skipped checks run at the next poll.
            responder.replies = probeReplies("5.00", "KRN4-P60");
            QString answer;
            QVERIFY(w.hub()->SendVER1(&answer));
            QVERIFY(!w.probeSilent() && isGreen(light(w)) && portText(w) == name);
            QTRY_COMPARE_WITH_TIMEOUT(w.capabilityChecks(), 2, 5000);
            QTRY_VERIFY_WITH_TIMEOUT(responder.received.endsWith(modeSettingReads.last()), 5000);
            // After the time-out the line is resynchronised before the next command is trusted.
            QCOMPARE(responder.received.mid(1, 2), QList<QByteArray>({"VID,1", "VER,1"}));
            QCOMPARE(responder.received.mid(3, 2), QList<QByteArray>({"VER,1", "TYP"}));
        } else {
            QCOMPARE(responder.received, QList<QByteArray>({"VER,1", "TYP"}) + modeSettingReads);
            QCOMPARE(PortHolder::instance()->syncText(), QString("NTSC:59.94[Hz]"));
            QCOMPARE(ktTintora::probeType(), QString::fromLatin1(type));
            QVERIFY(!w.probeSilent() && isGreen(light(w)) && portText(w) == name);
        }
        // Unplugged: the poll reports it once and the light turns red.
        peer.close();
        QTRY_VERIFY_WITH_TIMEOUT(isRed(light(w)), 3000);
        QVERIFY(portText(w) == "Not Open" && countInLog("Serial port is not opened: " + name + "!") >= 1);
    }

    // Esc on a tab page (a QDialog) used to hide it until a restart; tool dialogs keep Esc.
    void escapeLeavesTabPagesAndClosesDialogs()
    {
        ktTintora w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto *measure = qobject_cast<ktPublicConfig *>(w.tabWidget()->widget(0));
        QVERIFY(measure);
        auto *edit = measure->findChild<QLineEdit *>("le_Count");
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_Escape); // not taken by the edit: reaches the page
        QTest::keyClick(measure, Qt::Key_Escape);
        measure->reject();
        QVERIFY(measure->isVisible() && w.tabWidget()->currentWidget() == measure);

        ktPublicConfig dialog(&w);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }

    // The spin boxes and the gamma page's colour strings drive the pattern window; press and
    // hold steps all three components, and stops at 255.
    void colourControlsAndPressAndHold()
    {
        ktTintora w;
        w.findChild<QSpinBox *>("sbG")->setValue(128);
        QCOMPARE(w.colourWindow()->color(), QString("0,128,0"));
        for (QString colour : {"10,20,30", "40,50"}) // the second needs three parts: changes nothing
            w.slot_ShowColor(colour);
        QCOMPARE(spins(w), QList<int>({10, 20, 30}));
        QCOMPARE(w.colourWindow()->windowTitle() + w.findChild<QPushButton *>("pbColorSelect")->styleSheet(),
                 QString("10,20,30background-color: rgb(10,20,30);"));
        w.slot_ShowColorWindow();
        QVERIFY(w.colourWindow()->isVisible());
        w.colourWindow()->close();
        w.findChild<QSpinBox *>("sbR")->setValue(253);
        w.findChild<QSpinBox *>("sbG")->setValue(100);
        w.findChild<QSpinBox *>("sbB")->setValue(255);
        auto *up = w.findChild<QPushButton *>("pbColorUp");
        // The release arrives while the stepping waits (it keeps processing events).
        QTimer::singleShot(1100, up, [up] { emit up->released(); });
        emit up->pressed();
        const QList<int> waits = w.lastHoldWaits();
        QVERIFY2(waits.size() >= 3, qPrintable(QString::number(waits.size())));
        for (int i = 0; i < waits.size(); ++i)
            QCOMPARE(waits.at(i), KtShell::holdWaitMs(i));
        QCOMPARE(spins(w), QList<int>({255, 100 + waits.size(), 255}));
    }

    // The modeless colour-gamut tool: the action returns once it is closed, and it is gone.
    void colourGamutActionWaitsForItsDialog()
    {
        ktTintora w;
        QPointer<QWidget> seen;
        bool wasModal = true;
        QTimer::singleShot(200, [&] {
            for (QWidget *top : QApplication::topLevelWidgets()) {
                if (top->inherits("ktColorGamut") && top->isVisible()) {
                    seen = top;
                    wasModal = top->isModal();
                    top->close();
                }
            }
        });
        w.findChild<QAction *>("actionColorGamut")->trigger();
        QVERIFY(!wasModal && seen.isNull()); // closed and deleted when the action returned
    }

    // The login guards the firmware action; without a probe answering it opens the serial upgrade.
    void firmwareUpgradeNeedsTheLogin_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("reached");
        QTest::newRow("right") << "480713" << true;
        QTest::newRow("wrong") << "480714" << false;
    }
    void firmwareUpgradeNeedsTheLogin()
    {
        QFETCH(QString, password);
        ktTintora w;
        bool upgradeOpened = false;
        // Answers each modal dialog (queued: the click may open a nested one meanwhile).
        QTimer answer;
        QList<QWidget *> answered;
        connect(&answer, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || answered.contains(modal))
                return;
            answered << modal;
            upgradeOpened = upgradeOpened || modal->inherits("ktFirmwareUpgrade");
            if (auto *edit = modal->findChild<QLineEdit *>("lineEdit"))
                edit->setText(password);
            for (QPushButton *ok : modal->findChildren<QPushButton *>("pbOK")) {
                if (ok->isVisible())
                    return void(QMetaObject::invokeMethod(ok, &QPushButton::click, Qt::QueuedConnection));
            }
            modal->close();
        });
        answer.start(20);
        w.findChild<QAction *>("actionFirmwareUpgrade")->trigger();
        answer.stop();
        QFETCH(bool, reached);
        QCOMPARE(upgradeOpened, reached);
    }

    // The version dialog asks "VER", then "VID,1" after a "V2" reply, else "VER,1" (5 s time-outs).
    void versionDialogAsksTheFirmware_data()
    {
        QTest::addColumn<QByteArray>("verReply");
        QTest::addColumn<QByteArray>("secondCommand");
        QTest::addColumn<QString>("shown");
        QTest::newRow("V2 asks VID,1") << QByteArray("OK00,V2.03") << QByteArray("VID,1") << "2.03.7";
        QTest::newRow("other asks VER,1") << QByteArray("OK00,4.10") << QByteArray("VER,1") << "4.10,B";
        QTest::newRow("error reply asks VER,1") << QByteArray("ER20") << QByteArray("VER,1") << "4.10,B";
        // A time-out puts the line out of step: the next query is preceded by the resync query.
        QTest::newRow("no reply resynchronises") << QByteArray() << QByteArray("VID,1") << "";
    }
    void versionDialogAsksTheFirmware()
    {
        QFETCH(QByteArray, verReply);
        QFETCH(QByteArray, secondCommand);
        PtyPeer peer;
        QVERIFY(peer.open() && PageTest::openProbePort(peer.slavePath()));
        ProbeResponder responder(&peer,
                                 {{"VID,1", "OK00,V2,2.03.7"}, {"VER,1", "OK00,4.10,B"}, {"VER", verReply}});
        if (verReply.isEmpty())
            responder.replies.clear();
        ktVersionInfo dialog;
        dialog.show();
        QTRY_COMPARE_WITH_TIMEOUT(responder.received, QList<QByteArray>({"VER", secondCommand}), 12000);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.readerBusy(), 6000); // the second query answered or timed out
        QCOMPARE(dialog.findChild<QLineEdit *>("le_UplayerVersion")->text(), QString("1.1.0.34"));
        QTEST(dialog.findChild<QLineEdit *>("le_McuVersion")->text(), "shown");
        QSignalSpy endWait(&dialog, &ktVersionInfo::Signal_EndWait);
        dialog.findChild<QPushButton *>("pbOK")->click();
        QVERIFY(endWait.count() == 1 && !dialog.isVisible());
    }

    // Help finds the manual beside the program (data elsewhere) and names it when it cannot open it.
    void helpNamesTheManualItCannotOpen()
    {
        ktTintora w;
        ModalCloser closer;
        closer.arm();
        w.findChild<QAction *>("actionHelp")->trigger();
        QVERIFY(closer.seen);
        const QString path = closer.text.section('\n', -1);
        QVERIFY2(path.endsWith("-en.pdf") && QFile::exists(path), qPrintable(closer.text));
        QVERIFY(!path.startsWith(KtPlatform::appDir()));
    }

    void languageSwitchPersistsAndRetitlesTabs()
    {
        ktTintora w; // its first tab is the Measure page, titled "Measure"
        w.addPage(gammaPage());
        QVERIFY(w.switchLanguage(":/Tintora/Resources/Translation_zh_CN.qm", "chn"));
        QCOMPARE(QSettings("NQLV", "ktTintora").value("lang/value").toString(), QString("chn"));
        // The language change reaches the widgets as a posted event.
        QTRY_COMPARE_WITH_TIMEOUT(w.tabWidget()->tabText(0), QString::fromUtf8("测量"), 2000);
        QCOMPARE(
            QStringList({w.tabWidget()->tabText(w.tabWidget()->count() - 1), w.menuBar()->actions().first()->text(),
                         portText(w)}),
            QStringList({"Gamma", QString::fromUtf8("连接"), QString::fromUtf8("未打开")}));
        // A missing or broken translation changes neither the language nor the setting.
        QTemporaryDir dir;
        QFile junk(dir.filePath("junk.qm"));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a translation") > 0);
        junk.close();
        for (const QString &file : {QString(":/Tintora/Resources/Translation_fr.qm"), junk.fileName()}) {
            QVERIFY(!w.switchLanguage(file, "fra"));
            QVERIFY(w.languageValue() == "chn" && KtSettings::language() == "chn");
        }
        QCOMPARE(ktTintora().languageValue(), QString("chn")); // the stored language applies at start
        QVERIFY(w.switchLanguage(":/Tintora/Resources/Translation_en.qm", "eng"));
        QCOMPARE(KtSettings::language(), QString("eng"));
        QTRY_COMPARE_WITH_TIMEOUT(w.tabWidget()->tabText(0), QString("Measure"), 2000);
    }

    // Geometry and last tab come back at the next start, from the per-user store (not setting.ini).
    void geometryAndLastTabSurviveARestart()
    {
        QSettings("NQLV", "ktTintora").remove("mainWindow");
        const QRect placed(70, 60, 1250, 700);
        {
            ktTintora w;
            w.addPage(gammaPage());
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.setGeometry(placed);
            w.tabWidget()->setCurrentIndex(1);
            QTRY_COMPARE(w.geometry(), placed);
            w.close();
        }
        ktTintora again;
        again.addPage(gammaPage());
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QVERIFY(again.geometry() == placed && again.tabWidget()->currentIndex() == 1);
        QFile ini(KtSettings::settingIniPath());
        QVERIFY(ini.open(QIODevice::ReadOnly) && !ini.readAll().contains("mainWindow"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
