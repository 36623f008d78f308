#include "ktcommandtooler.h"

#include "ktprogramlog.h"
#include "ktscaling.h"
#include "ktsettings.h"
#include "pagebody.h"
#include "pagelog.h"
#include "serialportreader.h"
#include "ui_ktcommandtooler.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QEvent>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLocale>
#include <QSettings>

namespace {
constexpr int Cr = 13;
constexpr int DefaultTimeoutMs = 5000;
constexpr int MaxTimeoutMs = 30000;
const QString Red = QStringLiteral("red");

QSettings userSettings()
{
    return QSettings(QString::fromLatin1(KtSettings::UserOrganisation),
                     QString::fromLatin1(KtSettings::UserApplication));
}

bool isEnter(const QEvent *event)
{
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Enter || key == Qt::Key_Return;
}
} // namespace

KTCommandTooler::KTCommandTooler(QWidget *parent, const QString &title)
    : ktPublicConfig(parent), ui(new Ui::KTCommandTool), m_title(title)
{
    hideBaseForm();
    PageBody::setBackground(this);

    m_body = PageBody::create(this);
    ui->setupUi(m_body);
    resize(QSize(640, 480) * KtScaling::factor());
    setWindowTitle(m_title.isEmpty() ? m_body->windowTitle() : m_title);
    // The form's slots live on this dialog, not on the body the form was built on.
    QMetaObject::connectSlotsByName(this);

    auto *validator = new QIntValidator(0, MaxTimeoutMs, ui->le_timeOut);
    QLocale digitsOnly = QLocale::c();
    digitsOnly.setNumberOptions(QLocale::RejectGroupSeparator);
    validator->setLocale(digitsOnly);
    ui->le_timeOut->setValidator(validator);

    auto *completer = new QCompleter(CommandHistory::commandNames(), ui->le_commandText);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    ui->le_commandText->setCompleter(completer);

    m_history.load(userSettings());

    installEventFilter(this);
    ui->le_commandText->installEventFilter(this);

    if (auto *hub = qobject_cast<ktPublicConfig *>(parent)) {
        connect(this, &ktPublicConfig::Signal_SendUpdateMCH, hub, &ktPublicConfig::Slot_UpdateMCH);
        connect(this, &ktPublicConfig::Signal_SendChangeMDS, hub, &ktPublicConfig::Slot_ChangeMDS);
    }
}

KTCommandTooler::~KTCommandTooler()
{
    delete ui;
}

PageLog *KTCommandTooler::logView()
{
    return ui->textLog;
}

int KTCommandTooler::timeoutMs() const
{
    // The validator lets only digits in; a field left empty (or set from code to something
    // else) gets the usual time-out rather than 0, which would give up at once.
    bool ok = false;
    const int ms = ui->le_timeOut->text().trimmed().toInt(&ok);
    if (!ok)
        return DefaultTimeoutMs;
    return qBound(0, ms, MaxTimeoutMs);
}

void KTCommandTooler::logMessage(const QString &text, const QString &colour)
{
    const ktLogTime time = ktLogTime::now();
    const QString shown = ktProgramLog::escapeControls(text);
    ui->textLog->addLine(time.stamp, shown, colour);
    ktProgramLog::instance()->log(time, shown);
}

void KTCommandTooler::remember(const QString &command)
{
    m_history.add(command);
    QSettings settings = userSettings();
    m_history.save(settings);
}

void KTCommandTooler::on_pbSendCmd_clicked()
{
    const QString text = ui->le_commandText->text();
    if (text.isEmpty())
        return;
    remember(text);
    ui->pbSendCmd->setEnabled(false);
    if (readerBusy()) {
        logMessage(tr("is Waiting receive!"), Red);
    } else {
        const QString command = text + QLatin1Char('\r');
        echoTx(command);
        QByteArray reply;
        if (reader()->sendAndWait(command.toLatin1(), reply, Cr, timeoutMs())) {
            echoRx(reply);
            const bool ok = reply.contains("OK00");
            if (ok && command.contains(QLatin1String("MCH,")))
                emit Signal_SendUpdateMCH();
            if (ok && command.contains(QLatin1String("MDS,"))) {
                const QString mode = command.mid(command.lastIndexOf(QLatin1Char(',')) + 1).chopped(1);
                emit Signal_SendChangeMDS(mode);
            }
        } else {
            logMessage(tr("Command execution error time out!"), Red);
        }
    }
    ui->pbSendCmd->setEnabled(true);
}

void KTCommandTooler::on_pbLogClear_clicked()
{
    ui->textLog->clear();
}

bool KTCommandTooler::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == ui->le_commandText && type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const QCompleter *completer = ui->le_commandText->completer();
        const bool popupShown = completer && completer->popup() && completer->popup()->isVisible();
        if ((key == Qt::Key_Up || key == Qt::Key_Down) && !popupShown) {
            const QString current = ui->le_commandText->text();
            ui->le_commandText->setText(key == Qt::Key_Up ? m_history.up(current) : m_history.down(current));
            return true;
        }
    } else if (watched == this && (type == QEvent::KeyPress || type == QEvent::KeyRelease) &&
               isEnter(event)) {
        // The command goes on the release only: the press would otherwise also click a
        // default button. A press the completer took to pick a name sends nothing.
        const bool repeat = static_cast<QKeyEvent *>(event)->isAutoRepeat();
        if (type == QEvent::KeyPress) {
            m_enterDown = true;
        } else if (!repeat && m_enterDown) {
            m_enterDown = false;
            on_pbSendCmd_clicked();
        }
        return true;
    }
    return ktPublicConfig::eventFilter(watched, event);
}

void KTCommandTooler::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(m_body);
        // The title the main window gave was translated when it was made; the form's own
        // title stands in when none was given.
        if (m_title.isEmpty())
            setWindowTitle(m_body->windowTitle());
    }
    ktPublicConfig::changeEvent(event);
}
