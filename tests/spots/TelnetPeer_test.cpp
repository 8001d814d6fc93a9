#include "spots/TelnetNegotiation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <set>

using namespace cubwave;

namespace {

// telnet-stream (npm, installed by tools/install-deps.sh with npm ci) is an independent TELNET
// parser. Both take the same streams apart; the text, the options answered and the escaping
// of outgoing bytes must agree.
const QString kPeerDir = QStringLiteral(CUBWAVE_SOURCE_DIR "/tests/spots/telnet-peer");

// A cluster session as a hostile or merely busy server might send it: text with every byte
// value but IAC, escaped 255s, option requests (repeated ones too), other commands and
// subnegotiations with escaped 255s inside.
QByteArray randomStream(QRandomGenerator& random)
{
    QByteArray stream;
    const int parts = 1 + int(random.bounded(40));
    for (int p = 0; p < parts; ++p) {
        switch (random.bounded(6)) {
        case 0:
        case 1: {
            const int length = int(random.bounded(80));
            for (int i = 0; i < length; ++i) {
                char c = char(random.bounded(255));  // never 255 here
                if (c == '\r')
                    c = '\n';  // CR NUL is CR to us but two bytes to the peer; not what is compared
                stream.append(c);
            }
            break;
        }
        case 2:
            stream.append("\xff\xff", 2);
            break;
        case 3: {
            static const char commands[] = {char(251), char(252), char(253), char(254)};
            stream.append(char(255)).append(commands[random.bounded(4)]).append(char(random.bounded(8) * 5));
            break;
        }
        case 4:
            stream.append(char(255)).append(char(241 + random.bounded(9)));  // NOP .. GA
            break;
        case 5: {
            stream.append(char(255)).append(char(250)).append(char(random.bounded(40)));
            const int length = int(random.bounded(200));
            for (int i = 0; i < length; ++i) {
                const char c = char(random.bounded(256));
                stream.append(c);
                if (c == char(255))
                    stream.append(char(255));
            }
            stream.append(char(255)).append(char(240));
            break;
        }
        }
    }
    return stream;
}

TEST(TelnetPeer, AnIndependentParserReadsTheSameTextAndOptions)
{
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    ASSERT_FALSE(node.isEmpty()) << "node is not installed (tools/install-deps.sh installs it)";
    ASSERT_TRUE(QDir(kPeerDir + QStringLiteral("/node_modules/telnet-stream")).exists())
        << "run tools/install-deps.sh (npm ci in tests/spots/telnet-peer)";

    QTemporaryDir dir;
    QRandomGenerator random(20261211);
    std::vector<QByteArray> streams;
    QStringList files;
    for (int i = 0; i < 300; ++i) {
        streams.push_back(randomStream(random));
        const QString path = dir.filePath(QStringLiteral("stream%1.bin").arg(i));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(streams.back()), streams.back().size());
        files << path;
    }
    QProcess peer;
    peer.start(node, QStringList{kPeerDir + QStringLiteral("/read-telnet.js")} + files);
    ASSERT_TRUE(peer.waitForFinished(60000));
    ASSERT_EQ(peer.exitCode(), 0) << peer.readAllStandardError().toStdString();
    const QJsonArray results = QJsonDocument::fromJson(peer.readAllStandardOutput()).array();
    ASSERT_EQ(results.size(), qsizetype(streams.size()));

    int requests = 0;
    for (size_t i = 0; i < streams.size(); ++i) {
        const QJsonObject peerResult = results[qsizetype(i)].toObject();
        const QByteArray& stream = streams[i];

        // Ours is fed in random pieces, the peer the whole stream.
        TelnetNegotiation ours;
        QString text;
        QByteArray answer;
        for (qsizetype at = 0; at < stream.size();) {
            const qsizetype piece = qMin<qsizetype>(1 + random.bounded(20), stream.size() - at);
            const auto decoded = ours.decode(QByteArrayView(stream).sliced(at, piece));
            text += decoded.text;
            answer += decoded.answer;
            at += piece;
        }
        EXPECT_EQ(text.toLatin1(), QByteArray::fromHex(peerResult.value("data").toString().toLatin1())) << "stream " << i;

        // Each DO refused with WONT and each WILL with DONT, the first time the option is asked.
        QByteArray expected;
        std::set<int> doneDo, doneWill;
        for (const QJsonValue& event : peerResult.value("events").toArray()) {
            const QString kind = event.toArray()[0].toString();
            const int option = event.toArray()[1].toInt();
            if (kind == QStringLiteral("do") && doneDo.insert(option).second)
                expected.append(char(255)).append(char(252)).append(char(option));
            if (kind == QStringLiteral("will") && doneWill.insert(option).second)
                expected.append(char(255)).append(char(254)).append(char(option));
            requests += kind == QStringLiteral("do") || kind == QStringLiteral("will");
        }
        EXPECT_EQ(answer, expected) << "stream " << i;

        EXPECT_EQ(TelnetNegotiation::encodeOutgoing(QString::fromLatin1(stream)),
                  QByteArray::fromHex(peerResult.value("escaped").toString().toLatin1()))
            << "stream " << i;
    }
    EXPECT_GT(requests, 300);  // the streams did ask for options
}

}  // namespace
