// Test helper: a full-screen window painted in one "R,G,B" colour on the X display, standing in
// for the application's pattern window when the simulator reads the screen.
// Arguments: "R,G,B", or "R,G,B/R,G,B/PERIOD_MS" to alternate two colours.

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>
#include <QTimer>

class ColorWindow : public QRasterWindow
{
public:
    QColor color;

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(QRect(QPoint(), size()), color); }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const QStringList parts = argc > 1 ? QString::fromLatin1(argv[1]).split('/') : QStringList();
    QList<QColor> colors;
    for (int i = 0; i < 2 && i < parts.size(); ++i) {
        const QStringList rgb = parts[i].split(',');
        if (rgb.size() != 3)
            return 2;
        colors << QColor(rgb[0].toInt(), rgb[1].toInt(), rgb[2].toInt());
    }
    if (colors.isEmpty())
        return 2;
    ColorWindow w;
    w.color = colors[0];
    w.setFlags(Qt::FramelessWindowHint);
    // Xvfb runs without a window manager, which full-screen requests need: size it ourselves.
    w.setGeometry(QGuiApplication::primaryScreen()->geometry());
    w.show();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        w.color = w.color == colors[0] ? colors.last() : colors[0];
        w.update();
    });
    if (parts.size() == 3)
        timer.start(parts[2].toInt());
    return app.exec();
}
