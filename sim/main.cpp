// krn4-sim: a simulated KRN-4 probe on a pseudo-terminal (see docs/protocol.md).

#include "simcontrol.h"
#include "simpatternwindow.h"
#include "simprobe.h"
#include "simserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Krn4Sim;

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &c, 1);
}

bool wantsGui(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--x11" || a == "--screen" || a.startsWith("--screen="))
            return true;
    }
    return false;
}

QString usageFooter()
{
    return QStringLiteral(
               "\nControl socket (one line per command, one line reply \"OK ...\" or \"ER <reason>\"):\n") +
           controlHelp() +
           QStringLiteral("\n\nThe pseudo-terminal link defaults to $KT_VIRTUAL_PORT_DIR/KRN4-SIM (or "
                          "$XDG_RUNTIME_DIR/krn4-ports/KRN4-SIM, else <temp>/krn4-ports-<uid>/KRN4-SIM), the "
                          "control socket to the link + \".ctl\".\n"
                          "See docs/protocol.md for every command and its reply.\n");
}

// Reads the colour at one point of the X screen for each measurement.
class ScreenPoint
{
public:
    explicit ScreenPoint(SimProbe &probe) : m_probe(probe)
    {
        // While a point is read, its colour history is recorded every 5 ms, so that sampled
        // records show the pattern window's changes (with the panel's response time).
        m_poll.setInterval(5);
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            int r = 0, g = 0, b = 0;
            if (read(r, g, b))
                m_probe.recordColor(m_probe.now(), r, g, b);
        });
    }

    bool active = false;
    int x = 0, y = 0;
    // Follow the pattern window instead of a fixed point (see PatternWindowFinder).
    bool followWindow = false;

    bool read(int &r, int &g, int &b)
    {
        if (!active)
            return false;
        if (followWindow && !locateWindow())
            return false;
        QScreen *screen = QGuiApplication::primaryScreen();
        if (!screen)
            return false;
        const QImage img = screen->grabWindow(0, x, y, 1, 1).toImage();
        if (img.isNull())
            return false;
        const QColor c = img.pixelColor(0, 0);
        r = c.red();
        g = c.green();
        b = c.blue();
        return true;
    }

    QString command(const QString &args)
    {
        if (args == "window") {
            active = followWindow = true;
            m_located.invalidate();
            m_probe.clearHistory();
            m_poll.start();
            int r = 0, g = 0, b = 0;
            return read(r, g, b)
                       ? QStringLiteral("OK window %1,%2 shows %3,%4,%5").arg(x).arg(y).arg(r).arg(g).arg(b)
                       : QStringLiteral("OK window (none shown)");
        }
        followWindow = false;
        if (args == "off") {
            active = false;
            m_poll.stop();
            m_probe.clearHistory();
            return QStringLiteral("OK screen off");
        }
        const QStringList p = args.split(',');
        bool ok1 = false, ok2 = false;
        if (p.size() == 2) {
            x = p[0].trimmed().toInt(&ok1);
            y = p[1].trimmed().toInt(&ok2);
        }
        if (!ok1 || !ok2)
            return QStringLiteral("ER usage: screen X,Y | screen window | screen off");
        active = true;
        int r = 0, g = 0, b = 0;
        if (!read(r, g, b)) {
            active = false;
            return QStringLiteral("ER cannot read the screen at %1,%2").arg(x).arg(y);
        }
        m_probe.clearHistory();
        m_probe.recordColor(m_probe.now(), r, g, b);
        m_poll.start();
        return QStringLiteral("OK %1,%2,%3").arg(r).arg(g).arg(b);
    }

private:
    // The window's place is looked up at most every 50 ms: the 5 ms recording would otherwise
    // ask the X server for the whole window tree 200 times a second.
    bool locateWindow()
    {
        if (m_located.isValid() && m_located.elapsed() < 50)
            return m_windowFound;
        m_windowFound = m_finder.find(x, y);
        m_located.start();
        return m_windowFound;
    }

    SimProbe &m_probe;
    QTimer m_poll;
    PatternWindowFinder m_finder;
    QElapsedTimer m_located;
    bool m_windowFound = false;
};

} // namespace

