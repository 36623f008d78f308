#include "kttintora.h"
#include "ui_kttintora.h"

#include "ktcolorgamut.h"
#include "ktcommandtooler.h"
#include "ktfactorycalibration.h"
#include "ktfirmwareupgrade.h"
#include "ktfirmwareupgradearm.h"
#include "ktflickerset.h"
#include "ktgamma.h"
#include "ktlogin.h"
#include "ktmeasure.h"
#include "ktmessagedlg.h"
#include "ktplatform.h"
#include "ktprogramlog.h"
#include "ktpublicconfig.h"
#include "ktpublicconfignew.h"
#include "ktscaling.h"
#include "ktserialportsetting.h"
#include "ktsettings.h"
#include "ktshellrules.h"
#include "ktshowrgb.h"
#include "ktradiance.h"
#include "ktsyncfreq.h"
#include "ktusercalibration.h"
#include "ktversioninfo.h"
#include "ktwaveform.h"
#include "ktwaveformjwa.h"
#include "ktwaveresponsetime.h"
#include "portholder.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QSerialPort>
#include <QSettings>
#include <QStandardPaths>
#include <QTranslator>

namespace {
const QString Green = QStringLiteral("green");
const QString Red = QStringLiteral("red");

// The probe type of the last connection, for everything in the program that asks.
QString &storedProbeType()
{
    static QString type;
    return type;
}

// Titles whose tab text follows the language; listed here so that the translation tools see
// them in this class's context.
// Per-user memory of the window between runs (beside lang/value, not in setting.ini).
const char GeometryKey[] = "mainWindow/geometry";
const char LastTabKey[] = "mainWindow/lastTab";

QSettings userSettings()
{
    return QSettings(QString::fromLatin1(KtSettings::UserOrganisation),
                     QString::fromLatin1(KtSettings::UserApplication));
}

// The lights of the status area: the port dialog's colours, plus amber for a port that is
// open with no probe answering on it.
QString lightStyle(const QString &name)
{
    if (name == QLatin1String("AMBER"))
        return ktSerialPortSetting::lightStyle(QStringLiteral("GREEN"))
            .replace(QLatin1String("rgba(0, 255, 0, 255)"), QLatin1String("rgba(255, 176, 0, 255)"));
    return ktSerialPortSetting::lightStyle(name);
}

const char *const TranslatedTabTitles[] = {
    QT_TRANSLATE_NOOP("ktTintora", "UserCalibration"),      QT_TRANSLATE_NOOP("ktTintora", "Measure"),
    QT_TRANSLATE_NOOP("ktTintora", "FactoryCalibration"),   QT_TRANSLATE_NOOP("ktTintora", "WaveForm"),
    QT_TRANSLATE_NOOP("ktTintora", "WaveResponseTimeTest"), QT_TRANSLATE_NOOP("ktTintora", "Spectrum")};
} // namespace

ktTintora::ktTintora(QWidget *parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags), ui(new Ui::ktTintora)
{
    Q_UNUSED(TranslatedTabTitles);
    // 1. The program log writes per line (ktProgramLog); nothing to open here.
    // 2. Widgets, scaled by the display factor.
    ui->setupUi(this);
    KtScaling::apply(this);

    // 3. Maximise allowed; the background label lies under everything else.
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    m_background = new QLabel(ui->centralWidget);
    m_background->setStyleSheet(QStringLiteral("border-image: url(:/Tintora/Resources/background.bmp);"));
    m_background->setText(QString());
    m_background->setGeometry(0, 0, width(), height());
    m_background->lower();

    // 4. Version text and the firmware menu texts.
    ui->le_vertion->setText(QString::fromLatin1(KtShell::SoftwareVersion));
    ui->menuFirmwareUpgrade->setTitle(tr("FirmwareUpgrade"));
    ui->actionFirmwareUpgrade->setText(tr("Firmware Upgrade"));

    // 5. Message dialog, shared hub, colour window. The reply watch is connected before the
    // hub builds its reader, so that it sees the bytes before any reader takes them.
    m_messageDialog = new ktMessageDlg(this);
    connect(PortHolder::instance()->probePort(), &QSerialPort::readyRead, this, &ktTintora::watchProbeReplies,
            Qt::DirectConnection);
    m_hub = new ktPublicConfig(this);
    m_colourWindow = new ktShowRGB(this);
    connect(ui->sbR, qOverload<int>(&QSpinBox::valueChanged), this, &ktTintora::slot_colorChanged);
    connect(ui->sbG, qOverload<int>(&QSpinBox::valueChanged), this, &ktTintora::slot_colorChanged);
    connect(ui->sbB, qOverload<int>(&QSpinBox::valueChanged), this, &ktTintora::slot_colorChanged);

    // 6. and 7. Settings store; setting.ini with its defaults on the first run.
    readSettings();
    KtSettings::ensureSettingIni();

    // 8. Tab pages, status display, port poll.
    createTabPages();
    initStatusDisplay();
    connect(&m_statusTimer, &QTimer::timeout, this, &ktTintora::UpdateSerialPortStatus);
    m_statusTimer.start(1000);
    m_versionWaitTimer.setSingleShot(true);

    // The port dialog is made once and reused by "Port Setting"; its 1 s list refresh runs for
    // the window's whole life.
    m_portDialog = new ktSerialPortSetting(this);
    m_portDialog->setReopenSuspended([this] { return m_hub->busyFlag(); });

    // 9. The stored language.
    if (KtSettings::language() == QLatin1String("eng"))
        on_actionENG_triggered();
    else
        on_actionCHN_triggered();

    // Where the window was at the end of the last run (the last tab follows at the first
    // show, once every page is in).
    restoreGeometry(userSettings().value(QLatin1String(GeometryKey)).toByteArray());
}

