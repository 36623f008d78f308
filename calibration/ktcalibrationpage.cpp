#include "ktcalibrationpage.h"

#include "ktmemerychinfo.h"
#include "ktmessagedlg.h"
#include "ktsettings.h"
#include "pagelog.h"
#include "portholder.h"

#include <QComboBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
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

ktCalibrationPage::ktCalibrationPage(const QString &fileFilter, QWidget *parent)
    : ktPublicConfig(parent), m_fileFilter(fileFilter)
{
    hideBaseForm();
    m_body = new QWidget(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_body);
    m_hub = qobject_cast<ktPublicConfig *>(parent);
    askOpenPath = [this](const QString &start) {
        return QFileDialog::getOpenFileName(this, tr("open file dialog"), start, m_dialogFilter);
    };
    askSavePath = [this](const QString &start) {
        return QFileDialog::getSaveFileName(this, tr("Save File"), start, m_dialogFilter);
    };
}

ktCalibrationPage::~ktCalibrationPage()
{
    m_updateTimer.stop();
}

void ktCalibrationPage::attachForm()
{
    // setupUi connects by name inside the body only; the on_ slots live on the page.
    QMetaObject::connectSlotsByName(this);
    m_channelCombo = m_body->findChild<QComboBox *>(QStringLiteral("cb_memorychannnel"));
    m_modeCombo = m_body->findChild<QComboBox *>(QStringLiteral("cb_mode"));
    m_groupCombo = m_body->findChild<QComboBox *>(QStringLiteral("cb_datagroupcount"));
    m_computedCombo = m_body->findChild<QComboBox *>(QStringLiteral("cb_CalcuGroupCount"));
    m_mesTimes = m_body->findChild<QLineEdit *>(QStringLiteral("le_mestimes"));
    m_mesTimes->installEventFilter(this);
    installEventFilter(this);
    for (int g = 1; g <= MaxGroups; ++g) {
        for (int r = 0; r < 3; ++r) {
            // An edited measurement is the operator's own value: no longer "not measured".
            connect(mesField(g, r), &QLineEdit::textEdited, this,
                    [this, g] { m_notMeasured[size_t(g - 1)] = false; });
        }
    }
    m_updateTimer.setInterval(1000);
    connect(&m_updateTimer, &QTimer::timeout, this, &ktCalibrationPage::UpdateWidget);
    m_delayTimer.setSingleShot(true);
    if (ktPublicConfig *hub = m_hub) {
        connect(this, &ktPublicConfig::Signal_SendUpdateMCH, hub, &ktPublicConfig::Slot_UpdateMCH);
        connect(hub, &ktPublicConfig::Signal_RecvUpdateMCH, this, [this] { channelChanged(); });
        connect(this, &ktPublicConfig::Signal_SendClosePort, hub, &ktPublicConfig::Slot_PortClosed);
        connect(hub, &ktPublicConfig::Signal_RecvClosePort, this, &ktCalibrationPage::Slot_ClosePort);
        connect(this, &ktPublicConfig::Signal_SendChangeMDS, hub, &ktPublicConfig::Slot_ChangeMDS);
        connect(hub, &ktPublicConfig::Signal_RecvChangeMDS, this, &ktCalibrationPage::Slot_ChangeMesMode);
    }
    {
        const QSignalBlocker block(m_modeCombo);
        m_modeCombo->setCurrentIndex(1);
    }
    m_groupCombo->setCurrentIndex(2);
    m_computedCombo->setCurrentIndex(1);
    relabel();
}

QLineEdit *ktCalibrationPage::refField(int group, int row) const
{
    return m_body->findChild<QLineEdit *>(QStringLiteral("le_Flicker%1%2").arg(Rows[row]).arg(group));
}

QLineEdit *ktCalibrationPage::mesField(int group, int row) const
{
    return m_body->findChild<QLineEdit *>(QStringLiteral("le_MFlicker%1%2").arg(Rows[row]).arg(group));
}

QLineEdit *ktCalibrationPage::errField(int group, int row) const
{
    return m_body->findChild<QLineEdit *>(QStringLiteral("le_EFlicker%1%2").arg(Rows[row]).arg(group));
}

QLineEdit *ktCalibrationPage::matrixField(int index) const
{
    return m_body->findChild<QLineEdit *>(
        QStringLiteral("le_RFlicker%1%2").arg(Rows[index / 3]).arg(index % 3 + 1));
}

void ktCalibrationPage::setPageActive(bool active)
{
    if (active) {
        m_updateTimer.start();
        m_delayTimer.start(1);
    } else {
        m_updateTimer.stop();
    }
}

