#pragma once

#include "commandhistory.h"
#include "ktpublicconfig.h"

#include <QString>

class QEvent;
class QObject;
class PageLog;
namespace Ui {
class KTCommandTool;
}

// Raw command console: any probe command typed by the operator is sent as a blocking request
// with the chosen time-out and the exchange is echoed in the log. A successful "MCH," or
// "MDS," is passed on to the hub so that every page follows the new channel or mode.
//
// The command line recalls earlier commands with Up/Down (kept in the per-user settings) and
// completes the probe's command names. Releasing Enter or Return sends.
class KTCommandTooler : public ktPublicConfig
{
    Q_OBJECT
public:
    explicit KTCommandTooler(QWidget *parent = nullptr, const QString &title = QString());
    ~KTCommandTooler() override;

    PageLog *logView() override;
    Ui::KTCommandTool *form() const { return ui; }
    // The time-out the next command gets: the field's value, 5000 when it is empty.
    int timeoutMs() const;

public slots:
    void on_pbSendCmd_clicked();
    void on_pbLogClear_clicked();

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The console's own messages: panel and program log only.
    void logMessage(const QString &text, const QString &colour);
    void remember(const QString &command);

    Ui::KTCommandTool *ui;
    QWidget *m_body = nullptr;
    QString m_title;
    CommandHistory m_history;
    bool m_enterDown = false; // the press of Enter/Return reached the console, not the completer
};
