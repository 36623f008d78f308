#pragma once

#include "ktprogramlog.h"
#include "ktresources.h"
#include "ktsettings.h"
#include "pagetest.h" // ModalCloser, probePort, openProbePort: one copy for all page suites

#include "proberesponder.h"
#include "ptypeer.h"

#include <QFile>

// Shared pieces of the application-shell suites.
namespace TestHelpers {
using PageTest::ModalCloser;
using PageTest::probePort;

inline QString programLog()
{
    ktProgramLog::instance()->flush();
    QFile file(ktProgramLog::currentPath());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

inline int countInLog(const QString &needle)
{
    return programLog().count(needle);
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
