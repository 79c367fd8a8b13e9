#pragma once
// The host's platform services as one process-wide object whose members a test may replace:
// message box, today's date, pointer position, error reporting, the primary screen's size, the
// steps of saving a file.

#include "host/value/RuntimeError.h"

#include <QByteArray>
#include <QDate>
#include <QPoint>
#include <QSize>
#include <QString>
#include <functional>

class QFile;

namespace host {

// The steps of saving a file (host/services/SaveFile.h). Each returns an empty text when it
// succeeded, else the reason in the system's words ("No space left on device").
struct SaveSteps {
    std::function<QString(QFile& file)> open; // creates file.fileName(), which must not exist
    std::function<QString(QFile& file, const QByteArray& bytes)> write;
    std::function<QString(QFile& file)> flush; // to the disk, then closes the file
    std::function<QString(const QString& from, const QString& to)> rename; // replaces `to`
    std::function<void(const QString& path)> remove;
};

struct Services {
    // Shows a message box; returns the button pressed (1 = OK, 2 = Cancel, 6 = Yes, 7 = No...).
    std::function<int(const QString& prompt, int style, const QString& title)> msgBox;
    std::function<QDate()> today;
    std::function<QPoint()> cursorPos; // screen pixels
    std::function<void(const RuntimeError&)> reportError;
    std::function<QSize()> screenSize; // the primary screen, pixels (what Screen reports)
    SaveSteps saveSteps;               // a test fails one to play a full disk, a read-only folder
};

Services& services();

// Snapshots services() on construction and restores it on destruction.
class ServicesScope {
public:
    ServicesScope();
    ~ServicesScope();
    ServicesScope(const ServicesScope&) = delete;
    ServicesScope& operator=(const ServicesScope&) = delete;

private:
    Services m_saved;
};

// The runtime's MsgBox: an empty title means the application's name. A box requested while a
// widget paints would run its loop inside the paint, whose next repaint asks again: it is shown
// once the paint is over, and the painting code is answered OK (1).
int MsgBox(const QString& prompt, int style = 0, const QString& title = {});

// Marks a paint in progress for as long as it lives; painting code (the Paint event) runs
// inside one.
class PaintScope {
public:
    PaintScope();
    ~PaintScope();
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
};

} // namespace host
