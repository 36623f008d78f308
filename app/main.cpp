// Composition root: application object, main window, port dialog, optional simulated probe.
#include "ktplatform.h"
#include "ktresources.h"
#include "ktserialportsetting.h"
#include "ktsimulatedprobe.h"
#include "kttintora.h"

#include <QApplication>
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
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--simulate") == 0)
            simulate = true;
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
    if (simulate && !simulator.portName().isEmpty())
        window->portDialog()->openPort(simulator.portName());

    const int code = app.exec();
    delete window;
    simulator.stop();
    return code;
}
