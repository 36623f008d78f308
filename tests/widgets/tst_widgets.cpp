#include "customplotdrawpoint.h"
#include "ktnumberlineedit.h"
#include "rangeslider.h"
#include "xxwtraceline.h"
#include "xxwtracer.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

using Values = QPair<int, int>; // lowerValue, upperValue
// clang-format off
struct SetterCase { QByteArray slot; int arg; QVector<int> expected; /* minimum, maximum, lower, upper */ };
struct MouseCase { int options; bool vertical; QVector<int> before; /* maximum, lower, upper */ QPoint press; /* along, across */ int to; Values after; };
struct EditCase { bool isUnsigned; QString typed, kept; bool acceptable; };
// clang-format on
Q_DECLARE_METATYPE(SetterCase)
Q_DECLARE_METATYPE(MouseCase)
Q_DECLARE_METATYPE(EditCase)

static void send(QWidget *w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons = Qt::LeftButton)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, w->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

// Slider: at 124 px a two-handle slider has 100 px of travel, so on 0..100 the first handle's
// near edge is at lowerValue + 1 and the second's at upperValue + 12 (both 11 px wide); one
// handle has 111 px. Plot: x 0..10, y 0..100 over about 330 px, so a point given in plot x and
// clicked at that pixel comes back within 0.05.
class TestWidgets : public QObject
{
    Q_OBJECT
    CustomPlotDrawPoint *m_plot = nullptr;
    QPoint pixel(double x) const { return QPoint(int(m_plot->xAxis->coordToPixel(x)), 100); }
    static bool near(double a, double b) { return qAbs(a - b) < 0.05; }
    static QString shot(const char *name) { return QCoreApplication::applicationDirPath() + '/' + name; }

private slots:
    void init()
    {
        m_plot = new CustomPlotDrawPoint;
        m_plot->resize(400, 300);
        m_plot->xAxis->setRange(0, 10);
        m_plot->yAxis->setRange(0, 100);
        m_plot->replot();
        m_plot->setPickEnabled(true);
    }
    void cleanup() { delete m_plot; }

    void sliderSetters_data()
    {
        QTest::addColumn<SetterCase>("c");
        QTest::newRow("lower above the range") << SetterCase{"setLowerValue", 500, {0, 100, 100, 100}};
        QTest::newRow("minimum above maximum") << SetterCase{"setMinimum", 150, {100, 150, 100, 150}};
        QTest::newRow("maximum below minimum") << SetterCase{"setMaximum", -20, {-20, 0, -20, 0}};
    }
    void sliderSetters()
    {
        QFETCH(SetterCase, c);
        RangeSlider slider;
        QSignalSpy lower(&slider, &RangeSlider::lowerValueChanged);
        QSignalSpy range(&slider, &RangeSlider::rangeChanged);
        QVERIFY(QMetaObject::invokeMethod(&slider, c.slot, Q_ARG(int, c.arg)));
        QCOMPARE((QVector<int>{slider.minimum(), slider.maximum(), slider.lowerValue(), slider.upperValue()}),
                 c.expected);
        // The signals carry the stored (clamped) values; a new range resets both ends, once.
        const QList<QVariantList> reset{{c.expected[0], c.expected[1]}};
        QCOMPARE(QList<QVariantList>(range), c.slot.endsWith("mum") ? reset : QList<QVariantList>());
        QCOMPARE(lower.value(0).value(0).toInt(), lower.isEmpty() ? 0 : c.expected[2]);
    }

