// The response-time page's measuring cycle, analysis display, plot actions and files.
#include "customplotdrawpoint.h"
#include "ktsettings.h"
#include "ktshowrgb.h"
#include "ktwaveresponsetime.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>

#include <cmath>

using namespace WaveLogic;

namespace {
const QString Green = QStringLiteral("green");
} // namespace

void ktWaveResponseTime::on_pb_Measure_clicked()
{
    if (m_measuring) {
        stopMeasuring();
        return;
    }
    if (!portOpen()) {
        showMessage(tr("Serial port is not opened!"));
        return;
    }
    m_measuring = true;
    UpdateWidget();
    if (gb_GrayLevel->isChecked()) {
        m_patternColours = patternColours();
        if (!m_patternColours.isEmpty()) {
            m_patternIndex = 0;
            showPattern(m_patternColours.first());
            m_patternTimer.start(std::max(1, le_IntervalTime->text().toInt()));
        }
    }
    if (!ensureSamplingMode()) {
        stopMeasuring();
        return;
    }
    QTimer::singleShot(1, this, &ktWaveResponseTime::DealWithMeasure);
}

void ktWaveResponseTime::stopMeasuring()
{
    m_measuring = false;
    m_patternTimer.stop();
    if (m_pattern && m_pattern->isVisible())
        m_pattern->hide();
    UpdateWidget();
}

void ktWaveResponseTime::waitMs(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (m_measuring && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}

void ktWaveResponseTime::DealWithMeasure()
{
    if (!m_measuring || m_inCycle)
        return;
    m_inCycle = true;
    waitMs(le_MesDelay->text().toInt());
    const int n = cb_SamplingNumber->currentText().toInt();
    const int d =
        WaveLogic::validDecimation(le_Decimationinterval->text()) ? le_Decimationinterval->text().toInt() : 1;
    QString reply;
    Waveform wave;
    bool ok = m_measuring;
    if (ok && !SendJWA(QString::number(n), QString::number(d), &reply)) {
        logRed(tr("Failed to measure waveform!"));
        ok = false;
    } else if (ok && !WaveLogic::readJwa(reply, d, &wave)) {
        logRed(tr("Received measure datas format is error!"));
        ok = false;
    }
    m_inCycle = false;
    if (!ok) {
        stopMeasuring();
        return;
    }
    m_wave = wave;
    m_decimationUsed = d;
    showWaveform(cb_waveMode->isChecked());
    showStatus(tr("Show wave successfully!"));
    if (m_measuring)
        QTimer::singleShot(1, this, &ktWaveResponseTime::DealWithMeasure);
}

void ktWaveResponseTime::showWaveform(bool autoCapture)
{
    clearMarkers();
    m_plot->reset();
    m_plot->graph(0)->setData(m_wave.t, m_wave.lv, true);
    if (m_wave.isEmpty()) {
        m_transitions.clear();
        m_plot->replot();
        UpdateWidget();
        return;
    }
    const Stats s = statistics(m_wave.lv);
    const double margin = s.max > s.min ? (s.max - s.min) / 10.0 : 1.0;
    m_plot->yAxis->setRange(s.min - margin, s.max + margin);
    double lo = m_wave.t.first(), hi = m_wave.t.last();
    if (autoCapture) {
        const CaptureWindow w = captureWindow(m_wave, le_ScreenFreq->text().toDouble(), m_decimationUsed);
        if (w.tooFewSamples) {
            logRed(tr("Sampling Number is too low!"));
        } else {
            appendLog(tr("indexLeft:%1 ,indexRight:%2, axisLeft:%3 , axisRight:%4")
                          .arg(w.indexLeft)
                          .arg(w.indexRight)
                          .arg(w.axisLeft)
                          .arg(w.axisRight),
                      Green);
            lo = w.axisLeft;
            hi = w.axisRight;
        }
    }
    m_plot->xAxis->setRange(lo, hi > lo ? hi : lo + 1.0);
    slot_showResult(lo, hi);
    UpdateWidget();
}

void ktWaveResponseTime::slot_showResult(double dxMin, double dxMax)
{
    m_transitions = transitions(m_wave.t, m_wave.lv, dxMin, dxMax, m_startThreshold.toDouble(),
                                m_endThreshold.toDouble());
    drawMarkers();
}

int ktWaveResponseTime::markerCount() const
{
    return m_markers.size();
}

void ktWaveResponseTime::clearMarkers()
{
    for (QCPAbstractItem *item : qAsConst(m_markers))
        m_plot->removeItem(item);
    m_markers.clear();
    if (m_plot->graphCount() > 1)
        m_plot->graph(1)->data()->clear();
}

void ktWaveResponseTime::drawMarkers()
{
    clearMarkers();
    if (m_plot->graphCount() < 2) {
        m_plot->addGraph();
        m_plot->graph(1)->setLineStyle(QCPGraph::lsNone);
        m_plot->graph(1)->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, QColor(220, 40, 40), 7));
    }
    // A flat record makes a transition of every sample pair; only the first ones get labels.
    const int marked = std::min(int(m_transitions.size()), MaxMarked);
    const QFont font(QStringLiteral("Arial"), 8);
    const double midY = (m_plot->yAxis->range().lower + m_plot->yAxis->range().upper) / 2.0;
    const double midX = (m_plot->xAxis->range().lower + m_plot->xAxis->range().upper) / 2.0;
    auto label = [&](double x, double y, const QString &text, Qt::Alignment align) {
        auto *item = new QCPItemText(m_plot);
        item->position->setCoords(x, y);
        item->setPositionAlignment(align);
        item->setText(text);
        item->setFont(font);
        item->setPadding(QMargins(2, 2, 2, 2));
        m_markers.append(item);
    };
    for (int i = 0; i < marked; ++i) {
        const Transition &edge = m_transitions.at(i);
        for (const TransitionPoint &p : {edge.start, edge.end}) {
            m_plot->graph(1)->addData(p.t, p.lv);
            label(p.t, p.lv, tr("T%1\nTime: %2sec \nLv: %3 ").arg(i + 1).arg(p.t).arg(p.lv),
                  (p.t > midX ? Qt::AlignRight : Qt::AlignLeft) |
                      (p.lv > midY ? Qt::AlignTop : Qt::AlignBottom));
        }
        label((edge.start.t + edge.end.t) / 2.0, midY, tr("D-Time:%1sec").arg(edge.duration),
              Qt::AlignHCenter | Qt::AlignVCenter);
    }
    m_plot->replot();
}

