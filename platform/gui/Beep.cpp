#include "platform/gui/Beep.h"

#include "platform/gui/QtApp.h"

#include <QApplication>

bool MessageBeep(unsigned) {
    EnsureQtApplication();
    QApplication::beep();
    return true;
}
