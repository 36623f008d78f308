#include <QtTest>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "ktlogin.h"
#include "ktmessagedlg.h"
#include "ktprogramlog.h"
#include "ktscaling.h"

// The small dialogs driven as an operator would, under the offscreen platform.
class TestCoreDialogs : public QObject
{
    Q_OBJECT
private slots:
    void messageDialogButtons_data();
    void messageDialogButtons();
    void messageDialogAcceptedFollowsTheButton();
    void loginAcceptsOnlyTheFixedPassword_data();
    void loginAcceptsOnlyTheFixedPassword();
    void scalingMultipliesGeometryRecursively();
    void programLogLineForm();

private:
    // Clicks the named button of the next modal dialog from the event loop.
    static void clickInNextModal(const QString &button)
    {
        QTimer::singleShot(0, [button] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            if (auto *pb = modal->findChild<QPushButton *>(button))
                pb->click();
            else
                modal->close();
        });
    }
};

void TestCoreDialogs::messageDialogButtons_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("ok");
    QTest::newRow("confirm") << true << true;
    QTest::newRow("warning") << false << true;
    QTest::newRow("progress") << false << false;
}

void TestCoreDialogs::messageDialogButtons()
{
    QFETCH(bool, cancel);
    QFETCH(bool, ok);
    ktMessageDlg dlg;
    dlg.setMessage("Clear Data, Confirm?", cancel, ok);
    dlg.show();
    QCOMPARE(dlg.findChild<QLabel *>("lb_msg")->text(), QString("Clear Data, Confirm?"));
    QCOMPARE(dlg.findChild<QPushButton *>("pbCancel")->isVisible(), cancel);
    QCOMPARE(dlg.findChild<QPushButton *>("pbOK")->isVisible(), ok);
    QVERIFY(dlg.findChild<QLabel *>("lb_picture"));
}

void TestCoreDialogs::messageDialogAcceptedFollowsTheButton()
{
    ktMessageDlg dlg;
    dlg.setMessage("Are you sure to delete data of this line?", true, true);
    clickInNextModal("pbOK");
    dlg.exec();
    QVERIFY(dlg.isAccepted());
    clickInNextModal("pbCancel");
    dlg.exec();
    QVERIFY(!dlg.isAccepted());
    // A close by the title bar after an earlier OK does not count as OK.
    clickInNextModal("pbOK");
    dlg.exec();
    clickInNextModal("none");
    dlg.exec();
    QVERIFY(!dlg.isAccepted());
}

void TestCoreDialogs::loginAcceptsOnlyTheFixedPassword_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("right") << "480713" << true;
    QTest::newRow("with space") << "480713 " << false;
    QTest::newRow("prefix") << "48071" << false;
}

void TestCoreDialogs::loginAcceptsOnlyTheFixedPassword()
{
    QFETCH(QString, password);
    QFETCH(bool, accepted);
    ktLogin login;
    QCOMPARE(login.windowTitle(), QString("Login"));
    login.findChild<QLineEdit *>("lineEdit")->setText(password);
    QString warning;
    if (!accepted) {
        // The refusal shows "Invalid password!" in a modal message box; acknowledge it.
        QTimer::singleShot(0, [&warning] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *msg = qobject_cast<ktMessageDlg *>(modal)) {
                warning = msg->message();
                msg->findChild<QPushButton *>("pbOK")->click();
            }
        });
    }
    login.findChild<QPushButton *>("pbOK")->click();
    QCOMPARE(login.isAccepted(), accepted);
    QCOMPARE(warning, accepted ? QString() : QString("Invalid password!"));
    QVERIFY(!login.isVisible());
    // Cancel never logs in, not even with the right password typed.
    login.findChild<QLineEdit *>("lineEdit")->setText("480713");
    clickInNextModal("pbCancel");
    login.exec();
    QVERIFY(!login.isAccepted());
}

void TestCoreDialogs::scalingMultipliesGeometryRecursively()
{
    QWidget window;
    window.resize(1000, 500);
    auto *group = new QWidget(&window);
    group->setGeometry(10, 20, 300, 200);
    auto *button = new QWidget(group);
    button->setGeometry(5, 7, 99, 33);
    KtScaling::apply(&window, 0.8);
    QCOMPARE(window.size(), QSize(800, 400));
    QCOMPARE(group->geometry(), QRect(8, 16, 240, 160));
    QCOMPARE(button->geometry(), QRect(4, 5, 79, 26)); // truncated, not rounded
}

void TestCoreDialogs::programLogLineForm()
{
    const QString line = ktProgramLog::formatLine("Serial port is opened: ttyUSB0!", "green");
    QVERIFY(QRegularExpression("^<font color=green>\\[\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}\\] "
                               "Serial port is opened: ttyUSB0!</font>$")
                .match(line)
                .hasMatch());
    const QString plain = ktProgramLog::stripMarkup(line);
    QVERIFY(plain.startsWith('['));
    QVERIFY(plain.endsWith("] Serial port is opened: ttyUSB0!"));
    QCOMPARE(ktProgramLog::stripMarkup("no markup"), QString("no markup"));

    const QString marker = "core log " + QString::number(QDateTime::currentMSecsSinceEpoch());
    ktProgramLog::instance()->log(marker, "red");
    ktProgramLog::instance()->log(marker + " <b>2</b>", "red");
    ktProgramLog::instance()->flush();
    QFile file(ktProgramLog::currentPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains(("] " + marker + "\r\n[").toUtf8())); // one line each, CR LF ended
    QVERIFY(text.endsWith(("] " + marker + " <b>2</b>\r\n").toUtf8()));
    QVERIFY(ktProgramLog::currentPath().endsWith(QDate::currentDate().toString("yyyy-MM-dd")));
}

QTEST_MAIN(TestCoreDialogs)
#include "tst_coredialogs.moc"
