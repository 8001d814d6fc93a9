#include "platform/PosixSerialLine.h"
#include "platform/SerialLineSharing.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <pty.h>
#include <unistd.h>

namespace cubwave {
namespace {

using User = SerialLineSharing::User;
using Outcome = SerialLineSharing::Outcome;

class Pty {
public:
    Pty()
    {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) == 0)
            path_ = QString::fromLocal8Bit(name);
    }
    ~Pty()
    {
        ::close(master_);
        ::close(slave_);
    }
    QString path() const { return path_; }

private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

void processEvents()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

TEST(SerialLineSharing, TheNewcomerTakesThePortOnlyAsTheRuleSays)
{
    const User all[] = {User::CwKeying, User::VoicePtt, User::WinKey, User::Rig, User::Tnc};
    // Row: newcomer; the holders it may take the port from.
    const std::map<User, std::set<User>> rule = {{User::CwKeying, {User::VoicePtt}},
                                                 {User::VoicePtt, {User::WinKey, User::CwKeying}},
                                                 {User::WinKey, {User::CwKeying, User::VoicePtt}},
                                                 {User::Rig, {}},
                                                 {User::Tnc, {}}};
    for (User newcomer : all) {
        for (User holder : all) {
            const bool expected = rule.at(newcomer).count(holder) > 0;
            EXPECT_EQ(SerialLineSharing::mayTake(newcomer, holder), expected)
                << SerialLineSharing::lineName(newcomer).toStdString() << " from "
                << SerialLineSharing::lineName(holder).toStdString();
        }
    }
    EXPECT_EQ(SerialLineSharing::usedByText("/dev/ttyUSB0", User::Rig), "/dev/ttyUSB0 is used by the rig line");
    EXPECT_EQ(SerialLineSharing::usedByText("/dev/ttyS0", User::CwKeying), "/dev/ttyS0 is used by the CW keying line");
    EXPECT_EQ(SerialLineSharing::usedByText("/dev/ttyS0", User::VoicePtt), "/dev/ttyS0 is used by the PTT line");
}

// Root passes the kernel's exclusive open, so only the registry keeps a keying line off the
// rig's port. A link to the device (as /dev/serial/by-id gives) is the same port.
TEST(SerialLineSharing, NoLineOpensAPortAnotherHoldsByPathOrByLink)
{
    Pty pty;
    QTemporaryDir dir;
    const QString link = dir.filePath("usb-FTDI_FT232R-if00-port0");
    ASSERT_TRUE(QFile::link(pty.path(), link));
    SerialLineSharing sharing;
    PosixSerialLine rig, cw, ptt;
    rig.share(sharing, User::Rig);
    cw.share(sharing, User::CwKeying);
    ptt.share(sharing, User::VoicePtt);
    int cwGaveUp = 0;
    sharing.setCloser(User::CwKeying, [&] {
        ++cwGaveUp;
        cw.close();
    });

    ASSERT_TRUE(rig.open(pty.path()));
    EXPECT_FALSE(cw.open(link));
    EXPECT_TRUE(cw.usedByAnotherLine());
    EXPECT_EQ(cw.errorText(), link + " is used by the rig line");
    EXPECT_FALSE(ptt.open(pty.path()));
    EXPECT_EQ(ptt.errorText(), pty.path() + " is used by the rig line");
    // Asking first changes nothing either: the rig keeps its port.
    const auto taking = sharing.take(User::VoicePtt, link, [] { FAIL() << "the rig never gives its port up"; });
    EXPECT_EQ(taking.outcome, Outcome::Refused);
    EXPECT_EQ(taking.holder, User::Rig);
    EXPECT_TRUE(rig.isOpen());

    // Once the rig has let go, the CW line opens by the link, and now the rig is refused.
    rig.close();
    ASSERT_TRUE(cw.open(link));
    EXPECT_FALSE(rig.open(pty.path()));
    EXPECT_EQ(rig.errorText(), pty.path() + " is used by the CW keying line");
    EXPECT_EQ(cwGaveUp, 0);
    // The same user opening again is no conflict.
    ASSERT_TRUE(cw.open(pty.path()));
    processEvents();
}

TEST(SerialLineSharing, AHolderThatNeedsTimeGivesThePortUpLaterAndTheNewcomerGoesOnThen)
{
    Pty a, b;
    SerialLineSharing sharing;
    PosixSerialLine cw, ptt;
    cw.share(sharing, User::CwKeying);
    ptt.share(sharing, User::VoicePtt);
    bool closeNow = false;
    int asked = 0;
    sharing.setCloser(User::CwKeying, [&] {
        ++asked;
        if (closeNow)
            cw.close();
    });

    // A line on another device is left alone.
    ASSERT_TRUE(cw.open(a.path()));
    EXPECT_EQ(sharing.take(User::VoicePtt, b.path(), {}).outcome, Outcome::Free);
    EXPECT_EQ(asked, 0);
    ASSERT_TRUE(ptt.open(b.path()));
    EXPECT_TRUE(cw.isOpen());
    ptt.close();

    // The holder is asked and closes later (a CW character still on the air).
    int freed = 0;
    auto taking = sharing.take(User::VoicePtt, a.path(), [&] {
        ++freed;
        EXPECT_TRUE(ptt.open(a.path()));
    });
    EXPECT_EQ(taking.outcome, Outcome::Waiting);
    EXPECT_EQ(taking.holder, User::CwKeying);
    EXPECT_EQ(asked, 1);
    processEvents();
    EXPECT_EQ(freed, 0);
    cw.close();
    EXPECT_EQ(freed, 0);  // not from inside the holder's close
    processEvents();
    EXPECT_EQ(freed, 1);
    EXPECT_TRUE(ptt.isOpen());
    ptt.close();

    // A newcomer that asks again or cancels is not called for the old request.
    ASSERT_TRUE(cw.open(a.path()));
    freed = 0;
    EXPECT_EQ(sharing.take(User::VoicePtt, a.path(), [&] { freed += 10; }).outcome, Outcome::Waiting);
    EXPECT_EQ(sharing.take(User::VoicePtt, a.path(), [&] { freed += 1; }).outcome, Outcome::Waiting);
    sharing.cancelWaiting(User::VoicePtt);
    cw.close();
    processEvents();
    EXPECT_EQ(freed, 0);

    // A holder that closes at once: free at once, nothing called later.
    closeNow = true;
    ASSERT_TRUE(cw.open(a.path()));
    EXPECT_EQ(sharing.take(User::VoicePtt, a.path(), [&] { ++freed; }).outcome, Outcome::Free);
    EXPECT_FALSE(cw.isOpen());
    processEvents();
    EXPECT_EQ(freed, 0);
    // CW may not take the port from the WinKey keyer, whatever it would do.
    sharing.setCloser(User::WinKey, [] { FAIL() << "asked to give up"; });
    ASSERT_TRUE(sharing.claim(*SerialLineSharing::deviceIdOf(b.path()), User::WinKey));
    EXPECT_EQ(sharing.take(User::CwKeying, b.path(), {}).outcome, Outcome::Refused);
}

// An adapter pulled out: whichever way its line learns it and closes, the port is let go in the
// registry too, so the adapter put in again (the same device number) opens for any line.
TEST(SerialLineSharing, ALineWhoseDeviceIsGoneLetsThePortGoWhenItCloses)
{
    const struct {
        const char* what;
        std::function<void(PosixSerialLine&)> learnAndClose;
    } cases[] = {
        {"PTT request", [](PosixSerialLine& line) { EXPECT_FALSE(line.setModemLine(ModemLine::Rts, true)); }},
        {"keying thread",
         [](PosixSerialLine& line) {
             EXPECT_FALSE(line.modemKeyingLine(ModemLine::Dtr)->setKeyed(true));
             ASSERT_TRUE(line.failed());
             line.close();
         }},
        {"rig write",
         [](PosixSerialLine& line) {
             line.write("FA;");
             ASSERT_TRUE(line.failed());
             line.close();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        int master = -1, slave = -1;
        char name[256] = {};
        ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
        const auto device = SerialLineSharing::deviceIdOf(QString::fromLocal8Bit(name));
        ASSERT_TRUE(device);
        SerialLineSharing sharing;
        PosixSerialLine line;
        line.share(sharing, User::CwKeying);
        ASSERT_TRUE(line.open(QString::fromLocal8Bit(name)));
        EXPECT_EQ(sharing.holderOf(*device), User::CwKeying);
        ::close(slave);
        ::close(master);
        c.learnAndClose(line);
        EXPECT_FALSE(line.isOpen());
        EXPECT_EQ(sharing.holderOf(*device), std::nullopt);
        EXPECT_TRUE(sharing.claim(*device, User::Rig));
    }
}

}  // namespace
}  // namespace cubwave
