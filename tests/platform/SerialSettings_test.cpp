#include "platform/SerialPortMap.h"
#include "platform/SerialSettings.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace cubwave {
namespace {

TEST(SerialSettings, ParsesTheTextForm)
{
    struct {
        const char* text;
        std::optional<SerialSettings> parsed;
    } cases[] = {
        {"9600,N,8,1", SerialSettings{9600, 'N', 8, 1}},
        {" 4800 , e , 7 , 2 ", SerialSettings{4800, 'E', 7, 2}},
        {"115200,O,8,1", SerialSettings{115200, 'O', 8, 1}},
        {"9601,N,8,1", std::nullopt},
        {"9600,M,8,1", std::nullopt},
        {"9600,N,9,1", std::nullopt},
        {"9600,N,8,3", std::nullopt},
        {"9600,N,8", std::nullopt},
        {"9600,N,8,1,1", std::nullopt},
        {"", std::nullopt},
        {"fast", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SerialSettings::parse(QString::fromLatin1(c.text)), c.parsed) << c.text;
        if (c.parsed)
            EXPECT_EQ(SerialSettings::parse(c.parsed->text()), c.parsed);
    }
}

TEST(SerialPortMap, MapsNumbersToDevicesAndFallsBackToTtyS)
{
    const SerialPortMap map = SerialPortMap::parse(
        "# radios\n"
        "1=/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0\n"
        "  3 = /dev/ttyUSB0   # the keyer\r\n"
        "4=relative/path\n"
        "0=/dev/ttyS9\n"
        "256=/dev/ttyS9\n"
        "x=/dev/ttyS9\n"
        "=/dev/ttyS9\n"
        "5\n"
        "3=/dev/ttyACM0\n");
    EXPECT_EQ(map.devicePath(1), "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0");
    EXPECT_EQ(map.devicePath(2), "/dev/ttyS1");
    EXPECT_EQ(map.devicePath(3), "/dev/ttyACM0");  // a later line wins
    EXPECT_EQ(map.devicePath(4), "/dev/ttyS3");    // a relative path is not a mapping
    EXPECT_EQ(map.devicePath(10), "/dev/ttyS9");
    EXPECT_EQ(map.devicePath(0), "");
    EXPECT_EQ(map.devicePath(-1), "");
    EXPECT_EQ(map.devicePath(256), "");
    EXPECT_EQ(map.mapped().size(), 2);
}

TEST(SerialPortMap, LoadsFromTheWorkingDirectoryOrMapsNothing)
{
    QTemporaryDir dir;
    EXPECT_TRUE(SerialPortMap::load(dir.path()).mapped().isEmpty());
    QFile f(dir.filePath("serialports.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("2=/dev/ttyUSB1\n");
    f.close();
    EXPECT_EQ(SerialPortMap::load(dir.path()).devicePath(2), "/dev/ttyUSB1");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(SerialPortMap::kMaxBytes, '#') + "\n2=/dev/ttyUSB1\n");
    f.close();
    EXPECT_TRUE(SerialPortMap::load(dir.path()).mapped().isEmpty());
}

TEST(SerialPortMap, ShippedFileIsAllComments)
{
    const SerialPortMap map = SerialPortMap::load(QStringLiteral(CUBWAVE_SOURCE_DIR "/data"));
    EXPECT_TRUE(map.mapped().isEmpty());
    EXPECT_TRUE(QFile::exists(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/serialports.txt")));
}

}  // namespace
}  // namespace cubwave
