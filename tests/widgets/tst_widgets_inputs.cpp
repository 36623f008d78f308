#include "ktnumberlineedit.h"
#include "rangeslider.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

// At 124 px long a two-handle slider has 100 px of travel, so on 0..100 the first handle's near
// edge is at lowerValue + 1 and the second's at upperValue + 12 (both 11 px wide).
class TestWidgetInputs : public QObject
{
    Q_OBJECT
private slots:
    void setters_data();
    void setters();
    void click_data();
    void click();
    void drag_data();
    void drag();
    void painting();
    void numberEdit_data();
    void numberEdit();
};

namespace {
using Values = QPair<int, int>; // lowerValue, upperValue

void send(QWidget *w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons = Qt::LeftButton)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, w->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

void place(RangeSlider &slider, int maximum, int lower, int upper)
{
    slider.setRange(0, maximum);
    slider.setLowerValue(lower);
    slider.setUpperValue(upper);
}
} // namespace

void TestWidgetInputs::setters_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("arg");
    QTest::addColumn<QVector<int>>("expected"); // minimum, maximum, lower, upper
    QTest::addColumn<int>("rangeSignals");
    QTest::newRow("lower above the range") << "lower" << 500 << QVector<int>{0, 100, 100, 100} << 0;
    QTest::newRow("upper below the range") << "upper" << -7 << QVector<int>{0, 100, 20, 0} << 0;
    QTest::newRow("minimum above maximum") << "minimum" << 150 << QVector<int>{100, 150, 100, 150} << 1;
    QTest::newRow("maximum below minimum") << "maximum" << -20 << QVector<int>{-20, 0, -20, 0} << 1;
    QTest::newRow("maximum inside") << "maximum" << 40 << QVector<int>{0, 40, 0, 40} << 1;
}

void TestWidgetInputs::setters()
{
    QFETCH(QString, call);
    QFETCH(int, arg);
    QFETCH(QVector<int>, expected);
    QFETCH(int, rangeSignals);
    RangeSlider slider;
    slider.setLowerValue(20);
    QSignalSpy lower(&slider, &RangeSlider::lowerValueChanged);
    QSignalSpy upper(&slider, &RangeSlider::upperValueChanged);
    QSignalSpy range(&slider, &RangeSlider::rangeChanged);
    const QHash<QString, void (RangeSlider::*)(int)> setters{{"lower", &RangeSlider::setLowerValue},
                                                             {"upper", &RangeSlider::setUpperValue},
                                                             {"minimum", &RangeSlider::setMinimum},
                                                             {"maximum", &RangeSlider::setMaximum}};
    (slider.*setters.value(call))(arg);
    QCOMPARE((QVector<int>{slider.minimum(), slider.maximum(), slider.lowerValue(), slider.upperValue()}),
             expected);
    QCOMPARE(range.count(), rangeSignals);
    if (rangeSignals)
        QCOMPARE(range.first(), (QVariantList{expected[0], expected[1]}));
    if (!lower.isEmpty())
        QCOMPARE(lower.last().first().toInt(), expected[2]);
    if (!upper.isEmpty())
        QCOMPARE(upper.last().first().toInt(), expected[3]);
}

void TestWidgetInputs::click_data()
{
    QTest::addColumn<int>("options");
    QTest::addColumn<QVector<int>>("before"); // maximum, lower, upper
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Values>("after");
    const int both = RangeSlider::DoubleHandles, left = RangeSlider::LeftHandle,
              right = RangeSlider::RightHandle;
    const QVector<int> mid{100, 20, 80};
    QTest::newRow("before first") << both << mid << QPoint(5, 10) << qMakePair(10, 80);
    QTest::newRow("on first") << both << mid << QPoint(25, 10) << qMakePair(20, 80);
    QTest::newRow("gap, nearer first") << both << mid << QPoint(40, 10) << qMakePair(30, 80);
    QTest::newRow("gap, nearer second") << both << mid << QPoint(80, 10) << qMakePair(20, 70);
    QTest::newRow("after second") << both << mid << QPoint(110, 10) << qMakePair(20, 90);
    QTest::newRow("too near the edge") << both << mid << QPoint(5, 1) << qMakePair(20, 80);
    QTest::newRow("step stops at upper")
        << both << QVector<int>{100, 75, 80} << QPoint(88, 10) << qMakePair(80, 80);
    QTest::newRow("interval 5 steps by 1")
        << both << QVector<int>{5, 0, 5} << QPoint(60, 10) << qMakePair(1, 5);
    QTest::newRow("left handle only") << left << mid << QPoint(60, 10) << qMakePair(30, 80);
    QTest::newRow("right handle only") << right << mid << QPoint(50, 10) << qMakePair(20, 70);
}

void TestWidgetInputs::click()
{
    QFETCH(int, options);
    QFETCH(QVector<int>, before);
    QFETCH(QPoint, at);
    QFETCH(Values, after);
    RangeSlider slider(Qt::Horizontal, RangeSlider::Options(options));
    slider.resize(124, 20);
    place(slider, before[0], before[1], before[2]);
    send(&slider, QEvent::MouseButtonPress, at);
    send(&slider, QEvent::MouseButtonRelease, at, Qt::NoButton);
    QCOMPARE(qMakePair(slider.lowerValue(), slider.upperValue()), after);
}

