#include "platform/PpdevParallelPorts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace cubwave {
namespace {

// A stand-in /proc/sys/dev/parport tree and /dev folder.
class PortTree {
public:
    void add(const QString& name, const QByteArray& baseAddr, bool device)
    {
        QDir(proc()).mkpath(name);
        QFile f(proc() + "/" + name + "/base-addr");
        f.open(QIODevice::WriteOnly);
        f.write(baseAddr);
        if (device) {
            QFile d(dev() + "/" + name);
            d.open(QIODevice::WriteOnly);
        }
    }
    QString proc() const { return root_.path() + "/proc"; }
    QString dev() const { return root_.path() + "/dev"; }
    PortTree() { QDir(root_.path()).mkpath("proc"), QDir(root_.path()).mkpath("dev"); }

private:
    QTemporaryDir root_;
};

TEST(PpdevParallelPorts, FindsTheDeviceByItsBaseAddress)
{
    PortTree tree;
    tree.add("parport0", "888\t1912\n", false);
    tree.add("parport1", "632\t-1\n", false);
    tree.add("parport2", "garbage", false);
    EXPECT_EQ(PpdevParallelPorts::findDevice(tree.proc(), tree.dev(), 0x378), tree.dev() + "/parport0");
    EXPECT_EQ(PpdevParallelPorts::findDevice(tree.proc(), tree.dev(), 0x278), tree.dev() + "/parport1");
    EXPECT_EQ(PpdevParallelPorts::findDevice(tree.proc(), tree.dev(), 0x3bc), "");
    EXPECT_EQ(PpdevParallelPorts::findDevice("/nonexistent", tree.dev(), 0x378), "");
}

TEST(PpdevParallelPorts, APortThatCannotBeUsedSaysWhichDeviceAndWhy)
{
    PortTree tree;
    tree.add("parport0", "888 0\n", true);  // a plain file: it refuses the claim
    tree.add("parport1", "632 0\n", false);  // no device node
    PpdevParallelPorts ports(tree.proc(), tree.dev());

    const auto missingModule = ports.open(0x3bc);
    EXPECT_FALSE(missingModule.line);
    EXPECT_TRUE(missingModule.reason.contains("ppdev")) << missingModule.reason.toStdString();

    const auto noNode = ports.open(0x278);
    EXPECT_FALSE(noNode.line);
    EXPECT_EQ(noNode.device, tree.dev() + "/parport1");
    EXPECT_TRUE(noNode.reason.contains("No such file")) << noNode.reason.toStdString();

    const auto refused = ports.open(0x378);
    EXPECT_FALSE(refused.line);
    EXPECT_EQ(refused.device, tree.dev() + "/parport0");
    EXPECT_FALSE(refused.reason.isEmpty());
}

}  // namespace
}  // namespace cubwave
