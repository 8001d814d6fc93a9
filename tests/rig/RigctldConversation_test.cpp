// The connection to rigctld on a fake socket and timer: one request at a time, the 2 s limit,
// answers that do not read, lost connections, retries every 5 s and one status line an outage.
#include "rig/RigctldConversation.h"
#include "rig/RigctldPoll.h"
#include "support/FakeClock.h"
#include "support/FakeOneShotTimer.h"
#include "support/FakeTcpClient.h"

#include <gtest/gtest.h>

using namespace cubwave;
using namespace cubwave::test;

namespace {

class RigctldConversationTest : public ::testing::Test {
public:
    RigctldConversationTest()
    {
        conversation.setStatusHandler([this](const QString& text, bool trouble) {
            (trouble ? troubles : recoveries).append(text);
        });
    }

    void openAndAccept()
    {
        conversation.open(QStringLiteral("localhost"), 4532);
        socket.accept();
    }
    // A request whose answer is kept in answers.
    void ask(const QByteArray& command, int valueLines)
    {
        conversation.request(command, valueLines,
                             [this](const RigctldConversation::Answer& answer) { answers.append(answer); });
    }

    FakeClock clock;
    FakeTcpClient socket;
    FakeOneShotTimer timer;
    RigctldConversation conversation{socket, timer};
    QList<RigctldConversation::Answer> answers;
    QStringList troubles;
    QStringList recoveries;
};

}  // namespace

TEST_F(RigctldConversationTest, RequestsGoOutOneAtATimeEachWithItsLineEnd)
{
    openAndAccept();
    EXPECT_EQ(socket.host, "localhost");
    EXPECT_EQ(socket.port, 4532);
    ask("f", 1);
    ask("m", 2);
    ask("F 14025000", 0);
    EXPECT_EQ(socket.takeSent(), "f\n");  // the others wait for its answer
    socket.answer("1402");
    EXPECT_EQ(socket.takeSent(), "");
    socket.answer("5000\n");
    EXPECT_EQ(socket.takeSent(), "m\n");
    socket.answer("CW\n500\n");
    EXPECT_EQ(socket.takeSent(), "F 14025000\n");
    socket.answer("RPRT -9\n");
    ASSERT_EQ(answers.size(), 3);
    EXPECT_EQ(answers[0].reply.lines, QList<QByteArray>{"14025000"});
    EXPECT_EQ(answers[1].reply.lines, (QList<QByteArray>{"CW", "500"}));
    EXPECT_TRUE(answers[2].ok);
    EXPECT_EQ(answers[2].reply.rprt, -9);
    EXPECT_FALSE(conversation.busy());
    EXPECT_TRUE(troubles.isEmpty());
}

TEST_F(RigctldConversationTest, RequestsMadeWhileConnectingGoOutOnceConnected)
{
    conversation.open(QStringLiteral("localhost"), 4532);
    ask("f", 1);
    EXPECT_EQ(socket.takeSent(), "");
    socket.accept();
    EXPECT_EQ(socket.takeSent(), "f\n");
}

