#pragma once

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>

#include <functional>

namespace cubwave::test {

// Types into whichever widget has the focus, key by key, as a user would; with no focus the keys
// go to the window under test. settle gives the window time to react: after each key, or once
// after a typed text.
class Keyboard {
public:
    enum class Settle { AfterEachKey, AfterText };

    explicit Keyboard(std::function<QWidget*()> window, std::function<void()> settle = {},
                      Settle when = Settle::AfterEachKey)
        : window_(std::move(window)), settle_(std::move(settle)), when_(when)
    {
    }

    static QWidget* focus() { return QApplication::focusWidget(); }

    void type(const QString& text) const
    {
        for (QChar c : text) {
            if (c == QLatin1Char(' '))
                QTest::keyClick(target(), Qt::Key_Space, Qt::NoModifier);
            else
                QTest::keyClick(target(), c.toLatin1());
            if (settle_ && when_ == Settle::AfterEachKey)
                settle_();
        }
        if (settle_ && when_ == Settle::AfterText)
            settle_();
    }

    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) const
    {
        QTest::keyClick(target(), k, mods);
        if (settle_)
            settle_();
    }

private:
    QWidget* target() const { return focus() ? focus() : window_(); }

    std::function<QWidget*()> window_;
    std::function<void()> settle_;
    Settle when_;
};

}  // namespace cubwave::test
