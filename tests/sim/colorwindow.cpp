// Test helper: a full-screen window painted in one "R,G,B" colour on the X display, standing in
// for the application's pattern window when the simulator reads the screen.

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>

class ColorWindow : public QRasterWindow
{
public:
    explicit ColorWindow(const QColor &c) : m_color(c) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(QRect(QPoint(), size()), m_color);
    }

private:
    QColor m_color;
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const QStringList rgb = argc > 1 ? QString::fromLatin1(argv[1]).split(',') : QStringList();
    if (rgb.size() != 3)
        return 2;
    ColorWindow w(QColor(rgb[0].toInt(), rgb[1].toInt(), rgb[2].toInt()));
    w.setFlags(Qt::FramelessWindowHint);
    // Xvfb runs without a window manager, which full-screen requests need: size it ourselves.
    w.setGeometry(QGuiApplication::primaryScreen()->geometry());
    w.show();
    return app.exec();
}
