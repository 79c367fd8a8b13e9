#pragma once
// kvform's script language: user actions played against the live form, one per line (see
// SCRIPT.md). Each step runs from a queued timer, so a step that opens a modal form (the
// calendar) is followed by the next steps inside that form's event loop.

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>

class QWidget;

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

class ScriptRunner : public QObject {
    Q_OBJECT
public:
    using Output = std::function<void(const QString& line)>;

    // `mainWindow` is the form's window: names are looked up in the active modal window first,
    // then there.
    ScriptRunner(QList<ScriptStep> steps, QString fileName, QWidget* mainWindow, Output out,
                 QObject* parent = nullptr);

    void start();
    bool finished() const { return m_finished; }
    bool failed() const { return !m_error.isEmpty(); }
    QString errorMessage() const { return m_error; }

    // The message box service while a script runs: prints "msgbox: title: text" and answers with
    // the button the script chose (1, OK, unless `answer` said otherwise).
    int messageBox(const QString& prompt, int style, const QString& title);

    // How long wait-modal waits, and how long the whole script may run.
    static constexpr int ModalTimeoutMs = 5000;
    static constexpr int ScriptTimeoutMs = 120000;

Q_SIGNALS:
    void done(int exitCode);

private:
    void schedule(int delayMs = 0);
    void runStep();
    void execute(const ScriptStep& step);
    void finish(const QString& error);
    [[noreturn]] void fail(const ScriptStep& step, const QString& problem) const;

    QWidget* topWindow() const;
    QWidget* resolve(const ScriptStep& step, const QString& path) const;
    QWidget* focusTarget(QWidget* widget) const;
    QString readProperty(const ScriptStep& step, const QString& path) const;

    QList<ScriptStep> m_steps;
    QString m_file;
    QPointer<QWidget> m_main;
    Output m_out;
    qsizetype m_next = 0;
    QList<int> m_runningLevels; // event-loop level of each step still executing
    QElapsedTimer m_waitClock;
    bool m_waiting = false;
    QQueue<int> m_answers;
    bool m_finished = false;
    QString m_error;
};

} // namespace kvform
