#include "MachineLinkProbe.h"

#include <QMetaObject>

MachineLinkProbe::MachineLinkProbe(QObject *root, QObject *cnc, QObject *parent)
    : QObject(parent), m_root(root), m_cnc(cnc)
{
    m_clock.start();
    // The same signatures the wiring connects by name.
    const bool gcode = QObject::disconnect(root, SIGNAL(sendGCode(QString,bool)), cnc, SLOT(getGCode(QString,bool)));
    const bool done = QObject::disconnect(cnc, SIGNAL(gCodeDoneSend(bool)), root, SIGNAL(getGcodeDone(bool)));
    const bool position = QObject::disconnect(cnc, SIGNAL(jointPosSend(QVariant)), root, SLOT(jointPosGet(QVariant)));
    m_detached = gcode && done && position;
    connect(root, SIGNAL(sendGCode(QString,bool)), this, SLOT(gCodeGet(QString,bool)));
}

void MachineLinkProbe::reattach()
{
    if (!m_detached)
        return;
    QObject::disconnect(m_root, SIGNAL(sendGCode(QString,bool)), this, SLOT(gCodeGet(QString,bool)));
    QObject::connect(m_root, SIGNAL(sendGCode(QString,bool)), m_cnc, SLOT(getGCode(QString,bool)));
    QObject::connect(m_cnc, SIGNAL(gCodeDoneSend(bool)), m_root, SIGNAL(getGcodeDone(bool)));
    QObject::connect(m_cnc, SIGNAL(jointPosSend(QVariant)), m_root, SLOT(jointPosGet(QVariant)));
    m_detached = false;
}

void MachineLinkProbe::gCodeGet(const QString &text, bool safeH)
{
    Q_UNUSED(safeH)
    sentAt.append(nsecs());
    texts.append(text);
    if (m_answer == Answer::Queued)
        QMetaObject::invokeMethod(this, "answer", Qt::QueuedConnection, Q_ARG(bool, true));
}

void MachineLinkProbe::answer(bool successful)
{
    answeredAt.append(nsecs());
    QMetaObject::invokeMethod(m_root, "getGcodeDone", Qt::DirectConnection, Q_ARG(bool, successful));
}
