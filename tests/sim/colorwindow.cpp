// Test helper: a full-screen window painted in one "R,G,B" colour on the X display, standing in
// for the application's pattern window when the simulator reads the screen.

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>
#include <QTimer>

class ColorWindow : public QRasterWindow
{
public:
    explicit ColorWindow(const QColor &c) : m_color(c) {}
    void setColor(const QColor &c)
    {
        m_color = c;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(QRect(QPoint(), size()), m_color);
    }

private:
    QColor m_color;
};

static QColor parse(const QString &text)
{
    const QStringList rgb = text.split(',');
    if (rgb.size() != 3)
        return QColor();
    return QColor(rgb[0].toInt(), rgb[1].toInt(), rgb[2].toInt());
}

// Arguments: "R,G,B", or "R,G,B/R,G,B/PERIOD_MS" to alternate two colours.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const QStringList parts = argc > 1 ? QString::fromLatin1(argv[1]).split('/') : QStringList();
    if (parts.isEmpty() || !parse(parts[0]).isValid())
        return 2;
    const QColor first = parse(parts[0]);
    ColorWindow w(first);
    w.setFlags(Qt::FramelessWindowHint);
    // Xvfb runs without a window manager, which full-screen requests need: size it ourselves.
    w.setGeometry(QGuiApplication::primaryScreen()->geometry());
    w.show();
    QTimer timer;
    const QColor second = parts.size() == 3 ? parse(parts[1]) : first;
    bool showFirst = true;
    if (parts.size() == 3) {
        QObject::connect(&timer, &QTimer::timeout, [&] {
            showFirst = !showFirst;
            w.setColor(showFirst ? first : second);
        });
        timer.start(parts[2].toInt());
    }
    return app.exec();
}
