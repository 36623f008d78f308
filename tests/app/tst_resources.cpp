#include "ktresources.h"

#include <QFile>
#include <QImage>
#include <QTest>
#include <QTranslator>

// The compiled-in resources: every image the pages name is there, the chromaticity diagram
// lies where the diagrams draw it, and the Chinese translation is complete enough to load.
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

    void imagesArePresent_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *n : {"background.bmp", "windows.png", "arr1.png", "arr2.png", "msg.png", "tips.png",
                              "calihelp.png", "downloadhelp.png", "HorseShoe.png"})
            QTest::newRow(n) << QString::fromLatin1(n);
    }
    void imagesArePresent()
    {
        QFETCH(QString, name);
        QImage image;
        QVERIFY(image.load(":/Tintora/Resources/" + name));
        QVERIFY(!image.isNull());
    }

    // Points of the CIE 1931 2-degree spectrum locus as published in the CIE colorimetry
    // tables: 520 nm (0.07430, 0.83380), 380 nm (0.17411, 0.00496), 700 nm (0.73469, 0.26531).
    void horseShoeFollowsTheSpectralLocus()
    {
        QCOMPARE(m_horseShoe.size(), QSize(600, 600));
        QCOMPARE(at(0.0743, 0.80).alpha(), 255); // just inside below the 520 nm peak
        QCOMPARE(at(0.0743, 0.87).alpha(), 0);   // above it
        QCOMPARE(at(0.60, 0.36).alpha(), 255);   // inside near the red end
        QCOMPARE(at(0.76, 0.26).alpha(), 0);     // beyond 700 nm
        QCOMPARE(at(0.17, 0.02).alpha(), 255);   // above the violet end
        QCOMPARE(at(0.30, 0.05).alpha(), 0);     // below the purple line
        QCOMPARE(at(0.01, 0.40).alpha(), 0);     // left of the locus
        QCOMPARE(at(0.85, 0.85).alpha(), 0);
        // The white point of D65 is drawn nearly white, red and green regions in their hue.
        const QColor white = at(0.3127, 0.3290);
        QVERIFY(white.red() > 200 && white.green() > 200 && white.blue() > 200);
        const QColor red = at(0.64, 0.33);
        QVERIFY(red.red() > 200 && red.green() < 100);
        const QColor green = at(0.21, 0.71);
        QVERIFY(green.green() > 200 && green.red() < 150);
    }

    void translationsLoad()
    {
        QTranslator chinese;
        QVERIFY(chinese.load(":/Tintora/Resources/Translation_zh_CN.qm"));
        QCOMPARE(chinese.translate("ktTintora", "Connect"), QString::fromUtf8("连接"));
        QCOMPARE(chinese.translate("ktSerialPortSetting", "Open Port"), QString::fromUtf8("打开端口"));
        QTranslator english;
        QVERIFY(english.load(":/Tintora/Resources/Translation_en.qm"));
        QVERIFY(QFile::exists(":/Tintora/Resources/Translation_en.qm"));
    }
};

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
