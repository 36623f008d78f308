#pragma once

#include <QColor>
#include <QWidget>

// A slider with one or two handles that selects an integer interval [lowerValue, upperValue]
// inside [minimum, maximum]; the gray-scan setup picks the first and last tone with it. The
// first handle carries lowerValue, the second upperValue. Values move by dragging a handle or
// by a click on the groove, which steps the nearer value by a tenth of the range towards the
// click. The slider takes no keyboard input.
class RangeSlider : public QWidget
{
    Q_OBJECT
public:
    enum Option
    {
        NoHandle = 0x0,
        LeftHandle = 0x1,
        RightHandle = 0x2,
        DoubleHandles = LeftHandle | RightHandle,
    };
    Q_DECLARE_FLAGS(Options, Option)

    // A horizontal slider with both handles.
    explicit RangeSlider(QWidget *parent = nullptr);
    RangeSlider(Qt::Orientation orientation, Options options, QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int lowerValue() const { return m_lowerValue; }
    int upperValue() const { return m_upperValue; }
    Qt::Orientation orientation() const { return m_orientation; }
    Options options() const { return m_options; }
    // Sets the minimum, then the maximum; each resets the selection to the full range.
    void setRange(int min, int max);

    // Squares of the two handles in widget pixels (also those of a hidden handle).
    QRect firstHandleRect() const;
    QRect secondHandleRect() const;

public slots:
    // Clamped into [minimum, maximum]; the two values are not compared with each other here.
    void setLowerValue(int aLowerValue);
    void setUpperValue(int aUpperValue);
    // A minimum above the maximum (or a maximum below the minimum) swaps the two ends.
    void setMinimum(int aMinimum);
    void setMaximum(int aMaximum);

signals:
    void lowerValueChanged(int aLowerValue);
    void upperValueChanged(int aUpperValue);
    void rangeChanged(int aMin, int aMax);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void rangeReset();
    bool leftShown() const { return m_options.testFlag(LeftHandle); }
    bool rightShown() const { return m_options.testFlag(RightHandle); }
    int length() const;
    int validLength() const;
    int firstPos() const;
    int secondPos() const;
    QRect handleRect(int pos) const;

    int m_minimum = 0;
    int m_maximum = 100;
    int m_lowerValue = 0;
    int m_upperValue = 100;
    bool m_firstHandlePressed = false;
    bool m_secondHandlePressed = false;
    int m_interval = 100;
    // Press point less the pressed handle's centre, so a drag does not make the handle jump.
    int m_delta = 0;
    QColor m_rangeColorEnabled{30, 144, 255};
    QColor m_rangeColorDisabled{Qt::darkGray};
    QColor m_rangeColor = m_rangeColorEnabled;
    Qt::Orientation m_orientation = Qt::Horizontal;
    Options m_options = DoubleHandles;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(RangeSlider::Options)
