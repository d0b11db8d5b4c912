// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/SerialSource.h"

namespace orv {

namespace {

constexpr qint64 kFrameSize = 4;

} // namespace

SerialSource::SerialSource(SerialPort &port)
    : m_port(port)
{
    m_strayTimer.setSingleShot(true);
    m_strayTimer.setInterval(kStrayBytesMs);
    QObject::connect(&m_strayTimer, &QTimer::timeout, &m_strayTimer, [this] { dropStrayBytes(); });
}

void SerialSource::open()
{
    m_active = true;
    if (!m_port.isOpen())
        openPort();
}

void SerialSource::openPort()
{
    // A value from before the port closed says nothing of the device now.
    m_value1.reset();
    m_port.open();
    if (m_port.isOpen())
        m_unpluggedDevice.clear();
}

Readings SerialSource::poll()
{
    if (!m_changed)
        takeFrame(m_port.bytesWaiting());
    return latest();
}

void SerialSource::takeFrame(qint64 waiting)
{
    if (waiting != kFrameSize)
        return;
    const QByteArray bytes = m_port.readAll();
    // A byte landing between the count and the read belongs to the next frame and is
    // dropped with it; fewer than four means the device just went away.
    if (bytes.size() >= kFrameSize)
        m_value1 = static_cast<quint8>(bytes.at(2));
}

Readings SerialSource::latest() const
{
    return {m_port.isOpen() ? m_value1 : std::nullopt, std::nullopt};
}

void SerialSource::close()
{
    follow({});
    m_active = false;
    m_unpluggedDevice.clear();
    m_value1.reset();
    // Also when the link was lost: that clears the fault and frees the device at once.
    m_port.close();
}

void SerialSource::follow(std::function<void()> changed)
{
    m_changed = std::move(changed);
    if (!m_changed)
        m_strayTimer.stop();
    m_port.setOnActivity(m_changed ? std::function<void()>([this] { takeArrived(); }) : std::function<void()>());
}

void SerialSource::takeArrived()
{
    const qint64 waiting = m_port.bytesWaiting();
    if (waiting > kFrameSize)
        m_port.discardInput(); // out of step: a burst, or a frame with a byte too many
    else
        takeFrame(waiting);
    // Not restarted by a later piece, so a dribble of bytes cannot put the discard off.
    if (waiting > 0 && waiting < kFrameSize) {
        if (!m_strayTimer.isActive())
            m_strayTimer.start();
    } else {
        m_strayTimer.stop();
    }
    if (m_changed)
        m_changed();
}

void SerialSource::dropStrayBytes()
{
    // Counting may tell of new bytes, which are then taken before the count is returned.
    const qint64 waiting = m_port.bytesWaiting();
    if (waiting > 0 && waiting < kFrameSize) {
        m_port.discardInput();
        m_strayTimer.stop();
    }
}

void SerialSource::maintain()
{
    m_port.discardInput();
    if (!m_active || m_port.isOpen())
        return;
    if (m_port.fault() == SerialFault::LinkLost)
        m_unpluggedDevice = m_port.devicePath();
    openPort();
}

QString SerialSource::problem() const
{
    if (!m_active || m_port.isOpen())
        return {};
    const SerialFault fault = m_port.fault();
    // An unplugged adapter's node is gone, so retries find it absent, or find no port at
    // all: keep saying what happened until it is back.
    if (!m_unpluggedDevice.isEmpty() && (fault == SerialFault::Absent || fault == SerialFault::NoPort))
        return serialProblemText(SerialFault::LinkLost, m_unpluggedDevice);
    return serialProblemText(fault, m_port.devicePath(), m_port.faultDetail());
}

QString serialProblemText(SerialFault fault, const QString &device, const QString &detail)
{
    switch (fault) {
    case SerialFault::None: return {};
    case SerialFault::NoPort:
        return QStringLiteral("Aucun port série trouvé : branchez l'adaptateur série de l'appareil.");
    case SerialFault::Absent:
        return QStringLiteral("Le port %1 est absent : vérifiez que l'adaptateur est branché.").arg(device);
    case SerialFault::Busy:
        return QStringLiteral("Le port %1 est occupé par un autre programme : fermez ce programme, "
                              "la lecture reprendra d'elle-même.")
            .arg(device);
    case SerialFault::Permission:
        return QStringLiteral("Accès refusé à %1 : ajoutez votre compte au groupe dialout, puis reconnectez-vous.")
            .arg(device);
    case SerialFault::LinkLost:
        return QStringLiteral("Le port %1 a été débranché : rebranchez l'appareil, la lecture reprendra d'elle-même.")
            .arg(device);
    case SerialFault::Other: return QStringLiteral("Le port %1 ne peut pas être ouvert (%2).").arg(device, detail);
    }
    return {};
}

} // namespace orv