// A stalled daemon, an answer that does not read, a dropped connection: each fails what is out
// and waiting, drops the connection and tries again 5 s later; the operator is told once.
TEST_F(RigctldConversationTest, EachFailureDropsTheConnectionAndRetriesEveryFiveSecondsToldOnce)
{
    struct Failure {
        const char* name;
        std::function<void(RigctldConversationTest&)> happen;
        const char* said;
    };
    const Failure failures[] = {
        {"stall", [](RigctldConversationTest& t) { t.timer.fire(t.clock); }, "did not answer within 2 s"},
        {"garbage", [](RigctldConversationTest& t) { t.socket.answer("<html>\n"); }, "answered a setting"},
        {"drop", [](RigctldConversationTest& t) { t.socket.fail(TcpClient::kConnectionReset, "closed by peer"); },
         "closed by peer"},
    };
    for (const Failure& failure : failures) {
        SCOPED_TRACE(failure.name);
        answers.clear();
        troubles.clear();
        recoveries.clear();
        openAndAccept();
        ask("F 7025000", 0);
        ask("f", 1);
        EXPECT_EQ(timer.intervalMs, RigctldConversation::kReplyLimitMs);
        const int closesBefore = socket.closes;
        failure.happen(*this);
        ASSERT_EQ(answers.size(), 2);
        EXPECT_FALSE(answers[0].ok);
        EXPECT_FALSE(answers[1].ok);
        EXPECT_GT(socket.closes, closesBefore);
        ASSERT_EQ(troubles.size(), 1);
        EXPECT_TRUE(troubles[0].contains(QString::fromLatin1(failure.said))) << troubles[0].toStdString();
        EXPECT_TRUE(troubles[0].contains(u"rigctld -m MODEL -r DEVICE -s BAUD -T 127.0.0.1")) << troubles[0].toStdString();
        EXPECT_FALSE(conversation.connected());

        // Not reached: a request fails at once rather than waiting.
        ask("f", 1);
        EXPECT_EQ(answers.size(), 3);
        EXPECT_FALSE(answers[2].ok);

        // Refused twice more: still one line on the status bar.
        const int connects = socket.connects;
        EXPECT_TRUE(timer.isActive());
        EXPECT_EQ(timer.intervalMs, RigctldConversation::kRetryMs);
        timer.fire(clock);
        EXPECT_EQ(socket.connects, connects + 1);
        socket.fail(TcpClient::kRefused, "Connection refused");
        timer.fire(clock);
        socket.fail(TcpClient::kRefused, "Connection refused");
        EXPECT_EQ(troubles.size(), 1);

        // Back: found again, and the first good answer says so.
        timer.fire(clock);
        socket.accept();
        ask("f", 1);
        socket.answer("7025000\n");
        conversation.answeredWell();
        EXPECT_EQ(recoveries.size(), 1);
        conversation.close();
    }
}

TEST_F(RigctldConversationTest, ClosingForgetsEveryRequestAndStopsRetrying)
{
    openAndAccept();
    ask("f", 1);
    ask("m", 2);
    conversation.close();
    EXPECT_TRUE(answers.isEmpty());
    EXPECT_FALSE(timer.isActive());
    EXPECT_FALSE(conversation.busy());
    socket.fail(TcpClient::kConnectionReset);  // late news of the old connection
    EXPECT_TRUE(troubles.isEmpty());
    EXPECT_FALSE(timer.isActive());
}

// The poll over the conversation: f then m each second tick, read as the other radios' replies
// are; an RPRT to a poll is told once; a frequency that does not read drops the connection.
TEST_F(RigctldConversationTest, ThePollAsksForFrequencyThenModeAndReportsThemAsEveryRadio)
{
    RigPoller poller;
    RigSettings settings;
    settings.selectRig(*RigModels::find(u"Hamlib rigctld"));
    poller.start(RigPollSettings::from(settings, false, {}), 0);
    RigctldPoll poll(poller, conversation, clock);
    QList<RigTickResult> results;
    poll.setResultHandler([&results](const RigTickResult& r) { results.append(r); });

    poll.tick();  // not connected: nothing
    EXPECT_EQ(socket.takeSent(), "");
    openAndAccept();
    poll.tick();
    EXPECT_EQ(socket.takeSent(), "f\n");
    poll.tick();  // a round is under way
    EXPECT_EQ(socket.takeSent(), "");
    socket.answer("7025000\n");
    EXPECT_EQ(socket.takeSent(), "m\n");
    socket.answer("CWR\n500\n");
    ASSERT_EQ(results.size(), 1);
    EXPECT_EQ(results[0].bandReportMHz, 7.025f);
    EXPECT_EQ(results[0].modeReport, "CW");
    EXPECT_EQ(results[0].frequencyLabel, "7.02500");

    poll.tick();  // the tick that only counts
    EXPECT_EQ(socket.takeSent(), "");
    poll.tick();
    EXPECT_EQ(socket.takeSent(), "f\n");
    socket.answer("RPRT -5\n");
    ASSERT_EQ(troubles.size(), 1);
    EXPECT_TRUE(troubles[0].contains(u"Communication timed out")) << troubles[0].toStdString();
    EXPECT_TRUE(conversation.connected());

    // A command has the radio: no round starts.
    poller.suspend(clock.ticksMs());
    poll.tick();
    poll.tick();
    EXPECT_EQ(socket.takeSent(), "");
    poller.resume(clock.ticksMs());

    poll.tick();
    poll.tick();
    EXPECT_EQ(socket.takeSent(), "f\n");
    socket.answer("fourteen\n");
    EXPECT_FALSE(conversation.connected());
    EXPECT_EQ(results.size(), 1);
}
