#pragma once

#include "ktpaths.h"
#include "ktports.h"

#include <QDate>
#include <QString>
#include <QStringList>

// The one place that knows which operating system we run on. The rest of the program asks
// these functions instead of testing the platform itself.
namespace KtPlatform {

// The command line that edits a plain text file and returns only when the editor is closed
// (the Windows build waits for notepad). Order: KT_TEXT_EDITOR, VISUAL, EDITOR, then the
// first desktop editor found on PATH. Empty when none is available.
QStringList textEditorCommand();

// Opens a text file in the editor above and waits for the editor to end, processing events
// meanwhile so the interface keeps painting. False when no editor exists or it failed to
// start; the file is created empty when it does not exist, so the editor has something to open.
bool editTextFileAndWait(const QString &filePath);

// Opens a document (the PDF manual) with the desktop's default handler. False when the file
// is missing or no handler accepted it. Needs a QGuiApplication.
bool openDocument(const QString &filePath);

// Makes SIGINT, SIGTERM and SIGHUP end the event loop instead of the process, so that the
// clean-up after QApplication::exec() runs (the simulated probe started by --simulate is
// stopped there). Call once after the application object exists.
void quitOnTerminationSignals();

// The microcontroller vendor's DFU command-line tool used by the first-generation firmware
// upgrade: its full path, or empty when it is not installed. KT_DFU_TOOL overrides the search;
// then the vendor's DfuSeCommand beside the program; then dfu-util on PATH.
QString dfuToolPath();

} // namespace KtPlatform
