#include "platform/gui/QtDialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

namespace cubwave {

namespace {

QMessageBox::StandardButtons toQt(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok: return QMessageBox::Ok;
    case MsgButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon toQt(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None: return QMessageBox::NoIcon;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Warning: return QMessageBox::Warning;
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// "Log Files (*.log) | *.log" is the classic description|pattern pair; Qt wants "Log Files (*.log)".
QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i].trimmed() + QStringLiteral(" (") + parts[i + 1].trimmed() + QLatin1Char(')');
    if (out.isEmpty())
        return filter;
    // The description often carries the pattern already.
    for (QString& f : out) {
        const int open = f.indexOf(QLatin1Char('('));
        if (open >= 0 && f.indexOf(QLatin1Char('('), open + 1) > 0)
            f = f.left(f.lastIndexOf(QStringLiteral(" (")));
    }
    return out.join(QStringLiteral(";;"));
}

QString startPath(const FileDialogRequest& r)
{
    if (r.fileName.isEmpty())
        return r.folder;
    return r.folder.isEmpty() ? r.fileName : r.folder + QLatin1Char('/') + r.fileName;
}

}  // namespace

void QtDialogs::useWindowFont(QWidget& box) const
{
    if (parent_)
        box.setAttribute(Qt::WA_WindowPropagation);
    else if (windowFont_)
        box.setFont(*windowFont_);
}

MsgAnswer QtDialogs::message(const QString& title, const QString& text, MsgButtons buttons,
                             MsgIcon icon)
{
    QMessageBox box(toQt(icon), title, text, toQt(buttons), parent_);
    useWindowFont(box);
    switch (box.exec()) {
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    default: return MsgAnswer::Ok;
    }
}

std::optional<QString> QtDialogs::input(const QString& title, const QString& prompt,
                                        const QString& defaultText)
{
    QInputDialog box(parent_);
    useWindowFont(box);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    box.setInputMode(QInputDialog::TextInput);
    // A long prompt in a large font wraps rather than making the box wider than the screen.
    for (QLabel* label : box.findChildren<QLabel*>())
        label->setWordWrap(true);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

std::optional<QString> QtDialogs::openFile(const FileDialogRequest& request)
{
    return chooseFile(request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::saveFile(const FileDialogRequest& request)
{
    // Qt's save dialog asks before overwriting an existing file.
    return chooseFile(request, QFileDialog::AcceptSave);
}

std::optional<QString> QtDialogs::chooseFile(const FileDialogRequest& request, int acceptMode)
{
    QFileDialog box(parent_, request.title, startPath(request), qtFilter(request.filter));
    useWindowFont(box);
    box.setOption(QFileDialog::DontUseNativeDialog);
    const auto mode = static_cast<QFileDialog::AcceptMode>(acceptMode);
    box.setAcceptMode(mode);
    box.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty() || box.selectedFiles().front().isEmpty())
        return std::nullopt;
    return box.selectedFiles().front();
}

std::optional<qint32> QtDialogs::pickColour(qint32 initial)
{
    QColorDialog box(QColor(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF), parent_);
    useWindowFont(box);
    box.setOption(QColorDialog::DontUseNativeDialog);
    if (box.exec() != QDialog::Accepted || !box.selectedColor().isValid())
        return std::nullopt;
    const QColor chosen = box.selectedColor();
    return chosen.red() + 256 * chosen.green() + 65536 * chosen.blue();
}

}  // namespace cubwave
