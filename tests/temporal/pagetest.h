#pragma once

#include "ktmessagedlg.h"
#include "ktsettings.h"
#include "portholder.h"
#include "simprocess.h"

#include <QApplication>
#include <QPushButton>
#include <QSerialPort>
#include <QSettings>
#include <QTimer>
#include <QtTest>

#include <functional>

// Shared pieces of the page suites.
namespace PageTest {

// Closes the next modal message box from a zero-timer as soon as it is up (and, with a
// condition, once its text satisfies it), recording whether one appeared and its text. A test
// checks `seen`, so a message that never came fails instead of passing silently; the bounded
// number of tries keeps a missing box from hanging the test.
struct ModalCloser
{
    bool seen = false;
    bool accept = true; // press OK (a confirmation is confirmed)
    QString text;
    QStringList texts; // every text the box showed while it was watched
    std::function<bool(const QString &)> until;

    void arm(int tries = 500)
    {
        QTimer::singleShot(0, [this, tries] { poll(tries); });
    }

private:
    void poll(int tries)
    {
        auto *box = qobject_cast<ktMessageDlg *>(QApplication::activeModalWidget());
        if (box) {
            text = box->message();
            if (texts.isEmpty() || texts.last() != text)
                texts << text;
            if (!until || until(text)) {
                seen = true;
                auto *ok = box->findChild<QPushButton *>(QStringLiteral("pbOK"));
                if (accept && ok && ok->isVisible())
                    ok->click();
                else
                    box->close();
                return;
            }
        }
        if (tries > 0)
            QTimer::singleShot(10, [this, tries] { poll(tries - 1); });
    }
};

// Points the per-user settings at a folder of the suite's own and empties them, so a page
// starts as on a fresh account and the user's own settings are never touched.
inline void isolateUserSettings(const QString &dir)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir);
    QSettings(KtSettings::UserOrganisation, KtSettings::UserApplication).clear();
}

inline QSerialPort *probePort()
{
    return PortHolder::instance()->probePort();
}

inline bool openProbePort(const QString &path)
{
    QSerialPort *port = probePort();
    if (port->isOpen())
        port->close();
    port->setPortName(path);
    port->setBaudRate(QSerialPort::Baud115200);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    return port->open(QIODevice::ReadWrite);
}

// Puts the simulated probe a suite shares into a known state (its control lines, in order) and
// opens the program's probe port on it, as each test of a page suite begins. Empty when all
// went well, else what failed.
inline QString resetProbe(SimProcess &sim, const QStringList &lines)
{
    for (const QString &line : lines) {
        if (!sim.control(line).startsWith(QLatin1String("OK")))
            return line;
    }
    return openProbePort(sim.linkPath()) ? QString() : probePort()->errorString();
}

// A display with sRGB primaries, D65 white and 100 cd/m² peak: the reference the calibration
// suites compute their true colours from.
inline QStringList srgbDisplayLines()
{
    return {QStringLiteral("display reset"), QStringLiteral("display peak 100"),
            QStringLiteral("display primaries 0.64,0.33,0.30,0.60,0.15,0.06"),
            QStringLiteral("display white 0.3127,0.3290")};
}

} // namespace PageTest

// In initTestCase: starts the simulated probe the suite shares into sim (a SimProcess *); the
// suite is skipped when it does not run through ctest, which names the simulator.
#define PAGETEST_START_SIM(sim)                                                                              \
    do {                                                                                                     \
        if (SimProcess::binary().isEmpty())                                                                  \
            QSKIP("KT_SIM_BIN is not set; run through ctest");                                               \
        sim = new SimProcess;                                                                                \
        QVERIFY2(sim->start(), qPrintable(sim->errorText()));                                                \
    } while (false)
