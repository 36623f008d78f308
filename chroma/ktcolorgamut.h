#pragma once

#include "ktpublicconfig.h"

#include <QPointer>
#include <QString>

#include <functional>

#include <QPainter>
class QGroupBox;
class PageLog;
class QLineEdit;
class ktColorGamutHoseShose;
namespace Ui {
class ktColorGamutForm;
}

// Colour-gamut dialog: red, green and blue are measured into Mes.1 to Mes.3 (Mes.4 holds a
// further colour), Calculate compares the area of their x,y triangle with the reference
// gamuts of ColorGamut.ini, Export writes the values as CSV.
class ktColorGamut : public ktPublicConfig
{
    Q_OBJECT
public:
    explicit ktColorGamut(QWidget *parent = nullptr);
    ~ktColorGamut() override;

    PageLog *logView() override;
    Ui::ktColorGamutForm *form() const { return ui; }
    ktColorGamutHoseShose *diagram() const;

    // Asks for the export file; the argument is the proposed path. The default runs the save
    // dialog; tests replace it. An empty result cancels.
    std::function<QString(const QString &)> askExportPath;

    // Reading of one measurement reply of this page (ReplyReader::readPlain): the first 8
    // characters dropped, then exactly three fields x, y and Lv separated by ";" (as the probe's
    // canonical reply has it) or ","; an x or y without "." is read as "0." + field ("3127" is
    // 0.3127). False when a field is missing, extra or not a number.
    static bool parseReading(const QString &reply, double *x, double *y, double *lv);

    // What a group holds: nothing yet, the average of its readings, or a failure (no reading
    // succeeded). Calculate needs Mes.1 to Mes.3 measured; a failed group is marked in red
    // and its fields stay empty, never 0, so a failure cannot pass for a point at the origin.
    enum class GroupState
    {
        NotMeasured,
        Measured,
        Failed
    };
    GroupState groupState(int n) const { return m_groups[n - 1].state; }

signals:
    void Signal_HorseShoe(QString strBrightX, QString strBrightY, QString strBrightZ, QPainter *painter);

public slots:
    void on_pbmes1_clicked();
    void on_pbmes2_clicked();
    void on_pbmes3_clicked();
    void on_pbmes4_clicked();
    void on_pbCalcu_clicked();
    void on_pbExport_clicked();
    void CheckeboxChanged(bool checked);

protected:
    void changeEvent(QEvent *event) override;

private:
    void measureGroup(int n);
    void setControlsEnabled(bool on);
    QLineEdit *field(char which, int n) const;
    QGroupBox *groupBox(int n) const;
    void showGroup(int n);
    void refreshDiagramPoints();

    Ui::ktColorGamutForm *ui;
    QPointer<ktPublicConfig> m_hub;
    QWidget *m_body = nullptr;
    double m_ntscArea = 0.0;
    double m_srgbArea = 0.0;
    double m_dciArea = 0.0;
    double m_bt2020Area = 0.0;
    bool m_measuring = false;
    struct Group
    {
        GroupState state = GroupState::NotMeasured;
        double x = 0.0, y = 0.0, lv = 0.0;
    };
    Group m_groups[4];
};