void TestWidgetInputs::drag_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QVector<int>>("before"); // maximum, lower, upper
    QTest::addColumn<int>("press");           // along the slider, on a handle
    QTest::addColumn<int>("to");
    QTest::addColumn<Values>("after");
    const int h = Qt::Horizontal, v = Qt::Vertical;
    const QVector<int> full{100, 0, 100};
    QTest::newRow("first, off-centre grip") << h << full << 8 << 58 << qMakePair(50, 100);
    QTest::newRow("first onto second") << h << full << 6 << 200 << qMakePair(100, 100);
    QTest::newRow("second") << h << full << 117 << 67 << qMakePair(0, 50);
    QTest::newRow("second onto first") << h << full << 117 << 0 << qMakePair(0, 0);
    QTest::newRow("vertical first") << v << full << 6 << 31 << qMakePair(25, 100);
    // 10 values a pixel: the last pixel before the second handle would give 510.
    QTest::newRow("coarse, never past upper")
        << h << QVector<int>{1000, 0, 500} << 6 << 57 << qMakePair(500, 500);
}

void TestWidgetInputs::drag()
{
    QFETCH(int, orientation);
    QFETCH(QVector<int>, before);
    QFETCH(int, press);
    QFETCH(int, to);
    QFETCH(Values, after);
    const bool horizontal = orientation == Qt::Horizontal;
    RangeSlider slider(Qt::Orientation(orientation), RangeSlider::DoubleHandles);
    slider.resize(horizontal ? QSize(124, 20) : QSize(20, 124));
    QCOMPARE(slider.minimumSizeHint(), horizontal ? QSize(24, 11) : QSize(11, 24));
    place(slider, before[0], before[1], before[2]);
    QSignalSpy lower(&slider, &RangeSlider::lowerValueChanged);
    QSignalSpy upper(&slider, &RangeSlider::upperValueChanged);
    auto point = [&](int along) { return horizontal ? QPoint(along, 10) : QPoint(10, along); };
    send(&slider, QEvent::MouseButtonPress, point(press));
    send(&slider, QEvent::MouseMove, point(to));
    send(&slider, QEvent::MouseButtonRelease, point(to), Qt::NoButton);
    send(&slider, QEvent::MouseMove, point(press)); // released: no longer dragging
    QCOMPARE(qMakePair(slider.lowerValue(), slider.upperValue()), after);
    QCOMPARE(lower.count() + upper.count(), 1);
    QCOMPARE((lower.isEmpty() ? upper : lower).first().first().toInt(),
             lower.isEmpty() ? after.second : after.first);
}

void TestWidgetInputs::painting()
{
    RangeSlider slider;
    slider.resize(124, 20);
    place(slider, 100, 20, 80);
    const QImage enabled = slider.grab().toImage();
    slider.setEnabled(false);
    const QImage disabled = slider.grab().toImage();
    enabled.save(QDir(QCoreApplication::applicationDirPath()).filePath("rangeslider.png"));
    QCOMPARE(enabled.pixelColor(55, 9), QColor(30, 144, 255)); // between the handles
    QCOMPARE(disabled.pixelColor(55, 9), QColor(Qt::darkGray));
    QCOMPARE(enabled.pixelColor(10, 9), QColor(208, 208, 208)); // groove before the first handle
    QCOMPARE(enabled.pixelColor(26, 9), QColor(250, 250, 250)); // inside the first handle
}

void TestWidgetInputs::numberEdit_data()
{
    QTest::addColumn<bool>("isUnsigned");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<bool>("acceptable");
    QTest::newRow("signed lowest") << false << "-999999999"
                                   << "-999999999" << true;
    QTest::newRow("tenth digit") << false << "1234567890"
                                 << "123456789" << true;
    QTest::newRow("letters and point") << false << "1a2.5"
                                       << "125" << true;
    QTest::newRow("digit grouping") << false << "1,000"
                                    << "1000" << true;
    QTest::newRow("lone minus") << false << "-"
                                << "-" << false;
    QTest::newRow("unsigned minus") << true << "-42"
                                    << "42" << true;
    QTest::newRow("unsigned highest") << true << "9999999999"
                                      << "999999999" << true;
}

void TestWidgetInputs::numberEdit()
{
    QFETCH(bool, isUnsigned);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(bool, acceptable);
    // A locale that groups digits, as an operator's may.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    std::unique_ptr<QLineEdit> edit(isUnsigned ? static_cast<QLineEdit *>(new ktNumberLineEditUnsigned)
                                               : new ktNumberLineEdit);
    QTest::keyClicks(edit.get(), typed);
    QCOMPARE(edit->text(), kept);
    QCOMPARE(edit->hasAcceptableInput(), acceptable);
}

QTEST_MAIN(TestWidgetInputs)
#include "tst_widgets_inputs.moc"
