// Composition root: application object, main window, port dialog, optional simulated probe.
#include "ktplatform.h"
#include "ktresources.h"
#include "ktserialportsetting.h"
#include "ktshellrules.h"
#include "ktshowrgb.h"
#include "ktsimulatedprobe.h"
#include "kttintora.h"

#include <QApplication>
#include <QStringList>
#include <QTextCodec>

#include <cstdio>
#include <cstring>

namespace {
// Without any display Qt aborts with a message about platform plugins that does not say what
// to do; check first and say it plainly.
bool displayAvailable()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
} // namespace

int main(int argc, char *argv[])
{
    bool simulate = false;
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
        if (std::strcmp(argv[i], "--simulate") == 0)
            simulate = true;
    }
    // Answered before any application object exists: they need no display and open no window.
    switch (KtShell::commandLineAction(arguments)) {
    case KtShell::CommandLineAction::Help:
        std::fputs(KtShell::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    case KtShell::CommandLineAction::Version:
        std::fputs(KtShell::versionText().toLocal8Bit().constData(), stdout);
        return 0;
    case KtShell::CommandLineAction::Run:
        break;
    }
    if (!displayAvailable()) {
        std::fputs("ktTintora: no display is available (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                   "Run it under a virtual display:\n"
                   "    xvfb-run -a -s \"-screen 0 1600x900x24\" ktTintora --simulate\n"
                   "or set QT_QPA_PLATFORM=offscreen for a run without any window.\n",
                   stderr);
        return 2;
    }

    QApplication app(argc, argv);
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("System"));
    ktInitResources();
    KtPlatform::quitOnTerminationSignals();

    KtSimulatedProbe simulator;
    if (simulate && !simulator.start())
        std::fprintf(stderr, "ktTintora: %s\n", qPrintable(simulator.errorText()));

    auto *window = new ktTintora();
    window->show();
    window->portDialog()->show();
    if (simulate && !simulator.portName().isEmpty()) {
        window->portDialog()->openPort(simulator.portName());
        // With a display the simulated probe looks at the Color Window, as a real probe
        // would be held against it.
        simulator.followWindow(window->colourWindow());
    }

    const int code = app.exec();
    delete window;
    simulator.stop();
    return code;
}
