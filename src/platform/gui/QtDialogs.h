#pragma once

#include "platform/Dialogs.h"

#include <QPointer>
#include <QWidget>

namespace cubwave {

// Qt's own (non-native) dialogs, parented to the main window once it exists.
class QtDialogs final : public Dialogs {
public:
    void setParent(QWidget* parent) { parent_ = parent; }

    MsgAnswer message(const QString& title, const QString& text, MsgButtons buttons,
                      MsgIcon icon) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& defaultText) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<qint32> pickColour(qint32 initial) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace cubwave
