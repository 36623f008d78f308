#pragma once

#include <QDate>
#include <QString>

// The folders the program keeps its files in. Qt Core only, so that the logic libraries can
// find their files without the device and desktop half of the platform layer.
namespace KtPlatform {

// A path from the environment, cleaned; empty when the variable is unset or empty.
QString envPath(const char *name);

// Folder that holds "sysconfig", "pcfg", "Datas" and "Manual". Beside the program when that
// folder is writable, otherwise a per-user data folder; chosen once per process. The
// environment variable KT_DATA_ROOT overrides both (tests and portable installs use it).
QString appDir();

// Folder for the daily program log (the user's documents folder; KT_DOCUMENTS_DIR overrides).
QString documentsDir();

// Folder in which simulated probes publish their pseudo-terminal links, so that the port list
// shows them. KT_VIRTUAL_PORT_DIR overrides the default, which is private to the user:
// $XDG_RUNTIME_DIR/krn4-ports, else <temp>/krn4-ports-<uid>, created with mode 0700. Whoever
// can put a link there decides which "ports" the program lists and opens, so a default folder
// that belongs to another user or that others may write is refused: the result is then empty
// (no simulated ports) and virtualPortDirProblem() says why.
QString virtualPortDir();
QString virtualPortDirProblem(); // empty when the folder is usable

// Full path of the daily program log for a day: documentsDir() + "/" + "yyyy-MM-dd" (no
// extension, one file per day so that a long session never grows one file without bound).
QString programLogPath(const QDate &day);

} // namespace KtPlatform
