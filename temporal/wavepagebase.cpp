#include "wavepagebase.h"

#include "ktmessagedlg.h"
#include "ktqcustomplot.h"
#include "ktsafewrite.h"
#include "ktsettings.h"
#include "pagelog.h"
#include "portholder.h"
#include "wavelogic.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QSerialPort>
#include <QVBoxLayout>

namespace {
const QString SamplingMode = QStringLiteral("8");
}

WavePageBase::WavePageBase(QWidget *parent) : ktPublicConfig(parent)
{
    hideBaseForm();
    m_hub = qobject_cast<ktPublicConfig *>(parent);
    if (m_hub) {
        connect(this, &ktPublicConfig::Signal_SendChangeMDS, m_hub.data(), &ktPublicConfig::Slot_ChangeMDS);
        connect(this, &ktPublicConfig::Signal_SendClosePort, m_hub.data(), &ktPublicConfig::Slot_PortClosed);
        connect(m_hub.data(), &ktPublicConfig::Signal_RecvChangeMDS, this, &WavePageBase::Slot_ChangeMesMode);
        connect(m_hub.data(), &ktPublicConfig::Signal_RecvClosePort, this, &WavePageBase::Slot_ClosePort);
    }
    askSavePath = [this](const QString &start) {
        return QFileDialog::getSaveFileName(this, tr("Save File"), start, tr("file (*.csv)"));
    };
    askOpenPath = [this](const QString &start) {
        return QFileDialog::getOpenFileName(this, tr("Open File"), start, tr("Excel(*.csv)"));
    };
}

void WavePageBase::Slot_ChangeMesMode(QString strMDS)
{
    if (strMDS != SamplingMode)
        m_modeChanged = true;
}

bool WavePageBase::portOpen()
{
    QSerialPort *port = PortHolder::instance()->probePort();
    return port && port->isOpen();
}

void WavePageBase::logRed(const QString &text)
{
    appendLog(text, QStringLiteral("red"));
}

bool WavePageBase::ensureSamplingMode()
{
    if (!m_modeChanged)
        return true;
    if (!SendMDS(SamplingMode)) {
        logRed(tr("Set display mode failed!"));
        return false;
    }
    m_modeChanged = false;
    return true;
}

void WavePageBase::checkDecimation(QLineEdit *field, bool editingFinished)
{
    const QString text = field->text();
    if (WaveLogic::validDecimation(text) || (text.isEmpty() && !editingFinished))
        return;
    field->setText(QStringLiteral("1"));
    showMessage(tr("Over range,decimation interval range is 1-100!"));
}

bool WavePageBase::exportCsv(const char *settingKey, const QByteArray &data)
{
    const QString key = QString::fromLatin1(settingKey);
    QString path = askSavePath(KtSettings::readSetting(key));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv"); // a name typed without its extension
    KtSettings::writeSetting(key, QFileInfo(path).absolutePath());
    if (QFileInfo::exists(path)) {
        showMessage(tr("The file already exists,please rename this file!"));
        return false;
    }
    QString error;
    if (!KtSafeWrite::writeFile(path, data, &error)) {
        logRed(error);
        showMessage(error);
        return false;
    }
    showMessage(tr("Export datas successfully!"));
    return true;
}

QWidget *WavePageBase::formBody()
{
    m_body = new QWidget(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_body);
    return m_body;
}

void WavePageBase::formReady(PageLog *log)
{
    // The forms give their log no line wrap: a long echo line laid out again on every append
    // would cost the GUI thread the time the pattern window's steps need.
    m_log = log;
    QMetaObject::connectSlotsByName(this);
}

void WavePageBase::stylePlot(QCustomPlot *plot, const QString &xTitle, const QString &yTitle)
{
    const QFont font(QStringLiteral("Microsoft YaHei UI"), 9);
    plot->xAxis->setLabel(xTitle);
    plot->yAxis->setLabel(yTitle);
    for (QCPAxis *axis : {plot->xAxis, plot->yAxis, plot->yAxis2}) {
        axis->setLabelFont(font);
        axis->setTickLabelFont(font);
        axis->grid()->setPen(QPen(QColor(220, 220, 220), 0, Qt::DotLine));
    }
    plot->setMinimumSize(320, 200);
}
