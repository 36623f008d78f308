#pragma once

#include "calibrationlogic.h"
#include "ktpublicconfig.h"

#include <QTimer>

#include <array>
#include <functional>

class QComboBox;
class QLineEdit;

// What the user- and factory-calibration tabs have in common: the reference, measurement,
// error and matrix fields (found by their object names in the page's form), the measure loop,
// the group-count, mode and channel combos, the reference files of form 0 and the hub
// connections. A page builds its form into body(), then calls attachForm(); everything
// particular to a page (reading, generating, downloading) stays in the page.
class ktCalibrationPage : public ktPublicConfig
{
    Q_OBJECT
public:
    ~ktCalibrationPage() override;

    QString currentChannel() const { return m_currentChannel; }
    bool initialised() const { return m_initialised; }
    // Field access by group (1..5) and row (0 X, 1 Y, 2 Z).
    QLineEdit *refField(int group, int row) const;
    QLineEdit *mesField(int group, int row) const;
    QLineEdit *errField(int group, int row) const;
    QLineEdit *matrixField(int index) const; // 0..8, row-major

    // File dialogs; tests replace them. The argument is the start folder; empty cancels. The
    // dialogs use the filter of the file kind being asked for (dialogFilter()).
    std::function<QString(const QString &)> askOpenPath;
    std::function<QString(const QString &)> askSavePath;
    QString dialogFilter() const { return m_dialogFilter; }

    // The main window marks the visible tab: only then the 1000 ms poll runs.
    Q_INVOKABLE void setPageActive(bool active);

public slots:
    void Slot_RecvMessage(QString &portName, unsigned int commandCode, unsigned int taskCode,
                          QByteArray &reply) override;
    void Slot_RecvTimeout(QString &portName, unsigned int commandCode, unsigned int taskCode) override;
    void on_pbmes1_clicked() { measureGroup(1); }
    void on_pbmes2_clicked() { measureGroup(2); }
    void on_pbmes3_clicked() { measureGroup(3); }
    void on_pbmes4_clicked() { measureGroup(4); }
    void on_pbmes5_clicked() { measureGroup(5); }
    void on_pbImportRef_clicked();
    void on_pbExportRef_clicked();
    void on_pb_ShowCHInfo_clicked();
    void on_cb_datagroupcount_currentIndexChanged(int index);
    void on_cb_mode_currentIndexChanged(int index);
    void on_cb_memorychannnel_currentIndexChanged(int index);
    void UpdateWidget();
    void Slot_ChangeMesMode(QString mode);
    void Slot_ClosePort();

protected:
    // `fileFilter` is the reference files' filter ("file (*.userRef)").
    ktCalibrationPage(const QString &fileFilter, QWidget *parent);
    QWidget *body() const { return m_body; }
    // Connects the form's slots by name, the hub's six signals and the timers.
    void attachForm();

    // The first poll tick with the port open.
    virtual void reset() = 0;
    // The hub broadcasts a channel change made on another page.
    virtual void channelChanged() = 0;
    // Runs before each reading of the measure loop; false ends the loop (already logged).
    virtual bool beforeReading() { return true; }
    virtual void setButtonsEnabled(bool on) = 0;

    // Combos, fields and the display mode back to their start values.
    void resetTables();
    void measureGroup(int group);
    void clearMeasurements();
    bool hasMeasurements() const;
    QVector<bool> measuredGroups() const;
    // Puts the generated matrix into the "Param" fields, logs each coefficient and titles the
    // group box "Para (Generate <channel>)".
    void showGeneratedMatrix(const Eigen::Matrix3d &F);
    // Shows the residual errors of groups 1..errors.cols().
    void showErrors(const Eigen::Matrix3Xd &errors);
    // Focuses the first field outside (0, 1) after an x or y problem of generate().
    void focusOutOfRange(Calibration::Problem problem);
    void relabel();
    void fail(const QString &text); // red log line and the message dialog
    bool confirm(const QString &text);
    bool portOpen() const;
    Calibration::Mode mode() const;
    int groupCount() const;
    int computedCount() const;
    Eigen::Matrix3Xd table(bool measured) const;
    std::array<QString, 9> matrixTexts() const;
    // The reference and measurement sections (form 0); with errors also the error section.
    QVector<Calibration::Section> groupSections(bool withErrors) const;
    // The white reference to download as parameters 14..16 (x, y, Lv), empty with 3 groups.
    QVector<QPair<int, QString>> whiteParameters() const;
    // File dialogs with the folder memory ("FilePath/ImportPath", "FilePath/ExportPath").
    QString openPath(const QString &filter);
    QString savePath(const QString &filter);
    void exportSections(const QString &path, const QVector<Calibration::Section> &sections);
    static void wait(int ms);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

    QComboBox *m_channelCombo = nullptr;
    QComboBox *m_modeCombo = nullptr;
    QComboBox *m_groupCombo = nullptr;
    QComboBox *m_computedCombo = nullptr;
    QLineEdit *m_mesTimes = nullptr;
    ktPublicConfig *m_hub = nullptr; // the shared hub the page was built on (its parent changes as a tab)
    QTimer m_updateTimer;
    QTimer m_delayTimer;
    QString m_currentChannel;
    int m_probeChannel = -1; // as last read from the probe
    QString m_displayMode = QStringLiteral("0");
    bool m_initialised = false;
    bool m_resendMode = false;
    bool m_reading = false;

private:
    QWidget *m_body = nullptr;
    QString m_fileFilter;
    QString m_dialogFilter;
    int m_previousGroupCount = 4;
    std::array<QString, 9> m_savedGroup1; // group-1 texts kept while in one-group mode
    std::array<bool, 5> m_notMeasured{};
};
