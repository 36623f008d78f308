#pragma once

#include "calibrationlogic.h"
#include "ktpublicconfig.h"

#include <QTimer>

#include <array>
#include <functional>

class QLineEdit;
class QGroupBox;
namespace Ui {
class KTUserCalibrationForm;
}

// The user-calibration tab: reference and measured values of up to five colour patches, the
// correction matrix computed from them (Calibration::generate) and composed with the channel's
// current matrix, and its download into a user memory channel with read-back (a failed
// download puts the previous matrix back). The arithmetic, files and the download sequence are
// in calibrationlogic; this class reads and fills the fields and talks to the probe.
class KTUserCalibration : public ktPublicConfig
{
    Q_OBJECT
public:
    explicit KTUserCalibration(QWidget *parent = nullptr);
    ~KTUserCalibration() override;

    PageLog *logView() override;
    Ui::KTUserCalibrationForm *form() const { return ui; }
    QString currentChannel() const { return m_currentChannel; }
    bool initialised() const { return m_initialised; }
    // The matrix read before the last generation, as the probe sent it.
    std::array<QString, 9> matrixBefore() const { return m_beforeTexts; }
    // Field access by group (1..5) and row (0 X, 1 Y, 2 Z).
    QLineEdit *refField(int group, int row) const;
    QLineEdit *mesField(int group, int row) const;
    QLineEdit *errField(int group, int row) const;
    QLineEdit *matrixField(int index) const; // 0..8, row-major

    // File dialogs; tests replace them. The argument is the start folder; empty cancels.
    std::function<QString(const QString &)> askOpenPath;
    std::function<QString(const QString &)> askSavePath;

    // The main window marks the visible tab: only then the 1000 ms poll runs.
    Q_INVOKABLE void setPageActive(bool active);

public slots:
    void Slot_RecvMessage(QString &portName, unsigned int commandCode, unsigned int taskCode,
                          QByteArray &reply) override;
    void Slot_RecvTimeout(QString &portName, unsigned int commandCode, unsigned int taskCode) override;
    void Slot_ComError(QString &portName, QString &errorText) override;
    bool pbRead_clicked();
    void on_pbmes1_clicked() { measureGroup(1); }
    void on_pbmes2_clicked() { measureGroup(2); }
    void on_pbmes3_clicked() { measureGroup(3); }
    void on_pbmes4_clicked() { measureGroup(4); }
    void on_pbmes5_clicked() { measureGroup(5); }
    bool pbGenerate_clicked();
    void on_pbDownload_clicked();
    void on_pbImportRef_clicked();
    void on_pbExportRef_clicked();
    void on_pb_ShowCHInfo_clicked();
    void on_pbHelp_clicked();
    void on_cb_datagroupcount_currentIndexChanged(int index);
    void on_cb_mode_currentIndexChanged(int index);
    void on_cb_memorychannnel_currentIndexChanged(int index);
    void on_pbHideError_clicked();
    void HideError(bool bStatus);
    void on_pbSetting_clicked();
    void HideSetting(bool bStatus);
    void CheckeboxChanged(bool checked);
    void DelayTriggel();
    void UpdateWidget();
    void Slot_UpdateCtrl();
    void Slot_ChangeMesMode(QString mode);
    void Slot_ClosePort();

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void reset();
    void measureGroup(int group);
    void setButtonsEnabled(bool on);
    void relabel();
    void fail(const QString &text); // red log line and the message dialog
    void showMessage(const QString &text);
    bool confirm(const QString &text);
    bool portOpen() const;
    Calibration::Mode mode() const;
    int groupCount() const;
    int computedCount() const;
    Eigen::Matrix3Xd table(bool measured) const;
    QVector<Calibration::Section> sections(bool full) const;
    bool exportTo(const QString &path, bool full);
    bool changeChannel(const QString &two);
    static void wait(int ms);

    Ui::KTUserCalibrationForm *ui;
    QWidget *m_body = nullptr;
    ktPublicConfig *m_hub = nullptr; // the shared hub the page was built on (its parent changes as a tab)
    QTimer m_updateTimer;
    QTimer m_delayTimer;
    QString m_deviceId;
    QString m_currentChannel;
    int m_probeChannel = -1; // as last read from the probe (0 = factory)
    int m_previousGroupCount = 4;
    std::array<QString, 9> m_savedGroup1; // group-1 texts kept while in one-group mode
    QString m_displayMode = QStringLiteral("0");
    bool m_initialised = false;
    bool m_errorHidden = true;
    bool m_settingHidden = true;
    bool m_allowChannel00Replace = false;
    bool m_resendMode = false;
    bool m_downloading = false;
    bool m_reading = false;
    std::array<bool, 5> m_notMeasured{};
    std::array<QString, 9> m_beforeTexts;
};
