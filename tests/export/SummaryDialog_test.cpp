#include "core/SharedPrefsDocument.h"
#include "export/ProductCaption.h"
#include "ui/export/SummaryDialog.h"
#include "ExportFixtures.h"
#include "support/FakeDialogs.h"
#include "support/Fakes.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace cubwave::test {
namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class SummaryDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        sharedPath = root.filePath(QStringLiteral("SharedUserPreferences.xml"));
        shared.load(sharedPath);
        Contact c;
        c.band = QStringLiteral("40");
        c.other = QStringLiteral("blue");
        log.push_back(c.record());
        Contact dx;
        dx.call = QStringLiteral("DL1ABC");
        dx.spc = QStringLiteral("Germany");
        dx.name = QStringLiteral("Jürgen");
        log.push_back(dx.record());
        settings.values = {{QStringLiteral("UserAddressName"), QStringLiteral("Sam Smith")},
                           {QStringLiteral("UserAddressLine1"), QStringLiteral("1 Main St")},
                           {QStringLiteral("UserEMail"), QStringLiteral("sam@example.org")}};
    }

    std::unique_ptr<SummaryDialog> open(const QString& ownCall = QStringLiteral("K1ABC"))
    {
        SummaryDialog::Inputs inputs{ProductCaption::kMainWindowCaption, ownCall, QStringLiteral("CT"), log,
                                     root.path(), root.path()};
        auto dialog = std::make_unique<SummaryDialog>(inputs, dialogs, beeper, settings, shared);
        dialog->show();
        return dialog;
    }

    template <typename T>
    static T* child(QWidget& w, const char* name)
    {
        T* found = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QTemporaryDir root;
    QString sharedPath;
    std::vector<QsoRecord> log;
    FakeDialogs dialogs;
    FakeBeeper beeper;
    FakeSettingsStore settings;
    SharedPrefsDocument shared;
};

TEST_F(SummaryDialogTest, ShowsItsControlsFilledFromTheSettingsStore)
{
    auto w = open();
    EXPECT_EQ(w->objectName(), QStringLiteral("Form2"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Summary Sheet Information"));
    EXPECT_EQ(child<QLabel>(*w, "Label1")->text(),
              QStringLiteral("This function will write an ASCII file along the lines of the Cabrillo format.  It is "
                             "not a true Cabrillo file."));
    const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
        {"Label6", "Your Name:", "Text5", "Sam Smith"},
        {"Label9", "Address Line 1:", "Text6", "1 Main St"},
        {"Label8", "Address Line 2:", "Text7", ""},
        {"Label7", "Email Address:", "Text8", "sam@example.org"},
    };
    for (const auto& [label, caption, field, value] : rows) {
        EXPECT_EQ(child<QLabel>(*w, label)->text(), QString::fromLatin1(caption));
        EXPECT_EQ(child<QLineEdit>(*w, field)->text(), QString::fromLatin1(value));
    }
    EXPECT_EQ(child<QLabel>(*w, "Label12")->text(),
              QStringLiteral("Soapbox (Add any comments you would like to make about the event):"));
    EXPECT_TRUE(child<QPlainTextEdit>(*w, "Text11")->toPlainText().isEmpty());
    EXPECT_EQ(child<QPushButton>(*w, "Command4")->text(), QStringLiteral("Write Summary File"));
    EXPECT_EQ(child<QPushButton>(*w, "Command3")->text(), QStringLiteral("Done"));
}

TEST_F(SummaryDialogTest, WritingTheFileShowsBothBoxesFocusesDoneAndSavesTheAddressTrimmed)
{
    auto w = open();
    QLineEdit* name = child<QLineEdit>(*w, "Text5");
    name->clear();
    QTest::keyClicks(name, QStringLiteral("  Smith & Sons "));
    QLineEdit* email = child<QLineEdit>(*w, "Text8");
    email->setText(QStringLiteral("a</OWN_EMAIL>b"));
    child<QPlainTextEdit>(*w, "Text11")->setPlainText(QStringLiteral("Fun!\nAgain next year."));
    const QString path = root.filePath(QStringLiteral("K1ABC.log"));
    dialogs.fileAnswers.push_back(path);
    QTest::mouseClick(child<QPushButton>(*w, "Command4"), Qt::LeftButton);

    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].fileName, QStringLiteral("K1ABC.log"));
    EXPECT_EQ(dialogs.fileRequests[0].folder, root.path());
    EXPECT_EQ(dialogs.fileRequests[0].filter, QStringLiteral("ADIF Files (*.log) | *.log"));

    const QByteArray text = readAll(path);
    EXPECT_TRUE(text.contains("\r\nNAME:   Smith & Sons \r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\r\nSOAPBOX: Fun!\r\nSOAPBOX: Again next year.\r\nQSO: ")) << text.toStdString();
    EXPECT_TRUE(text.contains("QSO:  7000 CW 2012-06-09 1834 K1ABC       Sam       12 CT blue\r\n"));
    EXPECT_TRUE(text.contains(" Jurgen ")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("\r\nEND-OF-LOG:\r\n"));

    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("File Written Successfully."));
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("The file was successfully written to the directory:\r\n\r\n") + path
                  + QStringLiteral(".\r\n\r\nAttach this file to an e-mail addressed for contest submission.  If you "
                                   "wish to print this file, you can open it with Notepad or Wordpad to print."));
    EXPECT_EQ(dialogs.messages[1].title, QStringLiteral("  Thanks!"));
    EXPECT_TRUE(dialogs.messages[1].text.startsWith(
        QStringLiteral("Thanks for using this program.  I hope that you enjoyed it!  If so, please tell a friend!\r\n\r\n")));
    EXPECT_EQ(beeper.beeps, 2);
    EXPECT_EQ(w->focusWidget(), child<QPushButton>(*w, "Command3"));

    EXPECT_EQ(settings.values.value(QStringLiteral("UserAddressName")), QStringLiteral("Smith & Sons"));
    EXPECT_EQ(settings.values.value(QStringLiteral("UserAddressLine2")), QString());
    EXPECT_EQ(settings.values.value(QStringLiteral("UserEMail")), QStringLiteral("a</OWN_EMAIL>b"));
    const QByteArray xml = readAll(sharedPath);
    EXPECT_TRUE(xml.contains("<OWN_ADDRESS_NAME>Smith &amp; Sons</OWN_ADDRESS_NAME>")) << xml.toStdString();
    EXPECT_TRUE(xml.contains("<OWN_ADDRESS_LINE1>1 Main St</OWN_ADDRESS_LINE1>"));
    EXPECT_TRUE(xml.contains("<OWN_ADDRESS_LINE2></OWN_ADDRESS_LINE2>"));
    EXPECT_TRUE(xml.contains("<OWN_EMAIL>a&lt;/OWN_EMAIL&gt;b</OWN_EMAIL>\r\n")) << xml.toStdString();
    EXPECT_FALSE(xml.contains("Fun!"));  // the soapbox is never saved
}