    // On the groove the press is a click that steps a value; on a handle it starts a drag.
    void sliderMouse_data()
    {
        QTest::addColumn<MouseCase>("c");
        const int two = RangeSlider::DoubleHandles, left = RangeSlider::LeftHandle, right = left << 1;
        const QVector<int> mid{100, 20, 80}, full{100, 0, 100};
        QTest::newRow("click before first") << MouseCase{two, false, mid, {5, 10}, 5, {10, 80}};
        QTest::newRow("click in gap, nearer first") << MouseCase{two, false, mid, {40, 10}, 40, {30, 80}};
        QTest::newRow("click in gap, nearer second") << MouseCase{two, false, mid, {80, 10}, 80, {20, 70}};
        QTest::newRow("click after second") << MouseCase{two, false, mid, {110, 10}, 110, {20, 90}};
        QTest::newRow("click too near the edge") << MouseCase{two, false, mid, {5, 1}, 5, {20, 80}};
        QTest::newRow("click step stops at upper")
            << MouseCase{two, false, {100, 75, 80}, {88, 10}, 88, {80, 80}};
        QTest::newRow("click on interval 5 steps 1")
            << MouseCase{two, false, {5, 0, 5}, {60, 10}, 60, {1, 5}};
        QTest::newRow("click, left handle only") << MouseCase{left, false, mid, {60, 10}, 60, {30, 80}};
        QTest::newRow("click, right handle only") << MouseCase{right, false, mid, {50, 10}, 50, {20, 70}};
        QTest::newRow("drag first, off-centre grip") << MouseCase{two, true, full, {8, 10}, 33, {25, 100}};
        QTest::newRow("drag first onto second") << MouseCase{two, false, full, {6, 10}, 200, {100, 100}};
        QTest::newRow("drag second") << MouseCase{two, false, full, {117, 10}, 67, {0, 50}};
        QTest::newRow("drag second onto first") << MouseCase{two, false, full, {117, 10}, 0, {0, 0}};
        // 10 values a pixel: the last pixel before the second handle stands for 510.
        QTest::newRow("drag first, coarse") << MouseCase{two, false, {1000, 0, 500}, {6, 10}, 57, {500, 500}};
    }
    void sliderMouse()
    {
        QFETCH(MouseCase, c);
        RangeSlider slider(c.vertical ? Qt::Vertical : Qt::Horizontal, RangeSlider::Options(c.options));
        slider.resize(c.vertical ? QSize(20, 124) : QSize(124, 20));
        slider.setRange(0, c.before[0]);
        slider.setLowerValue(c.before[1]);
        slider.setUpperValue(c.before[2]);
        QSignalSpy lower(&slider, &RangeSlider::lowerValueChanged);
        QSignalSpy upper(&slider, &RangeSlider::upperValueChanged);
        const auto at = [&](int i) { return c.vertical ? QPoint(c.press.y(), i) : QPoint(i, c.press.y()); };
        send(&slider, QEvent::MouseButtonPress, at(c.press.x()));
        send(&slider, QEvent::MouseMove, at(c.to));
        send(&slider, QEvent::MouseButtonRelease, at(c.to), Qt::NoButton);
        send(&slider, QEvent::MouseMove, at(c.press.x())); // released: no longer dragging
        QCOMPARE(qMakePair(slider.lowerValue(), slider.upperValue()), c.after);
        QCOMPARE(lower.isEmpty() ? c.after.first : lower.last().first().toInt(), c.after.first);
        QCOMPARE(upper.isEmpty() ? c.after.second : upper.last().first().toInt(), c.after.second);
    }

    void sliderPainting()
    {
        RangeSlider slider;
        slider.resize(124, 20);
        slider.setLowerValue(20);
        slider.setUpperValue(80);
        const QImage enabled = slider.grab().toImage();
        slider.setEnabled(false);
        QVERIFY(enabled.save(shot("rangeslider.png")));
        QCOMPARE(enabled.pixelColor(55, 9), QColor(30, 144, 255));  // between the handles
        QCOMPARE(enabled.pixelColor(10, 9), QColor(208, 208, 208)); // groove before the first handle
        QCOMPARE(slider.grab().toImage().pixelColor(55, 9), QColor(Qt::darkGray));
    }

