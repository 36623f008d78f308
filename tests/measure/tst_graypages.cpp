// The gray-level dialog, the pattern window, the gray-scanning dialog and the gamma page,
// offscreen, against a scripted probe on a real pseudo-terminal.
#include "graylogic.h"
#include "ktgamma.h"
#include "ktgraylevel.h"
#include "ktmeasure.h"
#include "ktplatform.h"
#include "ktshowrgb.h"
#include "measurementmodel.h"
#include "pagelog.h"
#include "pagetest.h"
#include "ptypeer.h"
#include "ptyresponder.h"
#include "rangeslider.h"

#include <QtTest>
#include <QtWidgets>

using namespace GrayLogic;
using PageTest::ModalCloser;

namespace {
const QByteArray Good = "OK00,P1,0,0.3127,0.3290,100.0000,0.1978,0.4683";
const QByteArray Dark = "OK00,P1,0,0.3127,0.3290,0.0000,0.1978,0.4683";

QStringList column(const MeasurementModel *m, int c)
{
    QStringList out;
    for (int r = 0; r < m->recordCount(); ++r)
        out << m->cellText(r, c);
    return out;
}

QStringList checkedTexts(const ktGrayLevel &d)
{
    QStringList out;
    for (QCheckBox *b : d.levelBoxes())
        if (b->isChecked())
            out << b->text();
    return out;
}
} // namespace

class TestGrayPages : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    PtyPeer m_peer;
    PtyResponder *m_probe = nullptr;
    QMutex m_lock;
    QList<QByteArray> m_mesReplies; // answers to the next "MES,1" commands, then Good

