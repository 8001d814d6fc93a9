#include "CwWindowsFixture.h"

#include "ui/common/ClickableLabel.h"
#include "ui/cw/CwStringsWindow.h"

#include <QKeyEvent>
#include <QPushButton>

namespace cubwave::test {
namespace {

class CwStringsWindowTest : public CwWindowsTest {
protected:
    CwStringsWindowTest()
    {
        CwSettings s = sender.settings();
        for (int i = 0; i < CwSettings::kMessageCount; ++i)
            s.messages[i] = QStringLiteral("M%1").arg(i + 1);
        s.messages[2] = "TEST";
        s.messages[CwSettings::kF10] = "TU";
        sender.setSettings(s);
    }

    void clickRow(const QString& name)
    {
        auto* label = child<ClickableLabel>(&strings, name);
        QTest::mouseClick(label, Qt::LeftButton);
    }

    CwStringsWindow strings{sender};
};

TEST_F(CwStringsWindowTest, ListsTheMessagesBesideTheirKeys)
{
    strings.show();
    EXPECT_EQ(strings.objectName(), "frmCWStrings");
    EXPECT_EQ(strings.windowTitle(), "CW Strings");
    EXPECT_EQ(child<QLabel>(&strings, "Label1_0")->text(), "F1");
    EXPECT_EQ(child<QLabel>(&strings, "Label1_11")->text(), "F12");
    EXPECT_EQ(child<QLabel>(&strings, "lblCWString_2")->text(), "TEST");
    EXPECT_EQ(child<QLabel>(&strings, "lblCWString_9")->text(), "TU");
    EXPECT_EQ(child<QLabel>(&strings, "lblCWString_11")->text(), "Keyboard");
    EXPECT_EQ(child<QLabel>(&strings, "Label2")->text(), "Press Ctrl W to Show this form.");

    // A message changed in the setup window shows the next time this window is shown.
    CwSettings s = sender.settings();
    s.messages[0] = "CQ";
    sender.setSettings(s);
    strings.hide();
    strings.show();
    EXPECT_EQ(child<QLabel>(&strings, "lblCWString_0")->text(), "CQ");
}

TEST_F(CwStringsWindowTest, AClickSendsThatRowsMessage)
{
    struct Case {
        const char* row;
        const char* sent;
    };
    const Case cases[] = {{"lblCWString_2", "TEST"}, {"Label1_2", "TEST"}, {"lblCWString_9", "TU"}};
    for (const Case& c : cases) {
        const int before = ended;
        const size_t edgesBefore = keyedDtr().size();
        clickRow(c.row);
        ASSERT_TRUE(waitFor([&] { return ended > before; })) << c.row;
        const auto all = keyedDtr();
        EXPECT_EQ(decode(std::vector<KeyEdge>(all.begin() + static_cast<long>(edgesBefore), all.end()), 60), c.sent) << c.row;
    }
}

TEST_F(CwStringsWindowTest, F12RowAndInterfaceNoneSendNothing)
{
    clickRow("lblCWString_11");
    EXPECT_FALSE(sender.isSending());
    CwSettings s = sender.settings();
    s.cwInterface = kCwNone;
    sender.setSettings(s);
    clickRow("lblCWString_2");
    QTest::qWait(20);
    EXPECT_FALSE(sender.isSending());
    EXPECT_EQ(ended, 0);
    EXPECT_TRUE(keyedDtr().empty());
}

TEST_F(CwStringsWindowTest, KeysGoToTheHandlerAndDoneMinimizes)
{
    std::vector<int> keys;
    strings.setKeyHandler([&](QKeyEvent* e) {
        keys.push_back(e->key());
        return e->key() == Qt::Key_F1;
    });
    strings.show();
    QTest::keyClick(&strings, Qt::Key_F1);
    QTest::keyClick(child(&strings, "Command1"), Qt::Key_A);
    EXPECT_EQ(keys, (std::vector<int>{Qt::Key_F1, Qt::Key_A}));

    child<QPushButton>(&strings, "Command1")->click();
    EXPECT_TRUE(strings.isMinimized());
}

}  // namespace
}  // namespace cubwave::test