    void numberEdit_data()
    {
        QTest::addColumn<EditCase>("c");
        QTest::newRow("signed lowest") << EditCase{false, "-999999999", "-999999999", true};
        QTest::newRow("tenth digit") << EditCase{false, "1234567890", "123456789", true};
        QTest::newRow("letters and point") << EditCase{false, "1a2.5", "125", true};
        QTest::newRow("digit grouping") << EditCase{false, "1,000", "1000", true};
        QTest::newRow("lone minus") << EditCase{false, "-", "-", false};
        QTest::newRow("unsigned minus") << EditCase{true, "-42", "42", true};
        QTest::newRow("unsigned highest") << EditCase{true, "9999999999", "999999999", true};
    }
    void numberEdit()
    {
        QFETCH(EditCase, c);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); // groups digits
        std::unique_ptr<QLineEdit> edit(c.isUnsigned ? static_cast<QLineEdit *>(new ktNumberLineEditUnsigned)
                                                     : new ktNumberLineEdit);
        QTest::keyClicks(edit.get(), c.typed);
        QCOMPARE(edit->text(), c.kept);
        QCOMPARE(edit->hasAcceptableInput(), c.acceptable);
    }

    void plotTwoClicks_data()
    {
        QTest::addColumn<QVector<double>>("clicks");
        QTest::addColumn<QPointF>("window"); // lower x, higher x
        QTest::newRow("left to right") << QVector<double>{2, 7} << QPointF(2, 7);
        QTest::newRow("right to left") << QVector<double>{7, 2} << QPointF(2, 7);
        QTest::newRow("left of the axis ignored") << QVector<double>{-1, 6, 3} << QPointF(3, 6);
        QTest::newRow("third click changes nothing") << QVector<double>{4, 9, 1} << QPointF(4, 9);
    }
    void plotTwoClicks()
    {
        QFETCH(QVector<double>, clicks);
        QFETCH(QPointF, window);
        QSignalSpy result(m_plot, &CustomPlotDrawPoint::signal_showResult);
        for (double x : clicks)
            QTest::mouseClick(m_plot, Qt::LeftButton, {}, pixel(x));
        QCOMPARE(result.count(), 1);
        QVERIFY(near(result[0][0].toDouble(), window.x()) && near(result[0][1].toDouble(), window.y()));
        QVERIFY(near(m_plot->pick().windowStart(), window.x()) &&
                near(m_plot->pick().windowEnd(), window.y()));
        // Red cursor on point 1, green on point 2, all on the overlay, the line through the marker.
        for (auto [tracer, line, colour] :
             {std::tuple(m_plot->tracer1(), m_plot->line1(), QColor(Qt::red)),
              std::tuple(m_plot->tracer2(), m_plot->line2(), QColor(Qt::green))}) {
            QVERIFY(tracer && line);
            for (QCPAbstractItem *item : QList<QCPAbstractItem *>{tracer->tracer(), tracer->label(),
                                                                  tracer->arrow(), line->verticalLine()})
                QCOMPARE(item->layer()->name(), QStringLiteral("overlay"));
            QCOMPARE(tracer->tracer()->brush().color(), colour);
            QCOMPARE(line->verticalLine()->pen(), QPen(colour, 1, Qt::DashLine));
            QCOMPARE(line->verticalLine()->point1->coords().x(), tracer->tracer()->position->coords().x());
        }
        QVERIFY(m_plot->grab().save(shot("plotcursors.png")));
    }

    void plotMiddleClickStartsOver()
    {
        m_plot->fixPoint1(3);
        QSignalSpy result(m_plot, &CustomPlotDrawPoint::signal_showResult);
        m_plot->fixPoint2(1.5);
        QCOMPARE(result.value(0), (QVariantList{1.5, 3.0}));
        QTest::mouseClick(m_plot, Qt::MiddleButton, {}, pixel(5)); // removes all eight cursor items
        QVERIFY(!m_plot->tracer1() && !m_plot->pick().point1Fixed() && !m_plot->itemCount());
        // The red cursor follows the pointer; a click fixes it, and the green one starts there.
        send(m_plot, QEvent::MouseMove, pixel(5), Qt::NoButton);
        QVERIFY(m_plot->tracer1() && near(m_plot->tracer1()->tracer()->position->coords().x(), 5));
        QTest::mouseClick(m_plot, Qt::LeftButton, {}, pixel(5));
        QVERIFY(m_plot->pick().point1Fixed() && m_plot->tracer2());
        QCOMPARE(m_plot->pick().point2(), m_plot->pick().point1());
        // Picking switched off: the plot takes no clicks or moves, not even the reset.
        m_plot->setPickEnabled(false);
        QTest::mouseClick(m_plot, Qt::MiddleButton, {}, pixel(5));
        QTest::mouseClick(m_plot, Qt::LeftButton, {}, pixel(8));
        QVERIFY(m_plot->pick().point1Fixed() && !m_plot->pick().point2Fixed());
        QCOMPARE(m_plot->pick().point2(), m_plot->pick().point1());
    }

    void plotTracerKinds()
    {
        // Children of the plot, so the plot (deleted in cleanup) goes first: they must cope.
        XxwTracer *tracers[] = {new XxwTracer(m_plot, TracerType::XAxis, m_plot),
                                new XxwTracer(m_plot, TracerType::YAxis, m_plot),
                                new XxwTracer(m_plot, TracerType::Data, m_plot)};
        const QPointF at[] = {{3, 1}, {0, 100}, {1.5, 20}}; // x plot or axis-rect ratio, y likewise
        const QString text[] = {"3.00", "100.0", "x:1.5,y:20"};
        for (int i = 0; i < 3; ++i) {
            tracers[i]->updatePosition(i == 2 ? 1.5 : 3, i == 2 ? 20 : 150); // 150: above the y axis
            QCOMPARE(tracers[i]->tracer()->position->coords(), at[i]);
            QCOMPARE(tracers[i]->label()->text(), text[i]);
            QCOMPARE(tracers[i]->label()->visible(), i != 2); // a data tracer starts hidden
        }
        auto *segment = new XxwTraceLine(m_plot, XxwTraceLine::Segment, m_plot);
        segment->updateSegment(QPointF(1, 1), QPointF(2, 3));
        QCOMPARE(segment->segment()->end->coords(), QPointF(2, 3));
        QCOMPARE(m_plot->itemCount(), 10);
    }
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
