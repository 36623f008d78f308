#include "ktresources.h"

#include "bootloadersession.h"
#include "calibrationlogic.h"

#include <QTemporaryFile>
#include <QTranslator>
#include <QtGui>
#include <QtTest>

// Every image the pages name is compiled in, and the chromaticity diagram lies where it is drawn.
class TestResources : public QObject
{
    Q_OBJECT

    QImage m_horseShoe;

    // Pixel of the diagram at a chromaticity: the image spans x = 0..0.9 and y = 0..0.9.
    QColor at(double x, double y) const
    {
        const int px = int(x / 0.9 * m_horseShoe.width());
        const int py = int((1.0 - y / 0.9) * m_horseShoe.height());
        return m_horseShoe.pixelColor(px, py);
    }

private slots:
    void initTestCase()
    {
        ktInitResources();
        QVERIFY(m_horseShoe.load(":/Tintora/Resources/HorseShoe.png"));
    }

    // Texts of the Qt-Core libraries are translated through a context of their own choosing;
    // a context that differs from the one the translation file uses leaves the Chinese
    // interface showing English, silently.
    void coreLibraryTextsAreInTheChineseCatalogue_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("calibration problem") << 0;
        QTest::newRow("calibration import") << 1;
        QTest::newRow("boot loader") << 2;
    }
    void coreLibraryTextsAreInTheChineseCatalogue()
    {
        QFETCH(int, which);
        const auto text = [which] {
            switch (which) {
            case 0:
                return Calibration::problemText(Calibration::Problem::XOutOfRange);
            case 1: {
                QTemporaryFile file;
                if (!file.open())
                    return QString();
                file.write("[MatrixRefData]\nX1=abc\n");
                file.flush();
                const Calibration::ImportRequest request{"MatrixRefData", Calibration::groupKeys(1), {}};
                return Calibration::loadIni(file.fileName(), {request}).message;
            }
            default:
                return BootLoaderSession::describe(BootLoaderSession::Problem::LoaderEcho);
            }
        };
        const QString english = text();
        QTranslator chinese;
        QVERIFY(chinese.load(":/Tintora/Resources/Translation_zh_CN.qm"));
        QCoreApplication::installTranslator(&chinese);
        const QString shown = text();
        QCoreApplication::removeTranslator(&chinese);
        QVERIFY2(!english.isEmpty() && shown != english, qPrintable(english));
    }

    void imagesArePresent()
    {
        for (const char *n : {"background.bmp", "windows.png", "arr1.png", "arr2.png", "msg.png", "tips.png",
                              "calihelp.png", "downloadhelp.png", "HorseShoe.png"})
            QVERIFY2(!QImage(QString(":/Tintora/Resources/") + n).isNull(), n);
    }

    // Points of the CIE 1931 2-degree spectrum locus as published in the CIE colorimetry
    // tables: 520 nm (0.07430, 0.83380), 380 nm (0.17411, 0.00496), 700 nm (0.73469, 0.26531).
    void horseShoeFollowsTheSpectralLocus()
    {
        QCOMPARE(m_horseShoe.size(), QSize(600, 600));
        // Inside below 520 nm, near red, above violet; outside above 520 nm, past 700 nm, under the
        // purple line, left of the locus.
        for (QPointF p : {QPointF(0.0743, 0.80), QPointF(0.60, 0.36), QPointF(0.17, 0.02)})
            QCOMPARE(at(p.x(), p.y()).alpha(), 255);
        for (QPointF p : {QPointF(0.0743, 0.87), QPointF(0.76, 0.26), QPointF(0.30, 0.05),
                          QPointF(0.01, 0.40), QPointF(0.85, 0.85)})
            QCOMPARE(at(p.x(), p.y()).alpha(), 0);
        // The white point of D65 is drawn nearly white, red and green regions in their hue.
        const QColor white = at(0.3127, 0.3290), red = at(0.64, 0.33), green = at(0.21, 0.71);
        QVERIFY(white.red() > 200 && white.green() > 200 && white.blue() > 200);
        QVERIFY(red.red() > 200 && red.green() < 100 && green.green() > 200 && green.red() < 150);
    }
};

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
