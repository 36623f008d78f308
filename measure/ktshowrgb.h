#pragma once

#include <QDialog>
#include <QString>

namespace Ui {
class ktShowRGB;
}

// The colour pattern window: one label painted in an "R,G,B" colour that the probe looks at.
// Maximising it turns it into a borderless full-screen window (what the probe should see is
// the colour alone); Esc brings the framed window back.
class ktShowRGB : public QDialog
{
    Q_OBJECT
public:
    explicit ktShowRGB(QWidget *parent = nullptr);
    ~ktShowRGB() override;

    // color is "R,G,B" (three decimal integers 0..255, no spaces): the label's background and
    // the window title follow it.
    void SetColor(const QString &color);
    QString color() const { return m_color; }

signals:
    void signal_CloseRGBWindow();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    static Qt::WindowFlags normalFlags();
    Ui::ktShowRGB *ui;
    QString m_color = QStringLiteral("0,0,0");
};
