#pragma once

#include "ktprogramlog.h"
#include "ktresources.h"
#include "ktsettings.h"
#include "portholder.h"

#include <QApplication>
#include <QFile>
#include <QSerialPort>
#include <QTimer>
#include <QWidget>

// Shared pieces of the application-shell suites.
namespace TestHelpers {

// Closes the next modal dialog as soon as it is up (a bounded number of tries), and records
// whether one appeared, so that a test never blocks in exec().
struct ModalCloser
{
    bool seen = false;
    QString text;
    void arm(int tries = 200)
    {
        QTimer::singleShot(10, [this, tries] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                seen = true;
                modal->close();
            } else if (tries > 0) {
                arm(tries - 1);
            }
        });
    }
};

inline QString programLog()
{
    QFile file(ktProgramLog::currentPath());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

inline int countInLog(const QString &needle)
{
    return programLog().count(needle);
}

inline QSerialPort *probePort()
{
    return PortHolder::instance()->probePort();
}

inline bool isGreen(const QString &style)
{
    return style.contains(QLatin1String("stop:0 rgba(0, 255, 0, 255)"));
}

inline bool isRed(const QString &style)
{
    return style.contains(QLatin1String("stop:0 rgba(255, 0, 0, 255)"));
}

} // namespace TestHelpers
