#pragma once

#include "core/QsoRecord.h"
#include "ui/common/DesignLayout.h"

#include <QDialog>

#include <span>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace cubwave {

class Beeper;
class Dialogs;
class SettingsStore;
class SharedPrefsDocument;

// "Summary Sheet Information": collects the operator's name, postal and e-mail addresses and a
// soapbox comment, and writes the summary file of the log. The address fields come from and go
// back to the settings store (and the shared preference document); the soapbox is never saved.
class SummaryDialog : public QDialog {
    Q_OBJECT

public:
    struct Inputs {
        QString caption;       // the main window's caption
        QString ownCall;
        QString ownLocation;   // own state, province or country
        std::span<const QsoRecord> records;
        QString dataFolder;    // where the save dialog starts
        QString workDir;       // made current again after the dialog
    };

    static const QString kCaption;
    static const QString kNotice;
    static const QString kSettingKeys[4];
    static const QString kSharedElements[4];

    SummaryDialog(Inputs inputs, Dialogs& dialogs, Beeper& beeper, SettingsStore& settings,
                  SharedPrefsDocument& shared, QWidget* parent = nullptr);

    // Command4 "Write Summary File".
    void Command4_Click();
    // Command3 "Done": hides the window.
    void Command3_Click();

    // The own call as the last write left it: surrounding blanks removed.
    const QString& ownCall() const { return inputs_.ownCall; }
    // The file the last successful write produced; empty when none.
    const QString& writtenPath() const { return writtenPath_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* addRow(const QString& labelName, const QString& caption, const QString& fieldName,
                      const QString& text, int y);
    void saveAddressFields();
    void showWriteError(const QString& path, const QString& reason);

    Inputs inputs_;
    Dialogs& dialogs_;
    Beeper& beeper_;
    SettingsStore& settings_;
    SharedPrefsDocument& shared_;
    DesignLayout layout_;
    QString writtenPath_;

    QLineEdit* text5_ = nullptr;
    QLineEdit* text6_ = nullptr;
    QLineEdit* text7_ = nullptr;
    QLineEdit* text8_ = nullptr;
    QPlainTextEdit* text11_ = nullptr;
    QPushButton* command4_ = nullptr;
    QPushButton* command3_ = nullptr;
};

}  // namespace cubwave
