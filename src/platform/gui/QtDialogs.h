#pragma once

#include "platform/Dialogs.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

#include <optional>

namespace cubwave {

// Qt's own (non-native) dialogs, parented to the main window once it exists. Every box takes
// the main window's font, which follows the screen, so none is the one small thing on a large
// screen; before the main window exists, the window font given here.
class QtDialogs final : public Dialogs {
public:
    void setParent(QWidget* parent) { parent_ = parent; }
    void setWindowFont(const QFont& font) { windowFont_ = font; }

    MsgAnswer message(const QString& title, const QString& text, MsgButtons buttons,
                      MsgIcon icon) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& defaultText) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<qint32> pickColour(qint32 initial) override;

private:
    void useWindowFont(QWidget& box) const;
    std::optional<QString> chooseFile(const FileDialogRequest& request, int acceptMode);

    QPointer<QWidget> parent_;
    std::optional<QFont> windowFont_;
};

}  // namespace cubwave
