#include "ui/event_pump.h"

#include <QCoreApplication>

void EventPump::processPendingEvents() {
    constexpr qint64 kDispatchIntervalNs = 1000000;
    if (sinceDispatch_.isValid() && sinceDispatch_.nsecsElapsed() < kDispatchIntervalNs) return;
    QCoreApplication::processEvents();
    sinceDispatch_.start();
}
