#pragma once

#include "ktports.h"

#include <QString>

#include <memory>

class QWidget;
class KtScreenFollower;

// The "--simulate" option: a krn4-sim started beside the program on a fresh link in the
// virtual-port folder, stopped again when the application ends. When the program runs on an
// X display the simulator is started with X-screen reading, and followWindow() points it at
// the centre of the Color Window whenever that is shown or moved: the demo measures the
// colour the operator chose. Without a display it shows its own steady colour.
class KtSimulatedProbe
{
public:
    KtSimulatedProbe();
    ~KtSimulatedProbe();
    KtSimulatedProbe(const KtSimulatedProbe &) = delete;
    KtSimulatedProbe &operator=(const KtSimulatedProbe &) = delete;

    // applicationDirPath() + "/krn4-sim", or KT_SIM_BIN when set.
    static QString simulatorPath();

    // Starts the simulator and waits (up to timeoutMs) until its link exists. False with
    // errorText() when the program is missing, failed to start or made no link.
    bool start(int timeoutMs = 10000);
    void stop();

    QString portName() const { return m_sim.portName(); }
    QString errorText() const { return m_sim.errorText(); }
    // The simulator reads the X screen (the program itself runs on X).
    bool readsScreen() const { return m_readsScreen; }

    // One line to the simulator's control socket; its reply line, or "" when none came.
    QString control(const QString &line, int timeoutMs = 1000) const;
    // Points the probe at the centre of window while it is shown ("screen X,Y"), and back at
    // its own steady colour while it is hidden ("screen off"). Does nothing without X.
    void followWindow(QWidget *window);
    // The screen point the probe was last pointed at; "" when it looks at its own colour.
    QString followedPoint() const { return m_followedPoint; }

private:
    friend class KtScreenFollower;
    KtSimulatorProcess m_sim;
    bool m_readsScreen = false;
    QString m_followedPoint;
    std::unique_ptr<KtScreenFollower> m_follower;
};
