#include "ktshowrgb.h"
#include "ui_ktshowrgb.h"

#include "ktscaling.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QTimer>

ktShowRGB::ktShowRGB(QWidget *parent) : QDialog(parent), ui(new Ui::ktShowRGB)
{
    ui->setupUi(this);
    setWindowFlags(normalFlags());
    KtScaling::apply(this);
}

ktShowRGB::~ktShowRGB()
{
    delete ui;
}

Qt::WindowFlags ktShowRGB::normalFlags()
{
    return Qt::Dialog | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
}

void ktShowRGB::SetColor(const QString &color)
{
    m_color = color;
    ui->lb_color->setStyleSheet(QStringLiteral("background-color: rgb(%1);").arg(color));
    setWindowTitle(color);
}

void ktShowRGB::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    ui->lb_color->resize(size());
}

void ktShowRGB::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (windowState() & Qt::WindowMaximized && !(windowState() & Qt::WindowFullScreen)) {
        // Changing the flags hides the window; do it after the state change has been handled
        // so the window manager sees one consistent request.
        QTimer::singleShot(0, this, [this] {
            setWindowFlags(Qt::Window);
            showFullScreen();
        });
    }
}

void ktShowRGB::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        // Esc leaves full screen instead of rejecting the dialog, which would only hide it.
        setWindowFlags(normalFlags());
        showNormal();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ktShowRGB::closeEvent(QCloseEvent *event)
{
    emit signal_CloseRGBWindow();
    event->accept();
}
