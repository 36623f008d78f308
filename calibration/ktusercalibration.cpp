#include "ktusercalibration.h"
#include "ui_ktusercalibration.h"

#include "ktmemerychinfo.h"
#include "ktmessagedlg.h"
#include "ktpaths.h"
#include "ktscaling.h"
#include "ktsettings.h"
#include "ktusercalihelp.h"
#include "pagelog.h"
#include "portholder.h"

#include <QDateTime>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QSerialPort>
#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace Calibration;

namespace {
const QString Green = QStringLiteral("green");
const QString Red = QStringLiteral("red");
const char Rows[] = "XYZ";

// Field texts are read as single-precision numbers, as the probe keeps them.
double fieldValue(const QLineEdit *le)
{
    return double(le->text().toFloat());
}
} // namespace

KTUserCalibration::KTUserCalibration(QWidget *parent)
    : ktPublicConfig(parent), ui(new Ui::KTUserCalibrationForm)
{
    hideBaseForm();
    setWindowTitle(tr("UserCalibration"));
    m_body = new QWidget(this);
    ui->setupUi(m_body);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_body);
    // setupUi connects by name inside the body only; the on_ slots live on the page.
    QMetaObject::connectSlotsByName(this);
    for (int ch = 1; ch <= 99; ++ch)
        ui->cb_memorychannnel->addItem(channelText(ch));
    ui->le_mestimes->installEventFilter(this);
    installEventFilter(this);
    connect(ui->gb_ref1, &QGroupBox::toggled, this, &KTUserCalibration::CheckeboxChanged);
    for (int g = 1; g <= MaxGroups; ++g) {
        for (int r = 0; r < 3; ++r) {
            // An edited measurement is the operator's own value: no longer "not measured".
            connect(mesField(g, r), &QLineEdit::textEdited, this,
                    [this, g] { m_notMeasured[size_t(g - 1)] = false; });
        }
    }
    m_updateTimer.setInterval(1000);
    connect(&m_updateTimer, &QTimer::timeout, this, &KTUserCalibration::UpdateWidget);
    m_delayTimer.setSingleShot(true);
    connect(&m_delayTimer, &QTimer::timeout, this, &KTUserCalibration::DelayTriggel);

    m_hub = qobject_cast<ktPublicConfig *>(parent);
    if (ktPublicConfig *hub = m_hub) {
        connect(this, &ktPublicConfig::Signal_SendUpdateMCH, hub, &ktPublicConfig::Slot_UpdateMCH);
        connect(hub, &ktPublicConfig::Signal_RecvUpdateMCH, this, &KTUserCalibration::Slot_UpdateCtrl);
        connect(this, &ktPublicConfig::Signal_SendClosePort, hub, &ktPublicConfig::Slot_PortClosed);
        connect(hub, &ktPublicConfig::Signal_RecvClosePort, this, &KTUserCalibration::Slot_ClosePort);
        connect(this, &ktPublicConfig::Signal_SendChangeMDS, hub, &ktPublicConfig::Slot_ChangeMDS);
        connect(hub, &ktPublicConfig::Signal_RecvChangeMDS, this, &KTUserCalibration::Slot_ChangeMesMode);
    }
    askOpenPath = [this](const QString &start) {
        return QFileDialog::getOpenFileName(this, tr("open file dialog"), start, tr("file (*.userRef)"));
    };
    askSavePath = [this](const QString &start) {
        return QFileDialog::getSaveFileName(this, tr("Save File"), start, tr("file (*.userRef)"));
    };
    {
        const QSignalBlocker block(ui->cb_mode);
        ui->cb_mode->setCurrentIndex(1);
    }
    ui->cb_datagroupcount->setCurrentIndex(2);
    ui->cb_CalcuGroupCount->setCurrentIndex(1);
    HideError(true);
    HideSetting(true);
    relabel();
    setButtonsEnabled(false);
}

KTUserCalibration::~KTUserCalibration()
{
    m_updateTimer.stop();
    delete ui;
}

PageLog *KTUserCalibration::logView()
{
    return ui ? ui->textLog : ktPublicConfig::logView();
}

