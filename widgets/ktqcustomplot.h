#pragma once

// QCustomPlot's header still uses Qt's "foreach" keyword, which this project switches off
// (QT_NO_FOREACH, which also removes Q_FOREACH). Include the plot through this header: it maps
// the keyword onto a range-for for the include only (the header's loops only read).
#include <QtGlobal>

#ifndef foreach
#define foreach(variable, container) for (variable : container)
#define KT_LENT_FOREACH
#endif
#include <qcustomplot.h>
#ifdef KT_LENT_FOREACH
#undef foreach
#undef KT_LENT_FOREACH
#endif