ktTintora::~ktTintora()
{
    m_statusTimer.stop();
    // Ended without a close (a terminating signal ends the event loop): keep the state anyway.
    if (m_shown)
        saveWindowState();
    delete ui;
}

void ktTintora::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    const QString last = userSettings().value(QLatin1String(LastTabKey)).toString();
    for (int i = 0; i < ui->tabWidget->count(); ++i) {
        if (!last.isEmpty() && m_tabSourceTitles.value(ui->tabWidget->widget(i)) == last) {
            ui->tabWidget->setCurrentIndex(i);
            break;
        }
    }
}

void ktTintora::closeEvent(QCloseEvent *event)
{
    saveWindowState();
    QMainWindow::closeEvent(event);
}

void ktTintora::saveWindowState()
{
    QSettings settings = userSettings();
    settings.setValue(QLatin1String(GeometryKey), saveGeometry());
    settings.setValue(QLatin1String(LastTabKey), m_tabSourceTitles.value(ui->tabWidget->currentWidget()));
}

QTabWidget *ktTintora::tabWidget() const
{
    return ui->tabWidget;
}

QString ktTintora::probeType()
{
    return storedProbeType();
}

void ktTintora::readSettings()
{
    if (!QFile::exists(KtSettings::settingIniPath()))
        return;
    m_factoryCalibrationVisible = KtShell::factoryAccessWordMatches(
        KtSettings::readSetting(KtSettings::Key::FactoryCalibrationVisible));
    m_extendTab = KtSettings::readSettingList(KtSettings::Key::ExtendTab);
}

QWidget *ktTintora::addPage(QWidget *page)
{
    // A page is a dialog class; as a tab its Esc must not hide it.
    if (auto *toolPage = qobject_cast<ktPublicConfig *>(page))
        toolPage->setHostedAsTab(true);
    m_tabSourceTitles.insert(page, page->windowTitle());
    ui->tabWidget->addTab(page, page->windowTitle());
    return page;
}

void ktTintora::createTabPages()
{
    const KtShell::TabPlan plan = KtShell::planTabs(m_factoryCalibrationVisible, m_extendTab);
    // Every page is built on the hub, in this order: Measure; User calibration; Factory
    // calibration (plan.factoryCalibration); the waveform page (plan.waveformJwa, else
    // plan.waveformDsp); Response time (plan.responseTime); Gamma, whose colour signals go to the
    // colour window; Spectrum (plan.spectrum). A page joins here in the change that builds it.
    m_flickerPage = addPage(new ktFlickerSet(m_hub));
    m_userCalibrationPage = addPage(new KTUserCalibration(m_hub));
    if (plan.factoryCalibration)
        m_factoryCalibrationPage = addPage(new KTFactoryCalibration(m_hub));
    if (plan.waveformJwa)
        m_waveFormJwaPage = addPage(new ktWaveFormJWA(m_hub));
    else if (plan.waveformDsp)
        m_waveFormPage = addPage(new ktWaveForm(m_hub));
    if (plan.responseTime)
        m_responseTimePage = addPage(new ktWaveResponseTime(m_hub));
    auto *gamma = new ktGamma(m_hub);
    connect(gamma, &ktGamma::signalShowColor, this, &ktTintora::slot_ShowColor);
    connect(gamma, &ktGamma::signalShowColorWindow, this, &ktTintora::slot_ShowColorWindow);
    connect(m_colourWindow, &ktShowRGB::signal_CloseRGBWindow, gamma, &ktGamma::slot_RGBWindowClose);
    m_gammaPage = addPage(gamma);
    if (plan.spectrum) {
        m_spectrumPage = addPage(new ktSpectrum(m_hub));
        m_spectrumPage->setEnabled(m_spectrumAllowed);
    }

    connect(ui->tabWidget, &QTabWidget::currentChanged, this, &ktTintora::tabWidget_IndexChanged);
    tabWidget_IndexChanged(0);
}