QLineEdit *KTUserCalibration::refField(int group, int row) const
{
    return m_body->findChild<QLineEdit *>(QStringLiteral("le_Flicker%1%2").arg(Rows[row]).arg(group));
}

QLineEdit *KTUserCalibration::mesField(int group, int row) const
{
    return m_body->findChild<QLineEdit *>(QStringLiteral("le_MFlicker%1%2").arg(Rows[row]).arg(group));
}

QLineEdit *KTUserCalibration::errField(int group, int row) const
{
    return m_body->findChild<QLineEdit *>(QStringLiteral("le_EFlicker%1%2").arg(Rows[row]).arg(group));
}

QLineEdit *KTUserCalibration::matrixField(int index) const
{
    return m_body->findChild<QLineEdit *>(
        QStringLiteral("le_RFlicker%1%2").arg(Rows[index / 3]).arg(index % 3 + 1));
}

void KTUserCalibration::setPageActive(bool active)
{
    if (active) {
        m_updateTimer.start();
        m_delayTimer.start(1);
    } else {
        m_updateTimer.stop();
    }
}

bool KTUserCalibration::portOpen() const
{
    return PortHolder::instance()->probePort()->isOpen();
}

Mode KTUserCalibration::mode() const
{
    return ui->cb_mode->currentText() == QLatin1String("XYZ") ? Mode::XYZ : Mode::xyLv;
}

int KTUserCalibration::groupCount() const
{
    return ui->cb_datagroupcount->currentText().toInt();
}

int KTUserCalibration::computedCount() const
{
    return ui->cb_CalcuGroupCount->currentText().toInt();
}

void KTUserCalibration::wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void KTUserCalibration::showMessage(const QString &text)
{
    messageDialog()->setMessage(text, false, true);
    messageDialog()->exec();
}

bool KTUserCalibration::confirm(const QString &text)
{
    messageDialog()->setMessage(text, true, true);
    messageDialog()->exec();
    return messageDialog()->isAccepted();
}

void KTUserCalibration::fail(const QString &text)
{
    appendLog(text, Red);
    showMessage(text);
}

void KTUserCalibration::setButtonsEnabled(bool on)
{
    for (QPushButton *b :
         {ui->pbmes1, ui->pbmes2, ui->pbmes3, ui->pbmes4, ui->pbmes5, ui->pb_ShowCHInfo, ui->pbDownload})
        b->setEnabled(on);
}

void KTUserCalibration::relabel()
{
    const bool xyz = mode() == Mode::XYZ;
    const QString labels[3] = {xyz ? tr("X:") : tr("x:"), xyz ? tr("Y:") : tr("y:"),
                               xyz ? tr("Z:") : tr("Lv:")};
    for (QLabel *lb : m_body->findChildren<QLabel *>()) {
        const QString name = lb->objectName();
        for (int r = 0; r < 3; ++r)
            if (name.startsWith(QStringLiteral("lb%1_").arg(Rows[r])))
                lb->setText(labels[r]);
    }
}

// ---- reset and read ---------------------------------------------------------------------------

void KTUserCalibration::UpdateWidget()
{
    if (portOpen() && !m_initialised) {
        m_initialised = true;
        reset();
    } else if (!portOpen() && m_initialised) {
        m_initialised = false;
    }
}

void KTUserCalibration::reset()
{
    setButtonsEnabled(false);
    ui->le_mestimes->setText(QStringLiteral("10"));
    ui->cb_datagroupcount->setCurrentIndex(2);
    {
        const QSignalBlocker block(ui->cb_mode);
        ui->cb_mode->setCurrentIndex(1);
    }
    ui->cb_CalcuGroupCount->setCurrentIndex(1);
    ui->le_memorychannelname->clear();
    HideError(true);
    HideSetting(true);
    m_downloading = false;
    m_allowChannel00Replace = true;
    m_notMeasured.fill(false);
    for (int g = 1; g <= MaxGroups; ++g)
        for (int r = 0; r < 3; ++r)
            for (QLineEdit *le : {refField(g, r), mesField(g, r), errField(g, r)})
                le->setText(QStringLiteral("0.0"));
    for (int i = 0; i < 9; ++i)
        matrixField(i)->setText(QStringLiteral("0.0"));
    on_cb_mode_currentIndexChanged(ui->cb_mode->currentIndex());
    QTimer::singleShot(100, this, [this] { pbRead_clicked(); });
}

