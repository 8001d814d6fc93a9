#include "ui/appearance/HelpDialog.h"

#include "ui/common/SettingsWindowKeys.h"

#include <QDir>
#include <QFont>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>

namespace cubwave {

namespace {

// On the 640 x 480 design surface.
constexpr QSize kDesignSize(600, 440);
constexpr double kTextPointSize = 9;

}  // namespace

HelpDialog::HelpDialog(const QString& workDir, QWidget* parent)
    : QDialog(parent),
      layout_(kDesignSize),
      text_(HelpText::fromFile(QDir(workDir).filePath(QString::fromLatin1(HelpText::kFileName))))
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Help Page"));

    textBox_ = new QPlainTextEdit(this);
    textBox_->setObjectName(QStringLiteral("Text1"));
    textBox_->setReadOnly(true);
    // Read-only text needs no undo history, which would double the memory of a large file.
    textBox_->setUndoRedoEnabled(false);
    // Plain-text help lines its tables up with blanks, so it reads in a fixed-pitch face
    // (Liberation Mono comes with the program's other fonts).
    QFont mono(QStringLiteral("Liberation Mono"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPointSizeF(kTextPointSize);
    textBox_->setFont(mono);
    layout_.place(textBox_, {8, 8, 584, 384}, kTextPointSize);

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Command1"));
    close->setAutoDefault(false);
    layout_.place(close, {240, 400, 120, 30}, 8);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    layout_.scaleDialogToScreen(this);
    useSettingsWindowKeys(this, close);

    // The first piece shows at once; the rest follows a piece per turn of the event loop.
    textBox_->setPlainText(text_.nextPiece());
    if (loading())
        QTimer::singleShot(0, this, &HelpDialog::showNextPiece);
    else
        QTimer::singleShot(0, this, &HelpDialog::loaded);
}

void HelpDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layout_.apply(size());
}

void HelpDialog::showNextPiece()
{
    // Appended through a cursor of its own, so the reader's place and selection stay put.
    QTextCursor end(textBox_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text_.nextPiece());
    if (loading())
        QTimer::singleShot(0, this, &HelpDialog::showNextPiece);
    else
        emit loaded();
}

}  // namespace cubwave