void ktTintora::setPageActive(QWidget *page, bool active)
{
    if (!page || page->metaObject()->indexOfMethod("setPageActive(bool)") < 0)
        return;
    QMetaObject::invokeMethod(page, "setPageActive", Qt::DirectConnection, Q_ARG(bool, active));
}

void ktTintora::tabWidget_IndexChanged(int iIndex)
{
    const KtShell::TabActivation a = KtShell::tabActivation(iIndex, m_factoryCalibrationPage != nullptr);
    setPageActive(m_flickerPage, a.flicker);
    setPageActive(m_userCalibrationPage, a.userCalibration);
    setPageActive(m_factoryCalibrationPage, a.factoryCalibration);
    setPageActive(m_waveFormJwaPage, a.waveform);
    if (m_shown) // not while the pages are added and the last tab restored
        userSettings().setValue(QLatin1String(LastTabKey),
                                m_tabSourceTitles.value(ui->tabWidget->widget(iIndex)));
}

void ktTintora::setLight(const QString &name)
{
    ui->pbportstatus->setStyleSheet(lightStyle(name));
}

void ktTintora::showPortState()
{
    if (!m_portWasOpen) {
        ui->le_port->setText(tr("Not Open"));
        setLight(QStringLiteral("RED"));
        ui->pbportstatus->setToolTip(tr("The port is not open."));
    } else if (m_probeSilent) {
        ui->le_port->setText(tr("no probe answers on %1").arg(m_portName));
        setLight(QStringLiteral("AMBER"));
        ui->pbportstatus->setToolTip(tr("Port %1 is open, but no probe answered. Check that the probe is "
                                        "connected to this port and switched on.")
                                         .arg(m_portName));
    } else {
        ui->le_port->setText(m_portName);
        setLight(QStringLiteral("GREEN"));
        ui->pbportstatus->setToolTip(tr("Port %1 is open.").arg(m_portName));
    }
}

void ktTintora::watchProbeReplies()
{
    // Only looks (peek): the bytes stay for the reader whose request they answer.
    if (!m_probeSilent && !m_checkingCapabilities)
        return;
    QSerialPort *port = PortHolder::instance()->probePort();
    const QByteArray seen = m_replyTail + port->peek(port->bytesAvailable());
    if (!KtShell::containsStatusWord(seen)) {
        m_replyTail = seen.right(3);
        return;
    }
    m_replyTail.clear();
    m_replySeen = true;
    if (m_probeSilent) {
        m_probeSilent = false;
        // The checks skipped while it was silent run at the next poll that finds the port free.
        m_recheckPending = true;
        log(tr("The probe answers on %1.").arg(m_portName), Green);
        showPortState();
    }
}

void ktTintora::log(const QString &text, const QString &colour)
{
    ktProgramLog::instance()->log(text, colour);
}

void ktTintora::initStatusDisplay()
{
    m_portName.clear();
    m_portWasOpen = false;
    QSerialPort *port = PortHolder::instance()->probePort();
    if (port->isOpen()) {
        m_portName = KtPlatform::portNameFromPath(port->portName());
        m_portWasOpen = true;
    }
    showPortState();
}