bool KTUserCalibration::pbRead_clicked()
{
    const QSignalBlocker block(ui->cb_memorychannnel);
    m_reading = true;
    bool ok = false;
    QString data;
    if (!portOpen()) {
        appendLog(tr("Serial port is not opened!"), Red);
    } else if (!SendRPR(&m_deviceId)) {
        appendLog(tr("Read Device ID failed!"), Red);
    } else if (!SendSTR(QStringLiteral("3"), &data)) {
        appendLog(tr("Read memory channel failed!"), Red);
    } else {
        int n = data.section(',', 0, 0).toInt();
        m_probeChannel = n;
        m_currentChannel = channelText(n);
        bool moved = true;
        // Only the read that follows a reset moves the probe off channel 00: later reads follow
        // other pages' channel changes, and a dialog that works on channel 00 must keep it.
        const bool replace = m_allowChannel00Replace;
        m_allowChannel00Replace = false;
        if (n == 0) {
            n = 1;
            if (replace) {
                moved = SendMCH(QStringLiteral("01"));
                if (!moved) {
                    appendLog(tr("Set memory channel failed!"), Red);
                } else {
                    m_probeChannel = 1;
                    m_currentChannel = channelText(1);
                }
            }
        }
        if (moved) {
            ui->cb_memorychannnel->setCurrentIndex(n - 1);
            ok = true;
            QString name;
            if (!m_downloading) {
                if (SendCMR11(&name))
                    ui->le_memorychannelname->setText(name);
                else
                    appendLog(tr("Read memory channel name failed!"), Red);
            }
            for (int i = 0; i < 9 && ok; ++i) {
                QString value;
                ok = SendCMR(QString::number(i), &value);
                if (ok)
                    matrixField(i)->setText(value);
                else
                    appendLog(tr("Read color matrix parameter %1 failed!").arg(i), Red);
            }
            ui->gb_para->setTitle(tr("Para (Read ") + ui->cb_memorychannnel->currentText() + ')');
        }
    }
    setButtonsEnabled(true);
    m_reading = false;
    return ok;
}

void KTUserCalibration::Slot_UpdateCtrl()
{
    if (m_reading)
        return; // this page's own move from channel 00 inside a read
    pbRead_clicked();
    for (int g = 1; g <= MaxGroups; ++g)
        for (int r = 0; r < 3; ++r)
            mesField(g, r)->setText(QStringLiteral("0.0"));
}

void KTUserCalibration::Slot_ClosePort()
{
    m_initialised = false;
}

void KTUserCalibration::DelayTriggel()
{
    if (m_currentChannel.contains(QLatin1String("00")) && portOpen() && !readerBusy()) {
        if (!changeChannel(QStringLiteral("01")))
            appendLog(tr("Set memory channel failed!"), Red);
    }
}

bool KTUserCalibration::changeChannel(const QString &two)
{
    m_reading = true; // the read that follows is this page's own
    const bool ok = SendMCH(two);
    m_reading = false;
    if (ok) {
        m_probeChannel = two.toInt();
        m_currentChannel = channelText(m_probeChannel);
    }
    return ok;
}

void KTUserCalibration::changeEvent(QEvent *event)
{
    ktPublicConfig::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(m_body);
        setWindowTitle(tr("UserCalibration"));
        HideError(m_errorHidden);
        HideSetting(m_settingHidden);
        relabel();
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        DelayTriggel();
    }
}

// ---- measurement ------------------------------------------------------------------------------

