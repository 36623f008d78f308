#pragma once

#include "ktwaveform.h"

#include <QTimer>

class QCheckBox;
class QCPTextElement;
class QRadioButton;

// The three-channel waveform page: x, y and Lv sampled together ("JWA"; luminance alone with
// "JAA" at 8192 samples), a sensor-type choice, per-channel statistics, the curves to show and
// a loop that measures again as soon as a measurement ends. The spectrum is that of Lv.
class ktWaveFormJWA : public ktWaveForm
{
    Q_OBJECT
public:
    explicit ktWaveFormJWA(QWidget *parent = nullptr);

    bool looping() const { return m_looping; }
    QString statisticText(const QString &label) const;

    // Not a slot of its own: the base's slot, connected by name, dispatches here (declared
    // as a slot again it would be connected a second time).
    void on_pb_Measure_clicked() override;

public slots:
    void ChangeSensorType();
    void ChangeCheckedState_Lv();
    void ChangeCheckedState_x();
    void ChangeCheckedState_y();
    void DealWithLoopMeasure();
    void on_cb_SamplingNumber_currentTextChanged(QString text);
    void UpdateWidget();
    void Slot_ClosePort() override;
    void UpdateChartLable();

protected:
    void retranslate() override;
    bool sample(int n, int decimation) override;
    void plotWave() override;
    QByteArray exportData() const override;

private:
    // Refuses to leave no curve shown: the box is checked again with the message.
    void keepOneCurve(QCheckBox *box);
    void stopLoop();
    bool measureOnce();

    QGroupBox *gb_SensorType = nullptr;
    QRadioButton *rb_SensorType[3] = {};
    QCheckBox *cb_Lv = nullptr, *cb_x = nullptr, *cb_y = nullptr, *cb_Loop = nullptr;
    QVector<QLineEdit *> m_statFields; // in the order of the statistics' labels
    QCPTextElement *m_title = nullptr; // "Y(Lv)" over the luminance-only chart
    bool m_looping = false;
    bool m_luminanceOnly = false; // the last record came from "JAA"
};
