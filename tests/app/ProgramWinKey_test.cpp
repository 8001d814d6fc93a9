// The program's WinKey wiring: the keyer's window loaded when "WinKey" is the stored interface,
// shown by "Configure Winkey", and an F-key with an unreachable keyer going through the real
// driver to the connection box and the status line.
#include "ProgramFixture.h"
#include "cw/CwFile.h"
#include "cw/CwMessages.h"
#include "ui/cw/CwSetupWindow.h"
#include "ui/cw/WinKeyWindow.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cubwave;
using namespace cubwave::test;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class ProgramWinKey : public ProgramFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        CwSettings s;
        s.messages[0] = QStringLiteral("CQ");
        s.cwInterface = kCwWinKey;
        s.speedWpm = QStringLiteral("24");
        ASSERT_TRUE(CwFile::save(dir.path(), s).ok);
        writeFile(dir.filePath("d/WK.txt"), "4\r\n\"18\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"50\"\r\n5\r\n0\r\n");
        writeFile(dir.filePath("serialports.txt"), "4=" + dir.filePath("no-such-tty").toLocal8Bit() + "\n");
        program.setMainWindow(form);
    }
};

TEST_F(ProgramWinKey, TheStoredInterfaceLoadsTheKeyersWindowAndConfigureShowsIt)
{
    WinKeyWindow* window = program.winKeyWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->loaded());
    EXPECT_EQ(window->findChild<QLineEdit*>("txtWKWPM")->text(), "24");  // the CW speed, not the file's
    EXPECT_EQ(window->findChild<QLineEdit*>("txtWKComPort")->text(), "4");
    EXPECT_TRUE(window->findChild<QRadioButton*>("optPTT")->isChecked());
    EXPECT_FALSE(window->isVisible());

    QPushButton* configure = program.cwSetupWindow()->findChild<QPushButton*>("cmdConfWinkey");
    ASSERT_NE(configure, nullptr);
    configure->click();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
    window->cmdDone_Click();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ProgramWinKey, AnUnreachableKeyerShowsTheBoxAndTheReasonAndDropsTheMessage)
{
    program.ports().cw.functionKey(CwMessages::kF1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Unable to establish connection with Winkey.");
    EXPECT_TRUE(dialogs.messages[0].text.startsWith("Unable to establish connection with WinKey on com port 4."));
    EXPECT_TRUE(form.findChild<QLabel*>("lblDialog")->text().startsWith(dir.filePath("no-such-tty") + ": "))
        << qPrintable(form.findChild<QLabel*>("lblDialog")->text());
    EXPECT_EQ(program.winKeyWindow()->findChild<QLabel*>("lblOpenStatus")->text(), "Com Open Failed");
    EXPECT_FALSE(program.ports().cw.busy());
    EXPECT_TRUE(program.cwKeyer().sender().buffer().isEmpty());
}

}  // namespace