void KTUserCalibration::measureGroup(int group)
{
    if (m_resendMode) {
        if (SendMDS(m_displayMode))
            m_resendMode = false;
        else
            appendLog(tr("Set display mode failed!"), Red);
    }
    if (ui->le_mestimes->text().isEmpty())
        ui->le_mestimes->setText(QString::number(DefaultMesTimes));
    const int n = ui->le_mestimes->text().toInt();
    Average average;
    for (int i = 0; i < n; ++i) {
        wait(100);
        QString reply;
        if (!SendMES(&reply)) {
            appendLog(tr("Measurement is failed!"), Red);
            break;
        }
        if (!average.add(reply, mode())) {
            appendLog(tr("Format error!"), Red);
            break;
        }
    }
    const Triple v = average.mean();
    for (int r = 0; r < 3; ++r)
        mesField(group, r)->setText(measuredText(v[size_t(r)]));
    m_notMeasured[size_t(group - 1)] = !average.measured();
    if (!average.measured())
        appendLog(tr("Group %1 is not measured: all its readings failed!").arg(group), Red);
}

void KTUserCalibration::Slot_ChangeMesMode(QString mode)
{
    if (mode != m_displayMode)
        m_resendMode = true;
}

// ---- generation and download ------------------------------------------------------------------

Eigen::Matrix3Xd KTUserCalibration::table(bool measured) const
{
    Eigen::Matrix3Xd t(3, MaxGroups);
    for (int g = 1; g <= MaxGroups; ++g)
        for (int r = 0; r < 3; ++r)
            t(r, g - 1) = fieldValue(measured ? mesField(g, r) : refField(g, r));
    return t;
}

bool KTUserCalibration::pbGenerate_clicked()
{
    const int G = groupCount();
    QVector<bool> measured;
    for (bool notMeasured : m_notMeasured)
        measured << !notMeasured;
    const Generated g = generate(table(false), table(true), mode(), G, computedCount(), measured);
    if (!g.ok()) {
        fail(problemText(g.problem));
        if (g.problem == Problem::XOutOfRange || g.problem == Problem::YOutOfRange) {
            // The first field outside (0, 1) gets the focus, references first.
            const int row = g.problem == Problem::XOutOfRange ? 0 : 1;
            for (bool mes : {false, true})
                for (int grp = 1; grp <= std::max(G, computedCount()); ++grp) {
                    QLineEdit *le = mes ? mesField(grp, row) : refField(grp, row);
                    const double v = fieldValue(le);
                    if (!(v > 0.0 && v < 1.0)) {
                        le->setFocus();
                        return false;
                    }
                }
        }
        return false;
    }
    for (int j = 0; j < g.errors.cols(); ++j)
        for (int r = 0; r < 3; ++r)
            errField(j + 1, r)->setText(errorText(g.errors(r, j)));
    if (!pbRead_clicked())
        return false; // no matrix to compose with
    Values9 before{};
    for (int i = 0; i < 9; ++i) {
        before[size_t(i)] = fieldValue(matrixField(i));
        m_beforeTexts[size_t(i)] = matrixField(i)->text();
    }
    const Eigen::Matrix3d F = compose(g.weight, toMatrix(before));
    appendCompositionLog(QStringLiteral("log.txt"), toMatrix(before), g.weight);
    for (int i = 0; i < 9; ++i) {
        const QString text = matrixText(F(i / 3, i % 3));
        matrixField(i)->setText(text);
        appendLog(tr("Calibration coefficient index %1: %2").arg(i).arg(text), Green);
    }
    appendLog(tr("Generate calibration coefficient succeed!"), Green);
    ui->gb_para->setTitle(tr("Para (Generate ") + ui->cb_memorychannnel->currentText() + ')');
    return true;
}

