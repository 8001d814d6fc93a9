#pragma once

#include <QObject>
#include <QPointer>

namespace cubwave {

class Form1;

// Qt merges key-down and key-press into one event; this filter on the application splits them
// again so the main window's handlers see every key before the focused field does:
// window key-down -> window key-press -> the field's rules -> insertion at the caret.
class KeyPipeline : public QObject {
    Q_OBJECT

public:
    explicit KeyPipeline(Form1* form);
    ~KeyPipeline() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<Form1> form_;
};

}  // namespace cubwave