TEST_F(SummaryDialogTest, TheFileStemComesFromTheTrimmedOwnCall)
{
    const std::pair<const char*, const char*> cases[] = {
        {"k1abc/p", "YourCall.log"}, {"K1ABC/P", "K1ABC.log"}, {"  VE3XYZ  ", "VE3XYZ.log"}, {"", "YourCall.log"}};
    for (const auto& [call, file] : cases) {
        dialogs.fileRequests.clear();
        auto w = open(QString::fromLatin1(call));
        w->Command4_Click();
        ASSERT_EQ(dialogs.fileRequests.size(), 1u);
        EXPECT_EQ(dialogs.fileRequests[0].fileName, QString::fromLatin1(file)) << call;
        EXPECT_EQ(w->ownCall(), QString::fromLatin1(call).trimmed());
    }
}

TEST_F(SummaryDialogTest, ACancelledDialogWritesShowsAndSavesNothing)
{
    auto w = open();
    child<QLineEdit>(*w, "Text5")->setText(QStringLiteral("Changed"));
    w->Command4_Click();  // no queued answer: Cancel
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(beeper.beeps, 0);
    EXPECT_EQ(settings.values.value(QStringLiteral("UserAddressName")), QStringLiteral("Sam Smith"));
    EXPECT_FALSE(QFile::exists(sharedPath));
    EXPECT_EQ(QDir(root.path()).entryList(QDir::Files), QStringList());
}

TEST_F(SummaryDialogTest, AFailedWriteKeepsTheOldFileAndSavesNothing)
{
    for (int i = 0; i < 200; ++i)
        log.push_back(log.front());
    const QString path = root.filePath(QStringLiteral("K1ABC.log"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier summary\r\n");
    }
    auto w = open();
    child<QLineEdit>(*w, "Text5")->setText(QStringLiteral("Changed"));
    dialogs.fileAnswers.push_back(path);
    {
        const FileSizeLimit limit(2048);
        w->Command4_Click();
    }
    EXPECT_EQ(readAll(path).size(), 17);
    EXPECT_EQ(readAll(path), QByteArray("earlier summary\r\n"));
    EXPECT_EQ(QDir(root.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("K1ABC.log")});
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Unable to write file."));
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(path + QStringLiteral(": "))) << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(beeper.beeps, 1);
    EXPECT_EQ(settings.values.value(QStringLiteral("UserAddressName")), QStringLiteral("Sam Smith"));
    EXPECT_FALSE(QFile::exists(sharedPath));
}

TEST_F(SummaryDialogTest, DoneHidesTheWindow)
{
    auto w = open();
    QTest::mouseClick(child<QPushButton>(*w, "Command3"), Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Accepted);
}

}  // namespace
}  // namespace cubwave::test