void KTUserCalibration::on_pbDownload_clicked()
{
    m_downloading = true;
    const auto done = qScopeGuard([this] { m_downloading = false; });
    if (!pbGenerate_clicked())
        return;
    if (!isUserChannel(m_probeChannel)) {
        fail(tr("MCH00 holds the factory calibration and is never a download destination!"));
        return;
    }
    std::array<QString, 9> matrix;
    for (int i = 0; i < 9; ++i)
        matrix[size_t(i)] = matrixField(i)->text();
    const int G = groupCount();
    QVector<QPair<int, QString>> extra;
    if (writesWhite(G)) {
        // The channel keeps its white as x, y, Lv; a table in XYZ holds X, Y, Z.
        QStringList white;
        for (int r = 0; r < 3; ++r)
            white << refField(whiteGroup(G), r)->text();
        if (mode() == Mode::XYZ) {
            Eigen::Matrix3Xd w(3, 1);
            for (int r = 0; r < 3; ++r)
                w(r, 0) = white[r].toDouble();
            const double sum = w.sum();
            white = QStringList{QString::number(sum == 0.0 ? 0.0 : w(0, 0) / sum, 'g', 6),
                                QString::number(sum == 0.0 ? 0.0 : w(1, 0) / sum, 'g', 6),
                                QString::number(w(1, 0), 'g', 6)};
        }
        for (int r = 0; r < 3; ++r)
            extra.append({14 + r, white[r]});
    }
    extra.append({11, ui->le_memorychannelname->text()});
    extra.append({12, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))});
    ChannelLink link;
    // The probe answers a white reference it cannot hold with ER10, which the download accepts.
    link.write = [this](int p, const QString &v) {
        return SendCMW(QString::number(p), v, p >= 14 && p <= 16);
    };
    link.read = [this](int p, QString *v) { return SendCMR(QString::number(p), v); };
    const WriteOutcome outcome = writeChannel(link, matrix, m_beforeTexts, extra);
    if (!outcome.ok()) {
        fail(outcomeText(outcome));
        return;
    }
    const QString record = downloadRecordPath(KtPlatform::appDir(), QDate::currentDate(), m_deviceId,
                                              ui->cb_memorychannnel->currentText());
    QString error;
    if (!saveIni(record, sections(true), &error))
        appendLog(tr("Export data file %1 failed!").arg(record) + ' ' + error, Red);
    appendLog(outcomeText(outcome), Green);
    showMessage(outcomeText(outcome));
}

// ---- files ------------------------------------------------------------------------------------

QVector<Section> KTUserCalibration::sections(bool full) const
{
    const int G = groupCount();
    const QStringList keys = groupKeys(G);
    const auto groupSection = [&](const QString &name,
                                  QLineEdit *(KTUserCalibration::*field)(int, int) const) {
        Section s{name, {}};
        for (int i = 0; i < keys.size(); ++i)
            s.values.append({keys[i], (this->*field)(i / 3 + 1, i % 3)->text()});
        return s;
    };
    QVector<Section> out{groupSection(QStringLiteral("MatrixRefData"), &KTUserCalibration::refField),
                         groupSection(QStringLiteral("MatrixMesData"), &KTUserCalibration::mesField)};
    if (full) {
        out << groupSection(QStringLiteral("MatrixErrorData"), &KTUserCalibration::errField);
        Section before{QStringLiteral("MatrixParaData_Before"), {}},
            para{QStringLiteral("MatrixParaData"), {}};
        const QStringList mk = matrixKeys();
        for (int i = 0; i < 9; ++i) {
            before.values.append({mk[i], QString::number(m_beforeTexts[size_t(i)].toDouble(), 'g', 6)});
            para.values.append({mk[i], matrixField(i)->text()});
        }
        out << before << para;
    }
    return out;
}

bool KTUserCalibration::exportTo(const QString &path, bool full)
{
    QString error;
    return saveIni(path, sections(full), &error);
}

void KTUserCalibration::on_pbExportRef_clicked()
{
    const QString key = QString::fromLatin1(KtSettings::Key::ExportPath);
    const QString path = askSavePath ? askSavePath(KtSettings::readSetting(key)) : QString();
    if (path.isEmpty())
        return;
    KtSettings::writeSetting(key, QString(path).replace('\\', '/').section('/', 0, -2));
    if (exportTo(path, false)) {
        appendLog(tr("Export data file %1 succeed!").arg(path), Green);
        showMessage(tr("Export data file succeed!"));
    } else {
        appendLog(tr("Export data file %1 failed!").arg(path), Red);
        showMessage(tr("Export data file failed!"));
    }
}

