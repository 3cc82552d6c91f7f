#include "PrivateBus.h"

#include <QFile>

#include <poll.h>
#include <unistd.h>

namespace lumivex::test {

namespace {

constexpr const char* kConfiguration = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

// The first line the daemon prints, within the time.
QString readLine(int fd, int timeoutMs)
{
    QByteArray line;
    char byte = 0;
    pollfd waiting{fd, POLLIN, 0};
    while (!line.endsWith('\n') && ::poll(&waiting, 1, timeoutMs) > 0 && ::read(fd, &byte, 1) == 1)
        line.append(byte);
    return QString::fromUtf8(line).trimmed();
}

} // namespace

PrivateBus::PrivateBus()
{
    const QString configuration = m_directory.filePath(QStringLiteral("bus.conf"));
    QFile file(configuration);
    if (!m_directory.isValid() || !file.open(QIODevice::WriteOnly) || file.write(kConfiguration) < 0)
        return;
    file.close();
    int output[2];
    if (::pipe(output) != 0)
        return;
    const bool started = m_daemon.start({QStringLiteral("dbus-daemon"),
                                         {QStringLiteral("--config-file=") + configuration, QStringLiteral("--nofork"),
                                          QStringLiteral("--print-address=1")},
                                         environmentWith({}),
                                         output[1],
                                         -1,
                                         -1});
    ::close(output[1]);
    if (started)
        m_address = readLine(output[0], 10000);
    ::close(output[0]);
}

PrivateBus::~PrivateBus()
{
    m_daemon.stop();
}

} // namespace lumivex::test
