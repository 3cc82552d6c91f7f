// One instance per session, over a private session bus: the first owner of the name serves every later start's
// request, which ends with the exit code the instance's answer gives.
#include "app/shell/InstanceService.h"
#include "app/shell/LaunchRequest.h"
#include "support/PrivateBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFuture>
#include <QThread>
#include <QtConcurrent>

#include <gtest/gtest.h>

namespace lumivex::test {
namespace {

class InstanceServiceTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_bus.isRunning());
        m_server = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(m_bus.address(), serverName()));
        m_client = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(m_bus.address(), clientName()));
        ASSERT_TRUE(m_server->isConnected() && m_client->isConnected());
        m_handlers.capture = [this](CaptureCommand::Kind kind) { m_log << QStringLiteral("capture %1").arg(int(kind)); };
        m_handlers.openClipboard = [this] { m_log << "clipboard"; };
        m_handlers.openFiles = [this](const QStringList& paths) { m_log << "files " + paths.join(','); };
        m_handlers.showStartWindow = [this] { m_log << "start"; };
        m_handlers.captureTo = [this](const CaptureCommand& command, std::function<void(const QString&)> done) {
            m_log << "to " + command.outputPath + (command.toClipboard ? "clipboard" : "");
            m_done = std::move(done);
        };
    }
    void TearDown() override
    {
        m_server.reset();
        m_client.reset();
        QDBusConnection::disconnectFromBus(serverName());
        QDBusConnection::disconnectFromBus(clientName());
    }
    QString serverName() const { return QStringLiteral("instance-server"); }
    QString clientName() const { return QStringLiteral("instance-client"); }

    // The client blocks until the instance answers, and the instance answers in this thread's event loop: the
    // client runs beside it, as a second process would.
    std::optional<int> forward(const QStringList& arguments, const std::function<void()>& whileWaiting = {})
    {
        const LaunchRequest request = LaunchRequest::parse(QStringList{"lumivex"} + arguments, "/work");
        m_done = nullptr; // an answer left from an earlier request must not stand in for this one's
        QFuture<std::optional<int>> result =
            QtConcurrent::run([this, request] { return InstanceService::forward(request, *m_client); });
        bool acted = false;
        while (!result.isFinished()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            if (whileWaiting && m_done && !acted) {
                acted = true;
                whileWaiting();
            }
        }
        return result.result();
    }

    PrivateBus m_bus;
    std::unique_ptr<QDBusConnection> m_server;
    std::unique_ptr<QDBusConnection> m_client;
    InstanceService::Handlers m_handlers;
    QStringList m_log;
    std::function<void(const QString&)> m_done;
};

TEST_F(InstanceServiceTest, WithoutAnInstanceTheStartBecomesOne)
{
    EXPECT_EQ(forward({"--capture=area"}), std::nullopt);
    InstanceService first(m_handlers);
    ASSERT_TRUE(first.claim(*m_server));
    InstanceService second(m_handlers);
    EXPECT_FALSE(second.claim(*m_client)); // the name is taken: this start must hand over instead
}

TEST_F(InstanceServiceTest, EveryRequestReachesTheInstanceWithAbsolutePaths)
{
    InstanceService instance(m_handlers);
    ASSERT_TRUE(instance.claim(*m_server));
    EXPECT_EQ(forward({"a.png", "/tmp/b.png", "-x"}), 0);
    EXPECT_EQ(forward({"--capture=window"}), 0);
    EXPECT_EQ(forward({"--clipboard"}), 0);
    EXPECT_EQ(forward({}), 0);
    EXPECT_EQ(forward({"--login-item"}), 0); // a second login start has nothing to add
    EXPECT_EQ(m_log, QStringList({"files /work/a.png,/tmp/b.png", "capture 1", "clipboard", "start"}));
}

TEST_F(InstanceServiceTest, ACaptureToAFileAnswersOnceItIsWrittenOrFailed)
{
    InstanceService instance(m_handlers);
    ASSERT_TRUE(instance.claim(*m_server));
    EXPECT_EQ(forward({"--capture=fullscreen", "--output=shot.png"}, [this] { m_done(QString()); }), 0);
    EXPECT_EQ(forward({"--capture=area", "--clipboard"}, [this] { m_done("cancelled"); }), 1);
    EXPECT_EQ(m_log, QStringList({"to /work/shot.png", "to clipboard"}));

    // Hand-made calls that the command line never sends are refused with a reason, and nothing runs.
    QDBusMessage call = QDBusMessage::createMethodCall(InstanceService::serviceName, InstanceService::objectPath,
                                                       InstanceService::interfaceName, "CaptureTo");
    for (const QVariantList& arguments : {QVariantList{"screen", "/tmp/x.png", false}, QVariantList{"area", "x.png", false},
                                          QVariantList{"area", "/tmp/x.png", true}, QVariantList{"area", "", false}}) {
        call.setArguments(arguments);
        QFuture<QDBusMessage> reply = QtConcurrent::run([this, call] { return m_client->call(call); });
        while (!reply.isFinished())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_EQ(reply.result().errorName(), InstanceService::failedError);
    }
    EXPECT_EQ(m_log.size(), 2);
}

} // namespace
} // namespace lumivex::test
