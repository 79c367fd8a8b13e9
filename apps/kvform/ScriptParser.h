#pragma once
// kvform's script language read into steps (see SCRIPT.md), apart from playing them, so that
// the reader can be checked alone.

#include <QList>
#include <QPoint>
#include <QString>
#include <stdexcept>

namespace kvform {

// A script that cannot be read or a step that fails: the message names file and line.
class ScriptError : public std::runtime_error {
public:
    explicit ScriptError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

struct ScriptStep {
    enum Command {
        Focus,
        Type,
        Keys,
        Click,
        DblClick,
        Press,
        Release,
        Move,
        Call,
        Wait,
        WaitModal,
        Answer,
        Screenshot,
        Print,
        Expect,
        Set
    };
    Command command = Focus;
    int line = 0;
    QString target;   // control path (Focus, Click, DblClick, Press, Release, Move), or
                      // path.Property (Print, Expect, Set); empty for a Move to a screen point
    QString argument; // text, keys, caption, file, expected or new value
    int number = 0;   // Answer; milliseconds (Wait)
    QPoint point;     // Move to a screen point
};

// Reads a script; ScriptError "FILE:LINE: problem" for the first line it cannot read.
QList<ScriptStep> parseScript(const QString& text, const QString& fileName);

} // namespace kvform
