#include "ktresources.h"
#include "ktshowrgb.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

// The pattern window the probe looks at.
class TestShowRGB : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ktInitResources(); }

    void colourPaintsTheLabelAndTitle()
    {
        ktShowRGB window;
        window.SetColor("255,128,0");
        QCOMPARE(window.findChild<QLabel *>("lb_color")->styleSheet(),
                 QString("background-color: rgb(255,128,0);"));
        QCOMPARE(window.windowTitle(), QString("255,128,0"));
        QCOMPARE(window.color(), QString("255,128,0"));
        QCOMPARE(window.objectName(), QString("dialog"));
    }

    void labelFillsTheWindow()
    {
        ktShowRGB window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.resize(420, 300);
        QTRY_COMPARE(window.findChild<QLabel *>("lb_color")->size(), QSize(420, 300));
    }

    void closingReportsIt()
    {
        ktShowRGB window;
        QSignalSpy closed(&window, &ktShowRGB::signal_CloseRGBWindow);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.close();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!window.isVisible());
    }

    // Maximised, the pattern fills the whole screen without a frame; Esc brings the framed
    // window back (and does not hide it as a dialog's Esc would).
    void maximiseGoesFullScreenAndEscReturns()
    {
        ktShowRGB window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.showMaximized();
        QTRY_VERIFY_WITH_TIMEOUT(window.windowState() & Qt::WindowFullScreen, 2000);
        QVERIFY(!(window.windowFlags() & Qt::Dialog & ~Qt::Window));
        QTest::keyClick(&window, Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!(window.windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized)),
                                 2000);
        QVERIFY(window.isVisible());
        QVERIFY(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    }
};

QTEST_MAIN(TestShowRGB)
#include "tst_showrgb.moc"
