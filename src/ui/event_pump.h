#pragma once

#include <QElapsedTimer>

// Lets the window's waiting events run from inside a long handler. A full dispatch costs a
// system call and the toolkit's whole round of event sources, about 1.5 microseconds: called
// for every file name of a large scan, that alone would cost more than reading the folders.
// So the first call dispatches, and every later one only once a millisecond has passed since
// the last dispatch: an event waits at most that long, far below what a user can notice.
class EventPump {
public:
    void processPendingEvents();

private:
    QElapsedTimer sinceDispatch_;
};
