#include "support/FakeDialogs.h"
#include "support/FakeRigTuning.h"
#include "ui/rig/FrequencyTestDialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace cubwave;
using namespace cubwave::test;
using Call = FakeRigTuning::Call;

namespace {

class FrequencyTestDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = std::make_unique<FrequencyTestDialog>(rig, dialogs);
        dialog->show();
        text1 = dialog->findChild<QLineEdit*>("Text1");
        text2 = dialog->findChild<QLineEdit*>("Text2");
        check1 = dialog->findChild<QCheckBox*>("Check1");
        ASSERT_TRUE(text1 && text2 && check1);
    }
    void click(const char* name) { QTest::mouseClick(dialog->findChild<QPushButton*>(name), Qt::LeftButton); }
    void type(QLineEdit* box, const QString& text)
    {
        box->clear();
        QTest::keyClicks(box, text);
    }

    FakeRigTuning rig;
    FakeDialogs dialogs;
    std::unique_ptr<FrequencyTestDialog> dialog;
    QLineEdit* text1 = nullptr;
    QLineEdit* text2 = nullptr;
    QCheckBox* check1 = nullptr;
};

TEST_F(FrequencyTestDialogTest, OpensWithTheExampleCommandAndFrequency)
{
    EXPECT_EQ(dialog->objectName(), "frmFrequencyTest");
    EXPECT_EQ(dialog->windowTitle(), "Test Change Frequency Function");
    EXPECT_EQ(text1->text(), "FA00028475000;");
    EXPECT_EQ(text2->text(), "28.475");
    EXPECT_FALSE(check1->isChecked());
    EXPECT_EQ(check1->text(), "Convert to Hex");
    for (const char* label : {"Label1", "Label2", "Label3"})
        EXPECT_FALSE(dialog->findChild<QWidget*>(label) == nullptr) << label;
}

TEST_F(FrequencyTestDialogTest, SendsTheTrimmedTextWithNoLineEnding)
{
    click("Command1");
    type(text1, QStringLiteral("  IF;  "));
    click("Command1");
    EXPECT_EQ(rig.raw, (std::vector<QByteArray>{"FA00028475000;", "IF;"}));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(FrequencyTestDialogTest, SendsHexPairsAsBytes)
{
    check1->setChecked(true);
    type(text1, QStringLiteral(" FE FE 64 E0 03 FD "));
    click("Command1");
    type(text1, QStringLiteral("fe-fe,64"));  // one separator character of any kind
    click("Command1");
    EXPECT_EQ(rig.raw, (std::vector<QByteArray>{QByteArray::fromHex("FEFE64E003FD"), QByteArray::fromHex("FEFE64")}));
}

TEST_F(FrequencyTestDialogTest, RefusesMalformedHexWithAMessageAndSendsNothing)
{
    check1->setChecked(true);
    for (const char* typed : {"FE F", "FE FE 6G", "FEFE64", "FE  FE", "FA00028475000;"}) {
        type(text1, QString::fromLatin1(typed));
        click("Command1");
    }
    EXPECT_TRUE(rig.raw.empty());
    ASSERT_EQ(dialogs.messages.size(), 5u);
    EXPECT_EQ(dialogs.messages[0].title, FrequencyTestDialog::kBadHexTitle);
    EXPECT_EQ(dialogs.messages[0].text, FrequencyTestDialog::kBadHexText);
}

TEST_F(FrequencyTestDialogTest, ReportsAFailedWrite)
{
    rig.sendError = QStringLiteral("Input/output error");
    click("Command1");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, FrequencyTestDialog::kSendFailedTitle);
    EXPECT_EQ(dialogs.messages[0].text, "Input/output error");
}

TEST_F(FrequencyTestDialogTest, TriesTheRigsFrequencyCommandWithTheTypedFrequency)
{
    click("Command2");
    EXPECT_EQ(rig.calls, (std::vector<Call>{{Call::Frequency, 28'475'000, {}}}));
    type(text2, QStringLiteral("28,475"));
    click("Command2");
    EXPECT_EQ(rig.calls.size(), 1u);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, FrequencyTestDialog::kBadFrequencyTitle);
}

}  // namespace
