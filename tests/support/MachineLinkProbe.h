#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QVector>

// Stands in for the machine link of a running program (the whole main window
// and back end, without LinuxCNC): detaches the machine worker from the main
// window's G-code signal and from the completion and position callbacks,
// records every block the main window emits with the time it was emitted,
// and answers each one itself as the machine link would (a queued
// completion), at once or only when told.
//
// Scripts reach it as a QObject: `nsecs()` is the clock every recorded time
// uses, `mark()` records when a continuation ran.
class MachineLinkProbe : public QObject
{
    Q_OBJECT
public:
    enum class Answer { Never, Queued };

    // `root` is the main window, `cnc` the machine worker it is wired to.
    MachineLinkProbe(QObject *root, QObject *cnc, QObject *parent = nullptr);

    // True when every connection was found and cut.
    bool detached() const { return m_detached; }
    // Gives the machine worker its connections back (the probe answers no
    // more blocks).
    void reattach();
    void setAnswer(Answer answer) { m_answer = answer; }

    Q_INVOKABLE qint64 nsecs() const { return m_clock.nsecsElapsed(); }
    Q_INVOKABLE void mark() { marks.append(nsecs()); }
    // Emits the main window's completion signal for the running block now.
    Q_INVOKABLE void answer(bool successful);

    QVector<qint64> sentAt;      // emission times of the blocks
    QStringList texts;           // the blocks as emitted
    QVector<qint64> answeredAt;  // when each completion was emitted
    QVector<qint64> marks;       // times recorded by mark()

private slots:
    void gCodeGet(const QString &text, bool safeH);

private:
    QObject *m_root;
    QObject *m_cnc;
    QElapsedTimer m_clock;
    Answer m_answer = Answer::Queued;
    bool m_detached = false;
};