void ktTintora::UpdateSerialPortStatus()
{
    // The flicker page closes the port on purpose during a synchronised series.
    if (m_hub->busyFlag() || m_checkingCapabilities)
        return;
    QSerialPort *port = PortHolder::instance()->probePort();
    if (!port->isOpen() && m_portWasOpen) {
        m_portWasOpen = false;
        m_probeSilent = false;
        m_recheckPending = false;
        showPortState();
        log(tr("Serial port is not opened: %1!").arg(m_portName), Red);
    } else if (port->isOpen() && !m_portWasOpen) {
        m_portName = KtPlatform::portNameFromPath(port->portName());
        m_portWasOpen = true;
        m_probeSilent = false;
        m_recheckPending = false;
        showPortState();
        log(tr("Serial port is opened: %1!").arg(m_portName), Green);
        runConnectionChecks();
    } else if (port->isOpen() && m_recheckPending && !m_hub->readerBusy()) {
        m_recheckPending = false;
        runConnectionChecks();
    }
}

void ktTintora::runConnectionChecks()
{
    checkCapabilities();
    // A probe that does not answer would keep the port busy for half a minute of time-outs
    // here, refusing every page's request meanwhile; this waits until it answers.
    if (m_probeSilent || !PortHolder::instance()->probePort()->isOpen())
        return;
    // Built and dropped unseen: its constructor reads the probe's measurement settings and
    // refreshes the mode summary texts the result tables show.
    delete new ktPublicConfigNEW(nullptr, QString());
}

void ktTintora::waitResponsive(int ms)
{
    // A nested loop ended by a timer: events (a button release, the port dialog's refresh)
    // keep flowing, and the wait does not spin the processor.
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void ktTintora::checkCapabilities()
{
    m_checkingCapabilities = true;
    waitResponsive(1000);
    QString version;
    m_replySeen = false;
    m_replyTail.clear();
    const bool versionReceived = m_hub->SendVER1(&version);
    // No reply at all (an error reply is still a probe answering): the port is open, but the
    // operator must learn that nothing is listening on it, not only the log file.
    if (!versionReceived && !m_replySeen && PortHolder::instance()->probePort()->isOpen()) {
        m_probeSilent = true;
        showPortState();
        log(tr("No probe answers on %1!").arg(m_portName), Red);
        m_checkingCapabilities = false;
        ++m_capabilityChecks;
        return;
    }
    m_waveformAllowed = KtShell::waveformPagesAllowed(versionReceived, version);
    // Like the spectrum page: a later probe with the sampling commands enables them again.
    for (QWidget *page : {m_waveFormPage, m_waveFormJwaPage, m_responseTimePage}) {
        if (page)
            page->setEnabled(m_waveformAllowed);
    }
    QString type;
    const bool typeReceived = m_hub->SendTYP(&type);
    if (typeReceived)
        storedProbeType() = type;
    m_spectrumAllowed = KtShell::spectrumPageAllowed(typeReceived, type);
    // Follows the probe now connected: a probe with a spectrum after one without enables it again.
    if (m_spectrumPage)
        m_spectrumPage->setEnabled(m_spectrumAllowed);
    m_checkingCapabilities = false;
    ++m_capabilityChecks;
}

void ktTintora::EndWaitVersionFun()
{
    if (m_versionWaitTimer.isActive())
        m_versionWaitTimer.stop();
}

void ktTintora::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_background)
        m_background->setGeometry(0, 0, width(), height());
}

void ktTintora::Slot_RetranslateUi()
{
    ui->retranslateUi(this);
    // The form's texts include the placeholders of the two value labels: put the values back.
    ui->le_vertion->setText(QString::fromLatin1(KtShell::SoftwareVersion));
    showPortState();
}

void ktTintora::retitleTabs()
{
    for (int i = 0; i < ui->tabWidget->count(); ++i) {
        const QString source = m_tabSourceTitles.value(ui->tabWidget->widget(i));
        if (KtShell::isTranslatedTabTitle(source))
            ui->tabWidget->setTabText(i, tr(source.toUtf8().constData()));
    }
}

void ktTintora::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        Slot_RetranslateUi();
        retitleTabs();
        emit Signal_RetranslateUi();
    }
    QMainWindow::changeEvent(event);
}

bool ktTintora::switchLanguage(const QString &qmFile, const QString &value)
{
    if (!QFile::exists(qmFile))
        return false;
    auto *translator = new QTranslator(this);
    if (!translator->load(qmFile)) {
        delete translator;
        return false;
    }
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator);
        delete m_translator;
    }
    QCoreApplication::installTranslator(translator);
    m_translator = translator;
    m_language = value;
    KtSettings::setLanguage(value);
    return true;
}

