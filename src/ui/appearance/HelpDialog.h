#pragma once

#include "ui/appearance/HelpText.h"
#include "ui/common/DesignLayout.h"

#include <QDialog>

class QPlainTextEdit;

namespace cubwave {

// The help page: the whole of "readcubwave.txt" from the working directory, read-only. A large
// file fills in over several turns of the event loop, so the window answers while it loads.
class HelpDialog : public QDialog {
    Q_OBJECT

public:
    explicit HelpDialog(const QString& workDir, QWidget* parent = nullptr);

    bool loading() const { return !text_.atEnd(); }

signals:
    void loaded();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showNextPiece();

    DesignLayout layout_;
    QPlainTextEdit* textBox_ = nullptr;  // Text1
    HelpText text_;
};

}  // namespace cubwave
