#include "ktresources.h"

#include <QtGlobal>

#include <atomic>

void ktInitResources()
{
    static std::atomic<bool> done{false};
    if (done.exchange(true))
        return;
    Q_INIT_RESOURCE(tintora);
}