private slots:
    void initTestCase()
    {
        PageTest::isolateUserSettings(m_dir.path());
        QVERIFY(m_peer.open());
        m_probe = new PtyResponder(&m_peer, [this](const QByteArray &cmd) -> QByteArray {
            if (!cmd.startsWith("MES,1"))
                return "OK00\r";
            QMutexLocker lock(&m_lock);
            return (m_mesReplies.isEmpty() ? Good : m_mesReplies.takeFirst()) + "\r";
        });
        m_probe->start();
        QVERIFY(PageTest::openProbePort(m_peer.slavePath()));
    }
    void cleanupTestCase()
    {
        PageTest::probePort()->close();
        delete m_probe;
    }

    void grayLevelDialog()
    {
        ktGrayLevel d;
        auto *tone = d.findChild<QComboBox *>("cbbColorTone");
        auto *range = d.findChild<RangeSlider *>("rangeSlider");
        tone->setCurrentText("16");
        QCOMPARE(checkedTexts(d).join(','),
                 QString("0,15,31,47,63,79,95,111,127,143,159,175,191,207,223,239,255"));
        range->setLowerValue(100);
        range->setUpperValue(200);
        QCOMPARE(checkedTexts(d).join(','), QString("0,111,127,143,159,175,191"));
        QCOMPARE(d.findChild<QLabel *>("rangeLeft")->text(), QString("100"));

        // Custom excludes the colours and lists the custom file; editing reloads it.
        const QString file = customFilePath();
        QDir().mkpath(QFileInfo(file).path());
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("12,34,56\n1,2,3\n") > 0);
        f.close();
        d.findChild<QCheckBox *>("rb_white")->setChecked(true);
        d.findChild<QCheckBox *>("rb_custom")->click();
        QVERIFY(!d.findChild<QCheckBox *>("rb_white")->isChecked());
        QVERIFY(d.findChild<QPushButton *>("pb_editCustom")->isEnabled());
        QCOMPARE(checkedTexts(d), QStringList({"12,34,56", "1,2,3"}));
        const QString editor = m_dir.filePath("editor.sh");
        QFile script(editor);
        QVERIFY(script.open(QIODevice::WriteOnly) && script.write("#!/bin/sh\necho 9,9,9 >> \"$1\"\n") > 0);
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        qputenv("KT_TEXT_EDITOR", editor.toLocal8Bit());
        d.findChild<QPushButton *>("pb_editCustom")->click();
        QCOMPARE(checkedTexts(d), QStringList({"12,34,56", "1,2,3", "9,9,9"}));
        qputenv("KT_TEXT_EDITOR", "/nonexistent/editor");
        qunsetenv("VISUAL");
        qunsetenv("EDITOR");
        if (KtPlatform::textEditorCommand().isEmpty()) {
            ModalCloser closer;
            closer.arm();
            d.findChild<QPushButton *>("pb_editCustom")->click();
            QVERIFY(closer.seen && closer.text.contains("No text editor"));
        }
        d.findChild<QCheckBox *>("rb_blue")->click();
        QVERIFY(!d.findChild<QCheckBox *>("rb_custom")->isChecked());
        QCOMPARE(d.levelBoxes().size(), 256);

        // A saved selection comes back as it was, and OK hands the checked boxes back.
        ktGrayLevel again;
        again.setSelection({FlagRed | FlagGreen, "64", {"15", "200"}});
        QCOMPARE(checkedTexts(again), QStringList({"15", "200"}));
        QVERIFY(again.findChild<QCheckBox *>("rb_green")->isChecked());
        again.findChild<QPushButton *>("pb_OK")->click();
        QCOMPARE(again.selection().flags, quint32(FlagRed | FlagGreen));
        QCOMPARE(again.selection().tone, QString("64"));
        QCOMPARE(again.selection().levels, QStringList({"15", "200"}));
    }

    void patternWindowFullScreen()
    {
        ktShowRGB w;
        w.SetColor("12,34,56");
        QCOMPARE(w.windowTitle(), QString("12,34,56"));
        w.showMaximized();
        QTRY_VERIFY(w.isFullScreen());
        QTest::keyClick(&w, Qt::Key_Escape);
        QTRY_VERIFY(!w.isFullScreen() && w.isVisible());
        QVERIFY(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    }

    void refusesColourOutOfRange_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("256") << "256,0,0";
        QTest::newRow("two numbers") << "1,2";
    }
    void refusesColourOutOfRange()
    {
        QFETCH(QString, text);
        ktMeasure m;
        m.findChild<QLineEdit *>("le_RGB")->setText(text);
        ModalCloser closer;
        closer.arm();
        m.findChild<QPushButton *>("pb_measure")->click();
        QVERIFY(closer.seen);
        QCOMPARE(closer.text, QString("Over range,RGB range is rgb(0,0,0) - rgb(255,255,255)!"));
        QCOMPARE(m.findChild<QLineEdit *>("le_RGB")->text(), QString("0,0,0"));
        QCOMPARE(m.model()->recordCount(), 0);
    }

    // Levels 0 and 255 for White and Blue, with the replies the probe gives in turn.
    void scanSequence_data()
    {
        QTest::addColumn<QList<QByteArray>>("replies");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("firstX");
        QTest::newRow("all measured")
            << QList<QByteArray>{} << QStringList{"0,0,0", "255,255,255", "0,0,0", "0,0,255"} << "95.0456";
        QTest::newRow("failed measurement ends its task")
            << QList<QByteArray>{"ER22,P1,203;"} << QStringList{"0,0,0", "0,0,255"} << "95.0456";
        QTest::newRow("malformed reply skips its colour")
            << QList<QByteArray>{"OK00,P1,0,1,2"} << QStringList{"255,255,255", "0,0,0", "0,0,255"}
            << "95.0456";
        QTest::newRow("dark reading")
            << QList<QByteArray>{Dark} << QStringList{"0,0,0", "255,255,255", "0,0,0", "0,0,255"} << "0.0";
    }
    void scanSequence()
    {
        QFETCH(QList<QByteArray>, replies);
        QFETCH(QStringList, rows);
        QFETCH(QString, firstX);
        {
            QMutexLocker lock(&m_lock);
            m_mesReplies = replies;
        }
        ktMeasure m;
        m.setSelection({FlagWhite | FlagBlue, "16", {"0", "255"}});
        m.findChild<QRadioButton *>("rb_graylevel")->click();
        m.findChild<QPushButton *>("pb_measure")->click();
        QCOMPARE(column(m.model(), 0), rows);
        QCOMPARE(m.model()->cellText(0, 1), firstX);
        if (firstX == "0.0")
            QCOMPARE(m.model()->rowTexts(0).mid(1, 5), QStringList({"0.0", "0.0", "0.0", "0.0", "0.0"}));
        QCOMPARE(m.findChild<QLineEdit *>("le_currentRGB")->text(), QString("0,0,0"));
        QVERIFY(m.findChild<QPushButton *>("pb_measure")->isEnabled());

        // The export parsed back: colour in three fields, the time after an empty field.
        const QString path = m_dir.filePath("gray.csv");
        QVERIFY(m.exportCsv(path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), rows.size() + 1);
        for (int r = 0; r < rows.size(); ++r) {
            const QStringList x = lines.at(r + 1).split(',');
            const QStringList cells = m.model()->rowTexts(r);
            QCOMPARE(x.at(0), QString::number(r + 1));
            QCOMPARE(x.mid(1, 3).join(','), cells.at(0));
            QCOMPARE(x.mid(4, 6), cells.mid(1, 6));
            QCOMPARE(x.mid(16, 4), QStringList({cells.at(13), cells.at(14), "", cells.at(15).mid(1)}));
        }
    }

    void stopEndsTheWait()
    {
        ktMeasure m;
        m_probe->clearCommands();
        m.findChild<QLineEdit *>("le_ms")->setText("5000");
        QTimer::singleShot(150, &m, [&m] { m.findChild<QPushButton *>("pb_stop")->click(); });
        QElapsedTimer clock;
        clock.start();
        m.findChild<QPushButton *>("pb_measure")->click();
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(m.model()->recordCount(), 0);
        QVERIFY(!m_probe->commands().join().contains("MES,1"));
    }

    void gammaRunEndsWhenTheWindowCloses()
    {
        ktGamma page;
        ktShowRGB window;
        connect(&page, &ktGamma::signalShowColor, &window, [&window](QString &c) { window.SetColor(c); });
        connect(&page, &ktGamma::signalShowColorWindow, &window, &QWidget::show);
        connect(&window, &ktShowRGB::signal_CloseRGBWindow, &page, &ktGamma::slot_RGBWindowClose);
        for (const char *c : {"cbGammaCurveR", "cbGammaCurveG", "cbGammaCurveB"})
            page.findChild<QCheckBox *>(c)->setChecked(false);
        connect(page.model(), &QAbstractItemModel::dataChanged, &window, [&window] { window.close(); });
        ModalCloser confirm, aborted;
        aborted.until = [](const QString &t) { return t.startsWith("Color window"); };
        confirm.arm();
        aborted.arm();
        page.findChild<QPushButton *>("pb_measure")->click();
        QVERIFY(confirm.seen && confirm.text.startsWith("Tones : 16, Interval : 0 ms ?"));
        QVERIFY(aborted.seen);
        QCOMPARE(aborted.text, QString("Color window is closed!  measurement aborted!"));
        QCOMPARE(page.model()->recordCount(), 1);
        QCOMPARE(page.series(SeriesWhite).levels, QVector<double>{0});
    }
};

QTEST_MAIN(TestGrayPages)
#include "tst_graypages.moc"