bool ktCalibrationPage::portOpen() const
{
    return PortHolder::instance()->probePort()->isOpen();
}

Mode ktCalibrationPage::mode() const
{
    return m_modeCombo->currentText() == QLatin1String("XYZ") ? Mode::XYZ : Mode::xyLv;
}

int ktCalibrationPage::groupCount() const
{
    return m_groupCombo->currentText().toInt();
}

int ktCalibrationPage::computedCount() const
{
    return m_computedCombo->currentText().toInt();
}

void ktCalibrationPage::wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool ktCalibrationPage::confirm(const QString &text)
{
    messageDialog()->setMessage(text, true, true);
    messageDialog()->exec();
    return messageDialog()->isAccepted();
}

void ktCalibrationPage::fail(const QString &text)
{
    appendLog(text, Red);
    showMessage(text);
}

void ktCalibrationPage::relabel()
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

void ktCalibrationPage::UpdateWidget()
{
    if (portOpen() && !m_initialised) {
        m_initialised = true;
        reset();
    } else if (!portOpen() && m_initialised) {
        m_initialised = false;
    }
}

void ktCalibrationPage::Slot_ClosePort()
{
    m_initialised = false;
}

void ktCalibrationPage::Slot_ChangeMesMode(QString mode)
{
    if (mode != m_displayMode)
        m_resendMode = true;
}

void ktCalibrationPage::resetTables()
{
    m_mesTimes->setText(QStringLiteral("10"));
    m_groupCombo->setCurrentIndex(2);
    {
        const QSignalBlocker block(m_modeCombo);
        m_modeCombo->setCurrentIndex(1);
    }
    m_computedCombo->setCurrentIndex(1);
    if (auto *name = m_body->findChild<QLineEdit *>(QStringLiteral("le_memorychannelname")))
        name->clear();
    m_notMeasured.fill(false);
    for (int g = 1; g <= MaxGroups; ++g)
        for (int r = 0; r < 3; ++r)
            for (QLineEdit *le : {refField(g, r), mesField(g, r), errField(g, r)})
                le->setText(QStringLiteral("0.0"));
    for (int i = 0; i < 9; ++i)
        matrixField(i)->setText(QStringLiteral("0.0"));
    on_cb_mode_currentIndexChanged(m_modeCombo->currentIndex());
}

// ---- measuring --------------------------------------------------------------------------------

