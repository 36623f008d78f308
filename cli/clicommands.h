#pragma once

#include "clioptions.h"

class QTextStream;

namespace Krn4Cli {

// Runs the command of options (already checked by parseArguments, not --help or --version):
// starts the simulated probe when asked, opens the port, talks to the probe. Results go to out,
// the one-line failure message to err. Returns the exit status.
int run(const Options &options, QTextStream &out, QTextStream &err);

} // namespace Krn4Cli