void KTUserCalibration::on_pbImportRef_clicked()
{
    const QString key = QString::fromLatin1(KtSettings::Key::ImportPath);
    const QString path = askOpenPath ? askOpenPath(KtSettings::readSetting(key)) : QString();
    if (path.isEmpty())
        return;
    KtSettings::writeSetting(key, QString(path).replace('\\', '/').section('/', 0, -2));
    const bool xyLv = mode() == Mode::xyLv;
    const auto rule = [xyLv](const QString &k) {
        return xyLv && (k.startsWith('X') || k.startsWith('Y')) ? Rule::Chromaticity : Rule::Value;
    };
    const QStringList keys = groupKeys(groupCount());
    const Imported in = loadIni(
        path, {{QStringLiteral("MatrixRefData"), keys, rule}, {QStringLiteral("MatrixMesData"), keys, rule}});
    if (!in.ok) {
        if (!in.message.isEmpty())
            appendLog(in.message, Red);
        appendLog(tr("Import data file %1 failed!").arg(path), Red);
        showMessage(tr("Import data file failed!"));
        return;
    }
    for (int i = 0; i < keys.size(); ++i) {
        const int g = i / 3 + 1, r = i % 3;
        const QString ref = in.value(QStringLiteral("MatrixRefData"), keys[i]);
        const QString mes = in.value(QStringLiteral("MatrixMesData"), keys[i]);
        if (!ref.isEmpty())
            refField(g, r)->setText(ref);
        if (!mes.isEmpty()) {
            mesField(g, r)->setText(mes);
            m_notMeasured[size_t(g - 1)] = false;
        }
    }
    appendLog(tr("Import data file %1 succeed!").arg(path), Green);
    showMessage(tr("Import data file succeed!"));
}

// ---- settings, groups, channel ----------------------------------------------------------------

void KTUserCalibration::on_cb_datagroupcount_currentIndexChanged(int)
{
    const int G = groupCount();
    if (G == 1 && m_previousGroupCount != 1) {
        for (int r = 0; r < 3; ++r) {
            QLineEdit *fields1[3] = {refField(1, r), mesField(1, r), errField(1, r)};
            QLineEdit *fields4[3] = {refField(4, r), mesField(4, r), errField(4, r)};
            for (int k = 0; k < 3; ++k) {
                m_savedGroup1[size_t(k * 3 + r)] = fields1[k]->text();
                fields1[k]->setText(fields4[k]->text());
            }
        }
        std::swap(m_notMeasured[0], m_notMeasured[3]);
    } else if (G != 1 && m_previousGroupCount == 1) {
        for (int r = 0; r < 3; ++r) {
            QLineEdit *fields1[3] = {refField(1, r), mesField(1, r), errField(1, r)};
            QLineEdit *fields4[3] = {refField(4, r), mesField(4, r), errField(4, r)};
            for (int k = 0; k < 3; ++k) {
                fields4[k]->setText(fields1[k]->text());
                fields1[k]->setText(m_savedGroup1[size_t(k * 3 + r)]);
            }
        }
        std::swap(m_notMeasured[0], m_notMeasured[3]);
    }
    m_previousGroupCount = G;
    const QString colour = G == 1 ? QStringLiteral("255, 255, 255") : QStringLiteral("255, 0, 0");
    ui->gb_ref1->setStyleSheet(
        QStringLiteral("QGroupBox::indicator:checked {background-color: rgb(%1);border: 1px "
                       "solid #000000;}")
            .arg(colour));
    for (int g = 1; g <= MaxGroups; ++g) {
        const bool shown = g <= G;
        for (const char *kind : {"gb_ref%1", "gb_mes%1", "gb_err%1"})
            m_body->findChild<QGroupBox *>(QString::fromLatin1(kind).arg(g))->setVisible(shown);
    }
}

void KTUserCalibration::on_cb_mode_currentIndexChanged(int)
{
    const QString code = mode() == Mode::XYZ ? QStringLiteral("7") : QStringLiteral("0");
    m_displayMode = code;
    if (portOpen()) {
        if (SendMDS(code))
            m_resendMode = false;
        else
            appendLog(tr("Set display mode failed!"), Red);
    }
    relabel();
}