int main(int argc, char **argv)
{
    const bool gui = wantsGui(argc, argv);
    std::unique_ptr<QCoreApplication> app;
    if (gui && qEnvironmentVariableIsEmpty("DISPLAY")) {
        fprintf(stderr, "krn4-sim: --screen and --x11 need an X display (DISPLAY is not set)\n");
        return 2;
    }
    if (gui) {
        // Reading the screen needs the X server even when the caller's default is offscreen.
        qputenv("QT_QPA_PLATFORM", "xcb");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName("krn4-sim");

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Simulated KRN-4 colour probe on a pseudo-terminal, for learning the application and for tests.");
    parser.addHelpOption();
    const QCommandLineOption link("link", "Path of the port link to create.", "PATH");
    const QCommandLineOption controlPath("control", "Path of the control socket (default: link + .ctl).",
                                         "PATH");
    const QCommandLineOption show("show", "Colour shown by the display (default 255,255,255).", "R,G,B");
    const QCommandLineOption firmware(
        "firmware", "Firmware version text (default 5.00.1586; \"5.00\" gets .1586).", "VERSION");
    const QCommandLineOption type("type", "Device type (default KRN4-P60; P60 types have a spectrum).",
                                  "TYPE");
    const QCommandLineOption hardware("hardware", "Hardware generation in the VER reply (V1 or V2).", "GEN");
    const QCommandLineOption latency("latency", "Delay of every reply in ms.", "MS");
    const QCommandLineOption state("state", "File that keeps memory channels and settings across restarts.",
                                   "FILE");
    const QCommandLineOption refresh(
        "refresh", "Refresh frequency of the display in Hz and its relative ripple (default 60,0.01).",
        "HZ[,RIPPLE]");
    const QCommandLineOption noise("noise", "Relative measurement noise (0.001 = 0.1 %).", "LEVEL");
    const QCommandLineOption seed("seed", "Seed of the noise (default 1).", "N");
    const QCommandLineOption realtime("realtime",
                                      "Replies take as long as the measurement would (window, 1 s JEITA).");
    const QCommandLineOption modulation("modulation", "Luminance modulation, e.g. \"60 0.1 pwm 0.5\".",
                                        "SETTINGS");
    const QCommandLineOption transition(
        "transition", "Gray-to-gray switching, e.g. \"0,0,0 255,255,255 500 4 6\".", "SETTINGS");
    const QCommandLineOption primaries("primaries", "Display primaries rx,ry,gx,gy,bx,by (default sRGB).",
                                       "LIST");
    const QCommandLineOption white("white", "Display white point x,y (default 0.3127,0.3290).", "X,Y");
    const QCommandLineOption peak("peak", "Peak white luminance in cd/m² (default 200).", "CDM2");
    const QCommandLineOption gamma("gamma", "Tone curve exponent (default 2.2).", "G");
    const QCommandLineOption response(
        "response", "Panel response time constants in ms for screen colour changes (default 0).",
        "RISE[,FALL]");
    const QCommandLineOption screen("screen", "Read the colour from this point of the X screen.", "X,Y");
    const QCommandLineOption x11("x11",
                                 "Look at the X display: the application's pattern window (the topmost "
                                 "window titled R,G,B), or the point of 'screen X,Y'.");
    const QCommandLineOption fault("fault",
                                   "Inject a fault from the start, e.g. noreply, garbage:3, split, double, "
                                   "error (repeatable; NAME[:COUNT]).",
                                   "NAME");
    const QCommandLineOption sensorError(
        "sensor-error",
        "The sensor's own error D11,...,D33 (raw reading = D * true XYZ), or identity; channel 00 "
        "and untouched channels hold its inverse (default: a typical colorimeter's error).",
        "LIST");
    const QCommandLineOption noIntegration("no-integration", "Profile without the integration-time setting.");
    const QCommandLineOption status30("status30", "Value of status item 30 (1 = upgrade only over USB).",
                                      "N");
    const QCommandLineOption exitWithParent(
        "exit-with-parent", "End (as on SIGTERM) when the program that started the simulator ends.");
    const QCommandLineOption dfuTime(
        "dfu-time", "How long the port is away after the DFU entry (ms, default 3000).", "MS");
    parser.addOptions({link,           controlPath, show,   firmware,      type,     hardware,
                       latency,        state,       noise,  seed,          realtime, modulation,
                       transition,     primaries,   white,  peak,          gamma,    response,
                       screen,         x11,         fault,  noIntegration, status30, dfuTime,
                       exitWithParent, sensorError, refresh});
    QStringList args = QCoreApplication::arguments();
    if (args.contains("--help") || args.contains("-h")) {
        QTextStream(stdout) << parser.helpText() << usageFooter();
        return 0;
    }
    parser.process(*app);
    if (parser.isSet(exitWithParent)) {
        // A test or application that crashes must not leave its simulator behind: an orphan
        // keeps the link alive and holds the caller's output pipes open.
        const pid_t parent = getppid();
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            return 0;
    }

    QTextStream err(stderr);
    auto fail = [&err](const QString &text) {
        err << "krn4-sim: " << text << "\n";
        return 2;
    };

    SimProbe probe;
    SimFaults faults;
    SimProbe::Profile profile;
    if (parser.isSet(firmware))
        profile.firmware = parser.value(firmware);
    if (parser.isSet(type))
        profile.type = parser.value(type);
    if (parser.isSet(hardware))
        profile.hardware = parser.value(hardware);
    if (parser.isSet(noIntegration))
        profile.integration = 0;
    if (parser.isSet(status30))
        profile.status30 = parser.value(status30).toInt();
    probe.setProfile(profile);
    probe.setRealTime(parser.isSet(realtime));

    auto control = [&](const QString &line) -> bool {
        const QString reply = applyControl(line, probe, faults);
        if (!reply.startsWith("OK")) {
            err << "krn4-sim: " << line << ": " << reply << "\n";
            return false;
        }
        return true;
    };
    if (parser.isSet(show) && !control("show " + parser.value(show)))
        return 2;
    if (parser.isSet(primaries) && !control("display primaries " + parser.value(primaries)))
        return 2;
    if (parser.isSet(white) && !control("display white " + parser.value(white)))
        return 2;
    if (parser.isSet(peak) && !control("display peak " + parser.value(peak)))
        return 2;
    if (parser.isSet(gamma) && !control("display gamma " + parser.value(gamma)))
        return 2;
    if (parser.isSet(response) && !control("display response " + parser.value(response)))
        return 2;
    if (parser.isSet(modulation) && !control("modulation " + parser.value(modulation)))
        return 2;
    if (parser.isSet(transition) && !control("transition " + parser.value(transition)))
        return 2;
    if (parser.isSet(latency) && !control("latency " + parser.value(latency)))
        return 2;
    if (parser.isSet(noise) && !control("noise " + parser.value(noise) + " " + parser.value(seed)))
        return 2;
    // The seed also orders the window phases, with or without noise.
    if (!parser.isSet(noise) && parser.isSet(seed) && !control("noise 0 " + parser.value(seed)))
        return 2;
    if (parser.isSet(refresh) && !control("refresh " + QString(parser.value(refresh)).replace(',', ' ')))
        return 2;
    for (const QString &f : parser.values(fault)) {
        if (!control("fault " + QString(f).replace(':', ' ')))
            return 2;
    }
    // The factory calibration of a new probe: channel 00, and every channel not yet written,
    // undo the sensor error. A state file then brings back what was written since.
    std::array<double, 9> sensor = typicalSensorError();
    if (parser.isSet(sensorError) && !parseSensorError(parser.value(sensorError), &sensor))
        return fail("--sensor-error needs 9 numbers D11,...,D33 or identity");
    probe.setSensorError(sensor);
    if (!probe.factoryCalibrate(true))
        return fail("--sensor-error: the sensor error is singular");
    if (parser.isSet(state)) {
        QString error;
        QStringList refused;
        const bool loaded = probe.setStatePath(parser.value(state), &error, &refused);
        for (const QString &r : refused)
            err << "krn4-sim: state file " << parser.value(state) << ": " << r << "\n";
        if (!loaded)
            return fail("state file " + parser.value(state) + ": " + error);
    }

    QString linkPath = parser.value(link);
    if (linkPath.isEmpty()) {
        QString dir = QString::fromLocal8Bit(qgetenv("KT_VIRTUAL_PORT_DIR"));
        if (dir.isEmpty()) {
            // The application's default folder (KtPlatform::virtualPortDir): private to the
            // user, because whoever can put a link there decides which ports it lists.
            const QString runtime = QDir::cleanPath(qEnvironmentVariable("XDG_RUNTIME_DIR"));
            dir = runtime.isEmpty() ? QDir::tempPath() + QString("/krn4-ports-%1").arg(::getuid())
                                    : runtime + "/krn4-ports";
            const QByteArray native = QFile::encodeName(dir);
            ::mkdir(native.constData(), 0700);
            struct stat st = {};
            if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
                (st.st_mode & (S_IWGRP | S_IWOTH)))
                return fail(dir + " is not a folder of this user that only this user can write; use --link");
        }
        QDir().mkpath(dir);
        linkPath = dir + "/KRN4-SIM";
    }
    QDir().mkpath(QFileInfo(linkPath).absolutePath());
    const QString ctl = parser.isSet(controlPath) ? parser.value(controlPath) : linkPath + ".ctl";

    SimServer server(probe, faults);
    if (parser.isSet(dfuTime))
        server.setDfuAbsenceMs(parser.value(dfuTime).toInt());
    ScreenPoint point(probe);
    if (gui) {
        probe.setColorSource([&point](int &r, int &g, int &b) { return point.read(r, g, b); });
        server.setScreenHandler([&point](const QString &a) { return point.command(a); });
        // Without a point the probe looks at the application's pattern window, so a pattern
        // shown anywhere on the display is what it measures.
        const QString reply =
            point.command(parser.isSet(screen) ? parser.value(screen) : QStringLiteral("window"));
        if (!reply.startsWith("OK"))
            return fail(reply);
    }

    if (::pipe(g_signalPipe) != 0)
        return fail("cannot create the signal pipe");
    QSocketNotifier signalNotifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, app.get(), [&] {
        char c;
        [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[0], &c, 1);
        server.shutdown();
        QCoreApplication::quit();
    });
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);

    QString error;
    if (!server.start(linkPath, ctl, &error))
        return fail(error);
    err << "krn4-sim: serving " << server.slavePath() << " as " << linkPath << " (control " << ctl << ")\n";
    err.flush();
    const int rc = app->exec();
    server.shutdown();
    return rc;
}
