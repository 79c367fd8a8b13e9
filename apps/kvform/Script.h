#pragma once
// kvform's script language: user actions played against the live form, one per line (see
// SCRIPT.md). Each step runs from a queued timer, so a step that opens a modal form (the
// calendar) is followed by the next steps inside that form's event loop.

#include "ScriptParser.h"

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

class QWidget;

namespace kvform {

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
