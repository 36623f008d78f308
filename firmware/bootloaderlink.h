#pragma once

#include "bootloadersession.h"

#include <QString>

#include <functional>

// Runs a BootLoaderSession over a serial port of its own, blocking, in the calling thread (the
// upgrade dialog calls it from a worker thread so its window keeps painting; tests call it
// directly). The port is opened on devicePath at the session's first speed, switched to the
// transfer speed when the session asks, and closed at the end; the probe port of the rest of
// the program must be closed meanwhile.
namespace BootLoaderLink {

struct Result
{
    bool portOpened = false;
    QString portError; // why the port could not be opened, or vanished
};

// progress gets each new value of session.progress(). The session is left finished.
Result run(BootLoaderSession &session, const QString &devicePath,
           const std::function<void(int)> &progress = nullptr);

} // namespace BootLoaderLink