void ktTintora::on_actionCHN_triggered()
{
    switchLanguage(KtShell::translationResource(QStringLiteral("chn")), QStringLiteral("chn"));
}

void ktTintora::on_actionENG_triggered()
{
    switchLanguage(KtShell::translationResource(QStringLiteral("eng")), QStringLiteral("eng"));
}

void ktTintora::on_actionExit_triggered()
{
    close();
}

QStringList ktTintora::manualFolders()
{
    const QString program = QCoreApplication::applicationDirPath();
    QStringList folders{KtPlatform::appDir() + QStringLiteral("/Manual"), program + QStringLiteral("/Manual"),
                        program + QStringLiteral("/../share/ktTintora/Manual")};
#ifdef KT_BUILD_MANUAL_DIR
    folders << QStringLiteral(KT_BUILD_MANUAL_DIR);
#endif
#ifdef KT_SOURCE_MANUAL_DIR
    folders << QStringLiteral(KT_SOURCE_MANUAL_DIR);
#endif
    folders.removeDuplicates();
    return folders;
}

namespace {
// xdg-open starts, and so reports success, even when no program shows the file's type; where
// the desktop can say whether one does, ask it first.
bool desktopHasViewerFor(const QString &path)
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return true; // nothing to ask: opening the file decides
    QProcess query;
    const QString type = path.endsWith(QLatin1String(".pdf")) ? QStringLiteral("application/pdf")
                                                              : QStringLiteral("text/html");
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(3000))
        return true;
    return !query.readAllStandardOutput().trimmed().isEmpty();
}
} // namespace

void ktTintora::showWindowMessage(const QString &text)
{
    m_messageDialog->setMessage(text, false, true);
    m_messageDialog->exec();
}

void ktTintora::on_actionHelp_triggered()
{
    const QStringList folders = manualFolders();
    const QString path = KtShell::findManual(folders, storedProbeType(), m_language);
    if (path.isEmpty()) {
        QStringList shown;
        for (const QString &folder : folders)
            shown << QDir::toNativeSeparators(QDir::cleanPath(folder));
        log(tr("The manual was not found."), Red);
        showWindowMessage(tr("The manual was not found. It is looked for in:") + QLatin1Char('\n') +
                          shown.join(QLatin1Char('\n')));
        return;
    }
    if (desktopHasViewerFor(path) && KtPlatform::openDocument(path))
        return;
    const QString shown = QDir::toNativeSeparators(path);
    log(tr("The manual could not be opened: %1").arg(shown), Red);
    showWindowMessage(tr("The manual could not be opened: no program to show it was found. Open it with a "
                         "document viewer:") +
                      QLatin1Char('\n') + shown);
}

void ktTintora::on_actionVersion_triggered()
{
    ktVersionInfo dialog(m_hub);
    connect(&dialog, &ktVersionInfo::Signal_EndWait, this, &ktTintora::EndWaitVersionFun);
    connect(this, &ktTintora::Signal_DvxVersion, &dialog, &ktVersionInfo::DvxVersionFun);
    dialog.exec();
}

void ktTintora::on_actionFirmwareUpgrade_triggered()
{
    ktLogin login(this);
    login.exec();
    if (!login.isAccepted())
        return;
    const QString portName = KtPlatform::portNameFromPath(PortHolder::instance()->probePort()->portName());
    QString version;
    {
        ktVersionInfo query(m_hub);
        version = query.firmwareVersion();
    }
    // The dialogs reopen the port by its device path whenever they change the line speed.
    const QString device = KtPlatform::devicePath(portName.isEmpty() ? m_portName : portName);
    ktPublicConfig *dialog = nullptr;
    if (version.startsWith(QLatin1String("5.00")))
        dialog = new ktFirmwareUpgradeArm(m_hub, device);
    else
        dialog = new ktFirmwareUpgrade(m_hub, device);
    dialog->exec();
    delete dialog;
    setLight(!PortHolder::instance()->probePort()->isOpen() ? QStringLiteral("RED")
             : m_probeSilent                                ? QStringLiteral("AMBER")
                                                            : QStringLiteral("GREEN"));
}

void ktTintora::on_actionCommandTool_triggered()
{
    auto *dialog = new KTCommandTooler(m_hub, tr("Command Tool"));
    dialog->exec();
    delete dialog;
}

void ktTintora::on_actionMeasure_triggered()
{
    auto *dialog = new ktMeasure(m_hub);
    dialog->exec();
    delete dialog;
}

