#pragma once

#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <QTimer>

namespace Ui {
class ktTintora;
}
class QLabel;
class QTabWidget;
class QTranslator;
class ktMessageDlg;
class ktPublicConfig;
class ktSerialPortSetting;
class ktShowRGB;

// The main window: owns the shared command hub every page is built on, hosts the tab pages,
// opens the menu tools, shows the port-status light, drives the colour pattern window from
// its "Color Window" controls and switches the interface language.
//
// Adding a tab page: construct it with the hub in createTabPages() at its place in the order,
// keep the pointer in its member, and add it with addPage() (the tab text is the page's
// window title). A page that runs a periodic poll offers a public slot
// "void setPageActive(bool active)"; tabWidget_IndexChanged() calls it for the flicker,
// calibration and JWA waveform pages.
class ktTintora : public QMainWindow
{
    Q_OBJECT
public:
    explicit ktTintora(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~ktTintora() override;

    ktPublicConfig *hub() const { return m_hub; }
    ktSerialPortSetting *portDialog() const { return m_portDialog; }
    ktShowRGB *colourWindow() const { return m_colourWindow; }
    QTabWidget *tabWidget() const;

    // Installs the translation in qmFile and stores value under lang/value. A missing or
    // unloadable file changes nothing (neither the language nor the setting). True on success.
    bool switchLanguage(const QString &qmFile, const QString &value);
    QString languageValue() const { return m_language; }

    // The probe type read at the last connection ("" until then), used by the help action.
    static QString probeType();
    // Runs the capability check now (the status poll does it on every new connection).
    void checkCapabilities();
    // What the last capability check decided (true also when the query got no reply).
    bool waveformPagesAllowed() const { return m_waveformAllowed; }
    bool spectrumPageAllowed() const { return m_spectrumAllowed; }
    int capabilityChecks() const { return m_capabilityChecks; } // checks completed so far
    // Adds a tab page built on the hub; the tab text is its window title (and follows the
    // language when the title is one of the translated page titles).
    QWidget *addPage(QWidget *page);
    // The waits of the last press-and-hold, in ms (what the stepping actually used).
    QList<int> lastHoldWaits() const { return m_holdWaits; }
    // The port is open but the probe did not answer the capability check's version query;
    // cleared by the next reply with a status word on the port.
    bool probeSilent() const { return m_probeSilent; }
    // Where Help looks for the manual, in order: the data folder, beside the program, an
    // installed copy, the build's and the source tree's manual folders.
    static QStringList manualFolders();

signals:
    void Signal_DvxVersion(QString strVersion);
    void Signal_RetranslateUi();

public slots:
    void UpdateSerialPortStatus();
    void EndWaitVersionFun();
    void Slot_RetranslateUi();
    void slot_colorChanged(int);
    void slot_ShowColor(QString &color);
    void slot_ShowColorWindow();
    void tabWidget_IndexChanged(int iIndex);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_actionExit_triggered();
    void on_actionHelp_triggered();
    void on_actionVersion_triggered();
    void on_actionFirmwareUpgrade_triggered();
    void on_actionCommandTool_triggered();
    void on_actionMeasure_triggered();
    void on_actionSyncFreq_triggered();
    void on_actionColorGamut_triggered();
    void on_actionPortSetting_triggered();
    void on_actionModeSetting_triggered();
    void on_actionCHN_triggered();
    void on_actionENG_triggered();
    void on_pbColorSelect_clicked();
    void on_pbShowColorWindow_clicked();
    void on_pbColorDown_pressed();
    void on_pbColorUp_pressed();
    void on_pbColorDown_released();
    void on_pbColorUp_released();

private:
    void readSettings();
    void createTabPages();
    void initStatusDisplay();
    void setLight(const QString &name);
    void showPortState();
    void runConnectionChecks();
    void watchProbeReplies();
    void saveWindowState();
    void showWindowMessage(const QString &text);
    void log(const QString &text, const QString &colour);
    void waitResponsive(int ms);
    void holdStep(int delta);
    void stepColour(int delta);
    QString spinColour() const;
    void applyColour(const QString &colour);
    void retitleTabs();
    static void setPageActive(QWidget *page, bool active);

    Ui::ktTintora *ui;
    QLabel *m_background = nullptr;
    ktPublicConfig *m_hub = nullptr;
    ktMessageDlg *m_messageDialog = nullptr;
    ktShowRGB *m_colourWindow = nullptr;
    ktSerialPortSetting *m_portDialog = nullptr;
    QTranslator *m_translator = nullptr;
    QString m_language;

    // Tab pages; a page that was not created stays null.
    QWidget *m_flickerPage = nullptr;            // ktFlickerSet, "Measure"
    QWidget *m_userCalibrationPage = nullptr;    // KTUserCalibration
    QWidget *m_factoryCalibrationPage = nullptr; // KTFactoryCalibration
    QWidget *m_waveFormPage = nullptr;           // ktWaveForm
    QWidget *m_waveFormJwaPage = nullptr;        // ktWaveFormJWA
    QWidget *m_responseTimePage = nullptr;       // ktWaveResponseTime
    QWidget *m_gammaPage = nullptr;              // ktGamma
    QWidget *m_spectrumPage = nullptr;           // ktSpectrum
    QHash<QWidget *, QString> m_tabSourceTitles; // untranslated window title per page

    QString m_portName;
    bool m_portWasOpen = false;
    bool m_checkingCapabilities = false;
    bool m_waveformAllowed = true;
    bool m_spectrumAllowed = true;
    int m_capabilityChecks = 0;
    bool m_factoryCalibrationVisible = false;
    QStringList m_extendTab;
    bool m_colourButtonReleased = true;
    QList<int> m_holdWaits;
    bool m_probeSilent = false;
    bool m_replySeen = false;      // a status word arrived during the capability check
    bool m_recheckPending = false; // a silent probe answered: check it again when the port is free
    QByteArray m_replyTail;        // last bytes seen, for a status word split between reads
    bool m_shown = false;          // first show done: the last tab is restored, tab changes are kept
    QTimer m_statusTimer;
    QTimer m_versionWaitTimer;
};
