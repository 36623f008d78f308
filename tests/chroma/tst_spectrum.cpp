// The spectrum page against krn4-sim and against a scripted probe. The colour of a spectrum is
// checked with the CIE 1931 functions of data/ summed here, not with the page's own arithmetic.
#include "cie1931.h"
#include "ktqcustomplot.h"
#include "ktresources.h"
#include "ktradiance.h"
#include "pagelog.h"
#include "pagetest.h"
#include "proberesponder.h"
#include "simprocess.h"
#include "radiancelogic.h"
#include "ui_ktradiance.h"

#include <QtTest>

using namespace PageTest;

class TestSpectrum : public QObject
{
    Q_OBJECT
    SimProcess *m_sim = nullptr;
    ktPublicConfig *m_hub = nullptr;
    ktSpectrum *m_page = nullptr;

private slots:
    void initTestCase()
    {
        ktInitResources();
        if (SimProcess::binary().isEmpty())
            QSKIP("KT_SIM_BIN is not set; run through ctest");
        m_sim = new SimProcess;
        QVERIFY2(m_sim->start(), qPrintable(m_sim->errorText()));
    }
    void cleanupTestCase() { delete m_sim; }
    void init()
    {
        m_sim->control("display reset");
        QVERIFY(openProbePort(m_sim->linkPath()));
        m_hub = new ktPublicConfig;
        m_page = new ktSpectrum(m_hub);
    }
    void cleanup()
    {
        delete m_page;
        delete m_hub;
        probePort()->close();
    }

    void spectrumGivesTheMeasuredColour_data()
    {
        QTest::addColumn<QString>("primaries");
        const QString srgb = "0.64,0.33,0.30,0.60,0.15,0.06", p3 = "0.68,0.32,0.265,0.69,0.15,0.06";
        for (const char *c : {"255,255,255", "255,0,0", "0,0,255", "128,64,200"})
            QTest::newRow(c) << srgb;
        QTest::newRow("0,200,180") << p3;
    }
    void spectrumGivesTheMeasuredColour()
    {
        QFETCH(QString, primaries);
        m_sim->control("display primaries " + primaries);
        m_sim->control(QString("show ") + QTest::currentDataTag());
        m_sim->control("received clear");
        Ui::ktSpectrumForm *f = m_page->form();
        f->pb_Measure->click();
        f->pb_Measure->click(); // the display mode goes out once
        QCOMPARE(m_sim->control("received 10"), QString("OK count=5 last=MDS,0|MES,1|RSD|MES,1|RSD"));
        const QVector<double> s = m_page->spectrum();
        QCOMPARE(s.size(), 401);
        double X = 0, Y = 0, Z = 0; // 683 lm/W · Σ S·cmf · 1 nm, 380..780 nm
        for (int i = 0; i < s.size(); ++i) {
            const Cie1931::Row *r = Cie1931::at(380 + i);
            X += 683 * s[i] * r->x, Y += 683 * s[i] * r->y, Z += 683 * s[i] * r->z;
        }
        const QString got = QString("%1 %2 %3").arg(X / (X + Y + Z)).arg(Y / (X + Y + Z)).arg(Y);
        QVERIFY2(qAbs(X / (X + Y + Z) - f->le_x->text().toDouble()) < 0.002, qPrintable(got));
        QVERIFY2(qAbs(Y / (X + Y + Z) - f->le_y->text().toDouble()) < 0.002, qPrintable(got));
        QVERIFY2(qAbs(Y / f->le_Lv->text().toDouble() - 1) < 0.01, qPrintable(got));
        const SpectrumLogic::Colour c = SpectrumLogic::integrate(s);
        QVERIFY(qAbs(c.X - X) < 1e-9 * X && qAbs(c.Y - Y) < 1e-9 * Y && qAbs(c.Z - Z) <= 1e-9 * Z);
        // Line and bars: the button names the other display; bars reach the largest value.
        QVERIFY(f->pb_Export->isEnabled() && f->pb_Line->text() == "Hist.");
        f->pb_Line->click();
        QVERIFY(!m_page->lineMode() && f->pb_Line->text() == "Line");
        QCOMPARE(m_page->plot()->yAxis->range().upper, *std::max_element(s.begin(), s.end()) * 1e6);
    }

