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

    // The colour fills the window at any size; closing it is reported (the gamma page listens).
    void colourFillsTheWindowAndClosingIsReported()
    {
        ktShowRGB window;
        window.SetColor("255,128,0");
        auto *label = window.findChild<QLabel *>("lb_color");
        QCOMPARE(label->styleSheet(), QString("background-color: rgb(255,128,0);"));
        QCOMPARE(window.windowTitle(), QString("255,128,0"));
        QCOMPARE(window.objectName(), QString("dialog"));
        QSignalSpy closed(&window, &ktShowRGB::signal_CloseRGBWindow);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.resize(420, 300);
        QTRY_COMPARE(label->size(), QSize(420, 300));
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