void KTUserCalibration::on_cb_memorychannnel_currentIndexChanged(int)
{
    bool hasData = false;
    for (int g = 1; g <= MaxGroups; ++g)
        for (int r = 0; r < 3; ++r)
            hasData = hasData || fieldValue(mesField(g, r)) != 0.0;
    const auto back = [this] {
        const QSignalBlocker block(ui->cb_memorychannnel);
        ui->cb_memorychannnel->setCurrentText(m_currentChannel);
    };
    if (hasData) {
        if (!confirm(tr("Change memory channel will clear measure data,are you sure to change?")))
            return back();
        for (int g = 1; g <= MaxGroups; ++g)
            for (int r = 0; r < 3; ++r)
                mesField(g, r)->setText(QStringLiteral("0.0"));
    }
    if (!portOpen()) {
        appendLog(tr("Serial port is not opened!"), Red);
        return;
    }
    const QString text = ui->cb_memorychannnel->currentText();
    // The hub's broadcast makes this page re-read the new channel (Slot_UpdateCtrl).
    if (SendMCH(text.right(2))) {
        m_currentChannel = text;
        m_probeChannel = text.right(2).toInt();
    } else {
        fail(tr("Set memory channel failed!"));
        back();
    }
}

void KTUserCalibration::on_pbHideError_clicked()
{
    HideError(!m_errorHidden);
}

void KTUserCalibration::HideError(bool bStatus)
{
    m_errorHidden = bStatus;
    ui->gb_error->setVisible(!bStatus);
    ui->pbHideError->setText(bStatus ? tr("Show Error") : tr("Hide Error"));
}

void KTUserCalibration::on_pbSetting_clicked()
{
    HideSetting(!m_settingHidden);
}

void KTUserCalibration::HideSetting(bool bStatus)
{
    m_settingHidden = bStatus;
    ui->groupBox_Setting->setVisible(!bStatus);
    ui->pbSetting->setText(bStatus ? tr("Show Set") : tr("Hide Set"));
}

void KTUserCalibration::CheckeboxChanged(bool checked)
{
    if (!checked)
        ui->gb_ref1->setChecked(true);
}

bool KTUserCalibration::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->le_mestimes && event->type() == QEvent::FocusOut &&
        !isMesTimes(ui->le_mestimes->text())) {
        ui->le_mestimes->setText(QString::number(DefaultMesTimes));
        showMessage(tr("Over range,mes times range is 1-50!"));
    }
    return ktPublicConfig::eventFilter(watched, event);
}

void KTUserCalibration::mousePressEvent(QMouseEvent *event)
{
    ui->le_mestimes->clearFocus();
    ktPublicConfig::mousePressEvent(event);
}

void KTUserCalibration::on_pb_ShowCHInfo_clicked()
{
    if (!portOpen()) {
        showMessage(tr("Serial port is not opened!"));
        return;
    }
    // Built on the hub, so that its channel changes reach every page.
    ktMemeryCHInfo dialog(m_hub ? static_cast<QWidget *>(m_hub) : this);
    dialog.exec();
}

void KTUserCalibration::on_pbHelp_clicked()
{
    ktUserCaliHelp help(QStringLiteral(":/Tintora/Resources/calihelp.png"), this);
    help.exec();
}

// ---- replies of requests sent without waiting ---------------------------------------------

void KTUserCalibration::Slot_RecvMessage(QString &portName, unsigned int commandCode, unsigned int taskCode,
                                         QByteArray &reply)
{
    if (commandCode >= 19 && commandCode <= 23) { // "MDS,"
        if (reply.contains("OK00"))
            appendLog(tr("Set display mode succeed!"), Green);
        else
            appendLog(tr("Set display mode failed!"), Red);
        return;
    }
    ktPublicConfig::Slot_RecvMessage(portName, commandCode, taskCode, reply);
}

void KTUserCalibration::Slot_RecvTimeout(QString &portName, unsigned int commandCode, unsigned int taskCode)
{
    ktPublicConfig::Slot_RecvTimeout(portName, commandCode, taskCode);
    if (commandCode >= 19 && commandCode <= 23)
        appendLog(tr("Set display mode failed!"), Red);
}

void KTUserCalibration::Slot_ComError(QString &portName, QString &errorText)
{
    ktPublicConfig::Slot_ComError(portName, errorText);
}