// ---- plot actions -------------------------------------------------------------------------

void ktWaveResponseTime::Slot_ZoomAction()
{
    m_plot->setPickEnabled(false);
    m_plot->setInteractions(QCP::iRangeZoom);
    m_plot->axisRect()->setRangeZoom(Qt::Horizontal);
    m_plot->setSelectionRectMode(QCP::srmZoom);
}

void ktWaveResponseTime::Slot_MoveAction()
{
    m_plot->setPickEnabled(false);
    m_plot->setSelectionRectMode(QCP::srmNone);
    m_plot->setInteractions(QCP::iRangeDrag);
    m_plot->axisRect()->setRangeDrag(Qt::Horizontal);
}

void ktWaveResponseTime::Slot_ResetAction()
{
    m_plot->setInteractions(QCP::Interactions());
    m_plot->setSelectionRectMode(QCP::srmNone);
    showWaveform(false);
}

void ktWaveResponseTime::Slot_ReanalysisAction()
{
    m_plot->reset();
    slot_showResult(m_plot->xAxis->range().lower, m_plot->xAxis->range().upper);
}

// ---- files --------------------------------------------------------------------------------

void ktWaveResponseTime::on_pb_Export_clicked()
{
    exportCsv(KtSettings::Key::WaveResponseTimePath, WaveLogic::responseTimeCsv(m_wave));
}

void ktWaveResponseTime::on_pb_Open_clicked()
{
    const QString key = QString::fromLatin1(KtSettings::Key::WaveResponseTimePath);
    const QString path = askOpenPath(KtSettings::readSetting(key));
    if (path.isEmpty())
        return;
    QFile file(path);
    Waveform wave;
    if (!file.open(QIODevice::ReadOnly) || !WaveLogic::readResponseTimeCsv(file.readAll(), &wave)) {
        logRed(tr("Open file failed!"));
        return;
    }
    m_wave = wave;
    // The decimation the file was sampled with, from its sample spacing.
    m_decimationUsed =
        wave.size() > 1 ? std::max(1, int(std::lround((wave.t.at(1) - wave.t.at(0)) * SampleRate))) : 1;
    showWaveform(cb_waveMode->isChecked());
}