void ktTintora::on_actionSyncFreq_triggered()
{
    auto *dialog = new ktSyncFreq(m_hub);
    dialog->exec();
    delete dialog;
}

void ktTintora::on_actionColorGamut_triggered()
{
    // Modeless, so the pattern window and the main window stay usable, but the action returns
    // only when the dialog is hidden again.
    auto *dialog = new ktColorGamut(m_hub);
    dialog->setModal(false);
    dialog->show();
    while (dialog->isVisible())
        waitResponsive(100);
    delete dialog;
}

void ktTintora::on_actionPortSetting_triggered()
{
    m_portDialog->exec();
}

void ktTintora::on_actionModeSetting_triggered()
{
    if (!PortHolder::instance()->probePort()->isOpen()) {
        m_messageDialog->setMessage(tr("Serial port is not opened!"), false, true);
        m_messageDialog->exec();
        return;
    }
    auto *dialog = new ktPublicConfigNEW(m_hub, QString());
    dialog->exec();
    delete dialog;
}

QString ktTintora::spinColour() const
{
    return KtShell::colourString(ui->sbR->value(), ui->sbG->value(), ui->sbB->value());
}

void ktTintora::applyColour(const QString &colour)
{
    ui->pbColorSelect->setStyleSheet(QStringLiteral("background-color: rgb(%1);").arg(colour));
    m_colourWindow->SetColor(colour);
}

void ktTintora::on_pbColorSelect_clicked()
{
    const QColor current(ui->sbR->value(), ui->sbG->value(), ui->sbB->value());
    const QColor chosen = QColorDialog::getColor(current, this, tr("Color Dialog"));
    if (!chosen.isValid())
        return;
    {
        const QSignalBlocker r(ui->sbR), g(ui->sbG), b(ui->sbB);
        ui->sbR->setValue(chosen.red());
        ui->sbG->setValue(chosen.green());
        ui->sbB->setValue(chosen.blue());
    }
    applyColour(spinColour());
}

void ktTintora::on_pbShowColorWindow_clicked()
{
    m_colourWindow->SetColor(spinColour());
    m_colourWindow->setModal(false);
    m_colourWindow->show();
}

void ktTintora::slot_colorChanged(int)
{
    applyColour(spinColour());
}

void ktTintora::slot_ShowColor(QString &color)
{
    int r = 0, g = 0, b = 0;
    if (!KtShell::parseColour(color, &r, &g, &b))
        return;
    {
        const QSignalBlocker br(ui->sbR), bg(ui->sbG), bb(ui->sbB);
        ui->sbR->setValue(r);
        ui->sbG->setValue(g);
        ui->sbB->setValue(b);
    }
    ui->pbColorSelect->setStyleSheet(QStringLiteral("background-color: rgb(%1);").arg(color));
    m_colourWindow->SetColor(color);
}

void ktTintora::slot_ShowColorWindow()
{
    if (m_colourWindow->isVisible())
        return;
    on_pbShowColorWindow_clicked();
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (!screens.isEmpty())
        m_colourWindow->move(0, screens.first()->geometry().height() - m_colourWindow->height() - 50);
}

void ktTintora::stepColour(int delta)
{
    ui->sbR->setValue(KtShell::stepComponent(ui->sbR->value(), delta));
    ui->sbG->setValue(KtShell::stepComponent(ui->sbG->value(), delta));
    ui->sbB->setValue(KtShell::stepComponent(ui->sbB->value(), delta));
}

void ktTintora::holdStep(int delta)
{
    m_colourButtonReleased = false;
    m_holdWaits.clear();
    stepColour(delta);
    int waitNumber = 0;
    m_holdWaits << KtShell::holdWaitMs(waitNumber);
    waitResponsive(KtShell::holdWaitMs(waitNumber++));
    // The release arrives during a wait (events keep flowing) and ends the loop.
    while (!m_colourButtonReleased) {
        stepColour(delta);
        m_holdWaits << KtShell::holdWaitMs(waitNumber);
        waitResponsive(KtShell::holdWaitMs(waitNumber++));
    }
}

void ktTintora::on_pbColorUp_pressed()
{
    holdStep(+1);
}

void ktTintora::on_pbColorDown_pressed()
{
    holdStep(-1);
}

void ktTintora::on_pbColorUp_released()
{
    m_colourButtonReleased = true;
}

void ktTintora::on_pbColorDown_released()
{
    m_colourButtonReleased = true;
}