    void scriptedReplies_data()
    {
        QTest::addColumn<int>("values");
        QTest::addColumn<QByteArray>("tail"); // appended to the reply
        QTest::addColumn<int>("shown");       // values on the plot afterwards (the old 3 on a failure)
        QTest::addColumn<QString>("failure");
        QTest::newRow("401 fill 380-780 nm") << 401 << QByteArray() << 401 << "";
        QTest::newRow("fewer stop early") << 250 << QByteArray(",") << 250 << "";
        QTest::newRow("402 are too many") << 402 << QByteArray() << 3 << "Format error!";
        QTest::newRow("not a number") << 10 << QByteArray(",x") << 3 << "Format error!";
        QTest::newRow("refused") << 0 << QByteArray("ER10") << 3 << "Get SpectrumData failed!";
    }
    void scriptedReplies()
    {
        QFETCH(int, values);
        QFETCH(int, shown);
        QFETCH(QString, failure);
        PtyPeer peer;
        QVERIFY(peer.open() && openProbePort(peer.slavePath()));
        ProbeResponder probe(&peer, {{"MDS,0", "OK00"},
                                     {"MES,1", "OK00,P1,0,0.312700,0.329000,200.0000,0.1978,0.4683"},
                                     {"RSD", "OK00,1,2,3"}});
        m_page->form()->pb_Measure->click();
        QByteArray reply = values ? "OK00" : "";
        for (int i = 0; i < values; ++i)
            reply += "," + QByteArray::number(0.001 + i * 1e-6);
        QFETCH(QByteArray, tail);
        probe.replies["RSD"] = reply + tail;
        ModalCloser closer;
        closer.arm();
        m_page->form()->pb_Measure->click();
        QCOMPARE(closer.seen, failure.startsWith("Get"));
        QVERIFY(m_page->logView()->toPlainText().contains(failure));
        const QSharedPointer<QCPGraphDataContainer> data = m_page->plot()->graph(0)->data();
        QCOMPARE(data->size(), shown);
        QCOMPARE(data->constBegin()->key + 1000 * (data->constEnd() - 1)->key, 380 + 1000 * (379.0 + shown));
    }

    void exportWritesCsvAndPicture()
    {
        m_page->form()->pb_Measure->click();
        QTemporaryDir dir;
        const QString csv = dir.filePath("white.CSV");
        m_page->askSavePath = [&](const QString &) { return csv; };
        m_page->form()->pb_Export->click();
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 402); // 401 lines and the empty rest after the last "\n"
        for (int i = 0; i < 401; ++i) {
            QCOMPARE(lines[i].split(',').value(0), QByteArray::number(380 + i));
            QVERIFY(qAbs(lines[i].split(',').value(1).toDouble() - m_page->spectrum()[i]) < 1e-10);
        }
        const QImage picture(dir.filePath("white.jpg"));
        QCOMPARE(picture.size(), m_page->plot()->size());
        QVERIFY(qAbs(picture.dotsPerMeterX() - 96 / 0.0254) < 1); // JPEG keeps whole dots per inch
        QCOMPARE(KtSettings::readSetting(KtSettings::Key::SpectrumPath), dir.path());
        // The same name again: refused, nothing written.
        QVERIFY(QFile::remove(dir.filePath("white.jpg")));
        const QDateTime written = QFileInfo(csv).lastModified();
        ModalCloser closer;
        closer.arm();
        m_page->form()->pb_Export->click();
        QCOMPARE(closer.text, QString("The file already exists,please rename this file!"));
        QVERIFY(!QFile::exists(dir.filePath("white.jpg")) && QFileInfo(csv).lastModified() == written);
    }

    void jpegNameFollowsTheCsv_data()
    {
        QTest::addColumn<QString>("csv");
        QTest::addColumn<QString>("jpg");
        QTest::newRow("lower") << "/d/a.csv"
                               << "/d/a.jpg";
        QTest::newRow("upper") << "/d/B.CSV"
                               << "/d/B.jpg";
        QTest::newRow("only the suffix") << "/x.csv/e.Csv.csv"
                                         << "/x.csv/e.Csv.jpg";
        QTest::newRow("no suffix") << "/d/f"
                                   << "/d/f.jpg";
    }
    void jpegNameFollowsTheCsv()
    {
        QFETCH(QString, csv);
        QTEST(SpectrumLogic::jpegPathFor(csv), "jpg");
    }
};

QTEST_MAIN(TestSpectrum)
#include "tst_spectrum.moc"
