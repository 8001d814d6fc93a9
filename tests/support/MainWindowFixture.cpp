#include "support/MainWindowFixture.h"

#include "core/LogFile.h"

#include <QApplication>
#include <QFile>
#include <QTest>

namespace cubwave::test {

void MainWindowFixture::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"cubwavepref.txt", "log.txt", "arrlpre2.txt"}) {
        ASSERT_TRUE(QFile::copy(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/") + QLatin1String(name), dir.filePath(name)));
        QFile::setPermissions(dir.filePath(name), QFile::ReadOwner | QFile::WriteOwner);
    }
    // Local wall clock 14:05:33; with 4 hours added the contact is logged at 18:05:33 UTC.
    Preferences prefs = *PrefFile::parse([] {
        QFile f(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/cubwavepref.txt"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }());
    prefs.utcOffsetHours = 4;
    writePrefs(prefs);
    clock.setUtcShiftSecs(4 * 3600);  // the computer's clocks agree with the stored offset
}

void MainWindowFixture::TearDown()
{
    form.reset();
}

void MainWindowFixture::start(bool answerYes)
{
    dialogs.messageAnswers.push_back(answerYes ? MsgAnswer::Yes : MsgAnswer::No);
    form = std::make_unique<MainWindow>(
        MainWindowServices{clock, dialogs, beeper, dir.path(), dir.filePath("data"), dir.filePath("shared"),
                      [this](int code) { endedWith.push_back(code); },
                      [this](QDialog& dialog) { return runModal(dialog); },
                      [this](const QString& path, const QsoRecord& record) {
                          return appendToLog ? appendToLog(path, record) : LogFile(path).append(record);
                      },
                      desktop},
        customPorts ? customPorts() : [this] {
            const MainWindowPorts recording = ports.ports();
            return MainWindowPorts{recording.cw,    voicePort ? *voicePort : recording.voice,
                                   recording.rig,   recording.spots,
                                   recording.exports, recording.windows};
        }());
    if (beforeLoad)
        beforeLoad(*form);
    form->loadWindow();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    field("txtCall")->setFocus();
    QCoreApplication::processEvents();
}

void MainWindowFixture::writePrefs(const Preferences& prefs)
{
    QFile f(dir.filePath("cubwavepref.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(PrefFile::serialize(prefs));
}

void MainWindowFixture::writeLog(const QByteArray& bytes)
{
    QFile f(dir.filePath("log.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray MainWindowFixture::logBytes() const
{
    QFile f(dir.filePath("log.txt"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Preferences MainWindowFixture::savedPrefs() const
{
    QFile f(dir.filePath("cubwavepref.txt"));
    return f.open(QIODevice::ReadOnly) ? PrefFile::parse(f.readAll()).value_or(Preferences{}) : Preferences{};
}

void MainWindowFixture::type(const QString& text) { keyboard.type(text); }

void MainWindowFixture::key(Qt::Key k, Qt::KeyboardModifiers mods) { keyboard.key(k, mods); }

QLineEdit* MainWindowFixture::field(const char* name) const { return form->findChild<QLineEdit*>(QLatin1String(name)); }

QLabel* MainWindowFixture::label(const QString& name) const { return form->findChild<QLabel*>(name); }

QAction* MainWindowFixture::action(const char* name) const { return form->findChild<QAction*>(QLatin1String(name)); }

QWidget* MainWindowFixture::focus() const { return QApplication::focusWidget(); }

QString MainWindowFixture::status() const { return label(QStringLiteral("lblDialog"))->text(); }

}  // namespace cubwave::test