void ktCalibrationPage::measureGroup(int group)
{
    if (m_resendMode) {
        if (SendMDS(m_displayMode))
            m_resendMode = false;
        else
            appendLog(tr("Set display mode failed!"), Red);
    }
    if (m_mesTimes->text().isEmpty())
        m_mesTimes->setText(QString::number(DefaultMesTimes));
    const int n = m_mesTimes->text().toInt();
    Average average;
    for (int i = 0; i < n; ++i) {
        wait(100);
        if (!beforeReading())
            break;
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

void ktCalibrationPage::clearMeasurements()
{
    for (int g = 1; g <= MaxGroups; ++g)
        for (int r = 0; r < 3; ++r)
            mesField(g, r)->setText(QStringLiteral("0.0"));
}

bool ktCalibrationPage::hasMeasurements() const
{
    for (int g = 1; g <= MaxGroups; ++g)
        for (int r = 0; r < 3; ++r)
            if (fieldValue(mesField(g, r)) != 0.0)
                return true;
    return false;
}

QVector<bool> ktCalibrationPage::measuredGroups() const
{
    QVector<bool> measured;
    for (bool notMeasured : m_notMeasured)
        measured << !notMeasured;
    return measured;
}

Eigen::Matrix3Xd ktCalibrationPage::table(bool measured) const
{
    Eigen::Matrix3Xd t(3, MaxGroups);
    for (int g = 1; g <= MaxGroups; ++g)
        for (int r = 0; r < 3; ++r)
            t(r, g - 1) = fieldValue(measured ? mesField(g, r) : refField(g, r));
    return t;
}

std::array<QString, 9> ktCalibrationPage::matrixTexts() const
{
    std::array<QString, 9> out;
    for (int i = 0; i < 9; ++i)
        out[size_t(i)] = matrixField(i)->text();
    return out;
}

void ktCalibrationPage::showGeneratedMatrix(const Eigen::Matrix3d &F)
{
    for (int i = 0; i < 9; ++i) {
        const QString text = Calibration::matrixText(F(i / 3, i % 3));
        matrixField(i)->setText(text);
        appendLog(tr("Calibration coefficient index %1: %2").arg(i).arg(text), Green);
    }
    appendLog(tr("Generate calibration coefficient succeed!"), Green);
    if (auto *box = m_body->findChild<QGroupBox *>(QStringLiteral("gb_para")))
        box->setTitle(tr("Para (Generate ") + m_channelCombo->currentText() + ')');
}

void ktCalibrationPage::showErrors(const Eigen::Matrix3Xd &errors)
{
    for (int j = 0; j < errors.cols(); ++j)
        for (int r = 0; r < 3; ++r)
            errField(j + 1, r)->setText(errorText(errors(r, j)));
}

void ktCalibrationPage::focusOutOfRange(Problem problem)
{
    if (problem != Problem::XOutOfRange && problem != Problem::YOutOfRange)
        return;
    // The first field outside (0, 1) gets the focus, references first.
    const int row = problem == Problem::XOutOfRange ? 0 : 1;
    for (bool mes : {false, true})
        for (int grp = 1; grp <= std::max(groupCount(), computedCount()); ++grp) {
            QLineEdit *le = mes ? mesField(grp, row) : refField(grp, row);
            const double v = fieldValue(le);
            if (!(v > 0.0 && v < 1.0)) {
                le->setFocus();
                return;
            }
        }
}

QVector<QPair<int, QString>> ktCalibrationPage::whiteParameters() const
{
    const int G = groupCount();
    QVector<QPair<int, QString>> out;
    if (!writesWhite(G))
        return out;
    // The channel keeps its white as x, y, Lv; a table in XYZ holds X, Y, Z.
    QStringList white;
    for (int r = 0; r < 3; ++r)
        white << refField(whiteGroup(G), r)->text();
    if (mode() == Mode::XYZ) {
        Eigen::Vector3d w;
        for (int r = 0; r < 3; ++r)
            w(r) = white[r].toDouble();
        const double sum = w.sum();
        white = QStringList{QString::number(sum == 0.0 ? 0.0 : w(0) / sum, 'g', 6),
                            QString::number(sum == 0.0 ? 0.0 : w(1) / sum, 'g', 6),
                            QString::number(w(1), 'g', 6)};
    }
    for (int r = 0; r < 3; ++r)
        out.append({14 + r, white[r]});
    return out;
}

// ---- files ------------------------------------------------------------------------------------

QVector<Section> ktCalibrationPage::groupSections(bool withErrors) const
{
    const QStringList keys = groupKeys(groupCount());
    const auto groupSection = [&](const QString &name,
                                  QLineEdit *(ktCalibrationPage::*field)(int, int) const) {
        Section s{name, {}};
        for (int i = 0; i < keys.size(); ++i)
            s.values.append({keys[i], (this->*field)(i / 3 + 1, i % 3)->text()});
        return s;
    };
    QVector<Section> out{groupSection(QStringLiteral("MatrixRefData"), &ktCalibrationPage::refField),
                         groupSection(QStringLiteral("MatrixMesData"), &ktCalibrationPage::mesField)};
    if (withErrors)
        out << groupSection(QStringLiteral("MatrixErrorData"), &ktCalibrationPage::errField);
    return out;
}

QString ktCalibrationPage::openPath(const QString &filter)
{
    const QString key = QString::fromLatin1(KtSettings::Key::ImportPath);
    m_dialogFilter = filter;
    const QString path = askOpenPath ? askOpenPath(KtSettings::readSetting(key)) : QString();
    if (!path.isEmpty())
        KtSettings::writeSetting(key, QString(path).replace('\\', '/').section('/', 0, -2));
    return path;
}

QString ktCalibrationPage::savePath(const QString &filter)
{
    const QString key = QString::fromLatin1(KtSettings::Key::ExportPath);
    m_dialogFilter = filter;
    const QString path = askSavePath ? askSavePath(KtSettings::readSetting(key)) : QString();
    if (!path.isEmpty())
        KtSettings::writeSetting(key, QString(path).replace('\\', '/').section('/', 0, -2));
    return path;
}

void ktCalibrationPage::exportSections(const QString &path, const QVector<Section> &sections)
{
    QString error;
    if (saveIni(path, sections, &error)) {
        appendLog(tr("Export data file %1 succeed!").arg(path), Green);
        showMessage(tr("Export data file succeed!"));
    } else {
        appendLog(tr("Export data file %1 failed!").arg(path), Red);
        showMessage(tr("Export data file failed!"));
    }
}

void ktCalibrationPage::on_pbExportRef_clicked()
{
    const QString path = savePath(m_fileFilter);
    if (!path.isEmpty())
        exportSections(path, groupSections(false));
}

void ktCalibrationPage::on_pbImportRef_clicked()
{
    const QString path = openPath(m_fileFilter);
    if (path.isEmpty())
        return;
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

void ktCalibrationPage::on_cb_datagroupcount_currentIndexChanged(int)
{
    const int G = groupCount();
    // One group is the white patch, group 4 otherwise: group 1's texts are kept aside meanwhile.
    const bool toOne = G == 1 && m_previousGroupCount != 1;
    const bool fromOne = G != 1 && m_previousGroupCount == 1;
    if (toOne || fromOne) {
        for (int r = 0; r < 3; ++r) {
            QLineEdit *fields1[3] = {refField(1, r), mesField(1, r), errField(1, r)};
            QLineEdit *fields4[3] = {refField(4, r), mesField(4, r), errField(4, r)};
            for (int k = 0; k < 3; ++k) {
                QString &saved = m_savedGroup1[size_t(k * 3 + r)];
                if (toOne) {
                    saved = fields1[k]->text();
                    fields1[k]->setText(fields4[k]->text());
                } else {
                    fields4[k]->setText(fields1[k]->text());
                    fields1[k]->setText(saved);
                }
            }
        }
        std::swap(m_notMeasured[0], m_notMeasured[3]);
    }
    m_previousGroupCount = G;
    auto *ref1 = m_body->findChild<QGroupBox *>(QStringLiteral("gb_ref1"));
    const QString colour = G == 1 ? QStringLiteral("255, 255, 255") : QStringLiteral("255, 0, 0");
    ref1->setStyleSheet(QStringLiteral("QGroupBox::indicator:checked {background-color: rgb(%1);border: 1px "
                                       "solid #000000;}")
                            .arg(colour));
    for (int g = 1; g <= MaxGroups; ++g) {
        const bool shown = g <= G;
        for (const char *kind : {"gb_ref%1", "gb_mes%1", "gb_err%1"})
            m_body->findChild<QGroupBox *>(QString::fromLatin1(kind).arg(g))->setVisible(shown);
    }
}

void ktCalibrationPage::on_cb_mode_currentIndexChanged(int)
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

void ktCalibrationPage::on_cb_memorychannnel_currentIndexChanged(int)
{
    const auto back = [this] {
        const QSignalBlocker block(m_channelCombo);
        m_channelCombo->setCurrentText(m_currentChannel);
    };
    if (hasMeasurements()) {
        if (!confirm(tr("Change memory channel will clear measure data,are you sure to change?")))
            return back();
        clearMeasurements();
    }
    if (!portOpen()) {
        appendLog(tr("Serial port is not opened!"), Red);
        return;
    }
    const QString text = m_channelCombo->currentText();
    // The hub's broadcast makes the pages re-read the new channel.
    if (SendMCH(text.right(2))) {
        m_currentChannel = text;
        m_probeChannel = text.right(2).toInt();
    } else {
        fail(tr("Set memory channel failed!"));
        back();
    }
}

bool ktCalibrationPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_mesTimes && event->type() == QEvent::FocusOut && !isMesTimes(m_mesTimes->text())) {
        m_mesTimes->setText(QString::number(DefaultMesTimes));
        showMessage(tr("Over range,mes times range is 1-50!"));
    }
    return ktPublicConfig::eventFilter(watched, event);
}

void ktCalibrationPage::mousePressEvent(QMouseEvent *event)
{
    if (m_mesTimes)
        m_mesTimes->clearFocus();
    ktPublicConfig::mousePressEvent(event);
}

void ktCalibrationPage::on_pb_ShowCHInfo_clicked()
{
    if (!portOpen()) {
        showMessage(tr("Serial port is not opened!"));
        return;
    }
    // Built on the hub, so that its channel changes reach every page.
    ktMemeryCHInfo dialog(m_hub ? static_cast<QWidget *>(m_hub) : this);
    dialog.exec();
}

// ---- replies of requests sent without waiting ---------------------------------------------

void ktCalibrationPage::Slot_RecvMessage(QString &portName, unsigned int commandCode, unsigned int taskCode,
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

void ktCalibrationPage::Slot_RecvTimeout(QString &portName, unsigned int commandCode, unsigned int taskCode)
{
    ktPublicConfig::Slot_RecvTimeout(portName, commandCode, taskCode);
    if (commandCode >= 19 && commandCode <= 23)
        appendLog(tr("Set display mode failed!"), Red);
}
