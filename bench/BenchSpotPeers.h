#pragma once

#include "platform/SerialLine.h"
#include "platform/SettingsStore.h"
#include "platform/TcpClient.h"

#include <memory>
#include <utility>

namespace cubwave::bench {

// A connected cluster that hands the window whatever the benchmark gives it.
class ChunkClient final : public TcpClient {
public:
    void setHandlers(Handlers handlers) override { handlers_ = std::move(handlers); }
    void connectTo(const QString&, int) override { state_ = kConnected; }
    void close() override { state_ = kClosed; }
    void closeAfterSending(int) override { state_ = kClosed; }
    bool send(const QByteArray&) override { return state_ == kConnected; }
    int state() const override { return state_; }
    QByteArray takeInput() override { return std::exchange(input_, {}); }
    void deliver(const QByteArray& bytes)
    {
        input_ = bytes;
        if (handlers_.dataArrived)
            handlers_.dataArrived();
    }

private:
    Handlers handlers_;
    QByteArray input_;
    int state_ = kClosed;
};

class NoSerialLine final : public SerialLine {
public:
    bool open(const QString&) override { return false; }
    void close() override {}
    bool isOpen() const override { return false; }
    QString devicePath() const override { return {}; }
    QString errorText() const override { return {}; }
    bool setSettings(const QString&) override { return true; }
    bool setHandshaking(int) override { return true; }
    bool setModemLine(ModemLine, bool) override { return false; }
    bool write(const QByteArray&) override { return false; }
    QByteArray readAll() override { return {}; }
    qint64 outputCount() override { return 0; }
    void discardOutput() override {}
    std::shared_ptr<KeyingLine> modemKeyingLine(ModemLine) override { return nullptr; }
};

class EmptyStore final : public SettingsStore {
public:
    QString value(const QString&, const QString& defaultValue) const override { return defaultValue; }
    void setValue(const QString&, const QString&) override {}
};

}  // namespace cubwave::bench
