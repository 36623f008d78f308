#pragma once

#include "ktpublicconfig.h"

#include <QPointer>

#include <functional>

class QCustomPlot;
class QLineEdit;

// What the two waveform pages and the response-time page share: the page log, the message box,
// the port test, the display mode they sample in, the decimation field rule, the CSV export
// with its refusal of an existing file, and the hub connections.
class WavePageBase : public ktPublicConfig
{
    Q_OBJECT
public:
    explicit WavePageBase(QWidget *parent = nullptr);

    PageLog *logView() override { return m_log; }

    // Dialog hooks, replaced by tests: the chosen path, or empty when cancelled.
    std::function<QString(const QString &start)> askSavePath;
    std::function<QString(const QString &start)> askOpenPath;

    bool modeChanged() const { return m_modeChanged; }

public slots:
    // Another page put the probe in another display mode: ours goes out before the next sample.
    void Slot_ChangeMesMode(QString strMDS);
    virtual void Slot_ClosePort() {}

protected:
    static bool portOpen();
    void logRed(const QString &text);
    // "MDS,8" when another page changed the mode; false (logged) when the probe refused it.
    bool ensureSamplingMode();
    // The decimation rule of every sampling page: a text that is not 1..100 is refused with the
    // message box and the field goes back to "1". An empty field is left alone while typing
    // and refused when editing ends.
    void checkDecimation(QLineEdit *field, bool editingFinished);
    // Asks for a new CSV file starting at the path under settingKey, refuses an existing one,
    // writes data whole or not at all and stores the path back. True when written.
    bool exportCsv(const char *settingKey, const QByteArray &data);
    // The widget the page's Designer form is built on, filling the page.
    QWidget *formBody();
    // After the form's setupUi: its log becomes the page log, and the form's
    // on_<object>_<signal> slots, which live on the page, are connected by name.
    void formReady(PageLog *log);
    // A plot of the page's look: axis titles in the page's font, light grid.
    static void stylePlot(QCustomPlot *plot, const QString &xTitle, const QString &yTitle);

    QPointer<ktPublicConfig> m_hub;
    PageLog *m_log = nullptr;
    QWidget *m_body = nullptr;
    bool m_modeChanged = true; // the mode goes out before the first sample too
};
